#pragma once
// What the data layer adds to a QSQLITE connection, reached through the sqlite3 handles that
// the driver gives out. Internal to platform/data.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

namespace data::sqlite {

// Busy timeout and the Unicode-aware NOCASE collation (replacing SQLite's ASCII-only one, so
// "SKRV_BETRÄGEFORMAT" = 'skrv_beträgeformat' in SQL as it was in the Jet databases). Where one
// of two texts is ASCII it orders them as SQLite's own NOCASE does, so an index on ASCII keys
// serves every program that writes the file. Returns false when the driver gives no handle.
bool prepareConnection(const QSqlDatabase& db, int busyTimeoutMs);

// The declared column types of an executed SELECT (empty text for expressions).
QStringList declaredTypes(const QSqlQuery& query);
// The column names of an executed SELECT as SQLite gives them: Qt drops every double quote from
// them, and a column named with one could then be neither found nor written.
QStringList columnNames(const QSqlQuery& query);

}  // namespace data::sqlite
