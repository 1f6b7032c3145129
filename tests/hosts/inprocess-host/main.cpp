// A host that links the installed engine and drives Skrivant.Application in process, by name, as
// it would over the bus. Prints one line per answer; exits non-zero when something is missing.
//   inprocess-host <local path>
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "automation/Klassenregistrierung.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/LateBinding.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"
#include "platform/vb/VbError.h"

using automation::CallKind;

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc != 2) return 64;
  try {
    KlassenRegistrieren();
    const auto app = automation::createObject(QStringLiteral("Skrivant.Application"));
    QList<vb::Variant> pfad{QStringLiteral("  ") + QString::fromLocal8Bit(argv[1]) + QStringLiteral("  ")};
    automation::callByName(*app, QStringLiteral("LokalerPfad"), CallKind::Let, pfad);
    std::printf("LokalerPfad=%s\n", qPrintable(vb::CStr(pfad.at(0))));
    std::printf("GetVersion=%s\n",
                qPrintable(vb::CStr(automation::callByName(*app, QStringLiteral("GetVersion"), CallKind::Method))));
    std::printf("IsBesetzt=%s\n",
                qPrintable(vb::CStr(automation::callByName(*app, QStringLiteral("IsBesetzt"), CallKind::Get))));
    std::printf("Betrag=%s\n", qPrintable(vb::Format(1234.5, QStringLiteral("#,##0.00"))));
    const bool vorlage = QFileInfo::exists(QStringLiteral(VORLAGEN "/Rechnung.lst"));
    std::printf("Rechnung.lst=%s\n", vorlage ? "da" : "fehlt");
    return vorlage ? 0 : 1;
  } catch (const vb::VbError& e) {
    std::printf("Fehler %ld: %s\n", e.number(), qPrintable(e.description()));
    return 2;
  }
}
