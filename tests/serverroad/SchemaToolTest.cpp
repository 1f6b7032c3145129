// The installed skrivant-schema on a connection string: each kind of tables in a database of its
// own, and never beside the other kind.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/data/Connection.h"
#include "tests/hosts/Installation.h"
#include "tests/support/Backends.h"

namespace {

class SchemaTool : public ::testing::TestWithParam<testsupport::Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, SchemaTool, testsupport::allBackends(), testsupport::backendName);

}  // namespace

TEST_P(SchemaTool, InstalledToolMakesEachKindInADatabaseOfItsOwn) {
  static testsupport::TempDir dir;  // installed once for the program's tests
  static const testsupport::Lauf installiert = testsupport::installieren(dir.path(), QStringLiteral("Runtime"));
  ASSERT_TRUE(installiert.ok()) << installiert.ausgabe.toStdString();
  const auto schema = [&](const char* art, const testsupport::BackendDatabase& db) {
    return testsupport::ausfuehren(dir.file(QStringLiteral("bin/skrivant-schema")), {QLatin1String(art), db.connectionString()}, 120);
  };
  for (const auto& [art, andere, tabelle] : {std::tuple{"host", "bookshop", "Auftrag_Formular_Neu"},
                                             std::tuple{"bookshop", "host", "Artikel_Filialen"}}) {
    SCOPED_TRACE(art);
    testsupport::BackendDatabase db(GetParam());
    SKRIVANT_REQUIRE_DATABASE(db);
    for (int mal = 0; mal < 2; ++mal) ASSERT_TRUE(schema(art, db).ok());  // the second time the tables are kept
    EXPECT_NO_THROW(db.open()->Execute(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(tabelle))));
    const auto fremd = schema(andere, db);
    EXPECT_EQ(fremd.exitCode, 1);
    EXPECT_TRUE(fremd.ausgabe.contains(QLatin1String("beide haben die Tabellen Artikel und Vorgaben"))) << fremd.ausgabe.toStdString();
  }
  for (const char* datei : {"postgresql/host.sql", "postgresql/bookshop.sql", "mariadb/host.sql", "mariadb/bookshop.sql"}) {
    QFile f(dir.file(QStringLiteral("share/skrivant/schema/")) + QLatin1String(datei));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.readAll().contains("CREATE TABLE IF NOT EXISTS Vorgaben")) << datei;
  }
}
