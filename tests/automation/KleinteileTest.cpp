// DruckeKleinteile on a host database made from schema/, with the example host's forms and
// templates: a queue printed through a private cupsd with PDF copies, the cancel and the failed
// print that leave the queue as it was, and single documents in the preview whose rows and
// closing lines are read back.
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <tuple>
#include <memory>
#include <optional>

#include "automation/Application.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "engine/modSkrivant.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/CupsDruckweg.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"

using automation::CallKind;
using namespace automationtest;
using testsupport::PrivateCupsd;

namespace {

const QString kQueue = QStringLiteral("Laser");
const QString kWahr = vb::CStr(vb::Variant(true));
const QString kFalsch = vb::CStr(vb::Variant(false));

class KleinteileTest : public AutomationFixture {
 protected:
  void SetUp() override {
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
    handler = std::make_shared<clsConnectionHandler>();
    for (const short gruppe : {short(1), short(2), short(4), short(6)}) {
      handler->let_SQLGruppe_DB_Provider(gruppe, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
      handler->let_SQLGruppe_DB_Properties(gruppe, QStringLiteral("Jet OLEDB:System database"),
                                           host.datenverzeichnis() + QStringLiteral("SYSTEM.MDW"));
      handler->let_SQLGruppe_DB_OpenConnection(gruppe, QStringLiteral("Data Source=") + data::connectionValue(host.datenbank()));
    }
    for (const short art : {short(0), short(2), short(8), short(12)}) {
      short nummer = 0;
      CreateFormular(art, nummer, std::int16_t(2));
      sql(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei='$Daten$FORMULAR\\Rechnung.lst', AnzahlKopien=1, "
                         "MEFont_Name='Arial', MEFont_Size=10, MEFont_Bold=0, MEFont_Italic=0, MEFont_Underline=0, "
                         "MEFont_Strikethrough=0 WHERE FormStatus=%1")
              .arg(art));
    }
    sql("INSERT INTO Adressen (Gruppe, Nummer, SuchName, Telefon) VALUES (1, 100, 'Gymnasium', '0123'), "
        "(4, 7, 'Weber', NULL), (4, 8, 'Albers', NULL)");
    sql("INSERT INTO Artikel (Artikelident, Autor, ISBN_Text) VALUES (1, 'Fontane', '978-3-15-000001-2')");
    sql("INSERT INTO TextBausteine (Nummer, Text) VALUES (5, 'Lieferung frei Haus')");
    sql("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('MWST_voll', '19')");
  }
  void TearDown() override {
    beobachter.reset();
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }

  void sql(const QString& s) const { handler->SQLGruppe_Connection(2)->Execute(s); }
  void sql(const char* s) const { sql(QString::fromUtf8(s)); }
  // Every row of `abfrage`, each value as text ("" for Null).
  QList<QStringList> zeilen(const QString& abfrage) const {
    data::Recordset rs;
    rs.Open(abfrage, vb::Variant(handler->SQLGruppe_Connection(2)));
    QList<QStringList> ergebnis;
    for (; !rs.Eof(); rs.MoveNext()) {
      QStringList z;
      for (int i = 0; i < rs.Fields()->Count(); ++i) {
        const vb::Variant v = rs.Fields(i)->Value();
        z << (v.isNull() ? QString() : vb::CStr(v));
      }
      ergebnis << z;
    }
    return ergebnis;
  }

  // A head of kind `art` (gross, not tax-exempt, clerk 7, half rate 7 %, no full rate of its own).
  void kopf(int nummer, int art, const QString& spalten = {}, const QString& werte = {}) const {
    sql(QStringLiteral("INSERT INTO KleinteilKopf (Nummer, Art, Kundennummer, Name1, SachbearbeiterNummer, MWSThalb, "
                       "MWSTvoll, ZahlBedingung%1) VALUES (%2, %3, 100, 'Gymnasium', 7, 0.07, 0, 'Zahlbar sofort'%4)")
            .arg(spalten.isEmpty() ? QString() : QStringLiteral(", ") + spalten)
            .arg(nummer)
            .arg(art)
            .arg(werte.isEmpty() ? QString() : QStringLiteral(", ") + werte));
  }
  void position(int kopfNr, int lfd, const QString& bezeichnung, double vk1, int mwst = 1, const QString& sb = "7",
                const QString& kst = "A") const {
    sql(QStringLiteral("INSERT INTO KleinteilElemente (KopfNummer, LaufendeNummer, ArtikelNummer, Kennziffer, "
                       "PositionsNummer, Stueck, Bezeichnung, VK1, VK2, MWST, Sachbearbeiter, Kostenstelle) "
                       "VALUES (%1, %2, 1, 'P', '%2', 1, '%3', %4, %4, %5, '%6', '%7')")
            .arg(kopfNr)
            .arg(lfd)
            .arg(bezeichnung)
            .arg(vk1)
            .arg(mwst)
            .arg(sb, kst));
  }
  void steuerzeile(int kopfNr, int lfd, const QString& kennziffer, int vonPos = 0) const {
    sql(QStringLiteral("INSERT INTO KleinteilElemente (KopfNummer, LaufendeNummer, PositionsNummer, Kennziffer, VonPos) "
                       "VALUES (%1, %2, '%2', '%3', %4)")
            .arg(kopfNr)
            .arg(lfd)
            .arg(kennziffer)
            .arg(vonPos));
  }
  void einreihen(int nummer, int sortId, bool pdf) const {
    sql(QStringLiteral("INSERT INTO KT_DruckTabelle (Nummer, SortID, AuchAlsPDF, AnzahlKopien) VALUES (%1, %2, %3, 0)")
            .arg(nummer)
            .arg(sortId)
            .arg(pdf ? -1 : 0));
  }
  // What a later run must find again: the queue and the heads' state.
  QList<QStringList> stand() const {
    return zeilen(QStringLiteral("SELECT Nummer, VorgangGedruckt, PDFdatei, RechBetrag FROM KT_DruckTabelle ORDER BY "
                                 "SortID")) +
           zeilen(QStringLiteral("SELECT Nummer, Inaktiv, Rechnungsbetrag FROM KleinteilKopf ORDER BY Nummer"));
  }

  std::shared_ptr<Application> anwendung() const {
    auto app = std::make_shared<Application>();
    rufe(*app, "ConnectList", {vb::Variant(handler)}, CallKind::Set);
    rufe(*app, "Datenverzeichnis", {host.datenverzeichnis()}, CallKind::Let);
    EXPECT_TRUE(vb::CBool(rufe(*app, "SetDataBaseName", {host.datenbank()})));
    return app;
  }
  static void drucke(Application& app, bool vorschau) {
    QList<vb::Variant> args{vb::Variant(vorschau)};
    EXPECT_TRUE(automation::callByName(app, QStringLiteral("DruckeKleinteile"), CallKind::Method, args).isEmpty());
  }
  // The preview of the last document: print options accepted, the preview closed.
  void vorschauBeantworten() {
    dialogs->answerWindow([](QDialog& d) {
      d.accept();
      return int(QDialog::Accepted);
    });
    dialogs->answerWindow([](QDialog&) { return int(QDialog::Rejected); });
  }

  // Notes every text the progress window shows while the batch lets events run, and runs
  // `beiText` on each new one.
  void fortschrittBeobachten(std::function<void(const QString&)> beiText = {}) {
    beobachter = std::make_unique<QObject>();
    beobachtung = [this, beiText] {
      if (frmInfoFenster* f = infoFenster()) {
        const QString t = f->findChild<QLabel*>(QStringLiteral("strInfo"))->text();
        if (fortschritt.value(fortschritt.size() - 1) != t) {
          fortschritt << t;
          if (beiText) beiText(t);
        }
      }
      QMetaObject::invokeMethod(beobachter.get(), [this] { beobachtung(); }, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(beobachter.get(), [this] { beobachtung(); }, Qt::QueuedConnection);
  }

  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
  std::shared_ptr<clsConnectionHandler> handler;
  std::unique_ptr<QObject> beobachter;
  std::function<void()> beobachtung;
  QStringList fortschritt;
};

class KleinteileCupsTest : public KleinteileTest {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
    cupsd = std::make_unique<PrivateCupsd>();
    ASSERT_TRUE(cupsd->start()) << cupsd->failure();
    ASSERT_TRUE(cupsd->addPclQueue(kQueue)) << cupsd->failure();
    ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), kQueue})) << cupsd->failure();
    druckweg.emplace();
    KleinteileTest::SetUp();
  }
  void TearDown() override {
    KleinteileTest::TearDown();
    druckweg.reset();
  }
  // The text of every job the queue holds, in job order (the spool keeps the PDF we sent).
  QStringList gespoolt() const {
    QDir spool(cupsd->folder() + QStringLiteral("/spool"));
    QStringList texte;
    for (const QString& d : spool.entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name))
      texte << testsupport::pdfSeiten(spool.filePath(d)).join(QLatin1Char('\f'));
    return texte;
  }

  std::unique_ptr<PrivateCupsd> cupsd;
  std::optional<testsupport::CupsDruckweg> druckweg;
};

TEST_F(KleinteileCupsTest, QueueOfThreeIsPrintedWithPdfCopiesAndMarkedPrinted) {
  kopf(11, 0, "NettoRechnung, RechungsDatum", "-1, '2026-03-01 00:00:00'");
  position(11, 1, "Effi Briest", 10.00);
  kopf(12, 2);
  position(12, 1, "Der Stechlin", 20.00, 2);
  kopf(13, 8);
  position(13, 1, "Irrungen Wirrungen", 30.00);
  // Printed in SortID order; a Null Nummer counts as a row of the queue, a document without its
  // head is told and left out.
  einreihen(13, 30, true);
  einreihen(11, 10, true);
  einreihen(12, 20, false);
  einreihen(99, 15, false);
  sql("INSERT INTO KT_DruckTabelle (Nummer, SortID) VALUES (NULL, 0)");

  auto app = anwendung();
  fortschrittBeobachten();
  drucke(*app, false);

  EXPECT_EQ(fortschritt, QStringList({"Drucke Vorgang 11", "Drucke Vorgang 12"}));
  const QStringList jobs = gespoolt();
  ASSERT_EQ(jobs.size(), 3);
  const QStringList positionen = {"Effi Briest", "Der Stechlin", "Irrungen Wirrungen"};
  for (int j = 0; j < 3; ++j)
    for (int p = 0; p < 3; ++p) EXPECT_EQ(jobs[j].contains(positionen[p]), p == j) << j << " " << p;
  const auto fertig = cupsd->takeJobs(kQueue);
  ASSERT_TRUE(fertig) << cupsd->failure();
  EXPECT_EQ(fertig->size(), 3);

  // The rows without a Nummer or a head are told and stay as they were; the others are printed.
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 2);
  EXPECT_FALSE(boxen[0].text.isEmpty());
  EXPECT_EQ(boxen[1].text, QStringLiteral("Kopfdaten für Vorgang 99 nicht gefunden!"));
  const QString ablage = host.datenverzeichnis() + QStringLiteral("RechAusgang/");
  auto s = stand();
  ASSERT_EQ(s.size(), 8);
  EXPECT_EQ(s[0].mid(0, 3), QStringList({"", "", ""}));
  EXPECT_EQ(s[2].mid(0, 3), QStringList({"99", "", ""}));
  s.removeAt(2);
  EXPECT_EQ(s[1].mid(0, 3), QStringList({"11", kWahr, ablage + "11.PDF"}));
  EXPECT_EQ(s[2].mid(0, 3), QStringList({"12", kWahr, ""}));
  EXPECT_EQ(s[3].mid(0, 3), QStringList({"13", kWahr, ablage + "13.PDF"}));
  for (int k = 4; k < 7; ++k) EXPECT_EQ(s[k][1], kWahr) << k;
  // Net offer: 10.00 plus 19 % (the settings' full rate, the head has none); credit note gross.
  EXPECT_DOUBLE_EQ(vb::CDbl(vb::Variant(s[1][3])), 11.9);
  EXPECT_DOUBLE_EQ(vb::CDbl(vb::Variant(s[3][3])), 30.0);
  EXPECT_EQ(s[6][2], s[3][3]);
  EXPECT_EQ(s[5][2], QString());  // a delivery note writes LieferscheinBetrag

  // The copies are of their own documents, made before the batch took them.
  const QString angebot = testsupport::pdfSeiten(ablage + "11.PDF").join('\f');
  EXPECT_TRUE(angebot.contains("Effi Briest")) << qPrintable(angebot);
  EXPECT_TRUE(angebot.contains("01.03.2026"));  // a print variable of the head
  EXPECT_TRUE(angebot.contains("Angebotsbetrag"));
  EXPECT_TRUE(angebot.contains("Nettobetrag der Rechnung"));
  const QString gutschrift = testsupport::pdfSeiten(ablage + "13.PDF").join('\f');
  EXPECT_TRUE(gutschrift.contains("Irrungen Wirrungen"));
  EXPECT_TRUE(gutschrift.contains("Gutschriftbetrag"));
  EXPECT_FALSE(QFileInfo::exists(ablage + "12.PDF"));
}

TEST_F(KleinteileCupsTest, CancelAndFailedPrintLeaveTheQueueAsItWas) {
  for (int n = 1; n <= 5; ++n) {
    kopf(n, 2);
    position(n, 1, QStringLiteral("Titel %1").arg(n), 5.0 * n);
    einreihen(n, n, false);
  }
  sql("UPDATE KT_DruckTabelle SET AuchAlsPDF = -1 WHERE Nummer = 1");
  const QString ablage = temp.file(QStringLiteral("Ablage")) + QLatin1Char('/');
  ASSERT_TRUE(QDir().mkpath(ablage));
  for (const char* fremd : {"fremd.LOG", "alt.TMP"}) temp.write(QStringLiteral("Ablage/") + fremd, "nicht unseres");
  sql(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('SKRV_PDFAblage', '%1')").arg(ablage));
  const auto vorher = stand();

  // The user cancels in the progress window while document 2 goes into the batch.
  auto app = anwendung();
  dialogs->answerMsgBox(ui::vbYes);
  fortschrittBeobachten([](const QString& t) {
    if (t == QLatin1String("Drucke Vorgang 2")) infoFenster()->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
  });
  drucke(*app, false);
  EXPECT_EQ(fortschritt, QStringList({"Drucke Vorgang 1", "Drucke Vorgang 2"}));
  EXPECT_EQ(stand(), vorher);
  EXPECT_TRUE(gespoolt().isEmpty());
  // The batched document's copy was made before the batch took it; files of others stay.
  EXPECT_TRUE(testsupport::pdfSeiten(ablage + "1.PDF").join('\f').contains("Titel 1"));
  EXPECT_EQ(QDir(ablage).entryList(QDir::Files), QStringList({"1.PDF", "alt.TMP", "fremd.LOG"}));
  // Document 1 stays queued, so the window's next job must not print it from the batch.
  EXPECT_EQ(GeladenesDruckfenster()->StapelAnzahl, 0);

  // The printer is gone: the job fails, is told, and nothing is marked.
  auto zweite = anwendung();
  ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), kQueue})) << cupsd->failure();
  const auto boxenVorher = dialogs->messageBoxes().size();
  drucke(*zweite, false);
  EXPECT_GT(dialogs->messageBoxes().size(), boxenVorher);
  EXPECT_EQ(vb::CLng(rufe(*zweite, "GetExitCode")), 1);
  EXPECT_EQ(stand(), vorher);
}

// The last queue row has no head, then no Nummer.
TEST_F(KleinteileCupsTest, TheBatchComesOutWithTheHostsSettingsAlsoWhenTheLastRowCannotBeMade) {
  sql("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('SKRV_NettoBetragInfoText', 'Netto laut Haus: [RechNettoBetrag]')");
  for (const int n : {1, 2}) {
    kopf(n, 8);
    position(n, 1, QStringLiteral("Titel %1").arg(n), 11.90 * n);
    einreihen(n, n, false);
  }
  einreihen(99, 99, false);
  auto app = anwendung();
  for (const char* letzte : {"99", "NULL"}) {
    SCOPED_TRACE(letzte);
    sql(QStringLiteral("UPDATE KT_DruckTabelle SET Nummer = %1 WHERE SortID = 99").arg(QLatin1String(letzte)));
    sql("UPDATE KT_DruckTabelle SET VorgangGedruckt = NULL");
    const auto boxen = dialogs->messageBoxes().size();
    drucke(*app, false);
    EXPECT_EQ(dialogs->messageBoxes().size(), boxen + 1);
    const QStringList jobs = gespoolt().mid(letzte[0] == 'N' ? 2 : 0);
    ASSERT_EQ(jobs.size(), 2);
    for (const QString& job : jobs) EXPECT_TRUE(job.contains(QStringLiteral("Netto laut Haus"))) << qPrintable(job);
    EXPECT_EQ(zeilen("SELECT VorgangGedruckt FROM KT_DruckTabelle ORDER BY SortID"),
              QList<QStringList>({{kWahr}, {kWahr}, {""}}));
  }
}

TEST_F(KleinteileTest, ClosingLinesAndPaymentTextOfEachKind) {
  const QString steuerfrei = QStringLiteral(
      "Umsatzsteuerfreie EG-Lieferung gem §6a i.V.m. §4 Nr. 1b UStG. Steuerschuldnerschaft des Leistungsempfängers.");
  using Zeile = std::tuple<QString, QString, bool>;
  struct Fall {
    const char* name;
    int art;
    QString spalten, werte;
    bool befreit;
    QList<Zeile> abschluss;
    QString zahltext;
  };
  const QString mwst = QStringLiteral("zuzüglich Mehrwertsteuer [MWSTSatz] aus [Betrag]");
  const QString enthalten = QStringLiteral("enthaltene MWSt ([MWSTSatz]) aus [Betrag]");
  const QList<Fall> faelle = {
      {"Angebot netto", 0, "NettoRechnung", "-1", false,
       {{"Zwischensumme", "Nettobetrag der Rechnung", true}, {"MWST", mwst, true}, {"Brutto", "Angebotsbetrag", true},
        {"LinieDoppelt", "", false}},
       "Zahlbar sofort"},
      {"Gutschrift brutto", 8, "", "", false,
       {{"Zwischensumme", "Gutschriftbetrag", true}, {"LinieDoppelt", "", false}, {"EnthalteneMWST", enthalten, false}},
       "Zahlbar sofort"},
      {"Gutschrift netto steuerfrei", 8, "NettoRechnung, EuroRechnung", "-1, -1", true,
       {{"Brutto", "Gutschriftbetrag", true}, {"LinieDoppelt", "", false}},
       "Zahlbar sofort\r" + steuerfrei},
      {"Rechnung brutto mit Rabatt, Organschaft", 3, "Organschaft, GesamtRabatt, Rabatt", "-1, -1, 5", true,
       {{"Zwischensumme", "Rechnungsbetrag", true}, {"Gesamtrabatt", "[Gesamtrabatt] Rabatt", false},
        {"Zwischensumme", "Rechnungsbetrag", true}, {"LinieDoppelt", "", false}},
       "Zahlbar sofort\r"},
  };
  auto app = anwendung();
  frmDrucken& fenster = *DruckfensterLaden();
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    sql("DELETE FROM KT_DruckTabelle");
    sql("DELETE FROM KleinteilKopf");
    sql("DELETE FROM KleinteilElemente");
    kopf(1, fall.art, fall.spalten, fall.werte);
    position(1, 1, "Effi Briest", 10.0);
    einreihen(1, 1, true);
    vorschauBeantworten();
    drucke(*app, true);
    EXPECT_EQ(dialogs->pendingAnswers(), 0);
    QList<Zeile> abschluss;
    for (const auto& z : fenster.Abschluss) abschluss << Zeile{z.Key, z.Bezeichnung, z.LinieEinfach};
    EXPECT_EQ(abschluss, fall.abschluss);
    // SetZahlText keeps a line break as CR.
    EXPECT_EQ(fenster.ZahlText(), fall.zahltext);
    EXPECT_EQ(fenster.Steuerbefreit(), fall.befreit);
    // A preview marks nothing printed, and makes no PDF.
    EXPECT_EQ(stand().value(0), QStringList({"1", kFalsch, "", stand().value(0).value(3)}));
    EXPECT_EQ(stand().value(1).value(1), kFalsch);
  }
}

// The second document's rows, read back from the hand-over table: a remission ordered by the
// host's own column "SortRemDruck" names, tax-exempt with gross prices, its groups started afresh.
TEST_F(KleinteileTest, ElementRowsOfARemissionInThePreview) {
  kopf(1, 2);
  position(1, 1, "Vorher", 1.0, 1, "", "A");
  kopf(2, 12, "EuroRechnung", "-1");
  position(2, 1, "Zeta", 10.70, 2);
  steuerzeile(2, 2, "lz");
  steuerzeile(2, 3, "TB", 5);
  steuerzeile(2, 4, "TB", 99);
  position(2, 5, "Alpha", 10.70, 3);
  position(2, 6, "Beta", 10.70, 0, "8");
  position(2, 7, "Gamma", 11.90, 1, "");
  einreihen(1, 1, false);
  einreihen(2, 2, false);
  sql("ALTER TABLE KleinteilElemente ADD COLUMN Lagerplatz TEXT");
  sql("UPDATE KleinteilElemente SET Lagerplatz = 'R' || (10 - LaufendeNummer)");
  sql("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('SortRemDruck', 'lagerplatz')");

  auto app = anwendung();
  vorschauBeantworten();
  drucke(*app, true);
  const QList<QStringList> erwartet = {
      {"{FBGruppenkopf}", "", "", "A", "", ""}, {"", "Gamma", "", "A", "19", "1000"},
      {"{FBGruppenkopf}", "", "Albers", "A", "", ""}, {"", "Beta", "Albers", "A", "7", "1000"},
      {"{FBGruppenkopf}", "", "Weber", "A", "", ""}, {"", "Alpha", "Weber", "A", "0", "1070"},
      {"{TB}", "", "", "", "", ""}, {"{TB}", "Lieferung frei Haus", "", "", "", ""},
      {"{Leerzeile}", "", "", "", "", ""}, {"", "Zeta", "Weber", "A", "7", "1000"}};
  const QString abfrage = QStringLiteral(
      "SELECT ControlString, Bezeichnung, Sachbearbeiter, Kostenstelle, CAST(ROUND(MwStSatz * 100) AS INTEGER), "
      "CAST(ROUND(EP * 100) AS INTEGER) FROM PrintInputTabelle ORDER BY LongKey");
  EXPECT_EQ(zeilen(abfrage), erwartet);
  EXPECT_EQ(zeilen("SELECT DISTINCT EAN, Autor FROM PrintInputTabelle WHERE Bezeichnung = 'Gamma'"),
            QList<QStringList>({{"978-3-15-000001-2", "Fontane"}}));
  // What is written as empty text is text, not Null.
  EXPECT_EQ(zeilen("SELECT COUNT(*) FROM PrintInputTabelle WHERE ControlString IS NULL OR (ControlString IN ('', "
                   "'{FBGruppenkopf}') AND (Sachbearbeiter IS NULL OR Kostenstelle IS NULL OR KST_Ansprechpartner IS "
                   "NULL)) OR (ControlString = '' AND (Matchcode IS NULL OR EAN IS NULL OR Autor IS NULL))"),
            QList<QStringList>({{"0"}}));
  // A text block that does not exist is no failure.
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);

  // A setting that is no column of the table orders by position and runs nothing of its own.
  sql("UPDATE Vorgaben SET Wert = 'LaufendeNummer; DROP TABLE Artikel' WHERE FeldName = 'SortRemDruck'");
  sql("DELETE FROM KT_DruckTabelle WHERE Nummer = 1");
  vorschauBeantworten();
  drucke(*app, true);
  const auto reihe = zeilen("SELECT Bezeichnung FROM PrintInputTabelle WHERE IFNULL(ControlString, '') = '' ORDER BY LongKey");
  EXPECT_EQ(reihe, QList<QStringList>({{"Zeta"}, {"Alpha"}, {"Beta"}, {"Gamma"}}));
  EXPECT_EQ(zeilen("SELECT COUNT(*) FROM Artikel"), QList<QStringList>({{"1"}}));
}

// The previous document's rows cannot be cleared: the document is told and left out, so they
// are not printed again as part of it; the document batched before it comes out alone.
TEST_F(KleinteileTest, RowsThatCannotBeClearedAreNotPrintedAgain) {
  kopf(1, 2);
  position(1, 1, "Vorher", 1.0);
  kopf(2, 2);
  position(2, 1, "Nachher", 2.0);
  einreihen(1, 1, false);
  einreihen(2, 2, false);
  sql("CREATE TRIGGER Gesperrt BEFORE DELETE ON PrintInputTabelle WHEN OLD.Bezeichnung = 'Vorher' "
      "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
  const auto vorher = stand();

  auto app = anwendung();
  dialogs->answerWindow([](QDialog&) { return int(QDialog::Rejected); });
  drucke(*app, true);
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 1);
  EXPECT_TRUE(boxen[0].text.contains(QStringLiteral("gesperrt"))) << qPrintable(boxen[0].text);
  // The batched document 1 still comes out, alone, and is written back as previewed.
  EXPECT_EQ(dialogs->shown().last().kind, QStringLiteral("preview"));
  EXPECT_EQ(stand(), QList<QStringList>({{"1", kFalsch, "", "1"}, vorher[1], {"1", kFalsch, ""}, vorher[3]}));
  // The progress window went with the batch: its button would stop the object's next run.
  ASSERT_EQ(infoFenster(), nullptr) << "the progress window outlived its batch";
  sql("DROP TRIGGER Gesperrt");
  vorschauBeantworten();
  drucke(*app, true);
  EXPECT_EQ(stand().value(1), QStringList({"2", kFalsch, "", "2"}));
}

}  // namespace
