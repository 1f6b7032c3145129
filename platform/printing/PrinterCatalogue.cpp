#include "platform/printing/PrinterCatalogue.h"

#include "platform/printing/CupsPrinterCatalogue.h"

namespace printing {

namespace {
std::shared_ptr<PrinterCatalogue>& installed() {
  static std::shared_ptr<PrinterCatalogue> impl;
  return impl;
}
}  // namespace

PrinterCatalogue& catalogue() {
  if (!installed()) installed() = std::make_shared<CupsPrinterCatalogue>();
  return *installed();
}

void setCatalogue(std::shared_ptr<PrinterCatalogue> impl) { installed() = std::move(impl); }

}  // namespace printing
