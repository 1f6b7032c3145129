// Printing through a private cupsd: a generic PCL queue on a file device, whose output shows
// which tray each job asked for (PCL "ESC & l <n> H").
#include "platform/printing/CupsPrintDocument.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include "platform/printing/PrinterSession.h"
#include "platform/vb/VbError.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/TempDir.h"
#include "tests/support/RequireTool.h"

using printing::CupsPrintDocument;
using printing::PrinterSession;
using testsupport::PrivateCupsd;

namespace {

const QString Queue = QStringLiteral("Laser");

// Counts the occurrences of `needle` in `haystack`.
int count(const QByteArray& haystack, const QByteArray& needle) {
  int n = 0;
  for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1)) ++n;
  return n;
}

class CupsPrintDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
    cupsd = std::make_unique<PrivateCupsd>();
    ASSERT_TRUE(cupsd->start()) << cupsd->failure();
    ASSERT_TRUE(cupsd->addPclQueue(Queue)) << cupsd->failure();
    // Temporary PDFs go to a folder of the test's own, so it can see them come and go.
    previousTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toUtf8());
  }
  void TearDown() override {
    if (previousTmp.isEmpty()) {
      qunsetenv("TMPDIR");
    } else {
      qputenv("TMPDIR", previousTmp);
    }
  }

  QByteArray trayEscape(const QString& keyword) { return cupsd->trayEscape(Queue, keyword); }

  // Every tray escape the driver knows, to check that a job carries no other.
  QList<QByteArray> allTrayEscapes() {
    QList<QByteArray> all;
    for (const char* k : {"Tray1", "Tray2", "Tray3", "Tray4", "Manual", "Envelope"}) all.append(trayEscape(QString::fromUtf8(k)));
    return all;
  }

  QStringList temporaryFiles() const { return QDir(tmp.path()).entryList(QDir::Files); }

  void drawPage(QPainter& p, int number) {
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 24));
    p.drawText(QRectF(0, 0, p.device()->width(), p.device()->height()), Qt::AlignCenter,
               QStringLiteral("Seite %1").arg(number));
  }

  std::unique_ptr<PrivateCupsd> cupsd;
  testsupport::TempDir tmp;
  QByteArray previousTmp;
};

}  // namespace

TEST_F(CupsPrintDocumentTest, BinChangeGivesTwoJobsWithTheirTrays) {
  const QByteArray tray2 = trayEscape(QStringLiteral("Tray2"));
  const QByteArray tray3 = trayEscape(QStringLiteral("Tray3"));
  ASSERT_FALSE(tray2.isEmpty());
  ASSERT_FALSE(tray3.isEmpty());
  ASSERT_NE(tray2, tray3);

  CupsPrintDocument doc;
  PrinterSession session(QStringLiteral("Rechnung Müller 4711"), doc);
  session.setPrinter(Queue);
  for (int page = 1; page <= 3; ++page) {
    session.setBin(page == 1 ? 2 : 3);
    drawPage(session.painter(), page);
    session.newPage();
  }
  session.end();

  const auto jobs = cupsd->takeJobs(Queue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  ASSERT_EQ(jobs->size(), 2);
  const QByteArray& first = jobs->at(0).output;
  const QByteArray& second = jobs->at(1).output;
  EXPECT_EQ(jobs->at(0).title, QStringLiteral("Rechnung Müller 4711"));
  EXPECT_EQ(jobs->at(1).title, QStringLiteral("Rechnung Müller 4711"));

  for (const QByteArray& escape : allTrayEscapes()) {
    EXPECT_EQ(first.contains(escape), escape == tray2) << escape.mid(1).constData();
    EXPECT_EQ(second.contains(escape), escape == tray3) << escape.mid(1).constData();
  }
  // One page in the first job, two in the second: the driver ends each page with a form feed
  // after its raster data.
  EXPECT_EQ(count(first, "\x1b*r0B\x0c"), 1);
  EXPECT_EQ(count(second, "\x1b*r0B\x0c"), 2);
}

TEST_F(CupsPrintDocumentTest, BinZeroLeavesTheTrayToThePrinter) {
  CupsPrintDocument doc;
  doc.begin(Queue, 0, QStringLiteral("ohne Schacht"));
  drawPage(doc.painter(), 1);
  EXPECT_GT(doc.end(), 0);

  const auto jobs = cupsd->takeJobs(Queue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  ASSERT_EQ(jobs->size(), 1);
  EXPECT_FALSE(jobs->first().output.isEmpty());
  for (const QByteArray& escape : allTrayEscapes()) EXPECT_FALSE(jobs->first().output.contains(escape));
}

TEST_F(CupsPrintDocumentTest, PaperIsThePageSizeAsked) {
  CupsPrintDocument doc;
  doc.begin(Queue, 1, QStringLiteral("A4"), QPageSize(QPageSize::A4));
  drawPage(doc.painter(), 1);
  doc.end();
  doc.begin(Queue, 1, QStringLiteral("Letter"), QPageSize(QPageSize::Letter));
  drawPage(doc.painter(), 1);
  doc.end();

  const auto jobs = cupsd->takeJobs(Queue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  ASSERT_EQ(jobs->size(), 2);
  // PCL page size codes: 26 is A4, 2 is Letter.
  EXPECT_TRUE(jobs->at(0).output.contains("\x1b&l26A"));
  EXPECT_TRUE(jobs->at(1).output.contains("\x1b&l2A"));
}

TEST_F(CupsPrintDocumentTest, TemporaryPdfIsRemovedAfterTheJob) {
  CupsPrintDocument doc;
  doc.begin(Queue, 1, QStringLiteral("t"));
  drawPage(doc.painter(), 1);
  // The PDF gets its name in the folder when it is handed to the server.
  EXPECT_GT(doc.end(), 0);
  EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(QLatin1Char(' ')).toStdString();
}

TEST_F(CupsPrintDocumentTest, RemovedQueueIsAnErrorWithTheServersMessage) {
  CupsPrintDocument doc;
  doc.begin(Queue, 2, QStringLiteral("t"));
  drawPage(doc.painter(), 1);
  ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), Queue})) << cupsd->failure();
  try {
    doc.end();
    FAIL() << "a job for a removed queue was reported as printed";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 482);
    EXPECT_TRUE(e.description().contains(Queue)) << e.description().toStdString();
    EXPECT_GT(e.description().size(), Queue.size() + 12) << "no message from the server";
  }
  EXPECT_FALSE(doc.isOpen());
  EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(CupsPrintDocumentTest, QueueRejectingJobsIsAnError) {
  ASSERT_TRUE(cupsd->run(QStringLiteral("cupsreject"), {Queue})) << cupsd->failure();
  CupsPrintDocument doc;
  doc.begin(Queue, 1, QStringLiteral("t"));
  drawPage(doc.painter(), 1);
  EXPECT_THROW(doc.end(), vb::VbError);
  const auto jobs = cupsd->takeJobs(Queue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  EXPECT_TRUE(jobs->isEmpty());
}

TEST_F(CupsPrintDocumentTest, UnknownPrinterRaises482AtBegin) {
  CupsPrintDocument doc;
  try {
    doc.begin(QStringLiteral("Tinte"), 0, QStringLiteral("t"));
    FAIL() << "began a document on a printer that does not exist";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 482);
  }
  EXPECT_FALSE(doc.isOpen());
}

TEST_F(CupsPrintDocumentTest, BinThePrinterDoesNotHaveRaises380AtBegin) {
  CupsPrintDocument doc;
  try {
    doc.begin(Queue, 7, QStringLiteral("t"));
    FAIL() << "began a document on bin 7 of a printer with 6 bins";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 380);
  }
  EXPECT_FALSE(doc.isOpen());
  EXPECT_TRUE(temporaryFiles().isEmpty());
  doc.begin(Queue, 6, QStringLiteral("t"));
  EXPECT_TRUE(doc.isOpen());
}

TEST_F(CupsPrintDocumentTest, DocumentWithoutPagesMakesNoJob) {
  CupsPrintDocument doc;
  doc.begin(Queue, 1, QStringLiteral("leer"));
  EXPECT_EQ(doc.end(), 0);
  const auto jobs = cupsd->takeJobs(Queue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  EXPECT_TRUE(jobs->isEmpty());
  EXPECT_TRUE(temporaryFiles().isEmpty());
}
