#pragma once
// A print-data handler for the tests of the handler-driven print and the designer, reached only
// by name as the dunning and form-type handlers are: it defines its head values and the current
// record of its record source (an in-memory clsDataCollection or a data::Recordset) through the
// control the window hands it, and keeps a line for every call.
#include <QObject>
#include <QStringList>
#include <memory>

#include "foundation/clsDataCollection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace enginetest {

class DruckdatenTestHandler : public QObject {
  Q_OBJECT

 public:
  // The record fields it defines, and the head variable "Mahnstufe".
  QStringList felder = {QStringLiteral("Name"), QStringLiteral("Betrag")};
  QString mahnstufe = QStringLiteral("2");
  QString titel = QStringLiteral("Mahnung");
  std::shared_ptr<QObject> daten;
  QStringList aufrufe;
  std::shared_ptr<QObject> ll;

  Q_INVOKABLE void set_LL(const std::shared_ptr<QObject>& control) {
    ll = control;
    aufrufe << QStringLiteral("LL");
  }
  Q_INVOKABLE std::shared_ptr<QObject> Data() const { return daten; }
  Q_INVOKABLE void DruckVariablenDefinieren() {
    aufrufe << QStringLiteral("DruckVariablenDefinieren");
    steuerung().DefineReportVariable(QStringLiteral("Mahnstufe"), mahnstufe, report::kTypeText);
  }
  // `AllesLeer` is not read, as in the handlers of the system; the record is always the current one.
  Q_INVOKABLE void DruckFelderDefinieren(const vb::Variant& AllesLeer,
                                         const vb::Variant& AusgabeFuerLabel = vb::Variant::missing()) {
    const bool label = AusgabeFuerLabel.isValue() && vb::CBool(AusgabeFuerLabel);
    aufrufe << QStringLiteral("DruckFelderDefinieren(%1%2)")
                   .arg(argument(AllesLeer), label ? QStringLiteral(", Label") : QString());
    // The record's columns under their own names, as variables for a label, else as fields.
    for (const QString& name : felder) {
      if (label)
        steuerung().DefineReportVariable(name, wert(name), report::kTypeText);
      else
        steuerung().DefineReportField(name, wert(name), report::kTypeText);
    }
  }
  Q_INVOKABLE QString FensterTitelEntwurf() const { return titel; }

 private:
  report::IReportControl& steuerung() const {
    auto* c = dynamic_cast<report::IReportControl*>(ll.get());
    if (!c) vb::raise(vb::ErrObjectNotSet);
    return *c;
  }

  // The field of the current record; empty where there is none.
  QString wert(const QString& name) const {
    if (auto* menge = dynamic_cast<clsDataCollection*>(daten.get())) {
      const DataRecordPtr satz = menge->objCurDataRecord();
      return satz && satz->Contains(name) ? vb::CStr(satz->Item(name)->Value) : QString();
    }
    if (auto* rs = dynamic_cast<data::Recordset*>(daten.get()))
      return rs->Eof() || rs->Bof() ? QString() : vb::CStr(rs->Fields(vb::Variant(name))->Value());
    return QString();
  }

  static QString argument(const vb::Variant& v) {
    if (v.isNothing()) return QStringLiteral("Nothing");
    return vb::CBool(v) ? QStringLiteral("True") : QStringLiteral("False");
  }
};

// An in-memory record set with `n` records: "Name" = "Kunde <k>", "Betrag" = 10 * k.
inline std::shared_ptr<clsDataCollection> datensaetze(int n) {
  auto menge = std::make_shared<clsDataCollection>();
  for (int k = 1; k <= n; ++k) {
    menge->AddNew();
    menge->let_DataValue(QStringLiteral("Name"), vb::Variant(report::kTypeText), vb::Variant(QStringLiteral("Kunde %1").arg(k)));
    menge->let_DataValue(QStringLiteral("Betrag"), vb::Variant(report::kTypeText), vb::Variant(QString::number(10 * k)));
    menge->Save();
  }
  return menge;
}

}  // namespace enginetest
