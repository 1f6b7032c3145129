#include <gtest/gtest.h>

#include <cmath>

#include "foundation/modDouble.h"
#include "platform/vb/Convert.h"
#include "tests/platform/vb/VbTestSupport.h"

using vbtest::errorOf;

TEST(modDouble, RundenRoundsHalfAwayFromZeroDespiteBinaryRepresentation) {
  EXPECT_DOUBLE_EQ(Runden(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(Runden(-2.675, 2), -2.68);
  EXPECT_DOUBLE_EQ(Runden(1.005, 2), 1.01);
  EXPECT_DOUBLE_EQ(Runden(100.005, 2), 100.01);
  EXPECT_DOUBLE_EQ(Runden(1234.5649, 2), 1234.56);
}

TEST(modDouble, RundenOfATinyNegativeAmountIsPlainZero) {
  const double r = Runden(-0.004, 2);
  EXPECT_EQ(r, 0.0);
  EXPECT_FALSE(std::signbit(r));
}

TEST(modDouble, RundenKeepsValuesThatNeedNoRounding) {
  EXPECT_DOUBLE_EQ(Runden(19.99, 2), 19.99);
  EXPECT_DOUBLE_EQ(Runden(-7, 2), -7.0);
  EXPECT_DOUBLE_EQ(Runden(1234567.125, 2), 1234567.13);
}

TEST(modDouble, RundenDoesNotDependOnTheLocaleSetting) {
  vbtest::LocaleGuard guard;
  vb::setSystemLocaleForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_DOUBLE_EQ(Runden(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(Runden(1234.5649, 2), 1234.56);
}

TEST(modDouble, RundenToOtherPlaces) {
  EXPECT_DOUBLE_EQ(Runden(2.5, 0), 3.0);
  EXPECT_DOUBLE_EQ(Runden(-2.5, 0), -3.0);
  EXPECT_DOUBLE_EQ(Runden(0.12345, 4), 0.1235);
}

TEST(modDouble, RundenWithTheLargestPlaceCountOverflows) {
  EXPECT_EQ(errorOf([] { Runden(1.5, 32767); }), 6);
  EXPECT_EQ(errorOf([] { Runden(1.5, -1); }), 5);
}

TEST(modDouble, MaxWertTakesTheLargerAndTheFirstOfEqualOnes) {
  EXPECT_EQ(vb::CDbl(MaxWert(vb::Variant(0), vb::Variant(1))), 1.0);
  EXPECT_EQ(vb::CDbl(MaxWert(vb::Variant(5), vb::Variant(1))), 5.0);
  const vb::Variant first(QStringLiteral("abc"));
  const vb::Variant second(QStringLiteral("ABC"));
  EXPECT_EQ(vb::CStr(MaxWert(first, second)), QStringLiteral("abc"));
}

TEST(modDouble, MaxWertComparesANumberWithANumericTextAsNumbers) {
  EXPECT_EQ(vb::CDbl(MaxWert(vb::Variant(9), vb::Variant(QStringLiteral("10")))), 10.0);
}

TEST(modDouble, MaxWertSkipsNull) {
  EXPECT_EQ(vb::CDbl(MaxWert(vb::Variant::null(), vb::Variant(1))), 1.0);
  EXPECT_EQ(vb::CDbl(MaxWert(vb::Variant(1), vb::Variant::null())), 1.0);
  EXPECT_TRUE(MaxWert(vb::Variant::null(), vb::Variant::null()).isNull());
}

TEST(modDouble, MaxWertOfANumberAndAWordIsATypeMismatch) {
  EXPECT_EQ(errorOf([] { MaxWert(vb::Variant(1), vb::Variant(QStringLiteral("eins"))); }), 13);
}
