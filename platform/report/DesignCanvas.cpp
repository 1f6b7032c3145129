#include "platform/report/DesignCanvas.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QFontMetricsF>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <cmath>

#include "platform/report/PageContent.h"

namespace report {

namespace {

constexpr double U = kUnitsPerMM;
constexpr double kBorderPx = 16;
constexpr double kBandGap = 10;     // mm between the page and the first band
constexpr double kCaption = 6;      // mm of caption above a band
constexpr double kMinBand = 4;      // mm: an empty band still shows
constexpr double kTolerance = 0.8;  // mm around an object that still hits it
constexpr double kHandle = 6;       // px

const QColor kSelection(0x1a, 0x73, 0xe8);
const QColor kBodyTint(0x2e, 0x7d, 0x32, 0x1c);
const QColor kBodyEdge(0x2e, 0x7d, 0x32);
constexpr double kBodyLabel = 3.5;    // mm of the body area's label line
constexpr double kLeastTextPx = 5;    // below this a caption is left out

// References are shown as what they are: "{Name}".
class DesignScope : public ValueScope {
 public:
  std::optional<ReportValue> value(const QString& name) const override {
    return ReportValue{QLatin1Char('{') + name + QLatin1Char('}'), 0x10000000};
  }
  int page() const override { return 1; }
  bool lastPage() const override { return false; }
};

}  // namespace

DesignCanvas::DesignCanvas(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);
  setMouseTracking(false);
}

void DesignCanvas::setTemplate(const Template& t) {
  m_template = t;
  m_images.setFolder(t.folder);
  layoutBands();
  if (m_band && !area(*m_band).isValid()) {
    m_band.reset();
    emit selectionChanged();
  }
  QList<ObjectRef> kept;
  for (const ObjectRef& r : m_selection)
    if (object(r) && isShown(r)) kept.append(r);
  const bool changed = kept != m_selection;
  m_selection = kept;
  setZoom(m_zoom);
  update();
  if (changed) emit selectionChanged();
}

void DesignCanvas::clear() {
  m_template.reset();
  m_bands.clear();
  setSelection({});
  update();
}

void DesignCanvas::setSelection(const QList<ObjectRef>& refs) {
  QList<ObjectRef> valid;
  for (const ObjectRef& r : refs)
    if (object(r) && isShown(r) && !valid.contains(r)) valid.append(r);
  if (valid == m_selection && !m_band) return;
  m_band.reset();
  m_selection = valid;
  update();
  emit selectionChanged();
}

void DesignCanvas::selectBand(const ObjectRef& list) {
  if (list.section == Section::Page || list.section == Section::Label || !area(list).isValid()) return;
  m_selection.clear();
  m_band = list.list();
  update();
  emit selectionChanged();
}

QString DesignCanvas::caption(const ObjectRef& list) const {
  for (const Band& b : m_bands)
    if (b.list == list.list()) return b.caption;
  return {};
}

QPointF DesignCanvas::visibleSpot() const {
  const QRectF page = area({});
  const QRect shownPx = visibleRegion().boundingRect();
  QRectF shown = QRectF(toScene(shownPx.topLeft()), toScene(shownPx.bottomRight())) & page;
  if (shownPx.isEmpty() || shown.isEmpty()) shown = page;
  const QPointF at = shown.topLeft() + QPointF(10, 10);
  // A page smaller than an object (a template that could not be read has none) gives its corner.
  return QPointF(std::round(std::max(page.left(), std::min(at.x(), page.right() - 40))),
                 std::round(std::max(page.top(), std::min(at.y(), page.bottom() - 20))));
}

void DesignCanvas::setPlacing(bool on) {
  m_placing = on;
  if (on) {
    setCursor(Qt::CrossCursor);
    setFocus();
  } else {
    unsetCursor();
  }
}

void DesignCanvas::setShownPage(PageRule page) {
  if (page == m_shownPage) return;
  m_shownPage = page;
  QList<ObjectRef> kept;
  for (const ObjectRef& r : m_selection)
    if (isShown(r)) kept.append(r);
  update();
  if (kept != m_selection) {
    m_selection = kept;
    emit selectionChanged();
  }
}

bool DesignCanvas::isShown(const ObjectRef& ref) const {
  const DrawObject* o = ref.section == Section::Page ? object(ref) : nullptr;
  if (!o) return true;
  // The last page may be the first or a following one, so those objects show on both.
  switch (o->pages) {
    case PageRule::First: return m_shownPage == PageRule::First;
    case PageRule::Following: return m_shownPage == PageRule::Following;
    default: return true;
  }
}

QRectF DesignCanvas::bodyArea() const {
  if (!m_template || m_template->projectType == 1) return {};
  const TableSpec& t = m_template->table;
  const double top = m_shownPage == PageRule::First ? t.top : t.topFollowing;
  return QRectF(t.x, top, t.width, t.bottom - top);
}

QList<ObjectRef> DesignCanvas::lists() const {
  QList<ObjectRef> out;
  for (const Band& b : m_bands) out.append(b.list);
  return out;
}

QPointF DesignCanvas::origin(const ObjectRef& list) const {
  for (const Band& b : m_bands)
    if (b.list == list.list()) return b.origin;
  return {};
}

QRectF DesignCanvas::area(const ObjectRef& list) const {
  for (const Band& b : m_bands)
    if (b.list == list.list()) return b.area;
  return {};
}

ObjectRef DesignCanvas::listAt(const QPointF& pos) const {
  // The page comes first in the bands; the others lie on it or below it and win.
  for (qsizetype i = m_bands.size() - 1; i > 0; --i)
    if (m_bands[i].area.contains(pos)) return m_bands[i].list;
  return ObjectRef{Section::Page, -1, -1};
}

const QList<DrawObject>* DesignCanvas::objects(const ObjectRef& list) const {
  if (!m_template) return nullptr;
  const auto row = [&](const QList<RowLayout>& rows) -> const QList<DrawObject>* {
    return list.row >= 0 && list.row < rows.size() ? &rows[list.row].objects : nullptr;
  };
  switch (list.section) {
    case Section::Page: return &m_template->objects;
    case Section::Label: return m_template->projectType == 1 ? &m_template->label.objects : nullptr;
    case Section::Header: return row(m_template->table.header);
    case Section::Rows: return row(m_template->table.rows);
    case Section::Footer: return row(m_template->table.footer);
  }
  return nullptr;
}

const DrawObject* DesignCanvas::object(const ObjectRef& ref) const {
  const QList<DrawObject>* list = objects(ref);
  return list && ref.index >= 0 && ref.index < list->size() ? &(*list)[ref.index] : nullptr;
}

void DesignCanvas::layoutBands() {
  m_bands.clear();
  if (!m_template) return;
  const Template& t = *m_template;
  m_bands.append({{Section::Page, -1, -1}, {}, QRectF(QPointF(0, 0), t.pageSize), {0, 0}});
  if (t.projectType == 1) {
    const LabelSpec& g = t.label;
    const QRectF cell(g.x, g.y, g.width, g.height);
    m_bands.append({{Section::Label, -1, -1}, {}, cell, cell.topLeft()});
    return;
  }
  ObjectPainter measure(m_images, m_layouts);
  const DesignScope scope;
  double y = t.pageSize.height() + kBandGap;
  const auto add = [&](Section section, const QList<RowLayout>& rows, const QString& name) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
      const RowLayout& r = rows[i];
      QList<DrawObject> all = r.objects;
      for (DrawObject& o : all) o.when = Expression();
      const double content = measure.draw(nullptr, all, scope) / U;
      // Whole millimetres, so the bands' grid lines run on from one band to the next.
      const double height = std::ceil(qMax(kMinBand, qMax(r.minHeight, r.paddingTop + r.paddingBottom + content)) - 1e-6);
      // The user's name for the band, else what its condition asks, as a sentence.
      QString caption = QStringLiteral("%1 %2").arg(name).arg(i + 1);
      const QString when = r.when.readable();
      if (!r.caption.isEmpty()) caption += QStringLiteral(": ") + r.caption;
      if (!when.isEmpty()) caption += (r.caption.isEmpty() ? QStringLiteral(": wenn ") : QStringLiteral(", wenn ")) + when;
      y += kCaption;
      const QRectF area(t.table.x, y, t.table.width, height);
      m_bands.append({{section, int(i), -1}, caption, area, QPointF(t.table.x, y + r.paddingTop)});
      y += height + 2;
    }
  };
  add(Section::Header, t.table.header, QStringLiteral("Kopf"));
  add(Section::Rows, t.table.rows, QStringLiteral("Zeile"));
  add(Section::Footer, t.table.footer, QStringLiteral("Fuß"));
}

QSizeF DesignCanvas::sceneSize() const {
  QRectF all;
  for (const Band& b : m_bands) all |= b.area;
  return QSizeF(all.right() + 2, all.bottom() + 2);
}

double DesignCanvas::pixelsPerMM() const { return m_zoom * logicalDpiX() / 25.4; }

QPointF DesignCanvas::toScene(const QPointF& w) const {
  return (w - QPointF(kBorderPx, kBorderPx)) / pixelsPerMM();
}

QPointF DesignCanvas::toWidget(const QPointF& s) const {
  return s * pixelsPerMM() + QPointF(kBorderPx, kBorderPx);
}

void DesignCanvas::setZoom(double zoom) {
  m_zoom = qBound(0.1, zoom, 8.0);
  const QSizeF size = sceneSize() * pixelsPerMM();
  setFixedSize(qCeil(size.width() + 2 * kBorderPx), qCeil(size.height() + 2 * kBorderPx));
  update();
}

QRectF DesignCanvas::objectRect(const ObjectRef& ref) const {
  const DrawObject* o = object(ref);
  if (!o) return {};
  const QPointF at = origin(ref);
  QRectF r;
  switch (o->type) {
    case DrawObject::Type::Line:
      r = QRectF(o->box.topLeft(), o->end).normalized();
      break;
    case DrawObject::Type::Rect:
      r = o->box;
      break;
    case DrawObject::Type::Text:
    case DrawObject::Type::Picture: {
      r = o->box;
      if (r.height() <= 0) {
        DrawObject shown = *o;
        shown.when = Expression();
        auto& self = const_cast<DesignCanvas&>(*this);
        ObjectPainter measure(self.m_images, self.m_layouts);
        r.setHeight(qMax(measure.draw(nullptr, {shown}, DesignScope()) / U - r.y(), 2.0));
      }
      break;
    }
  }
  return r.translated(at);
}

QRectF DesignCanvas::handleRect(const ObjectRef& ref) const {
  const DrawObject* o = object(ref);
  if (!o) return {};
  const QPointF corner = o->type == DrawObject::Type::Line ? o->end + origin(ref) : objectRect(ref).bottomRight();
  const QPointF w = toWidget(corner);
  return QRectF(w - QPointF(kHandle, kHandle), QSizeF(2 * kHandle, 2 * kHandle));
}

std::optional<ObjectRef> DesignCanvas::hit(const QPointF& pos) const {
  for (qsizetype b = m_bands.size() - 1; b >= 0; --b) {
    const QList<DrawObject>* list = objects(m_bands[b].list);
    if (!list) continue;
    for (qsizetype i = list->size() - 1; i >= 0; --i) {
      const ObjectRef ref{m_bands[b].list.section, m_bands[b].list.row, int(i)};
      if (isShown(ref) && objectRect(ref).adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(pos)) return ref;
    }
  }
  return std::nullopt;
}

QRectF DesignCanvas::captionRect(const Band& b) const {
  return QRectF(b.area.left(), b.area.top() - kCaption, b.area.width(), kCaption);
}

std::optional<ObjectRef> DesignCanvas::bandAt(const QPointF& pos) const {
  for (const Band& b : m_bands)
    if (b.list.section != Section::Page && b.list.section != Section::Label && captionRect(b).contains(pos)) return b.list;
  return std::nullopt;
}

QFont DesignCanvas::fittedFont(double heightPx) const {
  QFont f = font();
  if (QFontMetricsF(f).height() > heightPx) f.setPixelSize(qMax(1, int(heightPx * 0.75)));
  return f;
}

void DesignCanvas::paintBodyArea(QPainter& p) {
  const QRectF body = bodyArea();
  if (body.isEmpty()) return;
  const QRectF w(toWidget(body.topLeft()), toWidget(body.bottomRight()));
  p.fillRect(w, kBodyTint);
  p.setPen(QPen(kBodyEdge, 0, Qt::DashLine));
  p.drawLine(w.topLeft(), w.topRight());
  p.drawLine(w.bottomLeft(), w.bottomRight());
  const double lineHeight = kBodyLabel * pixelsPerMM();
  if (lineHeight < kLeastTextPx) return;
  p.setFont(fittedFont(lineHeight));
  p.setPen(kBodyEdge);
  const QRectF label(w.left() + 2, w.top() + 1, w.width() - 4, lineHeight);
  const QString text = QStringLiteral("Tabelle ab %1 mm: Kopf, Zeilen und Fuß bis %2 mm")
                           .arg(QLocale(QLocale::German).toString(body.top(), 'g', 6),
                                QLocale(QLocale::German).toString(body.bottom(), 'g', 6));
  p.drawText(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
             p.fontMetrics().elidedText(text, Qt::ElideRight, int(label.width())));
  p.setFont(font());
}

void DesignCanvas::paintGrid(QPainter& p, const QRectF& area) const {
  const double ppm = pixelsPerMM();
  // The millimetre lines only where they stand apart; 5 and 10 mm lines always.
  for (const auto& [step, colour] : {std::pair{1.0, QColor(0xf0, 0xf0, 0xf0)}, std::pair{5.0, QColor(0xe2, 0xe2, 0xe2)},
                                     std::pair{10.0, QColor(0xd0, 0xd8, 0xe8)}}) {
    if (step * ppm < 4) continue;
    p.setPen(QPen(colour, 0));
    for (double x = std::ceil(area.left() / step) * step; x <= area.right(); x += step)
      p.drawLine(toWidget({x, area.top()}), toWidget({x, area.bottom()}));
    for (double y = std::ceil(area.top() / step) * step; y <= area.bottom(); y += step)
      p.drawLine(toWidget({area.left(), y}), toWidget({area.right(), y}));
  }
}

void DesignCanvas::paintObjects(QPainter& p, const ObjectRef& list, const QPointF& at, bool editable) {
  const QList<DrawObject>* all = objects(list);
  if (!all) return;
  ObjectPainter painter(m_images, m_layouts);
  const DesignScope scope;
  PageContent content;
  for (qsizetype i = 0; i < all->size(); ++i) {
    const ObjectRef ref{list.section, list.row, int(i)};
    if (!isShown(ref)) continue;
    // Every object shows, whatever its condition says.
    DrawObject shown = (*all)[i];
    shown.when = Expression();
    if (m_drag == Drag::Move && m_selection.contains(ref)) {
      shown.box.translate(m_moved);
      shown.end += m_moved;
    }
    painter.draw(&content, {shown}, scope);
  }
  p.save();
  p.translate(toWidget(at));
  p.scale(pixelsPerMM() / U, pixelsPerMM() / U);
  if (!editable) p.setOpacity(0.35);
  content.draw(p);
  p.restore();
  if (!editable) return;
  // Frames show where texts and pictures stand, even when they print nothing here.
  p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 0, Qt::DotLine));
  p.setBrush(Qt::NoBrush);
  for (qsizetype i = 0; i < all->size(); ++i) {
    const DrawObject::Type type = (*all)[i].type;
    const ObjectRef ref{list.section, list.row, int(i)};
    if ((type != DrawObject::Type::Text && type != DrawObject::Type::Picture) || !isShown(ref)) continue;
    QRectF r = objectRect(ref);
    if (m_drag == Drag::Move && m_selection.contains(ref)) r.translate(m_moved);
    p.drawRect(QRectF(toWidget(r.topLeft()), toWidget(r.bottomRight())));
  }
}

void DesignCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(0x9a, 0x9a, 0x9a));
  if (!m_template) return;
  p.setRenderHint(QPainter::Antialiasing);
  const Template& t = *m_template;
  for (const Band& b : m_bands) {
    const QRectF w(toWidget(b.area.topLeft()), toWidget(b.area.bottomRight()));
    p.fillRect(w, Qt::white);
    if (b.list.section == Section::Page) {
      paintGrid(p, b.area);
      paintBodyArea(p);
      const QRectF inner = b.area.marginsRemoved(t.margins);
      p.setPen(QPen(QColor(0x80, 0xa0, 0xd0), 0, Qt::DashLine));
      p.drawRect(QRectF(toWidget(inner.topLeft()), toWidget(inner.bottomRight())));
    } else if (b.list.section == Section::Label) {
      // The other labels of the sheet, as they will print.
      const LabelSpec& g = t.label;
      for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.columns; ++c) {
          const QPointF at(g.x + c * (g.width + g.gapX), g.y + r * (g.height + g.gapY));
          p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 0, Qt::DashLine));
          p.drawRect(QRectF(toWidget(at), toWidget(at + QPointF(g.width, g.height))));
          if (r || c) paintObjects(p, b.list, at, false);
        }
      p.setPen(QPen(kSelection, 0, Qt::DashLine));
      p.drawRect(w);
    } else {
      paintGrid(p, b.area);
      const QRectF mm = captionRect(b);
      const QRectF caption = QRectF(toWidget(mm.topLeft()), toWidget(mm.bottomRight())).adjusted(2, 0, 0, 0);
      // At a small zoom the caption shrinks with its strip rather than run into the next band.
      if (caption.height() >= kLeastTextPx) {
        p.setFont(fittedFont(caption.height()));
        p.setPen(Qt::white);
        p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(b.caption, Qt::ElideRight, int(caption.width())));
        p.setFont(font());
      }
      if (m_band == b.list) {
        p.setPen(QPen(kSelection, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(toWidget(mm.topLeft()), w.bottomRight()).adjusted(-1, -1, 1, 1));
      }
    }
    if (b.list.section == Section::Page) paintObjects(p, b.list, b.origin, true);
  }
  for (qsizetype i = 1; i < m_bands.size(); ++i) paintObjects(p, m_bands[i].list, m_bands[i].origin, true);

  const QPointF offset = m_drag == Drag::Move ? m_moved : QPointF();
  for (const ObjectRef& r : m_selection) {
    QRectF s = objectRect(r).translated(offset);
    if (m_drag == Drag::Resize && m_selection.size() == 1) s.setBottomRight(s.bottomRight() + m_dragNow - m_dragStart);
    p.setPen(QPen(kSelection, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(toWidget(s.topLeft()), toWidget(s.bottomRight())).adjusted(-1, -1, 1, 1));
  }
  if (m_selection.size() == 1 && m_drag == Drag::None) p.fillRect(handleRect(m_selection[0]), kSelection);
  if (m_drag == Drag::Band && m_dragging) {
    p.setPen(QPen(kSelection, 1, Qt::DashLine));
    p.setBrush(QColor(0x1a, 0x73, 0xe8, 0x30));
    p.drawRect(QRectF(toWidget(m_dragStart), toWidget(m_dragNow)));
  }
}

QPointF DesignCanvas::snapped(const QPointF& delta, const QPointF& anchor, bool free) const {
  const double step = free ? 0.1 : kGrid;
  const auto snap = [step](double from, double d) { return std::round((from + d) / step) * step - from; };
  return QPointF(snap(anchor.x(), delta.x()), snap(anchor.y(), delta.y()));
}

QPointF DesignCanvas::moveDelta(bool free) const {
  if (m_selection.isEmpty()) return {};
  // The grid is the one of the object's own list: whole millimetres from its origin.
  const ObjectRef& first = m_selection[0];
  return snapped(m_dragNow - m_dragStart, objectRect(first).topLeft() - origin(first), free);
}

void DesignCanvas::mousePressEvent(QMouseEvent* e) {
  setFocus();
  const QPointF pos = toScene(e->position());
  if (e->button() == Qt::RightButton) {
    // The context menu acts on what lies under the pointer.
    if (const auto ref = hit(pos); ref && !m_selection.contains(*ref)) setSelection({*ref});
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  if (m_placing) {
    emit placeRequested(pos);
    return;
  }
  m_pressAt = e->position().toPoint();
  m_dragging = false;
  m_dragStart = m_dragNow = pos;
  m_moved = {};
  if (m_selection.size() == 1 && handleRect(m_selection[0]).contains(e->position())) {
    m_drag = Drag::Resize;
    return;
  }
  const auto ref = hit(pos);
  const bool add = e->modifiers() & Qt::ControlModifier;
  if (!ref) {
    if (const auto band = bandAt(pos); band && !add) {
      selectBand(*band);
      m_drag = Drag::None;
      return;
    }
    if (!add) setSelection({});
    m_drag = Drag::Band;
    return;
  }
  QList<ObjectRef> sel = m_selection;
  if (add) {
    if (!sel.removeOne(*ref)) sel.append(*ref);
  } else if (!sel.contains(*ref)) {
    sel = {*ref};
  }
  setSelection(sel);
  m_drag = sel.contains(*ref) ? Drag::Move : Drag::None;
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* e) {
  if (m_drag == Drag::None) return;
  // A hand that shakes while clicking does not move anything.
  if (!m_dragging && (e->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance()) return;
  m_dragging = true;
  m_dragNow = toScene(e->position());
  if (m_drag == Drag::Move) m_moved = moveDelta(e->modifiers() & Qt::ShiftModifier);
  update();
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent* e) {
  const Drag drag = m_drag;
  const bool dragged = m_dragging;
  m_drag = Drag::None;
  m_dragging = false;
  // A click only selects, and that happened when the button went down.
  if (drag == Drag::None || !dragged || (m_selection.isEmpty() && drag != Drag::Band)) return update();
  m_dragNow = toScene(e->position());
  const bool free = e->modifiers() & Qt::ShiftModifier;
  const QPointF raw = m_dragNow - m_dragStart;
  if (drag == Drag::Band) {
    const QRectF band = QRectF(m_dragStart, m_dragNow).normalized();
    QList<ObjectRef> sel = (e->modifiers() & Qt::ControlModifier) ? m_selection : QList<ObjectRef>();
    for (const ObjectRef& list : lists())
      if (const QList<DrawObject>* all = objects(list))
        for (qsizetype i = 0; i < all->size(); ++i) {
          const ObjectRef ref{list.section, list.row, int(i)};
          if (isShown(ref) && band.contains(objectRect(ref))) sel.append(ref);
        }
    setSelection(sel);
  } else if (drag == Drag::Move) {
    const QPointF delta = moveDelta(free);
    if (!delta.isNull()) emit moveRequested(m_selection, delta);
  } else if (drag == Drag::Resize) {
    const QPointF delta = snapped(raw, objectRect(m_selection[0]).bottomRight() - origin(m_selection[0]), free);
    if (!delta.isNull()) emit resizeRequested(m_selection[0], QSizeF(delta.x(), delta.y()));
  }
  update();
}

void DesignCanvas::keyPressEvent(QKeyEvent* e) {
  if (m_placing && e->key() == Qt::Key_Escape) {
    setPlacing(false);
    emit placingCancelled();
    return;
  }
  if (m_placing && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
    emit placeRequested(visibleSpot());
    return;
  }
  const double step = (e->modifiers() & Qt::ShiftModifier) ? 0.1 : kGrid;
  QPointF d;
  switch (e->key()) {
    case Qt::Key_Left: d = {-step, 0}; break;
    case Qt::Key_Right: d = {step, 0}; break;
    case Qt::Key_Up: d = {0, -step}; break;
    case Qt::Key_Down: d = {0, step}; break;
    default: return QWidget::keyPressEvent(e);
  }
  if (m_selection.isEmpty()) return;
  const bool resize = e->modifiers() & Qt::ControlModifier;
  // Without Shift an arrow goes to the next grid line, so an object off the grid comes onto it.
  const auto toGrid = [&](const QPointF& anchor) {
    const auto next = [step](double from, double d) {
      if (d == 0) return 0.0;
      const double to = d > 0 ? std::floor(from / step + 1e-6) + 1 : std::ceil(from / step - 1e-6) - 1;
      return to * step - from;
    };
    return QPointF(next(anchor.x(), d.x()), next(anchor.y(), d.y()));
  };
  const ObjectRef& first = m_selection[0];
  const QRectF r = objectRect(first).translated(-origin(first));
  if (!(e->modifiers() & Qt::ShiftModifier)) d = toGrid(resize ? r.bottomRight() : r.topLeft());
  // Ctrl with an arrow resizes, as a drag of the corner would.
  if (resize) {
    for (const ObjectRef& ref : m_selection) emit resizeRequested(ref, QSizeF(d.x(), d.y()));
  } else {
    emit moveRequested(m_selection, d);
  }
}

bool DesignCanvas::focusNextPrevChild(bool next) {
  QList<ObjectRef> order;
  for (const Band& b : m_bands)
    if (const QList<DrawObject>* all = objects(b.list))
      for (qsizetype i = 0; i < all->size(); ++i)
        if (const ObjectRef ref{b.list.section, b.list.row, int(i)}; isShown(ref)) order.append(ref);
  const qsizetype at = m_selection.isEmpty() ? -1 : order.indexOf(next ? m_selection.last() : m_selection.first());
  const qsizetype to = at < 0 ? (next ? 0 : order.size() - 1) : at + (next ? 1 : -1);
  // Past the last object Tab goes on to the next control, as everywhere else.
  if (to < 0 || to >= order.size()) return QWidget::focusNextPrevChild(next);
  setSelection({order[to]});
  for (QWidget* w = parentWidget(); w; w = w->parentWidget())
    if (auto* area = qobject_cast<QScrollArea*>(w)) {
      const QPointF c = toWidget(objectRect(order[to]).center());
      area->ensureVisible(int(c.x()), int(c.y()), 80, 80);
      break;
    }
  return true;
}

void DesignCanvas::dragEnterEvent(QDragEnterEvent* e) {
  if (m_template && e->mimeData()->hasFormat(QStringLiteral("application/x-skrivant-value"))) e->acceptProposedAction();
}

void DesignCanvas::dropEvent(QDropEvent* e) {
  const QString name = QString::fromUtf8(e->mimeData()->data(QStringLiteral("application/x-skrivant-value")));
  if (name.isEmpty()) return;
  e->acceptProposedAction();
  emit valueDropped(name, toScene(e->position()));
}

}  // namespace report
