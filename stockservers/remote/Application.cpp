#include "stockservers/remote/Application.h"

#include <QCoreApplication>

#include "foundation/clsConnectionHandler.h"
#include "foundation/modUtils.h"
#include "platform/automation/LateBinding.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "stockservers/common/LagerIndizes.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/remote/Form1.h"

namespace dcom {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kJet = QStringLiteral("Microsoft.Jet.OLEDB.4.0;");
constexpr std::int16_t kArtikel = 4;
constexpr std::int16_t kBuchDat = 1;

// Clients' objects alive in the process.
int& kundenObjekte() {
  static int anzahl = 0;
  return anzahl;
}

}  // namespace

Application::Application(bool eigenes) : m_eigenes(eigenes), objConHandler(std::make_shared<clsConnectionHandler>()) {
  const LagerDatenbanken db = LagerDatenbankenLesen();
  if (vb::textEquals(db.Typ, QStringLiteral("MDB"))) {
    const QString systemDb = SystemDbAnlegen();
    for (const auto& [gruppe, name] : {std::pair{kArtikel, db.DBName}, std::pair{kBuchDat, db.DBNameDat}}) {
      objConHandler->let_SQLGruppe_DB_Provider(gruppe, kJet);
      objConHandler->let_SQLGruppe_DB_Properties(gruppe, QStringLiteral("Jet OLEDB:System database"), systemDb);
      const QString datei = TarneloPfad(name);
      log(kCrLf + QStringLiteral("Database: ") + datei);
      objConHandler->let_SQLGruppe_DB_OpenConnection(gruppe, QStringLiteral("Data Source=") + data::connectionValue(datei));
    }
    LagerIndizesAnlegen(*objConHandler->SQLGruppe_Connection(kArtikel), [this](const QString& zeile) { log(kCrLf + zeile); });
  } else if (vb::textEquals(db.Typ, QStringLiteral("SQL-Server"))) {
    log(kCrLf + QStringLiteral("Start to Connect: ") + db.ODBC_Connect + QLatin1Char(' ') + jetzt());
    objConHandler->let_SQLGruppe_DB_OpenConnection(kArtikel, db.ODBC_Connect);
    objConHandler->let_SQLGruppe_DB_OpenConnection(kBuchDat, db.ODBC_Connect);
    log(QStringLiteral(" - connected: ") + jetzt());
  }
  objRsAbfrage = std::make_shared<data::Recordset>();
  if (!m_eigenes) ++kundenObjekte();
}

Application::~Application() {
  // A client that lets go leaves the others served; the server ends with the last of them.
  if (!m_eigenes) --kundenObjekte();
  if (kundenObjekte() > 0) return;
  if (Form1* form = Form1::aktuell()) form->Unload();
  QCoreApplication::quit();
}

void Application::Quit() {
  vb::ignoreErrors([] {
    if (Form1* form = Form1::aktuell()) form->Unload();
  });
  QCoreApplication::quit();
}

void Application::let_EventClass(const vb::Variant& objH) { EventClassSetzen(objH); }

void Application::set_EventClass(const vb::Variant& objH) { EventClassSetzen(objH); }

void Application::EventClassSetzen(const vb::Variant& objH) {
  // Only an object or Nothing: anything else is the client's error, before anything changes.
  vb::objectOrNothing(objH);
  const auto schritt = [](auto&& f) {
    if (auto fehler = vb::ignoreErrors(f)) ui::MsgBox(fehler->description());
  };
  schritt([&] {
    objEventClass = objH;
    if (Form1* form = Form1::aktuell()) form->show();
  });
  schritt([&] {
    if (objH.isNothing()) {
      log(kCrLf + QStringLiteral("Disconnet ") + jetzt());
    } else {
      log(kCrLf + LogZitat(vb::CStr(automation::callByName(*objH.object(), QStringLiteral("ProgrammLinkInfo"), automation::CallKind::Get))));
    }
  });
}

void Application::Init() {}

void Application::log(const QString& text) {
  if (Form1* form = Form1::aktuell()) form->InfoAnfuegen(text);
}

data::Recordset& Application::abfrage(std::int16_t gruppe, const QString& sql, const data::Parameters& werte) {
  objRsAbfrage = std::make_shared<data::Recordset>();
  objRsAbfrage->Open(sql, vb::Variant(objConHandler->SQLGruppe_Connection(gruppe)), data::adOpenStatic,
                     data::adLockUnspecified, data::adCmdUnspecified, werte);
  return *objRsAbfrage;
}

QString Application::infofelder() {
  const auto schritt = [](auto&& f) {
    if (auto fehler = vb::ignoreErrors(f)) {
      if (Form1* form = Form1::aktuell())
        form->setInfoText(QStringLiteral("Infofelder:") + form->InfoText() + kCrLf + fehler->description());
    }
  };
  if (!blnFilialenGeladen) {
    // A set that does not open leaves its list empty.
    data::Recordset* rs = nullptr;
    // In the order of their numbers on every database, not in whatever order a server keeps them.
    schritt([&] {
      rs = &abfrage(kArtikel, QStringLiteral("SELECT FilialNr, Bezeichnung ") +
                                  QStringLiteral("FROM Artikel_Filialen ORDER BY FilialNr"));
    });
    colFilialen.clear();
    for (; rs && !rs->Eof(); rs->MoveNext()) {
      schritt([&] {
        colFilialen << Filiale{vb::CStr(NZ(rs->Fields(vb::Variant("Bezeichnung"))->Value())),
                               vb::CLng(rs->Fields(vb::Variant("FilialNr"))->Value())};
      });
    }
    schritt([&] {
      if (rs) rs->Close();
      if (Form1* form = Form1::aktuell()) form->setVisible(!colFilialen.isEmpty());
    });

    rs = nullptr;
    schritt([&] {
      const auto& dialect = objConHandler->SQLGruppe_Connection(kBuchDat)->dialect();
      rs = &abfrage(kBuchDat, QStringLiteral("SELECT Vorgaben.* ") + QStringLiteral("FROM Vorgaben WHERE Feldname Like '") +
                                  dialect.likePattern(QStringLiteral("*AdressNr")) + QStringLiteral("' "));
    });
    for (; rs && !rs->Eof(); rs->MoveNext()) {
      schritt([&] {
        const QString name = vb::CStr(NZ(rs->Fields(vb::Variant("FeldName"))->Value()));
        std::int32_t* ziel = vb::textEquals(name, QStringLiteral("KNOAdressNr"))       ? &lngKNOAdressNr
                             : vb::textEquals(name, QStringLiteral("LibriAdressNr"))   ? &lngLibriAdressNr
                             : vb::textEquals(name, QStringLiteral("KOEAdressNr"))     ? &lngKOEAdressNr
                             : vb::textEquals(name, QStringLiteral("UmbreitAdressNr")) ? &lngUmbreitAdressNr
                                                                                       : nullptr;
        if (ziel) *ziel = vb::CLng(NZ(rs->Fields(vb::Variant("Wert"))->Value(), vb::Variant(0)));
      });
    }
    schritt([&] {
      if (rs) rs->Close();
    });
    blnFilialenGeladen = true;
  }
  QString liste = QStringLiteral("70:am Lager|") + QStringLiteral("80:Bestellt|81:Reserviert|82:Abholfach|83:offene Bestellung|");
  if (!colFilialen.isEmpty()) liste += QStringLiteral("84") + QStringLiteral(":Filialen|");
  return liste;
}

}  // namespace dcom
