// The documents a host prints with its forms, settings and document tables on the backend (the
// hand-over tables stay in the workstation's file): each is printed once by the example host with
// everything in its file and once with the backend, and both must come out the same.
#include <gtest/gtest.h>

#include "automation/Application.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsMahnungDrucken.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "engine/modSkrivant.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/report/RecordingReportControl.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/Backends.h"
#include "tests/support/DebugLog.h"
#include "tests/support/ErrorOf.h"

using testsupport::Backend;

namespace {

class Belege : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override { SKRIVANT_REQUIRE_DATABASE(db); }
  void TearDown() override { DruckfensterSteuerungVorgeben(nullptr); }

  // What `drucken` gives with the example host on its own file and with the host on the backend
  // (its work folder put as "<Arbeit>"): the same, and on the file every text of `muss`.
  void gleichGedruckt(const std::function<QString(beispiel::BeispielHost&)>& drucken, const QStringList& muss) {
    QString datei;
    for (const bool backend : {false, true}) {
      SCOPED_TRACE(backend ? "backend" : "file");
      const QString ordner = log.dir().file(QStringLiteral("Arbeit%1").arg(backend));
      beispiel::BeispielHost host(ordner, backend ? db.connectionString() : QString());
      QString fehler;
      ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
      host.zeilenSchreiben(beispiel::beispielZeilen());
      const QString text = drucken(host).replace(ordner, QStringLiteral("<Arbeit>"));
      if (backend) EXPECT_EQ(text.toStdString(), datei.toStdString());  // told as a diff of the lines
      datei = text;
      for (const QString& teil : muss) EXPECT_TRUE(text.contains(teil)) << qPrintable(teil) << "\n" << qPrintable(text);
      EXPECT_TRUE(dialogs->shown().isEmpty()) << qPrintable(dialogs->shown().value(0).text);
      SetDatenverzeichnis(QString());
      SetGlobalConnectList(nullptr);
    }
  }
  static std::shared_ptr<data::Connection> formulare() { return GetGlobalConnectList()->SQLGruppe_Connection(4); }
  QString pdf() const { return log.dir().file(QStringLiteral("Beleg.pdf")); }
  QString pdfText() const { return testsupport::pdfSeiten(pdf()).join(QLatin1Char('\f')); }

  testsupport::BackendDatabase db{GetParam()};
  testsupport::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
};

INSTANTIATE_TEST_SUITE_P(Backends, Belege, testsupport::allBackends(), testsupport::backendName);

QDateTime tag(int j, int m, int t) { return QDateTime(QDate(j, m, t), QTime(0, 0)); }

}  // namespace

TEST_P(Belege, SampleInvoice) {
  gleichGedruckt(
      [&](beispiel::BeispielHost& host) {
        QString fehler;
        EXPECT_TRUE(host.pdfDrucken(pdf(), &fehler)) << qPrintable(fehler);
        return pdfText();
      },
      {QStringLiteral("einen Rabatt von 5,0%"), QStringLiteral("zzgl. 19,0% USt.")});
}

TEST_P(Belege, DunningLetterWithTheTextsOfItsLevel) {
  gleichGedruckt(
      [&](beispiel::BeispielHost& host) {
        const short form = host.mahnformularAnlegen();
        auto brief = std::make_shared<clsMahnungDrucken>();
        brief->set_ConnectList(vb::Variant(GetGlobalConnectList()));
        brief->let_Datenverzeichnis(host.datenverzeichnis());
        brief->let_MahnstufenText(QStringLiteral("2"));
        brief->SetDruckerOptionen(beispiel::kFormStatusMahnung, form);
        brief->let_KundenNr(QStringLiteral("K-815"));
        brief->let_Druckdatum(tag(2026, 12, 8));
        brief->let_Anschrift(QStringLiteral("Städtische Bücherei\r\nAm Markt 3\r\n12345 Musterstadt"));
        brief->let_Mahngebuehren(5.0);
        brief->let_DatumZahlziel(tag(2026, 12, 18));
        brief->SetDruckwaehrung(QStringLiteral("EUR"));
        brief->AddRechnung(2, QStringLiteral("R-1001"), tag(2026, 10, 1), tag(2026, 11, 20), 100.0, 20.0, QStringLiteral("Teilzahlung"));
        brief->let_PDFArchivDatei(pdf());
        brief->PDFAusgabeDokument();
        EXPECT_EQ(brief->GetExitCode(), 0);
        return pdfText();
      },
      {QStringLiteral("Zweite Mahnung"), QStringLiteral("Bitte zahlen Sie umgehend."),
       QStringLiteral("Buchhandlung am Markt · Marktplatz 1"), QStringLiteral("80,00 EUR")});
}

TEST_P(Belege, KleinteileQueueWithItsHostTables) {
  gleichGedruckt(
      [&](beispiel::BeispielHost& host) {
        auto ll = std::make_shared<report::RecordingReportControl>();
        DruckfensterSteuerungVorgeben(ll);
        const auto handler = GetGlobalConnectList();
        for (const short gruppe : {short(1), short(2)}) handler->set_SQLGruppe_Connection(gruppe, vb::Variant(formulare()));
        const auto con = formulare();
        con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET MEFont_Name='Arial', MEFont_Size=10 WHERE FormStatus=3"));
        con->Execute(QStringLiteral("INSERT INTO Adressen (Gruppe, Nummer, SuchName, Telefon) VALUES (1, 100, 'Gymnasium', "
                                    "'0123'), (4, 7, 'Weber', NULL)"));
        con->Execute(QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (5, 'Lieferung frei Haus')"));
        // Invoice 11 is queued, offer 12 is not.
        for (const auto& [nummer, art] : {std::pair{11, 3}, std::pair{12, 0}})
          con->Execute(QStringLiteral("INSERT INTO KleinteilKopf (Nummer, Art, Kundennummer, SachbearbeiterNummer, MWSThalb, "
                                      "MWSTvoll, ZahlBedingung, NettoRechnung, RechungsDatum, Inaktiv) "
                                      "VALUES (?, ?, 100, 7, 0.07, 0.19, 'Zahlbar sofort', ?, ?, ?)"),
                       {nummer, art, false, tag(2026, 3, 1), false});
        con->Execute(QStringLiteral("INSERT INTO KleinteilElemente (KopfNummer, LaufendeNummer, Kennziffer, PositionsNummer, "
                                    "Stueck, Bezeichnung, VK1, VK2, MWST, Sachbearbeiter, Kostenstelle, VonPos) VALUES "
                                    "(11, 1, 'P', '1', 2, 'Effi Briest', 10.5, 10.5, 1, '7', 'A', 0), "
                                    "(11, 2, 'TB', '2', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 5)"));
        const auto uebergabe = std::make_shared<data::Connection>();
        uebergabe->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + data::connectionValue(host.datenbank()));
        uebergabe->Execute(QStringLiteral("INSERT INTO KT_DruckTabelle (Nummer, SortID, AuchAlsPDF, AnzahlKopien) VALUES "
                                         "(11, 1, 0, 1)"));

        auto app = std::make_shared<Application>();
        app->set_ConnectList(vb::Variant(handler));
        app->let_Datenverzeichnis(host.datenverzeichnis());
        app->SetDataBaseName(host.datenbank());
        bool vorschau = true;
        app->DruckeKleinteile(vorschau);
        return (ll->calls() + enginetest::zeilen(*uebergabe, QStringLiteral("SELECT Nummer, VorgangGedruckt, RechBetrag, "
                                                                          "MWSTBetrag_voll FROM KT_DruckTabelle ORDER BY SortID")) +
                enginetest::zeilen(*con, QStringLiteral("SELECT Nummer, Inaktiv, Rechnungsbetrag FROM KleinteilKopf "
                                                        "ORDER BY Nummer")))
            .join(QLatin1Char('\n'));
      },
      {QStringLiteral("DefineReportVariable(\"Empfänger.SuchName\", \"Gymnasium\""),
       QStringLiteral("DefineReportField(\"Bezeichnung\", \"Lieferung frei Haus\""),
       QStringLiteral("DefineReportField(\"Bezeichnung\", \"Effi Briest\""), QStringLiteral("ShowPreview("),
       QStringLiteral("11|Falsch|21|3,35\n11|Falsch|21\n12|Falsch|NULL")});
}

TEST_P(Belege, GenericFormTypeDeclaredAndPrinted) {
  const QString datum = GetParam() == Backend::PostgreSql ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
  gleichGedruckt(
      [&](beispiel::BeispielHost& host) {
        const auto con = formulare();
        con->Execute(QStringLiteral("CREATE TABLE LieferKopf (Nummer INTEGER, Kunde VARCHAR(80), Datum %1, Bezahlt BOOLEAN)")
                         .arg(datum));
        con->Execute(QStringLiteral("INSERT INTO LieferKopf VALUES (4711, 'Bücherei Nord', ?, ?)"), {tag(2026, 12, 8), true});
        con->Execute(QStringLiteral("CREATE TABLE LieferPos (Pos INTEGER, Artikel VARCHAR(80), Menge DOUBLE PRECISION)"));
        con->Execute(QStringLiteral("INSERT INTO LieferPos VALUES (1, 'Ringbuch', 2.5), (2, 'Atlas', 1)"));
        const auto satz = [&](const char* sql) {
          auto rs = std::make_shared<data::Recordset>();
          rs->Open(QString::fromUtf8(sql), vb::Variant(con), data::adOpenStatic, data::adLockReadOnly);
          return vb::Variant(rs);
        };
        const char* kopf = "SELECT Nummer, Kunde, Datum, Bezahlt FROM LieferKopf";
        const char* positionen = "SELECT Pos, Artikel, Menge FROM LieferPos ORDER BY Pos";
        auto druck = std::make_shared<clsDruckAllgemein>();
        druck->set_ConnectList(vb::Variant(GetGlobalConnectList()));
        druck->CreateFormularTyp(1001, QStringLiteral("Lieferschein"), QStringLiteral("Lieferscheine"), 2, satz(kopf),
                                 satz(positionen));
        con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei=? WHERE FormStatus=1001"),
                     {host.datenverzeichnis() + QStringLiteral("FORMULAR/Formularliste.lst")});
        druck->SetDruckerOptionen(1001, 1);
        druck->set_KopfDaten(satz(kopf));
        druck->set_DetailDaten(satz(positionen));
        GeladenesDruckfenster()->let_PDFArchivDatei(pdf());
        GeladenesDruckfenster()->StartPrintAllgemein(4);
        EXPECT_EQ(druck->GetExitCode(), 0);
        return pdfText() + QLatin1Char('\f') +
               enginetest::zeilen(*con, QStringLiteral("SELECT Datenbereich, FeldName, DatenTyp, DesignWert FROM "
                                                       "Druck_Formulartypen_Felder ORDER BY Datenbereich, FeldName"))
                   .join(QLatin1Char('\n'));
      },
      {QStringLiteral("Kunde: Bücherei Nord"), QStringLiteral("Datum: 08.12.2026"), QStringLiteral("Artikel: Atlas"),
       QStringLiteral("1|Kunde|268435456|Bücherei Nord")});
}

// The host's forms and settings on a server that restarts between two jobs: the job that meets
// the lost connection fails with one message (its box or its call's error) that tells the
// database's words, never error 91; the next job prints.
TEST_P(Belege, AJobAcrossAServerRestartFailsOnceWithTheDatabasesMessage) {
  if (GetParam() == Backend::Sqlite) GTEST_SKIP() << "an SQLite file has no server connection to lose";
  beispiel::BeispielHost host(log.dir().file(QStringLiteral("Arbeit")), db.connectionString());
  QString fehler;
  ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  host.zeilenSchreiben(beispiel::beispielZeilen());
  const short mahnform = host.mahnformularAnlegen();
  using Ergebnis = std::pair<std::string, int>;  // the call's error and the exit code
  const auto rechnung = [&] {
    const std::string text = testsupport::errorTextOf([&] { host.pdfDrucken(pdf(), &fehler); });
    return Ergebnis(text, text.empty() ? host.fenster().ExitCode() : 1);
  };
  const auto mahnung = [&] {
    auto brief = std::make_shared<clsMahnungDrucken>();
    const std::string text = testsupport::errorTextOf([&] {
      brief->set_ConnectList(vb::Variant(GetGlobalConnectList()));
      brief->let_Datenverzeichnis(host.datenverzeichnis());
      brief->let_MahnstufenText(QStringLiteral("2"));
      brief->SetDruckerOptionen(beispiel::kFormStatusMahnung, mahnform);
      brief->AddRechnung(2, QStringLiteral("R-1001"), tag(2026, 10, 1), tag(2026, 11, 20), 100.0, 20.0, QString());
      brief->let_PDFArchivDatei(pdf());
      brief->PDFAusgabeDokument();
    });
    return Ergebnis(text, text.empty() ? brief->GetExitCode() : 1);
  };
  for (const auto& [name, job] : {std::pair{"invoice", std::function<Ergebnis()>(rechnung)},
                                  std::pair{"dunning letter", std::function<Ergebnis()>(mahnung)}}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(job(), Ergebnis("", 0));
    ASSERT_TRUE(db.breakConnections()) << db.failure();
    const qsizetype vorher = dialogs->messageBoxes().size();
    const auto [text, exitCode] = job();
    EXPECT_EQ(exitCode, 1);
    const QList<ui::ShownDialog> boxen = dialogs->messageBoxes().mid(vorher);
    EXPECT_EQ(boxen.size() + (text.empty() ? 0 : 1), 1);
    const std::string meldung = text.empty() && !boxen.isEmpty() ? boxen.front().text.toStdString() : text;
    EXPECT_TRUE(testsupport::tellsLostConnection(GetParam(), meldung)) << meldung;
    EXPECT_EQ(job(), Ergebnis("", 0));
  }
  SetDatenverzeichnis(QString());
  SetGlobalConnectList(nullptr);
}
