#include "automation/Klassenregistrierung.h"

#include "automation/Application.h"
#include "automation/clsMahnDruckHandler.h"
#include "automation/clsMahnungDrucken.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsFormTypHandler.h"
#include "automation/clsPrintPos.h"
#include "foundation/clsConnectionHandler.h"
#include "platform/automation/ClassRegistry.h"

void KlassenRegistrieren() {
  automation::registerClass<Application>(QStringLiteral("Skrivant.Application"));
  automation::registerClass<clsPrintPos>(QStringLiteral("Skrivant.clsPrintPos"));
  automation::registerClass<clsMahnDruckHandler>(QStringLiteral("Skrivant.clsMahnDruckHandler"));
  automation::registerClass<clsMahnungDrucken>(QStringLiteral("Skrivant.clsMahnungDrucken"));
  automation::registerClass<clsDruckAllgemein>(QStringLiteral("Skrivant.clsDruckAllgemein"));
  automation::registerClass<clsFormTypHandler>(QStringLiteral("Skrivant.clsFormTypHandler"));
  automation::registerClass<clsConnectionHandler>(QStringLiteral("Skrivant.clsConnectionHandler"));
}
