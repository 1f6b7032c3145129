#include "platform/report/PageContent.h"

#include <QDataStream>
#include <QIODevice>

namespace report {

namespace {

// The fewest bytes a record of each list takes in the file (a font with empty names, a null
// image, a text command with a null string): a count that needs more than the file has left is a
// damaged one, refused before anything is reserved for it.
constexpr qint64 kMinFontBytes = 43;
constexpr qint64 kMinImageBytes = 4;
constexpr qint64 kMinCommandBytes = 37;

// The largest font our reports write: rich text up to 1638 points, held in page units
// (hundredths of a millimetre). A larger one costs Qt glyph images of its size squared.
constexpr double kMaxFontPoints = 1638;
constexpr qint32 kMaxFontPixels = 57786;
// Qt's own range for a font's stretch (percent of its normal width).
constexpr quint16 kMaxFontStretch = 4000;

bool countFits(QDataStream& in, quint32 count, qint64 minBytes) {
  return in.status() == QDataStream::Ok && in.device() && qint64(count) * minBytes <= in.device()->bytesAvailable();
}

// A colour as QDataStream writes it: a kind byte (RGB, HSV, …) and five 16-bit values. Qt takes
// any byte as its kind unchecked; one it does not know is refused here.
bool readColor(QDataStream& in, QColor& color) {
  constexpr int kBytes = 11;
  QByteArray raw(kBytes, Qt::Uninitialized);
  if (in.readRawData(raw.data(), kBytes) != kBytes) {
    in.setStatus(QDataStream::ReadPastEnd);
    return false;
  }
  const auto art = static_cast<qint8>(raw[0]);
  if (art < QColor::Invalid || art > QColor::ExtendedRgb) return false;
  QDataStream s(raw);
  s.setVersion(in.version());
  s.setByteOrder(in.byteOrder());
  s >> color;
  return s.status() == QDataStream::Ok;
}

// A font record as Qt writes it in stream version 6.0, read field by field before Qt reads it:
// Qt reserves its family list by the count in the file and takes two bytes as enums unchecked.
// The record goes to Qt only when it holds together, and Qt must end where this reading ended.
bool readFont(QDataStream& in, QFont& font, QString& why) {
  QIODevice* d = in.device();
  if (!d || d->isSequential()) return false;
  const qint64 start = d->pos();
  QString family, style;
  double pointSize = 0;
  qint32 pixelSize = 0, letterSpacing = 0, wordSpacing = 0;
  quint8 styleHint = 0, bits = 0, extendedBits = 0, hinting = 0, capital = 0;
  quint16 strategy = 0, weight = 0, stretch = 0;
  quint32 families = 0;
  in >> family >> style >> pointSize >> pixelSize >> styleHint >> strategy >> weight >> bits >> stretch >>
      extendedBits >> letterSpacing >> wordSpacing >> hinting >> capital >> families;
  if (!countFits(in, families, 4) || hinting > QFont::PreferFullHinting || capital > QFont::Capitalize) return false;
  // Unset sizes are -1; anything else must be one we could have written.
  if (pixelSize < -1 || pixelSize > kMaxFontPixels) {
    why = QStringLiteral("pixel size %1").arg(pixelSize);
    return false;
  }
  if (!(pointSize == -1 || (pointSize > 0 && pointSize <= kMaxFontPoints))) {
    why = QStringLiteral("point size %1").arg(pointSize);
    return false;
  }
  if (stretch > kMaxFontStretch) {
    why = QStringLiteral("stretch %1").arg(stretch);
    return false;
  }
  for (quint32 i = 0; i < families && in.status() == QDataStream::Ok; ++i) in >> family;
  if (in.status() != QDataStream::Ok) return false;
  const qint64 end = d->pos();
  if (!d->seek(start)) return false;
  in >> font;
  return in.status() == QDataStream::Ok && d->pos() == end;
}

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

bool PageContent::read(QDataStream& in, QString* why) {
  const auto fail = [&](const QString& reason) {
    if (why) *why = reason;
    return false;
  };
  // A count is checked against what the file has left before anything is reserved for it.
  const auto count = [&](quint32& n, qint64 minBytes, const char* what) {
    in >> n;
    if (in.status() != QDataStream::Ok) return fail(QStringLiteral("cut off"));
    if (countFits(in, n, minBytes)) return true;
    return fail(QStringLiteral("%1 %2 cannot fit in the %3 bytes left")
                    .arg(n)
                    .arg(QLatin1String(what))
                    .arg(in.device() ? in.device()->bytesAvailable() : 0));
  };
  PageContent p;
  quint32 fonts = 0, images = 0, commands = 0;
  if (!count(fonts, kMinFontBytes, "fonts")) return false;
  for (quint32 i = 0; i < fonts; ++i)
    if (QString grund; !readFont(in, p.m_fonts.emplace_back(), grund))
      return fail(grund.isEmpty() ? QStringLiteral("font %1 is damaged").arg(i + 1)
                                  : QStringLiteral("font %1 has %2").arg(i + 1).arg(grund));
  if (!count(images, kMinImageBytes, "images")) return false;
  for (quint32 i = 0; i < images && in.status() == QDataStream::Ok; ++i) in >> p.m_images.emplace_back();
  if (!count(commands, kMinCommandBytes, "drawing commands")) return false;
  p.m_commands.reserve(commands);
  for (quint32 i = 0; i < commands; ++i) {
    Command c;
    quint8 kind = 0;
    bool clipped = false;
    in >> kind >> clipped;
    if (clipped) in >> c.clip.emplace();
    qint32 index = -1;
    QPointF origin;
    bool farbeBekannt = true;
    switch (static_cast<Kind>(kind)) {
      case Kind::Text:
        in >> origin >> c.text >> index;
        farbeBekannt = readColor(in, c.color);
        c.geometry = QRectF(origin, QSizeF());
        if (index < 0 || index >= p.m_fonts.size()) return fail(QStringLiteral("command %1 names no font").arg(i + 1));
        break;
      case Kind::Line:
        in >> c.geometry;
        farbeBekannt = readColor(in, c.color);
        in >> c.width;
        break;
      case Kind::Rect:
        in >> c.geometry;
        farbeBekannt = readColor(in, c.color);
        in >> c.width;
        farbeBekannt = readColor(in, c.fill) && farbeBekannt;
        break;
      case Kind::Image:
        in >> c.geometry >> index;
        if (index < 0 || index >= p.m_images.size()) return fail(QStringLiteral("command %1 names no image").arg(i + 1));
        break;
      default: return fail(QStringLiteral("command %1 is of unknown kind %2").arg(i + 1).arg(kind));
    }
    if (in.status() != QDataStream::Ok) return fail(QStringLiteral("cut off"));
    if (!farbeBekannt) return fail(QStringLiteral("command %1 has a colour of unknown kind").arg(i + 1));
    c.kind = static_cast<Kind>(kind);
    c.font = index;
    p.m_commands.append(std::move(c));
  }
  *this = std::move(p);
  return true;
}

}  // namespace report
