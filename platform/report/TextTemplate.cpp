#include "platform/report/TextTemplate.h"

#include <QStringList>

namespace report {

std::optional<TextTemplate> TextTemplate::parse(const QString& text, QString* error) {
  TextTemplate t;
  QString literal;
  auto flush = [&] {
    if (!literal.isEmpty()) t.m_parts.append({Part::Kind::Literal, literal, {}});
    literal.clear();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && i + 1 < text.size() && text[i + 1] == c) {
      literal += c;
      ++i;
      continue;
    }
    if (c != QLatin1Char('{')) {
      literal += c;
      continue;
    }
    const qsizetype end = text.indexOf(QLatin1Char('}'), i + 1);
    if (end < 0) {
      if (error) *error = QStringLiteral("\"{\" without \"}\" in \"%1\"").arg(text);
      return std::nullopt;
    }
    const QString inner = text.mid(i + 1, end - i - 1);
    const qsizetype colon = inner.indexOf(QLatin1Char(':'));
    Part p;
    p.text = (colon < 0 ? inner : inner.left(colon)).trimmed();
    p.format = colon < 0 ? QString() : inner.mid(colon + 1);
    p.kind = p.text.compare(QLatin1String("page()"), Qt::CaseInsensitive) == 0 ? Part::Kind::Page : Part::Kind::Name;
    if (p.text.compare(QLatin1String("*fields"), Qt::CaseInsensitive) == 0 ||
        p.text.compare(QLatin1String("*variables"), Qt::CaseInsensitive) == 0)
      p.kind = Part::Kind::Listing;
    flush();
    t.m_parts.append(p);
    i = end;
  }
  flush();
  return t;
}

QString TextTemplate::renderPart(const Part& p, const ValueScope& scope) const {
  switch (p.kind) {
    case Part::Kind::Literal: return p.text;
    case Part::Kind::Page: return ReportValue{QString::number(scope.page()), 0x08000000}.print(p.format);
    case Part::Kind::Name: {
      const auto v = scope.value(p.text);
      return v ? v->print(p.format) : QString();
    }
    case Part::Kind::Listing: {
      QStringList ohne;
      for (const QString& n : p.format.split(QLatin1Char(','), Qt::SkipEmptyParts)) ohne << n.trimmed();
      QStringList zeilen;
      for (const DefinedValue& d : scope.all(p.text.compare(QLatin1String("*fields"), Qt::CaseInsensitive) == 0))
        if (!ohne.contains(d.name, Qt::CaseInsensitive))
          zeilen << d.name + QStringLiteral(": ") + ReportValue{d.contents, d.type}.print();
      return zeilen.join(QLatin1Char('\n'));
    }
  }
  return {};
}

QString TextTemplate::render(const ValueScope& scope) const {
  QString out;
  for (const Part& p : m_parts) out += renderPart(p, scope);
  return out;
}

std::optional<ReportValue> TextTemplate::soleValue(const ValueScope& scope) const {
  if (m_parts.size() != 1 || m_parts[0].kind != Part::Kind::Name || !m_parts[0].format.isEmpty()) return std::nullopt;
  return scope.value(m_parts[0].text);
}

}  // namespace report
