#include "platform/printing/CurrentPrinter.h"

#include <gtest/gtest.h>

#include "platform/printing/FakePrinterCatalogue.h"

namespace {

class CurrentPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = std::make_shared<printing::FakePrinterCatalogue>();
    fake->setDefaultPrinter(QStringLiteral("Laser"));
    printing::setCatalogue(fake);
    printing::setCurrentPrinter({});
  }
  void TearDown() override {
    printing::setCurrentPrinter({});
    printing::setCatalogue(nullptr);
  }
  std::shared_ptr<printing::FakePrinterCatalogue> fake;
};

}  // namespace

TEST_F(CurrentPrinterTest, IsTheDefaultPrinterUntilOneIsSelected) {
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Laser"));
  fake->setDefaultPrinter(QStringLiteral("Tinte"));
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Tinte"));
}

TEST_F(CurrentPrinterTest, SelectedPrinterStaysWhenTheDefaultChanges) {
  printing::setCurrentPrinter(QStringLiteral("Etiketten"));
  fake->setDefaultPrinter(QStringLiteral("Tinte"));
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Etiketten"));
}

TEST_F(CurrentPrinterTest, EmptySelectionFollowsTheDefaultAgain) {
  printing::setCurrentPrinter(QStringLiteral("Etiketten"));
  printing::setCurrentPrinter({});
  EXPECT_EQ(printing::currentPrinter(), QStringLiteral("Laser"));
}

TEST_F(CurrentPrinterTest, NoDefaultAndNoSelectionGivesEmptyName) {
  fake->setDefaultPrinter({});
  EXPECT_TRUE(printing::currentPrinter().isEmpty());
}
