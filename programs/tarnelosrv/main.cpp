// TarneloSrv: starts with its main window in the tray and its own Application, watches the
// clipboard and serves "TarneloSrv.Application" on the session bus. It ends by "Beenden", by a
// client's Quit, by the release of the last client's Application, or when the session bus goes away. Without a
// session bus it still looks up what the user copies.
#include <QApplication>
#include <QDBusConnection>
#include <cstdio>

#include "platform/automation/Bridge.h"
#include "platform/automation/Server.h"
#include "platform/ui/GermanQt.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/Module1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::useGermanQt();
  QApplication::setApplicationName(QStringLiteral("TarneloSrv"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("TarneloSrv"));
  QApplication::setQuitOnLastWindowClosed(false);
  Application::setProzessEnde([] { QCoreApplication::exit(0); });

  Module1::KlassenRegistrieren();
  automation::Server server(QStringLiteral("TarneloSrv"));
  const bool bus = QDBusConnection::sessionBus().isConnected();
  if (!server.start()) {
    std::fprintf(stderr, "tarnelosrv: %s\n", qPrintable(server.errorString()));
    // A second server in the same session would look up every copy twice.
    if (bus) return 1;
  }
  // The server lives on without clients; only a lost session ends it here.
  QObject::connect(&server, &automation::Server::idle, &app, [bus] {
    if (bus && !automation::Bridge::session().connection().isConnected()) QCoreApplication::exit(0);
  });

  Module1 start;
  QObject::connect(&start.form(), &Form1::beenden, &app, [] { QCoreApplication::exit(0); });
  if (!bus) start.form().LogZeile(QStringLiteral("Kein Sitzungsbus: Clients erreichen den Server nicht."));
  return QApplication::exec();
}
