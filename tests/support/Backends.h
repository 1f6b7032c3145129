#pragma once
// The three databases the system runs on, for tests written once and run on each: an SQLite file
// (the Jet road), a private PostgreSQL and a private MariaDB (ODBC through psqlODBC and
// Connector/ODBC).
//
// The servers start on first use, once per test program and together: in a temporary folder, on
// unix sockets only, as "nobody" when the tests run as root. They stop at the end of the run, and
// through a parent-death signal also when the program crashes or is killed. Register such a
// program with skrivant_add_backend_tests() (tests/CMakeLists.txt), so they start once:
//
//   class Routen : public ::testing::TestWithParam<testsupport::Backend> {};
//   INSTANTIATE_TEST_SUITE_P(Backends, Routen, testsupport::allBackends(), testsupport::backendName);
//   TEST_P(Routen, Something) {
//     testsupport::BackendDatabase db(GetParam());   // a fresh, empty database of its own
//     SKRIVANT_REQUIRE_DATABASE(db);
//     ASSERT_TRUE(db.create(schema::Tables::Host)) << db.failure();
//     auto con = db.open();
//   }
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

::testing::internal::ParamGenerator<Backend> allBackends();
std::string backendName(const ::testing::TestParamInfo<Backend>& info);

// Whether `text` holds the driver's words for a connection BackendDatabase::breakConnections() cut.
inline bool tellsLostConnection(Backend backend, const std::string& text) {
  const auto has = [&](const char* part) { return text.find(part) != std::string::npos; };
  return backend == Backend::PostgreSql ? has("server closed the connection") || has("terminating connection")
                                        : has("Server has gone away") || has("Lost connection");
}

// Stops the servers now. Test programs leave it to the end of the run; a program that uses the
// servers without running tests (a benchmark) calls it before it ends, also after a failure.
void stopServers();

class BackendDatabase {
 public:
  // A new, empty database: an SQLite file, or a database of its own on the backend's server.
  explicit BackendDatabase(Backend backend);
  ~BackendDatabase();

  // Whether the backend's programs are installed (scripts/setup installs them).
  bool installed() const;
  // Whether the database was made; failure() tells why not, with the end of the server's log.
  bool ready() const { return m_ready; }
  const std::string& failure() const { return m_failure; }

  // For Connection::Open or a connection group: the Jet provider's string for SQLite, a
  // "DRIVER={…};…" string for a server.
  QString connectionString() const { return m_connectionString; }
  // "DSN=<name>" of a data source in the program's own odbc.ini (ODBCINI names it).
  QString dsnConnectionString() const;
  std::shared_ptr<data::Connection> open() const;
  // Creates the tables of host.sql or bookshop.sql; false with failure() when that fails.
  bool create(schema::Tables tables);
  // Every open connection to the database lost, as in a nightly restart. True when the server takes
  // connections again; false with failure() otherwise (and on SQLite).
  bool breakConnections();

 private:
  Backend m_backend;
  TempDir m_dir;
  QString m_name;
  QString m_connectionString;
  bool m_ready = false;
  std::string m_failure;
};

}  // namespace testsupport

// Skips on a machine without the server packages (fails in CI), fails when the database could not
// be made.
#define SKRIVANT_REQUIRE_DATABASE(db)                                                              \
  do {                                                                                             \
    SKRIVANT_REQUIRE_TOOL((db).installed(), "the database server packages are not installed "      \
                                            "(scripts/setup installs them)");                      \
    ASSERT_TRUE((db).ready()) << (db).failure();                                                   \
  } while (0)
