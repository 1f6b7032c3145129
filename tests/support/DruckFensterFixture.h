#pragma once
// A print window on the recording report control, for the engine's tests: a temporary local path
// with the debug log "Debug.txt" in it, and scripted dialogs that answer every message box.
#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "engine/frmDrucken.h"
#include "platform/report/RecordingReportControl.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/DebugLog.h"

namespace testsupport {

class DruckFensterFixture : public ::testing::Test {
 protected:
  void SetUp() override { fenster = neuesFenster(); }
  void TearDown() override { fenster.reset(); }

  // A further window on the same control, created the way the program creates it.
  std::shared_ptr<frmDrucken> neuesFenster() { return std::make_shared<frmDrucken>(ll); }

  // The debug log's lines so far.
  QStringList logZeilen() const { return log.lines(); }

  DebugLog log;
  const TempDir& temp = log.dir();
  ui::ScopedScriptedDialogs dialogs;
  std::shared_ptr<report::RecordingReportControl> ll = std::make_shared<report::RecordingReportControl>();
  std::shared_ptr<frmDrucken> fenster;
};

}  // namespace testsupport
