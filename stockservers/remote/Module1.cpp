#include "stockservers/remote/Module1.h"

#include <QStandardPaths>

#include "stockservers/common/modEinstellungen.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"

namespace dcom {

void Main(Module1& module) {
  module.form = std::make_unique<Form1>();
  module.form->LogZeile(QStringLiteral("->New Application ") + jetzt());
  module.form->show();
  module.gobjApplication = std::make_shared<Application>(true);
  module.form->LogZeile(QStringLiteral("New Application-> ") + jetzt());
}

QString PeerSocket() {
  return GetSetting(QStringLiteral("LagerServer"), QStringLiteral("Socket"),
                    QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/tarnelodcom.sock"))
      .trimmed();
}

}  // namespace dcom
