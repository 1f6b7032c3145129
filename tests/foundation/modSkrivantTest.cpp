#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdlib>

#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "tests/support/TempDir.h"

namespace {

class modSkrivantTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetLokalerPfad(QString());
    SetDatenverzeichnis(QString());
  }
};

// Points the per-user data folder at a temp folder for the test's lifetime.
class DataHome {
 public:
  DataHome() : m_old(qgetenv("XDG_DATA_HOME")) { qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit()); }
  ~DataHome() { qputenv("XDG_DATA_HOME", m_old); }
  QString appFolder() const { return m_dir.path() + QStringLiteral("/Skrivant"); }

 private:
  testsupport::TempDir m_dir;
  QByteArray m_old;
};

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(modSkrivant, ProcessStartsWithNothingSet) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const bool fresh = GetDatenverzeichnis().isEmpty() && !GetGlobalConnectList() && !GetGestaltungBeendet();
        std::_Exit(fresh ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(modSkrivantTest, LocalPathIsStoredTrimmedWithABackslash) {
  SetLokalerPfad(QStringLiteral(" C:\\Temp "));
  EXPECT_EQ(GetLokalerPfad(), QStringLiteral("C:\\Temp\\"));
  SetLokalerPfad(QStringLiteral("C:\\Temp\\"));
  EXPECT_EQ(GetLokalerPfad(), QStringLiteral("C:\\Temp\\"));
  SetLokalerPfad(QStringLiteral("/var/lib/skrivant/"));
  EXPECT_EQ(GetLokalerPfad(), QStringLiteral("/var/lib/skrivant/"));
}

TEST_F(modSkrivantTest, WithoutALocalPathTheUserDataFolderIsCreatedAndUsed) {
  DataHome home;
  EXPECT_EQ(GetLokalerPfad(), home.appFolder() + QLatin1Char('/'));
  EXPECT_TRUE(QFileInfo(home.appFolder()).isDir());
}

TEST_F(modSkrivantTest, EmptyOrBlankLocalPathNeverBecomesTheRoot) {
  DataHome home;
  SetLokalerPfad(QStringLiteral("C:\\Temp"));
  SetLokalerPfad(QString());
  EXPECT_EQ(GetLokalerPfad(), home.appFolder() + QLatin1Char('/'));
  SetLokalerPfad(QStringLiteral("   "));
  EXPECT_EQ(GetLokalerPfad(), home.appFolder() + QLatin1Char('/'));
  EXPECT_EQ(GetFormularPfad(), home.appFolder() + QStringLiteral("/Formular"));
}

TEST_F(modSkrivantTest, FormsFolderLiesBelowTheLocalPath) {
  SetLokalerPfad(QStringLiteral("C:\\Temp\\"));
  EXPECT_EQ(GetFormularPfad(), QStringLiteral("C:\\Temp\\Formular"));
}

TEST_F(modSkrivantTest, CreateFormularPfadCreatesTheFormsFolder) {
  testsupport::TempDir dir;
  SetLokalerPfad(dir.path());
  CreateFormularPfad();
  EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("Formular"))).isDir());
}

TEST_F(modSkrivantTest, CreateFormularPfadFindsTheFolderInAnyLetterCaseAndLogsNothing) {
  testsupport::TempDir dir;
  SetLokalerPfad(dir.path());
  DebugOutputInit(QStringLiteral("Debug.txt"));
  QDir(dir.path()).mkdir(QStringLiteral("FORMULAR"));
  CreateFormularPfad();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("FORMULAR")});
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Debug.txt"))));
}

TEST_F(modSkrivantTest, CreateFormularPfadLogsAMissingLocalPathAndReturns) {
  testsupport::TempDir dir;
  SetLokalerPfad(dir.path());
  DebugOutputInit(QStringLiteral("Debug.txt"));
  SetLokalerPfad(dir.file(QStringLiteral("fehlt")));
  EXPECT_NO_THROW(CreateFormularPfad());
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("fehlt"))));
  EXPECT_EQ(readFile(dir.file(QStringLiteral("Debug.txt"))), QByteArray("76: Pfad nicht gefunden\r\n"));
}

TEST_F(modSkrivantTest, CreateFormularPfadLogsAFileInTheWay) {
  testsupport::TempDir dir;
  SetLokalerPfad(dir.path());
  DebugOutputInit(QStringLiteral("Debug.txt"));
  dir.write(QStringLiteral("Formular"), "kein Ordner");
  CreateFormularPfad();
  EXPECT_EQ(readFile(dir.file(QStringLiteral("Debug.txt"))), QByteArray("75: Fehler beim Zugriff auf Pfad/Datei\r\n"));
}

TEST_F(modSkrivantTest, FormatDatumWritesDayMonthYear) {
  EXPECT_EQ(FormatDatum(vb::Variant(QDate(2008, 2, 7))), QStringLiteral("07.02.2008"));
  EXPECT_EQ(FormatDatum(vb::Variant(QDateTime(QDate(2024, 12, 31), QTime(23, 59)))), QStringLiteral("31.12.2024"));
  EXPECT_EQ(FormatDatum(vb::Variant(QStringLiteral("7.2.2008"))), QStringLiteral("07.02.2008"));
}

TEST_F(modSkrivantTest, FormatDatumOfNullOrANonDateIsEmpty) {
  EXPECT_EQ(FormatDatum(vb::Variant::null()), QString());
  EXPECT_EQ(FormatDatum(vb::Variant(QStringLiteral("kein Datum"))), QString());
}

TEST_F(modSkrivantTest, CollapseReplacesTheDataDirectoryInAnyCaseByTheToken) {
  SetDatenverzeichnis(QStringLiteral("F:\\Daten\\"));
  EXPECT_EQ(CollapseDatenPfad(QStringLiteral("f:\\daten\\Formular\\Re.lst")), QStringLiteral("$Daten$Formular\\Re.lst"));
  EXPECT_EQ(CollapseDatenPfad(QStringLiteral("G:\\Andere\\Re.lst")), QStringLiteral("G:\\Andere\\Re.lst"));
}

TEST_F(modSkrivantTest, ExpandReplacesTheTokenInAnyCase) {
  SetDatenverzeichnis(QStringLiteral("F:\\Daten\\"));
  EXPECT_EQ(ExpandDatenPfad(QStringLiteral("$DATEN$Formular\\Re.lst")), QStringLiteral("F:\\Daten\\Formular\\Re.lst"));
  EXPECT_EQ(ExpandDatenPfad(QStringLiteral("$daten$a;$Daten$b")), QStringLiteral("F:\\Daten\\a;F:\\Daten\\b"));
}

TEST_F(modSkrivantTest, CollapseReplacesEveryOccurrence) {
  SetDatenverzeichnis(QStringLiteral("F:\\Daten\\"));
  EXPECT_EQ(CollapseDatenPfad(QStringLiteral("F:\\Daten\\a|F:\\DATEN\\b")), QStringLiteral("$Daten$a|$Daten$b"));
}

TEST_F(modSkrivantTest, DataDirectoryIsKeptExactlyAsGiven) {
  SetDatenverzeichnis(QStringLiteral(" F:\\Daten"));
  EXPECT_EQ(GetDatenverzeichnis(), QStringLiteral(" F:\\Daten"));
  EXPECT_EQ(ExpandDatenPfad(QStringLiteral("$Daten$\\x")), QStringLiteral(" F:\\Daten\\x"));
}

TEST_F(modSkrivantTest, EmptyDataDirectoryLeavesPathsAsTheyAre) {
  EXPECT_EQ(CollapseDatenPfad(QStringLiteral("F:\\Daten\\Re.lst")), QStringLiteral("F:\\Daten\\Re.lst"));
  EXPECT_EQ(CollapseDatenPfad(QString()), QString());
}

TEST_F(modSkrivantTest, DesignerClosedFlagKeepsTheLastValue) {
  SetGestaltungBeendet(true);
  EXPECT_TRUE(GetGestaltungBeendet());
  SetGestaltungBeendet(false);
  EXPECT_FALSE(GetGestaltungBeendet());
}

TEST(modSkrivantExit, HostThatLeavesTheConnectionHandlerSetExitsCleanly) {
  testsupport::TempDir dir;
  for (const QString& mode : {QStringLiteral("app"), QStringLiteral("plain")}) {
    QProcess host;
    host.start(QStringLiteral(SKRIVANT_EXIT_HOST), {mode, dir.file(mode + QStringLiteral(".mdb"))});
    ASSERT_TRUE(host.waitForFinished(60000)) << mode.toStdString();
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit) << mode.toStdString() << host.readAllStandardError().toStdString();
    EXPECT_EQ(host.exitCode(), 0) << mode.toStdString() << host.readAllStandardError().toStdString();
  }
}
