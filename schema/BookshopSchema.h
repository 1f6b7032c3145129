#pragma once
// The SQLite schema of the bookshop's article database and data file (bookshop.sql, compiled in),
// read and written by the stock servers, with the saved query ArtikelBestelltVerplant.
#include <QString>
#include <QStringList>

namespace schema {

// The statements of bookshop.sql, in order, without comments.
QStringList bookshopStatements();

// The CREATE INDEX IF NOT EXISTS statements among them, in order.
QStringList bookshopIndexStatements();

// Creates the SQLite file `path` (and its folder) with every table of bookshop.sql and its saved
// queries; tables and saved queries that exist already are left as they are. Returns false with
// the reason in `error` on failure.
bool createBookshopDatabase(const QString& path, QString* error = nullptr);

}  // namespace schema
