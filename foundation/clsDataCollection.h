#pragma once
// An in-memory record set: a host fills it record by record (AddNew, DataValue per field, Save)
// and the engine walks it like a database record set (MoveFirst, EOF, MoveNext). Public creatable
// class; its members are reached late-bound by name. Every failure reaches the caller.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "foundation/clsListElement.h"
#include "platform/vb/Collection.h"
#include "platform/vb/Variant.h"

// One record: its fields keyed by field name (letter case ignored), Value the field's value and
// Value2 the second value given with it (the report field type where handlers pass one).
using DataRecord = vb::Collection<ListElementPtr>;
using DataRecordPtr = std::shared_ptr<DataRecord>;
Q_DECLARE_METATYPE(DataRecordPtr)

class clsDataCollection : public QObject {
  Q_OBJECT

 public:
  explicit clsDataCollection(QObject* parent = nullptr);

  // The current record; empty until the first AddNew or positioning.
  Q_INVOKABLE DataRecordPtr objCurDataRecord() const { return m_current; }
  Q_INVOKABLE void set_objCurDataRecord(DataRecordPtr record) { m_current = std::move(record); }

  // A new empty record becomes current; it joins the set only with Save. Cursor untouched.
  Q_INVOKABLE void AddNew();
  // Adds the current record to the set, under `RecordKey` unless that is empty (457 when the key
  // is taken). The record stays current, so later assignments change the saved record too.
  // Without a current record: 91.
  Q_INVOKABLE void Save(const vb::Variant& RecordKey = vb::Variant::missing());
  // Adds field `FeldName` = `value` with second value `Wert2` to the current record
  // (457 when the field is there already, 91 without a current record).
  Q_INVOKABLE void let_DataValue(const QString& FeldName, const vb::Variant& Wert2, const vb::Variant& value);

  Q_INVOKABLE bool MoveFirst();
  // Error 6 when the record number is 32767.
  Q_INVOKABLE bool MoveNext();
  Q_INVOKABLE bool MovePrev();
  // Makes the last record current (True); on an empty set sets EOF (False), as MoveFirst does.
  // Error 6 above 32767 records.
  Q_INVOKABLE bool MoveLast();
  // True after a positioning beyond the last record, until the next successful one. ("EOF" is a C
  // macro; late binding ignores letter case, so callers still say EOF.)
  Q_INVOKABLE bool Eof() const { return m_eof; }
  // Makes record n current (True); beyond the last record sets EOF, below 1 leaves it (False).
  Q_INVOKABLE bool RandomRecordNr(std::int16_t intRecordNr);
  // Error 6 above 32767 records.
  Q_INVOKABLE std::int16_t RecordCount() const;

 private:
  vb::Collection<DataRecordPtr> m_records;
  DataRecordPtr m_current;
  std::int16_t m_currentNr = 0;
  bool m_eof = false;
};
