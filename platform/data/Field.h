#pragma once
// A column of a record set's current row: Name, Type (the data-access library's type codes),
// Value (read and assign). A field lives as long as someone holds it; once its record set is
// closed or gone, reading it raises ErrObjectClosed.
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "platform/data/ObjectTypes.h"
#include "platform/vb/Variant.h"

namespace data {

class Recordset;

// Field type codes as callers compare them (Field::Type).
enum DataType : int {
  adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6,
  adDate = 7, adBoolean = 11, adVariant = 12, adUnsignedTinyInt = 17, adBigInt = 20,
  adNumeric = 131, adVarWChar = 202, adLongVarWChar = 203, adLongVarBinary = 205,
};

class Field : public QObject {
  Q_OBJECT
 public:
  Field(Recordset* owner, int index) : m_owner(owner), m_index(index) {}

  Q_INVOKABLE QString Name() const;
  Q_INVOKABLE int Type() const;
  // The current row's value (Null for a database null). Raises ErrNoCurrentRecord at BOF/EOF.
  Q_INVOKABLE vb::Variant Value() const;
  // Assigns the value in the row being added or edited; written by Recordset::Update.
  Q_INVOKABLE void let_Value(const vb::Variant& value);

  void detach() { m_owner = nullptr; }

 private:
  Recordset& owner() const;
  Recordset* m_owner;
  int m_index;
};

// The Fields collection for callers that walk it by position (Count, Item from 0) or name.
class FieldList : public QObject {
  Q_OBJECT
 public:
  explicit FieldList(std::vector<std::shared_ptr<Field>> fields) : m_fields(std::move(fields)) {}
  Q_INVOKABLE int Count() const { return static_cast<int>(m_fields.size()); }
  // By position from 0 or by name without regard to case; ErrItemNotFound otherwise.
  Q_INVOKABLE std::shared_ptr<data::Field> Item(const vb::Variant& index) const;

 private:
  std::vector<std::shared_ptr<Field>> m_fields;
};

}  // namespace data
