#pragma once
// What the data layer reads itself from a QODBC statement, through the ODBC handle the driver
// gives out. Internal to platform/data.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <vector>

namespace data::odbc {

// Whether an ODBC column of SQL type `sqlType` (QSqlField::typeID) holds text.
bool isTextType(int sqlType);

// Column `column` (from 0) of the current row of `query`, an executed QODBC query standing on a
// row, read as the bytes the server sends and decoded as UTF-8; Null is a null text. The column
// must not have been read through `query` yet, and `query` must not read it afterwards (Qt's
// driver reads the columns in order, so read every column in order). Raises ErrDatabase with the
// driver's message when the driver fails; never gives a shorter text.
//
// Connector/ODBC sometimes reports a text read as UTF-16 two bytes shorter than it is when it
// holds characters outside the Basic Multilingual Plane ("📚 😀" as four units of five), and
// Qt's driver takes that length, so the last character was lost or became half a pair. As bytes
// its length is right.
QVariant readUtf8(const QSqlQuery& query, int column);

// One record of what the driver said about its last call on a handle.
struct Diagnostic {
  QString state;  // SQLSTATE, five characters
  long native = 0;
  QString text;
};

// The driver's records about the last call of `query` (when it has a statement) and of the
// connection of `db`, statement first.
std::vector<Diagnostic> diagnostics(const QSqlDatabase& db, const QSqlQuery* query);

// Whether a failure told by `records` on `db` means the server closed or lost the connection:
// SQLSTATE class 08, PostgreSQL's shutdown and crash states 57P01 to 57P03, MariaDB's "server has
// gone away" (2006), "lost connection" (2013) and "connection killed" (1927) where `mariaDbNumbers`
// (other drivers number differently), or the driver itself holding the connection for dead.
bool connectionLost(const QSqlDatabase& db, const std::vector<Diagnostic>& records, bool mariaDbNumbers);

}  // namespace data::odbc
