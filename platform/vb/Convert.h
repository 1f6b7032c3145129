#pragma once
// VB conversions with their run-time errors: Null where a value is needed raises 94, a text that
// is no number raises 13, an Integer (16-bit) or Byte out of range raises 6. True is -1.
// Numbers and dates are read and written the German way (see Locale.h).
#include <QDateTime>
#include <QString>
#include <cstdint>

#include "platform/vb/Variant.h"

namespace vb {

constexpr int True = -1;
constexpr int False = 0;

QString CStr(const Variant& v);
double CDbl(const Variant& v);
std::int16_t CInt(const Variant& v);   // rounds half to even, like VB
std::int32_t CLng(const Variant& v);
std::uint8_t CByte(const Variant& v);
bool CBool(const Variant& v);
QDateTime CDate(const Variant& v);
// What an object parameter or a Set takes: the object, or null for Nothing. Any other value
// (Empty, Null, a text, a number) raises 13, as the run time refused it.
std::shared_ptr<QObject> objectOrNothing(const Variant& v);

// Text for a number the way CStr writes it: German decimal comma, no grouping, up to 15 digits.
QString numberToText(double d);

bool IsNull(const Variant& v);
bool IsEmpty(const Variant& v);
bool IsMissing(const Variant& v);
bool IsNumeric(const Variant& v);
bool IsDate(const Variant& v);

// Val: leading blanks skipped, reads digits with a decimal point only, stops at the first other
// character; "&H" hex and "&O" octal prefixes; never raises.
double Val(const QString& text);

// a / b as the run time divides: a zero divisor raises 11 (6 when a is 0 too), and a quotient
// beyond the Double range raises 6, so no infinity or NaN reaches a text.
double divide(double a, double b);

// VB's comparison with Option Compare Text: numbers as numbers, a number and a numeric text as
// numbers, texts without regard to case, Empty as 0 or "". Null raises 94; a number against a
// text that is no number raises 13. Returns -1, 0 or 1.
int compare(const Variant& a, const Variant& b);

// Text comparisons of the system: without regard to case over all of Unicode.
bool textEquals(const QString& a, const QString& b);
// Position (from 1) of `needle` in `hay` from `start`, ignoring case; 0 when absent.
// An empty needle is found at `start` (VB InStr).
int InStr(int start, const QString& hay, const QString& needle);
inline int InStr(const QString& hay, const QString& needle) { return InStr(1, hay, needle); }
// Replace every occurrence of `find` ignoring case (VB Replace with vbTextCompare).
QString replaceText(const QString& text, const QString& find, const QString& with);

// Days since 30.12.1899, the serial form of a date where a number is needed.
double toOleDate(const QDateTime& d);
QDateTime fromOleDate(double serial);

}  // namespace vb
