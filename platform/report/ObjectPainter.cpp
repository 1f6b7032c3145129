#include "platform/report/ObjectPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "platform/report/RtfReader.h"
#include "platform/vb/PathResolver.h"

namespace report {

namespace {

constexpr double U = kUnitsPerMM;
// Rich text is laid out at the page's own resolution (0.01 mm) without hinting, so the glyph
// positions of the layout are the ones the text is drawn with.
constexpr double kRichDpi = 2540.0;
constexpr double kRichScale = 2540.0 / kRichDpi;

QPaintDevice& richTextDevice() {
  static QImage device = [] {
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setDotsPerMeterX(qRound(kRichDpi / 0.0254));
    img.setDotsPerMeterY(qRound(kRichDpi / 0.0254));
    return img;
  }();
  return device;
}

// A font of the rich-text layout (point sizes) in page units.
QFont toPageUnits(QFont f) {
  const double points = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 72.0 / kRichDpi;
  f.setPixelSize(qMax(1, qRound(points * 2540.0 / 72.0)));
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

}  // namespace

void ImageCache::setFolder(const QString& folder) {
  if (folder == m_folder) return;
  m_folder = folder;
  m_images.clear();
}

const QImage* ImageCache::image(const QString& storedPath) {
  auto it = m_images.constFind(storedPath);
  if (it == m_images.constEnd()) {
    QImage img;
    QString real = vb::resolvePath(storedPath);
    if (!m_folder.isEmpty() && QDir::isRelativePath(real)) {
      const QString inFolder = vb::resolvePath(m_folder + QLatin1Char('/') + storedPath);
      if (QFileInfo(inFolder).isFile()) real = inFolder;
    }
    if (QFileInfo(real).isFile()) img.load(real);
    it = m_images.insert(storedPath, img);
  }
  return it->isNull() ? nullptr : &*it;
}

const QList<TextLayoutCache::Line>& TextLayoutCache::lines(const QFont& font, double width, const QString& paragraph) {
  Key key{font, width, paragraph};
  if (const auto it = m_lines.constFind(key); it != m_lines.constEnd()) return *it;
  if (m_previous.contains(key)) {
    QList<Line> lines = m_previous.take(key);
    return *m_lines.insert(std::move(key), std::move(lines));
  }
  QList<Line> lines;
  QTextLayout layout(paragraph, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines.append({line.textStart(), line.textLength(), line.naturalTextWidth()});
  }
  layout.endLayout();
  return *m_lines.insert(std::move(key), std::move(lines));
}

void TextLayoutCache::startJob() {
  m_previous = std::move(m_lines);
  m_lines.clear();
}

double ObjectPainter::draw(PageContent* out, const QList<DrawObject>& objects, const ValueScope& scope,
                           QList<LineSpan>* spans) {
  double bottom = 0;
  for (const DrawObject& o : objects)
    if (o.when.test(scope)) bottom = qMax(bottom, drawOne(out, o, scope, spans));
  return bottom;
}

bool ObjectPainter::lineShown(double top, double bottom) const {
  return top >= m_windowTop - 0.01 && bottom <= m_windowBottom + 0.01;
}

double ObjectPainter::drawOne(PageContent* out, const DrawObject& o, const ValueScope& scope, QList<LineSpan>* spans) {
  const bool clip = out && (m_windowTop > -1e11 || m_windowBottom < 1e11) && o.type != DrawObject::Type::Text;
  if (clip) out->setClip(QRectF(-1e6, m_windowTop, 2e6, m_windowBottom - m_windowTop));
  const double bottom = drawShape(out, o, scope, spans);
  if (clip) out->setClip(std::nullopt);
  return bottom;
}

double ObjectPainter::drawShape(PageContent* out, const DrawObject& o, const ValueScope& scope, QList<LineSpan>* spans) {
  switch (o.type) {
    case DrawObject::Type::Text: {
      const auto sole = o.text.soleValue(scope);
      if (sole && sole->kind() == ValueKind::RichText) return drawRichText(out, o, sole->text, spans);
      return drawPlainText(out, o, o.text.render(scope), spans);
    }
    case DrawObject::Type::Picture: {
      const auto sole = o.text.soleValue(scope);
      return drawPicture(out, o, sole ? sole->text : o.text.render(scope));
    }
    case DrawObject::Type::Line:
      if (out)
        out->line(QLineF(QPointF(o.box.x() * U, o.box.y() * U), QPointF(o.end.x() * U, o.end.y() * U)), o.color,
                      o.lineWidth * U);
      return qMax(o.box.y(), o.end.y()) * U;
    case DrawObject::Type::Rect:
      if (out) out->rect(QRectF(o.box.topLeft() * U, o.box.size() * U), o.color, o.lineWidth * U, o.fill);
      return o.box.bottom() * U;
  }
  return 0;
}

double ObjectPainter::drawPlainText(PageContent* out, const DrawObject& o, const QString& input,
                                    QList<LineSpan>* spans) {
  const double top = o.box.y() * U;
  const double width = o.box.width() * U;
  const double limit = o.box.height() > 0 ? o.box.height() * U : -1;
  QString text = input;
  text.replace(QLatin1Char('\t'), QStringLiteral("    "));
  const QFontMetricsF fm(o.font);
  const double lineHeight = fm.lineSpacing();
  double y = 0;
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  const bool broken = text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
  const QStringList paragraphs = text.isEmpty() ? QStringList() : broken ? text.split(breaks) : QStringList{text};
  // A text with a fixed height shows the lines that fit it.
  const auto fits = [&] { return limit < 0 || y + lineHeight <= limit + 0.5; };
  for (const QString& para : paragraphs) {
    if (!fits()) break;
    bool any = false;
    for (const TextLayoutCache::Line& line : m_layouts.lines(o.font, width, para)) {
      if (!fits()) break;
      any = true;
      const QString part = para.mid(line.start, line.length);
      if (out && !part.trimmed().isEmpty() && lineShown(top + y, top + y + lineHeight)) {
        double x = 0;
        const double natural = line.naturalWidth;
        if (o.align & Qt::AlignRight) x = width - natural;
        else if (o.align & Qt::AlignHCenter) x = (width - natural) / 2;
        QString shown = part;
        while (shown.endsWith(QLatin1Char(' '))) shown.chop(1);
        out->text(QPointF(o.box.x() * U + x, top + y + fm.ascent()), shown, o.font, o.color);
      }
      if (spans) spans->append({top + y, top + y + lineHeight});
      y += lineHeight;
    }
    if (!any && fits()) {
      // An empty paragraph still takes its line.
      if (spans) spans->append({top + y, top + y + lineHeight});
      y += lineHeight;
    }
  }
  return top + (limit >= 0 ? limit : y);
}

double ObjectPainter::drawRichText(PageContent* out, const DrawObject& o, const QString& rtf, QList<LineSpan>* spans) {
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&richTextDevice());
  doc.setDocumentMargin(0);
  QFont base = o.font;
  base.setPointSizeF(o.fontPoints);
  readRtf(rtf, doc, base);
  QTextCursor all(&doc);
  all.select(QTextCursor::Document);
  QTextCharFormat unhinted;
  unhinted.setFontHintingPreference(QFont::PreferNoHinting);
  all.mergeCharFormat(unhinted);
  doc.setTextWidth(o.box.width() * U / kRichScale);
  const double top = o.box.y() * U;
  const double limit = o.box.height() > 0 ? o.box.height() * U : -1;
  double bottom = 0;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    const QPointF origin = layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      const double lineTop = top + (origin.y() + line.y()) * kRichScale;
      const double lineBottom = lineTop + line.height() * kRichScale;
      if (limit >= 0 && lineBottom - top > limit + 0.5) break;
      if (spans) spans->append({lineTop, lineBottom});
      bottom = qMax(bottom, lineBottom - top);
      if (!out || !lineShown(lineTop, lineBottom)) continue;
      const int lineStart = line.textStart(), lineEnd = line.textStart() + line.textLength();
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const int fragStart = frag.position() - block.position();
        const int s = qMax(fragStart, lineStart), e = qMin(fragStart + frag.length(), lineEnd);
        if (s >= e) continue;
        QString piece = block.text().mid(s, e - s);
        piece.replace(QChar::LineSeparator, QLatin1Char(' '));
        piece.replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (piece.trimmed().isEmpty()) continue;
        const QTextCharFormat fmt = frag.charFormat();
        const double x = (origin.x() + line.cursorToX(s)) * kRichScale;
        out->text(QPointF(o.box.x() * U + x, lineTop + line.ascent() * kRichScale), piece, toPageUnits(fmt.font()),
                      fmt.foreground().style() == Qt::NoBrush ? o.color : fmt.foreground().color());
      }
    }
  }
  return top + (limit >= 0 ? limit : bottom);
}

double ObjectPainter::drawPicture(PageContent* out, const DrawObject& o, const QString& path) {
  const QRectF box(o.box.topLeft() * U, o.box.size() * U);
  const QImage* img = path.trimmed().isEmpty() ? nullptr : m_images.image(path.trimmed());
  if (!img) return box.bottom();
  QRectF target = box;
  if (box.height() <= 0) {
    target.setHeight(box.width() * img->height() / qMax(1, img->width()));
  } else if (o.keepAspect) {
    const QSizeF fitted = QSizeF(img->size()).scaled(box.size(), Qt::KeepAspectRatio);
    target.setSize(fitted);
  }
  if (out) out->image(target, *img);
  return qMax(box.bottom(), target.bottom());
}

}  // namespace report
