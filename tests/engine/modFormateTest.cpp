#include <gtest/gtest.h>

#include "engine/modFormate.h"
#include "platform/vb/Format.h"
#include "tests/platform/vb/VbTestSupport.h"

namespace {

// Keeps the process-wide formats of one test away from the next.
class modFormateTest : public ::testing::Test {
 protected:
  void SetUp() override { setAll(QString()); }
  void TearDown() override { setAll(QString()); }
  static void setAll(const QString& f) {
    SetBetraegeFormat(f);
    SetProzentFormat(f);
    SetMWSTSatzFormat(f);
  }
  // What the batch print stores from its settings defaults.
  static void batchDefaults() {
    SetBetraegeFormat(QStringLiteral("#,##0.00"));
    SetProzentFormat(QStringLiteral("#,#0.0%"));
    SetMWSTSatzFormat(QStringLiteral("#,#0.0%"));
  }
};

}  // namespace

TEST(modFormate, FormatsAreEmptyWhenTheProcessStarts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::_Exit(GetBetraegeFormat().isEmpty() && GetProzentFormat().isEmpty() &&
                                 GetMWSTSatzFormat().isEmpty() && BetragFormatieren(1234.5) == QStringLiteral("1234,5")
                             ? 0
                             : 1),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(modFormateTest, WithoutFormatsAmountsComeInTheGeneralForm) {
  EXPECT_EQ(BetragFormatieren(1234.5), QStringLiteral("1234,5"));
  EXPECT_EQ(BetragFormatieren(-3), QStringLiteral("-3"));
  EXPECT_EQ(BetragFormatieren(0.1 + 0.2), QStringLiteral("0,3"));
}

TEST_F(modFormateTest, AfterTheBatchDefaultsAmountsAreGroupedWithTwoDecimals) {
  batchDefaults();
  EXPECT_EQ(BetragFormatieren(1234.5), QStringLiteral("1.234,50"));
  EXPECT_EQ(BetragFormatieren(-3), QStringLiteral("-3,00"));
  EXPECT_EQ(BetragFormatieren(-0.001), QStringLiteral("0,00"));
}

TEST_F(modFormateTest, TheLocaleSettingDecidesTheSeparators) {
  vbtest::LocaleGuard guard;
  vb::setSystemLocaleForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
  batchDefaults();
  EXPECT_EQ(BetragFormatieren(1234.5), QStringLiteral("1,234.50"));
}

TEST_F(modFormateTest, PercentAndRateFormatsAreKeptForTheirUsers) {
  batchDefaults();
  EXPECT_EQ(GetProzentFormat(), QStringLiteral("#,#0.0%"));
  EXPECT_EQ(vb::Format(vb::Variant(0.03), GetProzentFormat()), QStringLiteral("3,0%"));
  SetMWSTSatzFormat(QStringLiteral("0%"));
  EXPECT_EQ(vb::Format(vb::Variant(0.19), GetMWSTSatzFormat()), QStringLiteral("19%"));
  EXPECT_EQ(GetProzentFormat(), QStringLiteral("#,#0.0%"));
  EXPECT_EQ(GetBetraegeFormat(), QStringLiteral("#,##0.00"));
}

TEST_F(modFormateTest, AmountFormatStaysUntilTheNextWriter) {
  SetBetraegeFormat(QStringLiteral("#,##0.00#"));
  EXPECT_EQ(BetragFormatieren(1.2345), QStringLiteral("1,235"));
  EXPECT_EQ(BetragFormatieren(1.2), QStringLiteral("1,20"));
}
