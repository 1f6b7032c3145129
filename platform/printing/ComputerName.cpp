#include "platform/printing/ComputerName.h"

#include <QSysInfo>

namespace printing {

QString computerNameFromHostName(const QString& hostName) {
  return hostName.section(QLatin1Char('.'), 0, 0).trimmed().toUpper().left(15);
}

QString computerName() { return computerNameFromHostName(QSysInfo::machineHostName()); }

}  // namespace printing
