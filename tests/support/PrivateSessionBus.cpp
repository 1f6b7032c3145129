#include "tests/support/PrivateSessionBus.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>

namespace testsupport {

namespace {

constexpr int StartMs = 15000;

struct Daemon {
  QProcess process;
  std::string failure;
  bool running = false;

  ~Daemon() {
    // Servers it started see the bus go and end themselves.
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(5000);
    }
  }
};

Daemon& daemon() {
  static Daemon d;
  return d;
}

}  // namespace

bool PrivateSessionBus::installed() { return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty(); }

const char* PrivateSessionBus::notInstalledMessage() { return "dbus-daemon is not installed (scripts/setup installs dbus-daemon)"; }

bool PrivateSessionBus::ensure() {
  Daemon& d = daemon();
  if (d.running) return true;
  d.process.setProgram(QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")));
  d.process.setArguments({QStringLiteral("--config-file=" SKRIVANT_DBUS_SESSION_CONFIG), QStringLiteral("--nofork"),
                          QStringLiteral("--print-address=1")});
  // The programs the bus starts write their warnings into the daemon's stderr; passed on to
  // ours, a busy server never fills a pipe nobody reads and stops in mid-call.
  d.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  d.process.start();
  if (!d.process.waitForStarted(StartMs)) {
    d.failure = "dbus-daemon did not start: " + d.process.errorString().toStdString();
    return false;
  }
  const QDeadlineTimer deadline(StartMs);
  while (!d.process.canReadLine() && d.process.waitForReadyRead(int(deadline.remainingTime()))) {
  }
  const QByteArray address = d.process.readLine().trimmed();
  if (address.isEmpty()) {
    d.failure = "dbus-daemon printed no address (its messages are above)";
    return false;
  }
  qputenv("DBUS_SESSION_BUS_ADDRESS", address);
  d.running = true;
  return true;
}

const std::string& PrivateSessionBus::failure() { return daemon().failure; }

}  // namespace testsupport
