#pragma once
// VB's Format for the patterns the system uses:
//   numbers: "#,##0.00", "#,##0.00#", "#,#0.0%", "#,##0", "000", "0.0##############", "0.00", "0";
//            sections separated by ";" (positive;negative;zero, an empty section takes the first);
//            literal text in quotes or after "\";
//   dates:   "dd.mm.yyyy", "dd.mm.yy", "hh:mm", "hh:mm:ss", "yyyymmdd", "yyyy", "mm", "dd" and their
//            combinations (letter case ignored; "m" after an hour or before a second is the minute);
//   ""      the general form (CStr of the value).
// Numbers are taken at 15 significant digits and rounded half away from zero on that decimal value
// (2.675 with two places is 2,68); a value that rounds to zero never prints with a minus sign.
// A date with a number pattern gives its serial, a number with a date pattern the date of that
// serial; a text is read as a date or a number, else returned unchanged. Null and Empty give "".
// Decimal and grouping characters come from systemLocale(), never from LANG or QLocale's default.
#include <QString>

#include "platform/vb/Variant.h"

namespace vb {

QString Format(const Variant& value, const QString& pattern = {});
QString formatNumber(double value, const QString& pattern);
QString formatDate(const QDateTime& value, const QString& pattern);

}  // namespace vb
