// The engine's server program. Started by D-Bus activation on a host's first creation, it is the
// front: it owns the program's bus name and serves every host (every client connection) from a
// worker process of its own, the same program started for that client, so no host's print window,
// hand-over database or document values are another's. The front ends when no worker runs (or
// nothing was asked for within its start grace).
//
// A worker makes the public classes for its client and ends when the client holds none of them
// any more or left the bus. A template manager the client opened keeps it running until the user
// closes it (closing ends the worker); where no user sees the display it does not: it closes as
// on the user's close when its host goes.
#include <QApplication>
#include <QDBusConnectionInterface>
#include <cstdio>
#include <cstring>

#include "automation/Klassenregistrierung.h"
#include "configuration/FormularGestaltung.h"
#include "configuration/frmDruckFormulare.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/Bridge.h"
#include "platform/automation/Front.h"
#include "platform/automation/Worker.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GermanQt.h"

namespace {

const QString kProjekt = QStringLiteral("Skrivant");

int front(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  automation::Front front(kProjekt);
  if (!front.start()) {
    std::fprintf(stderr, "skrivant: %s\n", qPrintable(front.errorString()));
    return 1;
  }
  QObject::connect(&front, &automation::Front::idle, &app, &QCoreApplication::quit);
  return QCoreApplication::exec();
}

int worker(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::useGermanQt();
  QApplication::setApplicationName(kProjekt);
  QGuiApplication::setApplicationDisplayName(kProjekt);
  // The preview, the designer and the progress window come and go; only the host ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  QString client, frontName;
  automation::Worker::fromArguments(QCoreApplication::arguments(), &client, &frontName);
  KlassenRegistrieren();
  configuration::FormularGestaltungAnmelden([] {
    // Replies already sent go out before the process ends: the bus answers a call only after it
    // has read everything this connection sent before it.
    if (const auto* bus = automation::Bridge::session().connection().interface()) bus->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    QCoreApplication::quit();
  });
  automation::Worker worker(kProjekt, client, frontName);
  if (!worker.start()) {
    std::fprintf(stderr, "skrivant: %s\n", qPrintable(worker.errorString()));
    return 1;
  }
  // An open template manager holds the user's input: the user's close ends the process, not the
  // host's leaving. A window nobody can see holds nothing, and once the bus is gone nobody can
  // be served: then it closes as on the user's close, saving first, and the process ends even
  // when that save failed.
  QObject::connect(&worker, &automation::Worker::idle, &app, [] {
    if (auto* fenster = configuration::OffeneFormularGestaltung()) {
      if (ui::dialogs().userSeesDisplay() && automation::Bridge::session().connection().isConnected()) return;
      DebugOutput(QStringLiteral("Druckformulare ohne Host geschlossen"));
      fenster->close();
      if (configuration::OffeneFormularGestaltung() && fenster->isVisible()) QCoreApplication::exit(0);
      return;
    }
    // A call of the host may still wait in a window it left open (a box, a preview, the print
    // options): exit ends every event loop, so those windows close and the calls unwind, and
    // any window the rest of the job would open closes at once.
    QCoreApplication::exit(0);
  });
  const int status = QApplication::exec();

  // Process-wide objects hold windows and connections: they go while the application is there.
  delete configuration::OffeneFormularGestaltung();
  SetGlobalConnectList(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A worker is told its client and its front on the command line (Worker::arguments).
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--client") == 0) return worker(argc, argv);
  return front(argc, argv);
}
