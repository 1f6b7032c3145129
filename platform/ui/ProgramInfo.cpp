#include "platform/ui/ProgramInfo.h"

#include <QGuiApplication>

namespace ui {

QString programTitle() { return QGuiApplication::applicationDisplayName(); }

QString programVersion() {
  return QStringLiteral("%1.%2.%3")
      .arg(SKRIVANT_VERSION_MAJOR)
      .arg(SKRIVANT_VERSION_MINOR)
      .arg(SKRIVANT_VERSION_REVISION);
}

}  // namespace ui
