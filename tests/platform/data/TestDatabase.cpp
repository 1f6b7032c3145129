#include "tests/platform/data/TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "platform/vb/VbError.h"
#include "schema/HostSchema.h"
#include "tests/support/ErrorOf.h"

namespace datatest {

QString makeHostDatabase(const testsupport::TempDir& dir, const QString& name) {
  const QString path = dir.file(name);
  QString error;
  if (!schema::createHostDatabase(path, &error)) ADD_FAILURE() << error.toStdString();
  return path;
}

std::shared_ptr<data::Connection> open(Road road, const QString& file) {
  auto con = std::make_shared<data::Connection>();
  if (road == Road::Jet) {
    con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    con->Open(QStringLiteral("Data Source=") + file);
  } else {
    con->Open(QStringLiteral("DRIVER={SQLite3};Database=") + file);
  }
  return con;
}

namespace {
template <typename F>
void withDatabase(const QString& file, F&& f) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("datatest-direct"));
    db.setDatabaseName(file);
    if (!db.open()) ADD_FAILURE() << db.lastError().text().toStdString();
    f(db);
    db.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("datatest-direct"));
}
}  // namespace

void exec(const QString& file, const QString& sql) {
  withDatabase(file, [&](QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec(sql)) ADD_FAILURE() << q.lastError().text().toStdString() << " in " << sql.toStdString();
  });
}

QString scalar(const QString& file, const QString& sql) {
  QString out;
  withDatabase(file, [&](QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec(sql)) ADD_FAILURE() << q.lastError().text().toStdString() << " in " << sql.toStdString();
    if (!q.next()) {
      out = QStringLiteral("<none>");
    } else {
      out = q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString();
    }
  });
  return out;
}

using testsupport::errorOf;

QString errorText(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::VbError& e) {
    return e.description();
  }
  return {};
}

}  // namespace datatest
