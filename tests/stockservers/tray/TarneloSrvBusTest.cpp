// TarneloSrv on a private session bus: a client in its own process hands its host object to
// the server, whose info window calls the host back; releasing a client's Application ends the
// server, the real program started by D-Bus activation as well.
#include <QProcess>
#include <QStandardPaths>

#include "platform/automation/Server.h"
#include "tests/stockservers/tray/TarneloSrvSupport.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/RequireTool.h"

namespace tarnelotest {
namespace {

using testsupport::PrivateSessionBus;

TEST_F(TarneloSrvTest, ClientHostObjectIsCalledBackFromTheInfoWindowMenu) {
  SKRIVANT_REQUIRE_TOOL(PrivateSessionBus::installed(), PrivateSessionBus::notInstalledMessage());
  ASSERT_TRUE(PrivateSessionBus::ensure()) << PrivateSessionBus::failure();
  Module1::KlassenRegistrieren();
  starten();
  automation::Server server(QStringLiteral("TarneloSrv"));
  ASSERT_TRUE(server.start()) << server.errorString().toStdString();

  QProcess client;
  client.start(QStringLiteral(TARNELOSRV_TESTCLIENT), {QStringLiteral("host")});
  QString ausgabe;
  const auto hat = [&](const QString& zeile) {
    ausgabe += QString::fromUtf8(client.readAllStandardOutput());
    return ausgabe.split(QLatin1Char('\n')).contains(zeile);
  };
  ASSERT_TRUE(warten([&] { return hat(QStringLiteral("bereit=1")) || client.state() == QProcess::NotRunning; }));
  ASSERT_TRUE(hat(QStringLiteral("bereit=1"))) << ausgabe.toStdString() << client.readAllStandardError().toStdString();
  // The client's object is the newest and serves the timer; its link object was logged.
  ASSERT_NE(form().objApplication, start->objApp().get());
  EXPECT_TRUE(form().InfoText().contains(QStringLiteral("\r\nTestclient Kasse 2"))) << form().InfoText().toStdString();

  // Another client hands the members that take objects what is none: error 13 each time, and
  // its release leaves the first client served.
  QProcess falsch;
  falsch.start(QStringLiteral(TARNELOSRV_TESTCLIENT), {QStringLiteral("falsch")});
  ASSERT_TRUE(warten([&] { return falsch.state() == QProcess::NotRunning; }));
  const QStringList antworten = QString::fromUtf8(falsch.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  EXPECT_EQ(antworten.size(), 24) << falsch.readAllStandardError().toStdString();
  EXPECT_EQ(antworten.filter(QStringLiteral("=13")), antworten);
  EXPECT_EQ(prozessEnden, 0);

  kopieren(QStringLiteral("3-446-23456-X"));
  frmInfoWin* win = infoWin();
  ASSERT_NE(win, nullptr);
  EXPECT_EQ(win->Text(), QStringLiteral("9783446234567 Stadt der Bücher\r\nLagerbestand: 5\r\noffen bestellt: 2\r\n"
                                        "bestellt: 3\r\noffene Reservierungen: 3\r\nim Abholfach: 1\r\n"));
  // The host reports itself active: the title can be shown in it.
  win->Form_MouseDown(2);
  EXPECT_TRUE(win->cmdReservieren->isVisible());
  EXPECT_FALSE(win->cmdBestellen->isVisible());
  win->cmdMenue->close();
  win->cmdReservieren->trigger();
  win->cmdBestellen->trigger();
  EXPECT_TRUE(warten([&] { return hat(QStringLiteral("Bestellen=344623456X")); })) << ausgabe.toStdString();
  EXPECT_TRUE(hat(QStringLiteral("Reservieren=344623456X"))) << ausgabe.toStdString();

  // The client lets go of its object: the server ends, its own object notwithstanding.
  EXPECT_EQ(prozessEnden, 0);
  client.closeWriteChannel();
  EXPECT_TRUE(warten([&] { return prozessEnden > 0 && hat(QStringLiteral("freigegeben=1")); })) << ausgabe.toStdString();
  EXPECT_EQ(form().objApplication, nullptr);
  client.waitForFinished(5000);
}

TEST_F(TarneloSrvTest, ReleasingItsApplicationEndsTheActivatedProgram) {
  const QString runSession = QStandardPaths::findExecutable(QStringLiteral("dbus-run-session"));
  SKRIVANT_REQUIRE_TOOL(!runSession.isEmpty(), "dbus-run-session is not installed (package dbus)");
  QProcess lauf;
  // The bus starts the built program with this environment: the offscreen platform and the
  // test's settings.
  lauf.start(runSession, {QStringLiteral("--config-file=" SKRIVANT_DBUS_SESSION_CONFIG), QStringLiteral("--"),
                          QStringLiteral(TARNELOSRV_TESTCLIENT), QStringLiteral("freigeben")});
  ASSERT_TRUE(lauf.waitForFinished(60000));
  const QString ausgabe = QString::fromUtf8(lauf.readAllStandardOutput());
  EXPECT_TRUE(ausgabe.contains(QStringLiteral("ServerLaeuft=True"))) << ausgabe.toStdString()
                                                                     << lauf.readAllStandardError().toStdString();
  EXPECT_TRUE(ausgabe.contains(QStringLiteral("ServerBeendet=True"))) << ausgabe.toStdString();
}

}  // namespace
}  // namespace tarnelotest
