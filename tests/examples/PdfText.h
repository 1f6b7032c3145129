#pragma once
// What a reader of a PDF sees: its text through poppler's pdftotext, page by page, and German
// amount texts to look for in it.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdlib>

namespace testsupport {

// The text of every page of `pdf` in its layout ("pdftotext -layout"); empty when the tool fails.
inline QStringList pdfSeiten(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
  QStringList seiten = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!seiten.isEmpty() && seiten.last().trimmed().isEmpty()) seiten.removeLast();
  return seiten;
}

// An amount in cents as German text: -2660 gives "-26,60", 157900 gives "1.579,00".
inline QString deutscherBetrag(long long cents) {
  const bool negativ = cents < 0;
  const long long betrag = std::llabs(cents);
  QString ganz = QString::number(betrag / 100);
  for (int i = ganz.size() - 3; i > 0; i -= 3) ganz.insert(i, QLatin1Char('.'));
  return (negativ ? QStringLiteral("-") : QString()) + ganz + QLatin1Char(',') +
         QStringLiteral("%1").arg(betrag % 100, 2, 10, QLatin1Char('0'));
}

// The lines of `text` that contain `teil`.
inline QStringList zeilenMit(const QString& text, const QString& teil) {
  QStringList treffer;
  for (const QString& zeile : text.split(QLatin1Char('\n')))
    if (zeile.contains(teil)) treffer << zeile;
  return treffer;
}

}  // namespace testsupport
