// The bridge tests' peer. Without arguments it is the server of "BridgeTest.*", started by D-Bus
// activation from its build-tree service file; "--listen <socket>" serves the socket too and
// prints "listening". With "--hold <log file> [peer address]" it is a host that creates a
// BridgeTest.Lifetime (over the bus or the peer address), prints "ready" and waits to be killed;
// "--client <identifier> [peer address]" does the same with an object of another program.
// "--front <worker program>" is the front of "FrontTest", whose workers run <worker program>.
// AUTOMATION_TEST_PEER_GRACE_MS shortens the server's start grace.
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QThread>
#include <cstdio>
#include <unistd.h>

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Client.h"
#include "platform/automation/Front.h"
#include "platform/automation/Server.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

using automation::CallKind;
using automation::callByName;
using vb::Variant;

namespace {

// Gives back what it gets and changes what it gets by reference.
class EchoObject : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Name MEMBER m_name)

 public:
  Q_INVOKABLE vb::Variant Echo(const vb::Variant& value) { return value; }
  Q_INVOKABLE int VarTypeOf(const vb::Variant& value) { return int(value.varType()); }
  Q_INVOKABLE void Trim(QString& text) { text = text.trimmed(); }
  Q_INVOKABLE void Twice(QString& text) { text += text; }
  Q_INVOKABLE bool Given(const vb::Variant& value = vb::Variant::missing()) { return !value.isMissing(); }
  Q_INVOKABLE void Increment(short& number, vb::Variant& note) {
    ++number;
    note = Variant(QStringLiteral("geändert"));
  }
  Q_INVOKABLE void Raise(int number, const QString& source, const QString& description) {
    vb::raise(number, source, description);
  }
  // Whether `other` is an Echo of this process: a reference that came home.
  Q_INVOKABLE bool IsLocal(const std::shared_ptr<QObject>& other) { return qobject_cast<EchoObject*>(other.get()); }
  Q_INVOKABLE int Pid() { return int(::getpid()); }
  Q_INVOKABLE bool OnMainThread() { return QThread::currentThread() == qApp->thread(); }
  Q_INVOKABLE void Block(int seconds) { QThread::sleep(seconds); }

  // Walks a record source of the caller: "<RecordCount>:<Name>;<Name>…".
  Q_INVOKABLE QString Names(const std::shared_ptr<QObject>& records) {
    QStringList names;
    callByName(*records, QStringLiteral("MoveFirst"), CallKind::Method);
    const long count = vb::CLng(callByName(*records, QStringLiteral("RecordCount"), CallKind::Get));
    while (!vb::CBool(callByName(*records, QStringLiteral("EOF"), CallKind::Get))) {
      const Variant field = callByName(*records, QStringLiteral("Fields"), CallKind::Method, {Variant("Name")});
      names << vb::CStr(callByName(*field.object(), QStringLiteral("Value"), CallKind::Get));
      callByName(*records, QStringLiteral("MoveNext"), CallKind::Method);
    }
    return QString::number(count) + QLatin1Char(':') + names.join(QLatin1Char(';'));
  }

 private:
  QString m_name;
};

// Writes a line into its log file when it terminates, so a test sees the release.
class Lifetime : public QObject {
  Q_OBJECT

 public:
  ~Lifetime() override {
    QFile file(m_log);
    if (!m_log.isEmpty() && file.open(QIODevice::Append)) file.write("terminated\n");
  }
  Q_INVOKABLE void SetLogFile(const QString& path) { m_log = path; }

 private:
  QString m_log;
};

std::shared_ptr<QObject> create(const QString& progId, const QString& address) {
  return address.isEmpty() ? automation::createRemoteObject(progId) : automation::createRemoteObject(progId, address);
}

int hold(const QString& log, const QString& address) {
  auto lifetime = create(QStringLiteral("BridgeTest.Lifetime"), address);
  callByName(*lifetime, QStringLiteral("SetLogFile"), CallKind::Method, {Variant(log)});
  std::puts("ready");
  std::fflush(stdout);
  return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 3 && args[1] == QLatin1String("--front")) {
    automation::Front front(QStringLiteral("FrontTest"));
    front.setWorkerProgram(args[2]);
    if (!front.start()) return 1;
    QObject::connect(&front, &automation::Front::idle, &app, &QCoreApplication::quit);
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
  }
  if (args.size() >= 3 && args[1] == QLatin1String("--hold")) return hold(args[2], args.value(3));
  if (args.size() >= 3 && args[1] == QLatin1String("--client")) {
    const auto object = create(args[2], args.value(3));
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
  }

  automation::registerClass<EchoObject>(QStringLiteral("BridgeTest.Echo"));
  automation::registerClass<Lifetime>(QStringLiteral("BridgeTest.Lifetime"));
  automation::Server server(QStringLiteral("BridgeTest"));
  if (const int grace = qEnvironmentVariableIntValue("AUTOMATION_TEST_PEER_GRACE_MS")) server.setStartGrace(std::chrono::milliseconds(grace));
  if (!server.start()) {
    QTextStream(stderr) << server.errorString() << '\n';
    return 1;
  }
  if (args.size() == 3 && args[1] == QLatin1String("--listen")) {
    if (!server.listen(args[2])) {
      QTextStream(stderr) << server.errorString() << '\n';
      return 1;
    }
    std::puts("listening");
    std::fflush(stdout);
  }
  QObject::connect(&server, &automation::Server::idle, &app, &QCoreApplication::quit);
  return app.exec();
}

#include "main.moc"
