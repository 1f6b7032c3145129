// docs/hosts.md's member table of TarneloSrv.Application against what the bus shows of the class.
#include <gtest/gtest.h>

#include "platform/automation/Bridge.h"
#include "stockservers/tray/Application.h"
#include "tests/support/Leitfaden.h"

TEST(Leitfaden, TarneloSrvTableIsTheIntrospection) {
  const QStringList u = leitfaden::unterschiede(QStringLiteral("### `TarneloSrv.Application`"),
                                                automation::Bridge::classIntrospection(Application::staticMetaObject));
  EXPECT_TRUE(u.isEmpty()) << u.join(u'\n').toStdString();
}
