#pragma once
// Fixtures of the automation tests: a debug log in a temporary local path, scripted dialogs, calls
// by name as a host makes them, and the progress window as the user finds it on the screen.
#include <gtest/gtest.h>

#include <QApplication>

#include "foundation/frmInfoFenster.h"
#include "platform/automation/LateBinding.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/DebugLog.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace automationtest {

inline vb::Variant rufe(QObject& o, const char* member, const QList<vb::Variant>& args = {},
                        automation::CallKind kind = automation::CallKind::Method) {
  return automation::callByName(o, QString::fromUtf8(member), kind, args);
}

class AutomationFixture : public ::testing::Test {
 protected:
  // The open progress window, or nullptr.
  static frmInfoFenster* infoFenster() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<frmInfoFenster*>(w)) return f;
    return nullptr;
  }

  testsupport::DebugLog log;
  const testsupport::TempDir& temp = log.dir();
  ui::ScopedScriptedDialogs dialogs;
};

}  // namespace automationtest
