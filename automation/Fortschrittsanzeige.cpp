#include "automation/Fortschrittsanzeige.h"

#include "foundation/frmInfoFenster.h"
#include "platform/ui/Dialogs.h"

void FortschrittZeigen(std::unique_ptr<frmInfoFenster>& fenster, QObject* besitzer, const QString& text) {
  if (text.isEmpty()) return;
  if (!fenster) {
    fenster = std::make_unique<frmInfoFenster>();
    ui::dialogs().showWindow(*fenster, QStringLiteral("infofenster"));
    fenster->set_Parent(besitzer);
  }
  fenster->SetInfoText(text);
}
