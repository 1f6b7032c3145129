#include "platform/data/Dialect.h"

#include <sql.h>
#include <sqlext.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlIndex>
#include <QSqlQuery>
#include <string>

#include "platform/data/DataError.h"
#include "platform/data/SqliteSupport.h"

namespace data {
namespace {

// PostgreSQL folds unquoted names to lower case, ASCII letters only ("ÜberschriftText" keeps
// its "Ü").
QString foldAscii(const QString& name) {
  QString out = name;
  for (QChar& c : out)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  return out;
}

QString dbmsName(const QSqlDatabase& db) {
  const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
  // QODBC hands out its connection handle as a void*.
  if (!v.isValid() || v.typeId() != QMetaType::VoidStar) return {};
  SQLHANDLE dbc = v.value<void*>();
  if (!dbc) return {};
  SQLCHAR name[128] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DBMS_NAME, name, sizeof name, &length))) return {};
  return QString::fromUtf8(reinterpret_cast<const char*>(name));
}

// `sql` with each of Jet's bracketed names outside quotes replaced by what `rename` makes of it.
template <typename Rename>
QString replaceBracketNames(const QString& sql, Rename rename) {
  QString out;
  out.reserve(sql.size());
  QChar close;  // the quote that ends the literal or quoted name we are in
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql[i];
    if (!close.isNull()) {
      out += c;
      if (c == close) {
        if (i + 1 < sql.size() && sql[i + 1] == close) out += sql[++i];  // doubled: still inside
        else close = QChar();
      }
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
      close = c;
      out += c;
    } else if (c == QLatin1Char('[')) {
      const qsizetype end = sql.indexOf(QLatin1Char(']'), i + 1);
      if (end < 0) return out + sql.mid(i);
      out += rename(sql.mid(i + 1, end - i - 1));
      i = end;
    } else {
      out += c;
    }
  }
  return out;
}

// Jet's LIKE wildcards in the literals of a statement: "*" any text, "?" one character.
QString jetLikePatterns(const QString& sql) {
  static const QRegularExpression like(QStringLiteral(R"(\bLIKE\s+'((?:[^']|'')*)')"),
                                       QRegularExpression::CaseInsensitiveOption);
  QString out;
  qsizetype last = 0;
  for (auto it = like.globalMatch(sql); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    QString pattern = m.captured(1);
    pattern.replace(QLatin1Char('*'), QLatin1Char('%')).replace(QLatin1Char('?'), QLatin1Char('_'));
    out += sql.mid(last, m.capturedStart(1) - last) + pattern;
    last = m.capturedEnd(1);
  }
  return out + sql.mid(last);
}

void checkText(const QString& text, bool nulAllowed) {
  if (!nulAllowed && text.contains(QChar(0)))
    raiseDataError(ErrDatabase, QStringLiteral("Der Text enthält ein NUL-Zeichen; über ODBC kann er nicht "
                                               "unverändert gespeichert werden."));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool paired = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    if (paired) {
      ++i;
    } else if (c.isSurrogate()) {
      raiseDataError(ErrDatabase, QStringLiteral("Der Text enthält ein einzelnes UTF-16-Ersatzzeichen "
                                                 "(Surrogat, Position %1) ohne seine andere Hälfte; die Datenbank "
                                                 "kann ihn nicht unverändert speichern.")
                                      .arg(i + 1));
    }
  }
}

// The first column of every row of `sql` with `binds`, as texts.
QStringList column(const QSqlDatabase& db, const Dialect& dialect, const QString& sql, const QVariantList& binds) {
  QSqlQuery q(db);
  q.setForwardOnly(true);
  QStringList out;
  if (!q.prepare(sql)) return out;
  for (const QVariant& b : binds) q.addBindValue(dialect.bindValue(b));
  if (!q.exec()) return out;
  while (q.next()) out << q.value(0).toString();
  return out;
}

}  // namespace

Dialect Dialect::ofOdbc(const QSqlDatabase& db) {
  const QString name = dbmsName(db);
  const auto has = [&](const char* what) { return name.contains(QLatin1String(what), Qt::CaseInsensitive); };
  if (has("PostgreSQL")) return Dialect(Kind::PostgreSql);
  if (has("MariaDB") || has("MySQL")) return Dialect(Kind::MariaDb);
  if (has("SQL Server") || has("Sybase")) return Dialect(Kind::SqlServer);
  if (has("SQLite")) return Dialect(Kind::SqliteOdbc);
  return Dialect(Kind::OtherOdbc);
}

QString Dialect::identifier(const QString& name) const {
  switch (m_kind) {
    case Kind::PostgreSql:
      return QLatin1Char('"') + foldAscii(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    case Kind::MariaDb:
      return QLatin1Char('`') + QString(name).replace(QLatin1Char('`'), QLatin1String("``")) + QLatin1Char('`');
    case Kind::SqlServer:
      return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QLatin1String("]]")) + QLatin1Char(']');
    default:
      return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
  }
}

QString Dialect::caseBlindEquals(const QString& column, const QString& value, std::vector<vb::Variant>& values) const {
  qsizetype ascii = 0;
  while (ascii < value.size() && value[ascii].unicode() < 0x80) ++ascii;
  if (m_kind != Kind::Jet || ascii == value.size()) {
    values.emplace_back(value);
    return column + QStringLiteral("=?");
  }
  // SQLite's NOCASE orders by the UTF-8 bytes with ASCII letters folded: every text made of that
  // ASCII start and `rest` more characters, the first of them from U+0080 on, lies between these.
  const QString start = value.left(ascii);
  const qsizetype rest = value.mid(ascii).toUcs4().size();
  values.emplace_back(start + QChar(0x80));
  values.emplace_back(start + QString::fromUcs4(std::u32string(size_t(rest), U'\U0010FFFF').data(), rest));
  values.emplace_back(value);
  return QStringLiteral("(%1 BETWEEN ? AND ? AND %1 COLLATE %2=?)").arg(column, QLatin1String(sqlite::kUnicodeNoCase));
}

QString Dialect::statement(const QString& sql) const {
  switch (m_kind) {
    case Kind::Jet: return jetLikePatterns(sql);
    case Kind::PostgreSql:
    case Kind::MariaDb: return replaceBracketNames(sql, [this](const QString& n) { return identifier(n); });
    default: return sql;  // SQLite and SQL Server take brackets as they are
  }
}

QHash<QString, QString> Dialect::columnSpellings(const QString& sql) const {
  QHash<QString, QString> out;
  if (m_kind != Kind::PostgreSql) return out;
  const auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); };
  QChar close;  // the quote that ends the literal or quoted name we are in
  for (qsizetype i = 0; i < sql.size();) {
    const QChar c = sql[i];
    if (!close.isNull()) {
      if (c == close && i + 1 < sql.size() && sql[i + 1] == close) ++i;  // doubled: still inside
      else if (c == close) close = QChar();
      ++i;
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      close = c;  // a quoted name keeps its case on the server
      ++i;
    } else if (isWordChar(c)) {
      qsizetype end = i;
      while (end < sql.size() && isWordChar(sql[end])) ++end;
      qsizetype next = end;
      while (next < sql.size() && sql[next].isSpace()) ++next;
      const bool function = next < sql.size() && sql[next] == QLatin1Char('(');
      const QString word = sql.mid(i, end - i);
      const QString folded = foldAscii(word);
      if (!c.isDigit() && !function && folded != word && !out.contains(folded)) out.insert(folded, word);
      i = end;
    } else {
      ++i;
    }
  }
  return out;
}

QString Dialect::likePattern(const QString& jetPattern) const {
  if (m_kind == Kind::Jet) return jetPattern;  // statement() turns them, with the rest of the text
  return QString(jetPattern).replace(QLatin1Char('*'), QLatin1Char('%')).replace(QLatin1Char('?'), QLatin1Char('_'));
}

QString Dialect::savedQueryCall(const QString& name, int arguments) const {
  QStringList marks;
  for (int i = 0; i < arguments; ++i) marks << QStringLiteral("?");
  const QString args = marks.join(QLatin1Char(','));
  switch (m_kind) {
    case Kind::PostgreSql: return QStringLiteral("SELECT * FROM %1(%2)").arg(name, args);
    case Kind::MariaDb: return QStringLiteral("CALL %1(%2)").arg(name, args);
    default:
      return arguments == 0 ? QStringLiteral("{CALL %1}").arg(name) : QStringLiteral("{CALL %1(%2)}").arg(name, args);
  }
}

QVariant Dialect::yesNo(bool value) const {
  if (m_kind == Kind::PostgreSql) return QVariant(value);
  return QVariant(value ? -1 : 0);
}

QVariant Dialect::bindValue(const QVariant& value) const {
  if (value.isNull()) return value;
  switch (value.typeId()) {
    case QMetaType::Bool: return yesNo(value.toBool());
    case QMetaType::QDateTime:
      // The SQLite file keeps dates as text.
      if (m_kind == Kind::Jet) return QVariant(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
      return value;
    case QMetaType::QString:
      checkText(value.toString(), m_kind == Kind::Jet);
      if (m_kind == Kind::MariaDb) return QVariant(value.toString().toUtf8());
      return value;
    default: return value;
  }
}

QList<std::pair<QString, QString>> Dialect::odbcDefaults() const {
  if (m_kind != Kind::PostgreSql) return {};
  return {{QStringLiteral("BoolsAsChar"), QStringLiteral("0")}, {QStringLiteral("UseServerSidePrepare"), QStringLiteral("0")}};
}

QString Dialect::insertDefaults(const QString& quotedTable) const {
  if (m_kind == Kind::MariaDb) return QStringLiteral("INSERT INTO %1 () VALUES ()").arg(quotedTable);
  return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedTable);
}

QString Dialect::returningKey(const QString& keyColumn) const {
  if (m_kind == Kind::PostgreSql) return QStringLiteral(" RETURNING ") + identifier(keyColumn);
  return {};
}

QVariant Dialect::generatedKey(const QSqlDatabase& db) const {
  QString sql;
  switch (m_kind) {
    case Kind::MariaDb: sql = QStringLiteral("SELECT LAST_INSERT_ID()"); break;
    case Kind::SqlServer: sql = QStringLiteral("SELECT @@IDENTITY"); break;
    case Kind::Jet:
    case Kind::SqliteOdbc: sql = QStringLiteral("SELECT last_insert_rowid()"); break;
    case Kind::PostgreSql: sql = QStringLiteral("SELECT lastval()"); break;
    default: return {};
  }
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.exec(sql) || !q.next()) return {};
  const QVariant v = q.value(0);
  // LAST_INSERT_ID() is 0 when no row of this session was numbered.
  if (m_kind == Kind::MariaDb && v.toLongLong() == 0) return {};
  return v;
}

QStringList Dialect::primaryKey(const QSqlDatabase& db, const QString& table) const {
  if (m_kind != Kind::PostgreSql && m_kind != Kind::MariaDb) {
    QStringList out;
    const QSqlIndex pk = db.primaryIndex(table);
    for (int i = 0; i < pk.count(); ++i) out << pk.fieldName(i);
    return out;
  }
  const QString key = table.toLower();
  if (const auto it = m_primaryKeys.constFind(key); it != m_primaryKeys.constEnd()) return *it;
  QStringList out;
  if (m_kind == Kind::PostgreSql) {
    out = column(db, *this,
                 QStringLiteral("SELECT a.attname FROM pg_index i JOIN pg_attribute a ON a.attrelid = i.indrelid "
                                "AND a.attnum = ANY(i.indkey) WHERE i.indisprimary AND i.indrelid = to_regclass(?) "
                                "ORDER BY array_position(i.indkey::int2[], a.attnum)"),
                 {identifier(table)});
  } else {
    // Qt's catalogue call finds no key on Connector/ODBC.
    out = column(db, *this,
                 QStringLiteral("SELECT COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE WHERE "
                                "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? AND CONSTRAINT_NAME = 'PRIMARY' "
                                "ORDER BY ORDINAL_POSITION"),
                 {table});
  }
  if (!out.isEmpty()) m_primaryKeys.insert(key, out);  // a table without one is asked again
  return out;
}

QStringList Dialect::tableNames(const QSqlDatabase& db) const {
  switch (m_kind) {
    case Kind::Jet:
    case Kind::SqliteOdbc: return column(db, *this, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"), {});
    case Kind::PostgreSql:
      return column(db, *this,
                    QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_type = 'BASE TABLE' "
                                   "AND table_schema = ANY (current_schemas(false))"),
                    {});
    // Connector/ODBC's catalogue call lists the tables of every database the login sees.
    case Kind::MariaDb:
      return column(db, *this,
                    QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                                   "AND TABLE_TYPE = 'BASE TABLE'"),
                    {});
    default: return db.tables(QSql::Tables);
  }
}

bool Dialect::isYesNo(const QSqlDatabase& db, const QString& table, const QString& columnName) const {
  if (m_kind != Kind::MariaDb || table.isEmpty()) return false;
  const QString key = table.toLower();
  auto it = m_yesNoColumns.find(key);
  if (it == m_yesNoColumns.end()) {
    QSet<QString> names;
    for (const QString& c : column(db, *this,
                                   QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE "
                                                  "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? AND "
                                                  "COLUMN_TYPE LIKE 'tinyint(1)%'"),
                                   {table}))
      names.insert(c.toLower());
    it = m_yesNoColumns.insert(key, names);
  }
  return it->contains(columnName.toLower());
}

}  // namespace data
