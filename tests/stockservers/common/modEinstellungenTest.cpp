#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "foundation/modSkrivant.h"
#include "stockservers/common/modEinstellungen.h"
#include "tests/support/TempDir.h"

namespace {

class LagerVorgaben : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The settings store of a folder of its own, before anything reads it.
    static QTemporaryDir konfiguration;
    qputenv("XDG_CONFIG_HOME", konfiguration.path().toLocal8Bit());
  }

  void TearDown() override { SetLokalerPfad(QString()); }

  testsupport::TempDir dir;
};

TEST_F(LagerVorgaben, SettingsGiveTheDatabasesWithTheServersDefaults) {
  struct Fall {
    const char* name;
    QString typ, dbName, dbNameDat, odbc;
    LagerDatenbanken erwartet;
  };
  const QString odbcVorgabe =
      QStringLiteral("ODBC;NETWORK=DBMSSOCN;DRIVER=SQL Server;SERVER=(local);DATABASE=tarnelo;Trusted_Connection=Yes");
  const Fall faelle[] = {
      {"nothing set", {}, {}, {}, {},
       {QStringLiteral("MDB"), QStringLiteral("C:\\Tarnelo\\Artikel.MDB"), QStringLiteral("C:\\Tarnelo\\buch_dat.mdb"), odbcVorgabe}},
      {"second file beside the first", QStringLiteral("MDB"), QStringLiteral("/daten/laden/Artikel.MDB"), {}, {},
       {QStringLiteral("MDB"), QStringLiteral("/daten/laden/Artikel.MDB"), QStringLiteral("/daten/laden/buch_dat.mdb"), odbcVorgabe}},
      {"everything set", QStringLiteral("SQL-Server"), QStringLiteral("a.mdb"), QStringLiteral("/x/b.mdb"), QStringLiteral("DSN=lager"),
       {QStringLiteral("SQL-Server"), QStringLiteral("a.mdb"), QStringLiteral("/x/b.mdb"), QStringLiteral("DSN=lager")}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    // An empty value stands for a key that is missing.
    QSettings(QStringLiteral("Tarnelo"), QStringLiteral("Tarnelo")).remove(QStringLiteral("LagerAnfrage"));
    const std::pair<const char*, QString> werte[] = {{"Type", f.typ}, {"DBName", f.dbName}, {"DBNameDat", f.dbNameDat}, {"ODBC_Connect", f.odbc}};
    for (const auto& [schluessel, wert] : werte)
      if (!wert.isEmpty()) SaveSetting(QStringLiteral("LagerAnfrage"), QString::fromLatin1(schluessel), wert);
    const LagerDatenbanken db = LagerDatenbankenLesen();
    EXPECT_EQ(db.Typ, f.erwartet.Typ);
    EXPECT_EQ(db.DBName, f.erwartet.DBName);
    EXPECT_EQ(db.DBNameDat, f.erwartet.DBNameDat);
    EXPECT_EQ(db.ODBC_Connect, f.erwartet.ODBC_Connect);
  }
}

TEST_F(LagerVorgaben, WorkgroupFileIsMadeWhereMissingAndNeverOverwritten) {
  SetLokalerPfad(dir.path() + QLatin1Char('/'));
  const QString systemDb = SystemDbAnlegen();
  EXPECT_EQ(systemDb, dir.file(QStringLiteral("SYSTEM.MDW")));
  ASSERT_TRUE(QFile::exists(systemDb));
  EXPECT_EQ(QFileInfo(systemDb).size(), 0);

  dir.write(QStringLiteral("SYSTEM.MDW"), "Arbeitsgruppe");
  SystemDbAnlegen();
  QFile datei(systemDb);
  ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
  EXPECT_EQ(datei.readAll(), QByteArray("Arbeitsgruppe"));
}

TEST_F(LagerVorgaben, WorkgroupFileGoesToTheFolderAStoredPathMeans) {
  // A local folder stored the Windows way, in other letter case than on disk.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Lokal")));
  const QString gespeichert = QDir::toNativeSeparators(dir.path()).replace(QLatin1Char('/'), QLatin1Char('\\')) + QStringLiteral("\\LOKAL\\");
  SetLokalerPfad(gespeichert);
  EXPECT_EQ(SystemDbAnlegen(), gespeichert + QStringLiteral("SYSTEM.MDW"));
  EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("Lokal/SYSTEM.MDW"))));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

}  // namespace
