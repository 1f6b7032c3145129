// docs/hosts.md's member tables of the print classes against what the bus shows
// of the class.
#include <gtest/gtest.h>

#include "automation/Application.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsMahnungDrucken.h"
#include "tests/support/Leitfaden.h"

TEST(Leitfaden, PrintClassTablesAreTheIntrospection) {
  for (const auto& [ueberschrift, klasse] : {std::pair{"## Members of `Skrivant.Application`", &Application::staticMetaObject},
                                             {"### Members of `Skrivant.clsMahnungDrucken`", &clsMahnungDrucken::staticMetaObject},
                                             {"### Members of `Skrivant.clsDruckAllgemein`", &clsDruckAllgemein::staticMetaObject}})
    EXPECT_EQ(leitfaden::unterschiede(QString::fromUtf8(ueberschrift), *klasse), "") << ueberschrift;
}
