#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

#include "foundation/clsCSHFileOp.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/PathResolver.h"
#include "platform/vb/VbError.h"
#include "tests/support/TempDir.h"

namespace {

// Scripted dialogs whose user presses Cancel in the progress window as soon as it shows.
class CancellingDialogs : public ui::ScriptedDialogs {
 public:
  void showWindow(QWidget& window, const QString& kind) override {
    ScriptedDialogs::showWindow(window, kind);
    if (auto* progress = qobject_cast<QProgressDialog*>(&window)) progress->cancel();
  }
};

class clsCSHFileOpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = ui::installedDialogs();
    ui::setDialogs(dialogs);
  }
  void TearDown() override { ui::setDialogs(previous); }

  // Options of a quiet operation: no questions, no progress window.
  void quiet() {
    op.let_ConfirmOperation(false);
    op.let_SilentMode(true);
  }
  QByteArray read(const QString& name) const {
    QFile f(dir.file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  bool exists(const QString& name) const { return QFileInfo::exists(dir.file(name)); }
  long errorOf(bool (clsCSHFileOp::*operation)()) {
    try {
      (op.*operation)();
    } catch (const vb::VbError& e) {
      EXPECT_EQ(e.description(), QStringLiteral("No source files specified file operation"));
      return e.number();
    }
    return 0;
  }

  testsupport::TempDir dir;
  clsCSHFileOp op;
  std::shared_ptr<ui::Dialogs> previous;
  std::shared_ptr<ui::ScriptedDialogs> dialogs = std::make_shared<ui::ScriptedDialogs>();
};

}  // namespace

TEST_F(clsCSHFileOpTest, DefaultsAskAndShowProgress) {
  EXPECT_FALSE(op.AllowUndo());
  EXPECT_TRUE(op.ConfirmMakeDir());
  EXPECT_TRUE(op.ConfirmOperation());
  EXPECT_TRUE(op.CustomText().isEmpty());
  EXPECT_TRUE(op.IncludeDirectories());
  EXPECT_EQ(op.ParentWnd(), 0);
  EXPECT_FALSE(op.RenameOnCollision());
  EXPECT_FALSE(op.SilentMode());
}

TEST_F(clsCSHFileOpTest, EveryOperationWithoutSourcesRaisesTheNoSourceError) {
  EXPECT_EQ(errorOf(&clsCSHFileOp::MoveFiles), -2147220504L);
  EXPECT_EQ(errorOf(&clsCSHFileOp::CopyFiles), -2147220504L);
  EXPECT_EQ(errorOf(&clsCSHFileOp::DeleteFiles), -2147220504L);
  EXPECT_EQ(errorOf(&clsCSHFileOp::RenameFiles), -2147220504L);
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(clsCSHFileOpTest, ClearSourceFilesThenAnyOperationRaises) {
  const QString file = dir.write(QStringLiteral("a.txt"), "a");
  op.AddSourceFile(file);
  op.ClearSourceFiles();
  EXPECT_EQ(errorOf(&clsCSHFileOp::DeleteFiles), -2147220504L);
  EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(clsCSHFileOpTest, QuietDeleteRemovesFilesAndFolders) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  dir.write(QStringLiteral("Ordner/b.txt"), "b");
  op.AddSourceFile(dir.file(QStringLiteral("Ordner")));
  EXPECT_TRUE(op.DeleteFiles());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(clsCSHFileOpTest, DeleteAsksFirstAndNoKeepsTheFile) {
  op.let_SilentMode(true);
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  dialogs->answerMsgBox(ui::vbNo);
  EXPECT_FALSE(op.DeleteFiles());
  EXPECT_TRUE(exists(QStringLiteral("a.txt")));
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(dialogs->messageBoxes()[0].text, QStringLiteral("Möchten Sie \"a.txt\" wirklich löschen?"));
  dialogs->answerMsgBox(ui::vbYes);
  EXPECT_TRUE(op.DeleteFiles());
  EXPECT_FALSE(exists(QStringLiteral("a.txt")));
}

TEST_F(clsCSHFileOpTest, DeleteWithUndoMovesToTheTrash) {
  testsupport::TempDir home;
  const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
  quiet();
  op.let_AllowUndo(true);
  op.AddSourceFile(dir.write(QStringLiteral("weg.txt"), "inhalt"));
  const bool ok = op.DeleteFiles();
  qputenv("XDG_DATA_HOME", oldHome);
  EXPECT_TRUE(ok);
  EXPECT_FALSE(exists(QStringLiteral("weg.txt")));
  QStringList trashed;
  for (QDirIterator it(home.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    trashed << QFileInfo(it.next()).fileName();
  EXPECT_TRUE(trashed.contains(QStringLiteral("weg.txt"))) << trashed.join(QLatin1Char(',')).toStdString();
}

TEST_F(clsCSHFileOpTest, OneDestinationFolderTakesEverySource) {
  quiet();
  QDir(dir.path()).mkdir(QStringLiteral("Ziel"));
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddSourceFile(dir.write(QStringLiteral("b.txt"), "b"));
  op.AddDestFile(dir.file(QStringLiteral("Ziel")));
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("Ziel/a.txt")), QByteArray("a"));
  EXPECT_EQ(read(QStringLiteral("Ziel/b.txt")), QByteArray("b"));
  EXPECT_TRUE(exists(QStringLiteral("a.txt")));
}

TEST_F(clsCSHFileOpTest, OneDestinationForOneSourceIsItsNewName) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddDestFile(dir.file(QStringLiteral("kopie.txt")));
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("kopie.txt")), QByteArray("a"));
}

TEST_F(clsCSHFileOpTest, TwoDestinationsPairUpWithTheSources) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddSourceFile(dir.write(QStringLiteral("b.txt"), "b"));
  op.AddDestFile(dir.file(QStringLiteral("x.txt")));
  op.AddDestFile(dir.file(QStringLiteral("y.txt")));
  EXPECT_TRUE(op.MoveFiles());
  EXPECT_EQ(read(QStringLiteral("x.txt")), QByteArray("a"));
  EXPECT_EQ(read(QStringLiteral("y.txt")), QByteArray("b"));
  EXPECT_FALSE(exists(QStringLiteral("a.txt")));
  EXPECT_FALSE(exists(QStringLiteral("b.txt")));
}

TEST_F(clsCSHFileOpTest, DestinationsThatDoNotPairUpFail) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddDestFile(dir.file(QStringLiteral("x.txt")));
  op.AddDestFile(dir.file(QStringLiteral("y.txt")));
  EXPECT_FALSE(op.CopyFiles());
  op.ClearDestFiles();
  EXPECT_FALSE(op.CopyFiles());
  EXPECT_FALSE(exists(QStringLiteral("x.txt")));
}

TEST_F(clsCSHFileOpTest, RenameToABareNameStaysInTheFolder) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("Sub/alt.txt"), "a"));
  op.AddDestFile(QStringLiteral("neu.txt"));
  EXPECT_TRUE(op.RenameFiles());
  EXPECT_EQ(read(QStringLiteral("Sub/neu.txt")), QByteArray("a"));
  EXPECT_FALSE(exists(QStringLiteral("Sub/alt.txt")));
}

TEST_F(clsCSHFileOpTest, FoldersAreCopiedWithTheirContent) {
  quiet();
  dir.write(QStringLiteral("Quelle/x/tief.txt"), "t");
  op.AddSourceFile(dir.file(QStringLiteral("Quelle")));
  op.AddDestFile(dir.file(QStringLiteral("Ziel")));
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("Ziel/x/tief.txt")), QByteArray("t"));
}

TEST_F(clsCSHFileOpTest, AFolderCannotGoIntoItself) {
  quiet();
  dir.write(QStringLiteral("Quelle/a.txt"), "a");
  op.AddSourceFile(dir.file(QStringLiteral("Quelle")));
  op.AddDestFile(dir.file(QStringLiteral("Quelle/Unter/Quelle")));
  EXPECT_FALSE(op.CopyFiles());
  EXPECT_FALSE(exists(QStringLiteral("Quelle/Unter/Quelle/Unter")));
}

TEST_F(clsCSHFileOpTest, MissingSourceFailsBeforeAnythingIsDone) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddSourceFile(dir.file(QStringLiteral("fehlt.txt")));
  EXPECT_FALSE(op.DeleteFiles());
  EXPECT_TRUE(exists(QStringLiteral("a.txt")));
}

TEST_F(clsCSHFileOpTest, StoredPathsAreFoundInAnyLetterCase) {
  quiet();
  dir.write(QStringLiteral("Formular/Re.lst"), "r");
  op.AddSourceFile(vb::toStoredPath(dir.path()) + QStringLiteral("\\FORMULAR\\RE.LST"));
  EXPECT_TRUE(op.DeleteFiles());
  EXPECT_FALSE(exists(QStringLiteral("Formular/Re.lst")));
}

TEST_F(clsCSHFileOpTest, CollisionAsksAndNoSkipsTheFile) {
  op.let_SilentMode(true);
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "neu"));
  op.AddDestFile(dir.write(QStringLiteral("b.txt"), "alt"));
  dialogs->answerMsgBox(ui::vbNo);
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("b.txt")), QByteArray("alt"));
  dialogs->answerMsgBox(ui::vbCancel);
  EXPECT_FALSE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("b.txt")), QByteArray("alt"));
  dialogs->answerMsgBox(ui::vbYes);
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("b.txt")), QByteArray("neu"));
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
}

TEST_F(clsCSHFileOpTest, WithoutConfirmationACollidingFileIsReplaced) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "neu"));
  op.AddDestFile(dir.write(QStringLiteral("b.txt"), "alt"));
  EXPECT_TRUE(op.MoveFiles());
  EXPECT_EQ(read(QStringLiteral("b.txt")), QByteArray("neu"));
  EXPECT_FALSE(exists(QStringLiteral("a.txt")));
}

TEST_F(clsCSHFileOpTest, AFolderIsNeverReplacedByAFile) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddDestFile(dir.write(QStringLiteral("Ziel/a.txt/inhalt.txt"), "bleibt"));
  op.ClearDestFiles();
  op.AddDestFile(dir.file(QStringLiteral("Ziel")));
  EXPECT_FALSE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("Ziel/a.txt/inhalt.txt")), QByteArray("bleibt"));
}

TEST_F(clsCSHFileOpTest, RenameOnCollisionKeepsBothFiles) {
  quiet();
  op.let_RenameOnCollision(true);
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "neu"));
  op.AddDestFile(dir.write(QStringLiteral("Ziel/a.txt"), "alt"));
  op.ClearDestFiles();
  op.AddDestFile(dir.file(QStringLiteral("Ziel")));
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("Ziel/a.txt")), QByteArray("alt"));
  EXPECT_EQ(read(QStringLiteral("Ziel/Kopie von a.txt")), QByteArray("neu"));
  EXPECT_EQ(read(QStringLiteral("Ziel/Kopie (2) von a.txt")), QByteArray("neu"));
}

TEST_F(clsCSHFileOpTest, CopyOntoItselfMakesACopyBesideIt) {
  quiet();
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddDestFile(dir.path());
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("a.txt")), QByteArray("a"));
  EXPECT_EQ(read(QStringLiteral("Kopie von a.txt")), QByteArray("a"));
}

TEST_F(clsCSHFileOpTest, MissingDestinationFolderIsCreatedAfterAsking) {
  op.let_SilentMode(true);
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddSourceFile(dir.write(QStringLiteral("b.txt"), "b"));
  op.AddDestFile(dir.file(QStringLiteral("Neu")));
  dialogs->answerMsgBox(ui::vbNo);
  EXPECT_FALSE(op.CopyFiles());
  EXPECT_FALSE(exists(QStringLiteral("Neu")));
  dialogs->answerMsgBox(ui::vbYes);
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("Neu/b.txt")), QByteArray("b"));
}

TEST_F(clsCSHFileOpTest, MissingDestinationFolderWithoutConfirmMakeDirIsCreatedSilently) {
  op.let_SilentMode(true);
  op.let_ConfirmMakeDir(false);
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  op.AddDestFile(dir.file(QStringLiteral("Neu/Tiefer/a.txt")));
  op.AddDestFile(dir.file(QStringLiteral("zweites.txt")));
  op.AddSourceFile(dir.write(QStringLiteral("b.txt"), "b"));
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(read(QStringLiteral("Neu/Tiefer/a.txt")), QByteArray("a"));
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(clsCSHFileOpTest, WildcardSourceTakesFoldersOnlyWhenIncluded) {
  quiet();
  dir.write(QStringLiteral("Q/eins.txt"), "1");
  dir.write(QStringLiteral("Q/zwei.TXT"), "2");
  dir.write(QStringLiteral("Q/ordner.txt/x"), "x");
  dir.write(QStringLiteral("Q/drei.doc"), "3");
  op.let_IncludeDirectories(false);
  op.AddSourceFile(dir.file(QStringLiteral("Q/*.txt")));
  op.AddDestFile(dir.file(QStringLiteral("Z")));
  op.let_ConfirmMakeDir(false);
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_EQ(QDir(dir.file(QStringLiteral("Z"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("eins.txt"), QStringLiteral("zwei.TXT")}));
  op.let_IncludeDirectories(true);
  EXPECT_TRUE(op.CopyFiles());
  EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("Z/ordner.txt"))).isDir());
}

TEST_F(clsCSHFileOpTest, ProgressWindowCarriesTheCustomText) {
  op.let_ConfirmOperation(false);
  op.let_CustomText(QStringLiteral("Sicherung"));
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  EXPECT_TRUE(op.DeleteFiles());
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown()[0].type, ui::ShownDialog::Type::Window);
  EXPECT_EQ(dialogs->shown()[0].title, QStringLiteral("Sicherung"));
}

TEST_F(clsCSHFileOpTest, CancelInTheProgressWindowAbortsTheOperation) {
  ui::setDialogs(std::make_shared<CancellingDialogs>());
  op.let_ConfirmOperation(false);
  op.AddSourceFile(dir.write(QStringLiteral("a.txt"), "a"));
  EXPECT_FALSE(op.DeleteFiles());
  EXPECT_TRUE(exists(QStringLiteral("a.txt")));
}
