#pragma once
// A hand-over database for the tests of the row walk: an SQLite file made from the host schema,
// rows written into PrintInputTabelle, and the table read back the way the document print reads
// it (LongKey order, dynamic cursor, optimistic lock).
#include <gtest/gtest.h>

#include <QString>
#include <memory>

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Variant.h"
#include "schema/HostSchema.h"
#include "tests/support/TempDir.h"

namespace enginetest {

class UebergabeTabelle {
 public:
  UebergabeTabelle() {
    const QString path = m_dir.file(QStringLiteral("Uebergabe.mdb"));
    QString error;
    if (!schema::createHostDatabase(path, &error)) ADD_FAILURE() << error.toStdString();
    m_con = std::make_shared<data::Connection>();
    m_con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    m_con->Open(QStringLiteral("Data Source=") + path);
  }
  ~UebergabeTabelle() { m_con->Close(); }
  UebergabeTabelle(const UebergabeTabelle&) = delete;
  UebergabeTabelle& operator=(const UebergabeTabelle&) = delete;

  // One row; `spalten` and `werte` as in an INSERT ("Feld1, EP", "'01', 1.5").
  void zeile(const QString& spalten, const QString& werte) const {
    m_con->Execute(QStringLiteral("INSERT INTO PrintInputTabelle (%1) VALUES (%2)").arg(spalten, werte));
  }

  // The rows, standing on the first; `auswahl` picks the columns.
  std::shared_ptr<data::Recordset> lesen(const QString& auswahl = QStringLiteral("*")) const {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(QStringLiteral("SELECT %1 FROM PrintInputTabelle ORDER BY LongKey").arg(auswahl), vb::Variant(m_con),
             data::adOpenDynamic, data::adLockOptimistic);
    return rs;
  }

  const std::shared_ptr<data::Connection>& connection() const { return m_con; }

 private:
  testsupport::TempDir m_dir;
  std::shared_ptr<data::Connection> m_con;
};

}  // namespace enginetest
