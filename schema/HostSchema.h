#pragma once
// The SQLite schema of the print engine's host databases (host.sql, compiled in), and the
// helper that makes a database file from it for hosts, tests and the demo.
#include <QString>
#include <QStringList>

namespace schema {

// The statements of host.sql, in order, without comments.
QStringList hostStatements();

// Creates the SQLite file `path` (and its folder) with every table of host.sql; tables that
// exist already are left as they are. Returns false with the reason in `error` on failure.
bool createHostDatabase(const QString& path, QString* error = nullptr);

}  // namespace schema
