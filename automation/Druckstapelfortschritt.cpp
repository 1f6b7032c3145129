#include "automation/Druckstapelfortschritt.h"

#include "engine/frmDrucken.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/frmInfoFenster.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/VbError.h"

void FortschrittZeigen(std::unique_ptr<frmInfoFenster>& fenster, QObject* besitzer, const QString& text) {
  if (text.isEmpty()) return;
  if (!fenster) {
    fenster = std::make_unique<frmInfoFenster>();
    ui::dialogs().showWindow(*fenster, QStringLiteral("infofenster"));
    fenster->set_Parent(besitzer);
  }
  fenster->SetInfoText(text);
}

void KeinLaufenderAuftrag(const frmDrucken& fenster, const QString& quelle) {
  if (fenster.Running())
    vb::raise(vb::ErrInvalidCall, quelle, QStringLiteral("Die Druckausgabe ist besetzt: ein anderer Druckauftrag läuft noch."));
}
