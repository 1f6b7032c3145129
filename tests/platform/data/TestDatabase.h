#pragma once
// Databases for the data layer's tests: SQLite files made from schema/, reached through the
// Jet road (QSQLITE) or the ODBC road (unixODBC with the SQLite ODBC driver).
#include <QString>
#include <functional>
#include <memory>

#include "platform/data/Connection.h"
#include "tests/support/TempDir.h"
#include "tests/support/ErrorOf.h"

namespace datatest {

enum class Road { Jet, Odbc };

// A fresh host database file in `dir`.
QString makeHostDatabase(const testsupport::TempDir& dir, const QString& name = QStringLiteral("host.db"));

// An open connection to `file` through `road`.
std::shared_ptr<data::Connection> open(Road road, const QString& file);

// Runs one statement straight on the file through SQLite, bypassing the layer under test.
void exec(const QString& file, const QString& sql);
// The first column of the first row of `sql`, as text ("<null>" for NULL, "<none>" for no row).
QString scalar(const QString& file, const QString& sql);

// The error number `f` raises as vb::VbError, 0 when it raises none.
using testsupport::errorOf;
// The description of that error, empty when none.
QString errorText(const std::function<void()>& f);

}  // namespace datatest
