#pragma once
// What the data layer reads itself from a QODBC statement, through the ODBC handle the driver
// gives out. Internal to platform/data.
#include <QSqlQuery>
#include <QVariant>

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

}  // namespace data::odbc
