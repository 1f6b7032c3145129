#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "foundation/frmAbout.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

namespace {

const QString kNoSysInfo = QStringLiteral("Systeminformationen sind momentan nicht verfügbar");

QString writeTool(const testsupport::TempDir& dir, const QString& name, const QByteArray& script, bool executable) {
  const QString path = dir.write(name, script);
  QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner;
  if (executable) perms |= QFile::ExeOwner;
  QFile::setPermissions(path, perms);
  return path;
}

QString labelText(frmAbout& box, const char* name) {
  auto* l = box.findChild<QLabel*>(QLatin1String(name));
  return l ? l->text() : QStringLiteral("<missing>");
}

}  // namespace

TEST(frmAbout, CaptionsNameTheProgramAndItsVersion) {
  frmAbout box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Info zu ") + ui::programTitle());
  EXPECT_EQ(labelText(box, "lblTitle"), ui::programTitle());
  EXPECT_EQ(labelText(box, "lblVersion"), QStringLiteral("Version ") + ui::programVersion());
  EXPECT_FALSE(labelText(box, "lblDescription").isEmpty());
  EXPECT_FALSE(labelText(box, "lblDisclaimer").isEmpty());
  EXPECT_EQ(box.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
  EXPECT_EQ(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("&Systeminfo..."));
}

TEST(frmAbout, OkClosesTheModalBox) {
  ui::ScopedScriptedDialogs dialogs;
  frmAbout box;
  dialogs->answerWindow([](QDialog& w) {
    w.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    return w.result();
  });
  EXPECT_EQ(ui::dialogs().execWindow(box, QStringLiteral("about")), QDialog::Accepted);
  EXPECT_FALSE(box.isVisible());
}

TEST(frmAbout, FindsTheFirstKnownToolInTheFolders) {
  testsupport::TempDir dir;
  const QString kinfo = writeTool(dir, QStringLiteral("kinfocenter"), "#!/bin/sh\nexit 0\n", true);
  frmAbout box;
  box.setToolFolders({dir.path()});
  EXPECT_EQ(box.SysInfoTool(), kinfo);
  const QString hardinfo = writeTool(dir, QStringLiteral("hardinfo"), "#!/bin/sh\nexit 0\n", true);
  EXPECT_EQ(box.SysInfoTool(), hardinfo);
}

TEST(frmAbout, StartsAToolThatIsThereWithoutAMessage) {
  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir dir;
  // A link to a real program that does nothing: it is executed before startDetached returns,
  // so nothing is left running against the temp folder.
  ASSERT_TRUE(QFile::link(QStringLiteral("/bin/true"), dir.file(QStringLiteral("gnome-system-monitor"))));
  frmAbout box;
  box.setToolFolders({dir.path()});
  box.StartSysInfo();
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST(frmAbout, NoToolSaysSoWithOkOnly) {
  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir dir;
  frmAbout box;
  box.setToolFolders({dir.path()});
  EXPECT_TRUE(box.SysInfoTool().isEmpty());
  box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(dialogs->messageBoxes().first().text, kNoSysInfo);
  EXPECT_EQ(dialogs->messageBoxes().first().style, ui::vbOKOnly);
  EXPECT_EQ(dialogs->messageBoxes().first().title, ui::programTitle());
}

TEST(frmAbout, FileThatIsNotExecutableIsNoTool) {
  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir dir;
  writeTool(dir, QStringLiteral("hardinfo"), "#!/bin/sh\nexit 0\n", false);
  frmAbout box;
  box.setToolFolders({dir.path()});
  EXPECT_TRUE(box.SysInfoTool().isEmpty());
  box.StartSysInfo();
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(dialogs->messageBoxes().first().text, kNoSysInfo);
}

TEST(frmAbout, ToolThatCannotStartSaysNotAvailable) {
  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir dir;
  writeTool(dir, QStringLiteral("hardinfo"), "#!/nonexistent/interpreter\n", true);
  frmAbout box;
  box.setToolFolders({dir.path()});
  EXPECT_FALSE(box.SysInfoTool().isEmpty());
  box.StartSysInfo();
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(dialogs->messageBoxes().first().text, kNoSysInfo);
}
