#pragma once
// While it lives, the printing layer prints through CUPS (the server the process points at, as a
// rule the test's PrivateCupsd) with no printer chosen; afterwards it is back at nothing.
#include <memory>

#include "platform/printing/CupsPrintDocument.h"
#include "platform/printing/CupsPrinterCatalogue.h"
#include "platform/printing/CurrentPrinter.h"
#include "platform/printing/PrintDocument.h"
#include "platform/printing/PrinterCatalogue.h"

namespace testsupport {

class CupsDruckweg {
 public:
  CupsDruckweg() {
    printing::setCatalogue(std::make_shared<printing::CupsPrinterCatalogue>());
    printing::setPrintDocument(std::make_shared<printing::CupsPrintDocument>());
    printing::setCurrentPrinter(QString());
  }
  ~CupsDruckweg() {
    printing::setPrintDocument(nullptr);
    printing::setCatalogue(nullptr);
    printing::setCurrentPrinter(QString());
  }
  CupsDruckweg(const CupsDruckweg&) = delete;
  CupsDruckweg& operator=(const CupsDruckweg&) = delete;
};

}  // namespace testsupport
