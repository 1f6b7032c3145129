// The storage file on paper, copy by copy and page by page through the form's routes, on the
// recording control (which page is drawn) and the recording print document (where it went).
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "platform/printing/CurrentPrinter.h"
#include "tests/engine/DruckausgabeSupport.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

const QString kGlobal = QStringLiteral("$GLOBAL$");

class frmDrucken_DruckerausgabeTest : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    printing::setCurrentPrinter(QString());
    printing::setPrintDocument(druck);
    katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1"), QStringLiteral("Fach 2")}),
                          enginetest::printer(QStringLiteral("Tinte"))});
    katalog->setDefaultPrinter(QStringLiteral("Tinte"));
    DruckFensterFixture::SetUp();
    fenster->Speicherdatei = GetLokalerPfad() + QStringLiteral("Rechnung.LL");
  }
  void TearDown() override {
    DruckFensterFixture::TearDown();
    printing::setPrintDocument(nullptr);
    printing::setCurrentPrinter(QString());
  }

  // A "$GLOBAL$" route of the form; `drucker` is the printer's name.
  void route(int vonEx, int bisEx, int vonSeite, int bisSeite, const QString& drucker, int schacht,
             bool letzteZuerst = false) {
    db.addRoute(kGlobal, druckausgabe::kFormStatus, druckausgabe::kFormNummer, vonEx, bisEx, vonSeite, bisSeite,
                QLatin1Char('\'') + drucker + QLatin1Char('\''), schacht, QStringLiteral("''"), letzteZuerst);
  }
  // Loads the form with the routes given so far.
  void laden() { druckausgabe::ladeFormular(*fenster, db, db.dir().write(QStringLiteral("Rechnung.lst"), "{}")); }

  // Prints a storage of `seiten` pages with `kopien` copies.
  void drucken(int seiten, int kopien) {
    ll->setStatus(QStringLiteral("StoragePageCount"), seiten);
    ll->clearCalls();
    fenster->PreviewAnDrucker(QStringLiteral("nicht benutzt"), vb::Variant(kopien));
  }

  // Each print document as "<printer> <bin>: <pages drawn on it>", the pages taken in order from
  // the control's DrawStoragePage calls.
  QStringList ausgabe() const {
    static const QRegularExpression letzteZahl(QStringLiteral("(\\d+)\\)$"));
    QStringList gezeichnet;
    for (const QString& aufruf : ll->callsOf(QStringLiteral("DrawStoragePage")))
      gezeichnet << letzteZahl.match(aufruf).captured(1);
    QStringList out;
    qsizetype i = 0;
    for (const auto& d : druck->documents()) {
      QStringList seiten;
      for (qsizetype k = 0; k < d.pages.size(); ++k) seiten << gezeichnet.value(i++, QStringLiteral("?"));
      out << QStringLiteral("%1 %2: %3").arg(d.printer).arg(d.bin).arg(seiten.join(QLatin1Char(' ')));
    }
    EXPECT_EQ(i, gezeichnet.size()) << "pages drawn outside a document";
    return out;
  }

  QStringList logMit(const QString& anfang) const {
    QStringList out;
    for (const QString& z : logZeilen())
      if (z.startsWith(anfang)) out << z;
    return out;
  }

  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase db;
  std::shared_ptr<printing::RecordingPrintDocument> druck = std::make_shared<printing::RecordingPrintDocument>();
};

const QString kWechsel = QStringLiteral("PrinterWechseln->");

}  // namespace

// ---- tray routing ----

TEST_F(frmDrucken_DruckerausgabeTest, FirstPageFromBinOneAndTheRestFromBinTwoForEachCopy) {
  route(1, 99, 1, 1, QStringLiteral("Laser"), 1);
  route(1, 99, 2, 99999, QStringLiteral("Laser"), 2);
  laden();
  drucken(3, 2);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Laser 1: 1"), QStringLiteral("Laser 2: 2 3"),
                                    QStringLiteral("Laser 1: 1"), QStringLiteral("Laser 2: 2 3")}));
  EXPECT_EQ(druck->events().filter(QStringLiteral("submit")).size(), 4);
  EXPECT_EQ(logMit(kWechsel).size(), 4);
}

TEST_F(frmDrucken_DruckerausgabeTest, LastPageFirstForCopyOneSwitchesTheBinBeforePageOne) {
  route(1, 1, 1, 1, QStringLiteral("Laser"), 1, true);
  route(1, 1, 2, 99999, QStringLiteral("Laser"), 2);
  route(2, 99, 1, 1, QStringLiteral("Laser"), 1);
  route(2, 99, 2, 99999, QStringLiteral("Laser"), 2);
  laden();
  drucken(3, 2);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Laser 2: 3 2"), QStringLiteral("Laser 1: 1"),
                                    QStringLiteral("Laser 1: 1"), QStringLiteral("Laser 2: 2 3")}));
}

TEST_F(frmDrucken_DruckerausgabeTest, PrinterNotInstalledLeavesThePagesOnThePreviousPrinterSilently) {
  route(1, 99, 1, 1, QStringLiteral("Laser"), 1);
  route(1, 99, 2, 99999, QStringLiteral("Fehlt"), 1);
  laden();
  drucken(3, 1);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Laser 1: 1 2 3")}));
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_TRUE(logMit(QStringLiteral("PreviewAnDrucker")).isEmpty());
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Laser"));
}

TEST_F(frmDrucken_DruckerausgabeTest, NoRoutePrinterInstalledPrintsOnTheProcessPrinterAndRetriesEachPage) {
  route(1, 99, 1, 99999, QStringLiteral("Fehlt"), 2);
  laden();
  drucken(3, 1);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Tinte 0: 1 2 3")}));
  EXPECT_EQ(logMit(kWechsel).size(), 3);
}

// In either order; with no first page to follow, on the default printer. Nothing is told.
TEST_F(frmDrucken_DruckerausgabeTest, FurtherPagesWithoutAPrinterPrintLikeTheFirstPage) {
  route(1, 1, 1, 1, QStringLiteral("Laser"), 2);
  route(1, 1, 2, 99999, QStringLiteral("Standard"), 0);
  route(2, 2, 1, 1, QStringLiteral("Laser"), 1);
  route(2, 2, 2, 99999, QString(), 0);
  route(3, 3, 1, 1, QStringLiteral("Laser"), 1, true);
  route(3, 3, 2, 99999, QString(), 0);
  route(4, 99, 1, 99999, QString(), 0);
  laden();
  drucken(2, 4);
  EXPECT_EQ(ausgabe(), QStringList({"Laser 2: 1", "Tinte 0: 2", "Laser 1: 1 2", "Laser 1: 2 1", "Tinte 0: 1 2"}));
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);
}

TEST_F(frmDrucken_DruckerausgabeTest, BinZeroLeavesThePrintersBin) {
  route(1, 1, 1, 99999, QStringLiteral("Laser"), 0);
  route(2, 2, 1, 1, QStringLiteral("Laser"), 2);
  route(2, 2, 2, 99999, QStringLiteral("Laser"), 0);
  route(3, 3, 1, 1, QStringLiteral("Laser"), 2);
  route(3, 3, 2, 99999, QStringLiteral("Tinte"), 0);
  laden();
  drucken(3, 3);
  EXPECT_EQ(ausgabe(), QStringList({// a fresh printer keeps its own bin
                                    QStringLiteral("Laser 0: 1 2 3"),
                                    // the same printer stays on the bin it was set to
                                    QStringLiteral("Laser 2: 1"), QStringLiteral("Laser 2: 2 3"),
                                    // another printer starts on its own bin
                                    QStringLiteral("Laser 2: 1"), QStringLiteral("Tinte 0: 2 3")}));
}

TEST_F(frmDrucken_DruckerausgabeTest, CopiesAskTheRoutesFromTheJobsExemplarOn) {
  route(1, 2, 1, 99999, QStringLiteral("Laser"), 1);
  route(3, 3, 1, 99999, QStringLiteral("Tinte"), 0);
  route(4, 99, 1, 99999, QStringLiteral("Laser"), 2);
  laden();
  fenster->AktExemplar = 2;
  drucken(1, 2);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Tinte 0: 1"), QStringLiteral("Laser 2: 1")}));
}

TEST_F(frmDrucken_DruckerausgabeTest, PrinterOfTheLastCopyStaysTheProcessPrinter) {
  route(1, 1, 1, 99999, QStringLiteral("laser"), 0);
  route(2, 2, 1, 99999, QStringLiteral("Tinte"), 0);
  laden();
  drucken(2, 2);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Laser 0: 1 2"), QStringLiteral("Tinte 0: 1 2")}));
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Tinte"));
}

// ---- storages without pages ----

TEST_F(frmDrucken_DruckerausgabeTest, StorageWithoutPagesDrawsNothingAndOpensNoDocument) {
  route(1, 99, 1, 99999, QStringLiteral("Laser"), 1);
  laden();
  drucken(0, 2);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DrawStoragePage")).isEmpty());
  EXPECT_TRUE(druck->events().isEmpty());
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("OpenStorage(\"%1\", \"\", 1, 0)").arg(fenster->Speicherdatei),
                                      QStringLiteral("SetStorageJob(1, 1)"), QStringLiteral("StoragePageCount(1)"),
                                      QStringLiteral("CloseStorage(1)")}));
}

TEST_F(frmDrucken_DruckerausgabeTest, UnreadableStorageIsNoPagesAndNoError) {
  route(1, 99, 1, 99999, QStringLiteral("Laser"), 1);
  laden();
  ll->setStatus(QStringLiteral("OpenStorage"), report::kFileError);
  drucken(report::kBadArgument, 1);
  EXPECT_TRUE(druck->events().isEmpty());
  EXPECT_TRUE(logMit(QStringLiteral("PreviewAnDrucker")).isEmpty());
}

// ---- failures are logged and the copies go on ----

TEST_F(frmDrucken_DruckerausgabeTest, FailedSubmissionIsLoggedAndTheNextCopyStillPrints) {
  route(1, 99, 1, 99999, QStringLiteral("Laser"), 1);
  laden();
  druck->failSubmissions(QStringLiteral("Papierstau"));
  drucken(2, 2);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Laser 1: 1 2"), QStringLiteral("Laser 1: 1 2")}));
  EXPECT_EQ(logMit(QStringLiteral("PreviewAnDrucker")),
            QStringList({QStringLiteral("PreviewAnDrucker 482: Papierstau"), QStringLiteral("PreviewAnDrucker 482: Papierstau")}));
}

TEST_F(frmDrucken_DruckerausgabeTest, PrinterRefusingTheDocumentIsLoggedPerPage) {
  route(1, 99, 1, 99999, QStringLiteral("Laser"), 1);
  laden();
  druck->setPrinters({QStringLiteral("Tinte")});
  drucken(2, 1);
  EXPECT_TRUE(druck->documents().isEmpty());
  // the switch's opening line and each page try the document again, each failure its own line
  const QStringList fehler = logMit(QStringLiteral("PreviewAnDrucker"));
  EXPECT_GE(fehler.size(), 2);
  for (const QString& z : fehler)
    EXPECT_EQ(z, QStringLiteral("PreviewAnDrucker 482: Drucker 'Laser' nicht gefunden"));
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DrawStoragePage")).isEmpty());
  EXPECT_EQ(ll->calls().last(), QStringLiteral("CloseStorage(1)"));
}

TEST_F(frmDrucken_DruckerausgabeTest, FormNeverLoadedLogsTheRouteErrorsAndPrintsOnTheProcessPrinter) {
  drucken(2, 1);
  EXPECT_EQ(ausgabe(), QStringList({QStringLiteral("Tinte 0: 1 2")}));
  const QStringList fehler = logMit(QStringLiteral("PreviewAnDrucker"));
  ASSERT_FALSE(fehler.isEmpty());
  for (const QString& z : fehler) EXPECT_TRUE(z.startsWith(QStringLiteral("PreviewAnDrucker 91: "))) << z.toStdString();
}

// ---- page count ----

TEST_F(frmDrucken_DruckerausgabeTest, PageCountReadsJobOneOfTheStorageFile) {
  ll->setStatus(QStringLiteral("StoragePageCount"), 7);
  ll->clearCalls();
  EXPECT_EQ(fenster->GetSeitenanzahl(), 7);
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("OpenStorage(\"%1\", \"\", 1, 0)").arg(fenster->Speicherdatei),
                                      QStringLiteral("SetStorageJob(1, 1)"), QStringLiteral("StoragePageCount(1)"),
                                      QStringLiteral("CloseStorage(1)")}));
}

TEST_F(frmDrucken_DruckerausgabeTest, PageCountOfAStorageThatCannotBeReadIsZero) {
  ll->setStatus(QStringLiteral("StoragePageCount"), report::kBadArgument);
  EXPECT_EQ(fenster->GetSeitenanzahl(), 0);
}

class frmDrucken_DruckerausgabeEchtTest : public druckausgabe::EchterDruck {};

TEST_F(frmDrucken_DruckerausgabeEchtTest, PageCountOfTheStorageFileJustWritten) {
  druckausgabe::ladeFormular(*fenster, db, vorlage);
  ASSERT_EQ(fenster->DruckInitialisieren(2, vorlage), 0);
  for (int s = 0; s < 3; ++s) fenster->LL().PrintVariables();
  ASSERT_EQ(fenster->LL().EndPrint(0), 0);
  EXPECT_EQ(fenster->GetSeitenanzahl(), 3);
  fenster->Speicherdatei = log.dir().file(QStringLiteral("Fehlt.LL"));
  EXPECT_EQ(fenster->GetSeitenanzahl(), 0);
}
