#include "schema/BookshopSchema.h"

#include <QRegularExpression>

#include "schema/SqlScript.h"

namespace schema {

extern const char* const kBookshopSql;

QStringList bookshopStatements() { return scriptStatements(kBookshopSql); }

QStringList bookshopIndexStatements() {
  return bookshopStatements().filter(QRegularExpression(QStringLiteral(R"(^CREATE\s+INDEX\b)"),
                                                         QRegularExpression::CaseInsensitiveOption));
}

bool createBookshopDatabase(const QString& path, QString* error) {
  return runScript(path, bookshopStatements(), error);
}

}  // namespace schema
