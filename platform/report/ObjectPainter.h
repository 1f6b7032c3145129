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
  // The picture at a stored or real path; nullptr when it cannot be read. A relative path is
  // looked for in the template's folder first, as the templates store their pictures.
  const QImage* image(const QString& storedPath);
  void setFolder(const QString& folder);

 private:
  QHash<QString, QImage> m_images;
  QString m_folder;
};

// Where plain text paragraphs break into lines, kept from one job to the next: the counting pass
// and the output pass lay out the same texts, and header and footer are measured for every row.
// A text neither job used is dropped, so a long batch keeps no more than two jobs' texts.
class TextLayoutCache {
 public:
  struct Line {
    int start = 0, length = 0;
    double naturalWidth = 0;
  };
  // The lines of `paragraph` in `font`, wrapped at `width` units.
  const QList<Line>& lines(const QFont& font, double width, const QString& paragraph);
  // A new job begins: texts the job before did not use are dropped.
  void startJob();

 private:
  struct Key {
    QFont font;
    double width;
    QString text;
    bool operator==(const Key& o) const { return width == o.width && text == o.text && font == o.font; }
    friend size_t qHash(const Key& k, size_t basis = 0) { return qHashMulti(basis, k.text, k.width, k.font); }
  };
  QHash<Key, QList<Line>> m_lines;     // used in this job
  QHash<Key, QList<Line>> m_previous;  // used in the job before only
};

// A text line's vertical extent; a row is only split between lines.
struct LineSpan {
  double top = 0, bottom = 0;
};

class ObjectPainter {
 public:
  ObjectPainter(ImageCache& images, TextLayoutCache& layouts) : m_images(images), m_layouts(layouts) {}

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
  TextLayoutCache& m_layouts;
  double m_windowTop = -1e12, m_windowBottom = 1e12;
};

}  // namespace report
