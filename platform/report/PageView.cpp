#include "platform/report/PageView.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/report/PageSource.h"

namespace report {

namespace {

constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;
constexpr double kZoomStep = 1.25;
constexpr int kMargin = 12;  // grey border around the page, in pixels

// Size of a page at zoom 1.0 on `screen`; A4 when the source gives no usable size.
QSizeF unzoomedPageSize(const PageSource* pages, int page, const QWidget& screen) {
  QSizeF mm = (pages && page > 0) ? pages->pageSizeMM(page) : QSizeF();
  if (!(mm.width() > 0 && mm.height() > 0)) mm = QSizeF(210, 297);
  return QSizeF(mm.width() / 25.4 * screen.logicalDpiX(), mm.height() / 25.4 * screen.logicalDpiY());
}

}  // namespace

// The current page on a grey ground, drawn through the page source at the view's zoom.
class PageCanvas : public QWidget {
 public:
  using QWidget::QWidget;

  void display(const PageSource* pages, int page, double zoom) {
    m_pages = pages;
    m_page = page;
    m_zoom = zoom;
    const QSizeF size = pageSize();
    resize(qRound(size.width()) + 2 * kMargin, qRound(size.height()) + 2 * kMargin);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (!m_pages || m_page <= 0) return;
    const QSizeF size = pageSize();
    const QRectF target(kMargin, kMargin, size.width(), size.height());
    painter.fillRect(target, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(target);
    m_pages->drawPage(m_page, painter, target);
  }

 private:
  QSizeF pageSize() const { return unzoomedPageSize(m_pages, m_page, *this) * m_zoom; }

  const PageSource* m_pages = nullptr;
  int m_page = 0;
  double m_zoom = 1.0;
};

PageView::PageView(QWidget* parent) : QWidget(parent) {
  m_toolBar = new QToolBar(this);
  m_first = makeAction(QStringLiteral("firstPage"), QStringLiteral("|<"), QKeySequence(Qt::CTRL | Qt::Key_Home));
  m_first->setToolTip(QStringLiteral("Erste Seite"));
  m_previous = makeAction(QStringLiteral("previousPage"), QStringLiteral("<"), QKeySequence(Qt::Key_PageUp));
  m_previous->setToolTip(QStringLiteral("Vorige Seite"));
  m_pageLabel = new QLabel(m_toolBar);
  m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
  m_pageLabel->setContentsMargins(6, 0, 6, 0);
  m_toolBar->addWidget(m_pageLabel);
  m_next = makeAction(QStringLiteral("nextPage"), QStringLiteral(">"), QKeySequence(Qt::Key_PageDown));
  m_next->setToolTip(QStringLiteral("Nächste Seite"));
  m_last = makeAction(QStringLiteral("lastPage"), QStringLiteral(">|"), QKeySequence(Qt::CTRL | Qt::Key_End));
  m_last->setToolTip(QStringLiteral("Letzte Seite"));
  m_toolBar->addSeparator();
  QAction* zoomOut = makeAction(QStringLiteral("zoomOut"), QStringLiteral("-"), QKeySequence::ZoomOut);
  zoomOut->setToolTip(QStringLiteral("Verkleinern"));
  m_zoomLabel = new QLabel(m_toolBar);
  m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
  m_zoomLabel->setContentsMargins(6, 0, 6, 0);
  m_toolBar->addWidget(m_zoomLabel);
  QAction* zoomIn = makeAction(QStringLiteral("zoomIn"), QStringLiteral("+"), QKeySequence::ZoomIn);
  zoomIn->setToolTip(QStringLiteral("Vergrößern"));
  QAction* fit = makeAction(QStringLiteral("fitWidth"), QStringLiteral("Seitenbreite"), QKeySequence());

  connect(m_first, &QAction::triggered, this, [this] { setCurrentPage(1); });
  connect(m_previous, &QAction::triggered, this, [this] { setCurrentPage(m_page - 1); });
  connect(m_next, &QAction::triggered, this, [this] { setCurrentPage(m_page + 1); });
  connect(m_last, &QAction::triggered, this, [this] { setCurrentPage(pageCount()); });
  connect(zoomIn, &QAction::triggered, this, [this] { setZoom(m_zoom * kZoomStep); });
  connect(zoomOut, &QAction::triggered, this, [this] { setZoom(m_zoom / kZoomStep); });
  connect(fit, &QAction::triggered, this, [this] {
    m_fitWidth = true;
    applyFitWidth();
  });

  m_scroll = new QScrollArea(this);
  m_scroll->setObjectName(QStringLiteral("pageArea"));
  m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_scroll->setBackgroundRole(QPalette::Dark);
  // A scroll bar that comes and goes would change the width that "fit width" fits to.
  m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_canvas = new PageCanvas(m_scroll);
  m_canvas->setObjectName(QStringLiteral("pageCanvas"));
  m_scroll->setWidget(m_canvas);
  m_scroll->viewport()->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_toolBar);
  layout->addWidget(m_scroll, 1);
  updateView();
}

QAction* PageView::makeAction(const QString& name, const QString& text, const QKeySequence& key) {
  QAction* action = m_toolBar->addAction(text);
  action->setObjectName(name);
  if (!key.isEmpty()) {
    // The keys work wherever the focus is inside the view, and only there: in the designer,
    // Page Up in the editor still scrolls the text.
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QWidget::addAction(action);
  }
  return action;
}

void PageView::setPages(const PageSource* pages) {
  m_pages = pages;
  const int count = pageCount();
  if (count == 0) m_page = 0;
  else if (m_page < 1 || m_page > count) m_page = 1;
  if (m_fitWidth) applyFitWidth();
  updateView();
}

int PageView::pageCount() const { return m_pages ? std::max(0, m_pages->pageCount()) : 0; }

void PageView::setCurrentPage(int page) {
  const int count = pageCount();
  m_page = count == 0 ? 0 : std::clamp(page, 1, count);
  // Pages of one job may differ in size.
  if (m_fitWidth) applyFitWidth();
  updateView();
  m_scroll->verticalScrollBar()->setValue(0);
}

void PageView::setZoom(double zoom) {
  m_fitWidth = false;
  m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  updateView();
}

void PageView::applyFitWidth() {
  const double pageWidth = unzoomedPageSize(m_pages, m_page, *m_canvas).width();
  const int available = m_scroll->viewport()->width() - 2 * kMargin;
  if (pageWidth > 0 && available > 0) m_zoom = std::clamp(available / pageWidth, kMinZoom, kMaxZoom);
  updateView();
}

void PageView::updateView() {
  const int count = pageCount();
  m_pageLabel->setText(QStringLiteral("Seite %1 von %2").arg(m_page).arg(count));
  m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(m_zoom * 100)));
  m_first->setEnabled(m_page > 1);
  m_previous->setEnabled(m_page > 1);
  m_next->setEnabled(m_page < count);
  m_last->setEnabled(m_page < count);
  m_canvas->display(m_pages, m_page, m_zoom);
}

bool PageView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_fitWidth) applyFitWidth();
  return QWidget::eventFilter(watched, event);
}

}  // namespace report
