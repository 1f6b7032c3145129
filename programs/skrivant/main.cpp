// The engine's server process: it makes the public classes available on the session bus under
// the program's name and ends when no host holds any of its objects any more (or none was
// asked for within the server's start grace). D-Bus activation starts it on a host's first
// creation. A template manager opened by a host keeps it running until the user closes it;
// closing it ends the process.
#include <QApplication>
#include <QDBusConnectionInterface>
#include <cstdio>

#include "automation/Klassenregistrierung.h"
#include "configuration/FormularGestaltung.h"
#include "configuration/frmDruckFormulare.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/Bridge.h"
#include "platform/automation/Server.h"
#include "platform/ui/GermanQt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::useGermanQt();
  QApplication::setApplicationName(QStringLiteral("Skrivant"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Skrivant"));
  // The preview, the designer and the progress window come and go; only the hosts end the program.
  QApplication::setQuitOnLastWindowClosed(false);

  KlassenRegistrieren();
  configuration::FormularGestaltungAnmelden([] {
    // Replies already sent go out before the process ends: the bus answers a call only after it
    // has read everything this connection sent before it.
    if (const auto* bus = automation::Bridge::session().connection().interface()) bus->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    QCoreApplication::quit();
  });
  automation::Server server(QStringLiteral("Skrivant"));
  if (!server.start()) {
    std::fprintf(stderr, "skrivant: %s\n", qPrintable(server.errorString()));
    return 1;
  }
  // An open template manager holds the user's input: the user's close ends the process, not the
  // hosts' leaving. Once the bus is gone it closes as on the user's close, saving first.
  QObject::connect(&server, &automation::Server::idle, &app, [] {
    if (auto* fenster = configuration::OffeneFormularGestaltung()) {
      if (!automation::Bridge::session().connection().isConnected()) fenster->close();
      return;
    }
    // A call of the last host may still wait in a window it left open (a box, a preview, the
    // print options): exit ends every event loop, so those windows close and the calls unwind,
    // and any window the rest of the job would open closes at once.
    QCoreApplication::exit(0);
  });
  const int status = QApplication::exec();

  // Process-wide objects hold windows and connections: they go while the application is there.
  delete configuration::OffeneFormularGestaltung();
  SetGlobalConnectList(nullptr);
  return status;
}
