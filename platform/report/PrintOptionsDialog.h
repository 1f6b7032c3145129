#pragma once
// The print options dialog of a started job: it shows the caller's text as its title, the
// template and the job's title, and asks OK or "Abbrechen". Run it through
// ui::dialogs().execWindow(dialog, "printoptions"); Accepted means go on, Rejected means the
// user cancelled the job.
#include <QDialog>

#include "platform/report/ReportWindows.h"

class QLabel;

namespace report {

class PrintOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PrintOptionsDialog(const PrintOptionsRequest& request, QWidget* parent = nullptr);

 private:
  QLabel* m_details;
};

}  // namespace report
