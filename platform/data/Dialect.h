#pragma once
// What differs between the databases the layer reaches, in one place, chosen from the open
// connection's driver. The system's SQL text is written for Jet; where a server does not accept
// it, the statement is put into the server's words here, never in the callers.
//
//  - Jet road (the SQLite file): Jet's LIKE wildcards "*" and "?" become SQLite's; Yes/No is -1/0.
//  - PostgreSQL (psqlODBC): the schema's names are created unquoted and fold to lower case, so a
//    quoted name is folded the same way (ASCII letters only, as the server folds); a result's
//    columns get back the spelling the statement gives them. Jet's bracketed names become quoted
//    ones; Yes/No is the boolean type; an added row's key comes back through RETURNING; a saved
//    query is a function, called as "SELECT * FROM f(?)".
//  - MariaDB (Connector/ODBC): names in back quotes, as created; Yes/No is TINYINT(1), found in
//    the catalogue because the driver reports it as a plain small number; keys come from
//    LAST_INSERT_ID() and the catalogue; a saved query is a procedure, "CALL p(?)". An UPDATE
//    counts only the rows it changed, so a row given its own values is looked for before it is
//    taken as gone. Texts are bound as UTF-8 bytes: bound as wide text, every value reached the
//    server with a NUL at its end (Qt 6.4's ODBC driver counts the terminator); and they are
//    read as UTF-8 bytes too (readsTextAsBytes), so the connection's character set is utf8mb4,
//    the driver's own.
//  - SQL Server (FreeTDS), as the system always ran it: [names], @@IDENTITY, "{CALL p(?)}".
//    Not tested here.
//  - The SQLite ODBC driver: as SQL Server but for last_insert_rowid().
//
// A text that a database cannot hold is refused with an error that says so, never cut or
// changed: half a UTF-16 surrogate pair on every road (each stores UTF-8, where it has no form;
// SQLite would turn it and its neighbour into other characters), a NUL on every ODBC road
// (PostgreSQL cannot store one, Connector/ODBC reads a text only up to its first NUL and psqlODBC
// cuts it there). The SQLite file keeps a NUL as it is.
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

#include "platform/vb/Variant.h"

namespace data {

class Dialect {
 public:
  enum class Kind { Jet, SqliteOdbc, PostgreSql, MariaDb, SqlServer, OtherOdbc };

  explicit Dialect(Kind kind = Kind::Jet) : m_kind(kind) {}
  // The dialect of an open QODBC connection, from the database system its driver names.
  static Dialect ofOdbc(const QSqlDatabase& db);

  Kind kind() const { return m_kind; }
  bool isJet() const { return m_kind == Kind::Jet; }

  // `name` (a table or column) quoted as this server finds the schema's names.
  QString identifier(const QString& name) const;
  // The system's statement in this server's words: Jet's [bracketed names] quoted as the server
  // quotes them, and on the Jet road Jet's LIKE wildcards. Texts between apostrophes are kept.
  QString statement(const QString& sql) const;
  // The names of a result's columns as `sql` spells them, by the name the server hands back:
  // PostgreSQL gives an unquoted name in lower case ("kunde" for "SELECT Kunde …"), the other
  // roads as written. Empty where nothing needs restoring.
  QHash<QString, QString> columnSpellings(const QString& sql) const;
  // The WHERE term "`column` equals `value` without regard to case over all of Unicode" ("Ä" =
  // "ä", as the Jet databases compared keys), through the column's index; the values it binds
  // are appended to `values`. On a server and for ASCII text it is "column=?" (the server's
  // case-blind type or collation, SQLite's own NOCASE). For other text on the SQLite file, whose
  // NOCASE folds ASCII letters only, the term reads the index range of the rows that can equal
  // it (its ASCII start followed by a non-ASCII character, as many characters as it has) and
  // compares those with the connection's own collation. The SQLite ODBC driver has SQLite's
  // NOCASE only.
  QString caseBlindEquals(const QString& column, const QString& value, std::vector<vb::Variant>& values) const;
  // A LIKE pattern written with Jet's wildcards ("*AdressNr") in the form this road takes.
  QString likePattern(const QString& jetPattern) const;
  // The statement that runs saved query `name` with `arguments` bound arguments ("?").
  QString savedQueryCall(const QString& name, int arguments) const;

  // A value as it is bound to a "?": texts checked (raises ErrDatabase for what the server
  // cannot keep) and on MariaDB turned into UTF-8 bytes; a truth value as this server's Yes/No.
  QVariant bindValue(const QVariant& value) const;
  // Yes/No as written: -1/0, or a boolean on PostgreSQL.
  QVariant yesNo(bool value) const;

  // Whether the layer reads text columns itself, as the UTF-8 bytes the server sends (MariaDB):
  // Connector/ODBC at times counts a text that holds characters outside the Basic Multilingual
  // Plane two bytes short when it hands it over as UTF-16, and Qt's driver cuts it there.
  bool readsTextAsBytes() const { return m_kind == Kind::MariaDb; }

  // Whether an UPDATE reports the rows it changed rather than those it found (MariaDB without
  // the connector's "found rows" option): a row set to the values it has counts 0 there.
  bool countsChangedRowsOnly() const { return m_kind == Kind::MariaDb; }

  // Options of this server's ODBC driver that a connection string gets unless it sets them.
  // psqlODBC: Yes/No read as Yes/No (BoolsAsChar=0), and values put into the statement by the
  // driver (UseServerSidePrepare=0): prepared on the server, every statement cost three round
  // trips (parse, execute, deallocate), half the time of a look-up; the values go as untyped
  // literals, so a case-insensitive key keeps its index.
  QList<std::pair<QString, QString>> odbcDefaults() const;

  // The statement that adds a row of defaults to `quotedTable`.
  QString insertDefaults(const QString& quotedTable) const;
  // What an INSERT that lets the database number `keyColumn` appends so the number comes back
  // as a row (PostgreSQL: " RETURNING key"); empty where generatedKey() asks afterwards.
  QString returningKey(const QString& keyColumn) const;
  // The number the database gave the row just inserted on `db` (on SQLite its rowid, 0 too);
  // invalid when unknown.
  QVariant generatedKey(const QSqlDatabase& db) const;
  // The primary key columns of `table`, in key order; empty when it has none. A server's
  // catalogue is asked once per table and kept.
  QStringList primaryKey(const QSqlDatabase& db, const QString& table) const;
  // The names of the tables of the database `db` is connected to (PostgreSQL: in its search
  // path), as the catalogue spells them.
  QStringList tableNames(const QSqlDatabase& db) const;
  // Whether `column` of `table` is a Yes/No column the driver reports as a small number
  // (MariaDB's TINYINT(1)). Asked once per table and kept.
  bool isYesNo(const QSqlDatabase& db, const QString& table, const QString& column) const;

 private:
  Kind m_kind;
  mutable QHash<QString, QSet<QString>> m_yesNoColumns;  // lower-case table -> lower-case columns
  mutable QHash<QString, QStringList> m_primaryKeys;     // lower-case table -> key columns
};

}  // namespace data
