#pragma once
// A print window on the recording report control, for the engine's tests: a temporary local path
// with the debug log "Debug.txt" in it, and scripted dialogs that answer every message box.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <memory>

#include "engine/frmDrucken.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "platform/report/RecordingReportControl.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

namespace testsupport {

class DruckFensterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLokalerPfad(temp.path() + QLatin1Char('/'));
    DebugOutputInit(QStringLiteral("Debug.txt"));
    fenster = neuesFenster();
  }

  void TearDown() override {
    fenster.reset();
    SetLokalerPfad(QString());
  }

  // A further window on the same control, created the way the program creates it.
  std::shared_ptr<frmDrucken> neuesFenster() { return std::make_shared<frmDrucken>(ll); }

  // The debug log's lines so far.
  QStringList logZeilen() const {
    QFile f(temp.file(QStringLiteral("Debug.txt")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList zeilen = fromAnsi(f.readAll()).split(QStringLiteral("\r\n"));
    if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();
    return zeilen;
  }

  TempDir temp;
  ui::ScopedScriptedDialogs dialogs;
  std::shared_ptr<report::RecordingReportControl> ll = std::make_shared<report::RecordingReportControl>();
  std::shared_ptr<frmDrucken> fenster;
};

}  // namespace testsupport
