// The CUPS catalogue against a private cupsd with file-device queues.
#include "platform/printing/CupsPrinterCatalogue.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"

using printing::CupsPrinterCatalogue;
using printing::PrinterInfo;
using testsupport::PrivateCupsd;

namespace {

class CupsPrinterCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
    cupsd = std::make_unique<PrivateCupsd>();
    ASSERT_TRUE(cupsd->start()) << cupsd->failure();
  }

  const PrinterInfo* find(const QList<PrinterInfo>& list, const char* name) {
    for (const PrinterInfo& p : list)
      if (p.deviceName == QLatin1String(name)) return &p;
    return nullptr;
  }

  std::unique_ptr<PrivateCupsd> cupsd;
  CupsPrinterCatalogue catalogue;
};

}  // namespace

TEST_F(CupsPrinterCatalogueTest, ListsTheQueueWithItsBinsInTheDriversOrder) {
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Laser"))) << cupsd->failure();
  const QList<PrinterInfo> printers = catalogue.printers();
  ASSERT_EQ(printers.size(), 1);
  const PrinterInfo& p = printers.first();
  EXPECT_EQ(p.deviceName, QStringLiteral("Laser"));
  EXPECT_EQ(p.port, QStringLiteral("file://") + cupsd->outputFile(QStringLiteral("Laser")));
  EXPECT_EQ(p.binOption, QStringLiteral("InputSlot"));

  const QStringList names = {QStringLiteral("Tray 1"), QStringLiteral("Tray 2"), QStringLiteral("Tray 3"),
                             QStringLiteral("Tray 4"), QStringLiteral("Manual Feed"),
                             QStringLiteral("Envelope Feed")};
  const QStringList keywords = {QStringLiteral("Tray1"), QStringLiteral("Tray2"),  QStringLiteral("Tray3"),
                                QStringLiteral("Tray4"), QStringLiteral("Manual"), QStringLiteral("Envelope")};
  ASSERT_EQ(p.bins.size(), names.size());
  for (int i = 0; i < names.size(); ++i) {
    EXPECT_EQ(p.bins.at(i).number, i + 1);
    EXPECT_EQ(p.bins.at(i).name, names.at(i));
    EXPECT_EQ(p.bins.at(i).keyword, keywords.at(i));
  }
  // The driver's default is "printer default", which is none of the trays.
  EXPECT_EQ(p.currentBin, 0);
}

TEST_F(CupsPrinterCatalogueTest, CurrentBinIsThePrintersDefaultBin) {
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Laser"))) << cupsd->failure();
  ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), QStringLiteral("Laser"),
                                                     QStringLiteral("-o"), QStringLiteral("InputSlot=Tray3")}))
      << cupsd->failure();
  const std::optional<PrinterInfo> p = catalogue.printer(QStringLiteral("Laser"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->currentBin, 3);
}

TEST_F(CupsPrinterCatalogueTest, PrintersAreSortedByName) {
  for (const char* name : {"Zebra", "Laser", "alpha"})
    ASSERT_TRUE(cupsd->addPclQueue(QString::fromUtf8(name))) << cupsd->failure();
  QStringList names;
  for (const PrinterInfo& p : catalogue.printers()) names.append(p.deviceName);
  EXPECT_EQ(names, (QStringList{QStringLiteral("alpha"), QStringLiteral("Laser"), QStringLiteral("Zebra")}));
}

TEST_F(CupsPrinterCatalogueTest, DefaultPrinterIsTheServersDefaultDestination) {
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Laser"))) << cupsd->failure();
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Tinte"))) << cupsd->failure();
  EXPECT_TRUE(catalogue.defaultPrinter().isEmpty());
  ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("Tinte")}))
      << cupsd->failure();
  EXPECT_EQ(catalogue.defaultPrinter(), QStringLiteral("Tinte"));
}

TEST_F(CupsPrinterCatalogueTest, QueueWithoutDriverIsListedWithoutBins) {
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Laser"))) << cupsd->failure();
  ASSERT_TRUE(cupsd->run(QStringLiteral("lpadmin"),
                         {QStringLiteral("-p"), QStringLiteral("Roh"), QStringLiteral("-E"), QStringLiteral("-v"),
                          QStringLiteral("file://") + cupsd->outputFile(QStringLiteral("Roh")), QStringLiteral("-m"),
                          QStringLiteral("raw")}))
      << cupsd->failure();
  const QList<PrinterInfo> printers = catalogue.printers();
  ASSERT_EQ(printers.size(), 2);
  const PrinterInfo* raw = find(printers, "Roh");
  ASSERT_TRUE(raw);
  EXPECT_TRUE(raw->bins.isEmpty());
  EXPECT_EQ(raw->currentBin, 0);
  ASSERT_TRUE(find(printers, "Laser"));
  EXPECT_EQ(find(printers, "Laser")->bins.size(), 6);
}

TEST_F(CupsPrinterCatalogueTest, PrinterIsFoundWhateverTheLetterCase) {
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Laser"))) << cupsd->failure();
  const std::optional<PrinterInfo> p = catalogue.printer(QStringLiteral("LASER"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->deviceName, QStringLiteral("Laser"));
  EXPECT_FALSE(catalogue.printer(QStringLiteral("Tinte")));
}

TEST_F(CupsPrinterCatalogueTest, UnreachableServerHasNoPrinters) {
  ASSERT_TRUE(cupsd->addPclQueue(QStringLiteral("Laser"))) << cupsd->failure();
  ASSERT_EQ(catalogue.printers().size(), 1);
  const QByteArray nowhere = (cupsd->folder() + QStringLiteral("/nowhere.sock")).toUtf8();
  cupsSetServer(nowhere.constData());
  EXPECT_TRUE(catalogue.printers().isEmpty());
  EXPECT_TRUE(catalogue.defaultPrinter().isEmpty());
  EXPECT_FALSE(catalogue.printer(QStringLiteral("Laser")));
  cupsSetServer(cupsd->socketPath().toUtf8().constData());
}
