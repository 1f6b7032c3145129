#pragma once
// A database connection as the system's code and its hosts use it: provider, provider
// properties, Open with a connection string, Execute, Close and transactions.
//
// Roads:
//  - provider "Microsoft.Jet.OLEDB.4.0" (any case, trailing ";" allowed, in the Provider property
//    or as "Provider=" in the string): the SQLite file named by "Data Source=" (a stored path,
//    resolved by vb::resolvePath). The file must exist. "Jet OLEDB:System database", when given,
//    must name an existing file (its content is not read).
//  - everything else goes through ODBC (QODBC over unixODBC): "DSN=...", "DRIVER={...};...", a
//    DAO-style "ODBC;" prefix, or a bare "Data Source=" taken as a DSN. The database system the
//    driver names chooses the Dialect (PostgreSQL, MariaDB, SQL Server, the SQLite ODBC driver);
//    the driver options of Dialect::odbcDefaults() are added unless the string sets them.
// A value in a connection string may stand in double or single quotes (a doubled quote inside is
// one quote) and then holds ";" and blanks as they are.
// SQLite connections wait up to kBusyTimeoutMs for a lock held by another connection (hosts and
// engine share files). Their NOCASE is SQLite's own, so the file's indexes stay in the order
// every program searches them; a key compared without regard to case over all of Unicode goes
// through Dialect::caseBlindEquals.
//
// Errors reach the caller as vb::VbError (numbers in DataError.h) with the database's message.
//
// A server that closes or loses the connection (a restart, a killed session) fails the statement
// that meets it, with the database's message; the connection is then broken, and the next
// statement on it opens it again as it was opened, once, before it runs (a reopen that fails fails
// that statement and the next one tries again). A transaction is never carried across: once its
// connection is lost every statement of it fails and CommitTrans raises, RollbackTrans ends it
// quietly (nothing of it is on the server), and the statement after that reopens.
// Once one connection of the process found its server gone, every other server connection asks
// its own server ("SELECT 1") before its next statement and opens again when it is gone too: the
// loss fails one statement, not one per connection.
// Objects are held by std::shared_ptr; a Connection closes itself when the last reference goes.
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <vector>

#include "platform/data/Dialect.h"
#include "platform/data/Property.h"
#include "platform/data/Recordset.h"
#include "platform/data/ObjectTypes.h"
#include "platform/vb/Variant.h"

namespace data {


// `value` as it is written after "key=" when a connection string is built: as it is when plain,
// else between double quotes with every double quote doubled, so that a path holding ";" or a
// folder named like ";Provider=x" stays one value.
QString connectionValue(const QString& value);

// The statements of this process that failed because their server was lost (closed, gone, not
// reachable on reopening, or inside a transaction lost before), and the last one's message: a
// caller that traps its steps one by one tells by the count whether the database failed it.
struct ConnectionLosses {
  long count = 0;
  QString message;
};
ConnectionLosses connectionLosses();

class Connection : public QObject, public std::enable_shared_from_this<Connection> {
  Q_OBJECT
 public:
  static constexpr int kBusyTimeoutMs = 10000;

  Connection();
  ~Connection() override;

  Q_INVOKABLE QString Provider() const { return m_provider; }
  // Raises ErrObjectOpen while open; the text is checked at Open (ErrProviderNotFound).
  Q_INVOKABLE void let_Provider(const QString& provider);

  // The provider property of that name (without regard to case). A name the provider does not
  // know raises ErrItemNotFound; an unknown provider raises ErrProviderNotFound.
  Q_INVOKABLE std::shared_ptr<data::Property> Properties(const QString& name);

  // Opens the connection. `user` and `password` override "User ID"/"Password" of the string;
  // `options` is accepted for its place (every open is synchronous).
  Q_INVOKABLE void Open(const QString& connectionString, const QString& user = {},
                        const QString& password = {}, int options = -1);
  Q_INVOKABLE void Close();
  // 1 open, 0 closed.
  Q_INVOKABLE int State() const;

  // Runs one statement. A statement that returns rows gives an open, forward-only, read-only
  // record set; any other gives a closed one. `recordsAffected` receives the changed row count.
  Q_INVOKABLE std::shared_ptr<data::Recordset> Execute(const QString& commandText);
  std::shared_ptr<Recordset> Execute(const QString& commandText, long* recordsAffected, int options = -1);
  // The same with `values` bound in order to the statement's "?" placeholders.
  std::shared_ptr<Recordset> Execute(const QString& commandText, const Parameters& values,
                                     long* recordsAffected = nullptr, int options = -1);

  // The column of `table` named `column` (without regard to case), spelt as the table gives it;
  // empty when it has none. Tables the hosts built themselves may lack a column only our own
  // schema adds, or have columns of their own; code that can use one asks first. `table` is the
  // system's own name, never a caller's text.
  QString columnName(const QString& table, const QString& column);
  bool hasColumn(const QString& table, const QString& column) { return !columnName(table, column).isEmpty(); }

  // Adds the row `keyColumn` = `key`, `valueColumn` = `value` (both text columns; `value` as a
  // record set writes it, textColumnValue) to `table` unless the table holds a row with that key,
  // compared as the column compares. Where the table has a unique key on `keyColumn`, a row that
  // another connection adds at the same moment is found, never added twice nor failed on; without
  // one, two connections at the same moment may both add it (on the SQLite file they cannot).
  // Returns whether this call added the row. Database errors reach the caller.
  bool addUnlessPresent(const QString& table, const QString& keyColumn, const QString& key,
                        const QString& valueColumn, const vb::Variant& value);

  Q_INVOKABLE void BeginTrans();
  Q_INVOKABLE void CommitTrans();
  Q_INVOKABLE void RollbackTrans();

  // For the record sets of this layer.
  bool isSqlite() const { return m_sqlite; }
  // What differs on the database this connection reached (valid while open).
  const Dialect& dialect() const { return m_dialect; }
  QSqlDatabase database() const;  // raises ErrNoConnection when closed
  // A statement is about to run: a broken connection is opened again first, or, inside a lost
  // transaction, the statement fails.
  void statementStarts();
  // The message of a statement that failed with `error` (`query`, when there is one, as it
  // failed), with the driver's own text where Qt's has none. A failure that lost the connection
  // marks it broken.
  QString failure(const QSqlError& error, const QSqlQuery* query = nullptr);
  // Counts the reopenings: a query prepared before the last one is gone with its connection.
  int generation() const { return m_generation; }

 private:
  enum class ProviderKind { Jet, Odbc };
  ProviderKind providerKind(const QString& provider) const;
  void ensureProperties(ProviderKind kind);
  QString propertyText(const QString& name) const;
  void openJet(const QString& dataSource, const QString& systemDatabase);
  void openOdbc(const QString& odbcString, const QString& user, const QString& password);

  QString m_name;      // unique QSqlDatabase connection name
  QString m_provider;  // as assigned
  bool m_propertiesForJet = false;
  std::vector<std::shared_ptr<Property>> m_properties;
  bool m_open = false;
  bool m_sqlite = false;
  Dialect m_dialect;
  bool m_broken = false;       // the server closed or lost the connection
  bool m_suspect = false;      // another connection lost its server: asked before the next statement
  bool m_inTransaction = false;
  QString m_lossMessage;       // what the statement that met the loss was told
  int m_generation = 0;
};

}  // namespace data
