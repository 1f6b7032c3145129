#pragma once
// Text of a template object: literal text with {Name} and {Name:format} references (format: a
// VB Format pattern, vb::Format) and {page()} for the page number. "{{" and "}}" stand for
// braces. A name the job did not define prints as nothing. {*variables} and {*fields} print every
// variable or field defined, one "Name: value" line each; names after a colon are left out
// ({*fields:DatenEOF,Zeilentyp}).
#include <QList>
#include <QString>
#include <optional>

#include "platform/report/Expression.h"

namespace report {

class TextTemplate {
 public:
  TextTemplate() = default;
  // On an unclosed "{" answers nullopt with the reason in *error.
  static std::optional<TextTemplate> parse(const QString& text, QString* error);

  QString render(const ValueScope& scope) const;
  // When the whole text is one reference, its value (so a rich-text or picture value can be
  // drawn as what it is).
  std::optional<ReportValue> soleValue(const ValueScope& scope) const;
  bool isEmpty() const { return m_parts.isEmpty(); }

 private:
  struct Part {
    enum class Kind { Literal, Name, Page, Listing } kind = Kind::Literal;
    QString text;    // literal text or name
    QString format;  // format pattern of a name; names left out of a listing
  };
  QString renderPart(const Part& p, const ValueScope& scope) const;

  QList<Part> m_parts;
};

}  // namespace report
