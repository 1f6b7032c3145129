#pragma once
// The implementation for tests: answers come from queues filled beforehand, and everything shown
// is recorded. A dialog with no queued answer never waits: a message box answers its default
// button, a file, folder, font or colour dialog is cancelled, a modal window is rejected; it is
// recorded as unexpected.
#include <QList>
#include <QQueue>
#include <optional>

#include "platform/ui/Dialogs.h"

namespace ui {

struct ShownDialog {
  enum class Type { MessageBox, OpenFile, SaveFile, Folder, Font, Color, ModalWindow, Window };
  Type type = Type::MessageBox;
  QString kind;    // the window's kind for windows, else empty
  QString text;    // the prompt of a message box, the title of a file or folder dialog
  int style = 0;   // message box style
  QString title;   // the title shown (a message box's empty title is the program's title)
  QString fileName;  // the file name a file dialog offered
  bool unexpected = false;  // no queued answer was there
  int answer = 0;  // message box answer or window result
};

class ScriptedDialogs : public Dialogs {
 public:
  // Callback that plays the user in a modal window: it may set the window's widgets, click its
  // buttons or call accept()/reject()/done(), and returns the window's result code.
  using WindowScript = std::function<int(QDialog&)>;

  void answerMsgBox(int answer) { m_msgBoxAnswers.enqueue(answer); }
  // An empty path answers Cancel.
  void answerFile(const QString& path) { m_fileAnswers.enqueue(path); }
  void answerFolder(const QString& path) { m_folderAnswers.enqueue(path); }
  // std::nullopt answers Cancel.
  void answerFont(std::optional<QFont> font) { m_fontAnswers.enqueue(std::move(font)); }
  void answerColor(std::optional<QColor> color) { m_colorAnswers.enqueue(std::move(color)); }
  void answerWindow(WindowScript script) { m_windowScripts.enqueue(std::move(script)); }

  // Everything shown, in order.
  const QList<ShownDialog>& shown() const { return m_shown; }
  // Only the message boxes.
  QList<ShownDialog> messageBoxes() const;
  // Number of dialogs shown without a queued answer.
  int unexpectedCount() const;
  // Answers queued but never asked for.
  int pendingAnswers() const;

  int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {}) override;
  QString fileDialog(const FileDialogRequest& request) override;
  QString folderDialog(const QString& title) override;
  bool fontDialog(QFont& font) override;
  bool colorDialog(QColor& color) override;
  int execWindow(QDialog& window, const QString& kind) override;
  void showWindow(QWidget& window, const QString& kind) override;
  // A user sees the display unless a test says otherwise.
  bool userSeesDisplay() const override { return m_seen; }
  void setUserSeesDisplay(bool seen) { m_seen = seen; }

 private:
  bool m_seen = true;
  QQueue<int> m_msgBoxAnswers;
  QQueue<QString> m_fileAnswers;
  QQueue<QString> m_folderAnswers;
  QQueue<std::optional<QFont>> m_fontAnswers;
  QQueue<std::optional<QColor>> m_colorAnswers;
  QQueue<WindowScript> m_windowScripts;
  QList<ShownDialog> m_shown;
};

// Installs a fresh ScriptedDialogs for the lifetime of the guard and puts back the one that
// was installed before.
class ScopedScriptedDialogs {
 public:
  ScopedScriptedDialogs();
  ~ScopedScriptedDialogs();
  ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
  ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;

  ScriptedDialogs& operator*() const { return *m_scripted; }
  ScriptedDialogs* operator->() const { return m_scripted.get(); }

 private:
  std::shared_ptr<Dialogs> m_previous;
  std::shared_ptr<ScriptedDialogs> m_scripted;
};

}  // namespace ui
