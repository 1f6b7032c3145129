#include "stockservers/tray/Module1.h"

#include "foundation/clsConnectionHandler.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/ui/Dialogs.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"

Module1::Module1() : m_form(std::make_unique<Form1>()) {
  ui::dialogs().showWindow(*m_form, QStringLiteral("form1"));
  m_objApp = std::make_shared<Application>(true);
  m_objApp->let_KundenNr(1);
  m_objApp->let_FilialNr(10000);
  m_objApp->let_BestaendeAbgleichen(true);
}

// The server's own object goes before the window it uses.
Module1::~Module1() { m_objApp.reset(); }

void Module1::KlassenRegistrieren() {
  automation::registerClass<Application>(QStringLiteral("TarneloSrv.Application"));
  automation::registerClass<clsConnectionHandler>(QStringLiteral("TarneloSrv.clsConnectionHandler"));
}
