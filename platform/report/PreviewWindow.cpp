#include "platform/report/PreviewWindow.h"

#include <QAction>
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
  resize(900, 1000);
  m_view->setPages(&pages);
}

}  // namespace report
