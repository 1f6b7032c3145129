#pragma once
// Turns one printer of the catalogue into the engine's clsPrinterInfo.
#include <QList>
#include <memory>

#include "engine/clsPrinterInfo.h"
#include "platform/printing/PrinterCatalogue.h"

// A new clsPrinterInfo in `Printer` with the bins of `Installed` numbered 1..n in its order and
// its device name, whose current bin is looked up among `AllPrinters` (the same snapshot). A bin
// that cannot be added (its name or number repeats an earlier one) is logged as
// "LoadPrinterOptions <name>:<number>-<description>" and left out; the others go on.
void LoadPrinterOptions(const printing::PrinterInfo& Installed, const QList<printing::PrinterInfo>& AllPrinters,
                        std::shared_ptr<clsPrinterInfo>& Printer);
