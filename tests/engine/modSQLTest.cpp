// The route check of the template tree and the report type codes of record-source fields.
#include "engine/modSQL.h"

#include <gtest/gtest.h>

#include "platform/vb/VbError.h"
#include "tests/engine/EngineTestSupport.h"

namespace {

class modSQLTest : public ::testing::Test {
 protected:
  void addRoute(const QString& rechner, int vonEx) const {
    db.addRoute(rechner, 7, 1, vonEx, vonEx, 1, 9999, QStringLiteral("'Laser'"));
  }
  enginetest::FormDatabase db;
};

}  // namespace

TEST_F(modSQLTest, ArchiveRowsAloneAreNoOrdinaryRoutes) {
  addRoute(QStringLiteral("PC07"), -1);
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, false));
  EXPECT_TRUE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, true));
}

TEST_F(modSQLTest, OrdinaryRoutesAloneAreNoArchiveRow) {
  addRoute(QStringLiteral("PC07"), 2);
  EXPECT_TRUE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, false));
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, true));
}

TEST_F(modSQLTest, FormWithoutRoutesHasNeither) {
  addRoute(QStringLiteral("PC07"), 1);
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 2, false));
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 8, 1, true));
}

TEST_F(modSQLTest, OnlyTheNamedWorkstationCountsInAnyLetterCaseAndGlobalIsANameLikeOthers) {
  addRoute(QStringLiteral("$GLOBAL$"), 1);
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, false));
  EXPECT_TRUE(ExistsDruckerRoute(QStringLiteral("$global$"), 7, 1, false));
  addRoute(QStringLiteral("Büro"), 1);
  EXPECT_TRUE(ExistsDruckerRoute(QStringLiteral("BÜRO"), 7, 1, false));
}

TEST_F(modSQLTest, RowsWithCopyZeroOrBelowMinusOneCountForNeither) {
  addRoute(QStringLiteral("PC07"), 0);
  addRoute(QStringLiteral("PC07"), -2);
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, false));
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, true));
}

TEST_F(modSQLTest, NameWithAnApostropheIsQuotedNotSpliced) {
  addRoute(QStringLiteral("O'NEIL"), 1);
  addRoute(QStringLiteral("PC07"), 1);
  EXPECT_TRUE(ExistsDruckerRoute(QStringLiteral("O'NEIL"), 7, 1, false));
  EXPECT_FALSE(ExistsDruckerRoute(QStringLiteral("X' OR '1'='1"), 7, 1, false));
}

TEST_F(modSQLTest, WithoutAConnectionHandlerTheErrorReachesTheCaller) {
  SetGlobalConnectList(nullptr);
  try {
    ExistsDruckerRoute(QStringLiteral("PC07"), 7, 1, false);
    FAIL() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::ErrObjectNotSet);
  }
}

TEST(GetLLFeldTypTest, MapsFieldTypesToReportTypeCodes) {
  EXPECT_EQ(GetLLFeldTyp(1), 0x02000000);
  for (int t : {2, 3, 4, 5, 7}) EXPECT_EQ(GetLLFeldTyp(t), 0x08000000) << t;
  EXPECT_EQ(GetLLFeldTyp(6), 0x10000000);
  EXPECT_EQ(GetLLFeldTyp(8), 0x04000000);
  EXPECT_EQ(GetLLFeldTyp(9), 0x04000000);
  for (int t : {0, 10, 11, 12, -1, 202, 0x7fffffff}) EXPECT_EQ(GetLLFeldTyp(t), 0x10000000) << t;
}

// The data layer's codes, where 7 is a date and 11 a truth value; a column of each kind that an
// SQLite or ODBC table gives.
TEST(GetLLFeldTypTest, MapsTheDataLayersCodesByTheirOwnMeaning) {
  EXPECT_EQ(GetLLFeldTypDatenschicht(data::adBoolean), 0x02000000);
  for (int t : std::initializer_list<int>{int(data::adSmallInt), int(data::adInteger), data::adSingle, data::adDouble, data::adCurrency,
                int(data::adUnsignedTinyInt), int(data::adBigInt), int(data::adNumeric)})
    EXPECT_EQ(GetLLFeldTypDatenschicht(t), 0x08000000) << t;
  for (int t : {int(data::adDate), 133, 135}) EXPECT_EQ(GetLLFeldTypDatenschicht(t), 0x04000000) << t;
  for (int t : std::initializer_list<int>{int(data::adEmpty), int(data::adVarWChar), data::adLongVarWChar, data::adLongVarBinary, 1, 8, 9})
    EXPECT_EQ(GetLLFeldTypDatenschicht(t), 0x10000000) << t;
}
