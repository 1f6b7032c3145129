#include "platform/vb/Format.h"

#include "platform/vb/Convert.h"

namespace vb {

QString Format(const Variant& value, const QString& pattern) {
  if (value.isNull() || value.isEmpty()) return {};
  if (pattern.isEmpty()) return CStr(value);
  if (value.isDate()) return formatDate(value.value().toDateTime(), pattern);
  return formatNumber(CDbl(value), pattern);
}

// The number and date patterns follow in the next change.
QString formatNumber(double value, const QString&) { return numberToText(value); }
QString formatDate(const QDateTime& value, const QString&) { return CStr(Variant(value)); }

}  // namespace vb
