#pragma once
// Runs the compiled-in .sql files of this folder: shared by the host and the bookshop schema.
#include <QString>
#include <QStringList>

namespace schema {

// The statements of an .sql text, in order, without comments (a statement ends with ";" at the
// end of a line). For a database server the lines "--server: <text>" count as statement lines.
QStringList scriptStatements(const char* sql, bool forServer = false);

// Creates the SQLite file `path` (and its folder) and runs `statements` on it in one
// transaction: all or nothing. Returns false with the reason in `error` on failure.
bool runScript(const QString& path, const QStringList& statements, QString* error);

}  // namespace schema
