#include "platform/ui/ScriptedDialogs.h"

#include <QDialog>
#include <QWidget>

#include "platform/ui/ProgramInfo.h"
#include "platform/ui/ScreenFit.h"

namespace ui {

namespace {
ShownDialog entry(ShownDialog::Type type, const QString& kind = {}, const QString& text = {}, int style = 0,
                  const QString& title = {}) {
  ShownDialog d;
  d.type = type;
  d.kind = kind;
  d.text = text;
  d.style = style;
  d.title = title;
  return d;
}
}  // namespace

QList<ShownDialog> ScriptedDialogs::messageBoxes() const {
  QList<ShownDialog> boxes;
  for (const ShownDialog& d : m_shown)
    if (d.type == ShownDialog::Type::MessageBox) boxes.append(d);
  return boxes;
}

int ScriptedDialogs::unexpectedCount() const {
  int n = 0;
  for (const ShownDialog& d : m_shown) n += d.unexpected ? 1 : 0;
  return n;
}

int ScriptedDialogs::pendingAnswers() const {
  return int(m_msgBoxAnswers.size() + m_fileAnswers.size() + m_folderAnswers.size() + m_fontAnswers.size() +
             m_colorAnswers.size() + m_windowScripts.size());
}

int ScriptedDialogs::msgBox(const QString& prompt, int style, const QString& title) {
  ShownDialog d = entry(ShownDialog::Type::MessageBox, {}, prompt, style, title.isEmpty() ? programTitle() : title);
  d.unexpected = m_msgBoxAnswers.isEmpty();
  d.answer = d.unexpected ? msgBoxDefaultAnswer(style) : m_msgBoxAnswers.dequeue();
  m_shown.append(d);
  return d.answer;
}

QString ScriptedDialogs::fileDialog(const FileDialogRequest& request) {
  ShownDialog d = entry(request.save ? ShownDialog::Type::SaveFile : ShownDialog::Type::OpenFile, {}, request.title, 0,
                request.title);
  d.fileName = request.fileName;
  d.unexpected = m_fileAnswers.isEmpty();
  m_shown.append(d);
  return d.unexpected ? QString() : m_fileAnswers.dequeue();
}

QString ScriptedDialogs::folderDialog(const QString& title) {
  ShownDialog d = entry(ShownDialog::Type::Folder, {}, title, 0, title);
  d.unexpected = m_folderAnswers.isEmpty();
  m_shown.append(d);
  return d.unexpected ? QString() : m_folderAnswers.dequeue();
}

bool ScriptedDialogs::fontDialog(QFont& font) {
  ShownDialog d = entry(ShownDialog::Type::Font);
  d.unexpected = m_fontAnswers.isEmpty();
  m_shown.append(d);
  if (d.unexpected) return false;
  const std::optional<QFont> chosen = m_fontAnswers.dequeue();
  if (chosen) font = *chosen;
  return chosen.has_value();
}

bool ScriptedDialogs::colorDialog(QColor& color) {
  ShownDialog d = entry(ShownDialog::Type::Color);
  d.unexpected = m_colorAnswers.isEmpty();
  m_shown.append(d);
  if (d.unexpected) return false;
  const std::optional<QColor> chosen = m_colorAnswers.dequeue();
  if (chosen) color = *chosen;
  return chosen.has_value();
}

int ScriptedDialogs::execWindow(QDialog& window, const QString& kind) {
  ShownDialog d = entry(ShownDialog::Type::ModalWindow, kind, {}, 0, window.windowTitle());
  d.unexpected = m_windowScripts.isEmpty();
  // Recorded before the script runs, so boxes the window shows meanwhile come after it.
  const qsizetype at = m_shown.size();
  m_shown.append(d);
  // Placed as the Qt implementation places it, so tests see where a user would.
  fitToScreen(window);
  int result;
  if (d.unexpected) {
    window.reject();
    result = window.result();
  } else {
    result = m_windowScripts.dequeue()(window);
  }
  m_shown[at].answer = result;
  return result;
}

void ScriptedDialogs::showWindow(QWidget& window, const QString& kind) {
  m_shown.append(entry(ShownDialog::Type::Window, kind, {}, 0, window.windowTitle()));
  fitToScreen(window);
  window.show();
}

ScopedScriptedDialogs::ScopedScriptedDialogs()
    : m_previous(installedDialogs()), m_scripted(std::make_shared<ScriptedDialogs>()) {
  setDialogs(m_scripted);
}

ScopedScriptedDialogs::~ScopedScriptedDialogs() { setDialogs(m_previous); }

}  // namespace ui
