#pragma once
// A snapshot of the installed printers with their paper bins, taken at creation in the
// platform's printer order. Printers added or removed later are not seen: create a new one.
#include <QString>
#include <memory>
#include <vector>

#include "engine/clsPrinterInfo.h"

class clsPrinterCollection {
 public:
  clsPrinterCollection();

  // The printer found by SeekPrinter or reached by FirstPrinter / NextPrinter; none before.
  std::shared_ptr<clsPrinterInfo> CurPrinter() const { return m_curPrinter; }
  void set_CurPrinter(std::shared_ptr<clsPrinterInfo> value) { m_curPrinter = std::move(value); }

  // Makes the first printer of that device name (letter case ignored) the current one and
  // answers True; False leaves the current printer as it was.
  bool SeekPrinter(const QString& DeviceName);
  bool FirstPrinter();
  bool NextPrinter();

 private:
  std::vector<std::shared_ptr<clsPrinterInfo>> m_printers;
  int m_position = 0;  // 1-based position of CurPrinter
  std::shared_ptr<clsPrinterInfo> m_curPrinter;
};
