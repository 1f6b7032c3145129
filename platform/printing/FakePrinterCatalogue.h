#pragma once
// A printer catalogue for tests of the layers above: it answers with the printers and the
// default printer it was given, in the order given (so a test can set up any platform order).
#include "platform/printing/PrinterCatalogue.h"

namespace printing {

class FakePrinterCatalogue : public PrinterCatalogue {
 public:
  QList<PrinterInfo> printers() override { return m_printers; }
  QString defaultPrinter() override { return m_default; }

  void setPrinters(QList<PrinterInfo> printers) { m_printers = std::move(printers); }
  void setDefaultPrinter(const QString& name) { m_default = name; }

 private:
  QList<PrinterInfo> m_printers;
  QString m_default;
};

}  // namespace printing
