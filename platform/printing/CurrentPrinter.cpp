#include "platform/printing/CurrentPrinter.h"

#include "platform/printing/PrinterCatalogue.h"

namespace printing {

namespace {
QString& selected() {
  static QString name;
  return name;
}
}  // namespace

QString currentPrinter() { return selected().isEmpty() ? catalogue().defaultPrinter() : selected(); }

void setCurrentPrinter(const QString& name) { selected() = name; }

}  // namespace printing
