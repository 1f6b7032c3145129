#include "automation/Klassenregistrierung.h"

#include "automation/Application.h"
#include "automation/clsPrintPos.h"
#include "foundation/clsConnectionHandler.h"
#include "platform/automation/ClassRegistry.h"

void KlassenRegistrieren() {
  automation::registerClass<Application>(QStringLiteral("Skrivant.Application"));
  automation::registerClass<clsPrintPos>(QStringLiteral("Skrivant.clsPrintPos"));
  automation::registerClass<clsConnectionHandler>(QStringLiteral("Skrivant.clsConnectionHandler"));
}
