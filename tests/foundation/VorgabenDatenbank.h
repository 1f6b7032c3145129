#pragma once
// A host database from the schema, opened the way hosts open it, with the settings table's rows
// as one text ("Key=Wert;...", Null as "<null>") for the settings tests.
#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "schema/HostSchema.h"
#include "tests/support/TempDir.h"

namespace testsupport {

class VorgabenDatenbank : public ::testing::Test {
 protected:
  void SetUp() override {
    QString error;
    file = dir.file(QStringLiteral("host.db"));
    ASSERT_TRUE(schema::createHostDatabase(file, &error)) << error.toStdString();
    con = std::make_shared<data::Connection>();
    con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    con->Open(QStringLiteral("Data Source=") + file);
  }
  void exec(const QString& sql) { con->Execute(sql); }
  // The settings table as a host's own database may have it: without the unique key, so a key
  // can stand in it twice.
  void ohneEindeutigenSchluessel() {
    exec(QStringLiteral("DROP TABLE Vorgaben"));
    exec(QStringLiteral("CREATE TABLE Vorgaben (ID INTEGER PRIMARY KEY AUTOINCREMENT, FeldName TEXT COLLATE NOCASE, Wert TEXT)"));
  }
  QString rows(const QString& where = QString()) {
    auto rs = con->Execute(QStringLiteral("SELECT FeldName, Wert FROM Vorgaben ") + where + QStringLiteral(" ORDER BY ID"));
    QStringList out;
    while (!rs->Eof()) {
      const vb::Variant w = rs->Fields(1)->Value();
      out << vb::CStr(rs->Fields(0)->Value()) + QLatin1Char('=') + (w.isNull() ? QStringLiteral("<null>") : vb::CStr(w));
      rs->MoveNext();
    }
    return out.join(QLatin1Char(';'));
  }

  TempDir dir;
  QString file;
  std::shared_ptr<data::Connection> con;
};

}  // namespace testsupport
