#include "platform/automation/Worker.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <cstdio>

#include "platform/automation/Bridge.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Server.h"

namespace automation {

namespace {

const QString ClientOption = QStringLiteral("--client");
const QString FrontOption = QStringLiteral("--front");

void say(const QString& line) {
  std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
  std::fflush(stdout);
}

}  // namespace

QStringList Worker::arguments(const QString& client, const QString& front) { return {ClientOption, client, FrontOption, front}; }

bool Worker::fromArguments(const QStringList& args, QString* client, QString* front) {
  const qsizetype c = args.indexOf(ClientOption), f = args.indexOf(FrontOption);
  if (c < 1 || f < 1 || c + 1 >= args.size() || f + 1 >= args.size()) return false;
  *client = args[c + 1];
  *front = args[f + 1];
  // Unique bus names only: a worker serves one connection, never a well-known name.
  return client->startsWith(QLatin1Char(':')) && front->startsWith(QLatin1Char(':'));
}

Worker::Worker(const QString& project, const QString& client, const QString& front, QObject* parent)
    : QObject(parent), m_project(project), m_client(client), m_front(front) {
  m_grace.setSingleShot(true);
  m_grace.setInterval(std::chrono::seconds(30));
  connect(&m_grace, &QTimer::timeout, this, [this] {
    if (!m_created) end();
  });
  m_busCheck.setInterval(std::chrono::seconds(1));
  connect(&m_busCheck, &QTimer::timeout, this, [this] {
    if (!Bridge::session().connection().isConnected()) end();
  });
}

Worker::~Worker() = default;

bool Worker::start() {
  Bridge* bridge = sessionBridge(&m_error);
  if (!bridge) return false;
  bridge->serveFactory([](const QString& progId) { return createObject(progId); },
                       [client = m_client, front = m_front](const QString& caller) {
                         return caller == front || caller == client ? client : QString();
                       });
  // References a host builds from the program's well-known name are ours too.
  bridge->addOwnName(busNameFor(m_project));
  bridge->setCallTimeout(callbackTimeout());
  connect(bridge, &Bridge::exportedCountChanged, this, &Worker::onExportedCountChanged);

  // A client gone before its first object arrived is watched here; afterwards the bridge
  // releases what it held, which ends the worker as well.
  QDBusConnection bus = bridge->connection();
  m_clientWatch = new QDBusServiceWatcher(m_client, bus, QDBusServiceWatcher::WatchForUnregistration, this);
  connect(m_clientWatch, &QDBusServiceWatcher::serviceUnregistered, this, [this] { end(); });
  if (!bus.interface()->isServiceRegistered(m_client).value()) {
    end();
    return true;
  }
  m_grace.start();
  m_busCheck.start();
  say(bus.baseService());
  return true;
}

void Worker::onExportedCountChanged(int count) {
  if (count > 0)
    m_created = true;
  else if (m_created)
    end();
}

void Worker::end() {
  if (m_ended) return;
  m_ended = true;
  say(QStringLiteral("ende"));
  emit idle();
}

}  // namespace automation
