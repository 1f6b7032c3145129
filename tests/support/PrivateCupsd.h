#pragma once
// A cupsd of the test's own (scripts/private-cupsd writes its configuration): socket, spool,
// logs and queues under a temporary folder, the system's CUPS untouched. While it runs, the test
// process talks to it (CUPS_SERVER and libcups's server setting point at its socket).
//
// Queues print through the generic PCL driver into files. A file device rewrites its file for
// every job, so the queues hold their jobs and takeJobs() lets them print one by one, reading
// each job's output before the next one starts.
//
//   SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
//   PrivateCupsd cupsd;
//   ASSERT_TRUE(cupsd.start()) << cupsd.failure();
//   ASSERT_TRUE(cupsd.addPclQueue("Laser")) << cupsd.failure();
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

#include "tests/support/TempDir.h"

namespace testsupport {

class PrivateCupsd {
 public:
  struct Job {
    int id = 0;
    QString title;
    QByteArray output;  // what the queue's device received
  };

  // Whether cupsd and the CUPS admin programs are installed (scripts/setup installs them).
  static bool installed();
  static const char* notInstalledMessage();

  PrivateCupsd();
  // Stops cupsd by its pid and points the process back at the server it used before.
  ~PrivateCupsd();
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  // Starts cupsd, points the process at it and waits (bounded) until it answers. False, with
  // failure() telling why, when it does not come up.
  bool start();
  // Why the last step failed, with the end of cupsd's error log.
  const std::string& failure() const { return m_failure; }

  QString folder() const { return m_dir.path(); }
  QString socketPath() const;
  // The file the queue `name` prints into.
  QString outputFile(const QString& name) const;
  // The PCL tray escape ESC & l <n> H that queue `queue`'s driver writes for the InputSlot
  // `keyword`, read from its PPD (the choice sets MediaPosition n); empty when unknown.
  QByteArray trayEscape(const QString& queue, const QString& keyword) const;

  // Adds a generic PCL queue `name` (bins Tray 1..4, Manual Feed, Envelope Feed) that holds its
  // jobs until takeJobs().
  bool addPclQueue(const QString& name);
  // Runs an admin program (lpadmin, cupsreject, ...) against this server (bounded wait).
  bool run(const QString& program, const QStringList& arguments);

  // Lets the held jobs of queue `name` print one at a time in the order they came, waits
  // (bounded) for each to complete and returns each one's output. nullopt, with failure(), when
  // a job does not complete.
  std::optional<QList<Job>> takeJobs(const QString& name);

 private:
  bool fail(const QString& why);
  void stop();

  TempDir m_dir;
  QProcess m_cupsd;
  std::optional<QByteArray> m_previousServer;
  bool m_pointed = false;
  std::string m_failure;
};

}  // namespace testsupport
