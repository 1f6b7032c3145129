#include "platform/ui/QtDialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPushButton>

#include "platform/ui/ProgramInfo.h"
#include "platform/ui/ScreenFit.h"
#include "platform/vb/ErrorStyle.h"

namespace ui {

namespace {

QMessageBox::StandardButton buttonFor(int answer) {
  switch (answer) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    case vbNo: return QMessageBox::No;
    default: return QMessageBox::NoButton;
  }
}

int answerFor(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return vbOK;
    case QMessageBox::Cancel: return vbCancel;
    case QMessageBox::Abort: return vbAbort;
    case QMessageBox::Retry: return vbRetry;
    case QMessageBox::Ignore: return vbIgnore;
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    default: return 0;
  }
}

// The users read German: the buttons say what the run time's German boxes said. Each has its
// underlined letter, so a box is answered from the keyboard with Alt and the letter or the letter
// alone; no box has two buttons with the same letter.
QString captionFor(int answer) {
  switch (answer) {
    case vbOK: return QStringLiteral("&OK");
    case vbCancel: return QStringLiteral("&Abbrechen");
    case vbAbort: return QStringLiteral("&Abbrechen");
    case vbRetry: return QStringLiteral("&Wiederholen");
    case vbIgnore: return QStringLiteral("&Ignorieren");
    case vbYes: return QStringLiteral("&Ja");
    case vbNo: return QStringLiteral("&Nein");
    default: return {};
  }
}

QMessageBox::Icon iconFor(int style) {
  switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> QtDialogs::makeMessageBox(const QString& prompt, int style, const QString& title) {
  auto box = std::make_unique<QMessageBox>();
  box->setWindowTitle(title.isEmpty() ? programTitle() : title);
  box->setText(prompt);
  box->setIcon(iconFor(style));
  QMessageBox::StandardButtons buttons;
  for (int answer : msgBoxAnswers(style)) buttons |= buttonFor(answer);
  box->setStandardButtons(buttons);
  for (int answer : msgBoxAnswers(style)) box->button(buttonFor(answer))->setText(captionFor(answer));
  box->setDefaultButton(buttonFor(msgBoxDefaultAnswer(style)));
  return box;
}

int QtDialogs::answerOf(const QMessageBox& box, int style) {
  const int answer = box.clickedButton() ? answerFor(box.standardButton(box.clickedButton())) : 0;
  if (answer != 0) return answer;
  return msgBoxAnswers(style).contains(vbCancel) ? vbCancel : msgBoxDefaultAnswer(style);
}

QtDialogs::QtDialogs(Display display) : m_display(display) {}

bool QtDialogs::displayNobodySees() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return true;
  // The framebuffer platforms draw on a screen of their own; X11 and Wayland need their display.
  const bool desktop = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
  return desktop && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool QtDialogs::userSeesDisplay() const {
  return m_display == Display::Seen || (m_display == Display::Detect && !displayNobodySees());
}

bool QtDialogs::unseen(const QString& what) const {
  if (userSeesDisplay()) return false;
  vb::logTrappedLine(what);
  return true;
}

int QtDialogs::msgBox(const QString& prompt, int style, const QString& title) {
  const int answer = msgBoxDefaultAnswer(style);
  if (unseen(QStringLiteral("MsgBox ohne sichtbare Anzeige, Antwort %1: %2").arg(answer).arg(prompt))) return answer;
  auto box = makeMessageBox(prompt, style, title);
  box->exec();
  return answerOf(*box, style);
}

std::unique_ptr<QFileDialog> QtDialogs::makeFileDialog(const FileDialogRequest& request) {
  auto dialog = std::make_unique<QFileDialog>(nullptr, request.title, request.initDir);
  dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // A bare pattern ("*.LST") is taken as the filter's pattern list as it stands.
  if (!request.filter.isEmpty()) dialog->setNameFilter(request.filter);
  if (!request.fileName.isEmpty()) dialog->selectFile(request.fileName);
  return dialog;
}

QString QtDialogs::fileDialog(const FileDialogRequest& request) {
  if (unseen(QStringLiteral("Dateiauswahl ohne sichtbare Anzeige abgebrochen: ") + request.title)) return {};
  auto dialog = makeFileDialog(request);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  const QString path = dialog->selectedFiles().first();
  if (!request.save && !QFileInfo(path).isFile()) return {};
  return path;
}

QString QtDialogs::folderDialog(const QString& title) {
  if (unseen(QStringLiteral("Ordnerauswahl ohne sichtbare Anzeige abgebrochen: ") + title)) return {};
  return QFileDialog::getExistingDirectory(nullptr, title);
}

bool QtDialogs::fontDialog(QFont& font) {
  if (unseen(QStringLiteral("Schriftauswahl ohne sichtbare Anzeige abgebrochen"))) return false;
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font);
  if (ok) font = chosen;
  return ok;
}

bool QtDialogs::colorDialog(QColor& color) {
  if (unseen(QStringLiteral("Farbauswahl ohne sichtbare Anzeige abgebrochen"))) return false;
  const QColor chosen = QColorDialog::getColor(color);
  if (!chosen.isValid()) return false;
  color = chosen;
  return true;
}

int QtDialogs::execWindow(QDialog& window, const QString& kind) {
  if (unseen(QStringLiteral("Fenster ohne sichtbare Anzeige abgebrochen: ") + kind)) return QDialog::Rejected;
  fitToScreen(window);
  return window.exec();
}

void QtDialogs::showWindow(QWidget& window, const QString&) {
  fitToScreen(window);
  window.show();
}

}  // namespace ui
