#include <gtest/gtest.h>

#include "platform/report/IReportControl.h"
#include "platform/report/ReportValue.h"

using namespace report;

TEST(ReportValue, TypeCodesGiveTheirKinds) {
  EXPECT_EQ(kindOf(kTypeText), ValueKind::Text);
  EXPECT_EQ(kindOf(0x10000001), ValueKind::Text);
  EXPECT_EQ(kindOf(kTypeNumeric), ValueKind::Numeric);
  EXPECT_EQ(kindOf(kTypeDate), ValueKind::Date);
  EXPECT_EQ(kindOf(kTypeBoolean), ValueKind::Boolean);
  EXPECT_EQ(kindOf(kTypeDrawing), ValueKind::Drawing);
  EXPECT_EQ(kindOf(kTypeRichText), ValueKind::RichText);
  EXPECT_EQ(kindOf(0), ValueKind::Text);
}

TEST(ReportValue, NumbersReadWithGermanOrPointDecimals) {
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral("1.234,56")), 1234.56);
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral("1,234.56")), 1234.56);
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral("2,24")), 2.24);
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral("0.16")), 0.16);
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral("1.234.567")), 1234567);
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral("-3")), -3);
  EXPECT_DOUBLE_EQ(*readNumber(QStringLiteral(" 1 234,5 ")), 1234.5);
  EXPECT_FALSE(readNumber(QString()));
  EXPECT_FALSE(readNumber(QStringLiteral("12,50 €")));
  EXPECT_FALSE(readNumber(QStringLiteral("1,2,3")));
  EXPECT_FALSE(readNumber(QStringLiteral("abc")));
}

TEST(ReportValue, NumericValuesPrintWithTheirPattern) {
  EXPECT_EQ((ReportValue{QStringLiteral("1234.56"), kTypeNumeric}.print(QStringLiteral("#,##0.00"))), QStringLiteral("1.234,56"));
  EXPECT_EQ((ReportValue{QStringLiteral("-0,001"), kTypeNumeric}.print(QStringLiteral("#,##0.00"))), QStringLiteral("0,00"));
  EXPECT_EQ((ReportValue{QStringLiteral("0.16"), kTypeNumeric}.print(QStringLiteral("#,#0.0%"))), QStringLiteral("16,0%"));
  EXPECT_EQ((ReportValue{QStringLiteral("2,24"), kTypeNumeric}.print()), QStringLiteral("2,24")) << "no pattern: as handed over";
  EXPECT_EQ((ReportValue{QStringLiteral("kein"), kTypeNumeric}.print(QStringLiteral("0.00"))), QStringLiteral("kein"));
}

TEST(ReportValue, DatesReadFromGermanIsoAndSerialForms) {
  const QDate want(2024, 3, 5);
  EXPECT_EQ((ReportValue{QStringLiteral("05.03.2024"), kTypeDate}.date()->date()), want);
  EXPECT_EQ((ReportValue{QStringLiteral("2024-03-05"), kTypeDate}.date()->date()), want);
  EXPECT_EQ((ReportValue{QStringLiteral("45356"), kTypeDate}.date()->date()), want);
  EXPECT_EQ((ReportValue{QStringLiteral("05.03.2024"), kTypeDate}.print(QStringLiteral("yyyymmdd"))), QStringLiteral("20240305"));
  EXPECT_FALSE((ReportValue{QString(), kTypeDate}.date()));
  EXPECT_EQ((ReportValue{QStringLiteral("bald"), kTypeDate}.print(QStringLiteral("dd.mm.yyyy"))), QStringLiteral("bald"));
}

TEST(ReportValue, TruthFollowsTheKind) {
  EXPECT_TRUE((ReportValue{QStringLiteral("1"), kTypeBoolean}.truth()));
  EXPECT_TRUE((ReportValue{QStringLiteral("-1"), kTypeBoolean}.truth()));
  EXPECT_TRUE((ReportValue{QStringLiteral("True"), kTypeBoolean}.truth()));
  EXPECT_FALSE((ReportValue{QStringLiteral("0"), kTypeBoolean}.truth()));
  EXPECT_FALSE((ReportValue{QString(), kTypeBoolean}.truth()));
  EXPECT_TRUE((ReportValue{QStringLiteral("0,5"), kTypeNumeric}.truth()));
  EXPECT_FALSE((ReportValue{QStringLiteral("0,00"), kTypeNumeric}.truth()));
  EXPECT_TRUE((ReportValue{QStringLiteral("0"), kTypeText}.truth())) << "a text is true when not empty";
  EXPECT_FALSE((ReportValue{QStringLiteral("  "), kTypeText}.truth()));
}

TEST(ReportValue, RichTextPrintsAsItsPlainText) {
  const ReportValue v{QStringLiteral("{\\rtf1\\ansi {\\b Gr\\'fc\\'dfe} aus K\\u246?ln}"), kTypeRichText};
  EXPECT_EQ(v.print(), QStringLiteral("Grüße aus Köln"));
}
