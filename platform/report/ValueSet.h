#pragma once
// The fields or the variables a job defined, in the order of their first definition; names
// are found without regard to letter case, and defining a name again replaces its value.
#include <QHash>
#include <QList>
#include <optional>

#include "platform/report/ReportValue.h"
#include "platform/report/ReportWindows.h"

namespace report {

class ValueSet {
 public:
  void define(const QString& name, const QString& contents, int type);
  void clear();
  std::optional<ReportValue> find(const QString& name) const;
  const QList<DefinedValue>& all() const { return m_values; }

 private:
  QList<DefinedValue> m_values;
  QHash<QString, qsizetype> m_index;  // case-folded name -> position
  QHash<QString, qsizetype> m_exact;  // names as defined -> position, found without folding
};

}  // namespace report
