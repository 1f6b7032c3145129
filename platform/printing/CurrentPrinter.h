#pragma once
// The printer the process prints on, as the run time's Printer object was: the default printer
// until someone selects another, then that one for the rest of the process.
#include <QString>

namespace printing {

// The selected printer's device name; the catalogue's default printer while none is selected.
QString currentPrinter();
// Selects `name`; an empty name goes back to following the default printer.
void setCurrentPrinter(const QString& name);

}  // namespace printing
