#include <gtest/gtest.h>

#include "platform/report/QtReportWindows.h"
#include "platform/report/SelectFileDialog.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

namespace {

// Keeps the last file dialog request, so the pattern and start folder can be checked.
class RequestKeepingDialogs : public ui::ScriptedDialogs {
 public:
  QString fileDialog(const ui::FileDialogRequest& request) override {
    last = request;
    return ScriptedDialogs::fileDialog(request);
  }
  ui::FileDialogRequest last;
};

struct SelectFileDialogTest : ::testing::Test {
  ui::ScopedScriptedDialogs restore;  // puts the earlier dialogs back at the end
  std::shared_ptr<RequestKeepingDialogs> dialogs = std::make_shared<RequestKeepingDialogs>();
  SelectFileDialogTest() { ui::setDialogs(dialogs); }
};

}  // namespace

TEST_F(SelectFileDialogTest, ListsAskForLstAndLabelsForLbl) {
  dialogs->answerFile("/formulare/Rechnung.lst");
  EXPECT_EQ(report::selectTemplateFile(2, {}), QStringLiteral("/formulare/Rechnung.lst"));
  EXPECT_EQ(dialogs->last.filter, QStringLiteral("*.lst"));
  EXPECT_FALSE(dialogs->last.save);
  dialogs->answerFile("/formulare/Adresse.lbl");
  EXPECT_EQ(report::selectTemplateFile(1, {}), QStringLiteral("/formulare/Adresse.lbl"));
  EXPECT_EQ(dialogs->last.filter, QStringLiteral("*.lbl"));
}

TEST_F(SelectFileDialogTest, StartsAtTheCurrentFileFoundWithoutRegardToCase) {
  testsupport::TempDir dir;
  dir.write("Formulare/Rechnung.lst", "{}");
  const QString stored = dir.path() + QStringLiteral("\\FORMULARE\\rechnung.LST");
  report::selectTemplateFile(2, stored);
  EXPECT_EQ(dialogs->last.initDir, dir.file("Formulare"));
  EXPECT_EQ(dialogs->last.fileName, QStringLiteral("Rechnung.lst"));
}

TEST_F(SelectFileDialogTest, CancelAnswersEmpty) {
  dialogs->answerFile({});
  report::QtReportWindows windows;
  EXPECT_TRUE(windows.selectFile(2, "Rechnung.lst", nullptr).isEmpty());
  EXPECT_TRUE(dialogs->last.initDir.isEmpty());  // a bare name gives no folder to start in
  EXPECT_EQ(dialogs->last.fileName, QStringLiteral("Rechnung.lst"));
}
