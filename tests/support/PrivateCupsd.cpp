#include "tests/support/PrivateCupsd.h"

#include <cups/cups.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>

namespace testsupport {

namespace {

// Bounds of the waits on cupsd: 100 ms steps.
constexpr int StepMs = 100;
constexpr int StartSteps = 150;  // 15 s for cupsd to answer
constexpr int JobSteps = 1200;   // 2 min for one job through the PDF-to-PCL filters
constexpr int ProgramMs = 60000;

const QStringList AdminFolders = {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};

QString program(const QString& name) {
  QString p = QStandardPaths::findExecutable(name);
  if (p.isEmpty()) p = QStandardPaths::findExecutable(name, AdminFolders);
  return p;
}

QString script() { return QStringLiteral(SKRIVANT_SOURCE_DIR "/scripts/private-cupsd"); }

QString jobStateText(ipp_jstate_t state) {
  switch (state) {
    case IPP_JSTATE_CANCELED: return QStringLiteral("canceled");
    case IPP_JSTATE_ABORTED: return QStringLiteral("aborted");
    default: return QString::number(state);
  }
}

}  // namespace

bool PrivateCupsd::installed() {
  return !program(QStringLiteral("cupsd")).isEmpty() && !program(QStringLiteral("lpadmin")).isEmpty();
}

const char* PrivateCupsd::notInstalledMessage() {
  return "cupsd is not installed (scripts/setup installs cups); printing through CUPS is not tested";
}

PrivateCupsd::PrivateCupsd() = default;

PrivateCupsd::~PrivateCupsd() { stop(); }

QString PrivateCupsd::socketPath() const { return m_dir.file(QStringLiteral("run/cups.sock")); }

QByteArray PrivateCupsd::trayEscape(const QString& queue, const QString& keyword) const {
  QFile ppd(folder() + QStringLiteral("/ppd/") + queue + QStringLiteral(".ppd"));
  if (!ppd.open(QIODevice::ReadOnly)) return {};
  const QRegularExpression line(QStringLiteral("^\\*InputSlot %1/[^:]*: \"<</MediaPosition (\\d+)>>setpagedevice\"")
                                    .arg(QRegularExpression::escape(keyword)),
                                QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = line.match(QString::fromLatin1(ppd.readAll()));
  return m.hasMatch() ? QByteArray("\x1b&l") + m.captured(1).toLatin1() + "H" : QByteArray();
}

QString PrivateCupsd::outputFile(const QString& name) const {
  return m_dir.file(QStringLiteral("out/%1.prn").arg(name));
}

bool PrivateCupsd::fail(const QString& why) {
  QFile log(m_dir.file(QStringLiteral("log/error_log")));
  QByteArray tail;
  if (log.open(QIODevice::ReadOnly)) tail = log.readAll().right(2000);
  m_failure = (why + QStringLiteral("\n--- cupsd error_log (end) ---\n") + QString::fromUtf8(tail)).toStdString();
  return false;
}

bool PrivateCupsd::run(const QString& name, const QStringList& arguments) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  const QString path = name.contains(QLatin1Char('/')) ? name : program(name);
  p.start(path, arguments);
  if (!p.waitForFinished(ProgramMs)) {
    p.kill();
    p.waitForFinished(ProgramMs);
    return fail(QStringLiteral("%1 %2 did not finish").arg(name, arguments.join(QLatin1Char(' '))));
  }
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return fail(QStringLiteral("%1 %2 failed: %3")
                    .arg(name, arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(p.readAll())));
  return true;
}

bool PrivateCupsd::start() {
  if (!run(script(), {QStringLiteral("config"), folder()})) return false;
  const QString sock = socketPath();
  // Every client of this process, libcups and the admin programs alike, goes to this server.
  // libcups keeps the server it found first, so it is told as well.
  if (qEnvironmentVariableIsSet("CUPS_SERVER")) m_previousServer = qgetenv("CUPS_SERVER");
  qputenv("CUPS_SERVER", sock.toUtf8());
  cupsSetServer(sock.toUtf8().constData());
  m_pointed = true;

  m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
  m_cupsd.start(program(QStringLiteral("cupsd")),
                {QStringLiteral("-f"), QStringLiteral("-c"), m_dir.file(QStringLiteral("cupsd.conf")),
                 QStringLiteral("-s"), m_dir.file(QStringLiteral("cups-files.conf"))});
  if (!m_cupsd.waitForStarted(ProgramMs)) return fail(QStringLiteral("cupsd did not start: ") + m_cupsd.errorString());
  for (int step = 0; step < StartSteps; ++step) {
    if (m_cupsd.state() == QProcess::NotRunning)
      return fail(QStringLiteral("cupsd ended at once: ") + QString::fromLocal8Bit(m_cupsd.readAll()));
    if (http_t* http = httpConnect2(sock.toUtf8().constData(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                                    StepMs, nullptr)) {
      httpClose(http);
      return true;
    }
    QThread::msleep(StepMs);
  }
  return fail(QStringLiteral("cupsd does not answer on ") + sock);
}

void PrivateCupsd::stop() {
  if (m_cupsd.state() != QProcess::NotRunning) {
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(ProgramMs)) {
      m_cupsd.kill();
      m_cupsd.waitForFinished(ProgramMs);
    }
  }
  if (m_pointed) {
    if (m_previousServer) {
      qputenv("CUPS_SERVER", *m_previousServer);
    } else {
      qunsetenv("CUPS_SERVER");
    }
    cupsSetServer(nullptr);
    m_pointed = false;
  }
}

bool PrivateCupsd::addPclQueue(const QString& name) {
  if (!run(script(), {QStringLiteral("queue"), folder(), name})) {
    const std::string why = m_failure;
    QProcess drivers;
    drivers.start(program(QStringLiteral("lpinfo")), {QStringLiteral("-m")});
    drivers.waitForFinished(ProgramMs);
    if (!drivers.readAllStandardOutput().contains("drv:///sample.drv/generpcl.ppd"))
      m_failure = "the generic PCL driver (drv:///sample.drv/generpcl.ppd) is missing: " + why;
    return false;
  }
  return run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-o"),
                                         QStringLiteral("job-hold-until-default=indefinite")});
}

std::optional<QList<PrivateCupsd::Job>> PrivateCupsd::takeJobs(const QString& name) {
  const QByteArray queue = name.toUtf8();
  QList<Job> held;
  {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ACTIVE);
    for (int i = 0; i < count; ++i)
      if (jobs[i].state == IPP_JSTATE_HELD) held.append({jobs[i].id, QString::fromUtf8(jobs[i].title), {}});
    cupsFreeJobs(count, jobs);
  }
  std::sort(held.begin(), held.end(), [](const Job& a, const Job& b) { return a.id < b.id; });

  const QString out = outputFile(name);
  for (Job& job : held) {
    QFile::remove(out);  // a job that writes nothing must not show the previous one's output
    ipp_t* request = ippNewRequest(IPP_OP_RELEASE_JOB);
    const QByteArray uri = QByteArray("ipp://localhost/jobs/") + QByteArray::number(job.id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/jobs/"));
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
      fail(QStringLiteral("job %1 was not released: %2").arg(job.id).arg(QString::fromUtf8(cupsLastErrorString())));
      return std::nullopt;
    }
    bool done = false;
    for (int step = 0; step < JobSteps && !done; ++step) {
      cups_job_t* jobs = nullptr;
      const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ALL);
      std::optional<ipp_jstate_t> state;
      for (int i = 0; i < count; ++i)
        if (jobs[i].id == job.id) state = jobs[i].state;
      cupsFreeJobs(count, jobs);
      if (state == IPP_JSTATE_COMPLETED) {
        done = true;
      } else if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED || !state) {
        fail(QStringLiteral("job %1 did not print (%2)").arg(job.id).arg(state ? jobStateText(*state) : QStringLiteral("gone")));
        return std::nullopt;
      } else {
        QThread::msleep(StepMs);
      }
    }
    if (!done) {
      fail(QStringLiteral("job %1 did not complete in time").arg(job.id));
      return std::nullopt;
    }
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly)) {
      fail(QStringLiteral("job %1 left no output in %2").arg(job.id).arg(out));
      return std::nullopt;
    }
    job.output = file.readAll();
  }
  return held;
}

}  // namespace testsupport
