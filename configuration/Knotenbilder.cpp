#include "configuration/Knotenbilder.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace configuration {

namespace {

constexpr int kGroesse = 16;

void blatt(QPainter& p, const QColor& papier, int x, int y, int b, int h) {
  p.setPen(QColor(60, 60, 60));
  p.setBrush(papier);
  p.drawRect(x, y, b, h);
}

void zeilen(QPainter& p, int x, int y, int b, int anzahl) {
  p.setPen(QColor(90, 90, 160));
  for (int i = 0; i < anzahl; ++i) p.drawLine(x, y + 2 * i, x + b, y + 2 * i);
}

void bildschirm(QPainter& p, const QColor& flaeche) {
  blatt(p, flaeche, 1, 2, 13, 9);
  p.setBrush(QColor(80, 80, 80));
  p.drawRect(5, 12, 5, 2);
}

const QHash<QString, std::function<void(QPainter&)>>& zeichnungen() {
  static const QHash<QString, std::function<void(QPainter&)>> z = {
      {QStringLiteral("Drucker"),
       [](QPainter& p) {
         blatt(p, Qt::white, 4, 1, 8, 5);
         blatt(p, QColor(170, 170, 170), 1, 6, 14, 6);
         blatt(p, Qt::white, 4, 11, 8, 4);
       }},
      {QStringLiteral("Ordner"),
       [](QPainter& p) {
         blatt(p, QColor(230, 190, 80), 1, 3, 6, 3);
         blatt(p, QColor(245, 210, 100), 1, 5, 14, 9);
       }},
      {QStringLiteral("Rechner"), [](QPainter& p) { bildschirm(p, QColor(70, 130, 220)); }},
      {QStringLiteral("RechnerInaktiv"), [](QPainter& p) { bildschirm(p, QColor(200, 200, 200)); }},
      {QStringLiteral("RechnerGlobal"),
       [](QPainter& p) {
         p.setPen(QColor(30, 90, 60));
         p.setBrush(QColor(90, 180, 120));
         p.drawEllipse(1, 1, 14, 14);
         p.drawLine(8, 1, 8, 15);
         p.drawLine(1, 8, 15, 8);
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(4, 1, 8, 14);
       }},
      {QStringLiteral("Vorlage"),
       [](QPainter& p) {
         blatt(p, Qt::white, 3, 1, 10, 14);
         zeilen(p, 5, 4, 6, 5);
       }},
      {QStringLiteral("Formular"),
       [](QPainter& p) {
         blatt(p, QColor(220, 220, 240), 5, 1, 10, 12);
         blatt(p, Qt::white, 1, 3, 10, 12);
         zeilen(p, 3, 6, 6, 4);
       }},
      {QStringLiteral("Datei"),
       [](QPainter& p) {
         QPainterPath umriss;
         umriss.moveTo(3, 1);
         umriss.lineTo(10, 1);
         umriss.lineTo(13, 4);
         umriss.lineTo(13, 15);
         umriss.lineTo(3, 15);
         umriss.closeSubpath();
         p.setPen(QColor(60, 60, 60));
         p.setBrush(QColor(255, 250, 225));
         p.drawPath(umriss);
         p.drawLine(10, 1, 10, 4);
         p.drawLine(10, 4, 13, 4);
       }},
      {QStringLiteral("Texte"),
       [](QPainter& p) {
         blatt(p, Qt::white, 1, 1, 14, 14);
         p.setPen(QColor(170, 40, 40));
         QFont f = p.font();
         f.setPixelSize(10);
         f.setBold(true);
         p.setFont(f);
         p.drawText(QRect(1, 1, 8, 9), Qt::AlignCenter, QStringLiteral("A"));
         zeilen(p, 3, 11, 10, 2);
       }},
  };
  return z;
}

}  // namespace

QIcon Knotenbild(const QString& key) {
  const auto it = zeichnungen().constFind(key);
  if (it == zeichnungen().constEnd()) return {};
  QPixmap bild(kGroesse, kGroesse);
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  (*it)(p);
  p.end();
  return QIcon(bild);
}

}  // namespace configuration
