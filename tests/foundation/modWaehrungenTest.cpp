#include <gtest/gtest.h>

#include "foundation/modWaehrungen.h"
#include "platform/vb/Convert.h"
#include "tests/platform/vb/VbTestSupport.h"

using vbtest::errorOf;

TEST(modWaehrungen, EuroSpellingsGiveEUR) {
  for (const char* w : {"1", "", "EURO", "€", "EUR", " eur ", "Euro"})
    EXPECT_EQ(GetWaehrungsKuerzel(QString::fromUtf8(w)), QStringLiteral("EUR")) << w;
}

TEST(modWaehrungen, MarkSpellingsGiveDEM) {
  for (const char* w : {"0", "DM", "dm", " DEM", "dem"})
    EXPECT_EQ(GetWaehrungsKuerzel(QString::fromUtf8(w)), QStringLiteral("DEM")) << w;
}

TEST(modWaehrungen, OtherCurrencyComesBackExactlyAsPassed) {
  EXPECT_EQ(GetWaehrungsKuerzel(QStringLiteral(" CHF ")), QStringLiteral(" CHF "));
  EXPECT_EQ(GetWaehrungsKuerzel(QStringLiteral("usd")), QStringLiteral("usd"));
}

TEST(modWaehrungen, MarkToEuroDividesByTheFixedRate) {
  EXPECT_NEAR(WaehrungUmrechnen(195.583, QStringLiteral("DEM"), QStringLiteral("EUR")), 100.0, 1e-9);
  EXPECT_NEAR(WaehrungUmrechnen(195.583, QStringLiteral("dem"), QStringLiteral("eur")), 100.0, 1e-9);
}

TEST(modWaehrungen, EuroToMarkMultipliesByTheFixedRate) {
  EXPECT_NEAR(WaehrungUmrechnen(100, QStringLiteral("EUR"), QStringLiteral("DEM")), 195.583, 1e-9);
}

TEST(modWaehrungen, SameOrUnknownCurrencyLeavesTheAmount) {
  EXPECT_EQ(WaehrungUmrechnen(12.34, QStringLiteral("EUR"), QStringLiteral("EUR")), 12.34);
  EXPECT_EQ(WaehrungUmrechnen(12.34, QStringLiteral("DEM"), QStringLiteral("DEM")), 12.34);
  EXPECT_EQ(WaehrungUmrechnen(12.34, QStringLiteral("CHF"), QStringLiteral("EUR")), 12.34);
  EXPECT_EQ(WaehrungUmrechnen(12.34, QStringLiteral("EUR"), QStringLiteral("CHF")), 12.34);
}

TEST(modWaehrungen, ConversionIsNotRounded) {
  EXPECT_NE(WaehrungUmrechnen(1, QStringLiteral("DEM"), QStringLiteral("EUR")), 0.51);
  EXPECT_NEAR(WaehrungUmrechnen(1, QStringLiteral("DEM"), QStringLiteral("EUR")), 0.511291881, 1e-9);
}

TEST(modWaehrungen, DifferenceGoesToTheFirstOfTheLargestAmounts) {
  QList<vb::Variant> betraege{vb::Variant(3.33), vb::Variant(3.34), vb::Variant(3.34)};
  RundungsdifferenzAusgleichen(10, betraege);
  EXPECT_NEAR(vb::CDbl(betraege[1]), 3.33, 1e-12);
  EXPECT_EQ(vb::CDbl(betraege[0]), 3.33);
  EXPECT_EQ(vb::CDbl(betraege[2]), 3.34);
}

TEST(modWaehrungen, MatchingSumChangesNothing) {
  QList<vb::Variant> betraege{vb::Variant(2.5), vb::Variant(7.5)};
  RundungsdifferenzAusgleichen(10, betraege);
  EXPECT_EQ(vb::CDbl(betraege[0]), 2.5);
  EXPECT_EQ(vb::CDbl(betraege[1]), 7.5);
}

TEST(modWaehrungen, LargestIsTheHighestSignedValueAndNullCountsAsZero) {
  QList<vb::Variant> betraege{vb::Variant(-50.0), vb::Variant::null(), vb::Variant(1.0)};
  RundungsdifferenzAusgleichen(-50, betraege);
  EXPECT_EQ(vb::CDbl(betraege[0]), -50.0);
  EXPECT_TRUE(betraege[1].isNull());
  EXPECT_EQ(vb::CDbl(betraege[2]), 0.0);
}

TEST(modWaehrungen, AmountThatIsNoNumberIsATypeMismatch) {
  QList<vb::Variant> betraege{vb::Variant(1.0), vb::Variant(QStringLiteral("viel"))};
  EXPECT_EQ(errorOf([&] { RundungsdifferenzAusgleichen(1, betraege); }), 13);
}

TEST(modWaehrungen, EmptyListIsASubscriptError) {
  QList<vb::Variant> betraege;
  EXPECT_EQ(errorOf([&] { RundungsdifferenzAusgleichen(1, betraege); }), 9);
}
