// docs/hosts.md's member table of TarneloDCOM.Application against what the bus shows of the class.
#include <gtest/gtest.h>

#include "platform/automation/Bridge.h"
#include "stockservers/remote/Application.h"
#include "tests/support/Leitfaden.h"

TEST(Leitfaden, TarneloDcomTableIsTheIntrospection) {
  const QStringList u = leitfaden::unterschiede(QStringLiteral("### `TarneloDCOM.Application`"),
                                                automation::Bridge::classIntrospection(dcom::Application::staticMetaObject));
  EXPECT_TRUE(u.isEmpty()) << u.join(u'\n').toStdString();
}
