#include "configuration/FormularGestaltung.h"

#include <QPointer>

#include "automation/Application.h"
#include "configuration/clsMenuHandler.h"
#include "configuration/frmDruckFormulare.h"
#include "foundation/modDebugOutput.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace configuration {

namespace {

QPointer<frmDruckFormulare>& fenster() {
  static QPointer<frmDruckFormulare> f;
  return f;
}

// The steps after Application's own: each failure is logged and the next step runs; only a
// window that could not be made at all is raised, so the caller knows none is open.
void Oeffnen(const std::shared_ptr<clsConnectionHandler>& ConnectList, std::int16_t AuftragStatus,
             std::int16_t VorlageNr) {
  const auto schritt = [](auto&& f) { vb::resumeNext(QString(), f); };
  DebugOutput(QStringLiteral("Load frmDruckFormulare"));
  if (!fenster()) {
    if (const auto fehler = vb::resumeNext(QString(), [] { fenster() = new frmDruckFormulare; }))
      vb::raise(vb::ErrCannotCreateObject);
  }
  frmDruckFormulare& f = *fenster();
  DebugOutput(QStringLiteral("Set frmDruckFormulare.ConnectList"));
  f.set_ConnectList(ConnectList);
  DebugOutput(QStringLiteral("frmDruckFormulare.BaumLaden"));
  schritt([&] { f.BaumLaden(); });
  schritt([&] {
    ui::dialogs().showWindow(f, QStringLiteral("Druckformulare"));
    f.activateWindow();
    f.setFocus();
  });
  schritt([&] { f.SetNode(AuftragStatus, VorlageNr); });
  DebugOutput(QStringLiteral("Ende Formulargestaltung"));
}

}  // namespace

void FormularGestaltungAnmelden(std::function<void()> prozessende) {
  frmDruckFormulare::setProzessende(std::move(prozessende));
  Application::setVorlagenverwaltung(&Oeffnen);
  automation::registerClass<clsMenuHandler>(QStringLiteral("Skrivant.clsMenuHandler"));
}

frmDruckFormulare* OffeneFormularGestaltung() { return fenster(); }

}  // namespace configuration
