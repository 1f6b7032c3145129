#include "engine/modSystem.h"

#include "platform/printing/ComputerName.h"
#include "platform/printing/PrinterCatalogue.h"

QString DefaultPrinterName() { return printing::catalogue().defaultPrinter(); }

QString GetRechnerName() { return printing::computerName(); }
