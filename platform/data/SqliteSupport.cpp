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

// The next code point of UTF-8 text at `i`; a byte that starts no valid sequence stands for
// itself above the ASCII range, so every text has one reading and non-ASCII never reads as ASCII.
char32_t nextCodePoint(const unsigned char* s, int n, int& i) {
  const unsigned char b = s[i++];
  if (b < 0x80) return b;
  const int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (more < 0 || i + more > n) return 0xDC00 + b;
  char32_t c = b & (0x3F >> more);
  for (int k = 0; k < more; ++k) {
    if ((s[i + k] & 0xC0) != 0x80) return 0xDC00 + b;
    c = (c << 6) | (s[i + k] & 0x3F);
  }
  if (c < 0x80) return 0xDC00 + b;  // an overlong form of an ASCII character
  i += more;
  return c;
}

// Case folding over all of Unicode ("Ä" = "ä"), as the system's keyed collections compare; a
// total order, which SQLite requires of a collation. A non-ASCII character is never folded into
// ASCII (the Kelvin sign stays apart from "k"), and folding keeps the number of characters: a
// text equal to an ASCII one is that text in other letter case, which SQLite's own NOCASE finds
// as well, and one equal to any other text shares its ASCII start and its length, which is what
// Dialect::caseBlindEquals looks for in a NOCASE index. Registered for UTF-8, the encoding of
// our files.
int compareNoCase(void*, int len1, const void* v1, int len2, const void* v2) {
  const auto* s1 = static_cast<const unsigned char*>(v1);
  const auto* s2 = static_cast<const unsigned char*>(v2);
  const auto ascii = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : int(c); };
  int i = 0;
  int j = 0;
  // ASCII, byte for byte as SQLite's NOCASE, up to the first non-ASCII byte on either side.
  for (; i < len1 && j < len2 && s1[i] < 0x80 && s2[j] < 0x80; ++i, ++j) {
    const int d = ascii(s1[i]) - ascii(s2[j]);
    if (d) return d < 0 ? -1 : 1;
  }
  while (i < len1 && j < len2) {
    char32_t a = nextCodePoint(s1, len1, i);
    char32_t b = nextCodePoint(s2, len2, j);
    if (a != b) {
      const auto fold = [&](char32_t c) -> char32_t {
        if (c < 0x80) return char32_t(ascii(static_cast<unsigned char>(c)));
        const char32_t f = QChar::toCaseFolded(c);
        return f < 0x80 ? c : f;
      };
      a = fold(a);
      b = fold(b);
      if (a != b) return a < b ? -1 : 1;
    }
  }
  return i < len1 ? 1 : j < len2 ? -1 : 0;
}

}  // namespace

bool isLocked(const QSqlError& error) {
  bool ok = false;
  const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
  return ok && (code == SQLITE_BUSY || code == SQLITE_LOCKED);
}

bool prepareConnection(const QSqlDatabase& db, int busyTimeoutMs) {
  sqlite3* h = handleOf(db);
  if (!h) return false;
  sqlite3_busy_timeout(h, busyTimeoutMs);
  return sqlite3_create_collation_v2(h, kUnicodeNoCase, SQLITE_UTF8, nullptr, &compareNoCase, nullptr) == SQLITE_OK;
}

namespace {
// `text` of every column of the executed SELECT of `query`; empty without a statement handle.
template <typename Text>
QStringList perColumn(const QSqlQuery& query, Text text) {
  QStringList out;
  const QSqlResult* r = query.result();
  const QVariant v = r ? r->handle() : QVariant();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3_stmt*") != 0) return out;
  sqlite3_stmt* stmt = *static_cast<sqlite3_stmt* const*>(v.constData());
  if (!stmt) return out;
  const int n = sqlite3_column_count(stmt);
  for (int i = 0; i < n; ++i) out << QString::fromUtf8(text(stmt, i));
  return out;
}
}  // namespace

QStringList declaredTypes(const QSqlQuery& query) { return perColumn(query, sqlite3_column_decltype); }

QStringList columnNames(const QSqlQuery& query) { return perColumn(query, sqlite3_column_name); }

}  // namespace data::sqlite
