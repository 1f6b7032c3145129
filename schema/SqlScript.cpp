#include "schema/SqlScript.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace schema {

QStringList scriptStatements(const char* sql, bool forServer) {
  static const QString serverLine = QStringLiteral("--server:");
  QStringList statements;
  QString current;
  for (QString line : QString::fromUtf8(sql).split(QLatin1Char('\n'))) {
    if (forServer && line.trimmed().startsWith(serverLine)) line = line.trimmed().mid(serverLine.size());
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1String("--"))) continue;
    current += line + QLatin1Char('\n');
    if (t.endsWith(QLatin1Char(';'))) {
      statements << current.trimmed().chopped(1);
      current.clear();
    }
  }
  return statements;
}

bool runScript(const QString& path, const QStringList& statements, QString* error) {
  static std::atomic<int> counter{0};
  const QString name = QStringLiteral("skrivant-schema-%1").arg(++counter);
  QString failure;
  {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!db.open()) {
      failure = db.lastError().text();
    } else {
      // One transaction: all statements or none, and one write to disk instead of one per table.
      db.transaction();
      QSqlQuery q(db);
      for (const QString& statement : statements) {
        if (!q.exec(statement)) {
          failure = q.lastError().text() + QStringLiteral(" (") + statement.section(QLatin1Char('\n'), 0, 0) +
                    QLatin1Char(')');
          break;
        }
      }
      q.finish();
      if (failure.isEmpty() && !db.commit()) failure = db.lastError().text();
      if (!failure.isEmpty()) db.rollback();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  if (error) *error = failure;
  return failure.isEmpty();
}

}  // namespace schema
