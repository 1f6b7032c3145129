// The document print on the recording report control, with real SQLite files: the hand-over
// database next to its SYSTEM.MDW, and the form and settings database of the host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <functional>
#include <stdexcept>

#include "engine/clsDruckerSchacht.h"
#include "engine/modFormate.h"
#include "platform/automation/LateBinding.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/printing/CurrentPrinter.h"
#include "platform/printing/PrintDocument.h"
#include "platform/printing/RecordingPrintDocument.h"
#include "platform/report/PrintBox.h"
#include "platform/report/ReportControl.h"
#include "platform/report/StorageFile.h"
#include "schema/HostSchema.h"
#include "tests/engine/DruckausgabeSupport.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

constexpr short kStatus = 1;
const QString kKeineDaten = QStringLiteral("Keine Druckdaten vorhanden!");

// The recording control, with a hook that runs before some of its operations (it may look at the
// window or throw, as a broken back end would).
class PruefSteuerung : public report::RecordingReportControl {
 public:
  std::function<void(const QString&)> vorAufruf;

  int StartPrintJob(int projectType, QString& file, int flags) override {
    hook(QStringLiteral("StartPrintJob"));
    return RecordingReportControl::StartPrintJob(projectType, file, flags);
  }
  int PrintFields() override {
    hook(QStringLiteral("PrintFields"));
    return RecordingReportControl::PrintFields();
  }
  int EndPrint(int flags) override {
    hook(QStringLiteral("EndPrint"));
    return RecordingReportControl::EndPrint(flags);
  }

 private:
  void hook(const QString& op) {
    if (vorAufruf) vorAufruf(op);
  }
};

// The contents every definition of `name` gave, in order ("DefineReportField" or "...Variable").
QStringList werte(const QStringList& calls, const QString& op, const QString& name) {
  const QRegularExpression re(QStringLiteral("^%1\\(\"%2\", \"(.*)\", 0x[0-9A-F]+\\)$")
                                  .arg(op, QRegularExpression::escape(name)));
  QStringList out;
  for (const QString& c : calls) {
    const auto m = re.match(c);
    if (m.hasMatch()) out << m.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""));
  }
  return out;
}

// The distinct values of a list, in the order first seen.
QStringList verschiedene(QStringList liste) {
  liste.removeDuplicates();
  return liste;
}

class frmDruckenDokumentdruck : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    ll = steuerung;
    DruckFensterFixture::SetUp();
    printing::setPrintDocument(druck);
    printing::setCurrentPrinter(QString());

    vorlage = temp.write(QStringLiteral("Rechnung.lst"), "{}");
    db.addForm(kStatus, 1, QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien"), QStringLiteral("2, '%1', 1").arg(vorlage));
    einstellungen = oeffnen(db.dir().file(QStringLiteral("Formulare.mdb")));
    GetGlobalConnectList()->set_SQLGruppe_Connection(6, vb::Variant(einstellungen));

    uebergabe = temp.file(QStringLiteral("Uebergabe.mdb"));
    QString fehler;
    ASSERT_TRUE(schema::createHostDatabase(uebergabe, &fehler)) << fehler.toStdString();
    temp.write(QStringLiteral("SYSTEM.MDW"), "");
    hand = oeffnen(uebergabe);
    vorbereiten(*fenster);
  }

  void TearDown() override {
    DruckFensterFixture::TearDown();
    printing::setPrintDocument(nullptr);
    SetBetraegeFormat(QString());
  }

  static std::shared_ptr<data::Connection> oeffnen(const QString& datei) {
    auto con = std::make_shared<data::Connection>();
    con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    con->Open(QStringLiteral("Data Source=") + data::connectionValue(datei));
    return con;
  }

  // What a host does before it prints: form, hand-over file, fresh caller variables.
  void vorbereiten(frmDrucken& f) const {
    f.SetDruckerOptionen(kStatus, 1);
    f.let_Uebergabedatei(uebergabe);
    f.Init();
    f.let_PDFArchivDatei(temp.file(QStringLiteral("Archiv.pdf")));
  }

  // A job writes a setting it does not find with its default, so a setting replaces its rows.
  void einstellung(const QString& name, const QString& wert) const {
    db.exec(QStringLiteral("DELETE FROM Vorgaben WHERE FeldName = '%1'").arg(name));
    db.exec(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('%1', '%2')").arg(name, wert));
  }

  // A position row of the hand-over table.
  void position(const QString& nr, double menge, double ep, int mwstArt = 1) const {
    hand->Execute(QStringLiteral("INSERT INTO PrintInputTabelle (Feld1, Bezeichnung, Menge, EP, MWSTArt, RabattFähig) "
                                 "VALUES ('%1', 'Artikel %1', %2, %3, %4, 0)")
                      .arg(nr)
                      .arg(menge)
                      .arg(ep)
                      .arg(mwstArt));
  }

  QStringList calls() const { return ll->calls(); }
  QStringList felder(const QString& name) const { return werte(calls(), QStringLiteral("DefineReportField"), name); }
  QStringList variablen(const QString& name) const {
    return werte(calls(), QStringLiteral("DefineReportVariable"), name);
  }
  // The positions printed, in order (the empty row set defines the field empty).
  QStringList positionen() const {
    QStringList out = felder(QStringLiteral("Position"));
    out.removeAll(QString());
    return out;
  }
  QStringList meldungen() const {
    QStringList out;
    for (const auto& m : dialogs->messageBoxes()) out << m.text;
    return out;
  }

  std::shared_ptr<PruefSteuerung> steuerung = std::make_shared<PruefSteuerung>();
  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase db;
  std::shared_ptr<printing::RecordingPrintDocument> druck = std::make_shared<printing::RecordingPrintDocument>();
  std::shared_ptr<data::Connection> einstellungen;
  std::shared_ptr<data::Connection> hand;
  QString vorlage;
  QString uebergabe;
};

// ---- mode check ----

TEST_F(frmDruckenDokumentdruck, InvalidModesShowTheMessageAndChangeNothing) {
  position(QStringLiteral("01"), 1, 1);
  for (short modus : {0, 5, -1}) {
    ll->clearCalls();
    fenster->StartPrint(modus);
    EXPECT_FALSE(fenster->Running()) << modus;
    EXPECT_EQ(fenster->AktAusgabeModus, 0) << modus;
    EXPECT_TRUE(calls().isEmpty()) << modus;
  }
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 3);
  for (const auto& b : boxen) {
    EXPECT_EQ(b.text, QStringLiteral("Ungültiger Aufruf von StartPrint. 'AusgabeModus' enthält ungültigen Wert"));
    EXPECT_EQ(b.style, ui::vbOKOnly);
  }
}

TEST_F(frmDruckenDokumentdruck, AnInvalidModeDuringAJobLeavesItRunning) {
  position(QStringLiteral("01"), 1, 1);
  QList<bool> laufend;
  steuerung->vorAufruf = [&](const QString& op) {
    if (op != QLatin1String("EndPrint") || !laufend.isEmpty()) return;
    fenster->StartPrint(0);
    laufend << fenster->Running();
  };
  fenster->StartPrint(2);
  EXPECT_EQ(laufend, QList<bool>{true});
  EXPECT_EQ(fenster->AktAusgabeModus, 2);
  EXPECT_EQ(meldungen(),
            QStringList({QStringLiteral("Ungültiger Aufruf von StartPrint. 'AusgabeModus' enthält ungültigen Wert")}));
  EXPECT_FALSE(fenster->Running());
}

// ---- the job's frame ----

TEST_F(frmDruckenDokumentdruck, RunningIsTrueWhileTheJobRunsAndFalseAfterIt) {
  position(QStringLiteral("01"), 1, 1);
  QList<bool> laufend;
  steuerung->vorAufruf = [&](const QString& op) {
    if (op == QLatin1String("EndPrint")) laufend << fenster->Running();
  };
  fenster->StartPrint(2);
  EXPECT_EQ(laufend, (QList<bool>{true, true}));
  EXPECT_FALSE(fenster->Running());
  EXPECT_EQ(fenster->AktAusgabeModus, 2);
  EXPECT_FALSE(fenster->ExitCode());
}

TEST_F(frmDruckenDokumentdruck, EveryExemplarHasACountingPassIntoStorageAndARealPass) {
  position(QStringLiteral("01"), 1, 1);
  fenster->StartPrint(1);
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")),
            QStringList({QStringLiteral("StartPrintJob(2, \"%1\", 0x200)").arg(vorlage)}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJobWithBox")).size(), 1);
  EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 2);
  EXPECT_EQ(ll->callsOf(QStringLiteral("ShowPreview")).size(), 1);
  EXPECT_EQ(ll->callsOf(QStringLiteral("SetOptionString")).first(),
            QStringLiteral("SetOptionString(3, \"%1\")").arg(fenster->ApplicationTitel()));
}

TEST_F(frmDruckenDokumentdruck, ThePageCountOfTheFirstPassIsPrintedInTheSecond) {
  position(QStringLiteral("01"), 1, 1);
  steuerung->setStatus(QStringLiteral("StoragePageCount"), 2);
  fenster->StartPrint(4);
  const QStringList seiten = variablen(QStringLiteral("AnzahlSeiten"));
  ASSERT_EQ(seiten.size(), 4);  // before and after each print start
  EXPECT_EQ(seiten, QStringList({QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("2")}));
  EXPECT_EQ(fenster->Seitenzahl, 2);
}

TEST_F(frmDruckenDokumentdruck, AFormWithoutTemplateFileLetsTheUserPickOne) {
  db.exec(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei = ''"));
  vorbereiten(*fenster);
  const QString gewaehlt = temp.write(QStringLiteral("Gewaehlt.lst"), "{}");
  ll->setSelectedFile(gewaehlt);
  position(QStringLiteral("01"), 1, 1);
  fenster->StartPrint(2);
  EXPECT_EQ(ll->callsOf(QStringLiteral("SelectFileDialog")), QStringList({QStringLiteral("SelectFileDialog(0, 2, \"\")")}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).first(),
            QStringLiteral("StartPrintJob(2, \"%1\", 0x200)").arg(gewaehlt));
}

TEST_F(frmDruckenDokumentdruck, FoldMarksFollowTheSetting) {
  position(QStringLiteral("01"), 1, 1);
  fenster->StartPrint(4);
  EXPECT_EQ(variablen(QStringLiteral("Falzstrich")).first(), QStringLiteral("0"));
  einstellung(QStringLiteral("Falzstriche"), QStringLiteral("1"));
  ll->clearCalls();
  fenster->StartPrint(4);
  EXPECT_EQ(verschiedene(variablen(QStringLiteral("Falzstrich"))), QStringList({QStringLiteral("1")}));
}

// ---- exemplars and copies ----

TEST_F(frmDruckenDokumentdruck, CopiesWithDuplicateNotePrintOneExemplarEachWithOneCopy) {
  einstellung(QStringLiteral("Duplikatsvermerk"), QStringLiteral("1"));
  position(QStringLiteral("01"), 1, 1);
  steuerung->setStatus(QStringLiteral("StoragePageCount"), 1);
  fenster->let_AnzahlKopien(3);
  fenster->StartPrint(2);

  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).size(), 6);
  EXPECT_EQ(verschiedene(variablen(QStringLiteral("Exemplar"))), QStringList({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}));
  EXPECT_TRUE(fenster->DuplikatModus);
  EXPECT_EQ(fenster->AnzahlKopien(), 1);
  // Three print documents of one copy each.
  EXPECT_EQ(druck->documents().size(), 3);
  EXPECT_EQ(ll->callsOf(QStringLiteral("DeletePreviewFiles")).size(), 3);
}

TEST_F(frmDruckenDokumentdruck, PreviewAndPdfShowOneExemplarWhateverTheDuplicateNote) {
  einstellung(QStringLiteral("Duplikatsvermerk"), QStringLiteral("1"));
  position(QStringLiteral("01"), 1, 1);
  fenster->let_PDFArchivDatei(temp.file(QStringLiteral("R1.pdf")));
  for (short modus : {1, 4}) {
    ll->clearCalls();
    fenster->let_AnzahlKopien(3);
    fenster->StartPrint(modus);
    EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 2) << modus;
    EXPECT_EQ(verschiedene(variablen(QStringLiteral("Exemplar"))), QStringList({QStringLiteral("0")})) << modus;
  }
}

TEST_F(frmDruckenDokumentdruck, CopiesWithoutDuplicateNoteAreMadeAtOutput) {
  einstellung(QStringLiteral("Duplikatsvermerk"), QStringLiteral("0"));
  position(QStringLiteral("01"), 1, 1);
  steuerung->setStatus(QStringLiteral("StoragePageCount"), 1);
  fenster->let_AnzahlKopien(3);
  fenster->StartPrint(2);

  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).size(), 2);
  EXPECT_FALSE(fenster->DuplikatModus);
  EXPECT_EQ(verschiedene(variablen(QStringLiteral("Exemplar"))), QStringList({QStringLiteral("0")}));
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
  EXPECT_EQ(druck->documents().size(), 3);
  EXPECT_EQ(ll->callsOf(QStringLiteral("DeletePreviewFiles")).size(), 1);
}

// ---- rows ----

TEST_F(frmDruckenDokumentdruck, AnEmptyTableSaysSoOncePerPassAndPrintsNothing) {
  einstellung(QStringLiteral("Duplikatsvermerk"), QStringLiteral("1"));
  fenster->let_AnzahlKopien(2);
  fenster->StartPrint(2);
  EXPECT_EQ(meldungen(), QStringList(4, kKeineDaten));
  for (const auto& b : dialogs->messageBoxes()) EXPECT_EQ(b.style, ui::vbOKOnly | ui::vbInformation);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("EndPrint")).isEmpty());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DeletePreviewFiles")).isEmpty());
  EXPECT_FALSE(fenster->Running());
}

TEST_F(frmDruckenDokumentdruck, KRowsGiveKPlusOneProgressStepsTheFirstForTheOpeningText) {
  for (const char* nr : {"01", "02", "03"}) position(QString::fromLatin1(nr), 1, 1);
  fenster->let_VorText(QStringLiteral("Sehr geehrte Damen und Herren"));
  fenster->StartPrint(4);

  QStringList schritte;
  for (const QString& c : ll->callsOf(QStringLiteral("SetBoxText"))) schritte << c;
  const QStringList einDurchgang = {QStringLiteral("SetBoxText(\"Druckausgabe\", 25)"),
                                    QStringLiteral("SetBoxText(\"Druckausgabe\", 50)"),
                                    QStringLiteral("SetBoxText(\"Druckausgabe\", 75)"),
                                    QStringLiteral("SetBoxText(\"Druckausgabe\", 100)")};
  EXPECT_EQ(schritte, einDurchgang + einDurchgang);

  // The opening text is printed at the first step, before any row.
  const QStringList c = calls();
  const qsizetype vortext = c.indexOf(QStringLiteral("DefineReportField(\"Vortext\", \"Sehr geehrte Damen und Herren\", 0x10000000)"));
  const qsizetype erste = c.indexOf(QStringLiteral("DefineReportField(\"Position\", \"01\", 0x10000000)"));
  ASSERT_GE(vortext, 0);
  ASSERT_GE(erste, 0);
  EXPECT_LT(c.indexOf(einDurchgang.first()), vortext);
  EXPECT_LT(vortext, c.indexOf(einDurchgang.at(1)));
  EXPECT_LT(c.indexOf(einDurchgang.at(1)), erste);
  EXPECT_EQ(positionen(), QStringList({QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
                                       QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")}));
}

TEST_F(frmDruckenDokumentdruck, RowsComeInLongKeyOrder) {
  position(QStringLiteral("B"), 1, 1);
  position(QStringLiteral("C"), 1, 1);
  position(QStringLiteral("A"), 1, 1);
  fenster->StartPrint(4);
  EXPECT_EQ(positionen().mid(0, 3), QStringList({QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")}));
}

TEST_F(frmDruckenDokumentdruck, APresetRecordSetIsPrintedInItsOwnOrder) {
  position(QStringLiteral("B"), 1, 1);
  position(QStringLiteral("C"), 1, 1);
  position(QStringLiteral("A"), 1, 1);
  auto eigene = std::make_shared<data::Recordset>();
  eigene->Open(QStringLiteral("SELECT * FROM PrintInputTabelle ORDER BY Feld1"), vb::Variant(hand), data::adOpenDynamic,
               data::adLockOptimistic);
  eigene->MoveLast();
  fenster->objRsPrintInput = eigene;
  fenster->StartPrint(4);
  // Asked again for each pass: from its first row, in its order.
  EXPECT_EQ(positionen(), QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                       QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
}

TEST_F(frmDruckenDokumentdruck, RowsTheHostAddsBetweenDocumentsArePrinted) {
  position(QStringLiteral("01"), 1, 1);
  fenster->StartPrint(4);
  hand->Execute(QStringLiteral("DELETE FROM PrintInputTabelle"));
  position(QStringLiteral("02"), 1, 1);
  ll->clearCalls();
  fenster->StartPrint(4);
  EXPECT_EQ(positionen(), QStringList({QStringLiteral("02"), QStringLiteral("02")}));
}

// ---- sums and closing texts ----

TEST_F(frmDruckenDokumentdruck, SumsStartFromZeroInEveryPass) {
  position(QStringLiteral("01"), 2, 10);
  position(QStringLiteral("02"), 1, 5, 2);
  fenster->dblMWSTBetrag[1] = 99;
  fenster->dblRechnungsbetrag[3] = 7;
  fenster->StartPrint(4);
  // Two passes over the same rows count them once; nothing of before is left.
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 20);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 5);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_ohne(), 0);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 0);
}

TEST_F(frmDruckenDokumentdruck, ADocumentWithoutRowsLeavesNoSumsOfTheOneBefore) {
  position(QStringLiteral("01"), 2, 10);
  fenster->StartPrint(4);
  ASSERT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 20);
  hand->Execute(QStringLiteral("DELETE FROM PrintInputTabelle"));
  fenster->StartPrint(4);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 0);
}

// The opening text is printed before the rows are walked: the real pass fills its amounts from
// the figures of the counting pass, the same the closing texts show.
TEST_F(frmDruckenDokumentdruck, OpeningTextShowsTheAmountsTheCountingPassFound) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  position(QStringLiteral("01"), 2, 10);
  position(QStringLiteral("02"), 1, 5, 2);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamtbetrag"), false);
  fenster->let_VorText(QStringLiteral("Wir berechnen Ihnen <RechBetrag> €."));
  fenster->let_SchlussText(QStringLiteral("Summe <RechBetrag> €"));
  fenster->StartPrint(4);
  const QStringList vortexte = verschiedene(felder(QStringLiteral("Vortext")).filter(QStringLiteral("berechnen")));
  ASSERT_FALSE(vortexte.isEmpty());
  EXPECT_EQ(vortexte.last(), QStringLiteral("Wir berechnen Ihnen 25,00 €."));
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("Summe 25,00 €"));
  // The walk of the real pass still starts from zero.
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 25);
}

TEST_F(frmDruckenDokumentdruck, ClosingTextsGetTheEndAmountAndItsValueInMarks) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  position(QStringLiteral("01"), 2, 500);
  position(QStringLiteral("02"), 1, 34.5);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamtbetrag"), false);
  fenster->let_Druckwaehrung(QStringLiteral("EUR"));
  fenster->let_SchlussText(QStringLiteral("Zu zahlen: <EndBetrag> (<altwährbetrag>), <EndBetrag>"));
  fenster->let_ZahlText(QStringLiteral("Zahlbar <AltWährBetrag>"));
  fenster->StartPrint(4);

  // 1.034,50 EUR at 1,95583 DEM each.
  EXPECT_EQ(fenster->strEndBetrag, QStringLiteral("1.034,50"));
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(),
            QStringLiteral("Zu zahlen: 1.034,50 EUR (2.023,31 DEM), 1.034,50 EUR"));
  EXPECT_EQ(felder(QStringLiteral("Zahltext")).last(), QStringLiteral("Zahlbar 2.023,31 DEM"));
  EXPECT_EQ(felder(QStringLiteral("ÜbertragUnterdrücken")).last(), QStringLiteral("Ja"));
}

TEST_F(frmDruckenDokumentdruck, InMarksTheOtherAmountIsInEuro) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  position(QStringLiteral("01"), 1, 195.583);
  fenster->AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Summe"), false);
  fenster->let_Druckwaehrung(QStringLiteral("DM"));
  fenster->let_SchlussText(QStringLiteral("<EndBetrag> = <AltWährBetrag>"));
  fenster->StartPrint(4);
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("195,58 DM = 100,00 EUR"));
}

TEST_F(frmDruckenDokumentdruck, AnotherCurrencyLeavesTheOldCurrencyPlaceholder) {
  position(QStringLiteral("01"), 1, 10);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Summe"), false);
  fenster->let_Druckwaehrung(QStringLiteral("CHF"));
  fenster->let_SchlussText(QStringLiteral("<EndBetrag> <AltWährBetrag>"));
  fenster->StartPrint(4);
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("10 CHF <AltWährBetrag>"));
}

TEST_F(frmDruckenDokumentdruck, TheFormsGeneralClosingTextFollowsOnANewLine) {
  db.exec(QStringLiteral("UPDATE Auftrag_Formular_Neu SET AllgemeinSchlussText = 'Es gelten unsere AGB. <EndBetrag>'"));
  vorbereiten(*fenster);
  position(QStringLiteral("01"), 1, 10);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Summe"), false);
  fenster->let_Druckwaehrung(QStringLiteral("EUR"));
  fenster->let_SchlussText(QStringLiteral("Danke."));
  fenster->StartPrint(4);
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("Danke.\rEs gelten unsere AGB. 10 EUR"));
}

TEST_F(frmDruckenDokumentdruck, AFormWithoutGeneralClosingTextAddsNoLine) {
  position(QStringLiteral("01"), 1, 10);
  fenster->let_SchlussText(QStringLiteral("Danke."));
  fenster->StartPrint(4);
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("Danke."));
}

TEST_F(frmDruckenDokumentdruck, TheClosingTextRowRepeatsNothingOfTheRowBefore) {
  position(QStringLiteral("01"), 1, 10);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamtbetrag"), false);
  fenster->let_SchlussText(QStringLiteral("Danke."));
  fenster->StartPrint(4);
  // The values at the closing text row are the last ones defined.
  EXPECT_EQ(ll->field(QStringLiteral("Schlusstext")), QStringLiteral("Danke."));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("Bezeichnung")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("InfoPreis")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("Position")), QString());
}

TEST_F(frmDruckenDokumentdruck, AnEndAmountOfAnEarlierDocumentIsNotPrinted) {
  position(QStringLiteral("01"), 1, 10);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Summe"), false);
  fenster->let_SchlussText(QStringLiteral("[<EndBetrag>]"));
  fenster->let_Druckwaehrung(QStringLiteral("EUR"));
  fenster->StartPrint(4);
  ASSERT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("[10 EUR]"));
  fenster->ClearAbschluss();
  ll->clearCalls();
  fenster->StartPrint(4);
  EXPECT_EQ(felder(QStringLiteral("Schlusstext")).last(), QStringLiteral("[ EUR]"));
}

// ---- user abort and failures ----

TEST_F(frmDruckenDokumentdruck, AUserAbortAtThePrintStartEndsTheJob) {
  position(QStringLiteral("01"), 1, 1);
  ll->queueStatus(QStringLiteral("StartPrintJob"), report::kUserAbort);
  fenster->StartPrint(2);
  EXPECT_FALSE(fenster->Running());
  EXPECT_TRUE(fenster->ExitCode());
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).size(), 1);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());

  // Sticky for the window's life, also after a job that went through.
  fenster->StartPrint(2);
  EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 2);
  EXPECT_TRUE(fenster->ExitCode());
}

// Print data that cannot be read end the job as a failure, in its first pass.
TEST_F(frmDruckenDokumentdruck, AMissingSystemDatabaseIsReportedAndTheJobFails) {
  QFile::remove(temp.file(QStringLiteral("SYSTEM.MDW")));
  position(QStringLiteral("01"), 1, 1);
  fenster->StartPrint(4);
  const QString fehlt = QStringLiteral("Datei '%1/system.mdw' nicht gefunden!").arg(temp.path());
  const QString m = meldungen().join(u'\n');
  EXPECT_TRUE(m.startsWith(fehlt + QStringLiteral("\nDie Druckdaten aus '%1' können nicht gelesen werden: ").arg(uebergabe)) &&
              m.count(u'\n') == 1)
      << m.toStdString();
  EXPECT_FALSE(fenster->Running());
  EXPECT_EQ(fenster->ExitCode(), 1);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("EndPrint")).isEmpty());
}

TEST_F(frmDruckenDokumentdruck, AHandOverFileInAFolderWithASemicolonIsPrinted) {
  const QString ordner = temp.file(QStringLiteral("a;Provider=MSDASQL"));
  QString fehler;
  ASSERT_TRUE(schema::createHostDatabase(ordner + QStringLiteral("/Uebergabe.mdb"), &fehler)) << fehler.toStdString();
  temp.write(QStringLiteral("a;Provider=MSDASQL/SYSTEM.MDW"), "");
  uebergabe = ordner + QStringLiteral("/Uebergabe.mdb");
  hand = oeffnen(uebergabe);
  vorbereiten(*fenster);
  position(QStringLiteral("01"), 1, 1);
  fenster->StartPrint(4);
  EXPECT_EQ(meldungen(), QStringList());
  EXPECT_EQ(verschiedene(positionen()), QStringList({QStringLiteral("01")}));
}

TEST_F(frmDruckenDokumentdruck, AHandOverFileThatIsNoDatabaseFailsTheJobWithTheDatabasesReason) {
  const QString kaputt = temp.write(QStringLiteral("Kaputt.mdb"), "Dies ist keine Datenbank, nur Text.");
  fenster->let_Uebergabedatei(kaputt);
  fenster->StartPrint(2);
  EXPECT_FALSE(fenster->Running());
  EXPECT_EQ(fenster->ExitCode(), 1);
  EXPECT_TRUE(meldungen().size() == 1 && meldungen()[0].contains(QStringLiteral("not a database"))) << meldungen().join(u'\n').toStdString();
  // The description alone, then the job's message.
  EXPECT_EQ(logZeilen().filter(QStringLiteral("not a database")).size(), 2);
}

TEST_F(frmDruckenDokumentdruck, AControlThatThrowsIsLoggedAndTheJobStillEnds) {
  position(QStringLiteral("01"), 1, 1);
  position(QStringLiteral("02"), 1, 1);
  steuerung->vorAufruf = [](const QString& op) {
    if (op == QLatin1String("PrintFields")) throw std::runtime_error("Druckausgabe gestört");
  };
  const int zeilenVorher = logZeilen().size();
  fenster->StartPrint(2);
  EXPECT_FALSE(fenster->Running());
  EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 2);
  EXPECT_EQ(ll->callsOf(QStringLiteral("DeletePreviewFiles")).size(), 1);
  EXPECT_GT(logZeilen().size(), zeilenVorher);

  // The next job runs as usual.
  steuerung->vorAufruf = nullptr;
  ll->clearCalls();
  fenster->StartPrint(2);
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintFields")).size(), 2 * 4);
}

// ExitCode over a run of jobs: 1 while the last job failed (its message shown), -1 once a job
// was cancelled, else 0; every job starts with its failure mark cleared.
TEST_F(frmDruckenDokumentdruck, ExitCodeTellsTheLastJobsFailureAndEverCancelled) {
  position(QStringLiteral("01"), 1, 1);
  struct Job {
    const char* operation;  // fails once with `status`; nullptr: the job goes through
    int status;
    short exitCode;
  };
  const QList<Job> jobs = {
      {nullptr, 0, 0},
      {"StartPrintJob", report::kBadTemplate, 1},
      {nullptr, 0, 0},
      {"EndPrint", report::kFileError, 1},
      {"StartPrintJob", report::kUserAbort, -1},
      {"StartPrintJob", report::kFileError, 1},
      {nullptr, 0, -1},
  };
  ll->setLastError(QStringLiteral("Vorlage kaputt"));
  for (const Job& j : jobs) {
    SCOPED_TRACE(j.operation ? j.operation : "none");
    const auto vorher = dialogs->messageBoxes().size();
    if (j.operation) ll->queueStatus(QString::fromLatin1(j.operation), j.status);
    fenster->StartPrint(2);
    EXPECT_FALSE(fenster->Running());
    EXPECT_EQ(fenster->ExitCode(), j.exitCode);
    const auto boxen = dialogs->messageBoxes().mid(vorher);
    ASSERT_EQ(boxen.size(), j.exitCode == 1 ? 1 : 0);
    if (!boxen.isEmpty()) EXPECT_TRUE(boxen[0].text.contains(QStringLiteral("Vorlage kaputt")));
  }
  EXPECT_EQ(vb::CLng(automation::callByName(*fenster, QStringLiteral("ExitCode"), automation::CallKind::Get)), -1);
}

// The same jobs on the real report control and its windows.
class frmDruckenDokumentdruckEcht : public frmDruckenDokumentdruck {
 protected:
  void SetUp() override {
    frmDruckenDokumentdruck::SetUp();
    liste = druckausgabe::schreibeVorlage(temp);
    db.addForm(kStatus, 2, QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien"), QStringLiteral("2, '%1', 1").arg(liste));
    echt = std::make_shared<frmDrucken>(std::make_shared<report::ReportControl>());
    vorbereiten(*echt);
    echt->SetDruckerOptionen(kStatus, 2);
  }
  void TearDown() override {
    echt.reset();
    frmDruckenDokumentdruck::TearDown();
  }
  QStringList speicher() const { return QDir(temp.path()).entryList({QStringLiteral("*.LL")}, QDir::Files); }

  QString liste;
  std::shared_ptr<frmDrucken> echt;
};

// A PDF job leaves no storage file, and a print job whose start fails puts out nothing at all,
// least of all the document of the job before.
TEST_F(frmDruckenDokumentdruckEcht, AJobOutputsOnlyTheStorageItWrote) {
  position(QStringLiteral("01"), 1, 1);
  echt->StartPrint(4);
  EXPECT_TRUE(QFileInfo::exists(temp.file(QStringLiteral("Archiv.pdf"))));
  EXPECT_EQ(echt->ExitCode(), 0);
  EXPECT_EQ(speicher(), QStringList());

  // The storage of another customer's document that an earlier run left under this job's name.
  if (!QFileInfo::exists(temp.file(QStringLiteral("Liste.LL")))) {
    QPicture seite;
    QPainter maler(&seite);
    maler.drawText(10, 10, QStringLiteral("Rechnung an Kunde A"));
    maler.end();
    report::StorageFile alt;
    alt.addPage(QSizeF(210, 297), seite);
    QString fehler;
    ASSERT_TRUE(alt.save(temp.file(QStringLiteral("Liste.LL")), &fehler)) << fehler.toStdString();
  }
  ASSERT_TRUE(QFile::remove(liste));
  echt->StartPrint(2);
  EXPECT_TRUE(druck->documents().isEmpty());
  EXPECT_EQ(echt->ExitCode(), 1);
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 1);
  EXPECT_TRUE(boxen[0].text.contains(liste)) << boxen[0].text.toStdString();
  EXPECT_EQ(speicher(), QStringList());
}

// A preview of an empty table closes its progress box with the job.
TEST_F(frmDruckenDokumentdruckEcht, AnEmptyPreviewClosesItsProgressBox) {
  dialogs->answerWindow([](QDialog&) { return int(QDialog::Accepted); });  // print options
  echt->StartPrint(1);
  EXPECT_EQ(meldungen(), QStringList(2, kKeineDaten));
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(qobject_cast<report::PrintBox*>(w) && w->isVisible()) << "the progress box is still up";
  EXPECT_EQ(speicher(), QStringList());
  EXPECT_EQ(echt->ExitCode(), 0);
}

TEST_F(frmDruckenDokumentdruck, HostsStartItByName) {
  position(QStringLiteral("01"), 1, 1);
  automation::callByName(*fenster, QStringLiteral("StartPrint"), automation::CallKind::Method, {vb::Variant(4)});
  EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 2);
  EXPECT_FALSE(vb::CBool(automation::callByName(*fenster, QStringLiteral("Running"), automation::CallKind::Get)));
}

}  // namespace
