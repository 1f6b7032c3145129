#include "platform/printing/CupsPrinterCatalogue.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <algorithm>

namespace printing {

namespace {

QString optionValue(const cups_dest_t* dest, const char* name) {
  return QString::fromUtf8(cupsGetOption(name, dest->num_options, dest->options));
}

// CUPS's generated drivers offer a choice "Default" (printer default) in front of the real
// trays; it selects nothing, which bin 0 already says, so it is no bin of its own.
bool isPseudoBin(const char* keyword) { return qstrcmp(keyword, "Default") == 0; }

// Bins from the queue's PPD. False when the queue has no PPD (raw and IPP-only queues).
// PPD access is what gives the drivers' InputSlot names; libcups marks it deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool readPpdBins(const cups_dest_t* dest, PrinterInfo& info) {
  const char* file = cupsGetPPD2(CUPS_HTTP_DEFAULT, dest->name);
  if (!file) return false;
  const QByteArray path(file);
  ppd_file_t* ppd = ppdOpenFile(path.constData());
  unlink(path.constData());
  if (!ppd) return false;
  info.binOption = QStringLiteral("InputSlot");
  if (ppd_option_t* slot = ppdFindOption(ppd, "InputSlot")) {
    // The user's own default (lpoptions) wins over the driver's.
    const char* def = cupsGetOption("InputSlot", dest->num_options, dest->options);
    if (!def) def = slot->defchoice;
    for (int i = 0; i < slot->num_choices; ++i) {
      const ppd_choice_t& c = slot->choices[i];
      if (isPseudoBin(c.choice)) continue;
      const int number = static_cast<int>(info.bins.size()) + 1;
      info.bins.append({number, QString::fromUtf8(c.text), QString::fromUtf8(c.choice)});
      if (qstrcmp(c.choice, def) == 0) info.currentBin = number;
    }
  }
  ppdClose(ppd);
  return true;
}
#pragma GCC diagnostic pop

// Bins from the server's media-source values, named as the server localises them.
void readIppBins(cups_dest_t* dest, PrinterInfo& info) {
  cups_dinfo_t* dinfo = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
  if (!dinfo) return;
  info.binOption = QStringLiteral(CUPS_MEDIA_SOURCE);
  if (ipp_attribute_t* sources = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, dinfo, CUPS_MEDIA_SOURCE)) {
    const char* def = nullptr;
    if (ipp_attribute_t* d = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, dinfo, CUPS_MEDIA_SOURCE))
      def = ippGetString(d, 0, nullptr);
    for (int i = 0; i < ippGetCount(sources); ++i) {
      const char* keyword = ippGetString(sources, i, nullptr);
      if (!keyword) continue;
      const char* text = cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, dinfo, CUPS_MEDIA_SOURCE, keyword);
      const int number = static_cast<int>(info.bins.size()) + 1;
      info.bins.append({number, QString::fromUtf8(text ? text : keyword), QString::fromUtf8(keyword)});
      if (def && qstrcmp(keyword, def) == 0) info.currentBin = number;
    }
  }
  cupsFreeDestInfo(dinfo);
}

PrinterInfo describe(cups_dest_t* dest) {
  PrinterInfo info;
  info.deviceName = QString::fromUtf8(dest->name);
  info.port = optionValue(dest, "device-uri");
  if (!readPpdBins(dest, info)) readIppBins(dest, info);
  return info;
}

// Printers found on the network by DNS-SD are offers, not installed queues.
bool isDiscovered(const cups_dest_t* dest) {
  return optionValue(dest, "printer-type").toUInt() & CUPS_PRINTER_DISCOVERED;
}

}  // namespace

QList<PrinterInfo> CupsPrinterCatalogue::printers() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  QList<PrinterInfo> result;
  for (int i = 0; i < count; ++i) {
    // Instances (NAME/instance) are option sets of one queue, not printers.
    if (dests[i].instance || isDiscovered(&dests[i])) continue;
    result.append(describe(&dests[i]));
  }
  cupsFreeDests(count, dests);
  std::sort(result.begin(), result.end(), [](const PrinterInfo& a, const PrinterInfo& b) {
    const int c = QString::compare(a.deviceName, b.deviceName, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.deviceName < b.deviceName;
  });
  return result;
}

QString CupsPrinterCatalogue::defaultPrinter() {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
  if (!dest) return {};
  const QString name = QString::fromUtf8(dest->name);
  cupsFreeDests(1, dest);
  return name;
}

std::optional<PrinterInfo> CupsPrinterCatalogue::printer(const QString& deviceName) {
  if (deviceName.isEmpty()) return std::nullopt;
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, deviceName.toUtf8().constData(), nullptr);
  if (!dest) return std::nullopt;
  PrinterInfo info = describe(dest);
  cupsFreeDests(1, dest);
  return info;
}

}  // namespace printing
