// A host in a process of its own (skrivant-testhost, linked with the bridge's client library
// only) drives the installed engine over a private session bus: the bus knows the engine only
// by the service file `cmake --install` put into the prefix.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <cmath>
#include <tuple>

#include "engine/modSkrivant.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/hosts/Installation.h"
#include "tests/support/BeschaedigteUebergabe.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"
#include "tests/support/TempDir.h"

namespace {

using namespace testsupport;

class BusHost : public ::testing::Test {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(!QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty(),
                          "dbus-run-session is not installed (package dbus)");
    SKRIVANT_REQUIRE_TOOL(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                          "pdftotext is not installed (package poppler-utils)");
    const auto lauf = installieren(prefix, QStringLiteral("Runtime"));
    ASSERT_TRUE(lauf.ok()) << lauf.ausgabe.toStdString();
    const QString dienst = prefix + QStringLiteral("/share/dbus-1/services/de.automation.skrivant.service");
    QFile datei(dienst);
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly)) << dienst.toStdString();
    // The installed file starts the installed program, wherever the prefix is.
    ASSERT_TRUE(datei.readAll().contains(("Exec=" + prefix + "/bin/skrivant").toUtf8()));

    // The build tree's session configuration, with the prefix's services in place of the tree's.
    QFile baum(QStringLiteral(SKRIVANT_DBUS_SESSION_CONFIG));
    ASSERT_TRUE(baum.open(QIODevice::ReadOnly)) << baum.fileName().toStdString();
    QString konfiguration = QString::fromUtf8(baum.readAll());
    static const QRegularExpression kDienste(QStringLiteral("<servicedir>[^<]*</servicedir>"));
    ASSERT_EQ(konfiguration.count(kDienste), 1) << konfiguration.toStdString();
    konfiguration.replace(kDienste, QStringLiteral("<servicedir>%1/share/dbus-1/services</servicedir>").arg(prefix));
    busKonfiguration = tmp.write(QStringLiteral("session.conf"), konfiguration.toUtf8());
  }

  // Runs the test host with `argumente` under a private session bus, the variables `setzen`
  // ("NAME=Wert") in the environment of both; its answers by name.
  QMap<QString, QString> host(const QStringList& argumente, const QString& vorher = {}, const QStringList& setzen = {}) {
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& v : setzen) umgebung.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
    // The engine's default local path (and its Debug.txt) lies under the per-user data folder.
    umgebung.insert(QStringLiteral("XDG_DATA_HOME"), xdgDaten);
    QStringList befehl{QStringLiteral("--config-file=") + busKonfiguration, QStringLiteral("--")};
    if (vorher.isEmpty()) {
      befehl << QStringLiteral(SKRIVANT_TESTHOST) << argumente;
    } else {
      // `vorher` runs in the same session in front of the host, "$@" being the host's command.
      befehl << QStringLiteral("sh") << QStringLiteral("-c") << vorher << QStringLiteral("sh")
             << QStringLiteral(SKRIVANT_TESTHOST) << argumente;
    }
    const auto lauf = ausfuehren(QStringLiteral("dbus-run-session"), befehl, 240, umgebung);
    ausgabe = lauf.ausgabe;
    EXPECT_TRUE(lauf.ok()) << lauf.ausgabe.toStdString();
    QMap<QString, QString> antworten;
    for (const QString& zeile : lauf.ausgabe.split(QLatin1Char('\n'))) {
      const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
      if (gleich > 0) antworten.insert(zeile.left(gleich), zeile.mid(gleich + 1));
    }
    return antworten;
  }

  TempDir tmp;
  const QString prefix = tmp.file(QStringLiteral("prefix"));
  const QString xdgDaten = tmp.file(QStringLiteral("xdg"));
  QString busKonfiguration;
  QString ausgabe;
};

TEST_F(BusHost, InvoiceToPdfThroughTheActivatedEngine) {
  beispiel::BeispielHost vorbereitung(tmp.file(QStringLiteral("arbeit")));
  QString fehler;
  ASSERT_TRUE(vorbereitung.einrichten(&fehler)) << fehler.toStdString();
  // 2 x 10,00 at 19 % and 1 x 20,00 at 7 %: 40,00 net, 3,80 and 1,40 VAT, 45,20 gross.
  vorbereitung.zeilenSchreiben({beispiel::position(1, 2, QStringLiteral("Ringbuch A4"), 10.0, true),
                                beispiel::position(2, 1, QStringLiteral("Atlas der Weltmeere"), 20.0, false)});
  const QString pdf = tmp.file(QStringLiteral("Rechnung R-4711.pdf"));

  const auto a = host({QStringLiteral("dokument"), vorbereitung.datenverzeichnis(), vorbereitung.lokalerPfad(),
                       vorbereitung.datenbank(), pdf, QString::number(beispiel::kFormStatusRechnung),
                       QString::number(beispiel::kFormNummer)});

  // Refused with number and description; the road below runs on the engine's own handler.
  EXPECT_TRUE(a.value(QStringLiteral("FremderHandler")).startsWith(QStringLiteral("13|"))) << ausgabe.toStdString();
  EXPECT_TRUE(a.value(QStringLiteral("FremderHandler")).contains(QStringLiteral("Datenbankverbindungen")));
  EXPECT_EQ(a.value(QStringLiteral("LokalerPfadZurueck")), vorbereitung.lokalerPfad());
  EXPECT_EQ(a.value(QStringLiteral("PDFAusgabeDokument")), QStringLiteral("0"));
  EXPECT_EQ(a.value(QStringLiteral("IsBesetzt")), QStringLiteral("False"));
  EXPECT_EQ(a.value(QStringLiteral("GetExitCode")), QStringLiteral("0"));
  EXPECT_TRUE(a.value(QStringLiteral("UnbekanntesMitglied")).startsWith(QStringLiteral("438|"))) << ausgabe.toStdString();
  EXPECT_EQ(a.value(QStringLiteral("PrintPosEPMaterial")), QStringLiteral("12,5"));

  // What the host is told is what the reader sees at the end of the closing block.
  const QString gesamt = a.value(QStringLiteral("GetGesamtBetrag"));
  bool zahl = false;
  EXPECT_DOUBLE_EQ(QString(gesamt).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&zahl), 45.2);
  ASSERT_TRUE(zahl) << ausgabe.toStdString();
  const QString text = pdfSeiten(pdf).join(QLatin1Char('\f'));
  ASSERT_FALSE(text.isEmpty()) << "no readable PDF at " << pdf.toStdString() << "\n" << ausgabe.toStdString();
  const QStringList endbetrag = zeilenMit(text, QStringLiteral("Rechnungsbetrag"));
  ASSERT_EQ(endbetrag.size(), 1) << text.toStdString();
  EXPECT_EQ(endbetrag.first().split(QLatin1Char(' '), Qt::SkipEmptyParts).last(), gesamt) << endbetrag.first().toStdString();
  // The content members reached the page, the closing text with the end amount in it.
  for (const QString& teil : {QStringLiteral("Städtische Bücherei"), QStringLiteral("R-4711"),
                              QStringLiteral("Wir berechnen Ihnen wie folgt:"), QStringLiteral("Zu zahlen: ") + gesamt + QStringLiteral(" EUR")})
    EXPECT_FALSE(zeilenMit(text, teil).isEmpty()) << teil.toStdString() << "\n" << text.toStdString();
}

TEST_F(BusHost, DunningLetterToPdfThroughTheActivatedEngine) {
  beispiel::BeispielHost vorbereitung(tmp.file(QStringLiteral("arbeit")));
  QString fehler;
  ASSERT_TRUE(vorbereitung.einrichten(&fehler)) << fehler.toStdString();
  const short formNummer = vorbereitung.mahnformularAnlegen();
  const QString pdf = tmp.file(QStringLiteral("Mahnung K-815.pdf"));

  const auto a = host({QStringLiteral("mahnung"), vorbereitung.datenverzeichnis(), vorbereitung.datenbank(), pdf,
                       QString::number(formNummer)});
  EXPECT_EQ(a.value(QStringLiteral("VorText")), QStringLiteral("Leider konnten wir keinen Zahlungseingang feststellen."))
      << ausgabe.toStdString();
  EXPECT_EQ(a.value(QStringLiteral("PDFAusgabeDokument")), QStringLiteral("0"));
  EXPECT_EQ(a.value(QStringLiteral("IsBesetzt")), QStringLiteral("False"));
  EXPECT_EQ(a.value(QStringLiteral("GetExitCode")), QStringLiteral("0"));

  // The host's invoices: 100.004 less 20.00 paid and 50.00, each rounded to cents first.
  const long long offen = std::llround(100.004 * 100) - 2000 + 5000;
  const QString text = pdfSeiten(pdf).join(QLatin1Char('\f'));
  ASSERT_FALSE(text.isEmpty()) << "no readable PDF at " << pdf.toStdString() << "\n" << ausgabe.toStdString();
  const QStringList zeilen = zeilenMit(text, QStringLiteral("Offener Betrag"));
  ASSERT_EQ(zeilen.size(), 1) << text.toStdString();
  EXPECT_TRUE(zeilen.first().contains(deutscherBetrag(offen) + QStringLiteral(" EUR"))) << zeilen.first().toStdString();
  for (const QString& teil : {QStringLiteral("R-1001"), QStringLiteral("R-1002"), QStringLiteral("20.11.2026"),
                              QStringLiteral("Zweite Mahnung"), QStringLiteral("Bitte zahlen Sie umgehend."),
                              QStringLiteral("Mahngebühren"), QStringLiteral("5,00 EUR"), QStringLiteral("Städtische Bücherei")})
    EXPECT_FALSE(zeilenMit(text, teil).isEmpty()) << teil.toStdString() << "\n" << text.toStdString();
}

TEST_F(BusHost, KilledHostIsReleasedAndTheEngineEndsCleanly) {
  beispiel::BeispielHost vorbereitung(tmp.file(QStringLiteral("arbeit")));
  QString fehler;
  ASSERT_TRUE(vorbereitung.einrichten(&fehler)) << fehler.toStdString();
  // The engine started by hand this time, so its exit status can be seen: the killed host left
  // the engine's process-wide connection handler set, with open connections.
  const QString start = QStringLiteral("\"%1/bin/skrivant\" & engine=$!; \"$@\"; host=$?; wait $engine; "
                                       "echo EngineStatus=$?; exit $host")
                            .arg(prefix);
  const auto a = host({QStringLiteral("absturz"), vorbereitung.datenverzeichnis(), vorbereitung.datenbank(),
                       QString::number(beispiel::kFormStatusRechnung), QString::number(beispiel::kFormNummer),
                       QStringLiteral("gestartet")},
                      start);
  EXPECT_EQ(a.value(QStringLiteral("EngineLaeuft")), QStringLiteral("ja")) << ausgabe.toStdString();
  EXPECT_EQ(a.value(QStringLiteral("EngineNameFrei")), QStringLiteral("ja"));
  EXPECT_EQ(a.value(QStringLiteral("EngineBeendet")), QStringLiteral("ja"));
  EXPECT_EQ(a.value(QStringLiteral("EngineStatus")), QStringLiteral("0"));

  // The Application of the killed host was terminated: its log lines are in the engine's Debug.txt.
  QString log;
  for (QDirIterator it(xdgDaten, {QStringLiteral("Debug.txt")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    QFile f(it.next());
    if (f.open(QIODevice::ReadOnly)) log += QString::fromLatin1(f.readAll());
  }
  const qsizetype anfang = log.indexOf(QStringLiteral("->Application.Terminate"));
  ASSERT_GE(anfang, 0) << log.toStdString();
  EXPECT_GT(log.indexOf(QStringLiteral("Application.Terminate->"), anfang), anfang) << log.toStdString();

  // Killed while the engine waits for it in a call back into its record set.
  const auto b = host({QStringLiteral("absturz"), vorbereitung.datenverzeichnis(), vorbereitung.datenbank(),
                       QString::number(beispiel::kFormStatusRechnung), QString::number(beispiel::kFormNummer),
                       QStringLiteral("gestartet"), QStringLiteral("rueckruf")},
                      start);
  EXPECT_EQ(b.value(QStringLiteral("EngineLaeuft")) + b.value(QStringLiteral("EngineBeendet")) + b.value(QStringLiteral("EngineStatus")),
            QStringLiteral("jaja0"))
      << ausgabe.toStdString();
}

// A host in Python, written from docs/hosts.md with nothing of the tree but the installed files.
// Its failed jobs answer at once, tell GetExitCode 1 and leave the PDF of before as it was.
TEST_F(BusHost, PythonHostFromTheGuide) {
  SKRIVANT_REQUIRE_TOOL(ausfuehren(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import dbus, gi")}, 30).ok(),
                        "python3-dbus and python3-gi are not installed (scripts/setup installs them)");
  const QString arbeit = tmp.file(QStringLiteral("python"));
  const QString kaputt = tmp.file(QStringLiteral("kaputt/Uebergabe.mdb"));
  ASSERT_EQ(beschaedigteUebergabe(kaputt), QString());
  const auto a = host({QStringLiteral(SKRIVANT_SOURCE_DIR "/tests/hosts/python/host.py"), prefix, arbeit, kaputt},
                      QStringLiteral("shift; exec /usr/bin/python3 \"$@\""));  // in place of the test host
  for (const auto& [name, antwort] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Rechnung", "0|False|0"}, {"Rechnung.GetGesamtBetrag", "45,2"}, {"FehlenderOrdner", "0|False|1"},
           {"Ordner", "0|False|1"}, {"OhneName", "0|False|1"}, {"DateiFehlt.SetDataBaseName", "1"},
           {"LangerName.SetDataBaseName", "1"}, {"Danach", "0|False|0"}, {"Gesperrt", "0|False|1"},
           {"Gesperrt.Log", "True"}, {"Beschaedigt", "0|False|1"}, {"Beschaedigt.Druck", "0|False|1"},
           {"Beschaedigt.Log", "True"}, {"Formular", "0|False|0"}, {"Mahnung", "0|False|0"},
           {"Vorher.PrintDokument", "0|False|1"}, {"Vorher.LLPrintDokument", "0|False|1"},
           {"Vorher.AddToDruckstapel", "0|False|1"}, {"Falsch.CreateFormularTyp", "13"}, {"Falsch.Data", "13"},
           {"OhneGruppe.SetDruckerOptionen", "5"}, {"Nothing.SetDruckerOptionen", "5"}, {"Freigegeben", "-2147417848"}})
    EXPECT_EQ(a.value(QLatin1String(name)), QLatin1String(antwort)) << name << "\n" << ausgabe.toStdString();
  const auto pdfZeile = [&](const char* pdf, const char* teil) {  // the one line with `teil`
    const QStringList z = zeilenMit(pdfSeiten(arbeit + QLatin1Char('/') + QLatin1String(pdf)).join(u'\f'), QLatin1String(teil));
    return z.size() == 1 ? z[0].trimmed() : QStringLiteral("%1 lines").arg(z.size());
  };
  for (const char* pdf : {"Rechnung.pdf", "Danach.pdf"}) EXPECT_TRUE(pdfZeile(pdf, "Rechnungsbetrag").endsWith(QStringLiteral(" 45,2"))) << pdf;
  for (const char* wert : {"Artikel=Ringbuch", "Menge=2.5", "Artikel=Atlas"})
    EXPECT_TRUE(a.value(QStringLiteral("Formular.Gelesen")).contains(QLatin1String(wert))) << wert;
  EXPECT_TRUE(QFileInfo::exists(arbeit + QStringLiteral("/Lokal/SDRK001.LL")));
  EXPECT_TRUE(pdfZeile("Mahnung.pdf", "Offener Betrag").endsWith(QStringLiteral(" 80,00")));
  // The locked hand-over database is waited for once, its 10 seconds, not once per attempt.
  const double gesperrt = a.value(QStringLiteral("Gesperrt.Sekunden")).toDouble();
  EXPECT_TRUE(gesperrt >= 9 && gesperrt < 15) << gesperrt;
}

// A host opens the template manager over the bus and lets go of everything. Where nobody sees the
// display, the window closes as on the user's close when its host goes: saved, logged, engine ended.
TEST_F(BusHost, TemplateManagerNobodySeesEndsWithItsHost) {
  beispiel::BeispielHost vorbereitung(tmp.file(QStringLiteral("arbeit")));
  QString fehler;
  ASSERT_TRUE(vorbereitung.einrichten(&fehler)) << fehler.toStdString();
  GetGlobalConnectList()->SQLGruppe_Connection(4)->Execute(
      QStringLiteral("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (3, 'Rechnung')"));

  const auto a = host({QStringLiteral("gestaltung"), vorbereitung.datenverzeichnis(), vorbereitung.datenbank(),
                       QString::number(beispiel::kFormStatusRechnung), QString::number(beispiel::kFormNummer)});
  EXPECT_EQ(a.value(QStringLiteral("IsBesetzt")), QStringLiteral("True")) << ausgabe.toStdString();
  EXPECT_EQ(a.value(QStringLiteral("EngineNachFreigabe")), QStringLiteral("nein"));
  const QString engine = QStringLiteral("/proc/") + a.value(QStringLiteral("EnginePid"));
  ASSERT_NE(engine, QStringLiteral("/proc/0"));
  const QDeadlineTimer ende(30000);
  while (!ende.hasExpired() && QFile::exists(engine)) QThread::msleep(50);
  EXPECT_FALSE(QFile::exists(engine));

  QString log;
  for (QDirIterator it(xdgDaten, {QStringLiteral("Debug.txt")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    QFile f(it.next());
    if (f.open(QIODevice::ReadOnly)) log += QString::fromLatin1(f.readAll());
  }
  for (const char* zeile : {"Start Formulargestaltung", "Ende Formulargestaltung", "Form_Unload ->",
                            "frmDruckFormulare.Terminate->"})
    EXPECT_TRUE(log.contains(QString::fromUtf8(zeile))) << zeile << "\n" << log.toStdString();
}

// The queue of small documents printed by one call over the bus, to the private cupsd the engine
// reaches through the environment the bus handed on, with PDF copies in the data directory.
TEST_F(BusHost, KleinteileQueuePrintedThroughTheActivatedEngine) {
  SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
  PrivateCupsd cupsd;
  ASSERT_TRUE(cupsd.start()) << cupsd.failure();
  ASSERT_TRUE(cupsd.addPclQueue(QStringLiteral("Laser"))) << cupsd.failure();
  ASSERT_TRUE(cupsd.run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("Laser")})) << cupsd.failure();
  beispiel::BeispielHost vorbereitung(tmp.file(QStringLiteral("arbeit")));
  QString fehler;
  ASSERT_TRUE(vorbereitung.einrichten(&fehler)) << fehler.toStdString();
  short formNummer = 0;
  CreateFormular(2, formNummer, std::int16_t(2));
  const auto con = GetGlobalConnectList()->SQLGruppe_Connection(4);
  con->Execute(QStringLiteral(
      "UPDATE Auftrag_Formular_Neu SET Formatdatei='$Daten$FORMULAR\\Rechnung.lst', AnzahlKopien=1, MEFont_Name='Arial', "
      "MEFont_Size=10, MEFont_Bold=0, MEFont_Italic=0, MEFont_Underline=0, MEFont_Strikethrough=0 WHERE FormStatus=2"));
  con->Execute(QStringLiteral("INSERT INTO KleinteilKopf (Nummer, Art, MWSThalb, MWSTvoll) VALUES (21, 2, 0.07, 0.19), "
                              "(22, 2, 0.07, 0.19)"));
  con->Execute(QStringLiteral("INSERT INTO KleinteilElemente (KopfNummer, LaufendeNummer, Kennziffer, Stueck, "
                              "Bezeichnung, VK1, VK2, MWST) VALUES (21, 1, 'P', 1, 'Effi Briest', 10, 10, 1), "
                              "(22, 1, 'P', 2, 'Der Stechlin', 20, 40, 2)"));
  con->Execute(QStringLiteral("INSERT INTO KT_DruckTabelle (Nummer, SortID, AuchAlsPDF) VALUES (21, 1, -1), (22, 2, -1)"));

  const auto a = host({QStringLiteral("kleinteile"), vorbereitung.datenverzeichnis(), vorbereitung.datenbank()});
  EXPECT_EQ(a.value(QStringLiteral("DruckeKleinteile"), QStringLiteral("?")), QString()) << ausgabe.toStdString();
  EXPECT_EQ(a.value(QStringLiteral("BeimDrucken")), QStringLiteral("False"));
  EXPECT_EQ(a.value(QStringLiteral("GetExitCode")), QStringLiteral("0"));

  const auto jobs = cupsd.takeJobs(QStringLiteral("Laser"));
  ASSERT_TRUE(jobs) << cupsd.failure();
  EXPECT_EQ(jobs->size(), 2);
  data::Recordset rs;
  rs.Open(QStringLiteral("SELECT Nummer, VorgangGedruckt, PDFdatei FROM KT_DruckTabelle ORDER BY SortID"), vb::Variant(con));
  for (const QString& position : {QStringLiteral("Effi Briest"), QStringLiteral("Der Stechlin")}) {
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(vb::CBool(rs.Fields(1)->Value())) << position.toStdString();
    const QString pdf = vb::CStr(rs.Fields(2)->Value());
    EXPECT_EQ(pdf, vorbereitung.datenverzeichnis() + QStringLiteral("RechAusgang/") + vb::CStr(rs.Fields(0)->Value()) +
                       QStringLiteral(".PDF"));
    EXPECT_FALSE(zeilenMit(pdfSeiten(pdf).join(QLatin1Char('\f')), position).isEmpty()) << pdf.toStdString();
    rs.MoveNext();
  }
}

TEST_F(BusHost, GenericFormTypeFromTheHostsOwnRecordSets) {
  beispiel::BeispielHost vorbereitung(tmp.file(QStringLiteral("arbeit")));
  QString fehler;
  ASSERT_TRUE(vorbereitung.einrichten(&fehler)) << fehler.toStdString();
  const QStringList ort{vorbereitung.datenverzeichnis(), vorbereitung.datenbank()};

  const auto a = host(QStringList{QStringLiteral("formulartyp")} + ort);
  EXPECT_EQ(a.value(QStringLiteral("Nummer130")), QStringLiteral("5")) << ausgabe.toStdString();
  EXPECT_EQ(a.value(QStringLiteral("CreateFormularTyp")), QStringLiteral("leer")) << ausgabe.toStdString();

  auto con = std::make_shared<data::Connection>();
  con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  con->Open(QStringLiteral("Data Source=") + data::connectionValue(vorbereitung.datenbank()));
  const auto zeilen = [&](const char* sql) { return enginetest::zeilen(*con, QString::fromUtf8(sql)); };
  EXPECT_EQ(zeilen("SELECT * FROM Druck_Formulartypen"), QStringList({QStringLiteral("1001|Lieferschein|über den Bus")}));
  EXPECT_EQ(zeilen("SELECT Datenbereich, FeldName, DatenTyp, DesignWert FROM Druck_Formulartypen_Felder ORDER BY ID"),
            QStringList({"1|Nummer|134217728|4711", "1|Kunde|268435456|Bücherei Nord", "1|Datum|67108864|08.12.2026",
                         "1|Bezahlt|33554432|1", "2|Pos|134217728|1", "2|Artikel|268435456|Ringbuch",
                         "2|Menge|134217728|2,5"}));
  EXPECT_EQ(zeilen("SELECT FormNummer, BerichtArt FROM Auftrag_Formular_Neu WHERE FormStatus=1001"),
            QStringList({QStringLiteral("1|2")}));
  EXPECT_EQ(zeilen("SELECT RechnerName, VonSeite, BisSeite, Drucker FROM Auftrag_Formular_Druckerschacht_Neu "
                   "WHERE FormStatus=1001 ORDER BY VonSeite"),
            QStringList({QStringLiteral("$GLOBAL$|1|1|Standard"), QStringLiteral("$GLOBAL$|2|9999|Standard")}));

  // The user gives template 1 the default list; two copies into the print batch.
  con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei='$Daten$FORMULAR\\Formularliste.lst' "
                              "WHERE FormStatus=1001"));
  con->Close();
  const auto b = host(QStringList{QStringLiteral("formulardruck")} + ort);
  EXPECT_EQ(b.value(QStringLiteral("AddToDruckstapel")), QStringLiteral("0")) << ausgabe.toStdString();
  EXPECT_EQ(b.value(QStringLiteral("GetExitCode")), QStringLiteral("0"));
  // Each copy walks the host's records in its process; the second starts past the last one.
  EXPECT_EQ(b.value(QStringLiteral("DetailGelesen")),
            QStringLiteral("Artikel=Ringbuch,Artikel=Ringbuch,Artikel=Atlas,Artikel=Globus,"
                           "Artikel=Ringbuch,Artikel=Atlas,Artikel=Globus"));
  EXPECT_EQ(b.value(QStringLiteral("KopfGelesen")).count(QStringLiteral("Kunde=Bücherei Nord")), 4);
}

}  // namespace

// Python hosts at once (python/gleichzeitig.py), each with its own bus connection, hand-over
// database and values in one local path: each PDF holds its own host's rows and total only; an
// unseen preview answers at once; a call back never answered fails its host's call after the bound
// while another host is served.
TEST_F(BusHost, PythonHostsAtOnceEachGetOnlyTheirOwn) {
  SKRIVANT_REQUIRE_TOOL(ausfuehren(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import dbus, gi")}, 30).ok(),
                        "python3-dbus and python3-gi are not installed (scripts/setup installs them)");
  const QString arbeit = tmp.file(QStringLiteral("gleichzeitig"));
  const auto a = host({QStringLiteral(SKRIVANT_SOURCE_DIR "/tests/hosts/python/gleichzeitig.py"), prefix, arbeit},
                      QStringLiteral("shift; exec /usr/bin/python3 \"$@\""), {QStringLiteral("AUTOMATION_CALLBACK_TIMEOUT=8")});
  for (const auto& [name, antwort] : std::initializer_list<std::pair<const char*, const char*>>{
           {"EigeneProzesse", "True"}, {"A", "0|45,2"}, {"B", "0|59,5"}, {"Vorschau", "1|True"}, {"Vorschau.Log", "True"},
           {"Nebenher.F", "0|59,5"}, {"Danach", "None"}})
    EXPECT_EQ(a.value(QLatin1String(name), QStringLiteral("?")), QLatin1String(antwort)) << name << "\n" << ausgabe.toStdString();
  const QStringList A{"R-A-1", "Kunde A", "Ringbuch A4", "Atlas der Weltmeere"}, B{"R-B-1", "Kunde B", "Globus aus Messing"};
  for (const auto& [pdf, eigene, fremde, betrag] : {std::tuple{"A", A, B, "45,2"}, {"B", B, A, "59,5"}, {"F", QStringList{"R-F-1"}, A, "59,5"}}) {
    const QString text = pdfSeiten(arbeit + QLatin1Char('/') + QLatin1String(pdf) + QStringLiteral(".pdf")).join(u'\f');
    for (const QString& teil : eigene) EXPECT_EQ(zeilenMit(text, teil).size(), 1) << pdf << ": " << teil.toStdString();
    for (const QString& teil : fremde) EXPECT_TRUE(zeilenMit(text, teil).isEmpty()) << pdf << ": " << teil.toStdString();
    EXPECT_TRUE(zeilenMit(text, QStringLiteral("Rechnungsbetrag")).value(0).trimmed().endsWith(QLatin1Char(' ') + QLatin1String(betrag)))
        << pdf << "\n" << text.toStdString();
  }
  EXPECT_TRUE(a.value(QStringLiteral("Rueckruf")).startsWith(QStringLiteral("440\t")) &&
              a.value(QStringLiteral("Rueckruf")).contains(QStringLiteral("nicht innerhalb von 8 Sekunden")));
  const QStringList sekunden = a.value(QStringLiteral("Rueckruf.Sekunden")).split(u'|');  // E's answer, F's end
  EXPECT_TRUE(sekunden.size() == 2 && sekunden[0].toDouble() >= 7.9 && sekunden[0].toDouble() < 30 &&
              sekunden[1].toDouble() < sekunden[0].toDouble()) << ausgabe.toStdString();
}

// Host A's template manager stays open while host B opens it on a database of its own; both go,
// the windows close saving, and each database keeps its own values, never the other host's.
TEST_F(BusHost, TemplateManagersOfTwoHostsKeepEachDatabaseItsOwn) {
  beispiel::BeispielHost a(tmp.file(QStringLiteral("a"))), b(tmp.file(QStringLiteral("b")));
  const auto werte = [](const beispiel::BeispielHost& ort) {
    const auto con = std::make_shared<data::Connection>();
    con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    con->Open(QStringLiteral("Data Source=") + data::connectionValue(ort.datenbank()));
    return enginetest::zeilen(*con, QStringLiteral("SELECT Drucker FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormStatus=3 UNION ALL "
                                                  "SELECT ÜberschriftText || '|' || Formatdatei FROM Auftrag_Formular_Neu WHERE FormStatus=3"));
  };
  for (const auto& [ort, name] : {std::pair{&a, "A"}, std::pair{&b, "B"}}) {
    QString fehler;
    ASSERT_TRUE(ort->einrichten(&fehler)) << fehler.toStdString();
    const auto con = GetGlobalConnectList()->SQLGruppe_Connection(4);
    con->Execute(QStringLiteral("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (3, 'Rechnung')"));
    con->Execute(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (FormStatus, FormNummer, RechnerName, VonExemplar, "
                                "BisExemplar, VonSeite, BisSeite, Drucker) VALUES (3, 1, '$GLOBAL$', 1, 99, 1, 99999, 'Drucker-%1')")
                     .arg(QLatin1String(name)));
    con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET ÜberschriftText='Ueberschrift-%1', Formatdatei='%1.lst'").arg(QLatin1String(name)));
  }
  const QStringList vorherA = werte(a), vorherB = werte(b);
  ASSERT_NE(vorherA, vorherB);

  const QString beide = QStringLiteral(
                            "\"$1\" gestaltung '%1' '%2' 3 1 halten > '%3' & a=$!; n=0; "
                            "until grep -q '^offen=' '%3' || [ $n -gt 600 ]; do sleep 0.1; n=$((n+1)); done; "
                            "\"$@\"; s=$?; kill $a; wait $a; p=$(sed -n 's/^EnginePid=//p' '%3'); "
                            "while [ -n \"$p\" ] && [ -e /proc/$p ]; do sleep 0.1; done; sed 's/^/A./' '%3'; exit $s")
                            .arg(a.datenverzeichnis(), a.datenbank(), tmp.file(QStringLiteral("a.out")));
  const auto antworten = host({QStringLiteral("gestaltung"), b.datenverzeichnis(), b.datenbank(), QStringLiteral("3"), QStringLiteral("1")}, beide);
  EXPECT_EQ(antworten.value(QStringLiteral("A.offen")) + antworten.value(QStringLiteral("IsBesetzt")), QStringLiteral("jaTrue"))
      << ausgabe.toStdString();
  EXPECT_EQ(werte(a), vorherA);
  EXPECT_EQ(werte(b), vorherB);
}
