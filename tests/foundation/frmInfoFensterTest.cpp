#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

#include "foundation/frmInfoFenster.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/VbError.h"
#include "tests/support/TempDir.h"

namespace {

const QString kCancelQuestion = QStringLiteral("Möchten Sie die Druckausgabe wirklich abbrechen?");

// An owner as the public print classes are: CancelOutput sets the flag its batch loop reads.
class Owner : public QObject {
  Q_OBJECT
 public:
  int cancelled = 0;
  bool fail = false;
  Q_INVOKABLE void CancelOutput() {
    if (fail) vb::raise(vb::ErrInvalidCall, QStringLiteral("Owner"), QStringLiteral("kaputt"));
    ++cancelled;
  }
};

// The debug log in a temp folder for the length of a test.
class TempLog {
 public:
  TempLog() {
    SetLokalerPfad(m_dir.path());
    DebugOutputInit(QStringLiteral("Debug.txt"));
  }
  ~TempLog() { SetLokalerPfad({}); }
  QStringList lines() const {
    QFile f(m_dir.file(QStringLiteral("Debug.txt")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }

 private:
  testsupport::TempDir m_dir;
};

QLabel* labelOf(frmInfoFenster& w, const char* name) { return w.findChild<QLabel*>(QLatin1String(name)); }
QPushButton* cancelButton(frmInfoFenster& w) { return w.findChild<QPushButton*>(QStringLiteral("cmdCancel")); }

}  // namespace

TEST(frmInfoFenster, ShowsCaptionButtonAndAnEmptyProgressLine) {
  frmInfoFenster w;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Skrivant"));
  ASSERT_NE(cancelButton(w), nullptr);
  EXPECT_EQ(cancelButton(w)->text(), QStringLiteral("Druck abbrechen"));
  ASSERT_NE(labelOf(w, "strInfo"), nullptr);
  EXPECT_TRUE(labelOf(w, "strInfo")->text().isEmpty());
  const QFont font = labelOf(w, "strInfo")->font();
  EXPECT_EQ(font.family(), QStringLiteral("Arial"));
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
  EXPECT_TRUE(font.bold());
}

// The window carries the program's icon beside its caption.
TEST(frmInfoFenster, ShowsTheProgramIcon) {
  frmInfoFenster w;
  ASSERT_FALSE(w.windowIcon().isNull());
  EXPECT_EQ(w.windowIcon().pixmap(16, 16).toImage(), ui::programIcon().pixmap(16, 16).toImage());
}

TEST(frmInfoFenster, VersionLabelHasNoLeadingZeros) {
  frmInfoFenster w;
  ASSERT_NE(labelOf(w, "ProgInfo"), nullptr);
  const auto match = QRegularExpression(QStringLiteral("^Version: (0|[1-9]\\d*)\\.(0|[1-9]\\d*)\\.(0|[1-9]\\d*)$"))
                         .match(labelOf(w, "ProgInfo")->text());
  ASSERT_TRUE(match.hasMatch()) << labelOf(w, "ProgInfo")->text().toStdString();
  EXPECT_EQ(match.captured(1).toInt(), SKRIVANT_VERSION_MAJOR);
  EXPECT_EQ(match.captured(2).toInt(), SKRIVANT_VERSION_MINOR);
  EXPECT_EQ(match.captured(3).toInt(), SKRIVANT_VERSION_REVISION);
}

TEST(frmInfoFenster, SetInfoTextShowsTheTextAndEmptyTextClearsIt) {
  frmInfoFenster w;
  w.SetInfoText(QStringLiteral("Rechnung 4711 wird gedruckt"));
  EXPECT_EQ(labelOf(w, "strInfo")->text(), QStringLiteral("Rechnung 4711 wird gedruckt"));
  w.SetInfoText({});
  EXPECT_TRUE(labelOf(w, "strInfo")->text().isEmpty());
}

TEST(frmInfoFenster, CancelAsksAndNoLeavesTheOwnerUntouched) {
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbNo);
  Owner owner;
  frmInfoFenster w;
  w.set_Parent(&owner);
  cancelButton(w)->click();
  EXPECT_EQ(owner.cancelled, 0);
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  const ui::ShownDialog box = dialogs->messageBoxes().first();
  EXPECT_EQ(box.text, kCancelQuestion);
  EXPECT_EQ(box.style, ui::vbYesNo + ui::vbQuestion + ui::vbDefaultButton2);
  EXPECT_EQ(box.title, ui::programTitle());
  EXPECT_EQ(w.Parent(), &owner);
}

TEST(frmInfoFenster, YesCallsTheOwnersCancelOutput) {
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbYes);
  Owner owner;
  frmInfoFenster w;
  w.set_Parent(&owner);
  cancelButton(w)->click();
  EXPECT_EQ(owner.cancelled, 1);
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
}

TEST(frmInfoFenster, UnansweredQuestionDefaultsToNo) {
  ui::ScopedScriptedDialogs dialogs;
  Owner owner;
  frmInfoFenster w;
  w.set_Parent(&owner);
  cancelButton(w)->click();
  EXPECT_EQ(owner.cancelled, 0);
  EXPECT_EQ(dialogs->unexpectedCount(), 1);
}

TEST(frmInfoFenster, ClickMadeDuringABatchIsHandledBySetInfoText) {
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbYes);
  Owner owner;
  frmInfoFenster w;
  w.set_Parent(&owner);
  QMetaObject::invokeMethod(cancelButton(w), &QPushButton::click, Qt::QueuedConnection);
  EXPECT_EQ(owner.cancelled, 0);
  w.SetInfoText(QStringLiteral("Beleg 2"));
  EXPECT_EQ(owner.cancelled, 1);
}

TEST(frmInfoFenster, ConfirmedCancelWithoutOwnerDoesNothing) {
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbYes);
  frmInfoFenster w;
  EXPECT_NO_THROW(cancelButton(w)->click());
  EXPECT_EQ(dialogs->messageBoxes().size(), 1);
}

TEST(frmInfoFenster, OwnerGoneFirstReadsAsNoOwner) {
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbYes);
  frmInfoFenster w;
  {
    Owner owner;
    w.set_Parent(&owner);
  }
  EXPECT_EQ(w.Parent(), nullptr);
  EXPECT_NO_THROW(cancelButton(w)->click());
}

TEST(frmInfoFenster, DoesNotKeepItsOwnerAlive) {
  auto owner = std::make_shared<Owner>();
  std::weak_ptr<Owner> watch = owner;
  frmInfoFenster w;
  w.set_Parent(owner.get());
  EXPECT_EQ(owner.use_count(), 1);
  owner.reset();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(w.Parent(), nullptr);
}

TEST(frmInfoFenster, ErrorFromCancelOutputIsLoggedNotPassedOn) {
  TempLog log;
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbYes);
  Owner owner;
  owner.fail = true;
  frmInfoFenster w;
  w.set_Parent(&owner);
  EXPECT_NO_THROW(cancelButton(w)->click());
  EXPECT_TRUE(log.lines().contains(QStringLiteral("frmInfoFenster.cmdCancel_Click 5: kaputt"))) << log.lines().join('|').toStdString();
}

TEST(frmInfoFenster, OwnerWithoutCancelOutputIsLoggedAs438) {
  TempLog log;
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerMsgBox(ui::vbYes);
  QObject owner;
  frmInfoFenster w;
  w.set_Parent(&owner);
  EXPECT_NO_THROW(cancelButton(w)->click());
  ASSERT_EQ(log.lines().size(), 1);
  EXPECT_TRUE(log.lines().first().startsWith(QStringLiteral("frmInfoFenster.cmdCancel_Click 438: ")));
}

TEST(frmInfoFenster, TerminationIsLogged) {
  TempLog log;
  {
    Owner owner;
    frmInfoFenster w;
    w.set_Parent(&owner);
  }
  EXPECT_EQ(log.lines(), QStringList({QStringLiteral("->InfoFensterterminate"), QStringLiteral("InfoFensterterminate->")}));
}

#include "frmInfoFensterTest.moc"
