#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>
#include <ctime>

#include "platform/vb/Convert.h"
#include "tests/platform/vb/VbTestSupport.h"

using namespace vb;
using vbtest::errorOf;
using vbtest::LocaleGuard;

namespace {

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Puts the process into a time zone with daylight saving for one test.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ")) {
    qputenv("TZ", zone);
    tzset();
  }
  ~TimeZoneGuard() {
    if (m_had) qputenv("TZ", m_old);
    else qunsetenv("TZ");
    tzset();
  }

 private:
  bool m_had;
  QByteArray m_old;
};

}  // namespace

TEST(Convert, NullWhereAValueIsNeededRaises94) {
  const Variant n = Variant::null();
  EXPECT_EQ(errorOf([&] { CStr(n); }), 94);
  EXPECT_EQ(errorOf([&] { CDbl(n); }), 94);
  EXPECT_EQ(errorOf([&] { CInt(n); }), 94);
  EXPECT_EQ(errorOf([&] { CLng(n); }), 94);
  EXPECT_EQ(errorOf([&] { CByte(n); }), 94);
  EXPECT_EQ(errorOf([&] { CBool(n); }), 94);
  EXPECT_EQ(errorOf([&] { CDate(n); }), 94);
}

TEST(Convert, TextThatIsNoNumberRaises13) {
  EXPECT_EQ(errorOf([] { CDbl("abc"); }), 13);
  EXPECT_EQ(errorOf([] { CDbl(""); }), 13);
  EXPECT_EQ(errorOf([] { CDbl("   "); }), 13);
  EXPECT_EQ(errorOf([] { CInt("12x"); }), 13);
  EXPECT_EQ(errorOf([] { CLng("1,5 kg"); }), 13);
  EXPECT_EQ(errorOf([] { CBool("vielleicht"); }), 13);
  EXPECT_EQ(errorOf([] { CDate("kein Datum"); }), 13);
}

TEST(Convert, ObjectsAndMissingRaise13) {
  EXPECT_EQ(errorOf([] { CDbl(Variant::missing()); }), 13);
  EXPECT_EQ(errorOf([] { CStr(Variant::nothing()); }), 13);
  EXPECT_EQ(errorOf([] { CDbl(Variant(std::make_shared<QTimer>())); }), 13);
}

TEST(Convert, EmptyIsZeroOrEmptyText) {
  EXPECT_EQ(CStr(Variant()), QString());
  EXPECT_EQ(CDbl(Variant()), 0.0);
  EXPECT_EQ(CInt(Variant()), 0);
  EXPECT_FALSE(CBool(Variant()));
  EXPECT_EQ(CDate(Variant()), at(1899, 12, 30));
}

TEST(Convert, IntegerOutOfSixteenBitsRaises6) {
  EXPECT_EQ(CInt(32767), 32767);
  EXPECT_EQ(CInt(-32768), -32768);
  EXPECT_EQ(errorOf([] { CInt(32768); }), 6);
  EXPECT_EQ(errorOf([] { CInt(-32769); }), 6);
  EXPECT_EQ(errorOf([] { CInt(32767.5); }), 6);  // rounds to 32768 first
  EXPECT_EQ(errorOf([] { CInt("40000"); }), 6);
}

TEST(Convert, ByteOutOfRangeRaises6) {
  EXPECT_EQ(CByte(255), 255);
  EXPECT_EQ(CByte(0), 0);
  EXPECT_EQ(CByte(-0.4), 0);
  EXPECT_EQ(errorOf([] { CByte(256); }), 6);
  EXPECT_EQ(errorOf([] { CByte(-1); }), 6);
  EXPECT_EQ(errorOf([] { CByte("300"); }), 6);
}

TEST(Convert, LongOutOfThirtyTwoBitsRaises6) {
  EXPECT_EQ(CLng(2147483647.0), 2147483647);
  EXPECT_EQ(CLng(-2147483648.0), -2147483647 - 1);
  EXPECT_EQ(errorOf([] { CLng(2147483648.0); }), 6);
  EXPECT_EQ(errorOf([] { CLng(Variant(1LL << 40)); }), 6);
}

TEST(Convert, WholeNumberConversionsRoundHalfToEven) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(2.51), 3);
  EXPECT_EQ(CLng(0.5), 0);
  EXPECT_EQ(CLng(1.5), 2);
  EXPECT_EQ(CInt("2,5"), 2);
}

TEST(Convert, TrueIsMinusOneAsANumber) {
  EXPECT_EQ(CDbl(true), -1.0);
  EXPECT_EQ(CInt(true), -1);
  EXPECT_EQ(CLng(false), 0);
  EXPECT_EQ(True, -1);
  EXPECT_TRUE(CBool(-1));
  EXPECT_TRUE(CBool(0.1));
  EXPECT_FALSE(CBool(0));
  EXPECT_TRUE(CBool("Wahr"));
  EXPECT_TRUE(CBool(" true "));
  EXPECT_FALSE(CBool("FALSCH"));
  EXPECT_TRUE(CBool("-1"));
  EXPECT_FALSE(CBool("0"));
  EXPECT_EQ(CDbl("Wahr"), -1.0);
}

TEST(Convert, CStrWritesNumbersTheGermanWayWhateverTheCLocale) {
  for (const char* name : {"C", "de_DE.UTF-8", "C.UTF-8"}) {
    LocaleGuard guard;
    ASSERT_TRUE(LocaleGuard::setCLocale(name)) << name << " is not installed (scripts/setup adds locales-all)";
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(CStr(1234.5), QStringLiteral("1234,5")) << name;
    EXPECT_EQ(CStr(-0.25), QStringLiteral("-0,25")) << name;
    EXPECT_EQ(CStr(0.1 + 0.2), QStringLiteral("0,3")) << name;  // 15 digits at most
    EXPECT_EQ(CStr(123456789012345.0), QStringLiteral("123456789012345")) << name;
    EXPECT_EQ(CStr(1e20), QStringLiteral("1E+20")) << name;
    EXPECT_EQ(CStr(0.00001), QStringLiteral("1E-05")) << name;
    EXPECT_EQ(CStr(-0.0), QStringLiteral("0")) << name;
    EXPECT_EQ(CStr(1234567), QStringLiteral("1234567")) << name;
    EXPECT_EQ(CStr(std::uint8_t(200)), QStringLiteral("200")) << name;
    EXPECT_EQ(CDbl("1.234,5"), 1234.5) << name;
  }
}

TEST(Convert, CStrOfTruthValuesAndDates) {
  EXPECT_EQ(CStr(true), QStringLiteral("Wahr"));
  EXPECT_EQ(CStr(false), QStringLiteral("Falsch"));
  EXPECT_EQ(CStr(QDate(2023, 12, 24)), QStringLiteral("24.12.2023"));
  EXPECT_EQ(CStr(at(2023, 12, 24, 8, 5, 3)), QStringLiteral("24.12.2023 08:05:03"));
  EXPECT_EQ(CStr(at(1899, 12, 30, 14, 30)), QStringLiteral("14:30:00"));
  EXPECT_EQ(CStr("Text"), QStringLiteral("Text"));
}

TEST(Convert, CDblReadsGermanNumberText) {
  EXPECT_EQ(CDbl("1.234,5"), 1234.5);
  EXPECT_EQ(CDbl("-3,25"), -3.25);
  EXPECT_EQ(CDbl(" 7 "), 7.0);
  EXPECT_EQ(CDbl("+ 7"), 7.0);
  EXPECT_EQ(CDbl("1,5E3"), 1500.0);
  EXPECT_EQ(CDbl("&H1F"), 31.0);
  // The point groups thousands under German rules, it is no decimal point.
  EXPECT_EQ(CDbl("1.5"), 15.0);
  EXPECT_EQ(errorOf([] { CDbl("1,5,3"); }), 13);
  EXPECT_EQ(errorOf([] { CDbl("1,5E"); }), 13);
}

TEST(Convert, CDateReadsGermanDatesAndTimes) {
  EXPECT_EQ(CDate("24.12.2023"), at(2023, 12, 24));
  EXPECT_EQ(CDate("1.2.2023 14:30"), at(2023, 2, 1, 14, 30));
  EXPECT_EQ(CDate("24.12.23"), at(2023, 12, 24));
  EXPECT_EQ(CDate("1.1.29"), at(2029, 1, 1));
  EXPECT_EQ(CDate("1.1.30"), at(1930, 1, 1));
  EXPECT_EQ(CDate("14:30"), at(1899, 12, 30, 14, 30));
  EXPECT_EQ(CDate("2023-03-15"), at(2023, 3, 15));
  EXPECT_EQ(CDate(45000.75), at(2023, 3, 15, 18, 0));
  EXPECT_EQ(errorOf([] { CDate("31.02.2023"); }), 13);
}

TEST(Convert, OleSerialsCountDaysFromTheEndOf1899) {
  EXPECT_EQ(toOleDate(at(1899, 12, 30)), 0.0);
  EXPECT_EQ(toOleDate(at(1899, 12, 31)), 1.0);
  EXPECT_EQ(toOleDate(at(1900, 1, 1)), 2.0);
  EXPECT_EQ(toOleDate(at(2023, 3, 15, 18, 0)), 45000.75);
  // Before the epoch the time fraction still counts forward from midnight.
  EXPECT_EQ(toOleDate(at(1899, 12, 29, 6, 0)), -1.25);
  EXPECT_EQ(fromOleDate(-1.25), at(1899, 12, 29, 6, 0));
  EXPECT_EQ(fromOleDate(45000.75), at(2023, 3, 15, 18, 0));
  EXPECT_EQ(fromOleDate(0.5), at(1899, 12, 30, 12, 0));
  // A fraction a hair below midnight is the next day, not 24:00 of this one.
  EXPECT_EQ(fromOleDate(45000.9999999999), at(2023, 3, 16));
  EXPECT_EQ(errorOf([] { fromOleDate(3e6); }), 6);
  EXPECT_EQ(CDbl(QDate(2023, 3, 15)), 45000.0);
}

TEST(Convert, OleSerialsIgnoreDaylightSavingTime) {
  TimeZoneGuard zone("Europe/Berlin");
  // Summer time: a local clock time is still a plain fraction of its day.
  EXPECT_EQ(toOleDate(at(2023, 7, 1, 12, 0)), 45108.5);
  EXPECT_EQ(fromOleDate(45108.5), at(2023, 7, 1, 12, 0));
  // On the night the clocks go forward the afternoon keeps its wall-clock time.
  EXPECT_EQ(fromOleDate(45011.75), at(2023, 3, 26, 18, 0));
  EXPECT_EQ(toOleDate(at(2023, 3, 26, 18, 0)), 45011.75);
}

TEST(Convert, ValReadsAPointDecimalAndStopsAtOtherCharacters) {
  LocaleGuard guard;
  ASSERT_TRUE(LocaleGuard::setCLocale("de_DE.UTF-8"));
  EXPECT_EQ(Val("12.5abc"), 12.5);
  EXPECT_EQ(Val("1,5"), 1.0);
  EXPECT_EQ(Val("  -3.5"), -3.5);
  EXPECT_EQ(Val(" 1 2 3"), 123.0);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("1e3"), 1000.0);
  EXPECT_EQ(Val("2.5e"), 2.5);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("abc"), 0.0);
  EXPECT_EQ(Val(""), 0.0);
  EXPECT_EQ(Val("-"), 0.0);
  EXPECT_EQ(Val("١٢"), 0.0);  // only ASCII digits count
}

TEST(Convert, ValReadsHexAndOctalAsVbIntegers) {
  EXPECT_EQ(Val("&H10"), 16.0);
  EXPECT_EQ(Val("&h1f"), 31.0);
  EXPECT_EQ(Val("&H10xyz"), 16.0);
  EXPECT_EQ(Val("&O17"), 15.0);
  EXPECT_EQ(Val("&O8"), 0.0);
  EXPECT_EQ(Val("&HFFFF"), -1.0);
  EXPECT_EQ(Val("&H10000"), 65536.0);
  EXPECT_EQ(Val("&HFFFFFFFF"), -1.0);
  EXPECT_EQ(Val("&H"), 0.0);
  EXPECT_EQ(Val("&X1"), 0.0);
}

TEST(Convert, IsNumericFollowsGermanRules) {
  EXPECT_TRUE(IsNumeric(Variant()));
  EXPECT_FALSE(IsNumeric(Variant::null()));
  EXPECT_FALSE(IsNumeric(Variant::missing()));
  EXPECT_TRUE(IsNumeric("1.234,5"));
  EXPECT_TRUE(IsNumeric(" 3 "));
  EXPECT_TRUE(IsNumeric("-0,5"));
  EXPECT_TRUE(IsNumeric("&H1F"));
  EXPECT_FALSE(IsNumeric("abc"));
  EXPECT_FALSE(IsNumeric(""));
  EXPECT_FALSE(IsNumeric("3 x"));
  EXPECT_TRUE(IsNumeric(12));
  EXPECT_TRUE(IsNumeric(true));
  EXPECT_FALSE(IsNumeric(QDate(2023, 1, 1)));
}

TEST(Convert, IsDateAcceptsDatesAndDateText) {
  EXPECT_TRUE(IsDate(QDate(2023, 1, 1)));
  EXPECT_TRUE(IsDate("24.12.2023"));
  EXPECT_FALSE(IsDate("31.02.2023"));
  EXPECT_FALSE(IsDate(45000));
  EXPECT_FALSE(IsDate(Variant::null()));
}

TEST(Convert, CompareTreatsNumericTextAsANumber) {
  EXPECT_EQ(compare(1, "1"), 0);
  EXPECT_EQ(compare(2, "10"), -1);  // as numbers, not as texts
  EXPECT_EQ(compare("10", 2), 1);
  EXPECT_EQ(compare(1.5, "1,5"), 0);
  EXPECT_EQ(compare(true, -1), 0);
  EXPECT_EQ(compare(Variant(), 0), 0);
  EXPECT_EQ(compare(Variant(), ""), 0);
  EXPECT_EQ(compare("a", Variant()), 1);
  EXPECT_EQ(compare(QDate(2020, 2, 1), "01.02.2020"), 0);
  EXPECT_EQ(compare("01.02.2020", QDate(2020, 3, 1)), -1);
}

TEST(Convert, CompareTextsIgnoresCaseIncludingUmlauts) {
  EXPECT_EQ(compare("Äpfel", "äPFEL"), 0);
  EXPECT_EQ(compare("ÖL", "öl"), 0);
  EXPECT_EQ(compare("a", "B"), -1);
  EXPECT_EQ(compare("b", "A"), 1);
  EXPECT_EQ(compare("10", "9"), -1);  // two texts compare as texts
}

TEST(Convert, CompareRaisesForNullAndForNumberAgainstText) {
  EXPECT_EQ(errorOf([] { compare(Variant::null(), 1); }), 94);
  EXPECT_EQ(errorOf([] { compare("a", Variant::null()); }), 94);
  EXPECT_EQ(errorOf([] { compare(1, "abc"); }), 13);
  EXPECT_EQ(errorOf([] { compare("abc", 1); }), 13);
  EXPECT_EQ(errorOf([] { compare(Variant::nothing(), 1); }), 13);
}

TEST(Convert, TextHelpersIgnoreCase) {
  EXPECT_TRUE(textEquals(QStringLiteral("Beträge"), QStringLiteral("BETRÄGE")));
  EXPECT_FALSE(textEquals(QStringLiteral("Betrage"), QStringLiteral("Beträge")));
  EXPECT_EQ(InStr(QStringLiteral("Gesamtbetrag Ü"), QStringLiteral("ü")), 14);
  EXPECT_EQ(InStr(3, QStringLiteral("abcabc"), QStringLiteral("A")), 4);
  EXPECT_EQ(InStr(QStringLiteral("abc"), QStringLiteral("x")), 0);
  EXPECT_EQ(InStr(2, QStringLiteral("abc"), QString()), 2);
  EXPECT_EQ(InStr(5, QStringLiteral("abc"), QStringLiteral("a")), 0);
  EXPECT_EQ(errorOf([] { InStr(0, QStringLiteral("abc"), QStringLiteral("a")); }), 5);
  EXPECT_EQ(replaceText(QStringLiteral("<Datum> und <DATUM>"), QStringLiteral("<datum>"), QStringLiteral("1.1.")),
            QStringLiteral("1.1. und 1.1."));
  EXPECT_EQ(replaceText(QStringLiteral("abc"), QString(), QStringLiteral("x")), QStringLiteral("abc"));
}

TEST(Convert, CurrencyIsAFixedPointNumberOfFourPlaces) {
  const Variant amount(vb::Currency::fromDouble(1234.56789));
  EXPECT_EQ(amount.varType(), vb::VarType::Currency);
  EXPECT_TRUE(amount.isNumberType());
  EXPECT_EQ(amount.value().value<vb::Currency>().units, 12345679);
  EXPECT_EQ(CDbl(amount), 1234.5679);
  EXPECT_EQ(CStr(amount), QStringLiteral("1234,5679"));
  EXPECT_EQ(CLng(amount), 1235);
  EXPECT_EQ(vb::Currency::fromDouble(-0.00006).units, -1);
  EXPECT_EQ(errorOf([] { vb::Currency::fromDouble(1e15); }), vb::ErrOverflow);
  EXPECT_EQ(Variant::fromQVariant(QVariant::fromValue(vb::Currency{5})), Variant(vb::Currency{5}));
}
