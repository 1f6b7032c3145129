// The log of the stock servers' main window: a bounded tail, appended without laying out the
// whole text again, and short quotes of clients' texts.
#include <gtest/gtest.h>

#include <QTextBlock>

#include "stockservers/common/LagerFenster.h"

namespace {

QString letzteZeile(const LagerFenster& f) { return f.Info->document()->lastBlock().text(); }

TEST(LagerFenster, TheLogKeepsItsLastLinesInTextAndBox) {
  LagerFenster f(QStringLiteral("Tarnelo"), nullptr);
  f.setInfoText(QStringLiteral("Programmstart"));
  for (int i = 1; i <= 3 * LagerFenster::kLogZeilen; ++i) f.LogZeile(QStringLiteral("Zeile %1").arg(i));
  const QString ende = QStringLiteral("Zeile %1").arg(3 * LagerFenster::kLogZeilen);
  EXPECT_EQ(f.InfoText().count(QLatin1Char('\n')), LagerFenster::kLogZeilen);
  EXPECT_TRUE(f.InfoText().endsWith(QStringLiteral("\r\n") + ende));
  EXPECT_FALSE(f.InfoText().contains(QStringLiteral("Programmstart")));
  EXPECT_LE(f.Info->document()->blockCount(), LagerFenster::kLogZeilen + 1);
  EXPECT_EQ(letzteZeile(f), ende);
  EXPECT_FALSE(f.Info->toPlainText().contains(QLatin1Char('\r')));

  // A megabyte in one piece keeps its end only; the lines after it are appended as before.
  f.InfoAnfuegen(QString(1024 * 1024, QLatin1Char('7')));
  EXPECT_EQ(f.InfoText().size(), LagerFenster::kLogZeichen);
  EXPECT_LE(f.Info->toPlainText().size(), LagerFenster::kLogZeichen);
  f.LogZeile(QStringLiteral("danach"));
  EXPECT_EQ(letzteZeile(f), QStringLiteral("danach"));
  EXPECT_LE(f.InfoText().size(), LagerFenster::kLogZeichen);

  // Replacing the log bounds it too.
  f.setInfoText(QStringLiteral("neu\r\n").repeated(2 * LagerFenster::kLogZeilen));
  EXPECT_EQ(f.InfoText().count(QLatin1Char('\n')), LagerFenster::kLogZeilen);
}

TEST(LagerFenster, AClientsTextIsQuotedShort) {
  EXPECT_EQ(LogZitat(QStringLiteral("3-446-23456-X")), QStringLiteral("3-446-23456-X"));
  const QString lang(kZitatZeichen + 1, QLatin1Char('9'));
  EXPECT_EQ(LogZitat(lang), lang.left(kZitatZeichen) + QStringLiteral("…"));
  EXPECT_EQ(LogZitat(lang.left(kZitatZeichen)), lang.left(kZitatZeichen));
}

}  // namespace
