#include "automation/clsMahnDruckHandler.h"

#include <QDate>

#include "foundation/modDebugOutput.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace {

constexpr int kTypDatumTageszahl = 0x04000002;

QString typName(const vb::Variant& v) {
  if (v.isObject()) return v.isNothing() ? QStringLiteral("Nothing") : QStringLiteral("Object");
  switch (v.varType()) {
    case vb::VarType::Empty: return QStringLiteral("Empty");
    case vb::VarType::Null: return QStringLiteral("Null");
    case vb::VarType::Integer: return QStringLiteral("Integer");
    case vb::VarType::Long: return QStringLiteral("Long");
    case vb::VarType::Single: return QStringLiteral("Single");
    case vb::VarType::Double: return QStringLiteral("Double");
    case vb::VarType::Currency: return QStringLiteral("Currency");
    case vb::VarType::Date: return QStringLiteral("Date");
    case vb::VarType::String: return QStringLiteral("String");
    case vb::VarType::Boolean: return QStringLiteral("Boolean");
    case vb::VarType::Byte: return QStringLiteral("Byte");
    case vb::VarType::LongLong: return QStringLiteral("LongLong");
    default: return v.isMissing() ? QStringLiteral("Error") : QStringLiteral("Variant");
  }
}

// Booleans as the report's boolean reads them, everything else by the standard conversion.
QString alsText(const vb::Variant& wert) {
  if (wert.isBool()) return wert.value().toBool() ? QStringLiteral("1") : QStringLiteral("0");
  return vb::CStr(wert);
}

int alsTyp(const vb::Variant& typ) { return typ.isValue() ? vb::CLng(typ) : 0; }

}  // namespace

long Tageszahl(const QDateTime& datum) { return static_cast<long>(QDate(1899, 12, 30).daysTo(datum.date())); }

clsMahnDruckHandler::clsMahnDruckHandler() = default;

vb::Variant clsMahnDruckHandler::LL() const { return m_LL ? vb::Variant(m_LL) : vb::Variant::nothing(); }

void clsMahnDruckHandler::set_LL(const vb::Variant& control) {
  if (!control.isObject()) vb::raise(vb::ErrTypeMismatch);
  m_LL = control.object();
}

void clsMahnDruckHandler::set_Data(const vb::Variant& daten) {
  auto menge = daten.isObject() ? daten.objectAs<clsDataCollection>() : nullptr;
  if (!menge) vb::raise(vb::ErrTypeMismatch);
  m_Data = std::move(menge);
}

vb::Variant clsMahnDruckHandler::GetValue(const QString& strBez) const {
  if (!m_Werte || !m_Werte->Contains(strBez)) return {};
  return m_Werte->Item(strBez)->Value;
}

void clsMahnDruckHandler::AddValue(const QString& strBez, const vb::Variant& Wert) {
  // The copy number belongs to the print window; a stored one would make every copy the first.
  if (strBez.compare(QStringLiteral("Exemplar"), Qt::CaseInsensitive) == 0) {
    DebugOutput(QStringLiteral("AddValue: Exemplar wird vom Druckfenster gesetzt, Wert nicht übernommen"));
    return;
  }
  if (!m_Werte) m_Werte = std::make_unique<vb::Collection<ListElementPtr>>();
  vb::ignoreErrors([&] {
    if (m_Werte->Contains(strBez)) m_Werte->Remove(strBez);
  });
  auto eintrag = std::make_shared<clsListElement>();
  eintrag->Key = strBez;
  eintrag->Value = Wert;
  vb::ignoreErrors([&] {
    if (Wert.isString()) {
      eintrag->Value2 = report::kTypeText;
    } else if (Wert.isDate()) {
      eintrag->Value2 = kTypDatumTageszahl;
      eintrag->Value = vb::Variant(Tageszahl(Wert.value().toDateTime()));
    } else if (Wert.isBool()) {
      eintrag->Value2 = report::kTypeBoolean;
    } else if (Wert.isValue() && (Wert.varType() == vb::VarType::Double || Wert.varType() == vb::VarType::Integer ||
                                  Wert.varType() == vb::VarType::Long)) {
      eintrag->Value2 = report::kTypeNumeric;
    } else {
      ui::MsgBox(QStringLiteral("AddValue: Typ fehlt: ") + typName(Wert), ui::vbOKOnly);
    }
  });
  vb::ignoreErrors([&] { m_Werte->Add(eintrag, strBez); });
}

void clsMahnDruckHandler::definieren(bool alsFeld, const QString& name, const vb::Variant& wert,
                                     const vb::Variant& typ) const {
  auto* ll = dynamic_cast<report::IReportControl*>(m_LL.get());
  if (!ll) vb::raise(vb::ErrObjectNotSet);
  if (alsFeld)
    ll->DefineReportField(name, alsText(wert), alsTyp(typ));
  else
    ll->DefineReportVariable(name, alsText(wert), alsTyp(typ));
}

void clsMahnDruckHandler::anzahlDefinieren(bool alsFeld) const {
  definieren(alsFeld, QStringLiteral("AnzahlRechnungen"), vb::Variant(QString::number(m_Data->RecordCount())),
             vb::Variant(report::kTypeNumeric));
}

void clsMahnDruckHandler::DruckVariablenDefinieren() {
  if (m_Werte)
    for (const auto& e : *m_Werte) definieren(false, e.value->Key, e.value->Value, e.value->Value2);
  anzahlDefinieren(false);
}

void clsMahnDruckHandler::DruckFelderDefinieren(const vb::Variant&, const vb::Variant&) {
  if (const DataRecordPtr satz = m_Data->objCurDataRecord())
    for (const auto& e : *satz) definieren(true, e.value->Key, e.value->Value, e.value->Value2);
  if (m_Werte)
    for (const auto& e : *m_Werte) definieren(true, e.value->Key, e.value->Value, e.value->Value2);
  anzahlDefinieren(true);
}
