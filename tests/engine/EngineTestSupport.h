#pragma once
// Fixtures shared by the engine's tests: the debug log of tests/support, a fake printer
// catalogue installed for the test's lifetime, and a form database made from the host schema and
// reached through group 4 of the global connection handler.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <memory>

#include "foundation/clsConnectionHandler.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/printing/FakePrinterCatalogue.h"
#include "platform/vb/Convert.h"
#include "schema/HostSchema.h"
#include "tests/support/DebugLog.h"
#include "tests/support/TempDir.h"

namespace enginetest {

// Every row of `sql` on `con`, each as its values joined by "|" (Null as "NULL").
inline QStringList zeilen(data::Connection& con, const QString& sql) {
  QStringList out;
  auto rs = con.Execute(sql);
  while (!rs->Eof()) {
    QStringList values;
    const auto fields = rs->Fields();
    for (int i = 0; i < fields->Count(); ++i) {
      const vb::Variant v = fields->Item(vb::Variant(i))->Value();
      values << (v.isNull() ? QStringLiteral("NULL") : vb::CStr(v));
    }
    out << values.join(QLatin1Char('|'));
    rs->MoveNext();
  }
  return out;
}

using testsupport::DebugLog;

// Installs a FakePrinterCatalogue and goes back to CUPS when the test ends.
class FakeCatalogue {
 public:
  FakeCatalogue() : m_fake(std::make_shared<printing::FakePrinterCatalogue>()) { printing::setCatalogue(m_fake); }
  ~FakeCatalogue() { printing::setCatalogue(nullptr); }
  FakeCatalogue(const FakeCatalogue&) = delete;
  FakeCatalogue& operator=(const FakeCatalogue&) = delete;

  printing::FakePrinterCatalogue* operator->() const { return m_fake.get(); }

 private:
  std::shared_ptr<printing::FakePrinterCatalogue> m_fake;
};

// A printer with bins named `bins`, numbered 1..n, whose default bin is `currentBin`.
inline printing::PrinterInfo printer(const QString& name, const QStringList& bins = {}, int currentBin = 0) {
  printing::PrinterInfo p;
  p.deviceName = name;
  p.port = QStringLiteral("file:///dev/null");
  p.currentBin = currentBin;
  for (int i = 0; i < bins.size(); ++i) p.bins.append({i + 1, bins.at(i), bins.at(i)});
  p.binOption = QStringLiteral("InputSlot");
  return p;
}

// An SQLite form database from the host schema, set as group 4 of the global connection handler
// for the test's lifetime.
class FormDatabase {
 public:
  FormDatabase() {
    QString error;
    const QString path = m_dir.file(QStringLiteral("Formulare.mdb"));
    if (!schema::createHostDatabase(path, &error)) ADD_FAILURE() << error.toStdString();
    m_connection = std::make_shared<data::Connection>();
    m_connection->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    m_connection->Open(QStringLiteral("Data Source=") + path);
    m_handler = std::make_shared<clsConnectionHandler>();
    m_handler->set_SQLGruppe_Connection(4, vb::Variant(m_connection));
    SetGlobalConnectList(m_handler);
  }
  ~FormDatabase() {
    SetGlobalConnectList(nullptr);
    m_connection->Close();
  }
  FormDatabase(const FormDatabase&) = delete;
  FormDatabase& operator=(const FormDatabase&) = delete;

  void exec(const QString& sql) const { m_connection->Execute(sql); }

  // Every row of `sql`, each as its values joined by "|" (Null as "NULL").
  QStringList rows(const QString& sql) const { return zeilen(*m_connection, sql); }

  void addForm(int status, int nummer, const QString& columns = {}, const QString& values = {}) const {
    exec(QStringLiteral("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer%1) VALUES (%2, %3%4)")
             .arg(columns.isEmpty() ? QString() : QStringLiteral(", ") + columns)
             .arg(status)
             .arg(nummer)
             .arg(values.isEmpty() ? QString() : QStringLiteral(", ") + values));
  }

  // One route row; `drucker` and `schachtText` are SQL literals ('x' or NULL).
  void addRoute(const QString& rechner, int status, int nummer, int vonEx, int bisEx, int vonS, int bisS,
                const QString& drucker, int schachtNr = 0, const QString& schachtText = QStringLiteral("''"),
                bool letzteZuerst = false) const {
    exec(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (RechnerName, FormStatus, FormNummer, "
                        "VonExemplar, BisExemplar, VonSeite, BisSeite, Drucker, SchachtNr, SchachtText, "
                        "LetzteSeiteZuerst) VALUES ('%1', %2, %3, %4, %5, %6, %7, %8, %9, %10, %11)")
             .arg(QString(rechner).replace(QLatin1Char('\''), QStringLiteral("''")))
             .arg(status)
             .arg(nummer)
             .arg(vonEx)
             .arg(bisEx)
             .arg(vonS)
             .arg(bisS)
             .arg(drucker)
             .arg(schachtNr)
             .arg(schachtText)
             .arg(letzteZuerst ? -1 : 0));
  }

  const testsupport::TempDir& dir() const { return m_dir; }

 private:
  testsupport::TempDir m_dir;
  std::shared_ptr<data::Connection> m_connection;
  std::shared_ptr<clsConnectionHandler> m_handler;
};

}  // namespace enginetest
