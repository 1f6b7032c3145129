#include "platform/report/PreviewWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/report/PageView.h"

namespace report {

PreviewWindow::PreviewWindow(const PageSource& pages, const QString& title, QWidget* parent)
    : QDialog(parent), m_view(new PageView(this)) {
  setWindowTitle(title);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  m_view->toolBar()->addSeparator();
  QAction* close = m_view->toolBar()->addAction(QStringLiteral("Schließen"));
  close->setObjectName(QStringLiteral("closePreview"));
  connect(close, &QAction::triggered, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_view);

  // Room for a portrait page at its real width where the screen allows.
  QSize size(900, 1000);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableSize() * 9 / 10);
  resize(size);
  m_view->setPages(&pages);
}

}  // namespace report
