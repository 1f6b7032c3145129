#include "platform/data/Recordset.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlRecord>
#include <cmath>
#include <limits>

#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/OdbcSupport.h"
#include "platform/data/SqliteSupport.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace data {
namespace {

const QString kRowidAlias = QStringLiteral("skrv_rowid_");
// ODBC type codes of the columns Qt reports (QSqlField::typeID).
constexpr int kSqlBit = -7;
constexpr int kSqlTinyInt = -6;
const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
constexpr auto kReOptions = QRegularExpression::CaseInsensitiveOption |
                            QRegularExpression::DotMatchesEverythingOption |
                            QRegularExpression::UseUnicodePropertiesOption;

// A quoted name as it is named: without its quotes, a doubled closing quote inside as one.
QString unquoteIdentifier(const QString& name) {
  if (name.size() < 2) return name;
  const QChar open = name.front();
  const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
  if ((open != QLatin1Char('[') && open != QLatin1Char('"') && open != QLatin1Char('`')) || name.back() != close)
    return name;
  return name.mid(1, name.size() - 2).replace(QString(2, close), QString(close));
}

// A call of a saved query: "Name(args)", or a bare name.
struct SavedCall {
  enum Kind { None, Call, Bare } kind = None;
  QString name;
  std::vector<QVariant> args;
};

QVariant parseArgument(const QString& token) {
  const QString t = token.trimmed();
  if (t.size() >= 2 && (t.front() == QLatin1Char('\'') || t.front() == QLatin1Char('"')) && t.back() == t.front()) {
    QString body = t.mid(1, t.size() - 2);
    return body.replace(QString(2, t.front()), QString(t.front()));
  }
  static const QRegularExpression integer(QStringLiteral(R"(^[+-]?\d+$)"));
  static const QRegularExpression decimal(QStringLiteral(R"(^[+-]?\d*\.\d+$)"));
  bool ok = false;
  if (integer.match(t).hasMatch()) {
    const qlonglong n = t.toLongLong(&ok);
    if (ok) return n;
  }
  if (decimal.match(t).hasMatch()) {
    const double d = t.toDouble(&ok);
    if (ok) return d;
  }
  return t;
}

std::vector<QVariant> parseArguments(const QString& inner) {
  std::vector<QVariant> out;
  if (inner.trimmed().isEmpty()) return out;
  QString current;
  QChar quote;
  for (const QChar c : inner) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();  // a doubled quote closes and reopens: kept as two
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      quote = c;
    } else if (c == QLatin1Char(',')) {
      out.push_back(parseArgument(current));
      current.clear();
      continue;
    }
    current += c;
  }
  out.push_back(parseArgument(current));
  return out;
}

SavedCall parseSavedCall(const QString& text) {
  static const QRegularExpression call(QStringLiteral(R"(^\s*([\p{L}_][\p{L}\p{N}_]*)\s*\((.*)\)\s*$)"), kReOptions);
  static const QRegularExpression bare(QStringLiteral(R"(^\s*(\[[^\]]+\]|[\p{L}_][\p{L}\p{N}_]*)\s*$)"), kReOptions);
  SavedCall out;
  // "SELECT (…), (…)" and "VALUES (…)" are statements, not calls of saved queries of those names.
  const auto statementWord = [](const QString& name) {
    return name.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("VALUES"), Qt::CaseInsensitive) == 0;
  };
  if (auto m = call.match(text); m.hasMatch() && !statementWord(m.captured(1))) {
    out.kind = SavedCall::Call;
    out.name = m.captured(1);
    out.args = parseArguments(m.captured(2));
  } else if (auto b = bare.match(text); b.hasMatch()) {
    out.kind = SavedCall::Bare;
    out.name = unquoteIdentifier(b.captured(1));
  }
  return out;
}

int countPlaceholders(const QString& sql) {
  int n = 0;
  QChar quote;
  for (const QChar c : sql) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      quote = c;
    } else if (c == QLatin1Char('?')) {
      ++n;
    }
  }
  return n;
}

// The SqlText of a saved query on SQLite, when the database has one of that name.
std::optional<QString> savedQueryText(const QSqlDatabase& db, const QString& name) {
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.prepare(QStringLiteral("SELECT SqlText FROM SavedQueries WHERE Name=?"))) return std::nullopt;
  q.addBindValue(name);
  if (!q.exec() || !q.next()) return std::nullopt;
  return q.value(0).toString();
}

// The table a result column comes from. Qt 6.4's ODBC driver hands over the driver's whole
// buffer: the name ends at its first NUL.
QString baseTable(const QSqlField& f) { return f.tableName().section(QChar(0), 0, 0); }

// A text as it is written: an empty one stays empty text. The SQL drivers bind a null QString as
// NULL, which the hosts' reports and queries read otherwise; only Null and Empty are NULL.
QVariant textValue(const QString& text) { return QVariant(text.isNull() ? QStringLiteral("") : text); }

// A caller's value as it is bound to a "?".
QVariant parameterValue(const vb::Variant& v) {
  if (v.isObject()) vb::raise(vb::ErrTypeMismatch);
  if (v.isNull() || v.isEmpty() || v.isMissing()) return QVariant(QMetaType(QMetaType::QString));
  if (v.isCurrency()) return QVariant(vb::CDbl(v));
  const QVariant q = v.toQVariant();
  switch (q.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar: return QVariant(q.toInt());
    case QMetaType::QString: return textValue(q.toString());
    default: return q;
  }
}

vb::Variant integerVariant(qlonglong n, bool small, bool byte) {
  if (small && n >= std::numeric_limits<std::int16_t>::min() && n <= std::numeric_limits<std::int16_t>::max())
    return vb::Variant(static_cast<std::int16_t>(n));
  if (byte && n >= 0 && n <= 255) return vb::Variant(static_cast<std::uint8_t>(n));
  if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max()) return vb::Variant(static_cast<int>(n));
  return vb::Variant(static_cast<long long>(n));
}

bool isNumberStorage(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool: return true;
    default: return false;
  }
}

std::optional<QDateTime> parseStoredDate(const QString& text) {
  const QString t = text.trimmed();
  for (const QString& f : {kDateFormat, QStringLiteral("yyyy-MM-ddTHH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm"),
                           QStringLiteral("yyyy-MM-dd")}) {
    QDateTime d = QDateTime::fromString(t, f);
    if (d.isValid()) return d;
  }
  QDateTime d = QDateTime::fromString(t, Qt::ISODateWithMs);
  if (d.isValid()) return d;
  return std::nullopt;
}

// `sql` with every character between quotes ('text', "name", [name], `name`) replaced by "_",
// positions unchanged; a doubled quote inside stays inside.
QString withoutQuotedContents(const QString& sql) {
  QString out = sql;
  QChar close;
  for (qsizetype i = 0; i < out.size(); ++i) {
    const QChar c = out[i];
    if (close.isNull()) {
      if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) close = c;
      else if (c == QLatin1Char('[')) close = QLatin1Char(']');
    } else if (c == close && !(close != QLatin1Char(']') && i + 1 < out.size() && out[i + 1] == close)) {
      close = QChar();
    } else {
      if (c == close) out[i++] = QLatin1Char('_');  // the first of a doubled quote
      out[i] = QLatin1Char('_');
    }
  }
  return out;
}

}  // namespace

vb::Variant textColumnValue(const vb::Variant& value) {
  if (value.isNull() || value.isEmpty() || value.isMissing()) return vb::Variant::null();
  // A truth value goes into text as "True"/"False", as the data-access library wrote it, not as
  // CStr's German words.
  if (value.isBool()) return vb::Variant(value.value().toBool() ? QStringLiteral("True") : QStringLiteral("False"));
  return vb::Variant(vb::CStr(value));
}

Recordset::Recordset() = default;

Recordset::~Recordset() {
  for (auto& f : m_fields) f->detach();
}

// ---- open and run ----

void Recordset::Open(const QString& source, const vb::Variant& activeConnection, int cursorType, int lockType,
                     int options) {
  Open(source, activeConnection, cursorType, lockType, options, Parameters());
}

void Recordset::Open(const QString& source, const vb::Variant& activeConnection, int cursorType, int lockType,
                     int options, const Parameters& values) {
  if (m_open) raiseDataError(ErrObjectOpen);
  std::shared_ptr<Connection> con = activeConnection.objectAs<Connection>();
  if (!con && activeConnection.isString()) {
    con = std::make_shared<Connection>();
    con->Open(activeConnection.value().toString());
  }
  if (!con || con->State() == 0) raiseDataError(ErrNoConnection);
  m_connection = std::move(con);
  m_source = source;
  m_cursor = cursorType == adOpenUnspecified ? adOpenForwardOnly : cursorType;
  m_lock = lockType == adLockUnspecified ? adLockReadOnly : lockType;
  m_options = options;
  m_values.clear();
  for (const vb::Variant& v : values) m_values.push_back(parameterValue(v));
  prepareCommand();
  run();
}

void Recordset::prepareCommand() {
  m_connection->statementStarts();
  QSqlDatabase db = m_connection->database();
  const Dialect& dialect = m_connection->dialect();
  QString text = m_source.trimmed();
  while (text.endsWith(QLatin1Char(';'))) text = text.chopped(1).trimmed();
  m_sql = text;
  m_binds = m_values;
  m_table.clear();
  m_selectList.clear();
  m_fromClause.clear();
  m_tableRef.clear();
  m_updatable = false;

  const SavedCall call = parseSavedCall(text);
  if (m_options == adCmdTable) {
    // The whole text names the table, blanks and quotes included.
    m_sql = QStringLiteral("SELECT * FROM ") + dialect.identifier(unquoteIdentifier(text));
  } else if (call.kind == SavedCall::Call) {
    if (m_connection->isSqlite()) {
      if (const auto saved = savedQueryText(db, call.name)) {
        const int expected = countPlaceholders(*saved);
        if (expected != static_cast<int>(call.args.size()))
          raiseDataError(ErrCommand, QStringLiteral("Die Abfrage '%1' erwartet %2 Parameter, übergeben wurden %3.")
                                         .arg(call.name)
                                         .arg(expected)
                                         .arg(call.args.size()));
        m_sql = *saved;
        m_binds = call.args;
      } else if (call.args.empty()) {
        m_sql = QStringLiteral("SELECT * FROM ") + dialect.identifier(call.name);
      } else {
        raiseDataError(ErrNoSuchQuery, QStringLiteral("Die gespeicherte Abfrage '%1' wurde nicht gefunden.").arg(call.name));
      }
    } else {
      m_sql = dialect.savedQueryCall(call.name, static_cast<int>(call.args.size()));
      m_binds = call.args;
    }
  } else if (call.kind == SavedCall::Bare) {
    const std::optional<QString> saved = (m_options == adCmdStoredProc && m_connection->isSqlite())
                                             ? savedQueryText(db, call.name)
                                             : std::nullopt;
    if (saved) {
      m_sql = *saved;
    } else if (m_options == adCmdStoredProc && !m_connection->isSqlite()) {
      m_sql = dialect.savedQueryCall(call.name, 0);
    } else {
      m_sql = QStringLiteral("SELECT * FROM ") + dialect.identifier(call.name);
    }
  }
  m_sql = dialect.statement(m_sql);

  if (m_lock == adLockReadOnly) return;
  static const QRegularExpression notSingle(
      QStringLiteral(R"(\b(JOIN|UNION|GROUP\s+BY|HAVING|DISTINCT|INTERSECT|EXCEPT)\b)"), kReOptions);
  static const QRegularExpression single(
      QStringLiteral(R"(^\s*SELECT\s+(.+?)\s+(FROM\s+((\[[^\]]+\]|"[^"]+"|`[^`]+`|[\p{L}\p{N}_]+))"
                     R"((?:\s+(?:AS\s+)?(?!WHERE\b|ORDER\b)[\p{L}\p{N}_]+)?)(?:\s+(?:WHERE|ORDER\s+BY)\b.*)?)\s*$)"),
      kReOptions);
  // The statement's shape is read with the contents of texts and quoted names blanked out (a
  // key 'UNION' is no union); the parts are then taken from the statement itself.
  const QString shape = withoutQuotedContents(m_sql);
  if (notSingle.match(shape).hasMatch()) return;
  const QRegularExpressionMatch m = single.match(shape);
  if (!m.hasMatch()) return;
  const auto part = [&](int n) { return m_sql.mid(m.capturedStart(n), m.capturedLength(n)); };
  m_selectList = part(1);
  m_fromClause = part(2);
  m_tableRef = part(3);
  m_table = unquoteIdentifier(part(4));
  m_updatable = true;
}

bool Recordset::execSelect(QSqlQuery& query, const QString& sql) {
  query.setForwardOnly(true);
  if (m_binds.empty()) return query.exec(sql);
  if (!query.prepare(sql)) return false;
  bind(query, m_binds);
  return query.exec();
}

void Recordset::bind(QSqlQuery& query, const std::vector<QVariant>& values) const {
  const Dialect& dialect = m_connection->dialect();
  for (size_t i = 0; i < values.size(); ++i) query.bindValue(static_cast<int>(i), dialect.bindValue(values[i]));
}

void Recordset::run() {
  m_connection->statementStarts();
  QSqlDatabase db = m_connection->database();
  for (auto& f : m_fields) f->detach();
  m_fields.clear();
  m_columns.clear();
  m_columnByName.clear();
  m_rows.clear();
  m_writeQuery.reset();
  m_keyColumns.clear();
  m_singleKey.reset();
  m_edit = EditMode::None;
  m_pending.clear();
  m_affected = 0;
  m_open = false;

  QSqlQuery q(db);
  bool withRowid = false;
  if (m_updatable && m_connection->isSqlite()) {
    // Keyed by rowid where the table has one; a view or a WITHOUT ROWID table fails here and
    // is read plainly below.
    withRowid = execSelect(q, QStringLiteral("SELECT ") + m_selectList + QStringLiteral(", _rowid_ AS ") +
                                  kRowidAlias + QLatin1Char(' ') + m_fromClause);
    // A file held locked has been waited for once: asking again would wait the busy timeout twice.
    if (!withRowid && sqlite::isLocked(q.lastError())) raiseDataError(ErrCommand, m_connection->failure(q.lastError(), &q));
    if (!withRowid) q = QSqlQuery(db);
  }
  if (!withRowid && !execSelect(q, m_sql)) raiseDataError(ErrCommand, m_connection->failure(q.lastError(), &q));
  m_keyedByRowid = withRowid;
  if (!q.isSelect()) {
    m_affected = q.numRowsAffected();
    return;  // a statement without rows leaves the record set closed
  }
  fetch(q, withRowid);

  if (m_updatable && !withRowid) {
    for (const QString& key : m_connection->dialect().primaryKey(db, m_table)) {
      const int c = findColumn(key);
      if (c < 0) {  // the key is not selected: fall back to all original values
        m_keyColumns.clear();
        break;
      }
      m_keyColumns.push_back(c);
    }
  }
  m_open = true;
  const int first = firstLive();
  m_pos = first < 0 ? static_cast<int>(m_rows.size()) : first;
}


void Recordset::fetch(QSqlQuery& q, bool withRowid) {
  const QSqlRecord rec = q.record();
  const QStringList declared = m_connection->isSqlite() ? sqlite::declaredTypes(q) : QStringList();
  const QStringList names = m_connection->isSqlite() ? sqlite::columnNames(q) : QStringList();
  const int n = rec.count() - (withRowid ? 1 : 0);
  const QSqlDatabase db = m_connection->database();
  const QHash<QString, QString> spellings = m_connection->dialect().columnSpellings(m_sql);
  for (int i = 0; i < n; ++i) {
    const QSqlField f = rec.field(i);
    Kind kind = Kind::Unknown;
    if (m_connection->isSqlite()) {
      kind = kindFromDeclared(declared.value(i));
    } else if (f.typeID() == kSqlBit) {  // SQL_BIT: Yes/No on most ODBC drivers, handed over as a number
      kind = Kind::Boolean;
    } else if (f.typeID() == kSqlTinyInt &&
               m_connection->dialect().isYesNo(db, baseTable(f), f.name())) {
      kind = Kind::Boolean;
    } else {
      kind = kindFromMetaType(f.metaType().id());
    }
    const QString name = names.value(i, rec.fieldName(i));
    const bool asUtf8 = m_connection->dialect().readsTextAsBytes() && odbc::isTextType(f.typeID());
    m_columns.push_back({spellings.value(name, name), kind, f.typeID(), asUtf8});
  }
  // Rows read their values by name, every row again: found by the name as given without the
  // scan, where the scan would find that column too.
  for (int i = 0; i < n; ++i)
    if (findColumn(m_columns[static_cast<size_t>(i)].name) == i) m_columnByName.insert(m_columns[static_cast<size_t>(i)].name, i);
  while (q.next()) {
    Row row;
    row.values.reserve(static_cast<size_t>(n));
    row.raw.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const QVariant raw = rawValue(q, i);
      row.raw.push_back(raw);
      row.values.push_back(fromDb(m_columns[static_cast<size_t>(i)].kind, raw));
    }
    if (withRowid) row.rowid = q.value(n);
    m_rows.push_back(std::move(row));
  }
  // A step that fails ends next() as the last row does (a damaged page, a server gone
  // mid-result): the statement failed, and the rows before must not pass for all of them.
  if (q.lastError().isValid()) {
    const QString why = m_connection->failure(q.lastError(), &q);
    m_rows.clear();
    raiseDataError(ErrDatabase, why);
  }
  q.finish();
  // An expression column has no declared type: its first value tells.
  for (int i = 0; i < n; ++i) {
    Column& c = m_columns[static_cast<size_t>(i)];
    if (c.kind != Kind::Unknown) continue;
    for (const Row& r : m_rows)
      if (!r.raw[static_cast<size_t>(i)].isNull()) {
        c.kind = kindFromValue(r.raw[static_cast<size_t>(i)]);
        break;
      }
  }
  for (int i = 0; i < n; ++i) m_fields.push_back(std::make_shared<Field>(this, i));
}

// ---- column kinds and value conversions ----

QVariant Recordset::rawValue(const QSqlQuery& q, int column) const {
  const Column& c = m_columns[static_cast<size_t>(column)];
  QVariant v = c.asUtf8 ? odbc::readUtf8(q, column) : q.value(column);
  // A Yes/No value of an ODBC bit column is kept as a truth value, so that binding it again (a
  // row found by all its values) gives the server its boolean.
  if (c.odbcType == kSqlBit && !v.isNull() && v.typeId() == QMetaType::UInt) return QVariant(v.toUInt() != 0);
  // Qt reads every SQL_TINYINT as an unsigned 32-bit number, so a stored -1 arrives as
  // 4294967295: a value beyond the signed range is the negative number it was.
  if (c.odbcType == kSqlTinyInt && v.typeId() == QMetaType::UInt &&
      v.toUInt() > static_cast<uint>(std::numeric_limits<int>::max()))
    v = QVariant(static_cast<int>(v.toUInt()));
  return v;
}

Recordset::Kind Recordset::kindFromDeclared(const QString& declared) {
  const QString d = declared.trimmed().toUpper();
  if (d.isEmpty()) return Kind::Unknown;
  if (d.contains(QLatin1String("BOOL")) || d == QLatin1String("BIT") || d.contains(QLatin1String("YESNO")))
    return Kind::Boolean;
  if (d.contains(QLatin1String("SMALLINT"))) return Kind::SmallInt;
  if (d.contains(QLatin1String("TINYINT")) || d == QLatin1String("BYTE")) return Kind::Byte;
  if (d.contains(QLatin1String("BIGINT"))) return Kind::BigInt;
  if (d.contains(QLatin1String("INT")) || d == QLatin1String("LONG") || d == QLatin1String("COUNTER"))
    return Kind::Integer;
  if (d.contains(QLatin1String("DATE")) || d.contains(QLatin1String("TIME"))) return Kind::Date;
  if (d.contains(QLatin1String("CURRENCY")) || d.contains(QLatin1String("MONEY"))) return Kind::Currency;
  if (d.contains(QLatin1String("DOUBLE")) || d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")))
    return Kind::Double;
  if (d.contains(QLatin1String("NUMERIC")) || d.contains(QLatin1String("DECIMAL"))) return Kind::Numeric;
  if (d.contains(QLatin1String("MEMO")) || d.contains(QLatin1String("LONGTEXT")) || d.contains(QLatin1String("CLOB")))
    return Kind::Memo;
  if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("TEXT"))) return Kind::Text;
  if (d.contains(QLatin1String("BLOB")) || d.contains(QLatin1String("BINARY"))) return Kind::Binary;
  return Kind::Unknown;
}

Recordset::Kind Recordset::kindFromMetaType(int typeId) {
  switch (typeId) {
    case QMetaType::Bool: return Kind::Boolean;
    case QMetaType::Short:
    case QMetaType::UShort: return Kind::SmallInt;
    case QMetaType::UChar:
    case QMetaType::Char:
    case QMetaType::SChar: return Kind::Byte;
    case QMetaType::Int:
    case QMetaType::UInt: return Kind::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return Kind::BigInt;
    case QMetaType::Float:
    case QMetaType::Double: return Kind::Double;
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: return Kind::Date;
    case QMetaType::QByteArray: return Kind::Binary;
    case QMetaType::QString: return Kind::Text;
    default: return Kind::Unknown;
  }
}

Recordset::Kind Recordset::kindFromValue(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong: return Kind::Integer;
    case QMetaType::Double: return Kind::Double;
    case QMetaType::QByteArray: return Kind::Binary;
    default: return Kind::Text;
  }
}

vb::Variant Recordset::fromDb(Kind kind, const QVariant& v) {
  if (!v.isValid() || v.isNull()) return vb::Variant::null();
  const bool number = isNumberStorage(v);
  switch (kind) {
    case Kind::Boolean:
      // A Yes/No column: whatever is not zero is True.
      if (number) return vb::Variant(v.toDouble() != 0.0);
      if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return vb::Variant(true);
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return vb::Variant(false);
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (ok) return vb::Variant(d != 0.0);
      }
      return vb::Variant::fromQVariant(v);
    case Kind::SmallInt:
    case Kind::Byte:
    case Kind::Integer:
    case Kind::BigInt:
      if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (d != std::trunc(d)) return vb::Variant(d);
        return integerVariant(static_cast<qlonglong>(d), kind == Kind::SmallInt, kind == Kind::Byte);
      }
      if (number) return integerVariant(v.toLongLong(), kind == Kind::SmallInt, kind == Kind::Byte);
      return vb::Variant::fromQVariant(v);
    case Kind::Double:
    case Kind::Currency:
    case Kind::Numeric:
      if (number) return vb::Variant(v.toDouble());
      return vb::Variant::fromQVariant(v);
    case Kind::Date:
      if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QTime)
        return vb::Variant::fromQVariant(v);
      if (number) return vb::Variant(vb::fromOleDate(v.toDouble()));
      if (auto d = parseStoredDate(v.toString())) return vb::Variant(*d);
      return vb::Variant::fromQVariant(v);
    case Kind::Text:
    case Kind::Memo:
      if (v.typeId() == QMetaType::QByteArray) return vb::Variant::fromQVariant(v);
      return vb::Variant(v.toString());
    case Kind::Binary: return vb::Variant::fromQVariant(v);
    case Kind::Unknown:
      if (number && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float && v.typeId() != QMetaType::Bool)
        return integerVariant(v.toLongLong(), false, false);
      return vb::Variant::fromQVariant(v);
  }
  return vb::Variant::fromQVariant(v);
}

QVariant Recordset::toDb(Kind kind, const vb::Variant& v) const {
  const bool sqlite = m_connection && m_connection->isSqlite();
  auto typedNull = [&](QMetaType::Type t) { return QVariant(QMetaType(t)); };
  const bool none = v.isNull() || v.isEmpty() || v.isMissing();
  if (v.isObject()) vb::raise(vb::ErrTypeMismatch);
  switch (kind) {
    case Kind::Boolean:
      if (none) return QVariant(m_connection->dialect().yesNo(false).metaType());
      return m_connection->dialect().yesNo(vb::CBool(v));
    case Kind::SmallInt:
      if (none) return typedNull(QMetaType::Int);
      return QVariant(static_cast<int>(vb::CInt(v)));
    case Kind::Byte:
      if (none) return typedNull(QMetaType::Int);
      return QVariant(static_cast<int>(vb::CByte(v)));
    case Kind::Integer:
    case Kind::BigInt:
      if (none) return typedNull(kind == Kind::BigInt ? QMetaType::LongLong : QMetaType::Int);
      if (v.isValue() && v.value().typeId() == QMetaType::LongLong) return v.value();
      if (kind == Kind::BigInt) {
        const double d = vb::CDbl(v);
        return QVariant(static_cast<qlonglong>(std::nearbyint(d)));
      }
      return QVariant(static_cast<int>(vb::CLng(v)));
    case Kind::Double:
    case Kind::Currency:
    case Kind::Numeric:
      if (none) return typedNull(QMetaType::Double);
      return QVariant(vb::CDbl(v));
    case Kind::Date:
      if (none) return sqlite ? typedNull(QMetaType::QString) : typedNull(QMetaType::QDateTime);
      return sqlite ? QVariant(vb::CDate(v).toString(kDateFormat)) : QVariant(vb::CDate(v));
    case Kind::Text:
    case Kind::Memo:
      if (none) return typedNull(QMetaType::QString);
      return textValue(textColumnValue(v).value().toString());
    case Kind::Binary:
    case Kind::Unknown:
      if (none) return typedNull(QMetaType::QString);
      if (v.isBool()) return QVariant(v.value().toBool() ? vb::True : vb::False);
      if (v.isString()) return textValue(v.value().toString());
      return v.toQVariant();
  }
  return v.toQVariant();
}

int Recordset::typeCode(int column) const {
  switch (m_columns[static_cast<size_t>(column)].kind) {
    case Kind::Integer: return adInteger;
    case Kind::SmallInt: return adSmallInt;
    case Kind::BigInt: return adBigInt;
    case Kind::Byte: return adUnsignedTinyInt;
    case Kind::Boolean: return adBoolean;
    case Kind::Double: return adDouble;
    case Kind::Currency: return adCurrency;
    case Kind::Numeric: return adNumeric;
    case Kind::Date: return adDate;
    case Kind::Text: return adVarWChar;
    case Kind::Memo: return adLongVarWChar;
    case Kind::Binary: return adLongVarBinary;
    case Kind::Unknown: return adVarWChar;
  }
  return adVariant;
}

// ---- state checks ----

void Recordset::requireOpen() const {
  if (!m_open) raiseDataError(ErrObjectClosed);
}

void Recordset::requireCurrent() const {
  requireOpen();
  if (m_pos < 0 || m_pos >= static_cast<int>(m_rows.size()) || m_rows[static_cast<size_t>(m_pos)].deleted)
    raiseDataError(ErrNoCurrentRecord);
}

void Recordset::requireUpdatable() const {
  requireOpen();
  if (!m_updatable) raiseDataError(ErrNotUpdatable);
}

// ---- navigation ----

int Recordset::firstLive() const {
  for (size_t i = 0; i < m_rows.size(); ++i)
    if (!m_rows[i].deleted) return static_cast<int>(i);
  return -1;
}

int Recordset::lastLive() const {
  for (size_t i = m_rows.size(); i > 0; --i)
    if (!m_rows[i - 1].deleted) return static_cast<int>(i - 1);
  return -1;
}

bool Recordset::Eof() const {
  requireOpen();
  return firstLive() < 0 || m_pos >= static_cast<int>(m_rows.size());
}

bool Recordset::Bof() const {
  requireOpen();
  return firstLive() < 0 || m_pos < 0;
}

int Recordset::RecordCount() const {
  requireOpen();
  int n = 0;
  for (const Row& r : m_rows)
    if (!r.deleted) ++n;
  return n;
}

void Recordset::MoveFirst() {
  requireOpen();
  saveIfEditing();
  const int first = firstLive();
  m_pos = first < 0 ? static_cast<int>(m_rows.size()) : first;
}

void Recordset::MoveLast() {
  requireOpen();
  saveIfEditing();
  const int last = lastLive();
  m_pos = last < 0 ? static_cast<int>(m_rows.size()) : last;
}

void Recordset::MoveNext() {
  requireOpen();
  if (Eof()) raiseDataError(ErrNoCurrentRecord);
  saveIfEditing();
  int p = m_pos + 1;
  while (p < static_cast<int>(m_rows.size()) && m_rows[static_cast<size_t>(p)].deleted) ++p;
  m_pos = p;
}

void Recordset::MovePrevious() {
  requireOpen();
  if (m_cursor == adOpenForwardOnly) raiseDataError(ErrNoBackwardFetch);
  if (Bof()) raiseDataError(ErrNoCurrentRecord);
  saveIfEditing();
  int p = m_pos - 1;
  while (p >= 0 && m_rows[static_cast<size_t>(p)].deleted) --p;
  m_pos = p;
}

void Recordset::Requery() {
  requireOpen();
  saveIfEditing();
  run();
}

void Recordset::Close() {
  requireOpen();
  if (m_edit != EditMode::None) raiseDataError(ErrIllegalOperation);
  m_open = false;
  m_rows.clear();
  m_writeQuery.reset();
}

// ---- fields ----

int Recordset::findColumn(const QString& name) const {
  if (const auto it = m_columnByName.constFind(name); it != m_columnByName.constEnd()) return *it;
  for (size_t i = 0; i < m_columns.size(); ++i)
    if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

int Recordset::columnIndex(const vb::Variant& index) const {
  if (index.isString()) {
    const int i = findColumn(index.value().toString());
    if (i >= 0) return i;
  } else if (index.isNumberType()) {
    const int i = vb::CLng(index);
    if (i >= 0 && i < static_cast<int>(m_columns.size())) return i;
  }
  raiseDataError(ErrItemNotFound);
}

std::shared_ptr<Field> Recordset::Fields(const vb::Variant& index) const {
  requireOpen();
  return m_fields[static_cast<size_t>(columnIndex(index))];
}

std::shared_ptr<FieldList> Recordset::Fields() const {
  requireOpen();
  return std::make_shared<FieldList>(m_fields);
}

vb::Variant Recordset::readValue(int column) const {
  requireCurrent();
  const Kind kind = m_columns[static_cast<size_t>(column)].kind;
  if (m_edit != EditMode::None && m_pending[static_cast<size_t>(column)])
    return fromDb(kind, toDb(kind, *m_pending[static_cast<size_t>(column)]));
  Row& row = m_rows[static_cast<size_t>(m_pos)];
  readBack(row);
  return row.values[static_cast<size_t>(column)];
}

void Recordset::assignValue(int column, const vb::Variant& value) {
  requireUpdatable();
  requireCurrent();
  toDb(m_columns[static_cast<size_t>(column)].kind, value);  // a value the column cannot take fails here
  if (m_edit == EditMode::None) {
    m_edit = EditMode::Edit;
    m_pending.assign(m_columns.size(), std::nullopt);
  }
  m_pending[static_cast<size_t>(column)] = value;
}

// ---- changes ----

void Recordset::saveIfEditing() {
  if (m_edit != EditMode::None) Update();
}

void Recordset::AddNew() {
  requireUpdatable();
  saveIfEditing();
  Row row;
  row.values.assign(m_columns.size(), vb::Variant::null());
  row.raw.assign(m_columns.size(), QVariant());
  m_rows.push_back(std::move(row));
  m_posBeforeAdd = m_pos;
  m_pos = static_cast<int>(m_rows.size()) - 1;
  m_edit = EditMode::Add;
  m_pending.assign(m_columns.size(), std::nullopt);
}

void Recordset::Update() {
  requireOpen();
  if (m_edit == EditMode::Add) {
    writeInsert();
  } else if (m_edit == EditMode::Edit) {
    writeUpdate();
  }
  m_edit = EditMode::None;
  m_pending.clear();
}

void Recordset::CancelUpdate() {
  requireOpen();
  if (m_edit == EditMode::Add) {
    m_rows.pop_back();
    m_pos = std::min(m_posBeforeAdd, static_cast<int>(m_rows.size()));
  }
  m_edit = EditMode::None;
  m_pending.clear();
}

void Recordset::Delete(int affectRecords) {
  requireUpdatable();
  if (affectRecords != 1) raiseDataError(ErrIllegalOperation);
  if (m_edit == EditMode::Add) {  // deleting a row not yet saved only drops it
    CancelUpdate();
    return;
  }
  if (m_edit == EditMode::Edit) CancelUpdate();
  requireCurrent();
  writeDelete();
  m_rows[static_cast<size_t>(m_pos)].deleted = true;
}

void Recordset::applyPending(Row& row) {
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (!m_pending[i]) continue;
    const QVariant stored = toDb(m_columns[i].kind, *m_pending[i]);
    row.raw[i] = stored;
    row.values[i] = fromDb(m_columns[i].kind, stored);
  }
}

void Recordset::writeInsert() {
  m_connection->statementStarts();
  const Dialect& dialect = m_connection->dialect();
  QStringList columns;
  QStringList marks;
  std::vector<QVariant> binds;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (!m_pending[i]) continue;
    columns << dialect.identifier(m_columns[i].name);
    marks << QStringLiteral("?");
    binds.push_back(toDb(m_columns[i].kind, *m_pending[i]));
  }
  const QString table = dialect.identifier(m_table);
  QString sql = columns.isEmpty() ? dialect.insertDefaults(table)
                                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
  // A key the database numbers comes back with the insert where the server can say it.
  const bool numbered =
      !m_keyedByRowid && m_keyColumns.size() == 1 && !m_pending[static_cast<size_t>(m_keyColumns.front())];
  if (numbered) sql += dialect.returningKey(m_columns[static_cast<size_t>(m_keyColumns.front())].name);
  QVariant id = execWrite(sql, binds, false);
  Row& row = m_rows[static_cast<size_t>(m_pos)];
  applyPending(row);
  if (m_keyedByRowid) {
    // Qt gives no id for rowid 0: the database is asked.
    row.rowid = id.isValid() ? id : dialect.generatedKey(m_connection->database());
  } else if (numbered) {
    if (!id.isValid() || id.isNull()) id = dialect.generatedKey(m_connection->database());
    if (id.isValid() && !id.isNull()) row.raw[static_cast<size_t>(m_keyColumns.front())] = id;
  }
  row.unread = true;  // defaults and autoincrement keys the database filled in, read when asked for
}

void Recordset::writeUpdate() {
  m_connection->statementStarts();
  const Dialect& dialect = m_connection->dialect();
  QStringList sets;
  std::vector<QVariant> binds;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (!m_pending[i]) continue;
    sets << dialect.identifier(m_columns[i].name) + QStringLiteral("=?");
    binds.push_back(toDb(m_columns[i].kind, *m_pending[i]));
  }
  if (sets.isEmpty()) return;
  Row& row = m_rows[static_cast<size_t>(m_pos)];
  readBack(row);
  const QString where = whereForRow(row, binds);
  const bool changedOnly = dialect.countsChangedRowsOnly();
  int affected = 0;
  execWrite(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                .arg(dialect.identifier(m_table), sets.join(QLatin1Char(',')), where),
            binds, !changedOnly, &affected);
  // A row given the values it has counts as not changed there: it is gone only when not found.
  if (changedOnly && affected == 0 &&
      countRows(where, std::vector<QVariant>(binds.begin() + sets.size(), binds.end())) == 0)
    raiseDataError(ErrRowNotFound);
  applyPending(row);
  // A new key may be the rowid itself (INTEGER PRIMARY KEY): the row is found again by it, or
  // the next write would meet the row that took its old number.
  if (m_keyedByRowid) {
    const int key = singleKeyColumn();
    if (key >= 0 && m_pending[static_cast<size_t>(key)]) row.rowid = rowidOf(key, row.raw[static_cast<size_t>(key)]);
  }
  row.unread = true;
}

int Recordset::singleKeyColumn() {
  if (!m_singleKey) {
    const QStringList key = m_connection->dialect().primaryKey(m_connection->database(), m_table);
    m_singleKey = key.size() == 1 ? findColumn(key.front()) : -1;
  }
  return *m_singleKey;
}

QVariant Recordset::rowidOf(int keyColumn, const QVariant& key) const {
  const Dialect& dialect = m_connection->dialect();
  QSqlQuery q(m_connection->database());
  q.setForwardOnly(true);
  if (!q.prepare(QStringLiteral("SELECT _rowid_ FROM %1 WHERE %2=?")
                     .arg(dialect.identifier(m_table), dialect.identifier(m_columns[static_cast<size_t>(keyColumn)].name))))
    raiseDataError(ErrCommand, m_connection->failure(q.lastError(), &q));
  bind(q, {key});
  if (!q.exec()) raiseDataError(ErrDatabase, m_connection->failure(q.lastError(), &q));
  if (!q.next()) raiseDataError(ErrRowNotFound);
  const QVariant rowid = q.value(0);
  q.finish();
  return rowid;
}

void Recordset::writeDelete() {
  m_connection->statementStarts();
  std::vector<QVariant> binds;
  readBack(m_rows[static_cast<size_t>(m_pos)]);
  const QString where = whereForRow(m_rows[static_cast<size_t>(m_pos)], binds);
  execWrite(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_connection->dialect().identifier(m_table), where), binds,
            true);
}

QString Recordset::whereForRow(const Row& row, std::vector<QVariant>& binds) const {
  if (m_keyedByRowid) {
    binds.push_back(row.rowid);
    return QStringLiteral("_rowid_=?");
  }
  const Dialect& dialect = m_connection->dialect();
  std::vector<int> columns = m_keyColumns;
  const bool allValues = columns.empty();
  if (allValues)
    for (size_t i = 0; i < m_columns.size(); ++i) columns.push_back(static_cast<int>(i));
  QStringList terms;
  std::vector<QVariant> own;
  for (int c : columns) {
    const QString name = dialect.identifier(m_columns[static_cast<size_t>(c)].name);
    const QVariant& v = row.raw[static_cast<size_t>(c)];
    if (v.isNull()) {
      terms << name + QStringLiteral(" IS NULL");
    } else {
      terms << name + QStringLiteral("=?");
      own.push_back(v);
    }
  }
  const QString where = terms.join(QStringLiteral(" AND "));
  if (allValues) {
    // Without a key the row must be the only one with these values, or the statement would
    // change its twins too.
    const qlonglong n = countRows(where, own);
    if (n == 0) raiseDataError(ErrRowNotFound);
    if (n > 1)
      raiseDataError(ErrDatabase, QStringLiteral("Die Zeile ist nicht eindeutig bestimmt: %1 Zeilen der Tabelle '%2' "
                                                 "haben dieselben Werte, und die Tabelle hat keinen Schlüssel.")
                                      .arg(n)
                                      .arg(m_table));
  }
  binds.insert(binds.end(), own.begin(), own.end());
  return where;
}

qlonglong Recordset::countRows(const QString& where, const std::vector<QVariant>& binds) const {
  QSqlQuery q(m_connection->database());
  q.setForwardOnly(true);
  if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(m_connection->dialect().identifier(m_table), where)))
    raiseDataError(ErrCommand, m_connection->failure(q.lastError(), &q));
  bind(q, binds);
  if (!q.exec() || !q.next()) raiseDataError(ErrDatabase, m_connection->failure(q.lastError(), &q));
  const qlonglong n = q.value(0).toLongLong();
  q.finish();
  return n;
}

QVariant Recordset::execWrite(const QString& sql, const std::vector<QVariant>& binds, bool expectOneRow, int* affectedRows) {
  if (!m_writeQuery || m_writeSql != sql || m_writeGeneration != m_connection->generation()) {
    m_writeQuery.reset();
    QSqlQuery q(m_connection->database());
    if (!q.prepare(sql)) raiseDataError(ErrCommand, m_connection->failure(q.lastError(), &q));
    m_writeQuery = std::move(q);
    m_writeSql = sql;
    m_writeGeneration = m_connection->generation();
  }
  QSqlQuery& q = *m_writeQuery;
  bind(q, binds);
  if (!q.exec()) {
    const QString why = m_connection->failure(q.lastError(), &q);
    m_writeQuery.reset();
    raiseDataError(ErrDatabase, why);
  }
  const int affected = q.numRowsAffected();
  // The key of an added row: the row an INSERT ... RETURNING gives, SQLite's rowid, or nothing
  // (QODBC cannot tell it; the dialect asks instead).
  QVariant id;
  if (q.isSelect() && q.next()) id = q.value(0);
  else if (m_connection->isSqlite()) id = q.lastInsertId();
  q.finish();  // holds no lock on the table between rows
  if (affectedRows) *affectedRows = affected;
  if (expectOneRow && affected == 0) raiseDataError(ErrRowNotFound);
  return id;
}

void Recordset::readBack(Row& row) const {
  if (!row.unread) return;
  row.unread = false;
  reloadRow(row);
}

void Recordset::reloadRow(Row& row) const {
  QSqlDatabase db = m_connection->database();
  QStringList terms;
  std::vector<QVariant> binds;
  if (m_keyedByRowid) {
    terms << QStringLiteral("_rowid_=?");
    binds.push_back(row.rowid);
  } else {
    for (int c : m_keyColumns) {
      terms << m_connection->dialect().identifier(m_columns[static_cast<size_t>(c)].name) + QStringLiteral("=?");
      binds.push_back(row.raw[static_cast<size_t>(c)]);
    }
  }
  if (terms.isEmpty()) return;
  for (const QVariant& b : binds)
    if (!b.isValid() || b.isNull()) return;
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.prepare(QStringLiteral("SELECT ") + m_selectList + QStringLiteral(" FROM ") + m_tableRef +
                 QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "))))
    return;
  bind(q, binds);
  if (!q.exec()) return;
  // Counted before the row is fetched: on a row, record() reads every value, and a text the layer
  // reads itself would then be gone.
  const int count = q.record().count();
  if (!q.next()) return;
  for (size_t i = 0; i < m_columns.size() && static_cast<int>(i) < count; ++i) {
    row.raw[i] = rawValue(q, static_cast<int>(i));
    row.values[i] = fromDb(m_columns[i].kind, row.raw[i]);
  }
  q.finish();
}

}  // namespace data
