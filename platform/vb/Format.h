#pragma once
// VB's Format for the patterns the system uses:
//   numbers: "#,##0.00", "#,##0.00#", "#,#0.0%", "000", "0.0##############", "0.00", "0", sections
//            separated by ";" (positive;negative;zero), literal text in quotes or after "\";
//   dates:   "dd.mm.yyyy", "hh:mm", "hh:mm:ss", "yyyymmdd", "yyyy", "mm", "dd" and their combinations
//            (letter case ignored; "mm" after "hh" means minutes);
//   ""      the general form (CStr of the value).
// Rounding is half away from zero; a value that rounds to zero never prints with a minus sign.
// Decimal and grouping characters come from systemLocale().
#include <QString>

#include "platform/vb/Variant.h"

namespace vb {

QString Format(const Variant& value, const QString& pattern = {});
QString formatNumber(double value, const QString& pattern);
QString formatDate(const QDateTime& value, const QString& pattern);

}  // namespace vb
