#include "platform/data/Sql.h"

namespace data {

QString withoutNul(const QString& value) { return QString(value).remove(QChar(0)); }

QString sqlText(const QString& value) {
  QString body = withoutNul(value);
  body.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + body + QLatin1Char('\'');
}

}  // namespace data
