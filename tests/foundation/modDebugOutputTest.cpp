#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/PathResolver.h"
#include "tests/support/TempDir.h"

namespace {

class modDebugOutputTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLokalerPfad(dir.path()); }
  void TearDown() override { SetLokalerPfad(QString()); }

  QByteArray read(const QString& name) const {
    QFile f(dir.file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }

  testsupport::TempDir dir;
};

}  // namespace

TEST(modDebugOutput, NothingIsLoggedBeforeTheFirstInit) {
  // A fresh process: the log path is only ever set by DebugOutputInit.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        testsupport::TempDir dir;
        SetLokalerPfad(dir.path());
        DebugOutput(QStringLiteral("->frmDrucken.Initialize"));
        vb::logTrappedLine(QStringLiteral("Proc 13: Typen unverträglich"));
        std::_Exit(QDir(dir.path()).isEmpty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(modDebugOutputTest, EachCallIsOneLineEndedByCrLfWithNothingAdded) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("->frmDrucken.Initialize"));
  DebugOutput(QStringLiteral("-> Form_Unload"));
  DebugOutput(QStringLiteral("frmDrucken.Initialize->"));
  DebugOutput(QStringLiteral("BaumLaden 13: Typen unverträglich"));
  EXPECT_EQ(read(QStringLiteral("Debug.txt")),
            QByteArray("->frmDrucken.Initialize\r\n-> Form_Unload\r\nfrmDrucken.Initialize->\r\n"
                       "BaumLaden 13: Typen unvertr\xE4glich\r\n"));
}

TEST_F(modDebugOutputTest, EmbeddedLineBreakIsWrittenUnchanged) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("erste\r\nzweite"));
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("erste\r\nzweite\r\n"));
}

TEST_F(modDebugOutputTest, LinesAreInWindows1252WithQuestionMarksForTheRest) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("Betrag 12 € – Straße 漢"));
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("Betrag 12 \x80 \x96 Stra\xDF" "e ?\r\n"));
}

TEST_F(modDebugOutputTest, EachLineIsOnDiskWhenTheCallReturns) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("eins"));
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("eins\r\n"));
  // Not held open: the file may be deleted between two lines and comes back with the next one.
  ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("Debug.txt"))));
  DebugOutput(QStringLiteral("zwei"));
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("zwei\r\n"));
}

TEST_F(modDebugOutputTest, SecondInitDeletesTheLinesOfTheFirst) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("alt"));
  DebugOutputInit(QStringLiteral("Debug.txt"));
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Debug.txt"))));
  DebugOutput(QStringLiteral("neu"));
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("neu\r\n"));
}

TEST_F(modDebugOutputTest, BothSpellingsOfTheNameAreOneLog) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("Application"));
  DebugOutputInit(QStringLiteral("DEBUG.TXT"));
  EXPECT_TRUE(files().isEmpty()) << files().join(QLatin1Char(',')).toStdString();
  DebugOutput(QStringLiteral("clsMahnungDrucken"));
  EXPECT_EQ(files(), QStringList{QStringLiteral("DEBUG.TXT")});
  EXPECT_EQ(read(QStringLiteral("DEBUG.TXT")), QByteArray("clsMahnungDrucken\r\n"));
}

TEST_F(modDebugOutputTest, LinesGoToTheExistingFileWhateverTheCaseOfItsName) {
  DebugOutputInit(QStringLiteral("DEBUG.TXT"));
  dir.write(QStringLiteral("Debug.txt"), "vorher\r\n");
  DebugOutput(QStringLiteral("danach"));
  EXPECT_EQ(files(), QStringList{QStringLiteral("Debug.txt")});
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("vorher\r\ndanach\r\n"));
}

TEST_F(modDebugOutputTest, EmptyNameLogsToTheExecutablesNameWithDbg) {
  DebugOutputInit();
  DebugOutput(QStringLiteral("x"));
  const QString expected = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".DBG");
  EXPECT_EQ(files(), QStringList{expected});
}

TEST_F(modDebugOutputTest, NameWithFoldersLiesBelowTheLocalPath) {
  QDir(dir.path()).mkdir(QStringLiteral("Logs"));
  DebugOutputInit(QStringLiteral("logs\\Debug.txt"));
  DebugOutput(QStringLiteral("x"));
  EXPECT_EQ(read(QStringLiteral("Logs/Debug.txt")), QByteArray("x\r\n"));
}

TEST_F(modDebugOutputTest, UnwritableLogNeverBreaksTheCaller) {
  SetLokalerPfad(dir.file(QStringLiteral("fehlt")));
  EXPECT_NO_THROW(DebugOutputInit(QStringLiteral("Debug.txt")));
  EXPECT_NO_THROW(DebugOutput(QStringLiteral("->frmDrucken.Initialize")));
  EXPECT_TRUE(QDir(dir.path()).isEmpty());

  // A folder where the log file should be: no line, no error, and the folder is left alone.
  SetLokalerPfad(dir.path());
  QDir(dir.path()).mkdir(QStringLiteral("Debug.txt"));
  EXPECT_NO_THROW(DebugOutputInit(QStringLiteral("Debug.txt")));
  EXPECT_NO_THROW(DebugOutput(QStringLiteral("x")));
  EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("Debug.txt"))).isDir());
}

TEST_F(modDebugOutputTest, TrappedErrorsLandInTheLog) {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  vb::resumeNext(QStringLiteral("frmDrucken.StartPrint"), [] { vb::raise(vb::ErrTypeMismatch); });
  EXPECT_EQ(read(QStringLiteral("Debug.txt")), QByteArray("frmDrucken.StartPrint 13: Typen unvertr\xE4glich\r\n"));
}
