// The log of the stock servers' main window: a bounded tail in its text and its box, and short
// quotes of clients' texts.
#include <gtest/gtest.h>

#include <QTextBlock>

#include "stockservers/common/LagerFenster.h"

namespace {

TEST(LagerFenster, TheLogKeepsItsLastLinesInTextAndBox) {
  LagerFenster f(QStringLiteral("Tarnelo"), nullptr);
  const auto letzteZeile = [&] { return f.Info->document()->lastBlock().text(); };
  f.setInfoText(QStringLiteral("Programmstart"));
  for (int i = 1; i <= 3 * LagerFenster::kLogZeilen; ++i) f.LogZeile(QStringLiteral("Zeile %1").arg(i));
  const QString ende = QStringLiteral("Zeile %1").arg(3 * LagerFenster::kLogZeilen);
  EXPECT_EQ(f.InfoText().count(QLatin1Char('\n')), LagerFenster::kLogZeilen);
  EXPECT_TRUE(f.InfoText().endsWith(QStringLiteral("\r\n") + ende) && !f.InfoText().contains(QStringLiteral("Programmstart")));
  EXPECT_LE(f.Info->document()->blockCount(), LagerFenster::kLogZeilen + 1);
  EXPECT_TRUE(letzteZeile() == ende && !f.Info->toPlainText().contains(QLatin1Char('\r')));

  // A megabyte in one piece keeps its end only; the lines after it are appended as before.
  f.InfoAnfuegen(QString(1024 * 1024, QLatin1Char('7')));
  EXPECT_EQ(f.InfoText().size(), LagerFenster::kLogZeichen);
  EXPECT_LE(f.Info->toPlainText().size(), LagerFenster::kLogZeichen);
  f.LogZeile(QStringLiteral("danach"));
  EXPECT_TRUE(letzteZeile() == QStringLiteral("danach") && f.InfoText().size() <= LagerFenster::kLogZeichen);

  f.setInfoText(QStringLiteral("neu\r\n").repeated(2 * LagerFenster::kLogZeilen));
  EXPECT_EQ(f.InfoText().count(QLatin1Char('\n')), LagerFenster::kLogZeilen);
}

TEST(LagerFenster, AClientsTextIsQuotedShort) {
  const QString lang(kZitatZeichen + 1, QLatin1Char('9'));
  EXPECT_EQ(LogZitat(lang), lang.left(kZitatZeichen) + QStringLiteral("…"));
  EXPECT_EQ(LogZitat(lang.left(kZitatZeichen)), lang.left(kZitatZeichen));
}

}  // namespace
