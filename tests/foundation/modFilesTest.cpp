#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/modFiles.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/PathResolver.h"
#include "tests/platform/vb/VbTestSupport.h"
#include "tests/support/TempDir.h"

using vbtest::errorOf;

namespace {

// Scripted dialogs that also keep the last file dialog request, to see what the helpers asked for.
class RequestRecorder : public ui::ScriptedDialogs {
 public:
  QString fileDialog(const ui::FileDialogRequest& request) override {
    last = request;
    return ScriptedDialogs::fileDialog(request);
  }
  ui::FileDialogRequest last;
};

class modFilesDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = ui::installedDialogs();
    ui::setDialogs(recorder);
  }
  void TearDown() override { ui::setDialogs(previous); }

  std::shared_ptr<ui::Dialogs> previous;
  std::shared_ptr<RequestRecorder> recorder = std::make_shared<RequestRecorder>();
};

}  // namespace

TEST(modFiles, GetPfadKeepsTheFolderWithItsBackslash) {
  EXPECT_EQ(GetPfad(QStringLiteral("C:\\Daten\\Formular\\Re.lst")), QStringLiteral("C:\\Daten\\Formular\\"));
  EXPECT_EQ(GetPfad(QStringLiteral("Re.lst")), QString());
  EXPECT_EQ(GetPfad(QStringLiteral("C:\\Daten\\")), QStringLiteral("C:\\Daten\\"));
  EXPECT_EQ(GetPfad(QStringLiteral("/home/u/Re.lst")), QString());
}

TEST(modFiles, GetDateiNameTakesThePartAfterTheLastBackslash) {
  EXPECT_EQ(GetDateiName(QStringLiteral("C:\\Daten\\Formular\\Re.lst")), QStringLiteral("Re.lst"));
  EXPECT_EQ(GetDateiName(QStringLiteral("C:\\Daten\\")), QString());
  EXPECT_EQ(GetDateiName(QStringLiteral("Re.lst")), QString());
  EXPECT_EQ(GetDateiName(QStringLiteral("/home/u/Re.lst")), QString());
}

TEST(modFiles, PathSplittingOverflowsAbove32767Characters) {
  const QString atLimit = QString(32766, QLatin1Char('a')) + QLatin1Char('\\');
  EXPECT_EQ(GetPfad(atLimit), atLimit);
  const QString tooLong = atLimit + QLatin1Char('b');
  EXPECT_EQ(errorOf([&] { GetPfad(tooLong); }), 6);
  EXPECT_EQ(errorOf([&] { GetDateiName(tooLong); }), 6);
}

TEST(modFiles, StripNullCutsAtTheFirstNull) {
  EXPECT_EQ(StripNull(QStringLiteral("abc")), QStringLiteral("abc"));
  EXPECT_EQ(StripNull(QString::fromUtf8("ab\0cd\0", 6)), QStringLiteral("ab"));
  EXPECT_EQ(StripNull(QString(QChar(0))), QString());
}

TEST(modFiles, StripNullOverflowsWhenTheNullLiesBeyond32767) {
  const QString longText = QString(40000, QLatin1Char('x'));
  EXPECT_EQ(StripNull(longText), longText);
  EXPECT_EQ(StripNull(QString(32766, QLatin1Char('x')) + QChar(0)).size(), 32766);
  EXPECT_EQ(errorOf([] { StripNull(QString(32767, QLatin1Char('x')) + QChar(0)); }), 6);
}

TEST(modFiles, DateiExistiertOnlyForReadableFiles) {
  testsupport::TempDir dir;
  const QString file = dir.write(QStringLiteral("Re.lst"), "x");
  EXPECT_TRUE(DateiExistiert(file));
  EXPECT_FALSE(DateiExistiert(dir.file(QStringLiteral("fehlt.lst"))));
  EXPECT_FALSE(DateiExistiert(dir.path()));
  EXPECT_FALSE(DateiExistiert(QString()));
  EXPECT_FALSE(DateiExistiert(QStringLiteral("   ")));
}

TEST(modFiles, DateiExistiertFindsAStoredPathInAnyLetterCase) {
  testsupport::TempDir dir;
  dir.write(QStringLiteral("Formular/Re.lst"), "x");
  EXPECT_TRUE(DateiExistiert(vb::toStoredPath(dir.path()) + QStringLiteral("\\FORMULAR\\re.LST")));
}

TEST(modFiles, DateiLesenReadsTheWholeFileInTheSystemCodePage) {
  testsupport::TempDir dir;
  const QString file = dir.write(QStringLiteral("t.rtf"), QByteArray("Zeile 1\r\nGr\xFC\xDF" "e \x80 \x84x\x93"));
  EXPECT_EQ(DateiLesen(file), QStringLiteral("Zeile 1\r\nGrüße € „x“"));
}

TEST(modFiles, DateiLesenOfAnEmptyFileIsEmpty) {
  testsupport::TempDir dir;
  EXPECT_EQ(DateiLesen(dir.write(QStringLiteral("leer.txt"), QByteArray())), QString());
}

TEST(modFiles, DateiLesenStopsAtTheEndOfFileMark) {
  testsupport::TempDir dir;
  EXPECT_EQ(DateiLesen(dir.write(QStringLiteral("dos.txt"), "abc\x1A")), QStringLiteral("abc"));
}

TEST(modFiles, DateiLesenOfAMissingFileIsFileNotFound) {
  testsupport::TempDir dir;
  EXPECT_EQ(errorOf([&] { DateiLesen(dir.file(QStringLiteral("fehlt.txt"))); }), 53);
  EXPECT_EQ(errorOf([&] { DateiLesen(dir.path()); }), 53);
}

TEST(modFiles, DateiLesenOfAnUnreadableFileGivesEmptyTextAndNoError) {
  testsupport::TempDir dir;
  const QString file = dir.write(QStringLiteral("gesperrt.txt"), "geheim");
  QFile::setPermissions(file, QFileDevice::WriteOwner);
  if (QFile(file).open(QIODevice::ReadOnly)) GTEST_SKIP() << "running with rights that ignore file permissions";
  QString text = QStringLiteral("x");
  EXPECT_EQ(errorOf([&] { text = DateiLesen(file); }), 0);
  EXPECT_EQ(text, QString());
}

TEST(modFiles, AnsiTextRoundTripsAndMarksWhatDoesNotFit) {
  EXPECT_EQ(toAnsi(QStringLiteral("€äß")), QByteArray("\x80\xE4\xDF"));
  EXPECT_EQ(toAnsi(QStringLiteral("a漢\U0001F600b")), QByteArray("a??b"));
  const QString all = fromAnsi([] {
    QByteArray b;
    for (int i = 1; i < 256; ++i) b += char(i);
    return b;
  }());
  EXPECT_EQ(toAnsi(all).size(), 255);
  EXPECT_EQ(fromAnsi(toAnsi(all)), all);
}

TEST_F(modFilesDialogs, DateiDialogOpenModeAsksForAnExistingFile) {
  recorder->answerFile(QStringLiteral("/tmp/Re.lst"));
  EXPECT_EQ(DateiDialog(QStringLiteral("Vorlagendatei"), QStringLiteral("*.LST"), QStringLiteral("*.LST"), false, 7,
                        QStringLiteral("/tmp")),
            QStringLiteral("/tmp/Re.lst"));
  ASSERT_EQ(recorder->shown().size(), 1);
  EXPECT_EQ(recorder->shown()[0].type, ui::ShownDialog::Type::OpenFile);
  EXPECT_FALSE(recorder->last.save);
  EXPECT_EQ(recorder->last.title, QStringLiteral("Vorlagendatei"));
  EXPECT_EQ(recorder->last.filter, QStringLiteral("*.LST"));
  EXPECT_EQ(recorder->last.fileName, QStringLiteral("*.LST"));
  EXPECT_EQ(recorder->last.initDir, QStringLiteral("/tmp"));
}

TEST_F(modFilesDialogs, DateiDialogSaveModeNeedsNoExistingFile) {
  recorder->answerFile(QStringLiteral("/tmp/neu.doc"));
  EXPECT_EQ(DateiDialog(QStringLiteral("Word Deckblatt"), QStringLiteral("*.DOC"), QStringLiteral("*.DOC"), true),
            QStringLiteral("/tmp/neu.doc"));
  EXPECT_EQ(recorder->shown()[0].type, ui::ShownDialog::Type::SaveFile);
  EXPECT_TRUE(recorder->last.save);
}

TEST_F(modFilesDialogs, DateiDialogWithoutStartFolderStartsInTheCurrentDirectory) {
  recorder->answerFile(QString());
  EXPECT_EQ(DateiDialog(QStringLiteral("T"), QStringLiteral("*.LST"), QString(), false), QString());
  EXPECT_EQ(recorder->last.initDir, QDir::currentPath());
  EXPECT_TRUE(recorder->last.fileName.isEmpty());
}

TEST_F(modFilesDialogs, FileDialogCannotReturnAPathLongerThan255Characters) {
  const QString fits = QLatin1Char('/') + QString(254, QLatin1Char('a'));
  const QString tooLong = fits + QLatin1Char('b');
  recorder->answerFile(fits);
  recorder->answerFile(tooLong);
  EXPECT_EQ(ShowCommonDialog(), fits);
  EXPECT_EQ(ShowCommonDialog(), QString());
}

TEST_F(modFilesDialogs, OrdnerDialogGivesTheChosenFolderOrEmptyOnCancel) {
  recorder->answerFolder(QStringLiteral("/srv/daten"));
  EXPECT_EQ(OrdnerDialog(-1, QStringLiteral("Datenverzeichnis")), QStringLiteral("/srv/daten"));
  EXPECT_EQ(recorder->shown()[0].type, ui::ShownDialog::Type::Folder);
  EXPECT_EQ(recorder->shown()[0].title, QStringLiteral("Datenverzeichnis"));
  recorder->answerFolder(QString());
  EXPECT_EQ(OrdnerDialog(), QString());
}
