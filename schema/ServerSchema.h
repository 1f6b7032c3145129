#pragma once
// The schema on a database server: host.sql and bookshop.sql are the one definition, written
// for SQLite; for PostgreSQL and MariaDB each statement is put into the server's words here.
//
//  - Names are created unquoted (PostgreSQL folds them to lower case, as it folds the names in
//    the programs' statements); a name with a blank ([Artikel Einkauf]) is quoted as the data
//    layer quotes it.
//  - Text keys that SQLite compares with NOCASE are case-insensitive on the server too:
//    PostgreSQL's citext (equality stays indexable, LIKE ignores case as Jet's did), MariaDB's
//    VARCHAR(255) with utf8mb4_uca1400_nopad_as_ci (accents count, trailing blanks count). Other
//    texts compare exactly (MariaDB utf8mb4_nopad_bin) and hold any length, but for one an index
//    covers: VARCHAR(255) on MariaDB, which indexes only a prefix of a longer text.
//  - Yes/No is BOOLEAN (MariaDB's TINYINT(1)), Double DOUBLE PRECISION, dates TIMESTAMP/DATETIME,
//    an AUTOINCREMENT key an identity / AUTO_INCREMENT column.
//  - Lines "--server: <statement>;" of the .sql files are statements for the servers only (the
//    indexes on the keys the look-ups search; on SQLite those columns carry NOCASE, which no
//    index of SQLite's own may follow).
//  - The saved query ArtikelBestelltVerplant is SQLite's row of SavedQueries; on the servers it
//    is bookshop.postgresql.sql's function or bookshop.mariadb.sql's procedure.
#include <QString>
#include <QStringList>

#include "platform/data/Dialect.h"

namespace data { class Connection; }

namespace schema {

enum class Tables { Host, Bookshop };

// The statements that create `tables` on a database of `kind` (the SQLite file or the SQLite ODBC
// driver, PostgreSQL, MariaDB), in order. Empty for a server this schema is not made for.
QStringList statementsFor(Tables tables, data::Dialect::Kind kind);

// Creates `tables` on the database `con` is open on; tables and indexes that exist are kept. False
// with the reason in `error` when a statement fails, the server is not one this schema is made for,
// or the database holds tables of the other kind (host tables and bookshop tables are two
// databases: both define Artikel and Vorgaben).
bool createTables(data::Connection& con, Tables tables, QString* error = nullptr);

}  // namespace schema
