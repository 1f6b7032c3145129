#pragma once
// Pages that can be shown or printed: a storage file, a rendered template, a preview job.
#include <QPainter>
#include <QRectF>
#include <QSizeF>

namespace report {

class PageSource {
 public:
  virtual ~PageSource() = default;
  virtual int pageCount() const = 0;
  // Page size in millimetres (page numbers from 1).
  virtual QSizeF pageSizeMM(int page) const = 0;
  // Draws the page scaled into `target` (device coordinates of `painter`).
  virtual void drawPage(int page, QPainter& painter, const QRectF& target) const = 0;
};

}  // namespace report
