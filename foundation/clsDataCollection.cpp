#include "foundation/clsDataCollection.h"

#include <limits>

#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

clsDataCollection::clsDataCollection(QObject* parent) : QObject(parent) {}

void clsDataCollection::AddNew() { m_current = std::make_shared<DataRecord>(); }

void clsDataCollection::Save(const vb::Variant& RecordKey) {
  if (!m_current) vb::raise(vb::ErrObjectNotSet);
  QString key;
  if (RecordKey.isValue()) key = vb::CStr(RecordKey);
  m_records.Add(m_current, key);
}

void clsDataCollection::let_DataValue(const QString& FeldName, const vb::Variant& Wert2, const vb::Variant& value) {
  if (!m_current) vb::raise(vb::ErrObjectNotSet);
  auto element = std::make_shared<clsListElement>();
  element->Key = FeldName;
  element->Value = value;
  element->Value2 = Wert2;
  m_current->Add(element, FeldName);
}

bool clsDataCollection::MoveFirst() { return RandomRecordNr(1); }

bool clsDataCollection::MoveNext() {
  if (m_currentNr == std::numeric_limits<std::int16_t>::max()) vb::raise(vb::ErrOverflow);
  return RandomRecordNr(static_cast<std::int16_t>(m_currentNr + 1));
}

bool clsDataCollection::MoveLast() {
  // Record 0 would leave the cursor where it is; an empty set has no last record to stand on.
  const std::int16_t letzter = RecordCount();
  if (letzter == 0) {
    m_eof = true;
    return false;
  }
  return RandomRecordNr(letzter);
}

bool clsDataCollection::MovePrev() { return RandomRecordNr(static_cast<std::int16_t>(m_currentNr - 1)); }

bool clsDataCollection::RandomRecordNr(std::int16_t intRecordNr) {
  if (intRecordNr > m_records.Count()) {
    m_eof = true;
    return false;
  }
  if (intRecordNr < 1) return false;
  m_current = m_records.Item(intRecordNr);
  m_currentNr = intRecordNr;
  m_eof = false;
  return true;
}

std::int16_t clsDataCollection::RecordCount() const {
  if (m_records.Count() > std::numeric_limits<std::int16_t>::max()) vb::raise(vb::ErrOverflow);
  return static_cast<std::int16_t>(m_records.Count());
}
