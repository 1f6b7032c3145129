#pragma once
// A program's public face on the session bus: it owns the program's well-known name and serves
// the factory (de.automation.Factory.CreateObject at "/factory") from the class registry.
// A program registers its classes, starts a Server and quits on idle():
//   automation::registerClass<Application>(QStringLiteral("Skrivant.Application"));
//   automation::Server server(QStringLiteral("Skrivant"));
//   if (!server.start()) return 1;
//   QObject::connect(&server, &automation::Server::idle, &app, &QCoreApplication::quit);
// A program with clients on other machines serves the same factory and objects on a unix socket
// too (listen), each connection a client of its own. Its calls back into a client have the bound
// callbackTimeout().
#include <QDBusConnection>
#include <QDBusServer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>

namespace automation {

class Bridge;

// The session-bus name of the program serving `progId`: "de.automation." followed by the
// identifier's part before the first dot in lower case ("Skrivant.Application" and
// "skrivant.application" both give "de.automation.skrivant"), as bus names are case-sensitive
// and identifiers are not. A bare project name ("Skrivant") gives the same.
QString busNameFor(const QString& progId);

// How long a program waits for a host that it calls back (a record set's Fields, a host
// application's Aktiv): AUTOMATION_CALLBACK_TIMEOUT in seconds (decimals allowed), 30 when it is
// not set or no positive number.
std::chrono::milliseconds callbackTimeout();

// The session bus's bridge, or nullptr with *error when there is no session bus.
Bridge* sessionBridge(QString* error);
// Claims `busName` on `bus` for good (no queue, no replacement). False with *error when the bus
// refuses or another process owns the name.
bool claimBusName(QDBusConnection bus, const QString& busName, QString* error);

class Server : public QObject {
  Q_OBJECT

 public:
  // Serves the identifiers of `project` ("Skrivant") under busNameFor(project).
  explicit Server(const QString& project, QObject* parent = nullptr);
  ~Server() override;

  // Claims the bus name. False, with errorString(), when there is no session bus or another
  // process owns the name.
  bool start();
  QString busName() const { return m_busName; }
  QString errorString() const { return m_error; }

  // Serves the factory on the D-Bus peer address "unix:path=<socketPath>" as well, after start().
  // The socket's folder must belong to the user and be closed to everybody else (as
  // $XDG_RUNTIME_DIR is): only the user (and root) reach the socket, so whoever does is let in
  // without a further check of the user id it states; that way a client on another machine gets
  // in through a socket SSH forwards for the user's account. Never a TCP address. A socket file
  // left by an ended server is replaced; the socket appears only once it takes connections. False, with errorString(), when the folder is open to
  // others, the path is too long (socketPathError) or the socket cannot be made.
  bool listen(const QString& socketPath);

  // The longest socket path the bus library binds and connects to, in bytes of the file system's
  // encoding: libdbus takes 99, though the kernel's sun_path holds 108 on Linux.
  static constexpr qsizetype kMaxSocketPathBytes = 99;
  // Why no client could reach a socket at `socketPath` (its absolute path is longer than
  // kMaxSocketPathBytes), or empty.
  static QString socketPathError(const QString& socketPath);

  // How long a started server waits for its first object before it is idle (30 s).
  void setStartGrace(std::chrono::milliseconds grace);

 signals:
  // Nothing is left to serve: the last object held by a client was released (or its client
  // left the bus or closed its connection), no object was created within the start grace, or the bus went away.
  void idle();

 private:
  void onExportedCountChanged();
  void checkBus();
  void onPeerConnection(const QDBusConnection& connection);

  QString m_busName;
  QString m_error;
  QTimer m_grace;
  QTimer m_busCheck;
  bool m_created = false;
  std::unique_ptr<QDBusServer> m_peerServer;
  QString m_socketPath;
  QList<QPointer<Bridge>> m_peerBridges;
};

}  // namespace automation
