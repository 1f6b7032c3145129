#pragma once
// The interactive implementation: real Qt dialogs and windows.
//
// A message box needs a user who sees it. In a process whose display nobody sees (the offscreen
// or minimal platform, an X11 or Wayland platform without DISPLAY and WAYLAND_DISPLAY, no GUI
// application at all) the box is written to the log and answers its default button at once, so
// a host's call never waits on a box nobody can close. A file, folder, font or colour dialog
// there is logged and answers as cancelled, and so is a modal window (preview, print options,
// designer): it is not run.
#include <QMessageBox>
#include <memory>

#include "platform/ui/Dialogs.h"

class QFileDialog;

namespace ui {

class QtDialogs : public Dialogs {
 public:
  enum class Display { Detect, Seen, Unseen };
  // `display` Detect looks at the running application (displayNobodySees()).
  explicit QtDialogs(Display display = Display::Detect);

  // Whether this process's display is one nobody sees (see above).
  static bool displayNobodySees();

  int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) override;
  QString fileDialog(const FileDialogRequest& request) override;
  QString folderDialog(const QString& title) override;
  bool fontDialog(QFont& font) override;
  bool colorDialog(QColor& color) override;
  int execWindow(QDialog& window, const QString& kind) override;
  void showWindow(QWidget& window, const QString& kind) override;
  bool userSeesDisplay() const override;

  // The box msgBox() shows: the style's buttons, icon and default button; an empty title is
  // the program's title.
  static std::unique_ptr<QMessageBox> makeMessageBox(const QString& prompt, int style, const QString& title);
  // The run time's answer for the button the user pressed; a box closed without one answers
  // Cancel where the style has it, else its default button.
  static int answerOf(const QMessageBox& box, int style);
  // The dialog fileDialog() shows: open needs an existing file, save does not.
  static std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest& request);

 private:
  // True (after logging `what`) where nobody would see a dialog.
  bool unseen(const QString& what) const;

  Display m_display;
};

}  // namespace ui
