#pragma once
// The installed printers with their paper bins, as the engine's printer list and routes need them.
// The CUPS implementation (CupsPrinterCatalogue.h) asks the print server afresh on every call;
// tests install a FakePrinterCatalogue.
#include <QList>
#include <QString>
#include <memory>

namespace printing {

// One paper bin (paper source) of a printer.
struct PaperBin {
  int number = 0;   // 1..n in the printer's own order
  QString name;     // what the user sees ("Tray 1")
  QString keyword;  // what a job names to select it ("Tray1")
};

struct PrinterInfo {
  QString deviceName;  // the queue name
  QString port;        // where the queue prints to (the device URI); may be empty
  int currentBin = 0;  // number of the printer's default bin, 0 when it names none of `bins`
  QList<PaperBin> bins;
  // The job option that selects a bin by its keyword ("InputSlot" or "media-source").
  QString binOption;
};

class PrinterCatalogue {
 public:
  virtual ~PrinterCatalogue() = default;
  // Every installed printer, sorted by device name. A print server that cannot be reached has
  // no printers.
  virtual QList<PrinterInfo> printers() = 0;
  // Device name of the default printer, empty when there is none.
  virtual QString defaultPrinter() = 0;
};

// The catalogue in use: CUPS unless a test installed another.
PrinterCatalogue& catalogue();
// Installs `impl`; an empty pointer goes back to CUPS.
void setCatalogue(std::shared_ptr<PrinterCatalogue> impl);

}  // namespace printing
