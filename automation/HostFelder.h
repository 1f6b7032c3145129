#pragma once
// The Fields of a host's record source, read by name as a host's own record set, the data layer's
// Recordset or one living in the host's process behind the bridge all answer them: `Fields` with
// `Count` and `Item` from 0, each item with `Name`, `Type` and `Value`. Used by the declaration of
// generic form types and by their print-data handler, so both give a field the same report type.
#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/vb/Variant.h"

// The items of `quelle.Fields` in collection order. Errors of the source reach the caller.
QList<std::shared_ptr<QObject>> HostFelder(QObject& quelle);

QString HostFeldName(QObject& feld);

// The report type code of the field. A field of the data layer reports the data-access library's
// type codes (data::DataType: 11 Boolean, 7 Date, ...), the same for SQLite and ODBC sources;
// every other source, a host's own record set above all, reports the codes of the desktop
// database's record sets that GetLLFeldTyp reads (1 Boolean, 2 to 5 and 7 numbers, 8 Date).
std::int32_t HostFeldLLTyp(QObject& feld);

// The field's value.
vb::Variant HostFeldWert(QObject& feld);

// A value as the report reads it: Null and Empty as "", a truth value as "1" or "0" (the
// report's boolean reading; CStr would give "Wahr"), everything else as CStr gives it.
QString WertAlsText(const vb::Variant& wert);
