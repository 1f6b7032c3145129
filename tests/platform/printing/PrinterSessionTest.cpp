#include "platform/printing/PrinterSession.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "platform/printing/CurrentPrinter.h"
#include "platform/printing/FakePrinterCatalogue.h"
#include "platform/printing/RecordingPrintDocument.h"
#include "platform/vb/VbError.h"

using printing::PrinterSession;
using printing::RecordingPrintDocument;

namespace {

QStringList ev(std::initializer_list<const char*> items) {
  QStringList list;
  for (const char* i : items) list.append(QString::fromUtf8(i));
  return list;
}

class PrinterSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto fake = std::make_shared<printing::FakePrinterCatalogue>();
    fake->setDefaultPrinter(QStringLiteral("Standarddrucker"));
    printing::setCatalogue(fake);
    printing::setCurrentPrinter({});
  }
  void TearDown() override {
    printing::setCurrentPrinter({});
    printing::setCatalogue(nullptr);
  }

  // Draws one page the way the page loop does: select, draw, new sheet.
  void page(PrinterSession& s, const char* printer, int bin) {
    s.setPrinter(QString::fromUtf8(printer));
    s.setBin(bin);
    s.painter().drawLine(0, 0, 10, 10);
    s.newPage();
  }

  RecordingPrintDocument doc;
};

}  // namespace

TEST_F(PrinterSessionTest, StartsOnTheCurrentPrinterWithTheBinUnchanged) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  EXPECT_EQ(s.printer(), QStringLiteral("Standarddrucker"));
  s.painter();
  EXPECT_EQ(doc.events(), ev({"begin Standarddrucker 0", "page 1"}));
  EXPECT_EQ(doc.documents().first().title, QStringLiteral("Rechnung"));
}

TEST_F(PrinterSessionTest, ChangeOfBinEndsTheDocumentAndStartsTheNext) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  page(s, "Laser", 2);
  page(s, "Laser", 3);
  page(s, "Laser", 3);
  s.end();
  EXPECT_EQ(doc.events(), ev({"begin Laser 2", "page 1", "submit 1", "close", "begin Laser 3", "page 1", "page 2",
                              "submit 2", "close"}));
}

TEST_F(PrinterSessionTest, ChangeOfPrinterEndsTheDocumentAndStartsTheNext) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  page(s, "Laser", 1);
  page(s, "Tinte", 1);
  s.end();
  ASSERT_EQ(doc.documents().size(), 2);
  EXPECT_EQ(doc.documents().at(0).printer, QStringLiteral("Laser"));
  EXPECT_EQ(doc.documents().at(1).printer, QStringLiteral("Tinte"));
  EXPECT_EQ(doc.documents().at(1).pages.size(), 1);
}

TEST_F(PrinterSessionTest, PrinterNameInOtherLetterCaseKeepsTheDocument) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  page(s, "Laser", 1);
  page(s, "LASER", 1);
  s.end();
  ASSERT_EQ(doc.documents().size(), 1);
  EXPECT_EQ(doc.documents().first().pages.size(), 2);
}

TEST_F(PrinterSessionTest, SelectedPrinterBecomesTheProcessCurrentPrinter) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  s.setPrinter(QStringLiteral("Tinte"));
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Tinte"));
  PrinterSession next(QStringLiteral("Mahnung"), doc);
  EXPECT_EQ(next.printer(), QStringLiteral("Tinte"));
}

TEST_F(PrinterSessionTest, BinBelowOneMeansTheBinStaysUnchanged) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  page(s, "Laser", 0);
  page(s, "Laser", -1);
  s.end();
  ASSERT_EQ(doc.documents().size(), 1);
  EXPECT_EQ(doc.documents().first().bin, 0);
  EXPECT_EQ(doc.documents().first().pages.size(), 2);
}

TEST_F(PrinterSessionTest, LastPageFirstWithoutTrailingSheet) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  s.setPrinter(QStringLiteral("Laser"));
  for (int p = 3; p >= 1; --p) {
    s.setBin(p == 1 ? 1 : 2);
    s.painter().drawText(10, 10, QString::number(p));
    if (p > 1) s.newPage();
  }
  s.end();
  EXPECT_EQ(doc.events(), ev({"begin Laser 2", "page 1", "page 2", "submit 1", "close", "begin Laser 1", "page 1",
                              "submit 2", "close"}));
}

TEST_F(PrinterSessionTest, EndWithoutPagesSubmitsNothing) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  s.setPrinter(QStringLiteral("Laser"));
  s.setBin(2);
  EXPECT_EQ(s.end(), 0);
  EXPECT_TRUE(doc.events().isEmpty());
}

TEST_F(PrinterSessionTest, SessionLeftWithoutEndPrintsNothing) {
  {
    PrinterSession s(QStringLiteral("Rechnung"), doc);
    page(s, "Laser", 1);
  }
  EXPECT_EQ(doc.events(), ev({"begin Laser 1", "page 1", "close"}));
}

TEST_F(PrinterSessionTest, FailedEndOnBinChangeStillSelectsTheNewBin) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  page(s, "Laser", 1);
  doc.failSubmissions(QStringLiteral("kein Papier"));
  EXPECT_THROW(s.setBin(2), vb::VbError);
  EXPECT_EQ(s.bin(), 2);
  doc.failSubmissions({});
  s.painter();
  s.end();
  EXPECT_EQ(doc.documents().last().bin, 2);
  EXPECT_EQ(doc.documents().last().job, 1);
}

TEST_F(PrinterSessionTest, FailedEndOnPrinterChangeStillSelectsTheNewPrinter) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  page(s, "Laser", 1);
  doc.failSubmissions(QStringLiteral("offline"));
  EXPECT_THROW(s.setPrinter(QStringLiteral("Tinte")), vb::VbError);
  EXPECT_EQ(s.printer(), QStringLiteral("Tinte"));
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Tinte"));
  EXPECT_FALSE(doc.isOpen());
}

TEST_F(PrinterSessionTest, PagesGoOnTheAskedPageSize) {
  PrinterSession s(QStringLiteral("Etiketten"), doc, QPageSize(QPageSize::A5));
  s.painter();
  s.end();
  EXPECT_EQ(doc.documents().first().pageSize.id(), QPageSize::A5);
}

TEST_F(PrinterSessionTest, NewPageWithoutDocumentOpensOneWithABlankSheet) {
  PrinterSession s(QStringLiteral("Rechnung"), doc);
  s.setPrinter(QStringLiteral("Laser"));
  s.newPage();
  s.painter().drawLine(0, 0, 5, 5);
  s.end();
  ASSERT_EQ(doc.documents().size(), 1);
  EXPECT_EQ(doc.documents().first().pages.size(), 2);
}
