#include "platform/automation/Server.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "platform/automation/Bridge.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/vb/VbError.h"

namespace automation {

QString busNameFor(const QString& progId) {
  return QStringLiteral("de.automation.") + progId.section(QLatin1Char('.'), 0, 0).toLower();
}

std::chrono::milliseconds callbackTimeout() {
  bool ok = false;
  const double seconds = qEnvironmentVariable("AUTOMATION_CALLBACK_TIMEOUT").toDouble(&ok);
  if (!ok || !(seconds > 0) || seconds > 86400) return std::chrono::seconds(30);
  return std::chrono::milliseconds(std::llround(seconds * 1000));
}

Server::Server(const QString& project, QObject* parent) : QObject(parent), m_busName(busNameFor(project)) {
  m_grace.setSingleShot(true);
  m_grace.setInterval(std::chrono::seconds(30));
  connect(&m_grace, &QTimer::timeout, this, [this] {
    if (!m_created) emit idle();
  });
  // QtDBus keeps a program running when the bus goes away (the session ended).
  m_busCheck.setInterval(std::chrono::seconds(1));
  connect(&m_busCheck, &QTimer::timeout, this, &Server::checkBus);
}

Server::~Server() {
  for (const QPointer<Bridge>& bridge : std::as_const(m_peerBridges)) {
    if (!bridge) continue;
    const QString name = bridge->connection().name();
    delete bridge.data();
    QDBusConnection::disconnectFromPeer(name);
  }
  m_peerServer.reset();
  if (!m_socketPath.isEmpty()) QFile::remove(m_socketPath);
}

namespace {

const auto registryFactory = [](const QString& progId) { return createObject(progId); };

}  // namespace

Bridge* sessionBridge(QString* error) {
  try {
    return &Bridge::session();
  } catch (const vb::VbError& e) {
    *error = QStringLiteral("No session bus: %1").arg(e.source());
    return nullptr;
  }
}

bool claimBusName(QDBusConnection bus, const QString& busName, QString* error) {
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus.interface()->registerService(busName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid()) {
    *error = QStringLiteral("%1: %2").arg(busName, reply.error().message());
    return false;
  }
  if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    *error = QStringLiteral("%1 is owned by another process").arg(busName);
    return false;
  }
  return true;
}

bool Server::start() {
  Bridge* bridge = sessionBridge(&m_error);
  if (!bridge) return false;
  // The factory answers before the name is claimed: activation hands waiting calls over at once.
  bridge->serveFactory(registryFactory);
  bridge->addOwnName(m_busName);
  bridge->setCallTimeout(callbackTimeout());
  connect(bridge, &Bridge::exportedCountChanged, this, &Server::onExportedCountChanged, Qt::UniqueConnection);
  if (!claimBusName(bridge->connection(), m_busName, &m_error)) return false;
  m_grace.start();
  m_busCheck.start();
  return true;
}

QString Server::socketPathError(const QString& socketPath) {
  const qsizetype bytes = QFile::encodeName(QFileInfo(socketPath).absoluteFilePath()).size();
  if (bytes <= kMaxSocketPathBytes) return {};
  return QStringLiteral("%1: the socket path is %2 bytes long, a client can reach one of at most %3")
      .arg(socketPath)
      .arg(bytes)
      .arg(kMaxSocketPathBytes);
}

bool Server::listen(const QString& socketPath) {
  // Made under a short name and renamed, a longer socket would appear and refuse every client.
  m_error = socketPathError(socketPath);
  if (!m_error.isEmpty()) return false;
  const QFileInfo info(socketPath);
  if (!info.dir().exists()) {
    m_error = QStringLiteral("%1: the folder does not exist").arg(socketPath);
    return false;
  }
  // The bus library makes the socket writable for everybody; the folder keeps the others out.
  const QFileInfo folder(info.absolutePath());
  if (folder.ownerId() != ::getuid() ||
      (folder.permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                               QFileDevice::WriteOther | QFileDevice::ExeOther))) {
    m_error = QStringLiteral("%1: the folder must be the user's alone (mode 0700)").arg(socketPath);
    return false;
  }
  // This process owns the bus name, so a socket file there is one an ended server left behind.
  if (info.exists() && !info.isFile() && !info.isDir()) QFile::remove(socketPath);
  // The socket is made under a name of its own and renamed once it accepts clients and this side
  // takes their connections: a client that finds the socket is served from its first call.
  const QString making = info.absolutePath() + QStringLiteral("/.s") + QString::number(::getpid());
  QFile::remove(making);
  auto server = std::make_unique<QDBusServer>(QStringLiteral("unix:path=") + making);
  if (!server->isConnected()) {
    m_error = QStringLiteral("%1: %2").arg(socketPath, server->lastError().message());
    return false;
  }
  QFile::setPermissions(making, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  // Whoever reaches the socket is the user or root: a client through an SSH-forwarded socket
  // states the user id of its own machine, which need not be this one's.
  server->setAnonymousAuthenticationAllowed(true);
  connect(server.get(), &QDBusServer::newConnection, this, &Server::onPeerConnection);
  if (std::rename(QFile::encodeName(making).constData(), QFile::encodeName(socketPath).constData()) != 0) {
    m_error = QStringLiteral("%1: %2").arg(socketPath, QString::fromLocal8Bit(std::strerror(errno)));
    QFile::remove(making);
    return false;
  }
  m_peerServer = std::move(server);
  m_socketPath = socketPath;
  return true;
}

void Server::onPeerConnection(const QDBusConnection& connection) {
  auto* bridge = new Bridge(connection, this);
  bridge->serveFactory(registryFactory);
  bridge->setCallTimeout(callbackTimeout());
  m_peerBridges << bridge;
  connect(bridge, &Bridge::exportedCountChanged, this, &Server::onExportedCountChanged);
  connect(bridge, &Bridge::disconnected, this, [this, bridge] {
    m_peerBridges.removeAll(bridge);
    const QString name = bridge->connection().name();
    bridge->deleteLater();
    QMetaObject::invokeMethod(this, [name] { QDBusConnection::disconnectFromPeer(name); }, Qt::QueuedConnection);
  });
}

void Server::setStartGrace(std::chrono::milliseconds grace) { m_grace.setInterval(grace); }

void Server::onExportedCountChanged() {
  int count = Bridge::session().exportedCount();
  for (const QPointer<Bridge>& bridge : std::as_const(m_peerBridges))
    if (bridge) count += bridge->exportedCount();
  if (count > 0) {
    m_created = true;
  } else if (m_created) {
    emit idle();
  }
}

void Server::checkBus() {
  if (!Bridge::session().connection().isConnected()) emit idle();
}

}  // namespace automation
