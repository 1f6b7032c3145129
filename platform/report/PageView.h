#pragma once
// Shows the pages of a PageSource one at a time, with page navigation and zoom. The preview
// window is this view and a close button; the designer shows its live preview in one.
//
// Actions (by objectName, so tests can trigger them): "firstPage", "previousPage", "nextPage",
// "lastPage", "zoomIn", "zoomOut", "fitWidth". The label "pageLabel" reads "Seite x von y".
#include <QWidget>

class QAction;
class QLabel;
class QScrollArea;
class QToolBar;

namespace report {

class PageSource;
class PageCanvas;

class PageView : public QWidget {
  Q_OBJECT
 public:
  explicit PageView(QWidget* parent = nullptr);

  // Shows `pages` (not owned; it must outlive the view or be replaced first; nullptr shows
  // nothing). The current page stays where it was when the new pages still have it, else page 1.
  void setPages(const PageSource* pages);

  int pageCount() const;
  // From 1; 0 when there are no pages.
  int currentPage() const { return m_page; }
  // Goes to `page`, kept within 1..pageCount().
  void setCurrentPage(int page);

  // 1.0 is the page's real size on the screen.
  double zoom() const { return m_zoom; }
  bool fitsWidth() const { return m_fitWidth; }

  QToolBar* toolBar() const { return m_toolBar; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* makeAction(const QString& name, const QString& text, const QKeySequence& key);
  void setZoom(double zoom);
  void applyFitWidth();
  void updateView();

  const PageSource* m_pages = nullptr;
  int m_page = 0;
  double m_zoom = 1.0;
  bool m_fitWidth = true;

  QToolBar* m_toolBar;
  QScrollArea* m_scroll;
  PageCanvas* m_canvas;
  QLabel* m_pageLabel;
  QLabel* m_zoomLabel;
  QAction* m_first;
  QAction* m_previous;
  QAction* m_next;
  QAction* m_last;
};

}  // namespace report
