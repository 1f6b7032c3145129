#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "platform/ui/ProgramInfo.h"
#include "platform/ui/QtDialogs.h"
#include "platform/vb/ErrorStyle.h"
#include "tests/support/TempDir.h"

using namespace ui;

namespace {

// Runs `act` on the first visible top-level widget of type T once the dialog's own event loop
// is running, as a user's click would arrive.
template <typename T>
void whenShown(std::function<void(T&)> act) {
  QMetaObject::invokeMethod(
      qApp,
      [act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
            act(*t);
            return;
          }
        }
        ADD_FAILURE() << "no dialog shown";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      },
      Qt::QueuedConnection);
}

}  // namespace

TEST(MsgBoxStyle, ButtonGroupsGiveTheirAnswersInOrder) {
  EXPECT_EQ(msgBoxAnswers(vbOKOnly), QList<int>({vbOK}));
  EXPECT_EQ(msgBoxAnswers(vbOKCancel), QList<int>({vbOK, vbCancel}));
  EXPECT_EQ(msgBoxAnswers(vbAbortRetryIgnore), QList<int>({vbAbort, vbRetry, vbIgnore}));
  EXPECT_EQ(msgBoxAnswers(vbYesNoCancel + vbQuestion), QList<int>({vbYes, vbNo, vbCancel}));
  EXPECT_EQ(msgBoxAnswers(vbYesNo + vbCritical + vbDefaultButton2), QList<int>({vbYes, vbNo}));
  EXPECT_EQ(msgBoxAnswers(vbRetryCancel), QList<int>({vbRetry, vbCancel}));
  EXPECT_EQ(msgBoxAnswers(7), QList<int>({vbOK}));
}

TEST(MsgBoxStyle, DefaultButtonPicksByPositionAndFallsBackToTheFirst) {
  EXPECT_EQ(msgBoxDefaultAnswer(vbYesNo), vbYes);
  EXPECT_EQ(msgBoxDefaultAnswer(vbYesNo + vbQuestion + vbDefaultButton2), vbNo);
  EXPECT_EQ(msgBoxDefaultAnswer(vbYesNoCancel + vbDefaultButton3), vbCancel);
  EXPECT_EQ(msgBoxDefaultAnswer(vbYesNo + vbDefaultButton3), vbYes);
  EXPECT_EQ(msgBoxDefaultAnswer(vbOKOnly + vbDefaultButton2), vbOK);
}

TEST(QtDialogs, MessageBoxHasTheStylesButtonsIconAndDefault) {
  auto box = QtDialogs::makeMessageBox(QStringLiteral("Wirklich?"), vbYesNo + vbQuestion + vbDefaultButton2,
                                       QStringLiteral("Titel"));
  EXPECT_EQ(box->text(), QStringLiteral("Wirklich?"));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Titel"));
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
}

TEST(QtDialogs, ButtonsSpeakGerman) {
  auto yesNo = QtDialogs::makeMessageBox(QStringLiteral("?"), vbYesNoCancel, {});
  EXPECT_EQ(yesNo->button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
  EXPECT_EQ(yesNo->button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
  EXPECT_EQ(yesNo->button(QMessageBox::Cancel)->text(), QStringLiteral("&Abbrechen"));
  auto retry = QtDialogs::makeMessageBox(QStringLiteral("?"), vbAbortRetryIgnore, {});
  EXPECT_EQ(retry->button(QMessageBox::Retry)->text(), QStringLiteral("&Wiederholen"));
  EXPECT_EQ(retry->button(QMessageBox::Ignore)->text(), QStringLiteral("&Ignorieren"));
  EXPECT_EQ(QtDialogs::makeMessageBox(QStringLiteral("!"), vbOKOnly, {})->button(QMessageBox::Ok)->text(), QStringLiteral("&OK"));
}

// The designer's save question answered from the keyboard: Alt and the underlined letter, or
// the letter alone.
TEST(QtDialogs, MsgBoxIsAnsweredByItsButtonsLetters) {
  QtDialogs dialogs(QtDialogs::Display::Seen);
  for (const auto& [taste, alt, antwort] : {std::tuple{Qt::Key_N, true, vbNo}, {Qt::Key_J, false, vbYes}, {Qt::Key_A, true, vbCancel}}) {
    whenShown<QMessageBox>([&](QMessageBox& box) {
      box.activateWindow();  // as the desktop gives a new box the keyboard
      EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
      QTest::keyClick(&box, taste, alt ? Qt::AltModifier : Qt::NoModifier);
      QTimer::singleShot(5000, &box, [&box] { ADD_FAILURE() << "the key left the box open"; box.reject(); });
    });
    EXPECT_EQ(dialogs.msgBox(QStringLiteral("Sollen die Änderungen an der Vorlage gespeichert werden?"), vbYesNoCancel),
              antwort) << taste;
  }
}

TEST(QtDialogs, IconsFollowTheStyle) {
  EXPECT_EQ(QtDialogs::makeMessageBox({}, vbCritical, {})->icon(), QMessageBox::Critical);
  EXPECT_EQ(QtDialogs::makeMessageBox({}, vbExclamation, {})->icon(), QMessageBox::Warning);
  EXPECT_EQ(QtDialogs::makeMessageBox({}, vbInformation, {})->icon(), QMessageBox::Information);
  EXPECT_EQ(QtDialogs::makeMessageBox({}, vbOKOnly, {})->icon(), QMessageBox::NoIcon);
}

TEST(QtDialogs, EmptyTitleIsTheProgramTitle) {
  auto box = QtDialogs::makeMessageBox(QStringLiteral("x"), vbOKOnly, {});
  EXPECT_EQ(box->windowTitle(), programTitle());
  EXPECT_FALSE(programTitle().isEmpty());
}

TEST(QtDialogs, PressedButtonGivesTheRunTimeAnswer) {
  auto box = QtDialogs::makeMessageBox(QStringLiteral("x"), vbAbortRetryIgnore, {});
  box->button(QMessageBox::Ignore)->click();
  EXPECT_EQ(QtDialogs::answerOf(*box, vbAbortRetryIgnore), vbIgnore);
}

TEST(QtDialogs, BoxClosedWithoutAButtonAnswersCancelOrTheDefault) {
  auto cancellable = QtDialogs::makeMessageBox(QStringLiteral("x"), vbYesNoCancel, {});
  EXPECT_EQ(QtDialogs::answerOf(*cancellable, vbYesNoCancel), vbCancel);
  auto yesNo = QtDialogs::makeMessageBox(QStringLiteral("x"), vbYesNo + vbDefaultButton2, {});
  EXPECT_EQ(QtDialogs::answerOf(*yesNo, vbYesNo + vbDefaultButton2), vbNo);
}

TEST(QtDialogs, MsgBoxRunsModallyAndReturnsTheClickedAnswer) {
  QtDialogs dialogs(QtDialogs::Display::Seen);
  whenShown<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Retry)->click(); });
  EXPECT_EQ(dialogs.msgBox(QStringLiteral("Nochmal?"), vbRetryCancel + vbExclamation), vbRetry);
}

// Offscreen nobody would see a box: it is logged and answers at once.
TEST(QtDialogs, BoxNobodySeesIsLoggedAndAnswersItsDefaultAtOnce) {
  QStringList log;
  vb::setErrorLogSink([&log](const QString& line) { log << line; });
  bool zurueck = false;  // the check below runs only inside a box's event loop
  QMetaObject::invokeMethod(qApp, [&zurueck] {
    if (zurueck) return;
    ADD_FAILURE() << "the box waited for a user";
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  }, Qt::QueuedConnection);
  QtDialogs dialogs;
  QFont font;
  QColor color;
  QDialog window;
  EXPECT_FALSE(dialogs.userSeesDisplay());
  EXPECT_EQ(dialogs.msgBox(QStringLiteral("Wirklich abbrechen?"), vbYesNo + vbQuestion + vbDefaultButton2), vbNo);
  EXPECT_EQ(dialogs.msgBox(QStringLiteral("Fehler"), vbOKOnly + vbCritical), vbOK);
  EXPECT_TRUE(dialogs.fileDialog({}).isEmpty());
  EXPECT_TRUE(dialogs.folderDialog(QStringLiteral("Ordner")).isEmpty());
  EXPECT_FALSE(dialogs.fontDialog(font));
  EXPECT_FALSE(dialogs.colorDialog(color));
  EXPECT_EQ(dialogs.execWindow(window, QStringLiteral("preview")), QDialog::Rejected);
  zurueck = true;
  QCoreApplication::processEvents();
  vb::setErrorLogSink(nullptr);
  ASSERT_EQ(log.size(), 7);
  EXPECT_EQ(log[6], QStringLiteral("Fenster ohne sichtbare Anzeige abgebrochen: preview"));
  EXPECT_TRUE(log[0].endsWith(QStringLiteral("Wirklich abbrechen?"))) << log[0].toStdString();
}

TEST(QtDialogs, OpenDialogNeedsAnExistingFileSaveDoesNot) {
  auto open = QtDialogs::makeFileDialog({QStringLiteral("Öffnen"), QStringLiteral("*.LST"), {}, {}, false});
  EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open->windowTitle(), QStringLiteral("Öffnen"));
  auto save = QtDialogs::makeFileDialog({QStringLiteral("Speichern"), {}, {}, {}, true});
  EXPECT_EQ(save->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
}

TEST(QtDialogs, BarePatternIsTheFilter) {
  auto dialog = QtDialogs::makeFileDialog({{}, QStringLiteral("*.LST"), {}, {}, false});
  EXPECT_EQ(dialog->nameFilters(), QStringList({QStringLiteral("*.LST")}));
  auto named = QtDialogs::makeFileDialog({{}, QStringLiteral("Vorlagen (*.lst *.lbl)"), {}, {}, false});
  EXPECT_EQ(named->nameFilters(), QStringList({QStringLiteral("Vorlagen (*.lst *.lbl)")}));
}

TEST(QtDialogs, OpenDialogReturnsTheChosenExistingFile) {
  testsupport::TempDir dir;
  const QString file = dir.write(QStringLiteral("rechnung.lst"), "{}");
  QtDialogs dialogs(QtDialogs::Display::Seen);
  whenShown<QFileDialog>([file](QFileDialog& d) {
    d.selectFile(file);
    static_cast<QDialog&>(d).accept();
  });
  EXPECT_EQ(dialogs.fileDialog({{}, QStringLiteral("*.lst"), {}, dir.path(), false}), file);
}

TEST(QtDialogs, SaveDialogReturnsANewFileName) {
  testsupport::TempDir dir;
  const QString file = dir.file(QStringLiteral("neu.pdf"));
  QtDialogs dialogs(QtDialogs::Display::Seen);
  whenShown<QFileDialog>([file](QFileDialog& d) {
    d.selectFile(file);
    static_cast<QDialog&>(d).accept();
  });
  EXPECT_EQ(dialogs.fileDialog({{}, {}, {}, dir.path(), true}), file);
}

TEST(QtDialogs, CancelledFileDialogGivesEmptyText) {
  QtDialogs dialogs(QtDialogs::Display::Seen);
  whenShown<QFileDialog>([](QFileDialog& d) { d.reject(); });
  EXPECT_TRUE(dialogs.fileDialog({}).isEmpty());
}

TEST(QtDialogs, ExecWindowReturnsTheWindowsResult) {
  QtDialogs dialogs(QtDialogs::Display::Seen);
  QDialog window;
  QMetaObject::invokeMethod(&window, [&window] { window.done(7); }, Qt::QueuedConnection);
  EXPECT_EQ(dialogs.execWindow(window, QStringLiteral("preview")), 7);
}

TEST(QtDialogs, ShowWindowShowsWithoutWaiting) {
  QtDialogs dialogs;
  QWidget window;
  dialogs.showWindow(window, QStringLiteral("progress"));
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isModal());
}
