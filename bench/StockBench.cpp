// The stock servers at a real bookshop's size: TarneloDCOM's AddInfo and TarneloSrv's SearchArtNr
// on the generated bookshop of schema/BookshopSample (1,000,000 articles unless
// SKRIVANT_BENCH_ARTICLES says otherwise), in process, over a private session bus (the built
// programs started by D-Bus activation), over TarneloDCOM's unix socket, and from 20 client
// processes at once. Each call is timed on its own: median, p99 and calls per second are
// counters. The bookshop is written once into the build folder (bookshop-<articles>) and kept.
//
// SKRIVANT_BENCH_SERVER=postgresql (or mariadb) runs the same on a private database server,
// started as the server-road tests start it and stopped at the end: the same bookshop is written
// into it (schema/BookshopSample: one database with the rows of both files) and the servers read
// it on their "SQL-Server" road. SKRIVANT_BENCH_BOOKSHOP, when set, is an ODBC connection string
// of a database that holds that bookshop already.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include "bench/Lagerabfragen.h"
#include "platform/automation/Client.h"
#include "platform/automation/Server.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "schema/BookshopSample.h"
#include "stockservers/common/LagerIndizes.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/frmInfoWin.h"
#include "schema/ServerSchema.h"
#include "tests/support/Backends.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/WaitUntil.h"

namespace {

using automation::CallKind;
using automation::callByName;
using lagerbench::Abfrage;
using lagerbench::Fall;

const QString kDcom = QStringLiteral("TarneloDCOM.Application");
const QString kSrv = QStringLiteral("TarneloSrv.Application");

enum class Weg { ImProzess, Bus, Socket };

// Per-call times in milliseconds.
struct Zeiten {
  std::vector<double> ms;
  void add(qint64 ns) { ms.push_back(double(ns) / 1e6); }
  double quantil(double q) {
    if (ms.empty()) return 0;
    auto it = ms.begin() + std::min<std::ptrdiff_t>(std::ptrdiff_t(q * double(ms.size())), std::ptrdiff_t(ms.size()) - 1);
    std::nth_element(ms.begin(), it, ms.end());
    return *it;
  }
  void melden(benchmark::State& state, double sekunden) {
    state.counters["median_ms"] = quantil(0.5);
    state.counters["p99_ms"] = quantil(0.99);
    state.counters["calls_per_s"] = sekunden > 0 ? double(ms.size()) / sekunden : 0;
  }
};

// The bookshop, the settings pointing at it, the private bus and the servers' objects of every
// road, made on first use and kept for the process.
class Labor {
 public:
  static Labor& get() {
    if (!instanz()) instanz().reset(new Labor);
    return *instanz();
  }
  // Before the application goes: windows, objects and servers.
  static void ende() { instanz().reset(); }

  bool ok() const { return m_fehler.isEmpty(); }
  const QString& fehler() const { return m_fehler; }
  int artikel() const { return m_artikel; }
  bool sqlite() const { return m_ordner.size() > 0; }

  dcom::Application& dcomImProzess() {
    if (!m_dcomApp) {
      m_dcomForm = std::make_unique<dcom::Form1>();
      m_dcomApp = std::make_unique<dcom::Application>();
      m_dcomApp->infofelder();
    }
    return *m_dcomApp;
  }
  dcom::Form1& dcomFenster() {
    dcomImProzess();
    return *m_dcomForm;
  }

  Application& srvImProzess() {
    if (!m_srvApp) {
      m_srvForm = std::make_unique<Form1>();
      m_srvApp = std::make_unique<Application>();
      m_srvApp->set_ConnectList(vb::Variant::nothing());
    }
    return *m_srvApp;
  }

  // TarneloDCOM's Application over the bus or over its socket; raises what the bridge raises.
  QObject& dcomEntfernt(Weg weg) {
    if (!m_dcomBus) {
      m_dcomBus = automation::createRemoteObject(kDcom);
      callByName(*m_dcomBus, QStringLiteral("infofelder"), CallKind::Method);
    }
    if (weg == Weg::Bus) return *m_dcomBus;
    if (!m_dcomSocket) {
      // The server that activation started listens on its socket as well.
      testsupport::waitUntil([&] { return QFileInfo::exists(socket()); }, 20000);
      m_dcomSocket = automation::createRemoteObject(kDcom, QStringLiteral("unix:path=") + socket());
      callByName(*m_dcomSocket, QStringLiteral("infofelder"), CallKind::Method);
    }
    return *m_dcomSocket;
  }

  QObject& srvEntfernt() {
    if (!m_srvBus) {
      m_srvBus = automation::createRemoteObject(kSrv);
      callByName(*m_srvBus, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant::nothing()});
    }
    return *m_srvBus;
  }

  // Lets go of the servers' objects and waits until both programs have ended: releasing an
  // Application ends its server.
  void serverBeenden() {
    m_dcomSocket.reset();
    m_dcomBus.reset();
    m_srvBus.reset();
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    testsupport::waitUntil(
        [&] {
          return !bus->isServiceRegistered(automation::busNameFor(kDcom)).value() &&
                 !bus->isServiceRegistered(automation::busNameFor(kSrv)).value();
        },
        20000);
  }

  ~Labor() { serverBeenden(); }

 private:
  Labor() {
    // Settings, data and the socket in folders of the run's own, set before the bus starts so
    // that the servers it starts see them too.
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
      const QString pfad = m_dir.filePath(QString::fromLatin1(name));
      QDir().mkpath(pfad);
      QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
      qputenv(name, pfad.toLocal8Bit());
    }
    m_artikel = qEnvironmentVariableIsSet("SKRIVANT_BENCH_ARTICLES") ? qEnvironmentVariableIntValue("SKRIVANT_BENCH_ARTICLES") : 1000000;
    QString odbc = qEnvironmentVariable("SKRIVANT_BENCH_BOOKSHOP");
    const QString server = qEnvironmentVariable("SKRIVANT_BENCH_SERVER");
    if (!server.isEmpty()) {
      odbc = serverLaden(server);
      if (!ok()) return;
    }
    if (odbc.isEmpty()) {
      ladenSchreiben();
      SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("MDB"));
      SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("DBName"), m_ordner + QLatin1Char('/') + schema::kSampleArtikelDatei);
    } else {
      SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("SQL-Server"));
      SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("ODBC_Connect"), odbc);
      artikelZaehlen(odbc);
    }
    if (!ok()) return;
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("DBNameDat"), QString());
    // No clipboard watch and no branch synchronisation in the tray server: only the look-ups.
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("AbfrageÜberClipboard"), QStringLiteral("1"));
    for (const char* option : {"SelectBestellte", "SelectReservierte", "SelectFilialen"})
      SaveSetting(QStringLiteral("LagerServer"), QString::fromLatin1(option), QStringLiteral("1"));
    SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("Socket"), socket());
    if (!testsupport::PrivateSessionBus::ensure()) m_fehler = QString::fromStdString(testsupport::PrivateSessionBus::failure());
  }

  static std::unique_ptr<Labor>& instanz() {
    static std::unique_ptr<Labor> labor;
    return labor;
  }

  QString socket() const { return m_dir.filePath(QStringLiteral("XDG_RUNTIME_DIR/tarnelodcom.sock")); }

  // The generated bookshop in the build folder, written once.
  void ladenSchreiben() {
    m_ordner = QStringLiteral(SKRIVANT_BENCH_DATA "/bookshop-%1").arg(m_artikel);
    if (QFileInfo::exists(m_ordner + QLatin1Char('/') + schema::kSampleDatenDatei)) return;
    const QString neu = m_ordner + QStringLiteral(".neu");
    QDir(neu).removeRecursively();
    QElapsedTimer uhr;
    uhr.start();
    QString fehler;
    if (!schema::createBookshopSample(neu, &fehler, m_artikel) || !QDir().rename(neu, m_ordner)) {
      m_fehler = QStringLiteral("bookshop not written: ") + fehler;
      return;
    }
    std::fprintf(stderr, "bookshop of %d articles written in %.1f s to %s\n", m_artikel, double(uhr.elapsed()) / 1000,
                 qPrintable(m_ordner));
  }

  // A private database server with the generated bookshop; its connection string.
  QString serverLaden(const QString& name) {
    using testsupport::Backend;
    const Backend backend = name == QLatin1String("mariadb") ? Backend::MariaDb : Backend::PostgreSql;
    if (name != QLatin1String("postgresql") && name != QLatin1String("mariadb")) {
      m_fehler = QStringLiteral("SKRIVANT_BENCH_SERVER: postgresql or mariadb, not ") + name;
      return {};
    }
    QElapsedTimer uhr;
    uhr.start();
    m_server = std::make_unique<testsupport::BackendDatabase>(backend);
    if (!m_server->ready()) {
      m_fehler = QString::fromStdString(m_server->failure());
      return {};
    }
    const double start = double(uhr.restart()) / 1000;
    try {
      auto con = m_server->open();
      // The indexes after the rows: built once they cost half of what keeping them up to date
      // row by row costs (case-insensitive keys compare slowly).
      const QStringList anweisungen = schema::statementsFor(schema::Tables::Bookshop, con->dialect().kind());
      const auto index = [](const QString& s) { return s.startsWith(QLatin1String("CREATE INDEX")); };
      for (const QString& s : anweisungen)
        if (!index(s)) con->Execute(s);
      QString fehler;
      if (!schema::fillBookshopSample(*con, m_artikel, &fehler)) {
        m_fehler = QStringLiteral("bookshop not written: ") + fehler;
        return {};
      }
      for (const QString& s : anweisungen)
        if (index(s)) con->Execute(s);
      // The planner's figures of the tables just filled, and on PostgreSQL their rows marked as
      // visible to all, as a shop's server has them after its routine vacuum.
      con->Execute((backend == Backend::PostgreSql ? QStringLiteral("VACUUM (ANALYZE) ") : QStringLiteral("ANALYZE TABLE ")) +
                   QStringLiteral("Artikel, [Artikel Einkauf], Artikel_LieferantBestellungen, "
                                  "Artikel_LieferantBestellungen_Details, Artikel_KundenReservierung_Details, "
                                  "Artikel_Filialbestände, Vorgaben"));
    } catch (const vb::VbError& e) {
      m_fehler = e.description();
      return {};
    }
    std::fprintf(stderr, "%s started with its bookshop in %.1f s, %d articles written in %.1f s\n", qPrintable(name), start,
                 m_artikel, double(uhr.elapsed()) / 1000);
    return m_server->connectionString();
  }

  void artikelZaehlen(const QString& odbc) {
    try {
      auto con = std::make_shared<data::Connection>();
      con->Open(odbc);
      auto rs = con->Execute(QStringLiteral("SELECT COUNT(*) FROM Artikel"));
      const int n = vb::CLng(rs->Fields(0)->Value());
      if (n < m_artikel) m_fehler = QStringLiteral("the database holds %1 articles, not %2").arg(n).arg(m_artikel);
    } catch (const vb::VbError& e) {
      m_fehler = e.description();
    }
  }

  QTemporaryDir m_dir;
  std::unique_ptr<testsupport::BackendDatabase> m_server;
  QString m_fehler;
  QString m_ordner;
  int m_artikel = 0;
  std::unique_ptr<dcom::Form1> m_dcomForm;
  std::unique_ptr<dcom::Application> m_dcomApp;
  std::unique_ptr<Form1> m_srvForm;
  std::unique_ptr<Application> m_srvApp;
  std::shared_ptr<QObject> m_dcomBus;
  std::shared_ptr<QObject> m_dcomSocket;
  std::shared_ptr<QObject> m_srvBus;
};

Labor* laborOder(benchmark::State& state) {
  Labor& labor = Labor::get();
  if (labor.ok()) return &labor;
  state.SkipWithError(qPrintable(labor.fehler()));
  return nullptr;
}

// Times one call a run on the next number of `fall`: `aufruf(abfrage, ns)` makes it, puts its
// time into `ns` and returns what was wrong with the answer (empty when nothing), which ends the run.
template <typename F>
void jeAufruf(benchmark::State& state, Fall fall, unsigned startwert, F&& aufruf) {
  Labor* labor = laborOder(state);
  if (!labor) return;
  lagerbench::Abfragen abfragen(labor->artikel(), startwert);
  Zeiten zeiten;
  qint64 gesamt = 0;
  try {
    qint64 ns = 0;
    aufruf(*labor, abfragen.naechste(fall), ns);  // connections warm
    for (auto _ : state) {
      const QString falsch = aufruf(*labor, abfragen.naechste(fall), ns);
      zeiten.add(ns);
      gesamt += ns;
      if (!falsch.isEmpty()) {
        state.SkipWithError(qPrintable(falsch));
        break;
      }
    }
  } catch (const vb::VbError& e) {
    state.SkipWithError(qPrintable(e.description()));
    return;
  }
  zeiten.melden(state, double(gesamt) / 1e9);
}

QString addInfo(Labor& labor, Weg weg, const QString& satz) {
  if (weg == Weg::ImProzess) return labor.dcomImProzess().AddInfo(satz);
  return vb::CStr(callByName(labor.dcomEntfernt(weg), QStringLiteral("AddInfo"), CallKind::Method, {vb::Variant(satz)}));
}

// The answer's stock is checked against the bookshop.
void BM_AddInfo(benchmark::State& state, Weg weg, Fall fall) {
  jeAufruf(state, fall, 23, [weg](Labor& labor, const Abfrage& a, qint64& ns) {
    const QString satz = lagerbench::infoSatz(a);
    QElapsedTimer uhr;
    uhr.start();
    const QString antwort = addInfo(labor, weg, satz);
    ns = uhr.nsecsElapsed();
    const QString bestand = lagerbench::feld(antwort, 70);
    return bestand == a.bestand ? QString() : QStringLiteral("%1: stock '%2', not %3").arg(a.nummer, bestand, a.bestand);
  });
}

// In process the info window is checked for the stock found.
void BM_SearchArtNr(benchmark::State& state, Weg weg, Fall fall) {
  jeAufruf(state, fall, 42, [weg, fall](Labor& labor, const Abfrage& a, qint64& ns) {
    QString nr = a.nummer;
    QList<vb::Variant> args{vb::Variant(nr)};
    QElapsedTimer uhr;
    uhr.start();
    if (weg == Weg::ImProzess) labor.srvImProzess().SearchArtNr(nr);
    else callByName(labor.srvEntfernt(), QStringLiteral("SearchArtNr"), CallKind::Method, args);
    ns = uhr.nsecsElapsed();
    if (weg != Weg::ImProzess || fall != Fall::Treffer) return QString();
    const QString text = labor.srvImProzess().InfoWin()->Text();
    return text.contains(QStringLiteral("Lagerbestand: ") + a.bestand + QStringLiteral("\r\n")) ? QString() : a.nummer + QStringLiteral(" shows ") + text;
  });
}

// `clients` client processes on the bus, each with an Application of its own, call at once:
// calls per second of all, median and p99 of every call.
void BM_Gleichzeitig(benchmark::State& state, const QString& progId) {
  Labor* labor = laborOder(state);
  if (!labor) return;
  const int clients = int(state.range(0));
  const int aufrufe = int(state.range(1));
  Zeiten zeiten;
  double sekunden = 0;
  for (auto _ : state) {
    std::vector<std::unique_ptr<QProcess>> prozesse;
    QString fehler;
    for (int i = 0; i < clients; ++i) {
      auto p = std::make_unique<QProcess>();
      p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
      p->start(QStringLiteral(SKRIVANT_STOCKBENCH_CLIENT),
               {progId, QString::number(labor->artikel()), QString::number(aufrufe), QString::number(1000 + i)});
      prozesse.push_back(std::move(p));
    }
    const auto zeileVon = [](QProcess& p) {
      while (!p.canReadLine() && p.waitForReadyRead(60000)) {
      }
      return QString::fromUtf8(p.readLine()).trimmed();
    };
    for (auto& p : prozesse) {
      const QString z = zeileVon(*p);
      if (z != QLatin1String("bereit") && fehler.isEmpty()) fehler = QStringLiteral("client: ") + z;
    }
    QElapsedTimer uhr;
    uhr.start();
    for (auto& p : prozesse) p->write("los\n");
    // Written now, not when this process next waits on that client.
    for (auto& p : prozesse) p->waitForBytesWritten(10000);
    for (auto& p : prozesse) {
      const QString z = zeileVon(*p);
      if (!z.startsWith(QLatin1String("us ")) && fehler.isEmpty()) fehler = QStringLiteral("client: ") + z;
      for (const QString& t : z.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(1)) zeiten.add(t.toLongLong() * 1000);
    }
    sekunden += double(uhr.nsecsElapsed()) / 1e9;
    for (auto& p : prozesse) p->closeWriteChannel();
    for (auto& p : prozesse) p->waitForFinished(30000);
    if (!fehler.isEmpty()) {
      state.SkipWithError(qPrintable(fehler));
      break;
    }
  }
  // The clients' releases end the servers; the next road starts them afresh.
  labor->serverBeenden();
  zeiten.melden(state, sekunden);
}

// A client sends a 1 MB number in field 3: its answer within a second, and the ordinary misses
// after it as fast as before.
void BM_AddInfoMegabyte(benchmark::State& state, Weg weg) {
  Labor* labor = laborOder(state);
  if (!labor) return;
  lagerbench::Abfragen abfragen(labor->artikel(), 7);
  const auto fehlanzeigen = [&] {
    Zeiten z;
    for (int i = 0; i < 300; ++i) {
      const QString satz = lagerbench::infoSatz(abfragen.naechste(Fall::Fehlanzeige));
      QElapsedTimer uhr;
      uhr.start();
      addInfo(*labor, weg, satz);
      z.add(uhr.nsecsElapsed());
    }
    return z.quantil(0.5);
  };
  Abfrage gross;
  gross.nummer = QString(1024 * 1024, QLatin1Char('7'));
  const QString satz = lagerbench::infoSatz(gross);
  try {
    for (auto _ : state) {
      const double vorher = fehlanzeigen();
      QElapsedTimer uhr;
      uhr.start();
      const QString antwort = addInfo(*labor, weg, satz);
      const double megabyte = double(uhr.nsecsElapsed()) / 1e6;
      const double nachher = fehlanzeigen();
      state.counters["before_ms"] = vorher;
      state.counters["megabyte_ms"] = megabyte;
      state.counters["after_ms"] = nachher;
      if (lagerbench::feld(antwort, 3) != gross.nummer) state.SkipWithError("the 1 MB record came back changed");
    }
  } catch (const vb::VbError& e) {
    state.SkipWithError(qPrintable(e.description()));
  }
  if (weg == Weg::ImProzess) state.counters["log_chars"] = double(labor->dcomFenster().InfoText().size());
}

// What SQLite's NOCASE costs per row against the data layer's comparison over all of Unicode
// (NOCASE_UNICODE, which the look-ups use for keys beyond ASCII): a whole-table scan of the
// ISBNs with each (the index left aside).
void BM_NocaseScan(benchmark::State& state, bool eigene) {
  Labor* labor = laborOder(state);
  if (!labor) return;
  if (!labor->sqlite()) {
    state.SkipWithError("SQLite only");
    return;
  }
  const QString datei = QStringLiteral(SKRIVANT_BENCH_DATA "/bookshop-%1/").arg(labor->artikel()) + schema::kSampleArtikelDatei;
  const QString sql = QStringLiteral("SELECT COUNT(*) FROM Artikel NOT INDEXED WHERE ISBN='3-15-012345-3'");
  qint64 ns = 0;
  std::int64_t laeufe = 0;
  const auto messen = [&](auto&& abfrage) {
    for (auto _ : state) {
      QElapsedTimer uhr;
      uhr.start();
      abfrage();
      ns += uhr.nsecsElapsed();
      ++laeufe;
    }
  };
  if (eigene) {
    auto con = std::make_shared<data::Connection>();
    con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    con->Open(QStringLiteral("Data Source=") + datei);
    const QString eigenes = QStringLiteral("SELECT COUNT(*) FROM Artikel NOT INDEXED WHERE ISBN COLLATE NOCASE_UNICODE='3-15-012345-3'");
    messen([&] { benchmark::DoNotOptimize(con->Execute(eigenes)); });
  } else {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("nocase"));
      db.setDatabaseName(datei);
      db.open();
      QSqlQuery q(db);
      messen([&] {
        q.exec(sql);
        q.next();
      });
    }
    QSqlDatabase::removeDatabase(QStringLiteral("nocase"));
  }
  if (laeufe) state.counters["ns_per_row"] = double(ns) / double(laeufe) / double(labor->artikel());
}

// A shop's file from before the indexes: what the first open by a server costs, when it adds them.
void BM_IndizesAnlegen(benchmark::State& state) {
  Labor* labor = laborOder(state);
  if (!labor) return;
  if (!labor->sqlite()) {
    state.SkipWithError("SQLite only");
    return;
  }
  QTemporaryDir dir;
  const QString datei = dir.filePath(schema::kSampleArtikelDatei);
  int angelegt = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(datei);
    QFile::copy(QStringLiteral(SKRIVANT_BENCH_DATA "/bookshop-%1/").arg(labor->artikel()) + schema::kSampleArtikelDatei, datei);
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("alt"));
      db.setDatabaseName(datei);
      db.open();
      QSqlQuery q(db);
      QStringList namen;
      for (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL")); q.next();)
        namen << q.value(0).toString();
      for (const QString& name : namen) q.exec(QStringLiteral("DROP INDEX [%1]").arg(name));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("alt"));
    auto con = std::make_shared<data::Connection>();
    con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    con->Open(QStringLiteral("Data Source=") + datei);
    state.ResumeTiming();
    angelegt = 0;
    LagerIndizesAnlegen(*con, [&](const QString& zeile) { angelegt += zeile.endsWith(QLatin1String(" angelegt")) ? 1 : 0; });
  }
  state.counters["indexes"] = angelegt;
}

constexpr int kAufrufe = 2000;

}  // namespace

BENCHMARK_CAPTURE(BM_AddInfo, in_process_found, Weg::ImProzess, Fall::Treffer)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfo, in_process_unknown, Weg::ImProzess, Fall::Fehlanzeige)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfo, in_process_title_number, Weg::ImProzess, Fall::Titelnummer)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfo, bus_found, Weg::Bus, Fall::Treffer)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfo, bus_unknown, Weg::Bus, Fall::Fehlanzeige)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfo, socket_found, Weg::Socket, Fall::Treffer)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfo, socket_unknown, Weg::Socket, Fall::Fehlanzeige)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfoMegabyte, in_process, Weg::ImProzess)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfoMegabyte, bus, Weg::Bus)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInfoMegabyte, socket, Weg::Socket)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Gleichzeitig, AddInfo_bus_clients, kDcom)->Args({20, 500})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SearchArtNr, in_process_found, Weg::ImProzess, Fall::Treffer)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchArtNr, in_process_unknown, Weg::ImProzess, Fall::Fehlanzeige)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchArtNr, bus_found, Weg::Bus, Fall::Treffer)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchArtNr, bus_unknown, Weg::Bus, Fall::Fehlanzeige)->Iterations(kAufrufe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Gleichzeitig, SearchArtNr_bus_clients, kSrv)->Args({20, 500})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NocaseScan, sqlite_builtin, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NocaseScan, data_layer, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndizesAnlegen)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  Labor::ende();
  testsupport::stopServers();
  benchmark::Shutdown();
  return 0;
}
