#include "platform/ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace ui {

namespace {

// Keeps [at, at + length) within [from, from + room): a window larger than the room starts
// at its beginning, so its title and menu stay reachable.
int within(int at, int length, int from, int room) { return std::max(from, std::min(at, from + room - length)); }

}  // namespace

void fitToScreen(QWidget& window) {
  if (!window.isWindow()) return;
  QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  // The native window answers for its frame; one the window system decorates later fits at
  // least without it.
  window.winId();
  const QMargins frame = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
  const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
  const QSize wanted = window.testAttribute(Qt::WA_Resized) || window.isVisible() ? window.size() : window.sizeHint();
  const QSize size = wanted.boundedTo(room.size() - frameSize).expandedTo(QSize(1, 1));
  if (size != window.size()) window.resize(size);

  const QSize outer = window.size() + frameSize;
  const bool placed = window.testAttribute(Qt::WA_Moved) || window.isVisible();
  // A dialog over a parent is centred over it when shown, within the screen.
  if (!placed && window.parentWidget()) return;
  QPoint at = window.pos();
  if (!placed) at = room.center() - QPoint(outer.width() / 2, outer.height() / 2);
  at = QPoint(within(at.x(), outer.width(), room.x(), room.width()), within(at.y(), outer.height(), room.y(), room.height()));
  if (at != window.pos() || !placed) window.move(at);
}

}  // namespace ui
