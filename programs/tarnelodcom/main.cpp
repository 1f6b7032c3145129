// TarneloDCOM: shows its window, creates its own Application and serves "TarneloDCOM.Application"
// on the session bus and on the unix socket of its settings. It runs until the last client's
// Application is released, a client calls Quit, or the session ends.
#include <QApplication>
#include <QDBusConnection>
#include <cstdio>

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Server.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GermanQt.h"
#include "platform/vb/VbError.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"
#include "stockservers/remote/Module1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::useGermanQt();
  QApplication::setApplicationName(QStringLiteral("TarneloDCOM"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("TarneloDCOM"));
  QApplication::setQuitOnLastWindowClosed(false);

  // A socket no client could reach is refused before anything starts: made under a short name
  // and renamed, it would appear and turn every client away.
  const QString socket = dcom::PeerSocket();
  if (const QString fehler = automation::Server::socketPathError(socket); !fehler.isEmpty()) {
    std::fprintf(stderr, "tarnelodcom: %s\n", qPrintable(fehler));
    ui::MsgBox(QStringLiteral("TarneloDCOM wird beendet: Der Socket-Pfad \"%1\" ist zu lang, Clients anderer Rechner "
                              "erreichen höchstens %2 Bytes. Bitte unter [LagerServer] einen kürzeren \"Socket\" eintragen.")
                   .arg(socket)
                   .arg(automation::Server::kMaxSocketPathBytes),
               ui::vbCritical, QStringLiteral("TarneloDCOM"));
    return 1;
  }
  dcom::Module1 module;
  try {
    dcom::Main(module);
  } catch (const vb::VbError& e) {
    std::fprintf(stderr, "tarnelodcom: %s\n", qPrintable(e.description() + QLatin1Char(' ') + e.source()));
    return 1;
  }

  automation::registerClass<dcom::Application>(QStringLiteral("TarneloDCOM.Application"));
  automation::Server server(QStringLiteral("TarneloDCOM"));
  if (!server.start() || !server.listen(socket)) {
    std::fprintf(stderr, "tarnelodcom: %s\n", qPrintable(server.errorString()));
    return 1;
  }
  // A server started by hand waits for its clients however long; the last client's release ends
  // it through Application's termination, so only the end of the session is left to watch.
  QObject::connect(&server, &automation::Server::idle, &app, [] {
    if (!QDBusConnection::sessionBus().isConnected()) QCoreApplication::quit();
  });
  const int status = QApplication::exec();
  module.gobjApplication.reset();
  return status;
}
