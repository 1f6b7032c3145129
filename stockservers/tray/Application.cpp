#include "stockservers/tray/Application.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/clsConnectionHandler.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/Format.h"
#include "platform/vb/PathResolver.h"
#include "stockservers/common/LagerIndizes.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/frmInfoWin.h"

namespace {

const QString kQuelle = QStringLiteral("TarneloSrv.Application");
const QString kLagerAnfrage = QStringLiteral("LagerAnfrage");
const QString kJet = QStringLiteral("Microsoft.Jet.OLEDB.4.0;");
const QString kSystemDb = QStringLiteral("Jet OLEDB:System database");

std::function<void()>& prozessEnde() {
  static std::function<void()> ende;
  return ende;
}

// The objects alive in the process, oldest first.
std::vector<Application*>& lebende() {
  static std::vector<Application*> objekte;
  return objekte;
}

// The program folder of the Windows server: the per-user data folder here.
QString AppPfad() { return GetLokalerPfad(); }

}  // namespace

double Application::Zahl(const QString& text) {
  double wert = 0;
  vb::ignoreErrors([&] { wert = vb::CDbl(vb::Variant(text.trimmed())); });
  return wert;
}

void Application::setProzessEnde(std::function<void()> ende) { prozessEnde() = std::move(ende); }

Application::Application(bool eigenes) : m_eigenes(eigenes) {
  Form1* form = Form1::aktuell();
  // What the clipboard holds now is not the user's new copy; it stays on the clipboard.
  if (form)
    vb::ignoreErrors([&] {
      if (const QClipboard* clipboard = QGuiApplication::clipboard()) form->strLetzteZwischenablage = clipboard->text();
    });
  if (vb::Val(GetSetting(kLagerAnfrage, QStringLiteral("AbfrageÜberClipboard"), QStringLiteral("0"))) == 0 && form) {
    form->objApplication = this;
    m_abfrage = true;
    const long ms = std::lround(vb::Val(GetSetting(kLagerAnfrage, QStringLiteral("AbfrageIntervall"), QStringLiteral("500"))));
    // An interval of 0 stops the timer, as it always did.
    if (ms > 0 && ms <= INT32_MAX) form->Timer.start(int(ms));
    else form->Timer.stop();
    dblWebIntervall = Zahl(form->dblUpdateInterval->text()) / 1440;
  }
  dtLetzterAktivCheck = vb::fromOleDate(0);
  dtLetzteWebPruefung = vb::fromOleDate(0);
  strAntwortDatei = AppPfad() + QStringLiteral("tarneloweb.txt");
  blnVerbunden = false;
  m_ConnectList = std::make_shared<clsConnectionHandler>();
  DebugOutputInit(QStringLiteral("srvdebug.txt"));
  lebende().push_back(this);
}

Application::~Application() {
  objAccessApp = vb::Variant::nothing();
  std::erase(lebende(), this);
  // One client letting go leaves the others served; the server ends with the last of them.
  const bool letzter = std::none_of(lebende().begin(), lebende().end(), [](const Application* a) { return !a->m_eigenes; });
  if (Form1* form = Form1::aktuell()) {
    if (form->objApplication == this) {
      const auto naechstes = std::find_if(lebende().rbegin(), lebende().rend(), [](const Application* a) { return a->m_abfrage; });
      form->objApplication = letzter || naechstes == lebende().rend() ? nullptr : *naechstes;
    }
    if (letzter || !form->objApplication) form->Timer.stop();
    if (letzter) form->hide();
  }
  vb::ignoreErrors([&] { objInfoWin.reset(); });
  if (!letzter) return;
  vb::ignoreErrors([&] {
    const QString antwort = vb::resolvePath(strAntwortDatei);
    if (QFile::exists(antwort)) QFile::remove(antwort);
  });
  endeProzess();
}

void Application::endeProzess() {
  if (prozessEnde()) prozessEnde()();
}

void Application::Log(const QString& zeile) const {
  if (Form1* form = Form1::aktuell()) form->LogZeile(zeile);
}

vb::Variant Application::ConnectList() const {
  return m_ConnectList ? vb::Variant(m_ConnectList) : vb::Variant::nothing();
}

void Application::set_ConnectList(const vb::Variant& handler) { m_ConnectList = EigeneVerbindungen(handler, kQuelle); }

void Application::AktivCheck() {
  const QDateTime jetzt = QDateTime::currentDateTime();
  if (vb::toOleDate(jetzt) - vb::toOleDate(dtLetzterAktivCheck) <= 0.007) return;
  dtLetzterAktivCheck = jetzt;
  if (!objAccessApp.isObject() || objAccessApp.isNothing()) return;
  // A host that does not answer has gone away and takes the server with it.
  if (vb::ignoreErrors([&] { automation::callByName(*objAccessApp.object(), QStringLiteral("Aktiv"), automation::CallKind::Get); }))
    Quit();
}

void Application::set_AccessApp(const vb::Variant& objA) {
  vb::objectOrNothing(objA);
  objAccessApp = objA;
  if (objInfoWin) objInfoWin->objTarnelo = objAccessApp;
}

void Application::let_EventClass(const vb::Variant& objH) {
  // Only an object or Nothing: anything else is the client's error, before anything changes.
  vb::objectOrNothing(objH);
  const auto schritt = [](auto&& f) {
    if (auto fehler = vb::ignoreErrors(f)) ui::MsgBox(fehler->description(), ui::vbOKOnly);
  };
  schritt([&] {
    objEventClass = objH;
    if (Form1* form = Form1::aktuell()) ui::dialogs().showWindow(*form, QStringLiteral("form1"));
  });
  schritt([&] {
    if (objH.isNothing())
      Log(QStringLiteral("Disconnet ") + vb::formatDate(QDateTime::currentDateTime(), QStringLiteral("dd.mm.yyyy hh:mm:ss")));
    else
      Log(LogZitat(vb::CStr(automation::callByName(*objH.object(), QStringLiteral("ProgrammLinkInfo"), automation::CallKind::Get))));
  });
}

vb::Variant Application::Quit() {
  vb::ignoreErrors([&] { objInfoWin.reset(); });
  vb::ignoreErrors([&] {
    if (Form1* form = Form1::aktuell()) {
      form->Timer.stop();
      form->hide();
    }
  });
  endeProzess();
  return {};
}

void Application::ConnectDatabases() {
  // A handler nobody configured (the start routine's, or a client's that set none) connects
  // from the settings as well: otherwise a server started on its own could never look anything up.
  if (!m_ConnectList || !m_ConnectList->HatGruppen()) {
    Log(QStringLiteral("Connecting via Registry..."));
    m_ConnectList = std::make_shared<clsConnectionHandler>();
    const LagerDatenbanken db = LagerDatenbankenLesen();
    // A failed open is told in the log; the group stays without a connection.
    const auto oeffnen = [&](std::int16_t gruppe, const QString& verbindung) {
      if (auto fehler = vb::ignoreErrors([&] { m_ConnectList->let_SQLGruppe_DB_OpenConnection(gruppe, verbindung); }))
        Log(fehler->description());
    };
    if (vb::textEquals(db.Typ, QStringLiteral("MDB"))) {
      const QString systemDb = SystemDbAnlegen();
      for (const auto& [gruppe, name] : {std::pair<std::int16_t, QString>{4, db.DBName}, {1, db.DBNameDat}}) {
        m_ConnectList->let_SQLGruppe_DB_Provider(gruppe, kJet);
        m_ConnectList->let_SQLGruppe_DB_Properties(gruppe, kSystemDb, systemDb);
        const QString datei = TarneloPfad(name);
        Log(QStringLiteral("Database: ") + datei);
        oeffnen(gruppe, QStringLiteral("Data Source=") + data::connectionValue(datei));
      }
    } else if (vb::textEquals(db.Typ, QStringLiteral("SQL-Server"))) {
      oeffnen(4, db.ODBC_Connect);
      oeffnen(1, db.ODBC_Connect);
      Log(QStringLiteral("Connect: ") + db.ODBC_Connect);
    }
  } else {
    Log(QStringLiteral("Connecting via Program..."));
  }
  vb::ignoreErrors([&] { LagerIndizesAnlegen(*m_ConnectList->SQLGruppe_Connection(4), [this](const QString& zeile) { Log(zeile); }); });
  objRsAbfrage = std::make_shared<data::Recordset>();
  objRsHilfe = std::make_shared<data::Recordset>();
  colAbfrage = vb::Collection<vb::Variant>();
  blnVerbunden = true;
}
