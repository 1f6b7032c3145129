#pragma once
// The designer's page: the template's objects drawn by the printing renderer (references shown
// as "{Name}"), the page's margins and a millimetre grid at any zoom. A list template's row
// layouts stand as bands below the page, a label template's first label is edited with the
// rest of the grid shown around it. The page is shown as the first or as a following page: page
// objects of the other one are left out and cannot be selected. Objects are selected by click,
// rubber band or Tab / Shift+Tab and moved or resized with the mouse (past the drag distance: a
// click only selects) or the arrow keys (snapped to the grid, Shift for free); a band is selected
// by its caption. While a new object is being placed, a click (or Enter: the visible part of the
// page) says where. The canvas only reports the edit, the window applies it.
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <optional>

#include "platform/report/ObjectPainter.h"
#include "platform/report/Template.h"

namespace report {

// Where an object list stands in a template: the page objects, a header, body or footer row
// layout of a list, or the label's content.
enum class Section { Page, Header, Rows, Footer, Label };

struct ObjectRef {
  Section section = Section::Page;
  int row = -1;    // the row layout of Header, Rows and Footer
  int index = -1;  // the object in its list; -1 names the list itself
  bool operator==(const ObjectRef&) const = default;
  ObjectRef list() const { return {section, row, -1}; }
};

class DesignCanvas : public QWidget {
  Q_OBJECT
 public:
  static constexpr double kGrid = 1.0;  // mm

  explicit DesignCanvas(QWidget* parent = nullptr);

  // Shows `t` (copied); the selection keeps the objects that still exist. Relative picture paths
  // are read from `t.folder`.
  void setTemplate(const Template& t);
  void clear();

  QList<ObjectRef> selection() const { return m_selection; }
  void setSelection(const QList<ObjectRef>& refs);
  // The selected band (a row layout's list), when a band and no object is selected.
  std::optional<ObjectRef> selectedBand() const { return m_band; }
  void selectBand(const ObjectRef& list);
  // What a band's caption says: "Zeile 2: Position" (its caption, else its condition as read).
  QString caption(const ObjectRef& list) const;
  // Where a new page object goes when no click says where: in the part of the page shown (mm).
  QPointF visibleSpot() const;
  // While on, the next click (or Enter) reports placeRequested instead of selecting.
  void setPlacing(bool on);
  bool isPlacing() const { return m_placing; }
  // The object lists of the template, in the order they are shown.
  QList<ObjectRef> lists() const;
  // Where `list`'s objects are placed from (mm on the canvas) and its area.
  QPointF origin(const ObjectRef& list) const;
  QRectF area(const ObjectRef& list) const;
  // The object list whose area holds `pos` (mm); page objects elsewhere.
  ObjectRef listAt(const QPointF& pos) const;
  // An object's outline on the canvas (mm).
  QRectF objectRect(const ObjectRef& ref) const;
  const DrawObject* object(const ObjectRef& ref) const;

  // Where the body rows (the bands below the page) print on the page shown (mm): from the list
  // table's start on the first or the following pages down to its end, as the job lays them
  // out. The page shows it shaded, so nothing is placed there by mistake. Empty for labels.
  QRectF bodyArea() const;

  // Which page the sheet shows: PageRule::First or PageRule::Following.
  PageRule shownPage() const { return m_shownPage; }
  void setShownPage(PageRule page);
  // False for a page object that the shown page does not draw.
  bool isShown(const ObjectRef& ref) const;

  double zoom() const { return m_zoom; }
  void setZoom(double zoom);
  QSizeF sceneSize() const;
  QPointF toScene(const QPointF& widgetPos) const;
  QPointF toWidget(const QPointF& scenePos) const;

 signals:
  void selectionChanged();
  // The selected objects are to move by `delta` mm.
  void moveRequested(const QList<ObjectRef>& refs, const QPointF& delta);
  // `ref` is to grow by `delta` mm (width and height, or a line's end point).
  void resizeRequested(const ObjectRef& ref, const QSizeF& delta);
  // A value of the value list was dropped at `pos` (mm).
  void valueDropped(const QString& name, const QPointF& pos);
  // A new object is to stand at `pos` (mm); or placing was given up (Escape).
  void placeRequested(const QPointF& pos);
  void placingCancelled();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  struct Band {
    ObjectRef list;
    QString caption;
    QRectF area;  // mm on the canvas
    QPointF origin;
  };
  const QList<DrawObject>* objects(const ObjectRef& list) const;
  void layoutBands();
  std::optional<ObjectRef> hit(const QPointF& scenePos) const;
  std::optional<ObjectRef> bandAt(const QPointF& scenePos) const;
  QRectF captionRect(const Band& b) const;  // mm
  // The widget's font, made smaller where `heightPx` would not hold a line of it.
  QFont fittedFont(double heightPx) const;
  void paintBodyArea(QPainter& p);
  QRectF handleRect(const ObjectRef& ref) const;
  double pixelsPerMM() const;
  void paintGrid(QPainter& p, const QRectF& area) const;
  void paintObjects(QPainter& p, const ObjectRef& list, const QPointF& origin, bool editable);
  QPointF snapped(const QPointF& delta, const QPointF& anchor, bool free) const;
  // How far the selection has been dragged, snapped as it will move.
  QPointF moveDelta(bool free) const;

  std::optional<Template> m_template;
  QList<Band> m_bands;
  QList<ObjectRef> m_selection;
  std::optional<ObjectRef> m_band;
  bool m_placing = false;
  double m_zoom = 1.0;
  PageRule m_shownPage = PageRule::First;
  ImageCache m_images;
  TextLayoutCache m_layouts;

  enum class Drag { None, Move, Resize, Band } m_drag = Drag::None;
  bool m_dragging = false;  // the pointer went past the drag distance
  QPoint m_pressAt;         // px
  QPointF m_dragStart;      // mm
  QPointF m_dragNow;
  QPointF m_moved;  // the snapped delta of a move drag, drawn while the button is held
};

}  // namespace report
