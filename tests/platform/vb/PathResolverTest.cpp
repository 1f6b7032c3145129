#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/vb/PathResolver.h"
#include "tests/support/TempDir.h"

using vb::resolvePath;
using vb::toStoredPath;

namespace {

// Runs the test body with the current directory set to `dir`, and restores it.
class CurrentDirGuard {
 public:
  explicit CurrentDirGuard(const QString& dir) : m_old(QDir::currentPath()) { QDir::setCurrent(dir); }
  ~CurrentDirGuard() { QDir::setCurrent(m_old); }

 private:
  QString m_old;
};

QString windowsPath(const QString& real) { return toStoredPath(real); }

}  // namespace

TEST(PathResolver, FindsComponentsOfAnotherLetterCase) {
  testsupport::TempDir tmp;
  const QString real = tmp.write(QStringLiteral("Formular/LEINFACH.bmp"), "bmp");
  EXPECT_EQ(resolvePath(windowsPath(tmp.path()) + QStringLiteral("\\FORMULAR\\LEinfach.BMP")), real);
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/formular/leinfach.bmp")), real);
}

TEST(PathResolver, DebugTxtAndUpperCaseNameAreOneFile) {
  testsupport::TempDir tmp;
  const QString real = tmp.write(QStringLiteral("Debug.txt"), "log");
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/DEBUG.TXT")), real);
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/Debug.txt")), real);
}

TEST(PathResolver, ExactMatchWinsOverOtherCases) {
  testsupport::TempDir tmp;
  tmp.write(QStringLiteral("DEBUG.TXT"), "upper");
  const QString exact = tmp.write(QStringLiteral("debug.txt"), "lower");
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/debug.txt")), exact);
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/DEBUG.TXT")), tmp.file(QStringLiteral("DEBUG.TXT")));
  // Without an exact match the first in name order is taken, every time.
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/Debug.Txt")), tmp.file(QStringLiteral("DEBUG.TXT")));
}

TEST(PathResolver, UmlautsMatchWithoutRegardToCase) {
  testsupport::TempDir tmp;
  const QString real = tmp.write(QStringLiteral("Vorlagen/Übergabe.mdb"), "db");
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("\\VORLAGEN\\übergabe.MDB")), real);
}

TEST(PathResolver, MissingComponentsAreKeptAsWritten) {
  testsupport::TempDir tmp;
  QDir(tmp.path()).mkpath(QStringLiteral("Daten"));
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("\\DATEN\\Neu\\Datei.TXT")),
            tmp.path() + QStringLiteral("/Daten/Neu/Datei.TXT"));
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("\\Fehlt\\DATEN")), tmp.path() + QStringLiteral("/Fehlt/DATEN"));
}

TEST(PathResolver, DriveLetterIsDroppedAndPathStaysAbsolute) {
  testsupport::TempDir tmp;
  const QString real = tmp.write(QStringLiteral("system.mdw"), "x");
  EXPECT_EQ(resolvePath(QStringLiteral("C:") + windowsPath(tmp.path()) + QStringLiteral("\\SYSTEM.MDW")), real);
  EXPECT_EQ(resolvePath(QStringLiteral("c:\\")), QStringLiteral("/"));
  EXPECT_EQ(resolvePath(QStringLiteral("D:")), QStringLiteral("/"));
  EXPECT_EQ(resolvePath(QStringLiteral("C:\\nirgends\\x.lst")), QStringLiteral("/nirgends/x.lst"));
}

TEST(PathResolver, FoldsDotsAndRepeatedSeparators) {
  testsupport::TempDir tmp;
  const QString real = tmp.write(QStringLiteral("A/b.txt"), "x");
  QDir(tmp.path()).mkpath(QStringLiteral("C"));
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("\\\\a\\.\\B.TXT")), real);
  EXPECT_EQ(resolvePath(tmp.path() + QStringLiteral("/c/../a//b.txt")), real);
  EXPECT_EQ(resolvePath(QStringLiteral("/../..")), QStringLiteral("/"));
}

TEST(PathResolver, KeepsATrailingSeparatorOfAFolder) {
  testsupport::TempDir tmp;
  QDir(tmp.path()).mkpath(QStringLiteral("Formulare"));
  EXPECT_EQ(resolvePath(windowsPath(tmp.path()) + QStringLiteral("\\FORMULARE\\")),
            tmp.path() + QStringLiteral("/Formulare/"));
}

TEST(PathResolver, RelativePathsMatchBelowTheCurrentDirectoryAndStayRelative) {
  testsupport::TempDir tmp;
  tmp.write(QStringLiteral("Formular/LEINFACH.bmp"), "bmp");
  CurrentDirGuard cwd(tmp.path());
  EXPECT_EQ(resolvePath(QStringLiteral("FORMULAR\\LEinfach.BMP")), QStringLiteral("Formular/LEINFACH.bmp"));
  EXPECT_EQ(resolvePath(QStringLiteral(".\\formular\\..\\FORMULAR")), QStringLiteral("Formular"));
  EXPECT_EQ(resolvePath(QStringLiteral("neu\\datei.txt")), QStringLiteral("neu/datei.txt"));
  EXPECT_EQ(resolvePath(QStringLiteral("formular\\..")), QStringLiteral("."));
  EXPECT_TRUE(QFile::exists(resolvePath(QStringLiteral("formular\\leinfach.bmp"))));
}

TEST(PathResolver, ParentAboveTheCurrentDirectoryIsMatchedThere) {
  testsupport::TempDir tmp;
  QDir(tmp.path()).mkpath(QStringLiteral("Daten"));
  QDir(tmp.path()).mkpath(QStringLiteral("Programm"));
  CurrentDirGuard cwd(tmp.file(QStringLiteral("Programm")));
  EXPECT_EQ(resolvePath(QStringLiteral("..\\DATEN")), QStringLiteral("../Daten"));
}

TEST(PathResolver, EmptyPathStaysEmpty) {
  EXPECT_EQ(resolvePath(QString()), QString());
}

TEST(PathResolver, StoredPathUsesBackslashes) {
  EXPECT_EQ(toStoredPath(QStringLiteral("/home/a/Formular/x.lst")), QStringLiteral("\\home\\a\\Formular\\x.lst"));
}

TEST(PathResolver, SplittingTakesEitherSeparator) {
  struct Fall {
    QString pfad, ordner, datei;
  };
  const QList<Fall> faelle = {
      {QStringLiteral("C:\\Archiv\\R1.pdf"), QStringLiteral("C:\\Archiv\\"), QStringLiteral("R1.pdf")},
      {QStringLiteral("/home/buch/R 2.pdf"), QStringLiteral("/home/buch/"), QStringLiteral("R 2.pdf")},
      {QStringLiteral("/daten\\Formular/Re.lst"), QStringLiteral("/daten\\Formular/"), QStringLiteral("Re.lst")},
      {QStringLiteral("Rechnung.lst"), QString(), QStringLiteral("Rechnung.lst")},
      {QStringLiteral("C:\\Archiv\\"), QStringLiteral("C:\\Archiv\\"), QString()},
  };
  for (const Fall& f : faelle) {
    EXPECT_EQ(vb::folderPart(f.pfad), f.ordner) << f.pfad.toStdString();
    EXPECT_EQ(vb::fileNamePart(f.pfad), f.datei) << f.pfad.toStdString();
  }
}
