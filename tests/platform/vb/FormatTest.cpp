#include <gtest/gtest.h>

#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"
#include "tests/platform/vb/VbTestSupport.h"

using vb::Format;
using vb::formatDate;
using vb::formatNumber;
using vb::Variant;
using vbtest::LocaleGuard;

namespace {

QString num(double v, const char* pattern) { return formatNumber(v, QString::fromUtf8(pattern)); }

const QDateTime kSample(QDate(2023, 3, 5), QTime(7, 8, 9));
QString date(const char* pattern) { return formatDate(kSample, QString::fromUtf8(pattern)); }

}  // namespace

TEST(Format, AmountPatternGroupsThousandsWithTwoPlaces) {
  EXPECT_EQ(num(1234.5, "#,##0.00"), QStringLiteral("1.234,50"));
  EXPECT_EQ(num(-3, "#,##0.00"), QStringLiteral("-3,00"));
  EXPECT_EQ(num(0, "#,##0.00"), QStringLiteral("0,00"));
  EXPECT_EQ(num(0.5, "#,##0.00"), QStringLiteral("0,50"));
  EXPECT_EQ(num(999, "#,##0.00"), QStringLiteral("999,00"));
  EXPECT_EQ(num(1000, "#,##0.00"), QStringLiteral("1.000,00"));
  EXPECT_EQ(num(-1234567.891, "#,##0.00"), QStringLiteral("-1.234.567,89"));
  EXPECT_EQ(num(999.995, "#,##0.00"), QStringLiteral("1.000,00"));
  EXPECT_EQ(num(1e15, "#,##0.00"), QStringLiteral("1.000.000.000.000.000,00"));
}

TEST(Format, RoundsHalfAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(num(2.675, "#,##0.00"), QStringLiteral("2,68"));
  EXPECT_EQ(num(-2.675, "#,##0.00"), QStringLiteral("-2,68"));
  EXPECT_EQ(num(1.005, "#,##0.00"), QStringLiteral("1,01"));
  EXPECT_EQ(num(100.005, "0.00"), QStringLiteral("100,01"));
  EXPECT_EQ(num(1234.5649, "0.00"), QStringLiteral("1234,56"));
  EXPECT_EQ(num(0.125, "0.00"), QStringLiteral("0,13"));
  EXPECT_EQ(num(6.5, "0"), QStringLiteral("7"));  // no banker's rounding
  EXPECT_EQ(num(2.5, "0"), QStringLiteral("3"));
  EXPECT_EQ(num(-2.5, "0"), QStringLiteral("-3"));
  EXPECT_EQ(num(9.5, "000"), QStringLiteral("010"));
}

TEST(Format, ValueThatRoundsToZeroNeverPrintsMinusZero) {
  EXPECT_EQ(num(-0.004, "#,##0.00"), QStringLiteral("0,00"));
  EXPECT_EQ(num(-0.004, "0.00"), QStringLiteral("0,00"));
  EXPECT_EQ(num(-0.4, "0"), QStringLiteral("0"));
  EXPECT_EQ(num(-0.0, "0.00"), QStringLiteral("0,00"));
  EXPECT_EQ(num(-0.0004, "#,#0.0%"), QStringLiteral("0,0%"));
  EXPECT_EQ(num(-0.005, "0.00"), QStringLiteral("-0,01"));
  // With sections the value that rounds to zero is shown as a small positive one is.
  EXPECT_EQ(num(-0.001, "0.00;(0.00);\"null\""), QStringLiteral("0,00"));
  EXPECT_EQ(num(0.001, "0.00;(0.00);\"null\""), QStringLiteral("0,00"));
}

TEST(Format, ExtraHashPlaceShowsOnlyWhenNeeded) {
  EXPECT_EQ(num(1.5, "#,##0.00#"), QStringLiteral("1,50"));
  EXPECT_EQ(num(1.234, "#,##0.00#"), QStringLiteral("1,234"));
  EXPECT_EQ(num(1.2345, "#,##0.00#"), QStringLiteral("1,235"));
  EXPECT_EQ(num(-1000.1, "#,##0.00#"), QStringLiteral("-1.000,10"));
  EXPECT_EQ(num(1.9996, "#,##0.00#"), QStringLiteral("2,00"));
}

TEST(Format, PercentPatternMultipliesByHundred) {
  EXPECT_EQ(num(0.03, "#,#0.0%"), QStringLiteral("3,0%"));
  EXPECT_EQ(num(0.19, "#,#0.0%"), QStringLiteral("19,0%"));
  EXPECT_EQ(num(0.07, "#,#0.0%"), QStringLiteral("7,0%"));
  EXPECT_EQ(num(0, "#,#0.0%"), QStringLiteral("0,0%"));
  EXPECT_EQ(num(12.5, "#,#0.0%"), QStringLiteral("1.250,0%"));
  EXPECT_EQ(num(-0.05, "#,#0.0%"), QStringLiteral("-5,0%"));
  EXPECT_EQ(num(0.0005, "#,#0.0%"), QStringLiteral("0,1%"));
  // 0.0285 * 100 is 2.8499999999999996 in binary; the decimal value rounds up.
  EXPECT_EQ(num(0.0285, "#,#0.0%"), QStringLiteral("2,9%"));
}

TEST(Format, ZeroPlaceholdersPadWholeNumbers) {
  EXPECT_EQ(num(7, "000"), QStringLiteral("007"));
  EXPECT_EQ(num(0, "000"), QStringLiteral("000"));
  EXPECT_EQ(num(1234, "000"), QStringLiteral("1234"));
  EXPECT_EQ(num(-7, "000"), QStringLiteral("-007"));
  EXPECT_EQ(num(0.4, "000"), QStringLiteral("000"));
  EXPECT_EQ(num(1234567, "0"), QStringLiteral("1234567"));
  EXPECT_EQ(num(0, "0"), QStringLiteral("0"));
}

TEST(Format, GroupedWholeNumbers) {
  EXPECT_EQ(num(1234567.5, "#,##0"), QStringLiteral("1.234.568"));
  EXPECT_EQ(num(999, "#,##0"), QStringLiteral("999"));
  EXPECT_EQ(num(0, "#,##0"), QStringLiteral("0"));
  EXPECT_EQ(num(-1234, "#,##0"), QStringLiteral("-1.234"));
  EXPECT_EQ(num(0.2, "#,##0"), QStringLiteral("0"));
}

TEST(Format, LongDecimalPatternShowsFifteenSignificantDigits) {
  const char* p = "0.0##############";
  EXPECT_EQ(num(0.1 + 0.2, p), QStringLiteral("0,3"));
  EXPECT_EQ(num(1, p), QStringLiteral("1,0"));
  EXPECT_EQ(num(-1, p), QStringLiteral("-1,0"));
  EXPECT_EQ(num(2.675, p), QStringLiteral("2,675"));
  EXPECT_EQ(num(1.0 / 3.0, p), QStringLiteral("0,333333333333333"));
  EXPECT_EQ(num(2.0 / 3.0, p), QStringLiteral("0,666666666666667"));
  EXPECT_EQ(num(123456.789, p), QStringLiteral("123456,789"));
  EXPECT_EQ(num(1e-16, p), QStringLiteral("0,0"));
  EXPECT_EQ(num(1e20, p), QStringLiteral("100000000000000000000,0"));
  // The half added before cutting (how amounts are rounded to two places) lands on the digit.
  EXPECT_EQ(num(2.675 + 0.005, p), QStringLiteral("2,68"));
  EXPECT_EQ(num(1.005 + 0.005, p), QStringLiteral("1,01"));
}

TEST(Format, LargeNumbersKeepFifteenSignificantDigits) {
  EXPECT_EQ(num(123456789012345678.0, "#,##0.00"), QStringLiteral("123.456.789.012.346.000,00"));
  EXPECT_EQ(num(123456789012345678.0, "0"), QStringLiteral("123456789012346000"));
  EXPECT_EQ(num(1e20, "#,##0"), QStringLiteral("100.000.000.000.000.000.000"));
}

TEST(Format, SectionsForPositiveNegativeAndZero) {
  const char* p = "#,##0.00;(#,##0.00);\"null\"";
  EXPECT_EQ(num(1234.5, p), QStringLiteral("1.234,50"));
  EXPECT_EQ(num(-1234.5, p), QStringLiteral("(1.234,50)"));
  EXPECT_EQ(num(0, p), QStringLiteral("null"));
  // An empty section takes the first one, with the minus sign for negatives.
  EXPECT_EQ(num(-5, "0.00;;\\-"), QStringLiteral("-5,00"));
  EXPECT_EQ(num(0, "0.00;;\\-"), QStringLiteral("-"));
  EXPECT_EQ(num(0, "0.00;-0.00"), QStringLiteral("0,00"));
  EXPECT_EQ(num(-2, "0.00;-0.00 \"S\""), QStringLiteral("-2,00 S"));
}

TEST(Format, LiteralTextInQuotesOrAfterBackslash) {
  EXPECT_EQ(num(12.5, "0.00 \"EUR\""), QStringLiteral("12,50 EUR"));
  EXPECT_EQ(num(42, "\"Nr. \"000"), QStringLiteral("Nr. 042"));
  EXPECT_EQ(num(5, "\\#0"), QStringLiteral("#5"));
  EXPECT_EQ(num(5, "0.00\\%"), QStringLiteral("5,00%"));  // an escaped percent does not multiply
  EXPECT_EQ(num(5, "\"0\"0"), QStringLiteral("05"));
  EXPECT_EQ(num(5, "0\"a;b\""), QStringLiteral("5a;b"));  // no section break inside quotes
  EXPECT_EQ(num(-5, "0 \"Stück\""), QStringLiteral("-5 Stück"));
  EXPECT_EQ(num(1234, "#,##0 \"€\""), QStringLiteral("1.234 €"));
}

TEST(Format, GeneralFormForAnEmptyPattern) {
  EXPECT_EQ(Format(1234.5), QStringLiteral("1234,5"));
  EXPECT_EQ(Format(1234.5, QString()), QStringLiteral("1234,5"));
  EXPECT_EQ(Format(0.1 + 0.2), QStringLiteral("0,3"));
  EXPECT_EQ(Format(-0.0), QStringLiteral("0"));
  EXPECT_EQ(Format(42), QStringLiteral("42"));
  EXPECT_EQ(Format(true), QStringLiteral("Wahr"));
  EXPECT_EQ(Format("Text"), QStringLiteral("Text"));
  EXPECT_EQ(formatNumber(1234.5, QString()), QStringLiteral("1234,5"));
}

TEST(Format, NullAndEmptyGiveEmptyText) {
  EXPECT_EQ(Format(Variant::null(), "#,##0.00"), QString());
  EXPECT_EQ(Format(Variant(), "#,##0.00"), QString());
  EXPECT_EQ(Format(Variant::null()), QString());
}

TEST(Format, VariantValuesChooseNumberOrDate) {
  EXPECT_EQ(Format(1234.5, "#,##0.00"), QStringLiteral("1.234,50"));
  EXPECT_EQ(Format(7, "000"), QStringLiteral("007"));
  EXPECT_EQ(Format(true, "0"), QStringLiteral("-1"));
  // A date with a number pattern shows its serial.
  EXPECT_EQ(Format(QDate(2023, 3, 15), "0"), QStringLiteral("45000"));
  EXPECT_EQ(Format(QDateTime(QDate(2023, 3, 15), QTime(18, 0)), "0.00"), QStringLiteral("45000,75"));
  // A number with a date pattern is a serial.
  EXPECT_EQ(Format(45000, "dd.mm.yyyy"), QStringLiteral("15.03.2023"));
  // Texts are read as numbers or dates, else returned as they are.
  EXPECT_EQ(Format("1234,5", "#,##0.00"), QStringLiteral("1.234,50"));
  EXPECT_EQ(Format("15.03.2023", "yyyymmdd"), QStringLiteral("20230315"));
  EXPECT_EQ(Format("15.03.2023", "0"), QStringLiteral("45000"));
  EXPECT_EQ(Format("abc", "0.00"), QStringLiteral("abc"));
  EXPECT_EQ(vbtest::errorOf([] { Format(Variant::missing(), "0"); }), 13);
}

TEST(Format, DatePatterns) {
  EXPECT_EQ(date("dd.mm.yyyy"), QStringLiteral("05.03.2023"));
  EXPECT_EQ(date("DD.MM.YYYY"), QStringLiteral("05.03.2023"));
  EXPECT_EQ(date("hh:mm"), QStringLiteral("07:08"));
  EXPECT_EQ(date("HH:MM"), QStringLiteral("07:08"));
  EXPECT_EQ(date("hh:mm:ss"), QStringLiteral("07:08:09"));
  EXPECT_EQ(date("yyyymmdd"), QStringLiteral("20230305"));
  EXPECT_EQ(date("YYYYMMDD"), QStringLiteral("20230305"));
  EXPECT_EQ(date("yyyy"), QStringLiteral("2023"));
  EXPECT_EQ(date("mm"), QStringLiteral("03"));
  EXPECT_EQ(date("dd"), QStringLiteral("05"));
  EXPECT_EQ(date("dd.mm.yy"), QStringLiteral("05.03.23"));
  EXPECT_EQ(date("d.m.yyyy"), QStringLiteral("5.3.2023"));
  EXPECT_EQ(date("h:mm"), QStringLiteral("7:08"));
  EXPECT_EQ(date("mm:ss"), QStringLiteral("08:09"));
  EXPECT_EQ(date("dd.mm.yyyy hh:mm"), QStringLiteral("05.03.2023 07:08"));
  EXPECT_EQ(date("yyyymmddhhmmss"), QStringLiteral("20230305070809"));
  EXPECT_EQ(date("\"Stand: \"dd.mm.yyyy"), QStringLiteral("Stand: 05.03.2023"));
  EXPECT_EQ(date("\\d\\: dd"), QStringLiteral("d: 05"));
  EXPECT_EQ(formatDate(QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QStringLiteral("dd.mm.yy")),
            QStringLiteral("01.01.00"));
  EXPECT_EQ(formatDate(vb::fromOleDate(0.75), QStringLiteral("hh:mm")), QStringLiteral("18:00"));
  EXPECT_EQ(formatDate(kSample, QString()), QStringLiteral("05.03.2023 07:08:09"));
}

TEST(Format, OutputIgnoresCLocaleAndQtDefaultLocale) {
  for (const char* name : {"C", "de_DE.UTF-8", "C.UTF-8"}) {
    for (const QLocale& qtDefault : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates)}) {
      LocaleGuard guard;
      ASSERT_TRUE(LocaleGuard::setCLocale(name)) << name << " is not installed (scripts/setup adds locales-all)";
      QLocale::setDefault(qtDefault);
      EXPECT_EQ(num(1234.5, "#,##0.00"), QStringLiteral("1.234,50")) << name;
      EXPECT_EQ(num(-3, "#,##0.00"), QStringLiteral("-3,00")) << name;
      EXPECT_EQ(num(0.03, "#,#0.0%"), QStringLiteral("3,0%")) << name;
      EXPECT_EQ(num(0.19, "#,#0.0%"), QStringLiteral("19,0%")) << name;
      EXPECT_EQ(num(2.675, "#,##0.00#"), QStringLiteral("2,675")) << name;
      EXPECT_EQ(num(1.0 / 3.0, "0.0##############"), QStringLiteral("0,333333333333333")) << name;
      EXPECT_EQ(Format(1234.5), QStringLiteral("1234,5")) << name;
      EXPECT_EQ(date("dd.mm.yyyy hh:mm"), QStringLiteral("05.03.2023 07:08")) << name;
    }
  }
}

TEST(Format, SystemLocaleDecidesSeparators) {
  {
    LocaleGuard guard;
    vb::setSystemLocaleForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(num(1234.5, "#,##0.00"), QStringLiteral("1,234.50"));
    EXPECT_EQ(num(0.19, "#,#0.0%"), QStringLiteral("19.0%"));
    EXPECT_EQ(num(1234567.891, "#,##0.00#"), QStringLiteral("1,234,567.891"));
    EXPECT_EQ(Format(1234.5), QStringLiteral("1234.5"));
  }
  // The guard put the German locale back.
  EXPECT_EQ(num(1234.5, "#,##0.00"), QStringLiteral("1.234,50"));
  EXPECT_EQ(vb::decimalSeparator(), QLatin1Char(','));
  EXPECT_EQ(vb::groupSeparator(), QLatin1Char('.'));
}
