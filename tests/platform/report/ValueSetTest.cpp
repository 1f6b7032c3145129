#include <gtest/gtest.h>

#include "platform/report/IReportControl.h"
#include "platform/report/ValueSet.h"

using namespace report;

TEST(ValueSet, RedefiningANameInAnyCaseReplacesItInPlace) {
  ValueSet s;
  s.define(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), kTypeText);
  s.define(QStringLiteral("GP"), QStringLiteral("1,00"), kTypeNumeric);
  s.define(QStringLiteral("ZEILENTYP"), QStringLiteral("Leerzeile"), 0x10000001);
  ASSERT_EQ(s.all().size(), 2);
  EXPECT_EQ(s.all()[0].name, QStringLiteral("Zeilentyp"));
  EXPECT_EQ(s.all()[0].contents, QStringLiteral("Leerzeile"));
  EXPECT_EQ(s.all()[0].type, 0x10000001);
  EXPECT_EQ(s.find(QStringLiteral("zeilentyp"))->text, QStringLiteral("Leerzeile"));
  EXPECT_EQ(s.find(QStringLiteral("gp"))->type, kTypeNumeric);
  EXPECT_FALSE(s.find(QStringLiteral("EP")));
}

TEST(ValueSet, UmlautNamesAreFoundInAnyCase) {
  ValueSet s;
  s.define(QStringLiteral("ÜbertragDrucken"), QStringLiteral("JA"), kTypeText);
  ASSERT_TRUE(s.find(QStringLiteral("übertragdrucken")));
  s.clear();
  EXPECT_FALSE(s.find(QStringLiteral("ÜbertragDrucken")));
  EXPECT_TRUE(s.all().isEmpty());
}
