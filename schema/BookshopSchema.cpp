#include "schema/BookshopSchema.h"

#include "schema/SqlScript.h"

namespace schema {

extern const char* const kBookshopSql;

QStringList bookshopStatements() { return scriptStatements(kBookshopSql); }

bool createBookshopDatabase(const QString& path, QString* error) {
  return runScript(path, bookshopStatements(), error);
}

}  // namespace schema
