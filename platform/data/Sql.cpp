#include "platform/data/Sql.h"

namespace data {

QString sqlText(const QString& value) {
  QString body = value;
  body.remove(QChar(0));
  body.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + body + QLatin1Char('\'');
}

}  // namespace data
