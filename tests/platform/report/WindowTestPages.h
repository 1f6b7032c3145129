#pragma once
// Pages for the window tests: each page is filled with its own colour and remembers that it
// was drawn, so a test can see which page a window painted.
#include <QColor>
#include <QList>
#include <QPainter>

#include "platform/report/PageSource.h"

namespace windowtest {

class ColouredPages : public report::PageSource {
 public:
  explicit ColouredPages(int count, QSizeF sizeMM = QSizeF(210, 297)) : m_count(count), m_size(sizeMM) {}

  static QColor colourOf(int page) { return QColor::fromHsv((page * 67) % 360, 200, 200); }

  int pageCount() const override { return m_count; }
  QSizeF pageSizeMM(int page) const override {
    // Every third page lies on its side, so views must ask per page.
    return page % 3 == 0 ? m_size.transposed() : m_size;
  }
  void drawPage(int page, QPainter& painter, const QRectF& target) const override {
    drawn.append(page);
    painter.fillRect(target, colourOf(page));
  }

  mutable QList<int> drawn;

 private:
  int m_count;
  QSizeF m_size;
};

}  // namespace windowtest
