// A document printed by the print window through a private cupsd: the form's routes of this
// workstation send each copy's pages to the paper trays, and the PCL the queue receives shows
// which tray every job asked for and how many pages it holds.
#include <gtest/gtest.h>

#include <cups/cups.h>

#include <QFileInfo>
#include <optional>

#include "tests/engine/DruckausgabeSupport.h"
#include "tests/support/CupsDruckweg.h"
#include "tests/support/Dateigrenze.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"

namespace {

using testsupport::PrivateCupsd;

const QString kQueue = QStringLiteral("Laser");

int anzahl(const QByteArray& heuhaufen, const QByteArray& nadel) {
  int n = 0;
  for (qsizetype at = heuhaufen.indexOf(nadel); at >= 0; at = heuhaufen.indexOf(nadel, at + 1)) ++n;
  return n;
}

class frmDrucken_CupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
    cupsd = std::make_unique<PrivateCupsd>();
    ASSERT_TRUE(cupsd->start()) << cupsd->failure();
    ASSERT_TRUE(cupsd->addPclQueue(kQueue)) << cupsd->failure();
    druckweg.emplace();
    vorlage = druckausgabe::schreibeVorlage(log.dir());
    fenster = std::make_shared<frmDrucken>(std::make_shared<report::ReportControl>());
  }
  void TearDown() override {
    fenster.reset();
    druckweg.reset();
  }

  QByteArray schachtEscape(const QString& schacht) const { return cupsd->trayEscape(kQueue, schacht); }

  void route(const QString& rechner, int vonEx, int bisEx, int vonSeite, int bisSeite, const QString& drucker,
             int schacht, bool letzteZuerst = false) {
    db.addRoute(rechner, druckausgabe::kFormStatus, druckausgabe::kFormNummer, vonEx, bisEx, vonSeite, bisSeite,
                QLatin1Char('\'') + drucker + QLatin1Char('\''), schacht, QStringLiteral("''"), letzteZuerst);
  }

  std::unique_ptr<PrivateCupsd> cupsd;
  std::optional<testsupport::CupsDruckweg> druckweg;
  enginetest::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
  enginetest::FormDatabase db;
  QString vorlage;
  std::shared_ptr<frmDrucken> fenster;
};

}  // namespace

TEST_F(frmDrucken_CupsTest, TwoCopiesWithFirstPageFromTrayOneAndCopyOneLastPageFirst) {
  const QByteArray fach1 = schachtEscape(QStringLiteral("Tray1"));
  const QByteArray fach2 = schachtEscape(QStringLiteral("Tray2"));
  ASSERT_FALSE(fach1.isEmpty());
  ASSERT_FALSE(fach2.isEmpty());
  ASSERT_NE(fach1, fach2);

  // This workstation's routes; the "$GLOBAL$" one must not be used beside them.
  const QString pc = GetRechnerName();
  route(pc, 1, 1, 1, 1, kQueue, 1, true);
  route(pc, 1, 1, 2, 99999, kQueue, 2);
  route(pc, 2, 99, 1, 1, kQueue, 1);
  route(pc, 2, 99, 2, 99999, kQueue, 2);
  route(QStringLiteral("$GLOBAL$"), 1, 99, 1, 99999, kQueue, 3);
  druckausgabe::ladeFormular(*fenster, db, vorlage);

  druckausgabe::dokument(*fenster, 2, vorlage, QStringLiteral("Rechnung 4711"), 3, 2);

  const auto jobs = cupsd->takeJobs(kQueue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  ASSERT_EQ(jobs->size(), 4);
  // Copy 1 last page first: pages 3 and 2 from tray 2, then page 1 from tray 1; copy 2 in order.
  const QList<QByteArray> fach = {fach2, fach1, fach1, fach2};
  const QList<int> seiten = {2, 1, 1, 2};
  const QByteArray fach3 = schachtEscape(QStringLiteral("Tray3"));
  for (int j = 0; j < 4; ++j) {
    const QByteArray& pcl = jobs->at(j).output;
    EXPECT_TRUE(pcl.contains(fach[j])) << "job " << j + 1;
    EXPECT_FALSE(pcl.contains(fach[j] == fach1 ? fach2 : fach1)) << "job " << j + 1;
    EXPECT_FALSE(pcl.contains(fach3)) << "job " << j + 1;
    // The driver ends each page's raster data with a form feed.
    EXPECT_EQ(anzahl(pcl, "\x1b*r0B\x0c"), seiten[j]) << "job " << j + 1;
    EXPECT_EQ(jobs->at(j).title, fenster->ApplicationTitel());
  }
  EXPECT_TRUE(QDir(log.dir().path()).entryList({QStringLiteral("*.LL")}, QDir::Files).isEmpty());
  EXPECT_FALSE(log.lines().join(QLatin1Char('\n')).contains(QStringLiteral("PreviewAnDrucker ")));
}

// The queue is gone when the document is put on paper: the user is told which printer and what
// the spooler said, the storage file stays, and the caller sees the failure.
TEST_F(frmDrucken_CupsTest, QueueRemovedBeforePrintingIsToldAndTheStorageKept) {
  route(GetRechnerName(), 1, 99, 1, 99999, kQueue, 1);
  druckausgabe::ladeFormular(*fenster, db, vorlage);
  for (const QString& aktuell : {QString(), kQueue}) {
    SCOPED_TRACE(aktuell.toStdString());
    printing::setCurrentPrinter(aktuell);
    fenster->JobBeginn();
    const auto vorher = dialogs->messageBoxes().size();
    ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), kQueue})) << cupsd->failure();
    druckausgabe::dokument(*fenster, 2, vorlage, QStringLiteral("Rechnung 4712"), 1);
    const auto boxen = dialogs->messageBoxes().mid(vorher);
    ASSERT_EQ(boxen.size(), 1);
    EXPECT_TRUE(boxen[0].text.contains(kQueue)) << boxen[0].text.toStdString();
    EXPECT_EQ(fenster->ExitCode(), 1);
    EXPECT_TRUE(QFileInfo::exists(fenster->Speicherdatei));
    ASSERT_TRUE(cupsd->addPclQueue(kQueue)) << cupsd->failure();
  }
}

// The disk fills up while the print file is written: nothing reaches the queue, the user is told
// at this call, and the storage file stays whole.
TEST_F(frmDrucken_CupsTest, PrintFileCutByAFullDiskIsNotSubmittedAndTheStorageKept) {
  route(GetRechnerName(), 1, 99, 1, 99999, kQueue, 0);
  druckausgabe::ladeFormular(*fenster, db, vorlage);
  testsupport::mitDateigrenze(4096, [&] {  // room for the storage file, not for the PDF
    druckausgabe::dokument(*fenster, 2, vorlage, QStringLiteral("Rechnung 4713"), 1);
  });
  cups_job_t* auftraege = nullptr;
  const int anzahl = cupsGetJobs2(CUPS_HTTP_DEFAULT, &auftraege, kQueue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
  cupsFreeJobs(anzahl, auftraege);
  EXPECT_EQ(anzahl, 0);
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(dialogs->messageBoxes()[0].text.contains(QStringLiteral("File too large")));
  EXPECT_EQ(fenster->ExitCode(), 1);
  EXPECT_EQ(druckausgabe::seitenTexte(fenster->Speicherdatei), druckausgabe::seiten(QStringLiteral("Rechnung 4713"), 1));
}
