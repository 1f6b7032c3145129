#include "platform/data/Field.h"

#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"

namespace data {

Recordset& Field::owner() const {
  if (!m_owner) raiseDataError(ErrObjectClosed);
  return *m_owner;
}

QString Field::Name() const {
  Recordset& rs = owner();
  rs.requireOpen();
  return rs.m_columns[m_index].name;
}

int Field::Type() const {
  Recordset& rs = owner();
  rs.requireOpen();
  return rs.typeCode(m_index);
}

vb::Variant Field::Value() const { return owner().readValue(m_index); }

void Field::let_Value(const vb::Variant& value) { owner().assignValue(m_index, value); }

std::shared_ptr<Field> FieldList::Item(const vb::Variant& index) const {
  if (index.isString()) {
    const QString name = index.value().toString();
    for (const auto& f : m_fields)
      if (f->Name().compare(name, Qt::CaseInsensitive) == 0) return f;
  } else if (index.isNumberType()) {
    const int i = vb::CLng(index);
    if (i >= 0 && i < Count()) return m_fields[static_cast<size_t>(i)];
  }
  raiseDataError(ErrItemNotFound);
}

}  // namespace data
