#include "platform/data/OdbcSupport.h"

#include <sql.h>
#include <sqlext.h>

#include <QByteArray>
#include <QSqlResult>
#include <QString>

#include "platform/data/DataError.h"

namespace data::odbc {
namespace {

// The driver's first message about `stmt`.
QString diagnostic(SQLHANDLE stmt) {
  SQLCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLCHAR text[1024] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRec(SQL_HANDLE_STMT, stmt, 1, state, &native, text, sizeof text, &length)))
    return QStringLiteral("Der ODBC-Treiber konnte den Text nicht lesen.");
  return QString::fromUtf8(reinterpret_cast<const char*>(text)).trimmed();
}

}  // namespace

bool isTextType(int sqlType) {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR: return true;
    default: return false;
  }
}

QVariant readUtf8(const QSqlQuery& query, int column) {
  const QVariant handle = query.result() ? query.result()->handle() : QVariant();
  SQLHANDLE stmt = handle.isValid() && handle.typeId() == QMetaType::VoidStar ? handle.value<void*>() : nullptr;
  if (!stmt) raiseDataError(ErrDatabase, QStringLiteral("Die ODBC-Anweisung ist nicht zugänglich."));
  // Parts of a long text come one buffer at a time; the indicator tells what was left before each.
  constexpr SQLLEN kChunk = 64 * 1024;
  QByteArray text;
  QByteArray chunk(kChunk, Qt::Uninitialized);
  for (bool first = true;; first = false) {
    SQLLEN left = 0;
    const SQLRETURN r = SQLGetData(stmt, static_cast<SQLUSMALLINT>(column + 1), SQL_C_BINARY, chunk.data(), kChunk, &left);
    // Nothing at all: the column was read already, and what it held is not to be had again.
    if (r == SQL_NO_DATA && first) raiseDataError(ErrDatabase, QStringLiteral("Die Spalte %1 wurde schon gelesen.").arg(column + 1));
    if (r == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(r)) raiseDataError(ErrDatabase, diagnostic(stmt));
    if (left == SQL_NULL_DATA) return QVariant(QMetaType(QMetaType::QString));
    const bool more = r == SQL_SUCCESS_WITH_INFO && (left == SQL_NO_TOTAL || left > kChunk);
    text.append(chunk.constData(), more ? kChunk : left);
    if (!more) break;
  }
  return QVariant(QString::fromUtf8(text));
}

}  // namespace data::odbc
