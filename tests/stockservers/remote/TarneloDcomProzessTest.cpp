// The tarnelodcom program driven by clients in other processes: this test program over the
// private session bus (activation starts the server) and over the server's unix socket, and a
// client process killed while it holds an Application.
#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <csignal>

#include "platform/automation/Bridge.h"
#include "platform/automation/Client.h"
#include "platform/vb/Convert.h"
#include "tests/stockservers/remote/Buchladen.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/RequireTool.h"
#include "tests/support/WaitUntil.h"

namespace {

using automation::CallKind;
using automation::callByName;
using buchladen::feld;
using vb::Variant;

const QString kProgId = QStringLiteral("TarneloDCOM.Application");
const QString kOhneFilialen = QStringLiteral("70:am Lager|80:Bestellt|81:Reserviert|82:Abholfach|83:offene Bestellung|");

bool warten(const std::function<bool()>& fertig) { return testsupport::waitUntil(fertig, 15000); }

// A process that finished while events were processed counts as well.
bool beendet(QProcess& prozess) { return prozess.state() == QProcess::NotRunning || prozess.waitForFinished(10000); }

bool serverLaeuft() {
  return automation::Bridge::session().connection().interface()->isServiceRegistered(QStringLiteral("de.automation.tarnelodcom")).value();
}

// The client's link object; the server reads ProgrammLinkInfo back over the road it came.
class Verbindung : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString ProgrammLinkInfo READ programmLinkInfo)

 public:
  QString programmLinkInfo() {
    ++gelesen;
    return QStringLiteral("Kasse 1");
  }
  int gelesen = 0;
};

class TarneloDcomProzessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(testsupport::PrivateSessionBus::installed(), testsupport::PrivateSessionBus::notInstalledMessage());
    ASSERT_TRUE(laden.ok) << laden.fehler;
    ASSERT_TRUE(testsupport::PrivateSessionBus::ensure()) << testsupport::PrivateSessionBus::failure();
    socket = laden.dir.file(QStringLiteral("tarnelodcom.sock"));
    adresse = QStringLiteral("unix:path=") + socket;
    SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("Socket"), socket);
  }
  void TearDown() override {
    if (IsSkipped()) return;
    EXPECT_TRUE(warten([] { return !serverLaeuft(); })) << "the server outlived its clients";
  }

  // tarnelodcom started by hand, as for clients on other machines.
  void vonHandStarten() {
    server.start(QStringLiteral(SKRIVANT_TARNELODCOM), {});
    ASSERT_TRUE(warten([&] { return QFileInfo::exists(socket) || server.state() == QProcess::NotRunning; }));
    ASSERT_TRUE(QFileInfo::exists(socket)) << server.readAllStandardError().toStdString();
  }

  // An Application of the server drives infofelder, EventClass (called back) and AddInfo; then
  // releasing it ends the server.
  void einKunde(const std::function<std::shared_ptr<QObject>()>& erzeugen, const QString& felder) {
    auto app = erzeugen();
    EXPECT_EQ(vb::CStr(callByName(*app, QStringLiteral("infofelder"), CallKind::Method)), felder);
    auto verbindung = std::make_shared<Verbindung>();
    callByName(*app, QStringLiteral("EventClass"), CallKind::Set, {Variant(verbindung)});
    EXPECT_EQ(verbindung->gelesen, 1);
    const QString ergebnis =
        vb::CStr(callByName(*app, QStringLiteral("AddInfo"), CallKind::Method, {Variant(buchladen::satz(QStringLiteral("3-446-23456-X")))}));
    EXPECT_EQ(feld(ergebnis, 70), QStringLiteral("5"));
    EXPECT_EQ(feld(ergebnis, 83), QStringLiteral("2"));
    EXPECT_EQ(feld(ergebnis, 84), felder.contains(QLatin1String("84")) ? QStringLiteral("Hauptstelle:4 - Nord:1 - ") : QString());
    EXPECT_TRUE(serverLaeuft());
    app.reset();
    EXPECT_TRUE(warten([] { return !serverLaeuft(); })) << "releasing the client's Application did not end the server";
  }

  // A socket path of `laenge` bytes, in a folder of the user's alone.
  QString socketPfad(int laenge) {
    const QString ordner = laden.dir.file(QStringLiteral("s"));
    QDir().mkdir(ordner, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return ordner + QLatin1Char('/') + QString(laenge - QFile::encodeName(ordner).size() - 6, QLatin1Char('x')) + QStringLiteral(".sock");
  }

  void filialenLoeschen() {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("filialen"));
      db.setDatabaseName(laden.artikel());
      ASSERT_TRUE(db.open());
      ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("DELETE FROM Artikel_Filialen")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("filialen"));
  }

  buchladen::Beispiel laden;
  QString socket;
  QString adresse;
  QProcess server;
};

TEST_F(TarneloDcomProzessTest, AClientOnTheBusDrivesTheServerAndItsReleaseEndsIt) {
  einKunde([] { return automation::createRemoteObject(kProgId); }, kOhneFilialen + QStringLiteral("84:Filialen|"));
  filialenLoeschen();
  einKunde([] { return automation::createRemoteObject(kProgId); }, kOhneFilialen);
}

TEST_F(TarneloDcomProzessTest, AClientOnTheUnixSocketDrivesTheServerAndItsReleaseEndsIt) {
  vonHandStarten();
  einKunde([&] { return automation::createRemoteObject(kProgId, adresse); }, kOhneFilialen + QStringLiteral("84:Filialen|"));
  EXPECT_TRUE(beendet(server));
  EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
  EXPECT_FALSE(QFileInfo::exists(socket));

  filialenLoeschen();
  vonHandStarten();
  einKunde([&] { return automation::createRemoteObject(kProgId, adresse); }, kOhneFilialen);
  EXPECT_TRUE(beendet(server));
}

// One in a process of its own that dies, one on the bus, one on the unix socket.
TEST_F(TarneloDcomProzessTest, OneClientLettingGoOrDyingLeavesTheOthersServed) {
  QProcess kunde;
  kunde.start(QStringLiteral(SKRIVANT_AUTOMATION_TEST_PEER), {QStringLiteral("--client"), kProgId});
  ASSERT_TRUE(kunde.waitForReadyRead(20000)) << kunde.readAllStandardError().toStdString();
  ASSERT_EQ(kunde.readLine().trimmed(), QByteArray("ready"));
  QDBusConnectionInterface* bus = automation::Bridge::session().connection().interface();
  QString kundenName;
  for (const QString& name : bus->registeredServiceNames().value())
    if (name.startsWith(QLatin1Char(':')) && bus->servicePid(name).value() == uint(kunde.processId())) kundenName = name;
  ASSERT_FALSE(kundenName.isEmpty());

  auto ueberBus = automation::createRemoteObject(kProgId);
  ASSERT_TRUE(warten([&] { return QFileInfo::exists(socket); }));
  auto ueberSocket = automation::createRemoteObject(kProgId, adresse);
  const auto bestand = [](QObject& app) {
    return feld(vb::CStr(callByName(app, QStringLiteral("AddInfo"), CallKind::Method, {Variant(buchladen::satz(QStringLiteral("3-446-23456-X")))})), 70);
  };
  ::kill(pid_t(kunde.processId()), SIGKILL);
  kunde.waitForFinished(5000);
  // Once the bus has told of the death, the server has been told before the next call.
  ASSERT_TRUE(warten([&] { return !bus->isServiceRegistered(kundenName).value(); }));
  EXPECT_EQ(bestand(*ueberBus) + bestand(*ueberSocket), QStringLiteral("55"));

  ueberBus.reset();
  // A call after the release on the same connection: the server has taken the release.
  automation::Bridge::session().connection().call(
      QDBusMessage::createMethodCall(QStringLiteral("de.automation.tarnelodcom"), QStringLiteral("/factory"),
                                     QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
  EXPECT_EQ(bestand(*ueberSocket), QStringLiteral("5"));
  EXPECT_TRUE(serverLaeuft());
  ueberSocket.reset();
  EXPECT_TRUE(warten([] { return !serverLaeuft(); })) << "the last client's release did not end the server";
}

// What is no object is refused as the client's error 13, on the bus and on a socket whose path
// has the 99 bytes the bus library takes at most, and the server goes on serving.
TEST_F(TarneloDcomProzessTest, EventClassRefusesWhatIsNoObjectAndTheServerGoesOn) {
  adresse = QStringLiteral("unix:path=") + (socket = socketPfad(99));
  SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("Socket"), socket);
  vonHandStarten();
  auto ueberBus = automation::createRemoteObject(kProgId);
  auto ueberSocket = automation::createRemoteObject(kProgId, adresse);
  for (QObject* app : {ueberBus.get(), ueberSocket.get()}) {
    for (const CallKind art : {CallKind::Let, CallKind::Set})
      for (const Variant& wert : {Variant::null(), Variant(), Variant(QStringLiteral("Kasse 1")), Variant(42)})
        EXPECT_EQ(testsupport::errorOf([&] { callByName(*app, QStringLiteral("EventClass"), art, {wert}); }), 13) << int(wert.varType());
    const Variant satz(buchladen::satz(QStringLiteral("3-446-23456-X")));
    EXPECT_EQ(feld(vb::CStr(callByName(*app, QStringLiteral("AddInfo"), CallKind::Method, {satz})), 70), QStringLiteral("5"));
  }
  ueberBus.reset();
  ueberSocket.reset();
  EXPECT_TRUE(beendet(server));
}

// A longer path is refused at start with its reason, and no socket is left to turn clients away.
TEST_F(TarneloDcomProzessTest, ASocketPathLongerThanTheBusLibraryTakesIsRefusedAtStart) {
  SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("Socket"), socket = socketPfad(100));
  server.start(QStringLiteral(SKRIVANT_TARNELODCOM), {});
  ASSERT_TRUE(server.waitForFinished(15000));
  EXPECT_EQ(server.exitCode(), 1);
  EXPECT_TRUE(server.readAllStandardError().contains("the socket path is 100 bytes long"));
  EXPECT_FALSE(QFileInfo::exists(socket));
}

TEST_F(TarneloDcomProzessTest, AKilledClientsApplicationIsReleasedAndTheServerEnds) {
  for (const bool ueberSocket : {false, true}) {
    SCOPED_TRACE(ueberSocket ? "unix socket" : "session bus");
    QStringList argumente{QStringLiteral("--client"), kProgId};
    if (ueberSocket) {
      vonHandStarten();
      argumente << adresse;
    }
    QProcess kunde;
    kunde.start(QStringLiteral(SKRIVANT_AUTOMATION_TEST_PEER), argumente);
    ASSERT_TRUE(kunde.waitForReadyRead(20000)) << kunde.readAllStandardError().toStdString();
    ASSERT_EQ(kunde.readLine().trimmed(), QByteArray("ready"));
    EXPECT_TRUE(serverLaeuft());
    ::kill(pid_t(kunde.processId()), SIGKILL);
    kunde.waitForFinished(5000);
    EXPECT_TRUE(warten([] { return !serverLaeuft(); })) << "the server outlived its killed client";
    if (ueberSocket) {
      EXPECT_TRUE(beendet(server));
    }
  }
}

}  // namespace

#include "TarneloDcomProzessTest.moc"
