#pragma once
// What is drawn on one page, as a flat list of drawing commands in page units (hundredths of a
// millimetre): text lines with their font and colour, lines, rectangles and pictures, each with
// the clip it is drawn in. Rows are laid out once into such lists and appended to the page at
// their place; the finished page is drawn straight onto the output device, so text is shaped
// once more only there and stays text in a PDF.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <optional>

class QDataStream;

namespace report {

class PageContent {
 public:
  // Commands added from now on are drawn inside `clip` (page units), none with nullopt.
  void setClip(std::optional<QRectF> clip) { m_clip = clip; }

  void text(const QPointF& baseline, const QString& text, const QFont& font, const QColor& color);
  void line(const QLineF& line, const QColor& color, double width);
  // `pen` of width 0 draws no outline; an invalid `fill` fills nothing.
  void rect(const QRectF& rect, const QColor& pen, double penWidth, const QColor& fill);
  void image(const QRectF& target, const QImage& image);

  // Adds the commands of `other` moved by `offset`, inside this list's current clip as well.
  void append(const PageContent& other, const QPointF& offset = {});

  bool isEmpty() const { return m_commands.isEmpty(); }
  // Draws the commands in the painter's current coordinates, taken as page units.
  void draw(QPainter& painter) const;

  void write(QDataStream& out) const;
  // False when the stream is cut off or holds no valid list, `why` saying what is wrong. Counts,
  // colours and font records are checked before Qt reads or anything is reserved for them.
  bool read(QDataStream& in, QString* why = nullptr);

 private:
  enum class Kind : quint8 { Text, Line, Rect, Image };
  struct Command {
    Kind kind = Kind::Text;
    QRectF geometry;  // Text: baseline origin in topLeft; Line: from topLeft to bottomRight
    QString text;
    int font = -1;   // Text: index into m_fonts; Image: index into m_images
    QColor color;    // text colour or outline
    double width = 0;
    QColor fill;
    std::optional<QRectF> clip;
  };

  int fontIndex(const QFont& font);
  int imageIndex(const QImage& image);
  void add(Command c);

  QList<Command> m_commands;
  QList<QFont> m_fonts;
  QList<QImage> m_images;
  std::optional<QRectF> m_clip;
};

}  // namespace report
