#pragma once
// The interactive implementation: real Qt dialogs and windows.
#include <QMessageBox>
#include <memory>

#include "platform/ui/Dialogs.h"

class QFileDialog;

namespace ui {

class QtDialogs : public Dialogs {
 public:
  int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) override;
  QString fileDialog(const FileDialogRequest& request) override;
  QString folderDialog(const QString& title) override;
  bool fontDialog(QFont& font) override;
  bool colorDialog(QColor& color) override;
  int execWindow(QDialog& window, const QString& kind) override;
  void showWindow(QWidget& window, const QString& kind) override;

  // The box msgBox() shows: the style's buttons, icon and default button; an empty title is
  // the program's title.
  static std::unique_ptr<QMessageBox> makeMessageBox(const QString& prompt, int style, const QString& title);
  // The run time's answer for the button the user pressed; a box closed without one answers
  // Cancel where the style has it, else its default button.
  static int answerOf(const QMessageBox& box, int style);
  // The dialog fileDialog() shows: open needs an existing file, save does not.
  static std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest& request);
};

}  // namespace ui
