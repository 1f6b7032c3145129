// The bridge through a real bus: a private session bus whose service directory starts the test
// peer (tests/support/automation-peer) by activation, this process as the host.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <csignal>

#include "platform/automation/Bridge.h"
#include "platform/automation/Client.h"
#include "platform/automation/RemoteObject.h"
#include "platform/automation/Server.h"
#include "platform/automation/WireValue.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/RequireTool.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

using automation::Bridge;
using automation::CallKind;
using automation::callByName;
using automation::createRemoteObject;
using testsupport::errorOf;
using testsupport::waitUntil;
using vb::Variant;

namespace {

const QString PeerBusName = QStringLiteral("de.automation.bridgetest");

// A record source of the host, walked by the server during the host's call.
class Field : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Value MEMBER value)

 public:
  QString value;
};

class Records : public QObject {
  Q_OBJECT

 public:
  explicit Records(QStringList names) : m_names(std::move(names)) {}
  Q_INVOKABLE int RecordCount() const { return int(m_names.size()); }
  Q_INVOKABLE void MoveFirst() { m_pos = 0; }
  Q_INVOKABLE void MoveNext() { ++m_pos; }
  Q_INVOKABLE bool Eof() const { return m_pos >= m_names.size(); }
  Q_INVOKABLE std::shared_ptr<QObject> Fields(const QString& name) {
    auto field = std::make_shared<Field>();
    if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) field->value = m_names.value(m_pos);
    return field;
  }

 private:
  QStringList m_names;
  qsizetype m_pos = 0;
};

bool peerRunning() {
  return Bridge::session().connection().interface()->isServiceRegistered(PeerBusName).value();
}

// Every string comes back code unit for code unit as a result and by reference, a megabyte too;
// in an error's message what the bus cannot carry as text is U+FFFD.
void everyStringComesBackWhole(QObject& echo) {
  const QChar nul(0), high(0xD83D), low(0xDE00);
  const QString megabyte = QStringLiteral("\U0001F4DA Grüße aus der Filiale. ").repeated(1 << 15);
  const QString nuls = nul + megabyte + nul + QStringLiteral("c") + nul;
  const QString cases[][2] = {{megabyte, megabyte},
                              {nuls, QString(nuls).replace(nul, QChar::ReplacementCharacter)},
                              {QString(low) + high + QStringLiteral("a") + high + QStringLiteral("b") + low, QStringLiteral("\uFFFD\uFFFDa\uFFFDb\uFFFD")}};
  for (const auto& [text, inError] : cases) {
    QList<Variant> twice{Variant(text)};
    callByName(echo, QStringLiteral("Twice"), CallKind::Method, twice);
    EXPECT_TRUE(callByName(echo, QStringLiteral("Echo"), CallKind::Method, {Variant(text)}) == Variant(text) && twice[0] == Variant(text + text))
        << text.size();
    try {
      callByName(echo, QStringLiteral("Raise"), CallKind::Method, {Variant(1001), Variant(text), Variant(text)});
      ADD_FAILURE() << "no error";
    } catch (const vb::VbError& e) {
      EXPECT_TRUE(e.source() == inError && e.description() == inError) << text.size();
    }
  }
}

// A de.automation.Object.Invoke of `member` on a remote object, as another language sends it.
QDBusMessage invokeMessage(const QObject& remote, const QString& member, CallKind kind, const QList<Variant>& args,
                           const automation::WireValue::Exporter& exporter = {}) {
  const auto& proxy = dynamic_cast<const automation::RemoteObject&>(remote);
  QDBusMessage call = QDBusMessage::createMethodCall(proxy.busName(), proxy.path(), QLatin1String(Bridge::ObjectInterface),
                                                     QStringLiteral("Invoke"));
  call << member << QVariant::fromValue(uchar(kind)) << QVariant::fromValue(automation::WireValue::encode(args, exporter));
  return call;
}

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(testsupport::PrivateSessionBus::installed(), testsupport::PrivateSessionBus::notInstalledMessage());
    // Activated servers inherit the bus's environment.
    qputenv("AUTOMATION_TEST_PEER_GRACE_MS", "1500");
    ASSERT_TRUE(testsupport::PrivateSessionBus::ensure()) << testsupport::PrivateSessionBus::failure();
  }
  // Every test lets go of what it created: the server must end after its last object.
  void TearDown() override {
    if (IsSkipped()) return;
    EXPECT_TRUE(waitUntil([] { return !peerRunning(); })) << "the server outlived its last object";
    EXPECT_TRUE(waitUntil([] { return Bridge::session().exportedCount() == 0; })) << "the server kept host objects";
  }

  static std::shared_ptr<QObject> echo() { return createRemoteObject(QStringLiteral("BridgeTest.Echo")); }
};

// The server started by hand, serving a unix socket besides the bus.
class PeerAddressTest : public BridgeTest {
 protected:
  void SetUp() override {
    BridgeTest::SetUp();
    if (IsSkipped()) return;
    socket = dir.path() + QStringLiteral("/bridge.sock");
    address = QStringLiteral("unix:path=") + socket;
    server.start(QStringLiteral(SKRIVANT_AUTOMATION_TEST_PEER), {QStringLiteral("--listen"), socket});
    ASSERT_TRUE(server.waitForReadyRead(20000)) << server.readAllStandardError().toStdString();
    ASSERT_EQ(server.readLine().trimmed(), QByteArray("listening"));
  }
  void TearDown() override {
    if (IsSkipped()) return;
    EXPECT_TRUE(server.state() == QProcess::NotRunning || server.waitForFinished(10000)) << "the server outlived its last client";
    EXPECT_FALSE(QFileInfo::exists(socket));
    BridgeTest::TearDown();
  }

  testsupport::TempDir dir;
  QString socket;
  QString address;
  QProcess server;
};

TEST_F(BridgeTest, EveryAutomationTypeTravelsBothWaysUnchanged) {
  const auto server = echo();
  const auto other = echo();
  const auto mine = std::make_shared<Records>(QStringList{});
  const struct {
    const char* name;
    Variant value;
  } cases[] = {
      {"Empty", Variant()},
      {"Null", Variant::null()},
      {"Missing", Variant::missing()},
      {"Integer", Variant(std::int16_t(-32768))},
      {"Long", Variant(2147483647)},
      {"LongLong", Variant(-9000000000000LL)},
      {"Double", Variant(-1234.5678e-3)},
      {"Currency", Variant(vb::Currency{-9223372036854775807LL})},
      {"Date", Variant(QDateTime(QDate(2026, 12, 8), QTime(13, 45, 30)))},
      {"Date before 1900", Variant(QDateTime(QDate(1899, 12, 29), QTime(18, 0)))},
      {"True", Variant(true)},
      {"False", Variant(false)},
      {"String", Variant(QStringLiteral("Grüße\tvom Host\n"))},
      {"empty String", Variant(QString())},
      {"Byte", Variant(std::uint8_t(255))},
      {"Nothing", Variant::nothing()},
      {"host object", Variant(std::static_pointer_cast<QObject>(mine))},
      {"server object", Variant(other)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Variant back = callByName(*server, QStringLiteral("Echo"), CallKind::Method, {c.value});
    EXPECT_EQ(back.varType(), c.value.varType());
    EXPECT_TRUE(back == c.value) << vb::CStr(back.isValue() ? back : Variant()).toStdString();
    const Variant seen = callByName(*server, QStringLiteral("VarTypeOf"), CallKind::Method, {c.value});
    EXPECT_EQ(vb::CLng(seen), int(c.value.varType()));
  }
  EXPECT_EQ(vb::CDbl(callByName(*server, QStringLiteral("Echo"), CallKind::Method, {Variant(vb::Currency{12345})})), 1.2345);
  // True travels as True, not as 1.
  EXPECT_EQ(vb::CLng(callByName(*server, QStringLiteral("Echo"), CallKind::Method, {Variant(true)})), -1);
}

TEST_F(BridgeTest, ByReferenceArgumentsComeBackChangedAndPropertiesWork) {
  const auto server = echo();
  QList<Variant> path{Variant(QStringLiteral("  /srv/druck/vorlagen  "))};
  callByName(*server, QStringLiteral("Trim"), CallKind::Method, path);
  EXPECT_EQ(path[0], Variant(QStringLiteral("/srv/druck/vorlagen")));

  QList<Variant> both{Variant(std::int16_t(41)), Variant(7)};
  callByName(*server, QStringLiteral("Increment"), CallKind::Method, both);
  EXPECT_EQ(both[0], Variant(std::int16_t(42)));
  EXPECT_EQ(both[1], Variant(QStringLiteral("geändert")));

  callByName(*server, QStringLiteral("name"), CallKind::Let, {Variant("Kasse 2")});
  EXPECT_EQ(callByName(*server, QStringLiteral("Name"), CallKind::Get), Variant("Kasse 2"));
}

TEST_F(BridgeTest, EveryStringTravelsWholeAndPlainTextStaysText) {
  const auto server = echo();
  everyStringComesBackWhole(*server);
  // What the bus cannot hold as a string travels as code units.
  for (const QString& text : {QStringLiteral("Grüße"), QStringLiteral("a") + QChar(0)}) {
    const QDBusMessage reply = Bridge::session().connection().call(invokeMessage(*server, QStringLiteral("Echo"), CallKind::Method, {Variant(text)}));
    const QVariant value = qdbus_cast<automation::WireValue>(reply.arguments().value(0)).value.variant();
    EXPECT_EQ(value.userType() == qMetaTypeId<QDBusArgument>() ? value.value<QDBusArgument>().currentSignature() : value.toString(),
              text.contains(QChar(0)) ? QStringLiteral("aq") : text);
  }
}

TEST_F(BridgeTest, RunTimeErrorsArriveWithNumberSourceAndDescription) {
  const auto server = echo();
  try {
    callByName(*server, QStringLiteral("Raise"), CallKind::Method, {Variant(1001), Variant("Druckstapel"), Variant("Stapel\tleer")});
    FAIL() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 1001);
    EXPECT_EQ(e.source(), QStringLiteral("Druckstapel"));
    EXPECT_EQ(e.description(), QStringLiteral("Stapel leer"));
  }
  EXPECT_EQ(errorOf([&] { callByName(*server, QStringLiteral("Unbekannt"), CallKind::Method); }), vb::ErrNoSuchMember);
  try {
    createRemoteObject(QStringLiteral("BridgeTest.Unbekannt"));
    FAIL() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::ErrCannotCreateObject);
    EXPECT_EQ(e.description(), QStringLiteral("Objekterstellung durch ActiveX-Komponente nicht möglich."));
  }
  // No program serves the project: activation finds no service file.
  EXPECT_EQ(errorOf([] { createRemoteObject(QStringLiteral("Niemand.Application")); }), vb::ErrCannotCreateObject);
}

TEST_F(BridgeTest, ReferencesComeHomeAsTheLocalObject) {
  const auto server = echo();
  const auto other = echo();
  EXPECT_NE(other, server);
  EXPECT_EQ(callByName(*server, QStringLiteral("IsLocal"), CallKind::Method, {Variant(other)}), Variant(true));
  const auto mine = std::make_shared<Records>(QStringList{});
  EXPECT_EQ(callByName(*server, QStringLiteral("IsLocal"), CallKind::Method, {Variant(mine)}), Variant(false));
  // The same remote object is one proxy on this side.
  EXPECT_EQ(callByName(*server, QStringLiteral("Echo"), CallKind::Method, {Variant(other)}).object(), other);
}

TEST_F(BridgeTest, ServerCallsBackTheHostsRecordSourceDuringTheCall) {
  const auto server = echo();
  EXPECT_EQ(callByName(*server, QStringLiteral("OnMainThread"), CallKind::Method), Variant(true));
  const auto records = std::make_shared<Records>(QStringList{QStringLiteral("Anna"), QStringLiteral("Bernd"), QStringLiteral("Cäcilie")});
  EXPECT_EQ(callByName(*server, QStringLiteral("Names"), CallKind::Method, {Variant(records)}),
            Variant(QStringLiteral("3:Anna;Bernd;Cäcilie")));
}

TEST_F(BridgeTest, ObjectsOfAHostKilledWithSigkillAreReleased) {
  testsupport::TempDir dir;
  const QString log = dir.path() + QStringLiteral("/lifetime.log");
  QProcess host;
  host.start(QStringLiteral(SKRIVANT_AUTOMATION_TEST_PEER), {QStringLiteral("--hold"), log});
  ASSERT_TRUE(host.waitForReadyRead(20000)) << host.readAllStandardError().toStdString();
  ASSERT_EQ(host.readLine().trimmed(), QByteArray("ready"));
  ::kill(pid_t(host.processId()), SIGKILL);
  host.waitForFinished(5000);
  EXPECT_TRUE(waitUntil([&] {
    QFile f(log);
    return f.open(QIODevice::ReadOnly) && f.readAll() == "terminated\n";
  })) << "the killed host's object was not terminated";
}

TEST_F(BridgeTest, AServerStartedButNotUsedEndsAfterItsGrace) {
  QDBusMessage start = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("StartServiceByName"));
  start << PeerBusName << 0u;
  const QDBusMessage reply = Bridge::session().connection().call(start);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  EXPECT_TRUE(peerRunning());
  // TearDown waits for it to end.
}

TEST_F(BridgeTest, ReleasingTheLastReferenceTerminatesTheObject) {
  testsupport::TempDir dir;
  const QString log = dir.path() + QStringLiteral("/lifetime.log");
  auto lifetime = createRemoteObject(QStringLiteral("BridgeTest.Lifetime"));
  callByName(*lifetime, QStringLiteral("SetLogFile"), CallKind::Method, {Variant(log)});
  ASSERT_FALSE(QFile::exists(log));
  lifetime.reset();
  EXPECT_TRUE(waitUntil([&] { return QFile::exists(log); }));
}

TEST_F(BridgeTest, AServerDyingDuringACallEndsTheCallWithAnError) {
  const auto server = echo();
  const pid_t pid = vb::CLng(callByName(*server, QStringLiteral("Pid"), CallKind::Method));
  QTimer::singleShot(300, [pid] { ::kill(pid, SIGKILL); });
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(errorOf([&] { callByName(*server, QStringLiteral("Block"), CallKind::Method, {Variant(60)}); }),
            vb::ErrRemoteServerUnavailable);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(errorOf([&] { callByName(*server, QStringLiteral("Pid"), CallKind::Method); }), vb::ErrRemoteServerUnavailable);
}

TEST_F(BridgeTest, ShellUsersSeeTheMembersAndCallThemDirectly) {
  const auto server = echo();
  const auto* proxy = qobject_cast<const automation::RemoteObject*>(server.get());
  ASSERT_TRUE(proxy);
  QDBusConnection bus = Bridge::session().connection();
  const QDBusMessage xml = bus.call(QDBusMessage::createMethodCall(proxy->busName(), proxy->path(),
                                                                   QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                                   QStringLiteral("Introspect")));
  const QString text = xml.arguments().value(0).toString();
  EXPECT_TRUE(text.contains(QLatin1String("<interface name=\"de.automation.Object\">")));
  EXPECT_TRUE(text.contains(QLatin1String("<interface name=\"de.automation.class.BridgeTest.Echo\">")));
  // Arguments named as declared, with their automation type; a default makes one optional.
  for (const char* teil : {"<method name=\"Trim\">\n      <arg name=\"text\" type=\"(yv)\" direction=\"in\">\n"
                           "        <annotation name=\"de.automation.Type\" value=\"String\"/>\n"
                           "        <annotation name=\"de.automation.ByRef\" value=\"true\"/>\n      </arg>",
                           "<arg name=\"value\" type=\"(yv)\" direction=\"in\">\n        <annotation name=\"de.automation.Type\" value=\"Variant\"/>\n"
                           "        <annotation name=\"de.automation.Optional\" value=\"true\"/>\n      </arg>\n      <arg name=\"result\" "
                           "type=\"(yv)\" direction=\"out\">\n        <annotation name=\"de.automation.Type\" value=\"Boolean\"/>"})
    EXPECT_TRUE(text.contains(QLatin1String(teil))) << text.toStdString();
  EXPECT_TRUE(text.contains(QLatin1String("<method name=\"let_Name\">")));

  // A plain string as a shell user passes it; the result comes back as (yv).
  QDBusMessage call = QDBusMessage::createMethodCall(proxy->busName(), proxy->path(),
                                                     QStringLiteral("de.automation.class.BridgeTest.Echo"), QStringLiteral("VarTypeOf"));
  call << QStringLiteral("Text");
  const QDBusMessage reply = bus.call(call);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  const auto value = qdbus_cast<automation::WireValue>(reply.arguments().value(0));
  EXPECT_EQ(value.type, int(vb::VarType::Long));
  EXPECT_EQ(value.value.variant().toInt(), int(vb::VarType::String));

  QDBusMessage failing = QDBusMessage::createMethodCall(proxy->busName(), proxy->path(),
                                                        QStringLiteral("de.automation.class.BridgeTest.Echo"), QStringLiteral("Raise"));
  failing << 91 << QStringLiteral("Quelle") << QString();
  const QDBusMessage error = bus.call(failing);
  // The number in the error's name too, for hosts that will not parse the German text.
  EXPECT_EQ(error.errorName(), QStringLiteral("de.automation.Error.E91"));
  EXPECT_EQ(error.errorMessage(), QStringLiteral("91\tQuelle\tObjektvariable oder With-Blockvariable nicht festgelegt"));
  failing.setArguments({-2147217900, QStringLiteral("Quelle"), QStringLiteral("abgelehnt")});
  EXPECT_EQ(bus.call(failing).errorName(), QStringLiteral("de.automation.Error.E_2147217900"));
  EXPECT_EQ(errorOf([&] { callByName(*server, QStringLiteral("Raise"), CallKind::Method, {Variant(-2147217900), Variant("Q"), Variant("x")}); }),
            -2147217900);
}

TEST_F(BridgeTest, ObjectsBelongToTheClientsThatHoldThem) {
  const auto mine = echo();
  QDBusConnection second = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("zweiter Client"));
  {
    Bridge secondClient(second);
    const auto theirs = secondClient.createRemote(PeerBusName, QStringLiteral("BridgeTest.Echo"));
    callByName(*theirs, QStringLiteral("Name"), CallKind::Let, {Variant("Kasse 2")});
    const auto& proxy = dynamic_cast<const automation::RemoteObject&>(*theirs);
    // This client changes, releases and passes on the second client's object by its path: refused.
    QDBusMessage release =
        QDBusMessage::createMethodCall(PeerBusName, proxy.path(), QLatin1String(Bridge::ObjectInterface), QStringLiteral("Release"));
    release << 1u;
    const auto theirPath = [&](const std::shared_ptr<QObject>&) { return automation::ObjectRef{proxy.busName(), QDBusObjectPath(proxy.path())}; };
    for (const QDBusMessage& call : {invokeMessage(*theirs, QStringLiteral("Name"), CallKind::Let, {Variant("Kasse 1")}), release,
                                     invokeMessage(*mine, QStringLiteral("Echo"), CallKind::Method, {Variant(theirs)}, theirPath)})
      EXPECT_EQ(Bridge::session().connection().call(call).errorName(), QStringLiteral("de.automation.Error.E70"));
    EXPECT_EQ(callByName(*theirs, QStringLiteral("Name"), CallKind::Get), Variant("Kasse 2"));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("zweiter Client"));
}

TEST_F(PeerAddressTest, ObjectsCallbacksAndReferencesWorkAsOnTheBus) {
  EXPECT_EQ(QFileInfo(socket).permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup), 0);
  const auto echo = createRemoteObject(QStringLiteral("BridgeTest.Echo"), address);
  const auto other = createRemoteObject(QStringLiteral("BridgeTest.Echo"), address);
  EXPECT_EQ(callByName(*echo, QStringLiteral("IsLocal"), CallKind::Method, {Variant(other)}), Variant(true));
  EXPECT_EQ(callByName(*echo, QStringLiteral("Echo"), CallKind::Method, {Variant(other)}).object(), other);
  const auto mine = std::make_shared<Records>(QStringList{QStringLiteral("Anna"), QStringLiteral("Bernd")});
  EXPECT_EQ(callByName(*echo, QStringLiteral("IsLocal"), CallKind::Method, {Variant(mine)}), Variant(false));
  EXPECT_EQ(callByName(*echo, QStringLiteral("Echo"), CallKind::Method, {Variant(mine)}).object(), mine);
  EXPECT_EQ(callByName(*echo, QStringLiteral("Names"), CallKind::Method, {Variant(mine)}), Variant(QStringLiteral("2:Anna;Bernd")));
  QList<Variant> path{Variant(QStringLiteral("  /srv/lager  "))};
  callByName(*echo, QStringLiteral("Trim"), CallKind::Method, path);
  EXPECT_EQ(path[0], Variant(QStringLiteral("/srv/lager")));
  everyStringComesBackWhole(*echo);
  EXPECT_EQ(errorOf([&] { createRemoteObject(QStringLiteral("BridgeTest.Unbekannt"), address); }), vb::ErrCannotCreateObject);
  EXPECT_EQ(errorOf([&] { createRemoteObject(QStringLiteral("BridgeTest.Echo"), address + QStringLiteral(".nicht")); }),
            vb::ErrCannotCreateObject);
  // TearDown: releasing both ends the server, which removes its socket.
}

TEST(PeerAddress, AServerListensOnlyInAFolderClosedToOthers) {
  testsupport::TempDir dir;
  const QString offen = dir.file(QStringLiteral("offen"));
  ASSERT_TRUE(QDir().mkpath(offen));
  QFile::setPermissions(offen, QFile::permissions(offen) | QFileDevice::ReadOther | QFileDevice::ExeOther);
  automation::Server server(QStringLiteral("BridgeTest"));
  EXPECT_FALSE(server.listen(offen + QStringLiteral("/bridge.sock")));
  EXPECT_TRUE(server.errorString().contains(QLatin1String("(mode 0700)"))) << server.errorString().toStdString();
  EXPECT_FALSE(QFileInfo::exists(offen + QStringLiteral("/bridge.sock")));
}

TEST_F(PeerAddressTest, AClientKilledWithSigkillIsReleasedAndTheServerEnds) {
  const QString log = dir.path() + QStringLiteral("/lifetime.log");
  QProcess host;
  host.start(QStringLiteral(SKRIVANT_AUTOMATION_TEST_PEER), {QStringLiteral("--hold"), log, address});
  ASSERT_TRUE(host.waitForReadyRead(20000)) << host.readAllStandardError().toStdString();
  ASSERT_EQ(host.readLine().trimmed(), QByteArray("ready"));
  EXPECT_FALSE(server.waitForFinished(500));
  ::kill(pid_t(host.processId()), SIGKILL);
  host.waitForFinished(5000);
  EXPECT_TRUE(waitUntil([&] {
    QFile f(log);
    return f.open(QIODevice::ReadOnly) && f.readAll() == "terminated\n";
  })) << "the killed client's object was not terminated";
}

TEST_F(PeerAddressTest, AServerDyingDuringACallEndsTheCallWithAnError) {
  const auto echo = createRemoteObject(QStringLiteral("BridgeTest.Echo"), address);
  const pid_t pid = vb::CLng(callByName(*echo, QStringLiteral("Pid"), CallKind::Method));
  QTimer::singleShot(300, [pid] { ::kill(pid, SIGKILL); });
  EXPECT_EQ(errorOf([&] { callByName(*echo, QStringLiteral("Block"), CallKind::Method, {Variant(60)}); }),
            vb::ErrRemoteServerUnavailable);
  EXPECT_EQ(errorOf([&] { callByName(*echo, QStringLiteral("Pid"), CallKind::Method); }), vb::ErrRemoteServerUnavailable);
  // A killed server cannot remove its socket.
  QFile::remove(socket);
}

}  // namespace

#include "BridgeTest.moc"

// A program's front whose worker cannot start refuses the creation at once with 429 and why, and ends.
TEST_F(BridgeTest, AFrontWhoseWorkerCannotStartRefusesTheCreationAndSaysWhy) {
  QProcess front;
  front.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  front.start(QStringLiteral(SKRIVANT_AUTOMATION_TEST_PEER), {QStringLiteral("--front"), QStringLiteral("/gibt/es/nicht")});
  ASSERT_TRUE(front.waitForReadyRead(20000));
  QElapsedTimer uhr;
  uhr.start();
  try {
    createRemoteObject(QStringLiteral("FrontTest.Echo"));
    ADD_FAILURE() << "created without a worker";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::ErrCannotCreateObject);
    EXPECT_TRUE(e.description().contains(QStringLiteral("Grund:"))) << e.description().toStdString();
  }
  EXPECT_LT(uhr.elapsed(), 5000);
  EXPECT_TRUE(front.state() == QProcess::NotRunning || front.waitForFinished(10000));  // it may have ended already
}
