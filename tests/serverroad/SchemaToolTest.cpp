// The installed skrivant-schema on a connection string: it makes the host's and the bookshop's
// tables, each in a database of its own, and refuses to put one kind beside the other.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/data/Connection.h"
#include "platform/vb/Convert.h"
#include "tests/hosts/Installation.h"
#include "tests/support/Backends.h"

using testsupport::Backend;

namespace {

class SchemaTool : public ::testing::TestWithParam<Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, SchemaTool, testsupport::allBackends(), testsupport::backendName);

// The Runtime component installed once for the program's tests: its prefix, or empty with the
// failure in `why`.
QString installation(std::string& why) {
  static testsupport::TempDir dir;
  static const testsupport::Lauf lauf = testsupport::installieren(dir.file(QStringLiteral("prefix")), QStringLiteral("Runtime"));
  why = lauf.ausgabe.toStdString();
  return lauf.ok() ? dir.file(QStringLiteral("prefix")) : QString();
}

}  // namespace

TEST_P(SchemaTool, InstalledToolMakesEachKindInADatabaseOfItsOwn) {
  std::string why;
  const QString prefix = installation(why);
  ASSERT_FALSE(prefix.isEmpty()) << why;
  const QString tool = prefix + QStringLiteral("/bin/skrivant-schema");
  struct Art {
    const char* name;
    const char* table;  // one only this kind has
  };
  const Art host{"host", "Auftrag_Formular_Neu"}, bookshop{"bookshop", "Artikel_Filialen"};
  for (const auto& [art, andere] : {std::pair{host, bookshop}, std::pair{bookshop, host}}) {
    SCOPED_TRACE(art.name);
    testsupport::BackendDatabase db(GetParam());
    SKRIVANT_REQUIRE_DATABASE(db);
    for (int mal = 0; mal < 2; ++mal) {  // the second time the tables are there and kept
      const auto lauf = testsupport::ausfuehren(tool, {QString::fromLatin1(art.name), db.connectionString()}, 120);
      ASSERT_TRUE(lauf.ok()) << lauf.ausgabe.toStdString();
    }
    EXPECT_EQ(vb::CLng(db.open()->Execute(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(art.table)))
                           ->Fields(vb::Variant(0))->Value()),
              0);
    const auto fremd = testsupport::ausfuehren(tool, {QString::fromLatin1(andere.name), db.connectionString()}, 120);
    EXPECT_EQ(fremd.exitCode, 1);
    EXPECT_TRUE(fremd.ausgabe.contains(QLatin1String("beide haben die Tabellen Artikel und Vorgaben"))) << fremd.ausgabe.toStdString();
  }
  // The same tables for the servers' own clients.
  for (const char* datei : {"postgresql/host.sql", "postgresql/bookshop.sql", "mariadb/host.sql", "mariadb/bookshop.sql"}) {
    QFile f(prefix + QStringLiteral("/share/skrivant/schema/") + QLatin1String(datei));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << datei;
    EXPECT_TRUE(f.readAll().contains("CREATE TABLE IF NOT EXISTS Vorgaben")) << datei;
  }
}
