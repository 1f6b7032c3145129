#pragma once
// The printer catalogue of the CUPS server the process talks to (CUPS_SERVER, client.conf or
// the local one). Bins come from the queue's PPD (InputSlot choices) or, for a queue without
// one, from the server's media-source values. Nothing is cached: each call asks the server.
#include <optional>

#include "platform/printing/PrinterCatalogue.h"

namespace printing {

class CupsPrinterCatalogue : public PrinterCatalogue {
 public:
  QList<PrinterInfo> printers() override;
  QString defaultPrinter() override;
  // The queue named `deviceName` (letter case ignored, as CUPS does); nullopt when the server
  // has no such queue or cannot be reached.
  std::optional<PrinterInfo> printer(const QString& deviceName);
};

}  // namespace printing
