#include "configuration/frmVorlagenUpdate.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>

namespace configuration {

namespace {

float twipsJePixel(const QWidget& w) { return 1440.0f / static_cast<float>(w.logicalDpiX()); }

}  // namespace

frmVorlagenUpdate::frmVorlagenUpdate(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Druckvorlagen Update"));
}

void frmVorlagenUpdate::SetFont(const QString& Name, std::int16_t Groesse, bool Fett, bool Kursiv) {
  QFont f = font();
  f.setFamily(Name);
  f.setBold(Fett);
  f.setItalic(Kursiv);
  f.setPointSizeF(static_cast<float>(Groesse));
  setFont(f);
}

float frmVorlagenUpdate::GetTextWidth(const QString& Text) const {
  const QFontMetricsF masse(font(), this);
  qreal breite = 0;
  for (const QString& zeile : Text.split(QLatin1Char('\n'))) breite = std::max(breite, masse.horizontalAdvance(zeile));
  return static_cast<float>(breite) * twipsJePixel(*this);
}

float frmVorlagenUpdate::GetTextHeight(const QString& Text) const {
  const QFontMetricsF masse(font(), this);
  return static_cast<float>(masse.height() * (Text.count(QLatin1Char('\n')) + 1)) * twipsJePixel(*this);
}

}  // namespace configuration
