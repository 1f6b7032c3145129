#pragma once
// The condition language of the templates:
//   Zeilentyp = "Position" and not empty(DruckGP)
//   page() > 1 or ÜbertragDrucken <> 'NEIN'
// Names are values of the job (fields, variables, sums; letter case ignored, dots allowed);
// literals are numbers with a decimal point and texts in ' or ". Operators: = == <> != < > <=
// >=, and / &&, or / ||, not / !, parentheses. Functions: empty(x), page(), firstpage(),
// lastpage(). Comparisons are numeric when a side is a number and both read as numbers, by date
// when a side is a date, else by text without regard to case. An empty condition is true.
#include <QString>
#include <memory>
#include <optional>

#include "platform/report/ReportValue.h"
#include "platform/report/ReportWindows.h"

namespace report {

// What a condition or a text can see while a page is laid out.
class ValueScope {
 public:
  virtual ~ValueScope() = default;
  // The value of `name` (letter case ignored), or nothing when the job has none of that name.
  virtual std::optional<ReportValue> value(const QString& name) const = 0;
  virtual int page() const = 0;
  virtual bool lastPage() const = 0;
  // Every field (or variable) defined now, in the order of first definition.
  virtual QList<DefinedValue> all(bool fields) const {
    (void)fields;
    return {};
  }
};

class Expression {
 public:
  struct Node;

  Expression() = default;  // the empty condition: true
  // Parses `text`; on a syntax error answers nullopt with the reason in *error.
  static std::optional<Expression> parse(const QString& text, QString* error);

  bool isEmpty() const { return !m_root; }
  ReportValue evaluate(const ValueScope& scope) const;
  bool test(const ValueScope& scope) const;
  // The condition as a user reads it, in German: "Zeilentyp = „Position“ und PosBemerkung nicht
  // leer"; empty for the empty condition.
  QString readable() const;

 private:
  std::shared_ptr<const Node> m_root;
};

}  // namespace report
