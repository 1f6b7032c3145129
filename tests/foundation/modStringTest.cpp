#include <gtest/gtest.h>

#include "foundation/modString.h"

TEST(modString, TokenFromTheLeftCutsAtTheFirstSeparator) {
  QString text = QStringLiteral("a.b.c");
  EXPECT_EQ(GetToken(text, QStringLiteral(".")), QStringLiteral("a"));
  EXPECT_EQ(text, QStringLiteral("b.c"));
}

TEST(modString, TokenFromTheRightCutsAtTheLastSeparator) {
  QString text = QStringLiteral("a.b.c");
  EXPECT_EQ(GetToken(text, QStringLiteral("."), QStringLiteral("r")), QStringLiteral("c"));
  EXPECT_EQ(text, QStringLiteral("a.b"));
}

TEST(modString, DirectionIgnoresLetterCase) {
  QString left = QStringLiteral("x|y|z");
  EXPECT_EQ(GetToken(left, QStringLiteral("|"), QStringLiteral("L")), QStringLiteral("x"));
  QString right = QStringLiteral("x|y|z");
  EXPECT_EQ(GetToken(right, QStringLiteral("|"), QStringLiteral("R")), QStringLiteral("z"));
  EXPECT_EQ(right, QStringLiteral("x|y"));
}

TEST(modString, SeparatorIsFoundWithoutRegardToCase) {
  QString text = QStringLiteral("KopfUNDFuss");
  EXPECT_EQ(GetToken(text, QStringLiteral("und")), QStringLiteral("Kopf"));
  EXPECT_EQ(text, QStringLiteral("Fuss"));
  QString umlaut = QStringLiteral("vorÄnachÄende");
  EXPECT_EQ(GetToken(umlaut, QStringLiteral("ä"), QStringLiteral("r")), QStringLiteral("ende"));
  EXPECT_EQ(umlaut, QStringLiteral("vorÄnach"));
}

TEST(modString, LongerSeparatorIsCutWhole) {
  QString text = QStringLiteral("eins::zwei::drei");
  EXPECT_EQ(GetToken(text, QStringLiteral("::"), QStringLiteral("r")), QStringLiteral("drei"));
  EXPECT_EQ(text, QStringLiteral("eins::zwei"));
  EXPECT_EQ(GetToken(text, QStringLiteral("::")), QStringLiteral("eins"));
  EXPECT_EQ(text, QStringLiteral("zwei"));
}

TEST(modString, WithoutSeparatorTheWholeTextIsTheTokenAndTheTextEmpties) {
  QString left = QStringLiteral("abc");
  EXPECT_EQ(GetToken(left, QStringLiteral(";")), QStringLiteral("abc"));
  EXPECT_TRUE(left.isEmpty());
  QString right = QStringLiteral("abc");
  EXPECT_EQ(GetToken(right, QStringLiteral(";"), QStringLiteral("r")), QStringLiteral("abc"));
  EXPECT_TRUE(right.isEmpty());
}

TEST(modString, SeparatorAtTheStartGivesAnEmptyToken) {
  QString text = QStringLiteral(";rest;mehr");
  EXPECT_EQ(GetToken(text, QStringLiteral(";")), QString());
  EXPECT_EQ(text, QStringLiteral("rest;mehr"));
}

TEST(modString, EmptySeparatorGivesAnEmptyTokenAndLeavesTheText) {
  QString left = QStringLiteral("abc");
  EXPECT_EQ(GetToken(left, QString()), QString());
  EXPECT_EQ(left, QStringLiteral("abc"));
  QString right = QStringLiteral("abc");
  EXPECT_EQ(GetToken(right, QString(), QStringLiteral("r")), QString());
  EXPECT_EQ(right, QStringLiteral("abc"));
}

TEST(modString, EmptyTextGivesEmptyTokenAndStaysEmpty) {
  QString text;
  EXPECT_EQ(GetToken(text, QStringLiteral(".")), QString());
  EXPECT_TRUE(text.isEmpty());
}

TEST(modString, UnknownDirectionGivesNothingAndLeavesTheText) {
  QString text = QStringLiteral("a.b");
  EXPECT_EQ(GetToken(text, QStringLiteral("."), QStringLiteral("x")), QString());
  EXPECT_EQ(text, QStringLiteral("a.b"));
}

TEST(modString, ReverseStringReversesCharacters) {
  EXPECT_EQ(ReverseString(QStringLiteral("Straße")), QStringLiteral("eßartS"));
  EXPECT_EQ(ReverseString(QString()), QString());
}

TEST(modString, ReverseStringKeepsCharactersOutsideTheBasicPlaneWhole) {
  const QString text = QStringLiteral("a\U0001F600b");
  const QString reversed = ReverseString(text);
  EXPECT_EQ(reversed, QStringLiteral("b\U0001F600a"));
  EXPECT_EQ(ReverseString(reversed), text);
}
