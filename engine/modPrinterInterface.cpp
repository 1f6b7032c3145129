#include "engine/modPrinterInterface.h"

#include "foundation/modDebugOutput.h"
#include "platform/vb/ErrorStyle.h"

void LoadPrinterOptions(const printing::PrinterInfo& Installed, const QList<printing::PrinterInfo>& AllPrinters,
                        std::shared_ptr<clsPrinterInfo>& Printer) {
  auto info = std::make_shared<clsPrinterInfo>();
  const auto logged = [&](const vb::VbError& e) {
    return QStringLiteral("LoadPrinterOptions ") + Installed.deviceName + QStringLiteral(":") +
           QString::number(e.number()) + QStringLiteral("-") + e.description();
  };
  for (const printing::PaperBin& bin : Installed.bins) {
    try {
      if (bin.number < 1 || bin.number > 32767) vb::raise(vb::ErrOverflow);
      info->AddPaperSource(bin.name, static_cast<short>(bin.number));
    } catch (...) {
      DebugOutput(logged(vb::toVbError(std::current_exception())));
    }
  }
  info->let_DeviceName(Installed.deviceName, AllPrinters);
  Printer = std::move(info);
}
