#include "examples/BeispielHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "engine/modSkrivant.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/clsProgVorgaben.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/ReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "schema/HostSchema.h"
#include "schema/ServerSchema.h"

namespace beispiel {

namespace {

const QString kVorlagenQuelle = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates");
const QString kJet = QStringLiteral("Microsoft.Jet.OLEDB.4.0");

void setzeFehler(QString* fehler, const QString& text) {
  if (fehler) *fehler = text;
}

vb::Variant oderNull(const std::optional<double>& wert) { return wert ? vb::Variant(*wert) : vb::Variant::null(); }

}  // namespace

bool vorlagenInstallieren(const QString& ordner, QString* fehler) {
  const QDir quelle(kVorlagenQuelle);
  const QStringList dateien =
      quelle.entryList({QStringLiteral("*.lst"), QStringLiteral("*.lbl"), QStringLiteral("*.BMP")}, QDir::Files);
  if (dateien.isEmpty()) {
    setzeFehler(fehler, QStringLiteral("Keine Vorlagen in '%1' gefunden").arg(kVorlagenQuelle));
    return false;
  }
  if (!QDir().mkpath(ordner)) {
    setzeFehler(fehler, QStringLiteral("Ordner '%1' kann nicht angelegt werden").arg(ordner));
    return false;
  }
  for (const QString& name : dateien) {
    const QString ziel = QDir(ordner).filePath(name);
    QFile::remove(ziel);
    if (!QFile::copy(quelle.filePath(name), ziel)) {
      setzeFehler(fehler, QStringLiteral("Vorlage '%1' kann nicht nach '%2' kopiert werden").arg(name, ordner));
      return false;
    }
  }
  return true;
}

BeispielHost::BeispielHost(const QString& arbeitsordner, const QString& server) : m_server(server) {
  const QDir ordner(QFileInfo(arbeitsordner).absoluteFilePath());
  m_datenverzeichnis = ordner.filePath(QStringLiteral("Daten")) + QLatin1Char('/');
  m_lokalerPfad = ordner.filePath(QStringLiteral("Lokal")) + QLatin1Char('/');
}

BeispielHost::~BeispielHost() {
  m_fenster.reset();
  if (GetGlobalConnectList() == m_verbindungen) SetGlobalConnectList(nullptr);
}

bool BeispielHost::einrichten(QString* fehler) {
  if (!QDir().mkpath(m_datenverzeichnis) || !QDir().mkpath(m_lokalerPfad)) {
    setzeFehler(fehler, QStringLiteral("Arbeitsordner kann nicht angelegt werden: %1").arg(m_datenverzeichnis));
    return false;
  }
  // What Application does when it is created: the local path, the log, the forms folder.
  SetLokalerPfad(m_lokalerPfad);
  SetDatenverzeichnis(m_datenverzeichnis);
  DebugOutputInit(QStringLiteral("Debug.txt"));
  CreateFormularPfad();
  if (!vorlagenInstallieren(GetFormularPfad(), fehler) ||
      !vorlagenInstallieren(m_datenverzeichnis + QStringLiteral("FORMULAR"), fehler))
    return false;

  // The host's database is made afresh each run; the engine only wants the system database to exist.
  QFile::remove(datenbank());
  QString schemaFehler;
  if (!schema::createHostDatabase(datenbank(), &schemaFehler)) {
    setzeFehler(fehler, QStringLiteral("Datenbank '%1': %2").arg(datenbank(), schemaFehler));
    return false;
  }
  const QString systemDatenbank = m_datenverzeichnis + QStringLiteral("SYSTEM.MDW");
  QFile mdw(systemDatenbank);
  if (!mdw.open(QIODevice::WriteOnly)) {
    setzeFehler(fehler, QStringLiteral("'%1' kann nicht angelegt werden").arg(systemDatenbank));
    return false;
  }
  mdw.close();

  try {
    m_verbindungen = std::make_shared<clsConnectionHandler>();
    for (const short gruppe : {short(4), short(6)}) {
      if (!m_server.isEmpty()) {
        m_verbindungen->let_SQLGruppe_DB_OpenConnection(gruppe, m_server);
        continue;
      }
      m_verbindungen->let_SQLGruppe_DB_Provider(gruppe, kJet);
      m_verbindungen->let_SQLGruppe_DB_Properties(gruppe, QStringLiteral("Jet OLEDB:System database"), systemDatenbank);
      m_verbindungen->let_SQLGruppe_DB_OpenConnection(gruppe, QStringLiteral("Data Source=") + data::connectionValue(datenbank()));
    }
    if (m_server.isEmpty()) {
      m_uebergabe = m_verbindungen->SQLGruppe_Connection(4);
    } else {
      if (!schema::createTables(*m_verbindungen->SQLGruppe_Connection(4), schema::Tables::Host, &schemaFehler)) {
        setzeFehler(fehler, QStringLiteral("Datenbank '%1': %2").arg(m_server, schemaFehler));
        return false;
      }
      m_uebergabe = std::make_shared<data::Connection>();
      m_uebergabe->let_Provider(kJet);
      m_uebergabe->Open(QStringLiteral("Data Source=") + data::connectionValue(datenbank()));
    }
    SetGlobalConnectList(m_verbindungen);
    datenbankFuellen();

    // The display formats, read the way the batch print reads them.
    m_vorgaben = std::make_shared<clsProgVorgaben>();
    m_vorgaben->LoadCustomProperties(m_verbindungen->SQLGruppe_Connection(6));
    SetBetraegeFormat(vb::CStr(m_vorgaben->Value(QStringLiteral("SKRV_BeträgeFormat"), QStringLiteral("#,##0.00"))));
    SetProzentFormat(vb::CStr(m_vorgaben->Value(QStringLiteral("SKRV_ProzentFormat"), QStringLiteral("#,#0.0%"))));
    SetMWSTSatzFormat(vb::CStr(m_vorgaben->Value(QStringLiteral("SKRV_MWSTSatzFormat"), QStringLiteral("#,#0.0%"))));
  } catch (const vb::VbError& e) {
    setzeFehler(fehler, QStringLiteral("Datenbank '%1': %2").arg(m_server.isEmpty() ? datenbank() : m_server, e.description()));
    return false;
  }

  m_fenster = std::make_shared<frmDrucken>(std::make_shared<report::ReportControl>());
  return true;
}

// The invoice form through the engine's own form records, then its template and texts; the
// settings the document print reads.
void BeispielHost::datenbankFuellen() {
  CreateFormular(kFormStatusRechnung, m_formNummer, 2);
  const auto con = m_verbindungen->SQLGruppe_Connection(4);
  con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei=?, AnzahlKopien=1, Absender=?, Kopftext=?, "
                              "ÜberschriftText=?, AllgemeinSchlussText=?, MEFont_Name='Arial', MEFont_Size=10, "
                              "MEFont_Bold=?, MEFont_Italic=?, MEFont_Underline=?, MEFont_Strikethrough=? "
                              "WHERE FormStatus=? AND FormNummer=?"),
               {QStringLiteral("$Daten$FORMULAR\\Rechnung.lst"),
                QStringLiteral("Buchhandlung am Markt · Marktplatz 1 · 12345 Musterstadt"),
                QStringLiteral("Ihre Bestellung vom <BestellDatum>"), QStringLiteral("Rechnung"),
                QStringLiteral("Es gelten unsere Allgemeinen Geschäftsbedingungen."), false, false, false, false,
                kFormStatusRechnung, m_formNummer});
  con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Vorlagen SET FormularText='Rechnung' WHERE FormularNr=?"),
               {m_formNummer});

  const auto vorgaben = m_verbindungen->SQLGruppe_Connection(6);
  SetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("1"), vorgaben);
  SetVorgabe(QStringLiteral("Duplikatsvermerk"), QStringLiteral("0"), vorgaben);
  SetVorgabe(QStringLiteral("SKRV_BeträgeFormat"), QStringLiteral("#,##0.00"), vorgaben);
  SetVorgabe(QStringLiteral("SKRV_ProzentFormat"), QStringLiteral("#,#0.0%"), vorgaben);
  SetVorgabe(QStringLiteral("SKRV_MWSTSatzFormat"), QStringLiteral("#,#0.0%"), vorgaben);
}

short BeispielHost::mahnformularAnlegen() {
  short nummer = 0;
  CreateFormular(kFormStatusMahnung, nummer, 2);
  const auto con = m_verbindungen->SQLGruppe_Connection(4);
  con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei=?, AnzahlKopien=1, Absender=?, "
                              "Betrefftext=?, AllgemeinSchlussText=? WHERE FormStatus=? AND FormNummer=?"),
               {QStringLiteral("$Daten$FORMULAR\\Mahnung.lst"), QStringLiteral("Buchhandlung am Markt · Marktplatz 1"),
                QStringLiteral("Leider konnten wir keinen Zahlungseingang feststellen."),
                QStringLiteral("Allgemeiner Schlusstext"), kFormStatusMahnung, nummer});
  con->Execute(QStringLiteral("INSERT INTO Auftrag_Formular_Mahnung (FormNummer, FormStatus, Mahnstufe, Überschrift, "
                              "VorText, SchlussText) VALUES (?, ?, 2, 'Zweite Mahnung', '', ?)"),
               {nummer, kFormStatusMahnung, QStringLiteral("Bitte zahlen Sie umgehend.")});
  return nummer;
}

void BeispielHost::zeilenSchreiben(const QList<Zeile>& zeilen) {
  const auto con = m_uebergabe;
  con->BeginTrans();
  try {
    con->Execute(QStringLiteral("DELETE FROM PrintInputTabelle"));
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(QStringLiteral("SELECT * FROM PrintInputTabelle"), con, data::adOpenKeyset, data::adLockOptimistic);
    for (const Zeile& z : zeilen) {
      rs->AddNew();
      const auto feld = [&rs](const char* name, const vb::Variant& wert) {
        rs->Fields(QString::fromUtf8(name))->let_Value(wert);
      };
      feld("ControlString", z.ControlString);
      feld("Feld1", z.Feld1.isEmpty() ? vb::Variant::null() : vb::Variant(z.Feld1));
      feld("Menge", oderNull(z.Menge));
      feld("Bezeichnung", z.Bezeichnung);
      feld("EP", oderNull(z.EP));
      feld("VK", oderNull(z.EP));
      feld("MWSTArt", z.MWSTArt);
      feld("MwStSatz", z.MwStSatz);
      feld("RabattFähig", z.RabattFaehig);
      feld("Rabatt", 0.0);
      feld("EAN", z.EAN);
      feld("Autor", z.Autor);
      feld("Bemerkung", z.Bemerkung);
      rs->Update();
    }
    rs->Close();
    con->CommitTrans();
  } catch (...) {
    con->RollbackTrans();
    throw;
  }
}

void BeispielHost::dokumentdatenSetzen(frmDrucken& f) const {
  // As Application prepares a single document: a clean window, then the form, then what differs.
  f.Init();
  f.ClearAbschluss();
  f.ClearAnzahlKopien();
  f.objVorgaben = m_vorgaben;
  f.SetDruckerOptionen(kFormStatusRechnung, m_formNummer);

  f.let_Uebergabedatei(datenbank());
  f.let_AnschriftEmpfaenger(QStringLiteral("Städtisches Gymnasium Musterstadt\r\nSchulbibliothek\r\n"
                                           "Frau Dr. Albers\r\nSchulstraße 12\r\n12345 Musterstadt"));
  f.let_VorText(beispielVortext());
  f.let_SchlussText(beispielSchlusstext());
  f.let_ZahlText(beispielZahltext());
  f.let_MWSTSatz_Voll(kMwstVoll);
  f.let_MWSTSatz_halb(kMwstHalb);
  f.let_GesamtRabatt(kGesamtRabatt);
  f.let_Druckwaehrung(QStringLiteral("EUR"));
  f.let_AusgabeEndpreis(QStringLiteral("E"));

  f.AddValue(QStringLiteral("RechnungNr"), QStringLiteral("2024-10317"));
  f.AddValue(QStringLiteral("VorgangNr"), QStringLiteral("A-88412"));
  f.AddValue(QStringLiteral("Sachbearbeiter"), QStringLiteral("Jonas Weber"));
  f.AddValue(QStringLiteral("RechnungDatum"), QStringLiteral("05.09.2024"));
  // The values the texts' placeholders and the template's info block read, as the batch print adds them.
  constexpr int kText = report::kTypeText;
  f.AddDruckvariable(QStringLiteral("RechnungNr"), QStringLiteral("2024-10317"), kText);
  f.AddDruckvariable(QStringLiteral("RechnungsDatum"), QStringLiteral("05.09.2024"), kText);
  f.AddDruckvariable(QStringLiteral("ZahlZiel"), QStringLiteral("30"), kText);
  f.AddDruckvariable(QStringLiteral("BestellDatum"), QStringLiteral("12.08.2024"), kText);
  f.AddDruckvariable(QStringLiteral("LieferDatum"), QStringLiteral("02.09.2024"), kText);
  f.AddDruckvariable(QStringLiteral("KundenNr"), QStringLiteral("10234"), kText);

  f.AddAbschluss(QStringLiteral("Zwischensumme"), QStringLiteral("Summe der Positionen"), true);
  f.AddAbschluss(QStringLiteral("Gesamtrabatt"), QStringLiteral("Rabatt [Gesamtrabatt] auf nicht preisgebundene Artikel"),
                 false);
  f.AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Nettobetrag"), true);
  f.AddAbschluss(QStringLiteral("MWST"), QStringLiteral("zzgl. [MWSTSatz] USt. auf [Betrag] EUR"), false);
  f.AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Rechnungsbetrag"), true);
  f.AddAbschluss(QStringLiteral("LinieDoppelt"), QString(), false);
}

bool BeispielHost::pdfDrucken(const QString& pdfDatei, QString* fehler) {
  if (!m_fenster) {
    setzeFehler(fehler, QStringLiteral("Der Host ist nicht eingerichtet"));
    return false;
  }
  QFile::remove(pdfDatei);
  frmDrucken& f = *m_fenster;
  try {
    dokumentdatenSetzen(f);
    f.let_PDFArchivDatei(pdfDatei);
    f.StartPrint(4);
  } catch (const vb::VbError& e) {
    setzeFehler(fehler, QStringLiteral("Druck: %1").arg(e.description()));
    return false;
  }
  if (f.Running()) {
    setzeFehler(fehler, QStringLiteral("Der Druckauftrag ist nicht beendet"));
    return false;
  }
  if (!QFileInfo(pdfDatei).isFile() || QFileInfo(pdfDatei).size() == 0) {
    setzeFehler(fehler, QStringLiteral("Keine PDF-Datei geschrieben: %1 (siehe %2Debug.txt)").arg(pdfDatei, m_lokalerPfad));
    return false;
  }
  return true;
}

bool beispielRechnungDrucken(const QString& arbeitsordner, const QString& pdfDatei, QString* fehler) {
  BeispielHost host(arbeitsordner);
  if (!host.einrichten(fehler)) return false;
  try {
    host.zeilenSchreiben(beispielZeilen());
  } catch (const vb::VbError& e) {
    setzeFehler(fehler, QStringLiteral("Übergabetabelle: %1").arg(e.description()));
    return false;
  }
  return host.pdfDrucken(QFileInfo(pdfDatei).absoluteFilePath(), fehler);
}

}  // namespace beispiel
