// The branch synchronisation: the own stock changes go up to the shop's web service, the other
// branches' changes come down into Artikel_Filialbestände. A queue row counts as sent only after
// its request was delivered, so nothing is lost while the service is away; the next pass sends it.
#include "stockservers/tray/Application.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

#include "foundation/clsConnectionHandler.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modFiles.h"
#include "foundation/modString.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/Format.h"
#include "stockservers/common/LagerIndizes.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/modNetAPI.h"

namespace {

constexpr std::int16_t kArtikelDb = 4;
const QString kCrLf = QStringLiteral("\r\n");

// One pass in the process at a time, whichever object asks: passes of two objects would share
// the database and the response file. The pass lets events run, and a client may release its
// object meanwhile (which ends the server); the pass then stops without touching it again.
QPointer<Application> laufenderPass;
struct Freigegeben {};

void weiterWennDa() {
  if (!laufenderPass) throw Freigegeben{};
}

void ereignisse(QEventLoop::ProcessEventsFlags wie = QEventLoop::AllEvents) {
  QCoreApplication::processEvents(wie);
  weiterWennDa();
}

std::function<QDateTime()>& uhr() {
  static std::function<QDateTime()> u = [] { return QDateTime::currentDateTime(); };
  return u;
}

QString zeit() { return vb::formatDate(Application::Jetzt(), QStringLiteral("dd.mm.yyyy hh:mm:ss")); }

// "http://host/filial/article.php" from the setting "WebServer" (a host name, or an address with
// its scheme, so "https://..." reaches a service that offers it).
QString adresse() {
  QString basis = GetSetting(QStringLiteral("LagerServer"), QStringLiteral("WebServer")).trimmed();
  if (basis.isEmpty()) basis = QStringLiteral("localhost");
  if (!basis.contains(QLatin1String("://"))) basis.prepend(QLatin1String("http://"));
  while (basis.endsWith(QLatin1Char('/'))) basis.chop(1);
  return basis + QStringLiteral("/filial/article.php");
}

// One query-string pair; the value goes out URL-encoded in the code page the reply is read in
// (and the branches' servers have always sent), so a key beyond ASCII comes back as it went.
QString paar(const char* schluessel, const QString& wert) {
  return QLatin1Char('&') + QLatin1String(schluessel) + QLatin1Char('=') + QString::fromLatin1(toAnsi(wert).toPercentEncoding());
}

QString text(const data::Recordset& rs, const char* spalte) {
  return vb::CStr(NZ(rs.Fields(vb::Variant(QString::fromLatin1(spalte)))->Value(), vb::Variant(QString())));
}

vb::Variant zahl(const data::Recordset& rs, const char* spalte) {
  return NZ(rs.Fields(vb::Variant(QString::fromLatin1(spalte)))->Value(), vb::Variant(0));
}

// The update request of article `artikelident` with what `artikel` holds of it (Bestand, ISBN,
// EigeneArtikelNummer) and its quantities on order and reserved; empty for an article with
// neither number, which sends nothing.
QString updateAnfrage(const std::shared_ptr<data::Connection>& con, const QString& kopf, const data::Recordset& artikel,
                      std::int32_t artikelident, bool initial) {
  // No row from the stored query means nothing on order or reserved, not the previous article's.
  vb::Variant bestellt(0), reserviert(0);
  data::Recordset hilfe;
  hilfe.Open(QStringLiteral("ArtikelBestelltVerplant(%1)").arg(artikelident), vb::Variant(con), data::adOpenStatic);
  if (!hilfe.Eof()) {
    bestellt = zahl(hilfe, "Bestellt");
    reserviert = zahl(hilfe, "Reserviert");
  }
  hilfe.Close();
  QString schluessel;
  if (!text(artikel, "ISBN").isEmpty()) schluessel = QLatin1Char('I') + text(artikel, "ISBN");
  else if (!text(artikel, "EigeneArtikelNummer").isEmpty()) schluessel = QLatin1Char('E') + text(artikel, "EigeneArtikelNummer");
  if (schluessel.isEmpty()) return {};
  return kopf + paar("isbn", schluessel) + paar("stock", vb::CStr(zahl(artikel, "Bestand"))) +
         paar("reserved", vb::CStr(reserviert)) + paar("ordered", vb::CStr(bestellt)) +
         (initial ? QStringLiteral("&nots=1") : QString());
}

void senden(const QString& url, const QString& datei) {
  std::int32_t unbenutzt = 0;
  try {
    DownloadURL(url, datei, 0, unbenutzt);
  } catch (...) {
    weiterWennDa();
    throw;
  }
  weiterWennDa();
}

// One line of the "infotimestamp" reply.
struct Filialzeile {
  std::int32_t FilialNr = 0;
  double Bestand = 0, Reserviert = 0, Bestellt = 0;
  QString LetztUpdate, Schluessel;
};

// False for a line without six fields of the right kinds: it is skipped, never stored with
// what another line left behind.
bool zerlegen(QString zeile, Filialzeile& z) {
  QString feld[6];
  for (QString& f : feld) f = GetToken(zeile, QStringLiteral(";")).trimmed();
  const auto fehler = vb::ignoreErrors([&] {
    z.FilialNr = vb::CLng(vb::Variant(feld[0]));
    if (vb::CDbl(vb::Variant(feld[0])) != z.FilialNr) vb::raise(vb::ErrTypeMismatch);
    z.Bestand = vb::CDbl(vb::Variant(feld[1]));
    z.Reserviert = vb::CDbl(vb::Variant(feld[2]));
    z.Bestellt = vb::CDbl(vb::Variant(feld[3]));
  });
  z.LetztUpdate = feld[4];
  z.Schluessel = feld[5].startsWith(QLatin1Char('I'), Qt::CaseInsensitive) ? feld[5].mid(1, 20) : feld[5];
  return !fehler && !z.Schluessel.isEmpty();
}

// Adds or updates the branch's row of the article (its key in any letter case); on failure the
// set is closed and the error given back.
std::optional<vb::VbError> speichern(const std::shared_ptr<data::Connection>& con, const Filialzeile& z) {
  data::Recordset rs;
  const auto fehler = vb::ignoreErrors([&] {
    data::Parameters werte = {z.FilialNr};
    const QString schluessel = con->dialect().caseBlindEquals(QStringLiteral("ISBN"), z.Schluessel, werte);
    rs.Open(QStringLiteral("SELECT * FROM Artikel_Filialbestände WHERE FilialNr=? AND ") + schluessel, vb::Variant(con),
            data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified, werte);
    ereignisse();
    const auto setze = [&](const char* spalte, const vb::Variant& wert) {
      rs.Fields(vb::Variant(QString::fromLatin1(spalte)))->let_Value(wert);
    };
    if (rs.Eof()) {
      rs.AddNew();
      setze("ISBN", vb::Variant(z.Schluessel));
      setze("FilialNr", vb::Variant(z.FilialNr));
    } else {
      // One row per branch and article: rows a file gathered besides the first (added where an
      // earlier search missed them) go, so every reader sees the figures just stored.
      for (rs.MoveNext(); !rs.Eof(); rs.MoveNext()) rs.Delete();
      rs.MoveFirst();
    }
    setze("LetztUpdate", vb::Variant(z.LetztUpdate));
    setze("Reserviert", vb::Variant(z.Reserviert));
    setze("Bestellt", vb::Variant(z.Bestellt));
    setze("Bestand", vb::Variant(z.Bestand));
    rs.Update();
    rs.Close();
  });
  weiterWennDa();
  if (fehler && rs.State()) {
    vb::ignoreErrors([&] { rs.CancelUpdate(); });
    vb::ignoreErrors([&] { rs.Close(); });
  }
  return fehler;
}

}  // namespace

QDateTime Application::Jetzt() { return uhr()(); }
void Application::setUhr(std::function<QDateTime()> neueUhr) { uhr() = std::move(neueUhr); }

double Application::WebIntervall() const {
  // A zero, negative or unreadable interval would divide by zero or hammer the service.
  return dblWebIntervall > 0 ? dblWebIntervall : 1.0 / 1440;
}

void Application::CheckWebUpdate() {
  if (!blnBestaendeAbgleichen || lngFilialNr < 1 || lngKundenNr < 1 || blnWebLaeuft || laufenderPass) return;
  const auto verstrichen = [this] { return vb::toOleDate(Jetzt()) - vb::toOleDate(dtLetzteWebPruefung); };
  const QPointer<Application> selbst(this);
  if (Form1* form = Form1::aktuell()) form->UpdateNextWebCheck(verstrichen() / WebIntervall());
  // The bar let events run: this object may be gone, or a pass may have started meanwhile.
  if (!selbst || blnWebLaeuft || laufenderPass || !(verstrichen() > WebIntervall())) return;

  dtLetzteWebPruefung = Jetzt();
  blnWebLaeuft = true;
  laufenderPass = this;
  bool pruefungLaeuft = false;
  // Every way out of the pass clears the busy flags, or no later pass would ever start.
  std::optional<vb::VbError> fehler;
  try {
    const bool verbunden = blnVerbunden;
    if (!verbunden) ConnectDatabases();
    if (Form1* form = Form1::aktuell()) dblWebIntervall = Zahl(form->dblUpdateInterval->text()) / 1440;
    if (!m_ConnectList) vb::raise(vb::ErrObjectNotSet);
    const auto con = m_ConnectList->SQLGruppe_Connection(kArtikelDb);
    // Indexes a busy file kept from being made at the connection are tried again on each pass.
    if (verbunden) LagerIndizesAnlegen(*con, [this](const QString& zeile) { Log(zeile); });
    EigeneAenderungenSenden(con);
    ZeitstempelErmitteln(con);
    if (!strLetzterZeitstempel.isEmpty()) {
      if (Form1* form = Form1::aktuell()) form->StartWebPruefung();
      pruefungLaeuft = true;
      FilialAenderungenLaden(con);
    }
  } catch (const Freigegeben&) {
    return;
  } catch (...) {
    fehler = vb::toVbError(std::current_exception());
  }
  laufenderPass = nullptr;
  blnWebLaeuft = false;
  if (fehler) Log(QString::number(fehler->number()) + fehler->description());
  if (Form1* form = Form1::aktuell(); form && pruefungLaeuft) form->EndWebPruefung();
}

void Application::EigeneAenderungenSenden(const std::shared_ptr<data::Connection>& con) {
  DebugOutput(QStringLiteral("start: eigene Änderungen ins web spielen ") + zeit());
  // A queue row is marked by its own ID where the table has one, so a change queued during the
  // pass stays queued; a queue built with the columns the hosts know only is marked by article.
  const bool mitId = con->hasColumn(QStringLiteral("Artikel_geändert"), QStringLiteral("ID"));
  data::Recordset rs;
  rs.Open(QStringLiteral("SELECT ") + (mitId ? QStringLiteral("Artikel_geändert.ID, ") : QString()) +
              QStringLiteral("Artikel.Artikelident, Bestand, Artikel.ISBN, Artikel.EigeneArtikelNummer, "
                             "Artikel_geändert.updated, Artikel_geändert.ISBN AS UpdInfo FROM Artikel INNER JOIN "
                             "Artikel_geändert ") +
              QStringLiteral("ON Artikel.Artikelident=Artikel_geändert.Artikelident WHERE Artikel_geändert.updated=0 "
                             "AND Artikel_geändert.gelöscht=0") +
              (mitId ? QStringLiteral(" ORDER BY Artikel_geändert.ID") : QString()),
          vb::Variant(con), data::adOpenDynamic);
  const QString kopf = adresse() + QStringLiteral("?action=update") + paar("customer", vb::CStr(lngKundenNr)) +
                       paar("store", vb::CStr(lngFilialNr));
  while (!rs.Eof()) {
    // A client holding Pausieren keeps the upload in place; the thread waits on events meanwhile.
    while (blnPausieren) ereignisse(QEventLoop::WaitForMoreEvents);
    ereignisse();

    const std::int32_t artikelident = vb::CLng(rs.Fields(vb::Variant(QStringLiteral("Artikelident")))->Value());
    if (vb::textEquals(text(rs, "UpdInfo"), QStringLiteral("INIT"))) blnInitialupload = true;
    const QString anfrage = updateAnfrage(con, kopf, rs, artikelident, blnInitialupload);
    if (!anfrage.isEmpty()) senden(anfrage, strAntwortDatei);
    if (mitId)
      con->Execute(QStringLiteral("UPDATE Artikel_geändert  SET updated=1 WHERE ID=?"),
                   {rs.Fields(vb::Variant(QStringLiteral("ID")))->Value()});
    else
      AenderungAbschliessen(con, kopf, artikelident, anfrage);
    ereignisse();
    rs.MoveNext();
  }
  rs.Close();
  DebugOutput(QStringLiteral("ende: eigene Änderungen ins web spielen ") + zeit());

  if (blnInitialupload) {
    DebugOutput(QStringLiteral("Initialupload: Webdaten Timestamp setzen") + zeit());
    senden(adresse() + QStringLiteral("?action=setts") + paar("customer", vb::CStr(lngKundenNr)) +
               paar("store", vb::CStr(lngFilialNr)),
           strAntwortDatei);
    // Owed until delivered: a pass that fails before this sends it the next time.
    blnInitialupload = false;
  }

  DebugOutput(QStringLiteral("start: Artikel_geändert leeren ") + zeit());
  con->Execute(QStringLiteral("DELETE FROM Artikel_geändert WHERE Updated<>0"));
  DebugOutput(QStringLiteral("ende: Artikel_Geändert leeren ") + zeit());
}

void Application::AenderungAbschliessen(const std::shared_ptr<data::Connection>& con, const QString& kopf,
                                        std::int32_t artikelident, QString gesendet) {
  // Without row numbers the article's rows are marked by article, so rows a host queued during
  // the pass go too. That holds only while what was sent is what the article has as its rows
  // leave: they are marked and the article read again in one transaction (the marking holds the
  // queue, the reading sees every change made before it); figures that changed go out and the
  // rows are marked anew. An article that keeps changing stays queued for the next pass.
  for (int versuch = 0; versuch < 3; ++versuch) {
    QString jetzt;
    con->BeginTrans();
    try {
      con->Execute(QStringLiteral("UPDATE Artikel_geändert  SET updated=1 WHERE Artikelident=?"), {artikelident});
      data::Recordset artikel;
      artikel.Open(QStringLiteral("SELECT Bestand, ISBN, EigeneArtikelNummer FROM Artikel WHERE Artikelident=?"),
                   vb::Variant(con), data::adOpenStatic, data::adLockReadOnly, data::adCmdUnspecified, {artikelident});
      jetzt = artikel.Eof() ? gesendet : updateAnfrage(con, kopf, artikel, artikelident, blnInitialupload);
      artikel.Close();
      if (jetzt == gesendet) {
        con->CommitTrans();
        return;
      }
      con->RollbackTrans();
    } catch (...) {
      vb::ignoreErrors([&] { con->RollbackTrans(); });
      throw;
    }
    if (!jetzt.isEmpty()) senden(jetzt, strAntwortDatei);
    gesendet = jetzt;
  }
}

void Application::ZeitstempelErmitteln(const std::shared_ptr<data::Connection>& con) {
  DebugOutput(QStringLiteral("start: Max(LetztUpdate) ermitteln ") + zeit());
  if (strLetzterZeitstempel.isEmpty() || strLetzterZeitstempel == QLatin1String("0")) {
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT MAX(LetztUpdate) AS LUpdate FROM Artikel_Filialbestände"), vb::Variant(con));
    strLetzterZeitstempel = rs.Eof() ? QString() : vb::CStr(NZ(rs.Fields(vb::Variant(0))->Value(), vb::Variant(QStringLiteral("0"))));
    rs.Close();
    if (strLetzterZeitstempel.isEmpty()) strLetzterZeitstempel = QStringLiteral("0");
  }
  DebugOutput(QStringLiteral("Ende: Max(LetztUpdate) ermitteln ") + zeit());
}

void Application::FilialAenderungenLaden(const std::shared_ptr<data::Connection>& con) {
  DebugOutput(QStringLiteral("start: letzte Änderungen von Filialen Laden ") + zeit());
  const QString url = adresse() + QStringLiteral("?action=infotimestamp") + paar("customer", vb::CStr(lngKundenNr)) +
                      paar("ownstore", vb::CStr(lngFilialNr)) + paar("ts", strLetzterZeitstempel);
  DebugOutput(url);
  // A reply that broke off keeps its whole lines; an error status or no answer stores nothing.
  bool abgebrochen = false;
  try {
    senden(url, strAntwortDatei);
  } catch (const vb::VbError& e) {
    if (e.number() != ErrWebVerbindung) throw;
    Log(QString::number(e.number()) + e.description());
    abgebrochen = true;
  }
  QString antwort = DateiLesen(strAntwortDatei);
  DebugOutput(QStringLiteral("ende: letzte Änderungen von Filialen Laden ") + zeit());
  if (vb::textEquals(antwort.trimmed(), QStringLiteral("nix"))) return;

  antwort = vb::replaceText(antwort, QStringLiteral("<br>"), kCrLf);
  if (abgebrochen) antwort.truncate(std::max<qsizetype>(0, antwort.lastIndexOf(kCrLf)));
  DebugOutput(QStringLiteral("start: letzte Änderungen von Filialen einpflegen ") + zeit());
  bool alleGespeichert = true;
  QString neuester;
  while (!antwort.isEmpty()) {
    ereignisse();
    const QString zeile = GetToken(antwort, kCrLf);
    if (zeile.size() <= 30) continue;
    Filialzeile z;
    if (!zerlegen(zeile, z)) {
      Log(QString::number(vb::ErrTypeMismatch) + vb::standardErrorText(vb::ErrTypeMismatch) + QStringLiteral(": ") + LogZitat(zeile));
      continue;
    }
    if (const auto fehler = speichern(con, z)) {
      Log(QString::number(fehler->number()) + fehler->description());
      Warte(1000);
      weiterWennDa();
      alleGespeichert = false;
      continue;
    }
    if (z.LetztUpdate.compare(neuester, Qt::CaseInsensitive) > 0) neuester = z.LetztUpdate;
  }
  DebugOutput(QStringLiteral("ende: letzte Änderungen von Filialen einpflege ") + zeit());
  // Forward only past a reply that was stored whole, so a line that failed is fetched again.
  if (!abgebrochen && alleGespeichert && neuester.compare(strLetzterZeitstempel, Qt::CaseInsensitive) > 0)
    strLetzterZeitstempel = neuester;
}

