#pragma once
// Draws template objects in page units (hundredths of a millimetre) into a page's drawing
// commands: wrapped text, rich text, lines, rectangles and pictures. Text goes line by line as
// text, so it stays text in a PDF.
#include <QHash>
#include <QImage>
#include <QList>

#include "platform/report/PageContent.h"
#include "platform/report/Template.h"

namespace report {

// Pictures of drawing values, read once per job.
class ImageCache {
 public:
  // The picture at a stored or real path; nullptr when it cannot be read.
  const QImage* image(const QString& storedPath);

 private:
  QHash<QString, QImage> m_images;
};

// A text line's vertical extent; a row is only split between lines.
struct LineSpan {
  double top = 0, bottom = 0;
};

class ObjectPainter {
 public:
  explicit ObjectPainter(ImageCache& images) : m_images(images) {}

  // Draws only the part from `top` to `bottom` (units, relative to the objects' origin): text
  // lines that lie wholly inside, other objects clipped. Used for the pieces of a split row, so
  // no text is on two pages.
  void setWindow(double top, double bottom) {
    m_windowTop = top;
    m_windowBottom = bottom;
  }

  // Draws the objects whose condition holds into `out`, placed relative to its origin; with no
  // `out` it only measures. Answers the bottom of what they take (units). `spans` collects the
  // text lines.
  double draw(PageContent* out, const QList<DrawObject>& objects, const ValueScope& scope,
              QList<LineSpan>* spans = nullptr);

 private:
  double drawOne(PageContent* out, const DrawObject& o, const ValueScope& scope, QList<LineSpan>* spans);
  double drawShape(PageContent* out, const DrawObject& o, const ValueScope& scope, QList<LineSpan>* spans);
  double drawPlainText(PageContent* out, const DrawObject& o, const QString& text, QList<LineSpan>* spans);
  double drawRichText(PageContent* out, const DrawObject& o, const QString& rtf, QList<LineSpan>* spans);
  double drawPicture(PageContent* out, const DrawObject& o, const QString& path);

  bool lineShown(double top, double bottom) const;

  ImageCache& m_images;
  double m_windowTop = -1e12, m_windowBottom = 1e12;
};

}  // namespace report
