#include "engine/clsPrinterCollection.h"

#include "engine/modPrinterInterface.h"
#include "foundation/modDebugOutput.h"
#include "platform/printing/PrinterCatalogue.h"
#include "platform/vb/Convert.h"

clsPrinterCollection::clsPrinterCollection() {
  const QList<printing::PrinterInfo> installed = printing::catalogue().printers();
  for (const printing::PrinterInfo& printer : installed) {
    DebugOutput(QStringLiteral("->LoadPrinterOptions ") + printer.deviceName);
    std::shared_ptr<clsPrinterInfo> info;
    LoadPrinterOptions(printer, installed, info);
    DebugOutput(QStringLiteral("LoadPrinterOptions ") + printer.deviceName + QStringLiteral("->"));
    m_printers.push_back(std::move(info));
  }
}

bool clsPrinterCollection::SeekPrinter(const QString& DeviceName) {
  DebugOutput(QStringLiteral("->SeekPrinter"));
  for (size_t i = 0; i < m_printers.size(); ++i) {
    if (vb::textEquals(m_printers[i]->DeviceName(), DeviceName)) {
      m_position = static_cast<int>(i) + 1;
      m_curPrinter = m_printers[i];
      DebugOutput(QStringLiteral("SeekPrinter (Drucker gefunden)->"));
      return true;
    }
  }
  DebugOutput(QStringLiteral("SeekPrinter (Drucker '") + DeviceName + QStringLiteral("' nicht gefunden)->"));
  return false;
}

bool clsPrinterCollection::FirstPrinter() {
  m_position = 1;
  if (m_printers.empty()) return false;
  m_curPrinter = m_printers.front();
  return true;
}

bool clsPrinterCollection::NextPrinter() {
  if (m_position >= static_cast<int>(m_printers.size())) return false;
  ++m_position;
  m_curPrinter = m_printers[static_cast<size_t>(m_position - 1)];
  return true;
}
