#pragma once
// A value the job defined: its text as handed over and its type code, and how the templates
// read it (as a number, a date, a truth value) and print it ({Name:format}).
#include <QDateTime>
#include <QString>
#include <optional>

namespace report {

enum class ValueKind { Text, Numeric, Date, Boolean, Drawing, RichText };

// The kind of a type code. The highest kind bit decides; codes with no kind bit are text.
ValueKind kindOf(int type);

struct ReportValue {
  QString text;
  int type = 0x10000000;

  ValueKind kind() const { return kindOf(type); }
  // The number the text stands for (German "1.234,56" or point "1234.56" decimals).
  std::optional<double> number() const;
  // The date the text stands for ("dd.mm.yyyy", ISO, or a serial day number).
  std::optional<QDateTime> date() const;
  // Truth of the value in a condition: booleans "1" / "-1" / "true" / "ja", numbers not 0, texts
  // not empty.
  bool truth() const;
  // The text as printed with an optional VB Format pattern. Rich text prints as its plain text.
  QString print(const QString& pattern = {}) const;
};

// Reads a number written with German or point decimals: when both "," and "." occur, the one
// standing last is the decimal separator; a lone "," is decimal; a lone "." is decimal unless it
// occurs more than once (grouping). Blanks are ignored. Nothing else may follow.
std::optional<double> readNumber(const QString& text);

}  // namespace report
