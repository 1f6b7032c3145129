#include "platform/ui/Dialogs.h"

#include "platform/ui/QtDialogs.h"

namespace ui {

namespace {
std::shared_ptr<Dialogs>& current() {
  static std::shared_ptr<Dialogs> impl;
  return impl;
}
}  // namespace

QList<int> msgBoxAnswers(int style) {
  switch (style & 0x7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
  }
}

int msgBoxDefaultAnswer(int style) {
  const QList<int> answers = msgBoxAnswers(style);
  const int index = (style >> 8) & 0x3;
  return index < answers.size() ? answers[index] : answers.first();
}

Dialogs& dialogs() { return *installedDialogs(); }

void setDialogs(std::shared_ptr<Dialogs> impl) { current() = std::move(impl); }

std::shared_ptr<Dialogs> installedDialogs() {
  if (!current()) current() = std::make_shared<QtDialogs>();
  return current();
}

}  // namespace ui
