#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>

#include "platform/ui/ProgramInfo.h"
#include "platform/ui/QtDialogs.h"
#include "platform/ui/ScriptedDialogs.h"

using namespace ui;

TEST(ScriptedDialogs, RecordsTheMessageBoxAsShown) {
  ScriptedDialogs d;
  d.answerMsgBox(vbYes);
  EXPECT_EQ(d.msgBox(QStringLiteral("Möchten Sie löschen?"), vbYesNo + vbQuestion + vbDefaultButton2,
                     QStringLiteral("Vorlagen")),
            vbYes);
  ASSERT_EQ(d.shown().size(), 1);
  const ShownDialog& box = d.shown().first();
  EXPECT_EQ(box.type, ShownDialog::Type::MessageBox);
  EXPECT_EQ(box.text, QStringLiteral("Möchten Sie löschen?"));
  EXPECT_EQ(box.style, vbYesNo + vbQuestion + vbDefaultButton2);
  EXPECT_EQ(box.title, QStringLiteral("Vorlagen"));
  EXPECT_FALSE(box.unexpected);
  EXPECT_EQ(box.answer, vbYes);
}

TEST(ScriptedDialogs, EmptyTitleIsRecordedAsTheProgramTitle) {
  ScriptedDialogs d;
  d.msgBox(QStringLiteral("x"));
  EXPECT_EQ(d.shown().first().title, programTitle());
}

TEST(ScriptedDialogs, AnswersAreUsedInTheOrderQueued) {
  ScriptedDialogs d;
  d.answerMsgBox(vbNo);
  d.answerMsgBox(vbCancel);
  EXPECT_EQ(d.msgBox(QStringLiteral("1"), vbYesNoCancel), vbNo);
  EXPECT_EQ(d.msgBox(QStringLiteral("2"), vbYesNoCancel), vbCancel);
  EXPECT_EQ(d.pendingAnswers(), 0);
  EXPECT_EQ(d.unexpectedCount(), 0);
}

TEST(ScriptedDialogs, UnexpectedBoxAnswersItsDefaultButtonAndIsRecorded) {
  ScriptedDialogs d;
  EXPECT_EQ(d.msgBox(QStringLiteral("Abbrechen?"), vbYesNo + vbDefaultButton2), vbNo);
  EXPECT_EQ(d.msgBox(QStringLiteral("Fertig"), vbOKOnly + vbInformation), vbOK);
  EXPECT_EQ(d.unexpectedCount(), 2);
  EXPECT_TRUE(d.shown().at(0).unexpected);
  EXPECT_EQ(d.shown().at(1).text, QStringLiteral("Fertig"));
}

TEST(ScriptedDialogs, FileAndFolderDialogsAnswerPathsOrCancel) {
  ScriptedDialogs d;
  d.answerFile(QStringLiteral("/tmp/a.lst"));
  d.answerFile({});
  d.answerFolder(QStringLiteral("/tmp"));
  EXPECT_EQ(d.fileDialog({QStringLiteral("Vorlage öffnen"), QStringLiteral("*.LST"), {}, {}, false}),
            QStringLiteral("/tmp/a.lst"));
  EXPECT_TRUE(d.fileDialog({QStringLiteral("Speichern"), {}, {}, {}, true}).isEmpty());
  EXPECT_EQ(d.folderDialog(QStringLiteral("Ordner")), QStringLiteral("/tmp"));
  EXPECT_TRUE(d.folderDialog(QStringLiteral("Noch einer")).isEmpty());
  ASSERT_EQ(d.shown().size(), 4);
  EXPECT_EQ(d.shown().at(0).type, ShownDialog::Type::OpenFile);
  EXPECT_EQ(d.shown().at(0).text, QStringLiteral("Vorlage öffnen"));
  EXPECT_EQ(d.shown().at(1).type, ShownDialog::Type::SaveFile);
  EXPECT_EQ(d.shown().at(2).type, ShownDialog::Type::Folder);
  EXPECT_TRUE(d.shown().at(3).unexpected);
}

TEST(ScriptedDialogs, FontAndColourChoicesAreHandedBack) {
  ScriptedDialogs d;
  d.answerFont(QFont(QStringLiteral("Arial"), 12));
  d.answerFont(std::nullopt);
  d.answerColor(QColor(Qt::red));
  QFont font(QStringLiteral("Times"), 10);
  EXPECT_TRUE(d.fontDialog(font));
  EXPECT_EQ(font.family(), QStringLiteral("Arial"));
  EXPECT_EQ(font.pointSize(), 12);
  EXPECT_FALSE(d.fontDialog(font));
  EXPECT_EQ(font.family(), QStringLiteral("Arial"));
  QColor colour(Qt::blue);
  EXPECT_TRUE(d.colorDialog(colour));
  EXPECT_EQ(colour, QColor(Qt::red));
  EXPECT_FALSE(d.colorDialog(colour));
  EXPECT_EQ(colour, QColor(Qt::red));
  EXPECT_EQ(d.unexpectedCount(), 1);
}

TEST(ScriptedDialogs, WindowScriptPlaysTheUser) {
  ScriptedDialogs d;
  QDialog window;
  window.setWindowTitle(QStringLiteral("Druckoptionen"));
  auto* edit = new QLineEdit(&window);
  edit->setObjectName(QStringLiteral("txtKopien"));
  d.answerWindow([](QDialog& w) {
    w.findChild<QLineEdit*>(QStringLiteral("txtKopien"))->setText(QStringLiteral("3"));
    w.accept();
    return w.result();
  });
  EXPECT_EQ(d.execWindow(window, QStringLiteral("printoptions")), QDialog::Accepted);
  EXPECT_EQ(edit->text(), QStringLiteral("3"));
  ASSERT_EQ(d.shown().size(), 1);
  EXPECT_EQ(d.shown().first().type, ShownDialog::Type::ModalWindow);
  EXPECT_EQ(d.shown().first().kind, QStringLiteral("printoptions"));
  EXPECT_EQ(d.shown().first().title, QStringLiteral("Druckoptionen"));
  EXPECT_EQ(d.shown().first().answer, QDialog::Accepted);
}

TEST(ScriptedDialogs, BoxesShownByAWindowComeAfterIt) {
  ScriptedDialogs d;
  QDialog window;
  d.answerWindow([&d](QDialog&) { return d.msgBox(QStringLiteral("innen")); });
  d.execWindow(window, QStringLiteral("designer"));
  ASSERT_EQ(d.shown().size(), 2);
  EXPECT_EQ(d.shown().at(0).type, ShownDialog::Type::ModalWindow);
  EXPECT_EQ(d.shown().at(0).answer, vbOK);
  EXPECT_EQ(d.shown().at(1).text, QStringLiteral("innen"));
}

TEST(ScriptedDialogs, UnscriptedWindowIsRejected) {
  ScriptedDialogs d;
  QDialog window;
  bool rejected = false;
  QObject::connect(&window, &QDialog::rejected, [&] { rejected = true; });
  EXPECT_EQ(d.execWindow(window, QStringLiteral("preview")), QDialog::Rejected);
  EXPECT_TRUE(rejected);
  EXPECT_TRUE(d.shown().first().unexpected);
}

TEST(ScriptedDialogs, ShowWindowShowsAndRecords) {
  ScriptedDialogs d;
  QWidget window;
  d.showWindow(window, QStringLiteral("progress"));
  EXPECT_TRUE(window.isVisible());
  ASSERT_EQ(d.shown().size(), 1);
  EXPECT_EQ(d.shown().first().type, ShownDialog::Type::Window);
  EXPECT_EQ(d.shown().first().kind, QStringLiteral("progress"));
}

TEST(ScopedScriptedDialogs, InstallsAndPutsBackThePreviousOne) {
  const std::shared_ptr<Dialogs> before = installedDialogs();
  {
    ScopedScriptedDialogs scripted;
    EXPECT_EQ(&dialogs(), &*scripted);
    scripted->answerMsgBox(vbCancel);
    EXPECT_EQ(MsgBox(QStringLiteral("über ui::MsgBox"), vbOKCancel), vbCancel);
    EXPECT_EQ(scripted->messageBoxes().first().text, QStringLiteral("über ui::MsgBox"));
    {
      ScopedScriptedDialogs inner;
      EXPECT_EQ(&dialogs(), &*inner);
    }
    EXPECT_EQ(&dialogs(), &*scripted);
  }
  EXPECT_EQ(installedDialogs(), before);
}

TEST(Dialogs, QtImplementationIsTheDefault) {
  setDialogs(nullptr);
  EXPECT_NE(dynamic_cast<QtDialogs*>(&dialogs()), nullptr);
}
