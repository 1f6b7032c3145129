#include "platform/ui/ProgramInfo.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

namespace ui {

QString programTitle() { return QGuiApplication::applicationDisplayName(); }

QString programVersion() {
  return QStringLiteral("%1.%2.%3")
      .arg(SKRIVANT_VERSION_MAJOR)
      .arg(SKRIVANT_VERSION_MINOR)
      .arg(SKRIVANT_VERSION_REVISION);
}

QIcon programIcon() {
  const QIcon own = QGuiApplication::windowIcon();
  if (!own.isNull()) return own;
  QPixmap sheet(32, 32);
  sheet.fill(Qt::transparent);
  QPainter p(&sheet);
  p.setPen(QPen(Qt::darkGray, 1));
  p.setBrush(Qt::white);
  p.drawRect(6, 2, 20, 27);
  p.setPen(QPen(QColor(0, 70, 140), 2));
  for (int y = 8; y <= 22; y += 5) p.drawLine(10, y, 22, y);
  p.end();
  return QIcon(sheet);
}

}  // namespace ui
