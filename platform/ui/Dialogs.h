#pragma once
// Every message box, file and folder dialog and modal window of the system goes through this
// interface, so tests can answer them. The Qt implementation shows real widgets; the scripted one
// (ScriptedDialogs.h) answers from a queue and records what was shown.
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QDialog;

namespace ui {

// Message box styles and answers, with the run time's numbers (buttons + icon + default button).
enum MsgBoxStyle : int {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
  vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The answers of a style's buttons, left to right (vbYesNo: vbYes, vbNo). An unknown button
// group is treated as vbOKOnly.
QList<int> msgBoxAnswers(int style);
// The answer of the style's default button (vbDefaultButton2 on vbYesNo: vbNo); a default
// button beyond the last one falls back to the first.
int msgBoxDefaultAnswer(int style);

struct FileDialogRequest {
  QString title;
  QString filter;     // a bare pattern such as "*.LST", or Qt's "Name (*.x)" form
  QString fileName;   // initial file name, may be empty
  QString initDir;    // initial folder, may be empty
  bool save = false;  // save dialog (file need not exist) or open dialog (file must exist)
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box; the title defaults to the application's name when empty. Returns the answer.
  virtual int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) = 0;
  // Chosen path, or empty text on cancel.
  virtual QString fileDialog(const FileDialogRequest& request) = 0;
  // Chosen folder, or empty text on cancel.
  virtual QString folderDialog(const QString& title) = 0;
  // True when the user chose; `font` / `color` then hold the choice.
  virtual bool fontDialog(QFont& font) = 0;
  virtual bool colorDialog(QColor& color) = 0;
  // Runs a modal window of the system (preview, designer, print options...) and returns its
  // result code when it closes. `kind` names the window for scripts ("preview", "designer", ...).
  virtual int execWindow(QDialog& window, const QString& kind) = 0;
  // Shows a modeless window (print box, progress window); returns at once.
  virtual void showWindow(QWidget& window, const QString& kind) = 0;
  // Whether a user sees what this process shows. Where nobody does, no box or window waits for
  // an answer: the system tells its caller instead (a preview puts out nothing and says so).
  virtual bool userSeesDisplay() const { return true; }
};

// The implementation in use; the Qt one unless a test installed another.
Dialogs& dialogs();
// Installs `impl`; an empty pointer goes back to the Qt one.
void setDialogs(std::shared_ptr<Dialogs> impl);
// The installed implementation itself, so a caller can put it back later.
std::shared_ptr<Dialogs> installedDialogs();

// Shorthand used by the system's code.
inline int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) {
  return dialogs().msgBox(prompt, style, title);
}

}  // namespace ui
