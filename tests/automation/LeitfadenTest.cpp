// docs/hosts.md's member tables of the print classes against what the bus shows of the class.
#include <gtest/gtest.h>

#include "automation/Application.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsMahnungDrucken.h"
#include "platform/automation/Bridge.h"
#include "tests/support/Leitfaden.h"

TEST(Leitfaden, ApplicationTableIsTheIntrospection) {
  const QStringList u = leitfaden::unterschiede(QStringLiteral("## Members of `Skrivant.Application`"),
                                                automation::Bridge::classIntrospection(Application::staticMetaObject));
  EXPECT_TRUE(u.isEmpty()) << u.join(u'\n').toStdString();
}

TEST(Leitfaden, PrintClassTablesAreTheIntrospection) {
  for (const auto& [ueberschrift, klasse] : {std::pair{"### Members of `Skrivant.clsMahnungDrucken`", &clsMahnungDrucken::staticMetaObject},
                                             std::pair{"### Members of `Skrivant.clsDruckAllgemein`", &clsDruckAllgemein::staticMetaObject}}) {
    const QStringList u = leitfaden::unterschiede(QString::fromUtf8(ueberschrift), automation::Bridge::classIntrospection(*klasse));
    EXPECT_TRUE(u.isEmpty()) << ueberschrift << "\n" << u.join(u'\n').toStdString();
  }
}
