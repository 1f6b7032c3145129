#pragma once
// The designer's page: the template's objects drawn by the printing renderer (references shown
// as "{Name}"), the page's margins and a millimetre grid at any zoom. A list template's row
// layouts stand as bands below the page, a label template's first label is edited with the
// rest of the grid shown around it. The page is shown as the first or as a following page: page
// objects of the other one are left out and cannot be selected. Objects are selected by click or rubber band and moved or
// resized with the mouse or the arrow keys (snapped to the grid, Shift for free); the canvas
// only reports the edit, the window applies it.
#include <QList>
#include <QMap>
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

  // The conditions of the row layouts as written, by section and row, for the band captions.
  using Conditions = QMap<std::pair<int, int>, QString>;

  // Shows `t` (copied); the selection keeps the objects that still exist.
  void setTemplate(const Template& t, const Conditions& conditions);
  void clear();

  QList<ObjectRef> selection() const { return m_selection; }
  void setSelection(const QList<ObjectRef>& refs);
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

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
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
  QRectF handleRect(const ObjectRef& ref) const;
  double pixelsPerMM() const;
  void paintGrid(QPainter& p, const QRectF& area) const;
  void paintObjects(QPainter& p, const ObjectRef& list, const QPointF& origin, bool editable);
  QPointF snapped(const QPointF& delta, const QPointF& anchor, bool free) const;
  // How far the selection has been dragged, snapped as it will move.
  QPointF moveDelta(bool free) const;

  std::optional<Template> m_template;
  Conditions m_conditions;
  QList<Band> m_bands;
  QList<ObjectRef> m_selection;
  double m_zoom = 1.0;
  PageRule m_shownPage = PageRule::First;
  ImageCache m_images;
  TextLayoutCache m_layouts;

  enum class Drag { None, Move, Resize, Band } m_drag = Drag::None;
  QPointF m_dragStart;  // mm
  QPointF m_dragNow;
  QPointF m_moved;  // the snapped delta of a move drag, drawn while the button is held
};

}  // namespace report
