#include "platform/vb/Convert.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/vb/Locale.h"
#include "platform/vb/VbError.h"

namespace vb {

namespace {

const QDateTime& oleEpoch() {
  static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
  return epoch;
}

// "&H1F" or "&O17" at `i`; `i` moves past the digits read. As in VB, up to four hex digits are an
// Integer and up to eight a Long, so "&HFFFF" is -1. Empty when no digit follows the prefix.
std::optional<double> readRadixNumber(const QString& text, qsizetype& i) {
  if (i + 1 >= text.size() || text[i] != QLatin1Char('&')) return std::nullopt;
  const QChar kind = text[i + 1].toUpper();
  const int base = kind == QLatin1Char('H') ? 16 : (kind == QLatin1Char('O') ? 8 : 0);
  if (base == 0) return std::nullopt;
  qsizetype j = i + 2;
  quint64 value = 0;
  bool any = false;
  for (; j < text.size(); ++j) {
    const char c = text[j].toLower().toLatin1();
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0 || digit >= base) break;
    if (value > (std::numeric_limits<quint64>::max() >> 4)) break;  // more digits than a number holds
    value = value * base + digit;
    any = true;
  }
  if (!any) return std::nullopt;
  i = j;
  if (value <= 0xFFFF) return static_cast<double>(static_cast<qint16>(value));
  if (value <= 0xFFFFFFFF) return static_cast<double>(static_cast<qint32>(value));
  return static_cast<double>(value);
}

// German number text: blanks around, sign, digits with '.' grouping, ',' decimal, exponent.
std::optional<double> parseNumberText(const QString& raw) {
  QString s = raw.trimmed();
  if (s.isEmpty()) return std::nullopt;
  if (s.startsWith(QLatin1Char('&'))) {
    qsizetype end = 0;
    const auto v = readRadixNumber(s, end);
    if (v && end == s.size()) return v;
    return std::nullopt;
  }
  const QChar dec = decimalSeparator();
  const QChar grp = groupSeparator();
  QString plain;
  plain.reserve(s.size());
  int i = 0;
  bool negative = false;
  if (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')) {
    negative = s[i] == QLatin1Char('-');
    ++i;
    while (i < s.size() && s[i].isSpace()) ++i;
  }
  bool digits = false, seenDecimal = false;
  for (; i < s.size(); ++i) {
    const QChar c = s[i];
    if (c.isDigit()) {
      plain += c;
      digits = true;
    } else if (c == grp && !seenDecimal) {
      continue;  // VB accepts grouping characters anywhere in the integer part
    } else if (c == dec && !seenDecimal) {
      plain += QLatin1Char('.');
      seenDecimal = true;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
    QString exp = s.mid(i + 1);
    static const QRegularExpression expRe(QStringLiteral("^[+-]?\\d+$"));
    if (!expRe.match(exp).hasMatch()) return std::nullopt;
    plain += QLatin1Char('e') + exp;
    i = s.size();
  }
  if (i != s.size()) return std::nullopt;
  bool ok = false;
  double d = plain.toDouble(&ok);
  if (!ok) return std::nullopt;
  return negative ? -d : d;
}

std::optional<QDateTime> parseDateText(const QString& raw) {
  const QString s = raw.trimmed();
  static const char* const patterns[] = {"d.M.yyyy H:mm:ss", "d.M.yyyy H:mm", "d.M.yyyy", "d.M.yy",
                                         "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd",
                                         "d/M/yyyy"};
  for (const char* p : patterns) {
    QDateTime d = QDateTime::fromString(s, QString::fromLatin1(p));
    if (d.isValid()) {
      if (QString::fromLatin1(p).endsWith(QLatin1String("yy")) &&
          !QString::fromLatin1(p).endsWith(QLatin1String("yyyy")) && d.date().year() < 1930)
        d = d.addYears(100);
      return d;
    }
  }
  for (const char* p : {"H:mm:ss", "H:mm"}) {
    QTime t = QTime::fromString(s, QString::fromLatin1(p));
    if (t.isValid()) return QDateTime(oleEpoch().date(), t);
  }
  return std::nullopt;
}

double roundHalfEven(double d) { return std::nearbyint(d); }

[[noreturn]] void typeMismatch() { raise(ErrTypeMismatch); }

}  // namespace

QString numberToText(double d) {
  if (d == 0) return QStringLiteral("0");
  QString s = QString::number(d, 'g', 15);
  const int e = s.indexOf(QLatin1Char('e'));
  if (e >= 0) {
    // 1e+16 -> 1E+16, 1e-05 -> 1E-05
    QString mant = s.left(e);
    QString exp = s.mid(e + 1);
    const QChar sign = exp[0];
    exp = exp.mid(1);
    while (exp.size() < 2) exp.prepend(QLatin1Char('0'));
    s = mant + QLatin1Char('E') + sign + exp;
  }
  s.replace(QLatin1Char('.'), decimalSeparator());
  return s;
}

QString CStr(const Variant& v) {
  switch (v.marker()) {
    case Variant::Marker::Empty: return {};
    case Variant::Marker::Null: raise(ErrInvalidNull);
    case Variant::Marker::Missing:
    case Variant::Marker::Object: typeMismatch();
    case Variant::Marker::Value: break;
  }
  const QVariant& q = v.value();
  switch (q.typeId()) {
    case QMetaType::Bool: return q.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::Short:
    case QMetaType::UChar:
    case QMetaType::Int:
    case QMetaType::LongLong: return QString::number(q.toLongLong());
    case QMetaType::Double: return numberToText(q.toDouble());
    case QMetaType::QDateTime: {
      const QDateTime d = q.toDateTime();
      if (d.date() == oleEpoch().date()) return d.time().toString(QStringLiteral("HH:mm:ss"));
      if (d.time() == QTime(0, 0)) return d.date().toString(QStringLiteral("dd.MM.yyyy"));
      return d.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    default:
      if (v.isCurrency()) return numberToText(q.value<Currency>().toDouble());
      return q.toString();
  }
}

double CDbl(const Variant& v) {
  switch (v.marker()) {
    case Variant::Marker::Empty: return 0;
    case Variant::Marker::Null: raise(ErrInvalidNull);
    case Variant::Marker::Missing:
    case Variant::Marker::Object: typeMismatch();
    case Variant::Marker::Value: break;
  }
  const QVariant& q = v.value();
  switch (q.typeId()) {
    case QMetaType::Bool: return q.toBool() ? -1.0 : 0.0;
    case QMetaType::Short:
    case QMetaType::UChar:
    case QMetaType::Int:
    case QMetaType::LongLong: return static_cast<double>(q.toLongLong());
    case QMetaType::Double: return q.toDouble();
    case QMetaType::QDateTime: return toOleDate(q.toDateTime());
    default: {
      if (v.isCurrency()) return q.value<Currency>().toDouble();
      const QString s = q.toString();
      if (auto d = parseNumberText(s)) return *d;
      if (s.trimmed().compare(QLatin1String("Wahr"), Qt::CaseInsensitive) == 0 ||
          s.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return -1;
      if (s.trimmed().compare(QLatin1String("Falsch"), Qt::CaseInsensitive) == 0 ||
          s.trimmed().compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return 0;
      typeMismatch();
    }
  }
}

std::int16_t CInt(const Variant& v) {
  const double r = roundHalfEven(CDbl(v));
  if (r < -32768.0 || r > 32767.0 || std::isnan(r)) raise(ErrOverflow);
  return static_cast<std::int16_t>(r);
}

std::int32_t CLng(const Variant& v) {
  const double r = roundHalfEven(CDbl(v));
  if (r < -2147483648.0 || r > 2147483647.0 || std::isnan(r)) raise(ErrOverflow);
  return static_cast<std::int32_t>(r);
}

std::uint8_t CByte(const Variant& v) {
  const double r = roundHalfEven(CDbl(v));
  if (r < 0 || r > 255 || std::isnan(r)) raise(ErrOverflow);
  return static_cast<std::uint8_t>(r);
}

bool CBool(const Variant& v) {
  if (v.isValue() && v.isString()) {
    const QString s = v.value().toString().trimmed();
    if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
        s.compare(QLatin1String("Wahr"), Qt::CaseInsensitive) == 0)
      return true;
    if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
        s.compare(QLatin1String("Falsch"), Qt::CaseInsensitive) == 0)
      return false;
  }
  if (v.isBool()) return v.value().toBool();
  return CDbl(v) != 0;
}

std::shared_ptr<QObject> objectOrNothing(const Variant& v) {
  if (!v.isObject()) typeMismatch();
  return v.object();
}

QDateTime CDate(const Variant& v) {
  switch (v.marker()) {
    case Variant::Marker::Empty: return oleEpoch();
    case Variant::Marker::Null: raise(ErrInvalidNull);
    case Variant::Marker::Missing:
    case Variant::Marker::Object: typeMismatch();
    case Variant::Marker::Value: break;
  }
  if (v.isDate()) return v.value().toDateTime();
  if (v.isString()) {
    const QString s = v.value().toString();
    if (auto d = parseDateText(s)) return *d;
    // A number text is a serial; one beyond the serial range ("31.02.2023" reads as a grouped
    // number) is no date at all.
    if (auto n = parseNumberText(s); n && std::abs(*n) <= 2958465.0) return fromOleDate(*n);
    typeMismatch();
  }
  return fromOleDate(CDbl(v));
}

bool IsNull(const Variant& v) { return v.isNull(); }
bool IsEmpty(const Variant& v) { return v.isEmpty(); }
bool IsMissing(const Variant& v) { return v.isMissing(); }

bool IsNumeric(const Variant& v) {
  switch (v.marker()) {
    case Variant::Marker::Empty: return true;
    case Variant::Marker::Value: break;
    default: return false;
  }
  if (v.isDate()) return false;
  if (v.isString()) return parseNumberText(v.value().toString()).has_value();
  return true;
}

bool IsDate(const Variant& v) {
  if (v.isDate()) return true;
  if (v.isString()) return parseDateText(v.value().toString()).has_value();
  return false;
}

double divide(double a, double b) {
  if (b == 0) raise(a == 0 ? ErrOverflow : ErrDivisionByZero);
  const double q = a / b;
  if (!std::isfinite(q)) raise(ErrOverflow);
  return q;
}

double Val(const QString& text) {
  int i = 0;
  const int n = text.size();
  auto skipBlanks = [&] {
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                     text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
      ++i;
  };
  skipBlanks();
  if (i < n && text[i] == QLatin1Char('&')) {
    qsizetype at = i;
    return readRadixNumber(text, at).value_or(0.0);
  }
  // VB's Val ignores blanks between digits.
  QString plain;
  bool seenPoint = false, seenDigit = false;
  if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) plain += text[i++];
  for (; i < n; ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) continue;
    if (c.isDigit() && c.unicode() < 128) {
      plain += c;
      seenDigit = true;
    } else if (c == QLatin1Char('.') && !seenPoint) {
      plain += c;
      seenPoint = true;
    } else if ((c == QLatin1Char('e') || c == QLatin1Char('E') || c == QLatin1Char('d') ||
                c == QLatin1Char('D')) && seenDigit) {
      QString exp;
      int j = i + 1;
      if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+'))) exp += text[j++];
      QString expDigits;
      while (j < n && text[j] >= QLatin1Char('0') && text[j] <= QLatin1Char('9')) expDigits += text[j++];
      if (!expDigits.isEmpty()) plain += QLatin1Char('e') + exp + expDigits;
      break;
    } else {
      break;
    }
  }
  bool ok = false;
  const double d = plain.toDouble(&ok);
  return ok ? d : 0.0;
}

int compare(const Variant& a, const Variant& b) {
  if (a.isNull() || b.isNull()) raise(ErrInvalidNull);
  if (a.isObject() || b.isObject() || a.isMissing() || b.isMissing()) typeMismatch();
  const bool aText = a.isString();
  const bool bText = b.isString();
  auto cmp = [](double x, double y) { return x < y ? -1 : (x > y ? 1 : 0); };
  if (aText && bText) {
    const int c = a.value().toString().compare(b.value().toString(), Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  if (aText && b.isEmpty()) return a.value().toString().isEmpty() ? 0 : 1;
  if (bText && a.isEmpty()) return b.value().toString().isEmpty() ? 0 : -1;
  if (aText || bText) {
    const Variant& t = aText ? a : b;
    const Variant& other = aText ? b : a;
    // A date meets a date text as a date ("01.02.2020" would also read as a grouped number).
    if (other.isDate()) {
      if (auto d = parseDateText(t.value().toString())) {
        const double x = toOleDate(*d);
        return aText ? cmp(x, CDbl(b)) : cmp(CDbl(a), x);
      }
    }
    auto n = parseNumberText(t.value().toString());
    if (!n) typeMismatch();
    return aText ? cmp(*n, CDbl(b)) : cmp(CDbl(a), *n);
  }
  return cmp(CDbl(a), CDbl(b));
}

bool textEquals(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

int InStr(int start, const QString& hay, const QString& needle) {
  if (start < 1) raise(ErrInvalidCall);
  if (start > hay.size() + 1) return 0;
  if (needle.isEmpty()) return start;
  const qsizetype p = hay.indexOf(needle, start - 1, Qt::CaseInsensitive);
  return p < 0 ? 0 : static_cast<int>(p) + 1;
}

QString replaceText(const QString& text, const QString& find, const QString& with) {
  if (find.isEmpty()) return text;
  QString out = text;
  return out.replace(find, with, Qt::CaseInsensitive);
}

double toOleDate(const QDateTime& d) {
  // Calendar days and wall-clock time: a day is a day, whatever the time zone did that night.
  const double days = static_cast<double>(oleEpoch().date().daysTo(d.date()));
  const double frac = d.time().msecsSinceStartOfDay() / 86400000.0;
  // OLE dates before the epoch keep a positive time fraction after a negative day number.
  return days < 0 ? days - frac : days + frac;
}

QDateTime fromOleDate(double serial) {
  if (std::isnan(serial) || std::abs(serial) > 2958465.0) raise(ErrOverflow);
  double days = std::trunc(serial);
  qint64 ms = std::llround(std::abs(serial - days) * 86400000.0);
  if (ms >= 86400000) {  // rounded up to the next midnight
    ms = 0;
    days += serial < 0 ? -1 : 1;
  }
  return QDateTime(oleEpoch().date().addDays(static_cast<qint64>(days)),
                   QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

}  // namespace vb
