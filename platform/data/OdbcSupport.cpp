#include "platform/data/OdbcSupport.h"

#include <sql.h>
#include <sqlext.h>

#include <QByteArray>
#include <QSqlDriver>
#include <algorithm>
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

namespace {

void appendRecords(SQLSMALLINT type, SQLHANDLE handle, std::vector<Diagnostic>& out) {
  if (!handle) return;
  for (SQLSMALLINT i = 1;; ++i) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLWCHAR text[1024] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN r = SQLGetDiagRecW(type, handle, i, state, &native, text, 1024, &length);
    if (!SQL_SUCCEEDED(r)) return;
    const auto wide = [](const SQLWCHAR* p, qsizetype n) {
      static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
      return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n);
    };
    out.push_back({wide(state, 5), static_cast<long>(native),
                   wide(text, std::clamp<qsizetype>(length, 0, 1023)).trimmed()});
  }
}

SQLHANDLE connectionHandle(const QSqlDatabase& db) {
  const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
  return h.isValid() && h.typeId() == QMetaType::VoidStar ? h.value<void*>() : nullptr;
}

}  // namespace

std::vector<Diagnostic> diagnostics(const QSqlDatabase& db, const QSqlQuery* query) {
  std::vector<Diagnostic> out;
  if (query && query->result()) {
    const QVariant h = query->result()->handle();
    if (h.isValid() && h.typeId() == QMetaType::VoidStar) appendRecords(SQL_HANDLE_STMT, h.value<void*>(), out);
  }
  appendRecords(SQL_HANDLE_DBC, connectionHandle(db), out);
  return out;
}

bool connectionLost(const QSqlDatabase& db, const std::vector<Diagnostic>& records, bool mariaDbNumbers) {
  for (const Diagnostic& d : records) {
    if (d.state.startsWith(QLatin1String("08")) || d.state == QLatin1String("57P01") ||
        d.state == QLatin1String("57P02") || d.state == QLatin1String("57P03"))
      return true;
    if (mariaDbNumbers && (d.native == 2006 || d.native == 2013 || d.native == 1927)) return true;
  }
  SQLHANDLE dbc = connectionHandle(db);
  SQLUINTEGER dead = SQL_CD_FALSE;
  return dbc && SQL_SUCCEEDED(SQLGetConnectAttr(dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE;
}

}  // namespace data::odbc
