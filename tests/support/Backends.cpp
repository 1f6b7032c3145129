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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "platform/data/Connection.h"
#include "platform/vb/VbError.h"

namespace testsupport {
namespace {

constexpr int kInstallMs = 120000;  // initdb / mariadb-install-db
constexpr int kReadySteps = 600;    // 30 s in 50 ms steps for a server to take connections
constexpr int kStopMs = 20000;
const QString kPgSocketPort = QStringLiteral("5432");
const QString kMariaSocket = QStringLiteral("mariadb.sock");

QString postgresProgram(const QString& name) {
  // Debian keeps the server programs out of PATH, one folder per major version: take the newest.
  QDir root(QStringLiteral("/usr/lib/postgresql"));
  QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
  for (const QString& v : versions) {
    const QString p = root.filePath(v + QStringLiteral("/bin/") + name);
    if (QFileInfo(p).isExecutable()) return p;
  }
  return QStandardPaths::findExecutable(name);
}

QString mariaProgram(const QString& name) {
  QString p = QStandardPaths::findExecutable(name);
  if (p.isEmpty()) p = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
  return p;
}

bool serversInstalled() {
  return !postgresProgram(QStringLiteral("initdb")).isEmpty() && !postgresProgram(QStringLiteral("postgres")).isEmpty() &&
         !mariaProgram(QStringLiteral("mariadb-install-db")).isEmpty() && !mariaProgram(QStringLiteral("mariadbd")).isEmpty();
}

QString tail(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll().right(2000));
}

// The servers refuse to run as root: as root they run as "nobody".
struct Identity {
  bool change = false;
  uid_t uid = 0;
  gid_t gid = 0;
};

Identity serverIdentity() {
  Identity id;
  if (geteuid() != 0) return id;
  if (const passwd* p = getpwnam("nobody")) {
    id.change = true;
    id.uid = p->pw_uid;
    id.gid = p->pw_gid;
  }
  return id;
}

// A folder the server user owns.
bool ownFolder(const QString& path, const Identity& id) {
  if (!QDir().mkpath(path)) return false;
  return !id.change || ::chown(QFile::encodeName(path).constData(), id.uid, id.gid) == 0;
}

// The server folders of test programs that were killed (their servers ended with them): a
// folder names its program's pid in "owner".
void removeLeftovers() {
  QDir temp(QDir::tempPath());
  for (const QString& name : temp.entryList({QStringLiteral("skrivant-db-*")}, QDir::Dirs)) {
    QFile owner(temp.filePath(name + QStringLiteral("/owner")));
    if (!owner.open(QIODevice::ReadOnly)) continue;
    const pid_t pid = owner.readAll().trimmed().toInt();
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
    if (!m_tried) {
      m_tried = true;
      m_ok = start();
      if (!m_ok) stop();
    }
    return m_ok;
  }
  const std::string& failure() const { return m_failure; }

  QString connectionString(Backend backend, const QString& database) const {
    if (backend == Backend::PostgreSql)
      return QStringLiteral("DRIVER={PostgreSQL Unicode};Servername=%1;Port=%2;Database=%3;Username=postgres")
          .arg(runFolder(), kPgSocketPort, database);
    return QStringLiteral("DRIVER={MariaDB Unicode};Socket=%1/%2;Database=%3;User=root")
        .arg(runFolder(), kMariaSocket, database);
  }

  // The lines of an odbc.ini section for `database`, after its driver.
  QString dsnLines(Backend backend, const QString& database) const {
    if (backend == Backend::PostgreSql)
      return QStringLiteral("Driver=PostgreSQL Unicode\nServername=%1\nPort=%2\nDatabase=%3\nUsername=postgres\n")
          .arg(runFolder(), kPgSocketPort, database);
    return QStringLiteral("Driver=MariaDB Unicode\nSocket=%1/%2\nDatabase=%3\nUser=root\n")
        .arg(runFolder(), kMariaSocket, database);
  }

  bool createDatabase(Backend backend, const QString& name, std::string& failure) {
    try {
      if (backend == Backend::PostgreSql)
        m_pgAdmin->Execute(QStringLiteral("CREATE DATABASE %1").arg(name));
      else
        m_mariaAdmin->Execute(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin").arg(name));
      return true;
    } catch (const vb::VbError& e) {
      failure = e.description().toStdString();
      return false;
    }
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
  QString runFolder() const { return m_dir->filePath(QStringLiteral("run")); }
  QString path(const QString& name) const { return m_dir->filePath(name); }

  bool fail(const QString& why, const QString& log = {}) {
    m_failure = why.toStdString();
    if (!log.isEmpty()) m_failure += "\n--- " + log.toStdString() + " (end) ---\n" + tail(log).toStdString();
    return false;
  }

  // A server program as the server user, ended with `deathSignal` when this process ends.
  std::unique_ptr<QProcess> process(const QString& program, const QStringList& arguments, const QString& log,
                                    int deathSignal) {
    auto p = std::make_unique<QProcess>();
    p->setProgram(program);
    p->setArguments(arguments);
    p->setWorkingDirectory(m_dir->path());
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setStandardOutputFile(log);
    const Identity id = m_identity;
    p->setChildProcessModifier([id, deathSignal] {
      if (id.change && (setgroups(0, nullptr) != 0 || setgid(id.gid) != 0 || setuid(id.uid) != 0)) _exit(126);
      prctl(PR_SET_PDEATHSIG, deathSignal);
    });
    p->start();
    return p;
  }

  bool install(QProcess& p, const QString& what, const QString& log) {
    if (!p.waitForFinished(kInstallMs)) return fail(what + QStringLiteral(" did not finish"), log);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
      return fail(what + QStringLiteral(" failed (exit code %1)").arg(p.exitCode()), log);
    return true;
  }

  // Waits (bounded) until the server takes connections to `database` and returns one.
  std::shared_ptr<data::Connection> connect(Backend backend, QProcess& server, const QString& database, const QString& log) {
    QString last;
    for (int step = 0; step < kReadySteps; ++step) {
      if (server.state() == QProcess::NotRunning) {
        fail(QStringLiteral("the server ended at its start"), log);
        return nullptr;
      }
      auto con = std::make_shared<data::Connection>();
      try {
        con->Open(connectionString(backend, database));
        return con;
      } catch (const vb::VbError& e) {
        last = e.description();
      }
      QThread::msleep(50);
    }
    fail(QStringLiteral("the server took no connection in time: ") + last, log);
    return nullptr;
  }

  bool start() {
    if (!serversInstalled()) return fail(QStringLiteral("the database server programs are not installed"));
    m_identity = serverIdentity();
    removeLeftovers();
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/skrivant-db-XXXXXX"));
    if (!m_dir->isValid()) return fail(QStringLiteral("no temporary folder"));
    QFile owner(path(QStringLiteral("owner")));
    if (owner.open(QIODevice::WriteOnly)) owner.write(QByteArray::number(QCoreApplication::applicationPid()));
    owner.close();
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                             QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char* folder : {"pg", "mariadb", "run"})
      if (!ownFolder(path(QString::fromLatin1(folder)), m_identity))
        return fail(QStringLiteral("cannot make the folder %1 for the server user").arg(QString::fromLatin1(folder)));

    // Both data folders are made at once: that is most of the start.
    auto initdb = process(postgresProgram(QStringLiteral("initdb")),
                          {QStringLiteral("-D"), path(QStringLiteral("pg")), QStringLiteral("-U"), QStringLiteral("postgres"),
                           QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                           QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
                          path(QStringLiteral("initdb.log")), SIGKILL);
    auto installDb = process(mariaProgram(QStringLiteral("mariadb-install-db")),
                             {QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + path(QStringLiteral("mariadb")),
                              QStringLiteral("--auth-root-authentication-method=normal"), QStringLiteral("--skip-test-db"),
                              QStringLiteral("--skip-name-resolve"), QStringLiteral("--innodb-flush-log-at-trx-commit=0"),
                              QStringLiteral("--innodb-doublewrite=0")},
                             path(QStringLiteral("install-db.log")), SIGKILL);
    if (!install(*initdb, QStringLiteral("initdb"), path(QStringLiteral("initdb.log"))) ||
        !install(*installDb, QStringLiteral("mariadb-install-db"), path(QStringLiteral("install-db.log"))))
      return false;

    m_postgres = process(postgresProgram(QStringLiteral("postgres")),
                         {QStringLiteral("-D"), path(QStringLiteral("pg")), QStringLiteral("-k"), runFolder(),
                          QStringLiteral("-p"), kPgSocketPort, QStringLiteral("-c"), QStringLiteral("listen_addresses="),
                          QStringLiteral("-c"), QStringLiteral("fsync=off"), QStringLiteral("-c"),
                          QStringLiteral("synchronous_commit=off"), QStringLiteral("-c"), QStringLiteral("full_page_writes=off")},
                         path(QStringLiteral("postgres.log")), SIGINT);
    m_mariadb = process(mariaProgram(QStringLiteral("mariadbd")),
                        {QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + path(QStringLiteral("mariadb")),
                         QStringLiteral("--socket=") + runFolder() + QLatin1Char('/') + kMariaSocket,
                         QStringLiteral("--skip-networking"), QStringLiteral("--pid-file=") + runFolder() + QStringLiteral("/mariadb.pid"),
                         QStringLiteral("--log-error=") + runFolder() + QStringLiteral("/mariadb.log"),
                         QStringLiteral("--innodb-flush-log-at-trx-commit=0"), QStringLiteral("--innodb-doublewrite=0"),
                         QStringLiteral("--innodb-buffer-pool-size=32M"), QStringLiteral("--skip-log-bin")},
                        path(QStringLiteral("mariadbd.out")), SIGTERM);

    auto templateDb = connect(Backend::PostgreSql, *m_postgres, QStringLiteral("template1"), path(QStringLiteral("postgres.log")));
    if (!templateDb) return false;
    try {
      // Every database made from the template has the schema's extension already.
      templateDb->Execute(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
    } catch (const vb::VbError& e) {
      return fail(QStringLiteral("citext: ") + e.description(), path(QStringLiteral("postgres.log")));
    }
    templateDb.reset();
    m_pgAdmin = connect(Backend::PostgreSql, *m_postgres, QStringLiteral("postgres"), path(QStringLiteral("postgres.log")));
    m_mariaAdmin = connect(Backend::MariaDb, *m_mariadb, QStringLiteral("mysql"), runFolder() + QStringLiteral("/mariadb.log"));
    return m_pgAdmin && m_mariaAdmin;
  }

  static void halt(std::unique_ptr<QProcess>& p, int signal) {
    if (!p) return;
    if (p->state() != QProcess::NotRunning) {
      ::kill(static_cast<pid_t>(p->processId()), signal);
      if (!p->waitForFinished(kStopMs)) {
        p->kill();
        p->waitForFinished(kStopMs);
      }
    }
    p.reset();
  }

  bool m_tried = false;
  bool m_ok = false;
  std::string m_failure;
  Identity m_identity;
  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<QProcess> m_postgres;
  std::unique_ptr<QProcess> m_mariadb;
  std::shared_ptr<data::Connection> m_pgAdmin;
  std::shared_ptr<data::Connection> m_mariaAdmin;
};

// Stops the servers when the tests are done, while Qt is still there.
class ServersEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { Servers::instance().stop(); }
};
[[maybe_unused]] const ::testing::Environment* const kServersEnvironment =
    ::testing::AddGlobalTestEnvironment(new ServersEnvironment);

// The private odbc.ini of this program, which ODBCINI names from its first use on.
QString odbcIni() {
  static QTemporaryDir dir;
  static const QString file = [] {
    const QString f = dir.filePath(QStringLiteral("odbc.ini"));
    qputenv("ODBCINI", QFile::encodeName(f));
    return f;
  }();
  return file;
}

int nextNumber() {
  static int n = 0;
  return ++n;
}

}  // namespace

::testing::internal::ParamGenerator<Backend> allBackends() {
  return ::testing::Values(Backend::Sqlite, Backend::PostgreSql, Backend::MariaDb);
}

std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
  switch (info.param) {
    case Backend::Sqlite: return "SQLite";
    case Backend::PostgreSql: return "PostgreSQL";
    case Backend::MariaDb: return "MariaDB";
  }
  return "unknown";
}

BackendDatabase::BackendDatabase(Backend backend) : m_backend(backend) {
  m_name = QStringLiteral("skrivant_%1").arg(nextNumber());
  if (backend == Backend::Sqlite) {
    const QString file = m_dir.file(m_name + QStringLiteral(".db"));
    QFile empty(file);  // an empty file is an empty SQLite database
    m_ready = empty.open(QIODevice::WriteOnly);
    if (!m_ready) m_failure = "cannot make " + file.toStdString();
    m_connectionString = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + data::connectionValue(file);
    return;
  }
  if (!installed()) return;
  Servers& servers = Servers::instance();
  if (!servers.ensure()) {
    m_failure = servers.failure();
    return;
  }
  m_ready = servers.createDatabase(backend, m_name, m_failure);
  m_connectionString = servers.connectionString(backend, m_name);
}

BackendDatabase::~BackendDatabase() = default;

bool BackendDatabase::installed() const { return m_backend == Backend::Sqlite || serversInstalled(); }

QString BackendDatabase::dsnConnectionString() const {
  const QString lines = m_backend == Backend::Sqlite
                            ? QStringLiteral("Driver=SQLite3\nDatabase=%1\n").arg(m_dir.file(m_name + QStringLiteral(".db")))
                            : Servers::instance().dsnLines(m_backend, m_name);
  QFile ini(odbcIni());
  if (ini.open(QIODevice::Append)) ini.write((QLatin1Char('[') + m_name + QStringLiteral("]\n") + lines).toUtf8());
  return QStringLiteral("DSN=") + m_name;
}

std::shared_ptr<data::Connection> BackendDatabase::open() const {
  auto con = std::make_shared<data::Connection>();
  con->Open(m_connectionString);
  return con;
}

bool BackendDatabase::create(schema::Tables tables) {
  QString error;
  try {
    const auto con = open();
    if (schema::createTables(*con, tables, &error)) return true;
  } catch (const vb::VbError& e) {
    error = e.description();
  }
  m_failure = error.toStdString();
  return false;
}

}  // namespace testsupport
