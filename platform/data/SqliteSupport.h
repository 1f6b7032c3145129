#pragma once
// What the data layer adds to a QSQLITE connection, reached through the sqlite3 handles that
// the driver gives out. Internal to platform/data.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace data::sqlite {

// The collation that compares without regard to case over all of Unicode ("Ä" = "ä"), as the
// Jet databases did. It has a name of its own: SQLite's NOCASE (ASCII letters only) stays the
// one every program that shares the file orders its indexes by, so it is used only in a
// statement's WHERE (Dialect::caseBlindEquals), never in anything the file keeps.
inline constexpr char kUnicodeNoCase[] = "NOCASE_UNICODE";

// Busy timeout and the collation above. Returns false when the driver gives no handle.
bool prepareConnection(const QSqlDatabase& db, int busyTimeoutMs);

// Whether `error` says the file is held locked by another connection (SQLITE_BUSY or
// SQLITE_LOCKED, extended codes included): the busy timeout has been waited out already.
bool isLocked(const QSqlError& error);

// The declared column types of an executed SELECT (empty text for expressions).
QStringList declaredTypes(const QSqlQuery& query);
// The column names of an executed SELECT as SQLite gives them: Qt drops every double quote from
// them, and a column named with one could then be neither found nor written.
QStringList columnNames(const QSqlQuery& query);

}  // namespace data::sqlite
