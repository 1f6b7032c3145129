#include "platform/vb/Format.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "platform/vb/Convert.h"
#include "platform/vb/Locale.h"

namespace vb {

namespace {

// One piece of a pattern: a placeholder, a control character or literal text.
struct Token {
  enum Kind { Zero, Hash, Point, Comma, Percent, Literal, DatePart } kind;
  QString text;  // literal text, or the letters of a date part ("dd", "mm", ...)
};

bool isDateLetter(QChar c) {
  const char l = c.toLower().toLatin1();
  return l == 'd' || l == 'm' || l == 'y' || l == 'h' || l == 'n' || l == 's';
}

// Splits off quoted text and backslash escapes as literals; `dateLetters` turns runs of date
// letters into date parts, otherwise every character that is no number control is literal.
std::vector<Token> tokenize(const QString& pattern, bool dateLetters) {
  std::vector<Token> out;
  auto literal = [&out](const QString& t) {
    if (!out.empty() && out.back().kind == Token::Literal) out.back().text += t;
    else out.push_back({Token::Literal, t});
  };
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('"')) {
      const qsizetype end = pattern.indexOf(QLatin1Char('"'), i + 1);
      const qsizetype stop = end < 0 ? pattern.size() : end;
      literal(pattern.mid(i + 1, stop - i - 1));
      i = stop;
    } else if (c == QLatin1Char('\\')) {
      if (i + 1 < pattern.size()) literal(QString(pattern[++i]));
    } else if (dateLetters && isDateLetter(c)) {
      qsizetype j = i;
      while (j < pattern.size() && pattern[j].toLower() == c.toLower()) ++j;
      out.push_back({Token::DatePart, pattern.mid(i, j - i).toLower()});
      i = j - 1;
    } else if (!dateLetters && c == QLatin1Char('0')) {
      out.push_back({Token::Zero, {}});
    } else if (!dateLetters && c == QLatin1Char('#')) {
      out.push_back({Token::Hash, {}});
    } else if (!dateLetters && c == QLatin1Char('.')) {
      out.push_back({Token::Point, {}});
    } else if (!dateLetters && c == QLatin1Char(',')) {
      out.push_back({Token::Comma, {}});
    } else if (!dateLetters && c == QLatin1Char('%')) {
      out.push_back({Token::Percent, {}});
    } else {
      literal(QString(c));
    }
  }
  return out;
}

// Sections of a number pattern, split at ";" outside quotes and escapes.
QStringList splitSections(const QString& pattern) {
  QStringList sections;
  QString current;
  bool quoted = false;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('"')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('\\') && i + 1 < pattern.size()) {
      current += c;
      current += pattern[++i];
      continue;
    }
    if (!quoted && c == QLatin1Char(';')) {
      sections << current;
      current.clear();
      continue;
    }
    current += c;
  }
  sections << current;
  return sections;
}

// A date pattern has date letters outside literals and no digit placeholders.
bool isDatePattern(const QString& pattern) {
  for (const Token& t : tokenize(pattern, false)) {
    if (t.kind == Token::Zero || t.kind == Token::Hash) return false;
  }
  for (const Token& t : tokenize(pattern, true)) {
    if (t.kind == Token::DatePart) return true;
  }
  return false;
}

// A non-negative number as decimal digits: value = 0.digits × 10^point. Taken from the double's
// 15-digit decimal text, so 2.675 is 2.675 here and rounds as a person expects.
struct Decimal {
  QString digits;  // no leading or trailing zeros; empty for zero
  int point = 0;

  static Decimal of(double magnitude) {
    Decimal d;
    if (magnitude == 0) return d;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    const QString text = QString::fromLatin1(buf, res.ptr - buf);  // d.dddddddddddddde±XX
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    d.digits = text.left(e).remove(QLatin1Char('.'));
    d.point = text.mid(e + 1).toInt() + 1;
    d.trim();
    return d;
  }

  bool isZero() const { return digits.isEmpty(); }

  void trim() {
    while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
    while (digits.startsWith(QLatin1Char('0'))) {
      digits.remove(0, 1);
      --point;
    }
    if (digits.isEmpty()) point = 0;
  }

  // Half away from zero to `places` decimals.
  void round(int places) {
    const qsizetype keep = point + places;
    if (keep >= digits.size()) return;
    if (keep < 0) {
      *this = Decimal();
      return;
    }
    const bool up = digits[keep] >= QLatin1Char('5');
    digits.truncate(keep);
    if (up) {
      qsizetype i = digits.size() - 1;
      while (i >= 0 && digits[i] == QLatin1Char('9')) digits[i--] = QLatin1Char('0');
      if (i >= 0) {
        digits[i] = QChar(digits[i].unicode() + 1);
      } else {
        digits.prepend(QLatin1Char('1'));
        ++point;
      }
    }
    trim();
  }

  QString integerDigits() const {
    if (point <= 0) return {};
    return digits.left(point).leftJustified(point, QLatin1Char('0'));
  }

  QChar fractionDigit(int i) const {
    const qsizetype at = point + i;
    return at >= 0 && at < digits.size() ? digits[at] : QLatin1Char('0');
  }
};

struct NumberSection {
  std::vector<Token> integerPart;   // placeholders and literals before the decimal point
  std::vector<Token> fractionPart;  // after it
  bool hasPoint = false;
  bool grouping = false;
  bool percent = false;
  int places = 0;
  int minIntegerDigits = 0;
  bool isEmpty = true;

  static NumberSection parse(const QString& text) {
    NumberSection s;
    s.isEmpty = text.isEmpty();
    const std::vector<Token> tokens = tokenize(text, false);
    bool seenPlaceholder = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      const Token& t = tokens[i];
      const bool placeholder = t.kind == Token::Zero || t.kind == Token::Hash;
      if (t.kind == Token::Percent) {
        s.percent = true;
        (s.hasPoint ? s.fractionPart : s.integerPart).push_back({Token::Literal, QStringLiteral("%")});
      } else if (t.kind == Token::Point && !s.hasPoint) {
        s.hasPoint = true;
      } else if (t.kind == Token::Point) {
        s.fractionPart.push_back({Token::Literal, QStringLiteral(".")});
      } else if (t.kind == Token::Comma) {
        // A comma between digit placeholders turns on grouping; nothing else is asked of it.
        const bool nextIsPlaceholder = i + 1 < tokens.size() &&
                                       (tokens[i + 1].kind == Token::Zero || tokens[i + 1].kind == Token::Hash);
        if (!s.hasPoint && seenPlaceholder && nextIsPlaceholder) s.grouping = true;
      } else {
        if (placeholder && s.hasPoint) ++s.places;
        (s.hasPoint ? s.fractionPart : s.integerPart).push_back(t);
      }
      if (placeholder) seenPlaceholder = true;
    }
    bool seenZero = false;
    for (const Token& t : s.integerPart) {
      if (t.kind == Token::Zero) seenZero = true;
      if (seenZero && (t.kind == Token::Zero || t.kind == Token::Hash)) ++s.minIntegerDigits;
    }
    return s;
  }

  Decimal rounded(double magnitude) const {
    Decimal d = Decimal::of(magnitude);
    if (percent && !d.isZero()) d.point += 2;
    d.round(places);
    return d;
  }

  QString render(const Decimal& d, bool minus) const {
    return (minus ? QStringLiteral("-") : QString()) + renderInteger(d) + renderFraction(d);
  }

 private:
  QString renderInteger(const Decimal& d) const {
    QString digits = d.integerDigits();
    if (digits.size() < minIntegerDigits) digits = digits.rightJustified(minIntegerDigits, QLatin1Char('0'));
    qsizetype firstPlaceholder = -1;
    for (std::size_t i = 0; i < integerPart.size(); ++i) {
      if (integerPart[i].kind != Token::Literal) {
        firstPlaceholder = static_cast<qsizetype>(i);
        break;
      }
    }
    // Built from the right: each placeholder takes one digit, the leftmost takes the rest.
    const QChar separator = groupSeparator();
    std::vector<QString> pieces;
    qsizetype remaining = digits.size();
    int placed = 0;
    auto putDigit = [&] {
      if (grouping && placed > 0 && placed % 3 == 0) pieces.emplace_back(separator);
      pieces.emplace_back(digits[--remaining]);
      ++placed;
    };
    if (firstPlaceholder < 0 && hasPoint) {
      while (remaining > 0) putDigit();
    }
    for (qsizetype i = static_cast<qsizetype>(integerPart.size()) - 1; i >= 0; --i) {
      const Token& t = integerPart[i];
      if (t.kind == Token::Literal) {
        pieces.push_back(t.text);
      } else if (i == firstPlaceholder) {
        while (remaining > 0) putDigit();
      } else if (remaining > 0) {
        putDigit();
      }
    }
    QString out;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) out += *it;
    return out;
  }

  QString renderFraction(const Decimal& d) const {
    if (!hasPoint) return {};
    // Trailing "#" places whose digit is 0 are left out.
    int shown = places;
    {
      int index = places;
      for (auto it = fractionPart.rbegin(); it != fractionPart.rend(); ++it) {
        if (it->kind == Token::Literal) continue;
        --index;
        if (it->kind == Token::Zero || d.fractionDigit(index) != QLatin1Char('0')) break;
        shown = index;
      }
    }
    QString out(decimalSeparator());
    int index = 0;
    for (const Token& t : fractionPart) {
      if (t.kind == Token::Literal) {
        out += t.text;
      } else {
        if (index < shown) out += d.fractionDigit(index);
        ++index;
      }
    }
    return out;
  }
};

QString two(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

bool isHourPart(const Token& t) { return t.kind == Token::DatePart && t.text.startsWith(QLatin1Char('h')); }
bool isSecondPart(const Token& t) { return t.kind == Token::DatePart && t.text.startsWith(QLatin1Char('s')); }

// The date part nearest to `i` in direction `step`, skipping literals.
const Token* neighbourPart(const std::vector<Token>& tokens, std::size_t i, int step) {
  for (qsizetype j = static_cast<qsizetype>(i) + step; j >= 0 && j < static_cast<qsizetype>(tokens.size()); j += step) {
    if (tokens[j].kind == Token::DatePart) return &tokens[j];
  }
  return nullptr;
}

QString datePart(const QString& letters, const QDateTime& v, bool minutes) {
  const QDate date = v.date();
  const QTime time = v.time();
  const bool padded = letters.size() >= 2;
  switch (letters[0].toLatin1()) {
    case 'd': return padded ? two(date.day()) : QString::number(date.day());
    case 'm':
      if (minutes) return padded ? two(time.minute()) : QString::number(time.minute());
      return padded ? two(date.month()) : QString::number(date.month());
    case 'n': return padded ? two(time.minute()) : QString::number(time.minute());
    case 'h': return padded ? two(time.hour()) : QString::number(time.hour());
    case 's': return padded ? two(time.second()) : QString::number(time.second());
    case 'y':
      if (letters.size() == 4) return QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
      if (padded) return two(date.year() % 100);
      return QString::number(date.dayOfYear());  // a lone "y" is the day of the year
  }
  return letters;
}

}  // namespace

QString Format(const Variant& value, const QString& pattern) {
  if (value.isNull() || value.isEmpty()) return {};
  if (pattern.isEmpty()) return CStr(value);
  const bool datePattern = isDatePattern(pattern);
  if (value.isString()) {
    // A text is formatted when it reads as a number or a date, else it is returned as it is.
    // Date text first: "01.02.2020" would also read as a grouped number.
    if (IsDate(value)) {
      const QDateTime d = CDate(value);
      return datePattern ? formatDate(d, pattern) : formatNumber(toOleDate(d), pattern);
    }
    if (IsNumeric(value)) {
      const double d = CDbl(value);
      return datePattern ? formatDate(fromOleDate(d), pattern) : formatNumber(d, pattern);
    }
    return value.value().toString();
  }
  // A date with a number pattern shows its serial, a number with a date pattern its date.
  return datePattern ? formatDate(CDate(value), pattern) : formatNumber(CDbl(value), pattern);
}

QString formatNumber(double value, const QString& pattern) {
  if (pattern.isEmpty() || !std::isfinite(value)) return numberToText(value);
  const QStringList texts = splitSections(pattern);
  std::vector<NumberSection> sections;
  for (const QString& t : texts) sections.push_back(NumberSection::parse(t));
  const NumberSection& positive = sections[0];
  auto section = [&](std::size_t i) -> const NumberSection& {
    return i < sections.size() && !sections[i].isEmpty ? sections[i] : positive;
  };

  const double magnitude = std::abs(value);
  if (value == 0) return section(2).render(Decimal(), false);
  if (value > 0) return positive.render(positive.rounded(magnitude), false);

  // A negative section shows the magnitude with its own signs; the first section adds "-".
  const bool ownNegative = sections.size() >= 2 && !sections[1].isEmpty;
  const NumberSection& negative = section(1);
  const Decimal d = negative.rounded(magnitude);
  // What rounds to zero is shown as a small positive value is: never "-0,00".
  if (d.isZero()) return positive.render(positive.rounded(magnitude), false);
  return negative.render(d, !ownNegative);
}

QString formatDate(const QDateTime& value, const QString& pattern) {
  if (pattern.isEmpty()) return CStr(Variant(value));
  const std::vector<Token> tokens = tokenize(pattern, true);
  QString out;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.kind == Token::Literal) {
      out += t.text;
      continue;
    }
    // "m" after an hour or before a second is the minute, as in "hh:mm" and "mm:ss".
    const Token* before = neighbourPart(tokens, i, -1);
    const Token* after = neighbourPart(tokens, i, 1);
    const bool minutes = (before && isHourPart(*before)) || (after && isSecondPart(*after));
    // Longer runs than a part knows are read as several parts ("yyyyy" is "yyyy" and "y").
    QString letters = t.text;
    while (!letters.isEmpty()) {
      const int take = letters[0] == QLatin1Char('y') && letters.size() >= 4 ? 4 : std::min<int>(2, letters.size());
      out += datePart(letters.left(take), value, minutes);
      letters.remove(0, take);
    }
  }
  return out;
}

}  // namespace vb
