#pragma once
// Fixtures of the automation tests: a debug log in a temporary local path, scripted dialogs, and
// the progress window as a host's user would find it on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "foundation/frmInfoFenster.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/DebugLog.h"

namespace automationtest {

class AutomationFixture : public ::testing::Test {
 protected:
  QStringList logZeilen() const { return log.lines(); }

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
