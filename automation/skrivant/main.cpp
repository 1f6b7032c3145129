// The engine's server process: it makes the public classes available on the session bus under
// the program's name and ends when no host holds any of its objects any more (or none was
// asked for within the server's start grace). D-Bus activation starts it on a host's first
// creation.
#include <QApplication>
#include <cstdio>

#include "automation/Klassenregistrierung.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/Server.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skrivant"));
  // The preview, the designer and the progress window come and go; only the hosts end the program.
  QApplication::setQuitOnLastWindowClosed(false);

  KlassenRegistrieren();
  automation::Server server(QStringLiteral("Skrivant"));
  if (!server.start()) {
    std::fprintf(stderr, "skrivant: %s\n", qPrintable(server.errorString()));
    return 1;
  }
  QObject::connect(&server, &automation::Server::idle, &app, &QCoreApplication::quit);
  const int status = QApplication::exec();

  // Process-wide objects hold windows and connections: they go while the application is there.
  SetGlobalConnectList(nullptr);
  return status;
}
