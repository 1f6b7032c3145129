#include "platform/ui/ProgramInfo.h"

#include <QCoreApplication>

namespace ui {

QString programTitle() { return QCoreApplication::applicationName(); }

QString programVersion() {
  return QStringLiteral("%1.%2.%3")
      .arg(SKRIVANT_VERSION_MAJOR)
      .arg(SKRIVANT_VERSION_MINOR)
      .arg(SKRIVANT_VERSION_REVISION);
}

}  // namespace ui
