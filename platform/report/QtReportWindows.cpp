#include "platform/report/QtReportWindows.h"

#include "platform/report/DesignerWindow.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/PrintBox.h"
#include "platform/report/PrintOptionsDialog.h"
#include "platform/report/SelectFileDialog.h"
#include "platform/ui/Dialogs.h"

namespace report {

QtReportWindows::QtReportWindows() = default;

QtReportWindows::~QtReportWindows() { delete m_box.data(); }

void QtReportWindows::showPreview(const PageSource& pages, const QString& title, QWidget* parent) {
  PreviewWindow window(pages, title, parent);
  ui::dialogs().execWindow(window, QStringLiteral("preview"));
}

void QtReportWindows::openPrintBox(const QString& title, QWidget* parent) {
  delete m_box.data();
  m_box = new PrintBox(title, parent);
  m_cancelled = false;
  ui::dialogs().showWindow(*m_box, QStringLiteral("printbox"));
}

void QtReportWindows::updatePrintBox(const QString& text, int percent) {
  if (m_box) m_box->setText(text, percent);
}

bool QtReportWindows::printBoxCancelled() const { return m_box ? m_box->cancelled() : m_cancelled; }

void QtReportWindows::closePrintBox() {
  if (!m_box) return;
  m_cancelled = m_box->cancelled();
  delete m_box.data();
}

bool QtReportWindows::printOptions(const PrintOptionsRequest& request, QWidget* parent) {
  PrintOptionsDialog dialog(request, parent);
  // The job's box waits behind the options: both centred over the same window, the one would
  // hide the other, and two "Abbrechen" stacked leave the user guessing which ends what.
  const bool boxShown = m_box && m_box->isVisible();
  if (boxShown) m_box->hide();
  const bool ok = ui::dialogs().execWindow(dialog, QStringLiteral("printoptions")) == QDialog::Accepted;
  if (ok && boxShown && m_box) m_box->show();
  return ok;
}

QString QtReportWindows::selectFile(int projectType, const QString& current, QWidget*) {
  return selectTemplateFile(projectType, current);
}

void QtReportWindows::design(const DesignRequest& request, QWidget* parent) {
  DesignerWindow window(request, parent);
  ui::dialogs().execWindow(window, QStringLiteral("designer"));
}

std::shared_ptr<ReportWindows> defaultReportWindows() { return std::make_shared<QtReportWindows>(); }

}  // namespace report
