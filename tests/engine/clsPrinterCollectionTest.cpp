// The snapshot of installed printers: order, search by device name, walk, log lines.
#include "engine/clsPrinterCollection.h"

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

using enginetest::printer;

TEST(clsPrinterCollectionTest, BuildsOneRecordPerPrinterInThePlatformsOrderAndLogsEach) {
  enginetest::DebugLog log;
  enginetest::FakeCatalogue cat;
  cat->setPrinters({printer(QStringLiteral("Zeta"), {QStringLiteral("Fach 1")}), printer(QStringLiteral("Alpha"))});
  clsPrinterCollection printers;
  ASSERT_TRUE(printers.FirstPrinter());
  EXPECT_EQ(printers.CurPrinter()->DeviceName(), QStringLiteral("Zeta"));
  EXPECT_EQ(printers.CurPrinter()->PaperSourceName(1), QStringLiteral("Fach 1"));
  ASSERT_TRUE(printers.NextPrinter());
  EXPECT_EQ(printers.CurPrinter()->DeviceName(), QStringLiteral("Alpha"));
  EXPECT_FALSE(printers.NextPrinter());
  EXPECT_EQ(printers.CurPrinter()->DeviceName(), QStringLiteral("Alpha"));
  EXPECT_EQ(log.lines(), (QStringList{QStringLiteral("->LoadPrinterOptions Zeta"), QStringLiteral("LoadPrinterOptions Zeta->"),
                                      QStringLiteral("->LoadPrinterOptions Alpha"),
                                      QStringLiteral("LoadPrinterOptions Alpha->")}));
}

TEST(clsPrinterCollectionTest, IsASnapshotOfItsCreation) {
  enginetest::FakeCatalogue cat;
  cat->setPrinters({printer(QStringLiteral("Alt"))});
  clsPrinterCollection printers;
  cat->setPrinters({printer(QStringLiteral("Neu"))});
  EXPECT_TRUE(printers.SeekPrinter(QStringLiteral("Alt")));
  EXPECT_FALSE(printers.SeekPrinter(QStringLiteral("Neu")));
}

TEST(clsPrinterCollectionTest, SeekPrinterIgnoresLetterCaseAndLogs) {
  enginetest::DebugLog log;
  enginetest::FakeCatalogue cat;
  cat->setPrinters({printer(QStringLiteral("Büro-Laser"))});
  clsPrinterCollection printers;
  const int before = log.lines().size();
  ASSERT_TRUE(printers.SeekPrinter(QStringLiteral("BÜRO-LASER")));
  EXPECT_EQ(printers.CurPrinter()->DeviceName(), QStringLiteral("Büro-Laser"));
  EXPECT_EQ(log.lines().mid(before),
            (QStringList{QStringLiteral("->SeekPrinter"), QStringLiteral("SeekPrinter (Drucker gefunden)->")}));
}

TEST(clsPrinterCollectionTest, SeekPrinterFindsTheFirstOfTwoWithTheSameName) {
  enginetest::FakeCatalogue cat;
  cat->setPrinters({printer(QStringLiteral("Laser"), {QStringLiteral("Erster")}),
                    printer(QStringLiteral("laser"), {QStringLiteral("Zweiter")})});
  clsPrinterCollection printers;
  ASSERT_TRUE(printers.SeekPrinter(QStringLiteral("LASER")));
  EXPECT_EQ(printers.CurPrinter()->PaperSourceName(1), QStringLiteral("Erster"));
  // The position follows the found printer: the next one is the second.
  ASSERT_TRUE(printers.NextPrinter());
  EXPECT_EQ(printers.CurPrinter()->PaperSourceName(1), QStringLiteral("Zweiter"));
}

TEST(clsPrinterCollectionTest, MissingPrinterIsNotFoundAndKeepsTheCurrentPrinter) {
  enginetest::DebugLog log;
  enginetest::FakeCatalogue cat;
  cat->setPrinters({printer(QStringLiteral("Laser"))});
  clsPrinterCollection printers;
  EXPECT_FALSE(printers.SeekPrinter(QStringLiteral("Laser2")));
  EXPECT_FALSE(printers.CurPrinter());
  ASSERT_TRUE(printers.SeekPrinter(QStringLiteral("Laser")));
  EXPECT_FALSE(printers.SeekPrinter(QStringLiteral("Tinte")));
  ASSERT_TRUE(printers.CurPrinter());
  EXPECT_EQ(printers.CurPrinter()->DeviceName(), QStringLiteral("Laser"));
  EXPECT_EQ(log.lines().last(), QStringLiteral("SeekPrinter (Drucker 'Tinte' nicht gefunden)->"));
}

TEST(clsPrinterCollectionTest, SinglePrinterWalk) {
  enginetest::FakeCatalogue cat;
  cat->setPrinters({printer(QStringLiteral("Laser"))});
  clsPrinterCollection printers;
  EXPECT_TRUE(printers.FirstPrinter());
  EXPECT_FALSE(printers.NextPrinter());
}

TEST(clsPrinterCollectionTest, NoPrintersNoWalk) {
  enginetest::FakeCatalogue cat;
  clsPrinterCollection printers;
  EXPECT_FALSE(printers.FirstPrinter());
  EXPECT_FALSE(printers.NextPrinter());
  EXPECT_FALSE(printers.CurPrinter());
}
