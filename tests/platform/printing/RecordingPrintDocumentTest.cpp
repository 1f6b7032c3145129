// The page rules every print document follows (PrintDocument), seen through the recording one.
#include "platform/printing/RecordingPrintDocument.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "platform/vb/VbError.h"

using printing::RecordingPrintDocument;

namespace {

QStringList ev(std::initializer_list<const char*> items) {
  QStringList list;
  for (const char* i : items) list.append(QString::fromUtf8(i));
  return list;
}

void drawSomething(QPainter& p) { p.drawLine(0, 0, 100, 100); }

long errorNumber(const std::function<void()>& step) {
  try {
    step();
  } catch (const vb::VbError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

TEST(RecordingPrintDocument, RecordsPrinterBinTitleAndPages) {
  RecordingPrintDocument doc;
  doc.begin(QStringLiteral("Laser"), 2, QStringLiteral("Rechnung 4711"), QPageSize(QPageSize::A5));
  drawSomething(doc.painter());
  doc.newPage();
  drawSomething(doc.painter());
  EXPECT_EQ(doc.end(), 1);

  ASSERT_EQ(doc.documents().size(), 1);
  const auto& d = doc.documents().first();
  EXPECT_EQ(d.printer, QStringLiteral("Laser"));
  EXPECT_EQ(d.bin, 2);
  EXPECT_EQ(d.title, QStringLiteral("Rechnung 4711"));
  EXPECT_EQ(d.pageSize.id(), QPageSize::A5);
  EXPECT_EQ(d.job, 1);
  ASSERT_EQ(d.pages.size(), 2);
  EXPECT_EQ(d.pages.at(1).boundingRect(), QPageSize(QPageSize::A5).rectPoints());
  EXPECT_EQ(doc.events(), ev({"begin Laser 2", "page 1", "page 2", "submit 1", "close"}));
}

TEST(RecordingPrintDocument, TrailingNewPageGivesNoEmptySheet) {
  RecordingPrintDocument doc;
  doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("t"));
  for (int i = 0; i < 3; ++i) {
    drawSomething(doc.painter());
    doc.newPage();
  }
  EXPECT_EQ(doc.pageCount(), 3);
  doc.end();
  EXPECT_EQ(doc.documents().first().pages.size(), 3);
}

TEST(RecordingPrintDocument, NewPageOnAnUntouchedPageGivesABlankSheet) {
  RecordingPrintDocument doc;
  doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("t"));
  drawSomething(doc.painter());
  doc.newPage();
  doc.newPage();
  drawSomething(doc.painter());
  doc.end();
  EXPECT_EQ(doc.documents().first().pages.size(), 3);
  const auto& pages = doc.documents().first().pages;
  EXPECT_LT(pages.at(1).size(), pages.at(0).size());  // nothing drawn on the blank one
}

TEST(RecordingPrintDocument, DocumentWithoutPagesIsNotSubmitted) {
  RecordingPrintDocument doc;
  doc.begin(QStringLiteral("Laser"), 1, QStringLiteral("leer"));
  EXPECT_EQ(doc.end(), 0);
  EXPECT_FALSE(doc.isOpen());
  EXPECT_EQ(doc.documents().first().job, 0);
  EXPECT_EQ(doc.events(), ev({"begin Laser 1", "close"}));
}

TEST(RecordingPrintDocument, EndWithoutOpenDocumentDoesNothing) {
  RecordingPrintDocument doc;
  EXPECT_EQ(doc.end(), 0);
  EXPECT_TRUE(doc.events().isEmpty());
}

TEST(RecordingPrintDocument, SecondBeginWhileOpenRaises5) {
  RecordingPrintDocument doc;
  doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("a"));
  EXPECT_EQ(errorNumber([&] { doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("b")); }), 5);
  EXPECT_TRUE(doc.isOpen());
  EXPECT_EQ(doc.documents().size(), 1);
}

TEST(RecordingPrintDocument, DrawingWithoutOpenDocumentRaises5) {
  RecordingPrintDocument doc;
  EXPECT_EQ(errorNumber([&] { doc.painter(); }), 5);
  EXPECT_EQ(errorNumber([&] { doc.newPage(); }), 5);
}

TEST(RecordingPrintDocument, FailedSubmissionRaises482AndClosesTheDocument) {
  RecordingPrintDocument doc;
  doc.failSubmissions(QStringLiteral("printer on fire"));
  doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("t"));
  drawSomething(doc.painter());
  try {
    doc.end();
    FAIL() << "a failed submission was reported as success";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 482);
    EXPECT_EQ(e.description(), QStringLiteral("printer on fire"));
  }
  EXPECT_FALSE(doc.isOpen());
  EXPECT_EQ(doc.documents().first().job, 0);

  doc.failSubmissions({});
  doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("t2"));
  drawSomething(doc.painter());
  EXPECT_EQ(doc.end(), 1);
}

TEST(RecordingPrintDocument, AbortClosesWithoutSubmitting) {
  RecordingPrintDocument doc;
  doc.begin(QStringLiteral("Laser"), 0, QStringLiteral("t"));
  drawSomething(doc.painter());
  doc.abort();
  EXPECT_FALSE(doc.isOpen());
  EXPECT_EQ(doc.events(), ev({"begin Laser 0", "page 1", "close"}));
}

TEST(RecordingPrintDocument, UnknownPrinterRaises482WhenPrintersAreGiven) {
  RecordingPrintDocument doc;
  doc.setPrinters({QStringLiteral("Laser")});
  EXPECT_EQ(errorNumber([&] { doc.begin(QStringLiteral("Tinte"), 0, QStringLiteral("t")); }), 482);
  EXPECT_FALSE(doc.isOpen());
  doc.begin(QStringLiteral("LASER"), 0, QStringLiteral("t"));
  EXPECT_TRUE(doc.isOpen());
}
