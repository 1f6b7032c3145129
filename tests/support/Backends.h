#pragma once
// The three databases the system runs on, for tests written once and run on each: an SQLite file
// (the Jet road), a private PostgreSQL and a private MariaDB (ODBC through psqlODBC and
// Connector/ODBC).
//
// The servers start on first use, once per test program and together (about 3 s): initdb and
// mariadb-install-db into a temporary folder, each listening on a unix socket of its own (no TCP
// port), as user "nobody" when the tests run as root. They stop at the end of the test run, and
// through a parent-death signal also when the program crashes or ctest's timeout kills it.
// Register such a program with skrivant_add_backend_tests() (tests/CMakeLists.txt): it runs as
// one ctest test, so the servers start once and not once per test.
//
//   class Routen : public ::testing::TestWithParam<testsupport::Backend> {};
//   INSTANTIATE_TEST_SUITE_P(Backends, Routen, testsupport::allBackends(), testsupport::backendName);
//
//   TEST_P(Routen, Something) {
//     testsupport::BackendDatabase db(GetParam());   // a fresh, empty database of its own
//     SKRIVANT_REQUIRE_DATABASE(db);                  // skips without the servers, fails in CI
//     ASSERT_TRUE(db.create(schema::Tables::Host)) << db.failure();
//     auto con = db.open();                           // a data::Connection on it
//     handler->let_SQLGruppe_DB_OpenConnection(4, db.connectionString());  // or through a group
//   }
//
// The bookshop's sample rows (schema/BookshopSample.h) go onto any backend as they are:
//   for (const QString& row : schema::sampleArtikelRows()) con->Execute(row);
#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>

#include "schema/ServerSchema.h"
#include "tests/support/RequireTool.h"
#include "tests/support/TempDir.h"

namespace data { class Connection; }

namespace testsupport {

enum class Backend { Sqlite, PostgreSql, MariaDb };

// Every backend, for INSTANTIATE_TEST_SUITE_P, and the test name part of each.
::testing::internal::ParamGenerator<Backend> allBackends();
std::string backendName(const ::testing::TestParamInfo<Backend>& info);

// Stops the servers now. Test programs leave it to the end of the run; a program that uses the
// servers without running tests (a benchmark) calls it before it ends, also after a failure.
void stopServers();

class BackendDatabase {
 public:
  // A new, empty database: an SQLite file in a folder of its own, or a database of its own on
  // the backend's server (which starts now when it has not yet).
  explicit BackendDatabase(Backend backend);
  ~BackendDatabase();

  Backend backend() const { return m_backend; }
  // Whether the backend's programs are installed (scripts/setup installs them).
  bool installed() const;
  // Whether the database was made; failure() tells why not, with the end of the server's log.
  bool ready() const { return m_ready; }
  const std::string& failure() const { return m_failure; }

  // What opens the database: the Jet provider's "Provider=…;Data Source=<file>" for SQLite, a
  // "DRIVER={…};…" string for a server. Goes to Connection::Open or a connection group as is.
  QString connectionString() const { return m_connectionString; }
  // "DSN=<name>" for a data source of this database in a private odbc.ini (ODBCINI points there
  // while the program runs). For SQLite the DSN names the SQLite ODBC driver.
  QString dsnConnectionString() const;
  // A new open connection.
  std::shared_ptr<data::Connection> open() const;
  // Creates the tables of host.sql or bookshop.sql on it; false with failure() when that fails.
  bool create(schema::Tables tables);

 private:
  Backend m_backend;
  TempDir m_dir;
  QString m_name;
  QString m_connectionString;
  bool m_ready = false;
  std::string m_failure;
};

}  // namespace testsupport

// In a test or SetUp: skips on a machine without the server packages, fails in CI or when the
// database could not be made.
#define SKRIVANT_REQUIRE_DATABASE(db)                                                               \
  do {                                                                                              \
    SKRIVANT_REQUIRE_TOOL((db).installed(), "the database server packages are not installed "       \
                                            "(scripts/setup installs them); the server road is not " \
                                            "tested");                                              \
    ASSERT_TRUE((db).ready()) << (db).failure();                                                    \
  } while (0)
