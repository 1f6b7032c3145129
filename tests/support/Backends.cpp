#include "tests/support/Backends.h"

#include <errno.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <optional>

#include "platform/data/Connection.h"
#include "platform/vb/VbError.h"

namespace testsupport {
namespace {

constexpr int kInstallMs = 120000;  // initdb / mariadb-install-db
constexpr int kReadySteps = 600;    // 30 s in 50 ms steps for a server to take connections
constexpr int kStopMs = 20000;

QString program(const QString& name) {
  // Debian keeps PostgreSQL's programs out of PATH, one folder per major version: the newest.
  QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
  QStringList folders{QStringLiteral("/usr/sbin")};
  for (const QString& v : versions) folders.prepend(QStringLiteral("/usr/lib/postgresql/%1/bin").arg(v));
  const QString p = QStandardPaths::findExecutable(name, folders);
  return p.isEmpty() ? QStandardPaths::findExecutable(name) : p;
}

bool serversInstalled() {
  for (const char* p : {"initdb", "postgres", "mariadb-install-db", "mariadbd"})
    if (program(QString::fromLatin1(p)).isEmpty()) return false;
  return true;
}

// The server folders of test programs that were killed (their servers ended with them): each
// folder names its program in "owner".
void removeLeftovers() {
  QDir temp(QDir::tempPath());
  for (const QString& name : temp.entryList({QStringLiteral("skrivant-db-*")}, QDir::Dirs)) {
    QFile owner(temp.filePath(name + QStringLiteral("/owner")));
    const pid_t pid = owner.open(QIODevice::ReadOnly) ? owner.readAll().trimmed().toInt() : 0;
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) QDir(temp.filePath(name)).removeRecursively();
  }
}

class Servers {
 public:
  static Servers& instance() {
    static Servers servers;
    return servers;
  }

  // Starts both servers the first time; false, with failure(), when they did not come up.
  bool ensure() {
    if (!m_ok) m_ok = start() || (stop(), false);
    return *m_ok;
  }
  const std::string& failure() const { return m_failure; }

  QString connectionString(Backend backend, const QString& database) const {
    return (backend == Backend::PostgreSql
                ? QStringLiteral("DRIVER={PostgreSQL Unicode};Servername=%1;Port=5432;Database=%2;Username=postgres")
                : QStringLiteral("DRIVER={MariaDB Unicode};Socket=%1/mariadb.sock;Database=%2;User=root"))
        .arg(path(QStringLiteral("run")), database);
  }

  void createDatabase(Backend backend, const QString& name) {
    if (backend == Backend::PostgreSql)
      m_pgAdmin->Execute(QStringLiteral("CREATE DATABASE ") + name);
    else
      m_mariaAdmin->Execute(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin").arg(name));
  }

  // PostgreSQL stopped at once and started again; MariaDB's connections to `database` killed.
  bool breakConnections(Backend backend, const QString& database) {
    m_failure.clear();
    QSqlQuery q((backend == Backend::MariaDb ? m_mariaAdmin : m_pgAdmin)->database());
    if (backend == Backend::MariaDb) {
      QStringList ids;
      if (!q.exec(QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE DB='%1' AND ID<>CONNECTION_ID()").arg(database)))
        return fail(q.lastError().text());
      while (q.next()) ids << q.value(0).toString();
      for (const QString& id : ids)
        if (!q.exec(QStringLiteral("KILL ") + id)) return fail(q.lastError().text());
      return true;
    }
    // What was committed stays: the server runs without waiting for its log (synchronous_commit).
    if (!q.exec(QStringLiteral("CHECKPOINT"))) return fail(q.lastError().text());
    q = QSqlQuery();
    m_pgAdmin.reset();
    ::kill(static_cast<pid_t>(m_postgres->processId()), SIGQUIT);  // immediate: no checkpoint, sessions cut
    if (!m_postgres->waitForFinished(kStopMs)) return fail(QStringLiteral("PostgreSQL did not stop"), QStringLiteral("postgres.log"));
    startPostgres();
    m_pgAdmin = connect(Backend::PostgreSql, *m_postgres, QStringLiteral("postgres"), QStringLiteral("postgres.log"));
    return m_pgAdmin != nullptr;
  }

  void stop() {
    m_pgAdmin.reset();
    m_mariaAdmin.reset();
    // PostgreSQL's fast shutdown ends the sessions a test left open; SIGTERM would wait for them.
    halt(m_postgres, SIGINT);
    halt(m_mariadb, SIGTERM);
    m_dir.reset();
  }

 private:
  QString path(const QString& name) const { return m_dir->filePath(name); }

  // False, with `why` and the end of `log` as failure().
  bool fail(const QString& why, const QString& log = {}) {
    QFile f(log.isEmpty() ? QString() : path(log));
    const QByteArray tail = f.open(QIODevice::ReadOnly) ? f.readAll().right(2000) : QByteArray();
    m_failure = (why + (tail.isEmpty() ? QString() : QStringLiteral("\n--- %1 (end) ---\n").arg(log)) + QString::fromUtf8(tail))
                    .toStdString();
    return false;
  }

  // `name` with `arguments` ("%1" is the folder) as the server user, its output in `log`, ended
  // with `deathSignal` when this process ends, however it ends.
  std::unique_ptr<QProcess> process(const QString& name, const QString& arguments, const QString& log, int deathSignal) {
    auto p = std::make_unique<QProcess>();
    p->setProgram(program(name));
    p->setArguments(arguments.arg(m_dir->path()).split(QLatin1Char(' ')));
    p->setWorkingDirectory(m_dir->path());
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setStandardOutputFile(path(log), QIODevice::Append);
    p->setChildProcessModifier([user = m_user, deathSignal] {
      if (user && (setgroups(0, nullptr) != 0 || setgid(user->second) != 0 || setuid(user->first) != 0)) _exit(126);
      prctl(PR_SET_PDEATHSIG, deathSignal);
    });
    p->start();
    return p;
  }

  // Waits (bounded) until the server takes connections to `database` and returns one.
  std::shared_ptr<data::Connection> connect(Backend backend, QProcess& server, const QString& database, const QString& log) {
    QString last;
    for (int step = 0; step < kReadySteps && server.state() != QProcess::NotRunning; ++step, QThread::msleep(50)) {
      try {
        auto con = std::make_shared<data::Connection>();
        con->Open(connectionString(backend, database));
        return con;
      } catch (const vb::VbError& e) {
        last = e.description();
      }
    }
    fail(QStringLiteral("the server takes no connection: ") + last, log);
    return nullptr;
  }

  bool start() {
    if (!serversInstalled()) return fail(QStringLiteral("the database server programs are not installed"));
    // The servers refuse to run as root: as root they run as "nobody".
    if (const passwd* p = geteuid() == 0 ? getpwnam("nobody") : nullptr) m_user = std::pair{p->pw_uid, p->pw_gid};
    removeLeftovers();
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/skrivant-db-XXXXXX"));
    QFile owner(path(QStringLiteral("owner")));
    if (!m_dir->isValid() || !owner.open(QIODevice::WriteOnly)) return fail(QStringLiteral("no temporary folder"));
    owner.write(QByteArray::number(QCoreApplication::applicationPid()));
    owner.close();
    QFile::setPermissions(m_dir->path(), QFile::permissions(m_dir->path()) | QFile::ExeOther | QFile::ReadOther);
    // The folders the servers write: their data, and sockets, pid file and MariaDB's log.
    for (const char* folder : {"pg", "mariadb", "run"}) {
      const QByteArray p = QFile::encodeName(path(QString::fromLatin1(folder)));
      if (!QDir().mkpath(QString::fromLocal8Bit(p)) || (m_user && ::chown(p.constData(), m_user->first, m_user->second) != 0))
        return fail(QStringLiteral("cannot give the server user the folder ") + QString::fromLatin1(folder));
    }

    // Both data folders are made at once: that is most of the start.
    const QString logs[] = {QStringLiteral("initdb.log"), QStringLiteral("install-db.log")};
    std::unique_ptr<QProcess> installs[] = {
        process(QStringLiteral("initdb"), QStringLiteral("-D %1/pg -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync"), logs[0],
                SIGKILL),
        process(QStringLiteral("mariadb-install-db"),
                QStringLiteral("--no-defaults --datadir=%1/mariadb --auth-root-authentication-method=normal "
                               "--skip-test-db --skip-name-resolve --innodb-flush-log-at-trx-commit=0"),
                logs[1], SIGKILL)};
    for (int i = 0; i < 2; ++i)
      if (!installs[i]->waitForFinished(kInstallMs) || installs[i]->exitStatus() != QProcess::NormalExit || installs[i]->exitCode() != 0)
        return fail(installs[i]->program() + QStringLiteral(" failed (exit code %1)").arg(installs[i]->exitCode()), logs[i]);
    startPostgres();
    m_mariadb = process(QStringLiteral("mariadbd"),
                        QStringLiteral("--no-defaults --datadir=%1/mariadb --socket=%1/run/mariadb.sock --skip-networking "
                                       "--pid-file=%1/run/mariadb.pid --log-error=%1/run/mariadb.log --skip-log-bin "
                                       "--innodb-flush-log-at-trx-commit=0 --innodb-buffer-pool-size=32M"),
                        QStringLiteral("mariadbd.out"), SIGKILL);  // while it starts, it does not take SIGTERM

    // Every database made from the template has the schema's extension already.
    auto templateDb = connect(Backend::PostgreSql, *m_postgres, QStringLiteral("template1"), QStringLiteral("postgres.log"));
    if (!templateDb) return false;
    try {
      templateDb->Execute(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
    } catch (const vb::VbError& e) {
      return fail(e.description(), QStringLiteral("postgres.log"));
    }
    templateDb.reset();  // a template in use cannot be copied
    m_pgAdmin = connect(Backend::PostgreSql, *m_postgres, QStringLiteral("postgres"), QStringLiteral("postgres.log"));
    m_mariaAdmin = connect(Backend::MariaDb, *m_mariadb, QStringLiteral("mysql"), QStringLiteral("run/mariadb.log"));
    return m_pgAdmin && m_mariaAdmin;
  }

  void startPostgres() {
    m_postgres = process(QStringLiteral("postgres"),
                         QStringLiteral("-D %1/pg -k %1/run -p 5432 -c listen_addresses= -c fsync=off "
                                        "-c synchronous_commit=off -c full_page_writes=off"),
                         QStringLiteral("postgres.log"), SIGINT);
  }

  static void halt(std::unique_ptr<QProcess>& p, int signal) {
    if (p && p->state() != QProcess::NotRunning) {
      ::kill(static_cast<pid_t>(p->processId()), signal);
      if (!p->waitForFinished(kStopMs)) {
        p->kill();
        p->waitForFinished(kStopMs);
      }
    }
    p.reset();
  }

  std::optional<bool> m_ok;
  std::string m_failure;
  std::optional<std::pair<uid_t, gid_t>> m_user;  // the servers' user and group when not this process's
  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<QProcess> m_postgres, m_mariadb;
  std::shared_ptr<data::Connection> m_pgAdmin, m_mariaAdmin;
};

// Stops the servers when the tests are done, while Qt is still there.
class ServersEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { stopServers(); }
};
[[maybe_unused]] const ::testing::Environment* const kServersEnvironment =
    ::testing::AddGlobalTestEnvironment(new ServersEnvironment);

// The message of a run-time error of `run`, or nothing.
template <typename Run>
std::string failureOf(const Run& run) {
  try {
    run();
    return {};
  } catch (const vb::VbError& e) {
    return e.description().toStdString();
  }
}

}  // namespace

void stopServers() { Servers::instance().stop(); }

::testing::internal::ParamGenerator<Backend> allBackends() {
  return ::testing::Values(Backend::Sqlite, Backend::PostgreSql, Backend::MariaDb);
}

std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
  static const char* const names[] = {"SQLite", "PostgreSQL", "MariaDB"};
  return names[static_cast<int>(info.param)];
}

BackendDatabase::BackendDatabase(Backend backend) : m_backend(backend) {
  static int databases = 0;
  m_name = QStringLiteral("skrivant_%1").arg(++databases);
  if (backend == Backend::Sqlite) {
    const QString file = m_dir.file(m_name + QStringLiteral(".db"));
    m_ready = QFile(file).open(QIODevice::WriteOnly);  // an empty file is an empty SQLite database
    if (!m_ready) m_failure = "cannot make " + file.toStdString();
    m_connectionString = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + data::connectionValue(file);
    return;
  }
  Servers& servers = Servers::instance();
  if (!installed() || !servers.ensure()) {
    m_failure = servers.failure();
    return;
  }
  m_failure = failureOf([&] { servers.createDatabase(backend, m_name); });
  m_ready = m_failure.empty();
  m_connectionString = servers.connectionString(backend, m_name);
}

BackendDatabase::~BackendDatabase() = default;

bool BackendDatabase::installed() const { return m_backend == Backend::Sqlite || serversInstalled(); }

QString BackendDatabase::dsnConnectionString() const {
  static QTemporaryDir folder;
  static const QString ini = [] {
    qputenv("ODBCINI", QFile::encodeName(folder.filePath(QStringLiteral("odbc.ini"))));
    return folder.filePath(QStringLiteral("odbc.ini"));
  }();
  // The section holds the pairs of the DRIVER= string, one a line.
  QString lines = m_backend == Backend::Sqlite ? QStringLiteral("Driver=SQLite3;Database=") + m_dir.file(m_name + QStringLiteral(".db"))
                                               : m_connectionString;
  lines.remove(QLatin1Char('{')).remove(QLatin1Char('}')).replace(QLatin1Char(';'), QLatin1Char('\n'));
  QFile f(ini);
  if (f.open(QIODevice::Append)) f.write(QStringLiteral("[%1]\n%2\n").arg(m_name, lines).toUtf8());
  return QStringLiteral("DSN=") + m_name;
}

std::shared_ptr<data::Connection> BackendDatabase::open() const {
  auto con = std::make_shared<data::Connection>();
  con->Open(m_connectionString);
  return con;
}

bool BackendDatabase::breakConnections() {
  if (m_backend == Backend::Sqlite) {
    m_failure = "an SQLite file has no connection to lose";
    return false;
  }
  Servers& servers = Servers::instance();
  const bool back = servers.breakConnections(m_backend, m_name);
  m_failure = servers.failure();
  return back;
}

bool BackendDatabase::create(schema::Tables tables) {
  QString error;
  bool made = false;
  m_failure = failureOf([&] { made = schema::createTables(*open(), tables, &error); });
  if (m_failure.empty() && !made) m_failure = error.toStdString();
  return made;
}

}  // namespace testsupport
