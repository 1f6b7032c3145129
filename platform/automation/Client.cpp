#include "platform/automation/Client.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

#include "platform/automation/Bridge.h"
#include "platform/automation/Server.h"
#include "platform/vb/VbError.h"

namespace automation {

std::shared_ptr<QObject> createRemoteObject(const QString& progId) {
  return Bridge::session().createRemote(busNameFor(progId), progId);
}

namespace {

QHash<QString, QPointer<Bridge>>& peerBridges() {
  static QHash<QString, QPointer<Bridge>> bridges;
  return bridges;
}

Bridge& peerBridge(const QString& address) {
  QPointer<Bridge>& bridge = peerBridges()[address];
  if (bridge && bridge->connection().isConnected()) return *bridge;
  if (!QCoreApplication::instance()) vb::raise(vb::ErrCannotCreateObject, QStringLiteral("no QCoreApplication"));
  static bool cleanupAdded = false;
  if (!cleanupAdded) {
    cleanupAdded = true;
    qAddPostRoutine([] {
      for (const QPointer<Bridge>& b : std::as_const(peerBridges())) delete b.data();
      peerBridges().clear();
    });
  }
  static int nextConnection = 1;
  const QDBusConnection connection =
      QDBusConnection::connectToPeer(address, QStringLiteral("automation-peer-%1").arg(nextConnection++));
  if (!connection.isConnected()) {
    const QString message = connection.lastError().message();
    QDBusConnection::disconnectFromPeer(connection.name());
    vb::raise(vb::ErrCannotCreateObject, QStringLiteral("%1: %2").arg(address, message));
  }
  bridge = new Bridge(connection);
  // Proxies of a closed connection see their bridge gone and raise 462.
  QObject::connect(bridge, &Bridge::disconnected, bridge, [b = bridge.data()] {
    const QString name = b->connection().name();
    b->deleteLater();
    QMetaObject::invokeMethod(QCoreApplication::instance(), [name] { QDBusConnection::disconnectFromPeer(name); }, Qt::QueuedConnection);
  });
  return *bridge;
}

}  // namespace

std::shared_ptr<QObject> createRemoteObject(const QString& progId, const QString& address) {
  Bridge& bridge = peerBridge(address);
  try {
    return bridge.createRemote(QString(), progId);
  } catch (const vb::VbError&) {
    // The connection of an earlier server of this address may not yet know that server ended;
    // a server started since is reached on a new one.
    if (bridge.connection().isConnected()) throw;
  }
  return peerBridge(address).createRemote(QString(), progId);
}

}  // namespace automation
