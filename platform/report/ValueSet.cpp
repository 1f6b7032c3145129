#include "platform/report/ValueSet.h"

namespace report {

void ValueSet::define(const QString& name, const QString& contents, int type) {
  const QString key = name.toCaseFolded();
  const auto it = m_index.constFind(key);
  if (it != m_index.constEnd()) {
    m_values[*it].contents = contents;
    m_values[*it].type = type;
    return;
  }
  m_index.insert(key, m_values.size());
  m_values.append({name, contents, type});
}

void ValueSet::clear() {
  m_values.clear();
  m_index.clear();
}

std::optional<ReportValue> ValueSet::find(const QString& name) const {
  const auto it = m_index.constFind(name.toCaseFolded());
  if (it == m_index.constEnd()) return std::nullopt;
  const DefinedValue& v = m_values[*it];
  return ReportValue{v.contents, v.type};
}

}  // namespace report
