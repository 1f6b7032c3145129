#pragma once
// What a record set holds, as a test compares it: one text a row.
#include <QStringList>

#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"

namespace testsupport {

// The rows from the current one to the end, each as its values joined by "|" (Null as "NULL").
inline QStringList recordRows(data::Recordset& rs) {
  QStringList out;
  for (; !rs.Eof(); rs.MoveNext()) {
    QStringList row;
    for (int i = 0; i < rs.Fields()->Count(); ++i) {
      const vb::Variant v = rs.Fields(vb::Variant(i))->Value();
      row << (v.isNull() ? QStringLiteral("NULL") : vb::CStr(v));
    }
    out << row.join(QLatin1Char('|'));
  }
  return out;
}

}  // namespace testsupport
