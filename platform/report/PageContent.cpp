#include "platform/report/PageContent.h"

#include <QDataStream>

namespace report {

namespace {

// Far more than any real page; guards the reader against a damaged count.
constexpr quint32 kMaxItems = 10000000;

std::optional<QRectF> moved(const std::optional<QRectF>& clip, const QPointF& offset) {
  if (!clip) return std::nullopt;
  return clip->translated(offset);
}

std::optional<QRectF> both(const std::optional<QRectF>& a, const std::optional<QRectF>& b) {
  if (!a) return b;
  if (!b) return a;
  return *a & *b;
}

}  // namespace

int PageContent::fontIndex(const QFont& font) {
  // Rows draw most of their text in the font of the text before.
  if (!m_fonts.isEmpty() && m_fonts.last().isCopyOf(font)) return static_cast<int>(m_fonts.size() - 1);
  for (qsizetype i = 0; i < m_fonts.size(); ++i)
    if (m_fonts[i].isCopyOf(font) || m_fonts[i] == font) return static_cast<int>(i);
  m_fonts.append(font);
  return static_cast<int>(m_fonts.size() - 1);
}

void PageContent::add(Command c) {
  c.clip = m_clip;
  m_commands.append(std::move(c));
}

void PageContent::text(const QPointF& baseline, const QString& text, const QFont& font, const QColor& color) {
  Command c;
  c.kind = Kind::Text;
  c.geometry = QRectF(baseline, QSizeF());
  c.text = text;
  c.font = fontIndex(font);
  c.color = color;
  add(std::move(c));
}

void PageContent::line(const QLineF& line, const QColor& color, double width) {
  Command c;
  c.kind = Kind::Line;
  c.geometry = QRectF(line.p1(), line.p2());
  c.color = color;
  c.width = width;
  add(std::move(c));
}

void PageContent::rect(const QRectF& rect, const QColor& pen, double penWidth, const QColor& fill) {
  Command c;
  c.kind = Kind::Rect;
  c.geometry = rect;
  c.color = pen;
  c.width = penWidth;
  c.fill = fill;
  add(std::move(c));
}

void PageContent::image(const QRectF& target, const QImage& image) {
  Command c;
  c.kind = Kind::Image;
  c.geometry = target;
  c.font = imageIndex(image);
  add(std::move(c));
}

int PageContent::imageIndex(const QImage& image) {
  // A picture every row shows is stored once per page.
  qsizetype i = 0;
  while (i < m_images.size() && m_images[i].cacheKey() != image.cacheKey()) ++i;
  if (i == m_images.size()) m_images.append(image);
  return static_cast<int>(i);
}

void PageContent::append(const PageContent& other, const QPointF& offset) {
  QList<int> fonts, images;
  for (const QFont& f : other.m_fonts) fonts << fontIndex(f);
  for (const QImage& img : other.m_images) images << imageIndex(img);
  m_commands.reserve(m_commands.size() + other.m_commands.size());
  for (Command c : other.m_commands) {
    c.geometry.translate(offset);
    if (c.kind == Kind::Text) c.font = fonts[c.font];
    else if (c.kind == Kind::Image) c.font = images[c.font];
    c.clip = both(moved(c.clip, offset), m_clip);
    m_commands.append(std::move(c));
  }
}

void PageContent::draw(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  int font = -1;
  for (const Command& c : m_commands) {
    if (c.clip) {
      painter.save();
      painter.setClipRect(*c.clip, Qt::IntersectClip);
    }
    switch (c.kind) {
      case Kind::Text:
        if (c.font != font) {
          painter.setFont(m_fonts[c.font]);
          font = c.font;
        }
        painter.setPen(c.color);
        painter.drawText(c.geometry.topLeft(), c.text);
        break;
      case Kind::Line:
        painter.setPen(QPen(c.color, c.width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(c.geometry.topLeft(), c.geometry.bottomRight());
        break;
      case Kind::Rect:
        painter.setPen(c.width > 0 ? QPen(c.color, c.width) : QPen(Qt::NoPen));
        painter.setBrush(c.fill.isValid() ? QBrush(c.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(c.geometry);
        painter.setBrush(Qt::NoBrush);
        break;
      case Kind::Image:
        painter.drawImage(c.geometry, m_images[c.font]);
        break;
    }
    if (c.clip) {
      painter.restore();
      font = -1;
    }
  }
  painter.restore();
}

void PageContent::write(QDataStream& out) const {
  out << static_cast<quint32>(m_fonts.size());
  for (const QFont& f : m_fonts) out << f;
  out << static_cast<quint32>(m_images.size());
  for (const QImage& img : m_images) out << img;
  out << static_cast<quint32>(m_commands.size());
  for (const Command& c : m_commands) {
    out << static_cast<quint8>(c.kind) << c.clip.has_value();
    if (c.clip) out << *c.clip;
    switch (c.kind) {
      case Kind::Text: out << c.geometry.topLeft() << c.text << static_cast<qint32>(c.font) << c.color; break;
      case Kind::Line: out << c.geometry << c.color << c.width; break;
      case Kind::Rect: out << c.geometry << c.color << c.width << c.fill; break;
      case Kind::Image: out << c.geometry << static_cast<qint32>(c.font); break;
    }
  }
}

bool PageContent::read(QDataStream& in) {
  PageContent p;
  quint32 fonts = 0, images = 0, commands = 0;
  in >> fonts;
  if (in.status() != QDataStream::Ok || fonts > kMaxItems) return false;
  for (quint32 i = 0; i < fonts && in.status() == QDataStream::Ok; ++i) in >> p.m_fonts.emplace_back();
  in >> images;
  if (in.status() != QDataStream::Ok || images > kMaxItems) return false;
  for (quint32 i = 0; i < images && in.status() == QDataStream::Ok; ++i) in >> p.m_images.emplace_back();
  in >> commands;
  if (in.status() != QDataStream::Ok || commands > kMaxItems) return false;
  p.m_commands.reserve(commands);
  for (quint32 i = 0; i < commands; ++i) {
    Command c;
    quint8 kind = 0;
    bool clipped = false;
    in >> kind >> clipped;
    if (clipped) in >> c.clip.emplace();
    qint32 index = -1;
    QPointF origin;
    switch (static_cast<Kind>(kind)) {
      case Kind::Text:
        in >> origin >> c.text >> index >> c.color;
        c.geometry = QRectF(origin, QSizeF());
        if (index < 0 || index >= p.m_fonts.size()) return false;
        break;
      case Kind::Line: in >> c.geometry >> c.color >> c.width; break;
      case Kind::Rect: in >> c.geometry >> c.color >> c.width >> c.fill; break;
      case Kind::Image:
        in >> c.geometry >> index;
        if (index < 0 || index >= p.m_images.size()) return false;
        break;
      default: return false;
    }
    if (in.status() != QDataStream::Ok) return false;
    c.kind = static_cast<Kind>(kind);
    c.font = index;
    p.m_commands.append(std::move(c));
  }
  *this = std::move(p);
  return true;
}

}  // namespace report
