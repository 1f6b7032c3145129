#include "platform/printing/ComputerName.h"

#include <gtest/gtest.h>

#include <QSysInfo>

using printing::computerName;
using printing::computerNameFromHostName;

TEST(ComputerName, IsTheFirstLabelOfTheHostName) {
  EXPECT_EQ(computerNameFromHostName(QStringLiteral("kasse2.filiale.example.de")), QStringLiteral("KASSE2"));
}

TEST(ComputerName, IsUpperCase) {
  EXPECT_EQ(computerNameFromHostName(QStringLiteral("buchhaltung")), QStringLiteral("BUCHHALTUNG"));
}

TEST(ComputerName, IsCutToFifteenCharacters) {
  EXPECT_EQ(computerNameFromHostName(QStringLiteral("arbeitsplatz-lager-nord.local")),
            QStringLiteral("ARBEITSPLATZ-LA"));
}

TEST(ComputerName, OfFifteenCharactersComesBackWhole) {
  EXPECT_EQ(computerNameFromHostName(QStringLiteral("abcdefghijklmno")), QStringLiteral("ABCDEFGHIJKLMNO"));
}

TEST(ComputerName, ShorterNameHasNoTrailingBlanks) {
  const QString name = computerNameFromHostName(QStringLiteral("pc7"));
  EXPECT_EQ(name, QStringLiteral("PC7"));
  EXPECT_EQ(name.size(), 3);
}

TEST(ComputerName, OfThisMachineFollowsItsHostName) {
  EXPECT_EQ(computerName(), computerNameFromHostName(QSysInfo::machineHostName()));
  EXPECT_LE(computerName().size(), 15);
  EXPECT_FALSE(computerName().contains(QLatin1Char('.')));
}
