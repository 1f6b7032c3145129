// Creates the engine's print window in process and calls it by name, as a host would.
// Prints one line per answer; exits non-zero when something is not there.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "engine/frmDrucken.h"
#include "platform/automation/LateBinding.h"
#include "platform/report/ReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"
#include "platform/vb/VbError.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  try {
    frmDrucken fenster(std::make_shared<report::ReportControl>());
    automation::callByName(fenster, QStringLiteral("PDFArchivDatei"), automation::CallKind::Let,
                           {QStringLiteral("/tmp/archiv.pdf")});
    const QString archiv =
        vb::CStr(automation::callByName(fenster, QStringLiteral("PDFArchivDatei"), automation::CallKind::Get));
    const QString version =
        vb::CStr(automation::callByName(fenster, QStringLiteral("GetVersion"), automation::CallKind::Method));
    std::printf("PDFArchivDatei=%s\n", qPrintable(archiv));
    std::printf("GetVersion=%s\n", qPrintable(version));
    std::printf("Betrag=%s\n", qPrintable(vb::Format(1234.5, QStringLiteral("#,##0.00"))));
    const bool vorlage = QFileInfo::exists(QStringLiteral(VORLAGEN "/Rechnung.lst"));
    std::printf("Rechnung.lst=%s\n", vorlage ? "da" : "fehlt");
    return vorlage ? 0 : 1;
  } catch (const vb::VbError& e) {
    std::printf("Fehler %ld: %s\n", e.number(), qPrintable(e.description()));
    return 2;
  }
}
