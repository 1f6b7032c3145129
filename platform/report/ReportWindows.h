#pragma once
// The windows the report control opens: preview, print box, print options dialog, template
// file choice and designer. The control only talks to this interface; the Qt windows plug in
// behind it (defaultReportWindows()), and tests of the control plug in a fake. Every window goes
// through ui::dialogs().execWindow / showWindow, so tests above the control can answer them.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "platform/report/PageSource.h"

class QWidget;

namespace report {

// One value the job defined, as the designer lists it for insertion.
struct DefinedValue {
  QString name;
  QString contents;  // the value as text
  int type = 0;      // kType* code
};

struct DesignRequest {
  QString title;             // window title
  int projectType = 2;       // kProjectLabel or kProjectList
  QString templatePath;      // real path of the template file (may not exist yet)
  QList<DefinedValue> variables;
  QList<DefinedValue> fields;
  // Renders a template text with the defined values into pages for the live preview. On a
  // template that cannot be read it answers nullptr and puts the reason into *error.
  std::function<std::unique_ptr<PageSource>(const QByteArray& templateText, QString* error)> render;
};

struct PrintOptionsRequest {
  QString text;          // the caller's prompt ("Druckparameter festlegen")
  QString jobTitle;      // title of the job (SetOptionString 3), may be empty
  QString templatePath;  // the template being printed
  int projectType = 2;
  int flags = 0;         // the job's start flags
};

class ReportWindows {
 public:
  virtual ~ReportWindows() = default;

  // Shows `pages` with page navigation and zoom; returns when the window is closed.
  virtual void showPreview(const PageSource& pages, const QString& title, QWidget* parent) = 0;

  // The progress box of a job started with a box: opened at the start, updated by SetBoxText,
  // closed at the job's end. printBoxCancelled() turns true once its cancel button was pressed.
  virtual void openPrintBox(const QString& title, QWidget* parent) = 0;
  virtual void updatePrintBox(const QString& text, int percent) = 0;
  virtual bool printBoxCancelled() const = 0;
  virtual void closePrintBox() = 0;

  // The print options dialog: true on OK, false on cancel.
  virtual bool printOptions(const PrintOptionsRequest& request, QWidget* parent) = 0;

  // Lets the user pick a template of `projectType` (".lbl" labels, ".lst" lists), starting at
  // `current`. Returns the chosen path, empty on cancel.
  virtual QString selectFile(int projectType, const QString& current, QWidget* parent) = 0;

  // The designer on request.templatePath; returns when it closes.
  virtual void design(const DesignRequest& request, QWidget* parent) = 0;
};

// The Qt windows (defined beside the windows in this folder).
std::shared_ptr<ReportWindows> defaultReportWindows();

}  // namespace report
