// A client of TarneloSrv in a process of its own, linked with the bridge's client library only.
// Each answer goes to stdout as one "Name=Wert" line.
//
//   tarnelosrv-testclient host
//       creates a TarneloSrv.Application, hands it this process's host object (Aktiv True;
//       Bestellen and Reservieren print "Bestellen=<ISBN>", "Reservieren=<ISBN>") and its link
//       object, says "bereit=1" and serves the server's calls; when stdin closes it releases the
//       Application, says "freigegeben=1" and ends
//   tarnelosrv-testclient falsch
//       creates a TarneloSrv.Application and hands each member that takes an object Null,
//       Empty, a text and a number, by Let and by Set; says "<member> <kind> <value>=<error>"
//       for each, then releases it
//   tarnelosrv-testclient freigeben
//       creates a TarneloSrv.Application (D-Bus activation starts the server), releases it and
//       says whether the server's bus name went away ("ServerBeendet=True")
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "platform/automation/Client.h"
#include "platform/automation/Server.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "tests/support/ErrorOf.h"

namespace {

using automation::CallKind;

void zeile(const QString& name, const QString& wert) {
  std::printf("%s=%s\n", qPrintable(name), qPrintable(wert));
  std::fflush(stdout);
}

// The host application as the server sees it: active, and the two calls of the info window.
class HostObjekt : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Aktiv READ Aktiv)

 public:
  bool Aktiv() const { return true; }
  Q_INVOKABLE void Bestellen(const QString& ISBN) { zeile(QStringLiteral("Bestellen"), ISBN); }
  Q_INVOKABLE void Reservieren(const QString& ISBN) { zeile(QStringLiteral("Reservieren"), ISBN); }
};

class LinkObjekt : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString ProgrammLinkInfo READ ProgrammLinkInfo)

 public:
  QString ProgrammLinkInfo() const { return QStringLiteral("Testclient Kasse 2"); }
};

const QString kProgId = QStringLiteral("TarneloSrv.Application");

int host() {
  auto app = automation::createRemoteObject(kProgId);
  auto objekt = std::make_shared<HostObjekt>();
  automation::callByName(*app, QStringLiteral("AccessApp"), CallKind::Set, {vb::Variant(objekt)});
  automation::callByName(*app, QStringLiteral("EventClass"), CallKind::Let, {vb::Variant(std::make_shared<LinkObjekt>())});
  zeile(QStringLiteral("bereit"), QStringLiteral("1"));
  QSocketNotifier eingabe(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&eingabe, &QSocketNotifier::activated, [&] {
    char puffer[64];
    if (::read(STDIN_FILENO, puffer, sizeof puffer) > 0) return;
    eingabe.setEnabled(false);
    app.reset();
    zeile(QStringLiteral("freigegeben"), QStringLiteral("1"));
    QCoreApplication::exit(0);
  });
  return QCoreApplication::exec();
}

int falsch() {
  auto app = automation::createRemoteObject(kProgId);
  const std::pair<const char*, vb::Variant> werte[] = {
      {"Null", vb::Variant::null()}, {"Empty", vb::Variant()}, {"Text", vb::Variant(QStringLiteral("Kasse"))}, {"Zahl", vb::Variant(42)}};
  for (const char* member : {"EventClass", "AccessApp", "ConnectList"})
    for (const auto& [art, kind] : {std::pair{"Let", CallKind::Let}, std::pair{"Set", CallKind::Set}})
      for (const auto& [name, wert] : werte)
        zeile(QStringLiteral("%1 %2 %3").arg(QLatin1String(member), QLatin1String(art), QLatin1String(name)),
              QString::number(testsupport::errorOf([&] { automation::callByName(*app, QString::fromLatin1(member), kind, {wert}); })));
  return 0;
}

int freigeben() {
  auto app = automation::createRemoteObject(kProgId);
  const QString name = automation::busNameFor(kProgId);
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  zeile(QStringLiteral("ServerLaeuft"), bus->isServiceRegistered(name).value() ? QStringLiteral("True") : QStringLiteral("False"));
  app.reset();
  const QDeadlineTimer frist(20000);
  while (!frist.hasExpired() && bus->isServiceRegistered(name).value()) {
    QCoreApplication::processEvents();
    QThread::msleep(50);
  }
  zeile(QStringLiteral("ServerBeendet"), bus->isServiceRegistered(name).value() ? QStringLiteral("False") : QStringLiteral("True"));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication anwendung(argc, argv);
  const QStringList a = anwendung.arguments();
  try {
    if (a.value(1) == QLatin1String("host")) return host();
    if (a.value(1) == QLatin1String("freigeben")) return freigeben();
    if (a.value(1) == QLatin1String("falsch")) return falsch();
  } catch (const vb::VbError& e) {
    zeile(QStringLiteral("Fehler"), QStringLiteral("%1|%2").arg(e.number()).arg(e.description()));
    return 1;
  }
  std::fprintf(stderr, "usage: tarnelosrv-testclient host|falsch|freigeben\n");
  return 2;
}

#include "main.moc"
