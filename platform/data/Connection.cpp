#include "platform/data/Connection.h"

#include <QFileInfo>
#include <QMetaType>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <set>
#include <clocale>
#include <cstring>
#include <langinfo.h>

#include "platform/data/DataError.h"
#include "platform/data/OdbcSupport.h"
#include "platform/data/Recordset.h"
#include "platform/data/SqliteSupport.h"
#include "platform/vb/PathResolver.h"

namespace data {
namespace {

const QString kJetProvider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
const QString kSystemDatabase = QStringLiteral("Jet OLEDB:System database");

// Late binding hands objects around as vb::Variant: let the results of this layer convert.
template <typename T>
void registerObjectConverter() {
  QMetaType::registerConverter<std::shared_ptr<T>, vb::Variant>(
      [](const std::shared_ptr<T>& p) { return p ? vb::Variant(p) : vb::Variant::nothing(); });
}
const bool kConvertersRegistered = [] {
  registerObjectConverter<Connection>();
  registerObjectConverter<Property>();
  registerObjectConverter<Recordset>();
  registerObjectConverter<Field>();
  registerObjectConverter<FieldList>();
  return true;
}();

struct Pair {
  QString key;
  QString value;
};

// "key=value;key='v;a''lue';key=\"v\";key={va;lue}" into pairs, keys and plain values trimmed.
// A value in double or single quotes is taken up to its closing quote, a doubled quote inside
// standing for one; a value in braces (ODBC) is kept with its braces, "}}" inside standing for
// "}". Parts without "=" are passed over.
std::vector<Pair> parseConnectionString(const QString& text) {
  std::vector<Pair> pairs;
  const qsizetype n = text.size();
  qsizetype i = 0;
  const auto skipToNextPart = [&] {
    const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
    i = semi < 0 ? n : semi + 1;
  };
  while (i < n) {
    const qsizetype eq = text.indexOf(QLatin1Char('='), i);
    const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
    if (eq < 0 || (semi >= 0 && semi < eq)) {
      skipToNextPart();
      continue;
    }
    const QString key = text.mid(i, eq - i).trimmed();
    i = eq + 1;
    while (i < n && text[i].isSpace() && text[i] != QLatin1Char(';')) ++i;
    QString value;
    const QChar first = i < n ? text[i] : QChar();
    if (first == QLatin1Char('"') || first == QLatin1Char('\'')) {
      for (++i; i < n; ++i) {
        if (text[i] != first) {
          value += text[i];
        } else if (i + 1 < n && text[i + 1] == first) {
          value += first;
          ++i;
        } else {
          ++i;
          break;
        }
      }
      skipToNextPart();
    } else if (first == QLatin1Char('{')) {
      const qsizetype start = i;
      for (++i; i < n; ++i) {
        if (text[i] != QLatin1Char('}')) continue;
        if (i + 1 < n && text[i + 1] == QLatin1Char('}')) {
          ++i;
        } else {
          ++i;
          break;
        }
      }
      value = text.mid(start, i - start);
      skipToNextPart();
    } else {
      const qsizetype end = semi < 0 ? n : semi;
      value = text.mid(i, end - i).trimmed();
      i = end < n ? end + 1 : n;
    }
    if (!key.isEmpty()) pairs.push_back({key, value});
  }
  return pairs;
}

// A value for an ODBC connection string: braced when a ";" or a brace would end it early.
QString odbcValue(const QString& value) {
  if (value.startsWith(QLatin1Char('{')) && value.endsWith(QLatin1Char('}'))) return value;  // braced already
  if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}')) &&
      value == value.trimmed())
    return value;
  return QLatin1Char('{') + QString(value).replace(QLatin1Char('}'), QLatin1String("}}")) + QLatin1Char('}');
}

const Pair* findPair(const std::vector<Pair>& pairs, const QString& key) {
  for (const Pair& p : pairs)
    if (p.key.compare(key, Qt::CaseInsensitive) == 0) return &p;
  return nullptr;
}

QString databaseMessage(const QSqlError& e) {
  const QString db = e.databaseText().trimmed();
  return db.isEmpty() ? e.text().trimmed() : db;
}

// A connection still held by a process-wide object when the process ends is destroyed in static
// destruction, possibly after Qt's SQL layer is gone. The marker below is made once the first
// connection is open, after every part of that layer it needs, so it goes before them; from then
// on such a connection is left to the end of the process.
bool sqlLayerGone = false;
struct SqlLayerLifetime {
  ~SqlLayerLifetime() { sqlLayerGone = true; }
};
void markSqlLayerLifetime() { static const SqlLayerLifetime lifetime; }

ConnectionLosses losses;

// The open server connections of the process (one thread): when one of them finds its server
// gone, the others may have lost theirs too without knowing it yet. Never freed: a connection may
// end in static destruction.
std::set<Connection*>& serverConnections() {
  static auto* const all = new std::set<Connection*>;
  return *all;
}

// Counts a statement the lost server failed and raises its error.
[[noreturn]] void raiseLoss(const QString& message) {
  ++losses.count;
  losses.message = message;
  raiseDataError(ErrDatabase, message);
}

QString nextConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("skrivant-data-%1").arg(++counter);
}

}  // namespace

ConnectionLosses connectionLosses() { return losses; }

QString connectionValue(const QString& value) {
  static const QString special = QStringLiteral(";\"'{}");
  const bool plain = value == value.trimmed() &&
                     std::none_of(value.begin(), value.end(), [](QChar c) { return special.contains(c); });
  if (plain) return value;
  return QLatin1Char('"') + QString(value).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

Connection::Connection() : m_name(nextConnectionName()) {}

Connection::~Connection() {
  serverConnections().erase(this);
  if (sqlLayerGone) return;
  if (m_open) {
    QSqlDatabase::database(m_name, false).close();
  }
  if (QSqlDatabase::contains(m_name)) QSqlDatabase::removeDatabase(m_name);
}

void Connection::let_Provider(const QString& provider) {
  if (m_open) raiseDataError(ErrObjectOpen);
  m_provider = provider;
}

Connection::ProviderKind Connection::providerKind(const QString& provider) const {
  QString p = provider.trimmed();
  while (p.endsWith(QLatin1Char(';'))) p.chop(1);
  p = p.trimmed();
  if (p.compare(kJetProvider, Qt::CaseInsensitive) == 0) return ProviderKind::Jet;
  // No provider is the data-access library's default: ODBC.
  if (p.isEmpty() || p.compare(QLatin1String("MSDASQL"), Qt::CaseInsensitive) == 0 ||
      p.compare(QLatin1String("MSDASQL.1"), Qt::CaseInsensitive) == 0)
    return ProviderKind::Odbc;
  raiseDataError(ErrProviderNotFound);
}

void Connection::ensureProperties(ProviderKind kind) {
  const bool jet = kind == ProviderKind::Jet;
  if (!m_properties.empty() && m_propertiesForJet == jet) return;
  // Every property a Jet host may set before opening. Only "Data Source" and the system database
  // mean something on SQLite; the others are kept as set and change nothing.
  static const QStringList jetNames = {
      QStringLiteral("Data Source"), QStringLiteral("User ID"), QStringLiteral("Password"),
      QStringLiteral("Mode"), QStringLiteral("Persist Security Info"), QStringLiteral("Extended Properties"),
      QStringLiteral("Locale Identifier"), QStringLiteral("Prompt"), QStringLiteral("Window Handle"),
      kSystemDatabase, QStringLiteral("Jet OLEDB:Database Password"), QStringLiteral("Jet OLEDB:Engine Type"),
      QStringLiteral("Jet OLEDB:Registry Path"), QStringLiteral("Jet OLEDB:Database Locking Mode"),
      QStringLiteral("Jet OLEDB:Global Partial Bulk Ops"), QStringLiteral("Jet OLEDB:Global Bulk Transactions"),
      QStringLiteral("Jet OLEDB:New Database Password"), QStringLiteral("Jet OLEDB:Create System Database"),
      QStringLiteral("Jet OLEDB:Encrypt Database"), QStringLiteral("Jet OLEDB:Don't Copy Locale on Compact"),
      QStringLiteral("Jet OLEDB:Compact Without Replica Repair"), QStringLiteral("Jet OLEDB:SFP")};
  static const QStringList odbcNames = {
      QStringLiteral("Data Source"), QStringLiteral("User ID"), QStringLiteral("Password"),
      QStringLiteral("Extended Properties"), QStringLiteral("Persist Security Info"), QStringLiteral("Prompt")};
  std::vector<std::shared_ptr<Property>> next;
  for (const QString& name : jet ? jetNames : odbcNames) {
    auto p = std::make_shared<Property>(name);
    // A property both providers know keeps its value across a change of provider.
    for (const auto& old : m_properties)
      if (old->Name() == name) p->let_Value(old->Value());
    next.push_back(std::move(p));
  }
  m_properties = std::move(next);
  m_propertiesForJet = jet;
}

std::shared_ptr<Property> Connection::Properties(const QString& name) {
  ensureProperties(providerKind(m_provider));
  for (const auto& p : m_properties)
    if (p->Name().compare(name.trimmed(), Qt::CaseInsensitive) == 0) return p;
  raiseDataError(ErrItemNotFound);
}

QString Connection::propertyText(const QString& name) const {
  for (const auto& p : m_properties)
    if (p->Name().compare(name, Qt::CaseInsensitive) == 0) {
      const vb::Variant v = p->Value();
      return v.isValue() ? v.value().toString() : QString();
    }
  return {};
}

void Connection::Open(const QString& connectionString, const QString& user, const QString& password, int) {
  if (m_open) raiseDataError(ErrObjectOpen);
  QString text = connectionString.trimmed();
  const bool odbcPrefix = text.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive);
  if (odbcPrefix) text = text.mid(5);
  std::vector<Pair> pairs = parseConnectionString(text);

  QString provider = m_provider;
  if (const Pair* p = findPair(pairs, QStringLiteral("Provider"))) provider = p->value;
  const ProviderKind kind = odbcPrefix ? ProviderKind::Odbc : providerKind(provider);
  ensureProperties(kind);
  auto setting = [&](const QString& key) {
    const Pair* p = findPair(pairs, key);
    return p ? p->value : propertyText(key);
  };

  if (kind == ProviderKind::Jet) {
    openJet(setting(QStringLiteral("Data Source")), setting(kSystemDatabase));
  } else {
    std::vector<Pair> rest;
    for (const Pair& p : pairs)
      if (p.key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) != 0) rest.push_back(p);
    if (!findPair(rest, QStringLiteral("DSN")) && !findPair(rest, QStringLiteral("DRIVER")) &&
        !findPair(rest, QStringLiteral("FILEDSN"))) {
      // The ODBC provider takes "Data Source" as the name of a DSN.
      const QString dsn = setting(QStringLiteral("Data Source"));
      if (!dsn.isEmpty()) rest.insert(rest.begin(), Pair{QStringLiteral("DSN"), dsn});
    }
    // Pairs joined without a ";" after the last: Connector/ODBC refuses a string that ends in one.
    QStringList odbc;
    for (const Pair& p : rest) {
      if (p.key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0) continue;
      odbc << p.key + QLatin1Char('=') + odbcValue(p.value);
    }
    openOdbc(odbc.join(QLatin1Char(';')), user.isEmpty() ? setting(QStringLiteral("User ID")) : user,
             password.isEmpty() ? setting(QStringLiteral("Password")) : password);
  }
  m_open = true;
  if (!m_sqlite) serverConnections().insert(this);
  markSqlLayerLifetime();
}

void Connection::openJet(const QString& dataSource, const QString& systemDatabase) {
  const QString file = vb::resolvePath(dataSource.trimmed());
  if (dataSource.trimmed().isEmpty() || !QFileInfo(file).isFile())
    raiseDataError(ErrDatabase, QStringLiteral("Die Datenbankdatei '%1' wurde nicht gefunden.").arg(dataSource));
  if (!systemDatabase.trimmed().isEmpty() && !QFileInfo(vb::resolvePath(systemDatabase.trimmed())).isFile())
    raiseDataError(ErrDatabase, QStringLiteral("Die Arbeitsgruppen-Informationsdatei '%1' wurde nicht gefunden.")
                                    .arg(systemDatabase));
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) raiseDataError(ErrProviderNotFound);
  QString failure;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
      failure = databaseMessage(db.lastError());
    } else if (!sqlite::prepareConnection(db, kBusyTimeoutMs)) {
      failure = QStringLiteral("Die Sortierfolge %1 konnte nicht eingerichtet werden.")
                    .arg(QLatin1String(sqlite::kUnicodeNoCase));
    } else {
      // SQLite opens any file; reading its catalogue tells a database from something else.
      QSqlQuery probe(db);
      if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) failure = databaseMessage(probe.lastError());
    }
    if (!failure.isEmpty()) db.close();
  }
  if (!failure.isEmpty()) {
    QSqlDatabase::removeDatabase(m_name);
    raiseDataError(ErrDatabase, failure);
  }
  m_sqlite = true;
  m_dialect = Dialect(Dialect::Kind::Jet);
}

namespace {
// ODBC drivers turn wide text into bytes through the C library's character set. A process
// started without a locale (LANG unset: plain "C", ASCII) would lose every umlaut on the way, so
// character handling is switched to UTF-8 there; a locale the user chose is left alone.
void ensureUtf8Characters() {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  if (current && (std::strcmp(current, "C") == 0 || std::strcmp(current, "POSIX") == 0))
    std::setlocale(LC_CTYPE, "C.UTF-8");
}
}  // namespace

void Connection::openOdbc(const QString& odbcString, const QString& user, const QString& password) {
  ensureUtf8Characters();
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) raiseDataError(ErrProviderNotFound);
  QString failure;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    // QODBC takes a text with "DRIVER=" as a whole connection string and puts "DSN=" before
    // anything else, so a DSN string goes in without its own "DSN=".
    QString name = odbcString;
    const std::vector<Pair> pairs = parseConnectionString(odbcString);
    if (!findPair(pairs, QStringLiteral("DRIVER")) && !findPair(pairs, QStringLiteral("SERVER"))) {
      if (const Pair* dsn = findPair(pairs, QStringLiteral("DSN"))) {
        name = dsn->value;
        for (const Pair& p : pairs)
          if (&p != dsn) name += QLatin1Char(';') + p.key + QLatin1Char('=') + odbcValue(p.value);
      }
    }
    db.setDatabaseName(name);
    if (!user.isEmpty()) db.setUserName(user);
    if (!password.isEmpty()) db.setPassword(password);
    bool open = db.open();
    if (open) {
      m_dialect = Dialect::ofOdbc(db);
      // The driver's options the layer relies on, where the string does not set them.
      QString defaults;
      for (const auto& [key, value] : m_dialect.odbcDefaults())
        if (!findPair(pairs, key)) defaults += QLatin1Char(';') + key + QLatin1Char('=') + value;
      if (!defaults.isEmpty()) {
        db.close();
        db.setDatabaseName(name + defaults);
        open = db.open();
      }
    }
    if (!open) {
      failure = databaseMessage(db.lastError());
      if (failure.isEmpty()) failure = QStringLiteral("Die ODBC-Verbindung konnte nicht geöffnet werden.");
    }
  }
  if (!failure.isEmpty()) {
    QSqlDatabase::removeDatabase(m_name);
    raiseDataError(ErrDatabase, failure);
  }
  m_sqlite = false;
}

void Connection::Close() {
  if (!m_open) raiseDataError(ErrObjectClosed);
  QSqlDatabase::database(m_name, false).close();
  QSqlDatabase::removeDatabase(m_name);
  m_open = false;
  m_broken = m_suspect = m_inTransaction = false;
  serverConnections().erase(this);
}

int Connection::State() const { return m_open ? 1 : 0; }

QSqlDatabase Connection::database() const {
  if (!m_open) raiseDataError(ErrNoConnection);
  return QSqlDatabase::database(m_name, false);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& commandText) {
  return Execute(commandText, nullptr, -1);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& commandText, long* recordsAffected, int options) {
  return Execute(commandText, Parameters(), recordsAffected, options);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& commandText, const Parameters& values,
                                               long* recordsAffected, int options) {
  std::shared_ptr<Connection> self = weak_from_this().lock();
  if (!self) raiseDataError(ErrNoConnection);
  auto rs = std::make_shared<Recordset>();
  rs->Open(commandText, vb::Variant(self), adOpenForwardOnly, adLockReadOnly, options, values);
  if (recordsAffected) *recordsAffected = rs->m_affected;
  return rs;
}

QString Connection::columnName(const QString& table, const QString& column) {
  const auto rs = Execute(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table));
  const auto fields = rs->Fields();
  for (int i = 0; i < fields->Count(); ++i) {
    const QString name = fields->Item(vb::Variant(i))->Name();
    if (name.compare(column, Qt::CaseInsensitive) == 0) return name;
  }
  return {};
}

bool Connection::addUnlessPresent(const QString& table, const QString& keyColumn, const QString& key,
                                  const QString& valueColumn, const vb::Variant& value) {
  const QString t = m_dialect.identifier(table), k = m_dialect.identifier(keyColumn);
  const QString into = QStringLiteral("INSERT INTO %1 (%2, %3) ").arg(t, k, m_dialect.identifier(valueColumn));
  const vb::Variant text = textColumnValue(value);
  QString sql;
  Parameters values{vb::Variant(key), text};
  if (m_dialect.kind() == Dialect::Kind::MariaDb) {
    // No "NOT EXISTS": InnoDB locks what such a read saw, and two sessions adding the same key
    // then wait for each other until one is killed as a deadlock.
    sql = into + QStringLiteral("VALUES (?, ?) ON DUPLICATE KEY UPDATE %1 = %1").arg(k);
  } else {
    // One statement: on SQLite it holds the file's write lock from its read to its insert.
    // The key is there when it is there in any letter case, umlauts too, as the look-up finds it.
    const QString present = m_dialect.caseBlindEquals(k, key, values);
    sql = into + QStringLiteral("SELECT ?, ? WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %2)").arg(t, present);
    const Dialect::Kind kind = m_dialect.kind();
    if (kind == Dialect::Kind::Jet || kind == Dialect::Kind::SqliteOdbc || kind == Dialect::Kind::PostgreSql)
      sql += QStringLiteral(" ON CONFLICT DO NOTHING");
  }
  long added = 0;
  Execute(sql, values, &added);
  return added > 0;
}

void Connection::statementStarts() {
  QSqlDatabase db = database();
  if (m_suspect && !m_broken) {
    m_suspect = false;
    // Asked before the statement, so that only the one that met the loss fails.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT 1")) &&
        odbc::connectionLost(db, odbc::diagnostics(db, &probe), m_dialect.kind() == Dialect::Kind::MariaDb)) {
      m_broken = true;
      m_lossMessage = databaseMessage(probe.lastError());
    }
  }
  if (!m_broken) return;
  if (m_inTransaction)
    raiseLoss(QStringLiteral("Die Verbindung zur Datenbank ist während der Transaktion verloren gegangen; die "
                             "Transaktion ist gescheitert: ") +
              m_lossMessage);
  // The same driver, string, user and password as at Open; QODBC drops the old statements.
  db.close();
  if (!db.open()) {
    const QString why = databaseMessage(db.lastError());
    raiseLoss(why.isEmpty() ? QStringLiteral("Die ODBC-Verbindung konnte nicht geöffnet werden.") : why);
  }
  m_broken = false;
  ++m_generation;
}

QString Connection::failure(const QSqlError& error, const QSqlQuery* query) {
  QString message = databaseMessage(error);
  if (m_sqlite || !m_open) return message;
  const QSqlDatabase db = QSqlDatabase::database(m_name, false);
  const std::vector<odbc::Diagnostic> records = odbc::diagnostics(db, query);
  // Qt's text is only its own words where the driver's records did not reach it.
  if (error.databaseText().trimmed().isEmpty())
    for (const odbc::Diagnostic& d : records)
      if (!d.text.isEmpty()) {
        message = d.text;
        break;
      }
  if (odbc::connectionLost(db, records, m_dialect.kind() == Dialect::Kind::MariaDb)) {
    if (!m_broken || !m_inTransaction) m_lossMessage = message;
    m_broken = true;
    ++losses.count;
    losses.message = message;
    for (Connection* other : serverConnections())
      if (other != this) other->m_suspect = true;
  }
  return message;
}

void Connection::BeginTrans() {
  statementStarts();
  QSqlDatabase db = database();
  if (!db.transaction()) raiseDataError(ErrDatabase, failure(db.lastError()));
  m_inTransaction = true;
}

void Connection::CommitTrans() {
  QSqlDatabase db = database();
  // A connection the driver already holds for dead would "commit" nothing and say so quietly.
  if (m_inTransaction && !m_broken && !m_sqlite && odbc::connectionLost(db, {}, false)) {
    m_broken = true;
    m_lossMessage = QStringLiteral("Die Verbindung zum Server wurde getrennt.");
  }
  if (m_inTransaction && m_broken) {
    // The server has rolled it back with the connection: nothing of it is stored.
    m_inTransaction = false;
    raiseLoss(QStringLiteral("Die Verbindung zur Datenbank ist während der Transaktion verloren gegangen; nichts "
                             "davon wurde gespeichert: ") +
              m_lossMessage);
  }
  m_inTransaction = false;
  if (!db.commit()) raiseDataError(ErrDatabase, failure(db.lastError()));
}

void Connection::RollbackTrans() {
  QSqlDatabase db = database();
  const bool lost = m_inTransaction && m_broken;
  m_inTransaction = false;
  if (lost) return;  // gone with the connection already
  if (!db.rollback()) raiseDataError(ErrDatabase, failure(db.lastError()));
}

}  // namespace data
