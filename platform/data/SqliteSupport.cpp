#include "platform/data/SqliteSupport.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QSqlResult>

namespace data::sqlite {
namespace {

sqlite3* handleOf(const QSqlDatabase& db) {
  const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(v.constData());
}

// Case folding over all of Unicode, as the system's keyed collections compare. It is a total
// order, which SQLite requires of a collation. Registered for UTF-8, the encoding of our files:
// SQLite prefers a collation in the database's own encoding, so a UTF-16 one would lose to the
// built-in NOCASE.
int compareNoCase(void*, int len1, const void* s1, int len2, const void* s2) {
  const QString a = QString::fromUtf8(static_cast<const char*>(s1), len1);
  const QString b = QString::fromUtf8(static_cast<const char*>(s2), len2);
  const int c = a.compare(b, Qt::CaseInsensitive);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

bool prepareConnection(const QSqlDatabase& db, int busyTimeoutMs) {
  sqlite3* h = handleOf(db);
  if (!h) return false;
  sqlite3_busy_timeout(h, busyTimeoutMs);
  return sqlite3_create_collation_v2(h, "NOCASE", SQLITE_UTF8, nullptr, &compareNoCase, nullptr) == SQLITE_OK;
}

QStringList declaredTypes(const QSqlQuery& query) {
  QStringList out;
  const QSqlResult* r = query.result();
  const QVariant v = r ? r->handle() : QVariant();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3_stmt*") != 0) return out;
  sqlite3_stmt* stmt = *static_cast<sqlite3_stmt* const*>(v.constData());
  if (!stmt) return out;
  const int n = sqlite3_column_count(stmt);
  for (int i = 0; i < n; ++i) out << QString::fromUtf8(sqlite3_column_decltype(stmt, i));
  return out;
}

}  // namespace data::sqlite
