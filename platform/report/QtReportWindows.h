#pragma once
// The report control's windows as Qt widgets (PreviewWindow, PrintBox, PrintOptionsDialog,
// the template file dialog, DesignerWindow), each run through ui::dialogs() with the kinds
// "preview", "printbox", "printoptions" and "designer". defaultReportWindows() makes one.
#include <QPointer>
#include <memory>

#include "platform/report/PrintBox.h"
#include "platform/report/ReportWindows.h"

namespace report {

class QtReportWindows : public ReportWindows {
 public:
  QtReportWindows();
  ~QtReportWindows() override;

  void showPreview(const PageSource& pages, const QString& title, QWidget* parent) override;
  // A box still open from an earlier job is replaced.
  void openPrintBox(const QString& title, QWidget* parent) override;
  void updatePrintBox(const QString& text, int percent) override;
  // Stays true after the box was closed, until the next box opens.
  bool printBoxCancelled() const override;
  void closePrintBox() override;
  // An open print box is out of sight while the dialog asks, and back when it is confirmed.
  bool printOptions(const PrintOptionsRequest& request, QWidget* parent) override;
  QString selectFile(int projectType, const QString& current, QWidget* parent) override;
  void design(const DesignRequest& request, QWidget* parent) override;

  // The open print box, nullptr when none is open.
  PrintBox* printBox() const { return m_box.data(); }

 private:
  // Guarded: a box with a parent window goes when that window goes.
  QPointer<PrintBox> m_box;
  bool m_cancelled = false;
};

}  // namespace report
