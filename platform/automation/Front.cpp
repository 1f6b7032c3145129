#include "platform/automation/Front.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <limits>

#include "platform/automation/Bridge.h"
#include "platform/automation/Server.h"
#include "platform/automation/Worker.h"
#include "platform/vb/VbError.h"

namespace automation {

namespace {

const QString IntrospectableInterface = QStringLiteral("org.freedesktop.DBus.Introspectable");

// A creation a client asked for; a worker that ended before it answered gets it once more.
struct Creation {
  QDBusMessage call;
  int attempts = 0;
};

}  // namespace

struct WorkerProcess {
  quint64 id = 0;
  QString client;
  QString busName;  // once the worker said it serves
  QProcess process;
  QTimer startTimer;
  QList<Creation> waiting;  // asked for before the worker served
  QByteArray output;
  bool ending = false;  // takes no further creations
};

struct Front::Private : public QDBusVirtualObject {
  explicit Private(Front& front) : q(front) {}

  Front& q;
  QDBusConnection connection{QString()};
  QString program;
  QTimer grace;
  QTimer busCheck;
  const std::chrono::milliseconds workerStartTimeout{std::chrono::seconds(30)};
  QList<WorkerProcess*> workers;
  QHash<QString, WorkerProcess*> current;  // the worker taking each client's creations
  int answersDue = 0;                      // creations handed to a worker, not yet answered
  bool created = false;
  quint64 nextId = 1;

  WorkerProcess* byId(quint64 id) const {
    for (WorkerProcess* w : workers)
      if (w->id == id) return w;
    return nullptr;
  }

  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override;

  void create(Creation creation);
  WorkerProcess* startWorker(const QString& client);
  void onWorkerOutput(WorkerProcess* w);
  void forward(WorkerProcess* w, Creation creation);
  void workerFailed(WorkerProcess* w, const QString& reason);
  void workerGone(WorkerProcess* w);
  void retire(WorkerProcess* w);
  void refuse(const QDBusMessage& call, const QString& reason);
  void checkIdle();
};

bool Front::Private::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
  if (message.interface() == IntrospectableInterface && message.member() == QLatin1String("Introspect")) {
    connection.send(message.createReply(Bridge::factoryIntrospection()));
    return true;
  }
  if (message.member() != QLatin1String("CreateObject") || message.signature() != QLatin1String("s") ||
      (!message.interface().isEmpty() && message.interface() != QLatin1String(Bridge::FactoryInterface))) {
    connection.send(message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No method %1.%2 (%3)")
                                                                            .arg(message.interface(), message.member(),
                                                                                 message.signature())));
    return true;
  }
  created = true;
  message.setDelayedReply(true);
  create(Creation{message, 0});
  return true;
}

void Front::Private::create(Creation creation) {
  const QString client = creation.call.service();
  WorkerProcess* w = current.value(client);
  if (!w) w = startWorker(client);
  if (w->busName.isEmpty())
    w->waiting << creation;
  else
    forward(w, std::move(creation));
}

WorkerProcess* Front::Private::startWorker(const QString& client) {
  auto* w = new WorkerProcess;
  w->id = nextId++;
  w->client = client;
  workers << w;
  current.insert(client, w);
  w->process.setProgram(program);
  w->process.setArguments(Worker::arguments(client, connection.baseService()));
  // The worker's messages go where ours go; its standard output is the line it serves under.
  w->process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  w->process.setStandardInputFile(QProcess::nullDevice());
  QObject::connect(&w->process, &QProcess::readyReadStandardOutput, &q, [this, w] { onWorkerOutput(w); });
  QObject::connect(&w->process, &QProcess::errorOccurred, &q, [this, w](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    workerFailed(w, w->process.errorString());
    workerGone(w);
  });
  QObject::connect(&w->process, &QProcess::finished, &q, [this, w] {
    if (w->busName.isEmpty())
      workerFailed(w, QStringLiteral("der Arbeitsprozess endete mit Status %1, bevor er bereit war").arg(w->process.exitCode()));
    workerGone(w);
  });
  w->startTimer.setSingleShot(true);
  QObject::connect(&w->startTimer, &QTimer::timeout, &q, [this, w] {
    workerFailed(w, QStringLiteral("der Arbeitsprozess hat sich nicht innerhalb von %1 Sekunden gemeldet")
                        .arg(std::chrono::duration_cast<std::chrono::seconds>(workerStartTimeout).count()));
    w->process.kill();
  });
  w->startTimer.start(workerStartTimeout);
  w->process.start();
  return w;
}

void Front::Private::onWorkerOutput(WorkerProcess* w) {
  w->output += w->process.readAllStandardOutput();
  for (qsizetype end = w->output.indexOf('\n'); end >= 0; end = w->output.indexOf('\n')) {
    const QString line = QString::fromUtf8(w->output.left(end)).trimmed();
    w->output.remove(0, end + 1);
    if (line == QLatin1String("ende")) {
      retire(w);
    } else if (w->busName.isEmpty() && line.startsWith(QLatin1Char(':'))) {
      w->busName = line;
      w->startTimer.stop();
      for (Creation& c : std::exchange(w->waiting, {})) forward(w, std::move(c));
    }
  }
}

void Front::Private::forward(WorkerProcess* w, Creation creation) {
  QDBusMessage call = QDBusMessage::createMethodCall(w->busName, QLatin1String(Bridge::FactoryPath),
                                                     QLatin1String(Bridge::FactoryInterface), QStringLiteral("CreateObject"));
  call << creation.call.arguments().value(0);
  call.setAutoStartService(false);
  ++answersDue;
  // No bound: the worker may be in a window the user works in; it serves creations meanwhile.
  auto* pending = new QDBusPendingCallWatcher(connection.asyncCall(call, std::numeric_limits<int>::max()), &q);
  QObject::connect(pending, &QDBusPendingCallWatcher::finished, &q,
                   [this, id = w->id, creation = std::move(creation)](QDBusPendingCallWatcher* watcher) mutable {
                     watcher->deleteLater();
                     --answersDue;
                     const QDBusMessage reply = watcher->reply();
                     if (reply.type() == QDBusMessage::ReplyMessage) {
                       connection.send(creation.call.createReply(reply.arguments()));
                     } else if (reply.errorName().startsWith(QLatin1String(Bridge::ErrorName))) {
                       connection.send(creation.call.createErrorReply(reply.errorName(), reply.errorMessage()));
                     } else if (++creation.attempts < 2) {
                       // The worker went (its client let go of everything meanwhile) before it
                       // served the creation: a new one serves it.
                       if (WorkerProcess* gone = byId(id)) retire(gone);
                       create(std::move(creation));
                     } else {
                       refuse(creation.call, reply.errorMessage());
                     }
                     checkIdle();
                   });
}

void Front::Private::workerFailed(WorkerProcess* w, const QString& reason) {
  retire(w);
  for (const Creation& c : std::exchange(w->waiting, {})) refuse(c.call, reason);
  checkIdle();
}

void Front::Private::workerGone(WorkerProcess* w) {
  retire(w);
  workers.removeAll(w);
  w->process.disconnect(&q);
  w->startTimer.stop();
  // Deleted once its signal has returned.
  QMetaObject::invokeMethod(&q, [w] { delete w; }, Qt::QueuedConnection);
  checkIdle();
}

void Front::Private::retire(WorkerProcess* w) {
  w->ending = true;
  if (current.value(w->client) == w) current.remove(w->client);
}

void Front::Private::refuse(const QDBusMessage& call, const QString& reason) {
  const QString progId = call.arguments().value(0).toString();
  connection.send(Bridge::errorReply(call, vb::VbError(vb::ErrCannotCreateObject,
                                                       vb::standardErrorText(vb::ErrCannotCreateObject) +
                                                           QStringLiteral(" Grund: ") + reason,
                                                       progId)));
}

void Front::Private::checkIdle() {
  if (workers.isEmpty() && answersDue == 0 && created) emit q.idle();
}

Front::Front(const QString& project, QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(*this)), m_busName(busNameFor(project)) {
  d->program = QCoreApplication::applicationFilePath();
  d->grace.setSingleShot(true);
  d->grace.setInterval(std::chrono::seconds(30));
  connect(&d->grace, &QTimer::timeout, this, [this] {
    if (!d->created) emit idle();
  });
  d->busCheck.setInterval(std::chrono::seconds(1));
  connect(&d->busCheck, &QTimer::timeout, this, [this] {
    if (!d->connection.isConnected()) emit idle();
  });
}

Front::~Front() {
  if (d->connection.isConnected()) d->connection.unregisterObject(QLatin1String(Bridge::FactoryPath));
  // Only a bus that went away ends the front while workers run, and it ends them as well.
  for (WorkerProcess* w : std::as_const(d->workers)) w->process.disconnect(this);
  qDeleteAll(d->workers);
}

bool Front::start() {
  d->connection = QDBusConnection::sessionBus();
  if (!d->connection.isConnected()) {
    m_error = QStringLiteral("No session bus: %1").arg(d->connection.lastError().message());
    return false;
  }
  // The factory answers before the name is claimed: activation hands waiting calls over at once.
  d->connection.registerVirtualObject(QLatin1String(Bridge::FactoryPath), d.get());
  if (!claimBusName(d->connection, m_busName, &m_error)) return false;
  d->grace.start();
  d->busCheck.start();
  return true;
}

void Front::setWorkerProgram(const QString& program) { d->program = program; }

}  // namespace automation
