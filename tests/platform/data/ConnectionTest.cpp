#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <clocale>
#include <string>

#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "tests/platform/data/TestDatabase.h"

using namespace datatest;

namespace {

std::shared_ptr<data::Connection> jetConnection(const QString& provider) {
  auto con = std::make_shared<data::Connection>();
  con->let_Provider(provider);
  return con;
}

}  // namespace

TEST(Connection, JetProviderWithTrailingSemicolonAndAnyCaseOpensTheSqliteFile) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  for (const QString provider : {QStringLiteral("Microsoft.Jet.OLEDB.4.0;"), QStringLiteral("microsoft.jet.oledb.4.0")}) {
    auto con = jetConnection(provider);
    con->Open(QStringLiteral("Data Source=") + file);
    EXPECT_EQ(con->State(), 1);
    EXPECT_TRUE(con->isSqlite());
  }
}

TEST(Connection, ProviderInTheConnectionStringIsTaken) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = std::make_shared<data::Connection>();
  con->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file + QStringLiteral(";Persist Security Info=False"));
  EXPECT_TRUE(con->isSqlite());
}

TEST(Connection, StoredWindowsPathIsResolvedWithoutRegardToCase) {
  testsupport::TempDir dir;
  QDir().mkpath(dir.file(QStringLiteral("Daten")));
  const QString file = makeHostDatabase(dir, QStringLiteral("Daten/Uebergabe.MDB"));
  QString stored = dir.path() + QStringLiteral("/DATEN/uebergabe.mdb");
  stored.replace(QLatin1Char('/'), QLatin1Char('\\'));
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  con->Open(QStringLiteral("Data Source=") + stored);
  EXPECT_EQ(con->State(), 1);
  EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/DATEN/uebergabe.mdb")));
}

TEST(Connection, MissingDatabaseFileFailsAndIsNotCreated) {
  testsupport::TempDir dir;
  const QString file = dir.file(QStringLiteral("fehlt.mdb"));
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  EXPECT_EQ(errorOf([&] { con->Open(QStringLiteral("Data Source=") + file); }), data::ErrDatabase);
  EXPECT_TRUE(errorText([&] { con->Open(QStringLiteral("Data Source=") + file); }).contains(QStringLiteral("fehlt.mdb")));
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_EQ(con->State(), 0);
}

TEST(Connection, FileThatIsNoDatabaseFails) {
  testsupport::TempDir dir;
  const QString file = dir.write(QStringLiteral("text.mdb"), QByteArray("kein Datenbankinhalt, nur Text ").repeated(40));
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  EXPECT_EQ(errorOf([&] { con->Open(QStringLiteral("Data Source=") + file); }), data::ErrDatabase);
  EXPECT_EQ(con->State(), 0);
}

TEST(Connection, WorkgroupFileMustExist) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0;"));
  con->Properties(QStringLiteral("Jet OLEDB:System database"))->let_Value(vb::Variant(dir.file(QStringLiteral("SYSTEM.MDW"))));
  const QString text = errorText([&] { con->Open(QStringLiteral("Data Source=") + file); });
  EXPECT_TRUE(text.contains(QStringLiteral("SYSTEM.MDW"))) << text.toStdString();
  EXPECT_EQ(con->State(), 0);

  dir.write(QStringLiteral("system.mdw"), QByteArray());  // content is not read; the name matches without case
  con->Open(QStringLiteral("Data Source=") + file);
  EXPECT_EQ(con->State(), 1);
}

TEST(Connection, QuotedValuesKeepSemicolonsAndQuotesOfAPath) {
  testsupport::TempDir dir;
  const QStringList folders = {QStringLiteral("a;b"), QStringLiteral("x;Provider=MSDASQL"),
                               QStringLiteral("O'Brien \"Buch\""), QStringLiteral("{klammer")};
  for (int i = 0; i < folders.size(); ++i) {
    const QString file = makeHostDatabase(dir, folders[i] + QStringLiteral("/Beispiel.mdb"));
    exec(file, QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (%1, 'hier')").arg(i));
    auto con = std::make_shared<data::Connection>();
    const QString built = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + data::connectionValue(file) +
                          QStringLiteral(";Persist Security Info=False");
    ASSERT_EQ(errorText([&] { con->Open(built); }).toStdString(), "") << built.toStdString();
    EXPECT_TRUE(con->isSqlite());
    EXPECT_FALSE(con->Execute(QStringLiteral("SELECT Text FROM TextBausteine WHERE Nummer=%1").arg(i))->Eof())
        << built.toStdString();
  }
  // Written by hand the other way: single quotes, the one inside doubled.
  const QString file = dir.file(folders[2] + QStringLiteral("/Beispiel.mdb"));
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  con->Open(QStringLiteral("Data Source = '") + QString(file).replace(QLatin1Char('\''), QLatin1String("''")) +
            QStringLiteral("' ;Mode=Share Deny None"));
  EXPECT_FALSE(con->Execute(QStringLiteral("SELECT Text FROM TextBausteine WHERE Nummer=2"))->Eof());
}

TEST(Connection, JetPropertiesWithoutMeaningOnSqliteAreKeptAndChangeNothing) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  const QStringList names = {QStringLiteral("Jet OLEDB:Database Locking Mode"), QStringLiteral("Locale Identifier"),
                             QStringLiteral("Jet OLEDB:Registry Path"), QStringLiteral("Extended Properties"),
                             QStringLiteral("Prompt")};
  for (const QString& name : names) {
    ASSERT_EQ(errorOf([&] { con->Properties(name)->let_Value(vb::Variant(QStringLiteral("1"))); }), 0)
        << name.toStdString();
  }
  con->Open(QStringLiteral("Data Source=") + file);
  EXPECT_EQ(con->State(), 1);
  for (const QString& name : names)
    EXPECT_EQ(con->Properties(name.toUpper())->Value().value().toString(), QStringLiteral("1")) << name.toStdString();
}

TEST(Connection, PropertiesAreFoundByNameWithoutRegardToCase) {
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  auto p = con->Properties(QStringLiteral("jet oledb:system DATABASE"));
  p->let_Value(vb::Variant(QStringLiteral("x")));
  EXPECT_EQ(p->Name(), QStringLiteral("Jet OLEDB:System database"));
  EXPECT_EQ(con->Properties(QStringLiteral("Jet OLEDB:System database"))->Value().value().toString(), QStringLiteral("x"));
}

TEST(Connection, UnknownPropertyNameFails) {
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  EXPECT_EQ(errorOf([&] { con->Properties(QStringLiteral("Gibt es nicht")); }), data::ErrItemNotFound);
  // The ODBC provider has no Jet properties.
  auto odbc = std::make_shared<data::Connection>();
  EXPECT_EQ(errorOf([&] { odbc->Properties(QStringLiteral("Jet OLEDB:System database")); }), data::ErrItemNotFound);
}

TEST(Connection, UnknownProviderFails) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = jetConnection(QStringLiteral("Microsoft.Jet.OLEDB.3.51"));
  EXPECT_EQ(errorOf([&] { con->Properties(QStringLiteral("Data Source")); }), data::ErrProviderNotFound);
  EXPECT_EQ(errorOf([&] { con->Open(QStringLiteral("Data Source=") + file); }), data::ErrProviderNotFound);
}

TEST(Connection, OpeningTwiceAndClosingTwiceFail) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = open(Road::Jet, file);
  EXPECT_EQ(errorOf([&] { con->Open(QStringLiteral("Data Source=") + file); }), data::ErrObjectOpen);
  EXPECT_EQ(errorOf([&] { con->let_Provider(QString()); }), data::ErrObjectOpen);
  con->Close();
  EXPECT_EQ(con->State(), 0);
  EXPECT_EQ(errorOf([&] { con->Close(); }), data::ErrObjectClosed);
  EXPECT_EQ(errorOf([&] { con->Execute(QStringLiteral("SELECT 1")); }), data::ErrNoConnection);
  // A closed connection opens again.
  con->Open(QStringLiteral("Data Source=") + file);
  EXPECT_EQ(con->State(), 1);
}

TEST(Connection, ExecuteCountsChangedRowsAndReturnsRowsOfASelect) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = open(Road::Jet, file);
  long affected = -1;
  auto none = con->Execute(QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (1, 'a'), (2, 'b')"), &affected);
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(none->State(), 0);
  auto rs = con->Execute(QStringLiteral("SELECT Text FROM TextBausteine ORDER BY Nummer"));
  EXPECT_EQ(rs->State(), 1);
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_FALSE(rs->isUpdatable());
}

TEST(Connection, StatementErrorCarriesTheDatabaseMessage) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = open(Road::Jet, file);
  EXPECT_EQ(errorOf([&] { con->Execute(QStringLiteral("SELECT * FROM GibtEsNicht")); }), data::ErrCommand);
  EXPECT_TRUE(errorText([&] { con->Execute(QStringLiteral("SELECT * FROM GibtEsNicht")); })
                  .contains(QStringLiteral("no such table")));
}

TEST(Connection, RollbackUndoesAndCommitKeeps) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = open(Road::Jet, file);
  con->BeginTrans();
  con->Execute(QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (1, 'weg')"));
  con->RollbackTrans();
  con->BeginTrans();
  con->Execute(QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (2, 'bleibt')"));
  con->CommitTrans();
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT group_concat(Text) FROM TextBausteine")), QStringLiteral("bleibt"));
}

// A key is found in any letter case, umlauts too, through the column's index; other texts are not.
TEST(Connection, CaseBlindEqualsFindsUmlautsInAnyCaseThroughTheIndex) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("CREATE INDEX Artikel_ISBN ON Artikel (ISBN)"));
  auto con = open(Road::Jet, file);
  const QStringList schluessel = {"SKRV_BETRÄGEFORMAT", "SKRV_BETRAGEFORMAT", "Äb-1", "äa-1", "ÄB-1x", "3-446-23456-X",
                                  "Straße", "é", "Ωμέγα", "\U0001F600ä", "\u212A"};
  for (const QString& k : schluessel) con->Execute(QStringLiteral("INSERT INTO Artikel (ISBN) VALUES (?)"), {k});
  // Letter case folds over all of Unicode, but never into ASCII (the Kelvin sign is no "k").
  const std::pair<QString, QString> faelle[] = {
      {"skrv_beträgeformat", "SKRV_BETRÄGEFORMAT"}, {"SKRV_BetrageFormat", "SKRV_BETRAGEFORMAT"}, {"äB-1", "Äb-1"},
      {"ÄA-1", "äa-1"}, {"äb-1X", "ÄB-1x"}, {"3-446-23456-x", "3-446-23456-X"}, {"STRAßE", "Straße"}, {"É", "é"},
      {"ΩΜΈΓΑ", "Ωμέγα"}, {"\U0001F600Ä", "\U0001F600ä"}, {"k", ""}, {"Ä", ""}, {"äb-", ""}, {"äb-10", ""}};
  for (const auto& [wert, erwartet] : faelle) {
    data::Parameters werte;
    const QString wo = con->dialect().caseBlindEquals(QStringLiteral("ISBN"), wert, werte);
    QStringList gefunden;
    for (auto rs = con->Execute(QStringLiteral("SELECT ISBN FROM Artikel WHERE ") + wo, werte); !rs->Eof(); rs->MoveNext())
      gefunden << vb::CStr(rs->Fields(0)->Value());
    EXPECT_EQ(gefunden.join(QLatin1Char('|')), erwartet) << wert.toStdString();
    const auto plan = con->Execute(QStringLiteral("EXPLAIN QUERY PLAN SELECT ISBN FROM Artikel WHERE ") + wo, werte);
    EXPECT_TRUE(vb::CStr(plan->Fields(QStringLiteral("detail"))->Value()).contains(QStringLiteral("INDEX Artikel_ISBN"))) << wert.toStdString();
  }
  EXPECT_EQ(scalar(file, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

// Our NOCASE is SQLite's own, so an index our connections write is the one every other program
// (the sqlite3 shell, the ODBC driver) searches: both order every pair of texts alike.
TEST(Connection, NocaseOrdersAsSqlitesOwn) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = open(Road::Jet, file);
  const auto vergleich = [](const QString& a, const QString& b) {  // the same text for the other program: no apostrophes
    return QStringLiteral("SELECT ('%1' COLLATE NOCASE > '%2') - ('%1' COLLATE NOCASE < '%2')").arg(a, b);
  };
  const auto eigene = [&](const QString& sql) { return vb::CStr(con->Execute(sql)->Fields(0)->Value()); };
  const QStringList texte = {"", "3-446-23456-X", "3-446-23456-x", "abc", "ABD", "a_", "[z", "k", "Äb-1", "äa-1", "ä", "Ä",
                             "abcä", "\u212A", "\u017F", "\U0001F600", "GRÜßE", "grüße"};
  for (const QString& a : texte)
    for (const QString& b : texte)
      EXPECT_EQ(eigene(vergleich(a, b)), scalar(file, vergleich(a, b))) << a.toStdString() << " : " << b.toStdString();
}

TEST(Connection, OdbcDriverStringAndDaoPrefixOpen) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (7, 'odbc')"));
  for (const QString cs : {QStringLiteral("DRIVER={SQLite3};Database=") + file,
                           QStringLiteral("ODBC;DRIVER={SQLite3};Database=") + file}) {
    auto con = std::make_shared<data::Connection>();
    con->Open(cs);
    EXPECT_FALSE(con->isSqlite());
    auto rs = con->Execute(QStringLiteral("SELECT Text FROM TextBausteine WHERE Nummer=7"));
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Fields(QStringLiteral("text"))->Value().value().toString(), QStringLiteral("odbc"));
  }
}

TEST(Connection, OdbcDsnOpens) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (8, 'dsn')"));
  const QString ini = dir.write(QStringLiteral("odbc.ini"),
                                QStringLiteral("[SkrivantTest]\nDriver=SQLite3\nDatabase=%1\n").arg(file).toUtf8());
  const QByteArray old = qgetenv("ODBCINI");
  qputenv("ODBCINI", ini.toUtf8());
  auto con = std::make_shared<data::Connection>();
  const long err = errorOf([&] { con->Open(QStringLiteral("ODBC;DSN=SkrivantTest;UID=admin")); });
  if (old.isNull()) qunsetenv("ODBCINI"); else qputenv("ODBCINI", old);
  ASSERT_EQ(err, 0);
  auto rs = con->Execute(QStringLiteral("SELECT Text FROM TextBausteine WHERE Nummer=8"));
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Fields(0)->Value().value().toString(), QStringLiteral("dsn"));
}

TEST(Connection, OdbcKeepsUmlautsInAProcessStartedWithoutLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('SKRV_BeträgeFormat', 'Grüße')"));
  auto con = open(Road::Odbc, file);
  auto rs = con->Execute(QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName='skrv_beträgeformat'"));
  const bool found = !rs->Eof();
  const QString value = found ? rs->Fields(0)->Value().value().toString() : QString();
  std::setlocale(LC_ALL, before.c_str());
  ASSERT_TRUE(found);
  EXPECT_EQ(value, QStringLiteral("Grüße"));
}

TEST(Connection, OdbcFailureCarriesTheDriverMessage) {
  auto con = std::make_shared<data::Connection>();
  EXPECT_EQ(errorOf([&] { con->Open(QStringLiteral("DRIVER={Kein solcher Treiber};Database=x")); }), data::ErrDatabase);
  EXPECT_FALSE(errorText([&] { con->Open(QStringLiteral("DRIVER={Kein solcher Treiber};Database=x")); }).isEmpty());
  EXPECT_EQ(con->State(), 0);
}

TEST(Connection, HostAndEngineWriteTheSameFileOneAfterTheOther) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto host = open(Road::Jet, file);
  auto engine = open(Road::Jet, file);
  // The engine keeps an updatable record set open while the host writes, as the settings
  // object does for its whole life.
  auto kept = std::make_shared<data::Recordset>();
  kept->Open(QStringLiteral("SELECT * FROM Vorgaben"), vb::Variant(engine), data::adOpenDynamic, data::adLockOptimistic);
  for (int i = 0; i < 5; ++i) {
    host->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('host%1', '1')").arg(i));
    kept->AddNew();
    kept->Fields(QStringLiteral("FeldName"))->let_Value(vb::Variant(QStringLiteral("engine%1").arg(i)));
    kept->Update();
    host->Execute(QStringLiteral("UPDATE Vorgaben SET Wert='2' WHERE FeldName='engine%1'").arg(i));
  }
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT COUNT(*) FROM Vorgaben")), QStringLiteral("10"));
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT COUNT(*) FROM Vorgaben WHERE Wert='2'")), QStringLiteral("5"));
  // The ODBC road on the same file too.
  auto odbc = open(Road::Odbc, file);
  odbc->Execute(QStringLiteral("DELETE FROM Vorgaben WHERE FeldName LIKE 'host%'"));
  kept->Requery();
  EXPECT_EQ(kept->RecordCount(), 5);
}

TEST(Connection, ObjectResultsConvertToVariantForLateBinding) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  auto con = open(Road::Jet, file);
  const QVariant q = QVariant::fromValue(con);
  ASSERT_TRUE(q.canConvert<vb::Variant>());
  EXPECT_EQ(q.value<vb::Variant>().objectAs<data::Connection>(), con);
}

TEST(Connection, JetLikeWildcardsWorkOnTheSqliteFile) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('KNOAdressNr', '1'), ('LibriAdressNr', '2'), "
                            "('AdressNrAlt', '3'), ('K*A', '4')"));
  auto con = open(Road::Jet, file);
  auto rs = con->Execute(QStringLiteral("SELECT Vorgaben.* FROM Vorgaben WHERE Feldname Like '*AdressNr' ORDER BY ID"));
  EXPECT_EQ(rs->RecordCount(), 2);
  auto one = con->Execute(QStringLiteral("SELECT * FROM Vorgaben WHERE FeldName LIKE 'K?A'"));
  EXPECT_EQ(one->RecordCount(), 1);
  // Outside a LIKE pattern nothing changes.
  auto star = con->Execute(QStringLiteral("SELECT * FROM Vorgaben WHERE FeldName = 'K*A'"));
  EXPECT_EQ(star->RecordCount(), 1);
}
