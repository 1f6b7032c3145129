#include <gtest/gtest.h>

#include "platform/data/Recordset.h"
#include "platform/data/Sql.h"
#include "tests/platform/data/TestDatabase.h"

using namespace datatest;

TEST(Sql, TextIsQuotedWithDoubledApostrophes) {
  EXPECT_EQ(data::sqlText(QStringLiteral("it's")), QStringLiteral("'it''s'"));
  EXPECT_EQ(data::sqlText(QString()), QStringLiteral("''"));
  EXPECT_EQ(data::sqlText(QStringLiteral("''")), QStringLiteral("''''''"));
}

TEST(Sql, NulCharacterCannotCutTheStatementShort) {
  EXPECT_EQ(data::sqlText(QStringLiteral("a") + QChar(0) + QStringLiteral("b")), QStringLiteral("'ab'"));
}

TEST(Sql, QuotedValueStaysInsideItsLiteral) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('harmlos', '1')"));
  auto con = open(Road::Jet, file);
  const QString hostile = QStringLiteral("x' OR '1'='1");
  long affected = -1;
  con->Execute(QStringLiteral("DELETE FROM Vorgaben WHERE FeldName=") + data::sqlText(hostile), &affected);
  EXPECT_EQ(affected, 0);
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT COUNT(*) FROM Vorgaben")), QStringLiteral("1"));

  con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES (") + data::sqlText(QStringLiteral("it's")) +
               QStringLiteral(", '2')"));
  auto rs = con->Execute(QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName=") + data::sqlText(QStringLiteral("it's")));
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Fields(0)->Value().value().toString(), QStringLiteral("2"));
}
