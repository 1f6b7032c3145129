#include "platform/report/ValueSet.h"

namespace report {

void ValueSet::define(const QString& name, const QString& contents, int type) {
  auto exact = m_exact.constFind(name);
  qsizetype i = exact != m_exact.constEnd() ? *exact : m_index.value(name.toCaseFolded(), -1);
  if (i < 0) {
    i = m_values.size();
    m_index.insert(name.toCaseFolded(), i);
    m_values.append({name, contents, type});
  } else {
    m_values[i].contents = contents;
    m_values[i].type = type;
  }
  if (exact == m_exact.constEnd()) m_exact.insert(name, i);
}

void ValueSet::clear() {
  m_values.clear();
  m_index.clear();
  m_exact.clear();
}

std::optional<ReportValue> ValueSet::find(const QString& name) const {
  qsizetype i = m_exact.value(name, -1);
  if (i < 0) i = m_index.value(name.toCaseFolded(), -1);
  if (i < 0) return std::nullopt;
  const DefinedValue& v = m_values[i];
  return ReportValue{v.contents, v.type};
}

}  // namespace report
