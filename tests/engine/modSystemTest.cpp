// The default printer and the computer name, from the fake catalogue and from a private cupsd.
#include "engine/modSystem.h"

#include <gtest/gtest.h>

#include "engine/clsDruckerSchacht.h"
#include "engine/clsPrinterCollection.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"

using testsupport::PrivateCupsd;

TEST(modSystemTest, DefaultPrinterIsTheCataloguesDefaultAndEmptyWithoutOne) {
  enginetest::FakeCatalogue cat;
  cat->setDefaultPrinter(QStringLiteral("Büro Laser"));
  EXPECT_EQ(DefaultPrinterName(), QStringLiteral("Büro Laser"));
  cat->setDefaultPrinter(QString());
  EXPECT_EQ(DefaultPrinterName(), QString());
}

TEST(modSystemTest, ComputerNameFitsTheRouteTables) {
  const QString name = GetRechnerName();
  EXPECT_FALSE(name.isEmpty());
  EXPECT_LE(name.size(), 15);
  EXPECT_EQ(name, name.toUpper());
  EXPECT_FALSE(name.contains(QLatin1Char('.')));
  EXPECT_EQ(GetRechnerName(), name);
}

// The whole road on real CUPS: the default destination resolves a "Standard" route, and the
// queue's bins are listed as the tray panels see them.
TEST(modSystemTest, StandardRouteResolvesToTheCupsDefaultDestination) {
  SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
  PrivateCupsd cupsd;
  ASSERT_TRUE(cupsd.start()) << cupsd.failure();
  ASSERT_TRUE(cupsd.addPclQueue(QStringLiteral("Laser"))) << cupsd.failure();
  ASSERT_TRUE(cupsd.addPclQueue(QStringLiteral("Etiketten"))) << cupsd.failure();
  ASSERT_TRUE(cupsd.run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("Etiketten")})) << cupsd.failure();
  EXPECT_EQ(DefaultPrinterName(), QStringLiteral("Etiketten"));

  clsPrinterCollection printers;
  ASSERT_TRUE(printers.SeekPrinter(QStringLiteral("laser")));
  EXPECT_EQ(printers.CurPrinter()->PaperSourceNr(QStringLiteral("Tray 3")), 3);
  EXPECT_EQ(printers.CurPrinter()->PaperSourceName(5), QStringLiteral("Manual Feed"));

  ui::ScopedScriptedDialogs dialogs;
  enginetest::FormDatabase db;
  db.addForm(3, 1);
  db.addRoute(QStringLiteral("$GLOBAL$"), 3, 1, 1, 99, 1, 9999, QStringLiteral("'Standard'"));
  clsDruckerSchacht ds;
  ds.LoadDruckForm(GetRechnerName(), 1, 3);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Etiketten"));
  EXPECT_EQ(ds.SchachtText(1, 1), QStringLiteral("Standard"));
}
