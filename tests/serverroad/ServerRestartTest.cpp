// A server that restarts (PostgreSQL stopped at once and started again) or kills the sessions
// (MariaDB) between two calls: the call that meets the loss fails with the database's message,
// the next one works on the connection opened again; a transaction across the break is lost and
// says so at CommitTrans; a print job across it fails as a job, once, with that message.
#include <gtest/gtest.h>

#include "automation/clsMahnungDrucken.h"
#include "engine/frmDrucken.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/VbError.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/Backends.h"
#include "tests/support/DebugLog.h"

using testsupport::Backend;

namespace {

// The description of the error `f` raises; empty when it raises none.
std::string fehlerText(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::VbError& e) {
    return e.description().toStdString();
  }
  return {};
}

class ServerRestart : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    ASSERT_TRUE(db.create(schema::Tables::Host)) << db.failure();
    con = db.open();
  }
  void TearDown() override {
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }
  void unterbrechen() { ASSERT_TRUE(db.breakConnections()) << db.failure(); }
  // `text` tells what the driver said about the lost connection.
  void istDatenbankMeldung(const std::string& text) const {
    EXPECT_TRUE(testsupport::tellsLostConnection(GetParam(), text)) << text;
  }
  QStringList zeilen(const QString& sql) { return enginetest::zeilen(*db.open(), sql); }

  testsupport::BackendDatabase db{GetParam()};
  std::shared_ptr<data::Connection> con;
};

INSTANTIATE_TEST_SUITE_P(Server, ServerRestart, ::testing::Values(Backend::PostgreSql, Backend::MariaDb),
                         testsupport::backendName);

}  // namespace

TEST_P(ServerRestart, TheCallAfterTheBreakFailsWithTheDatabasesMessageAndTheNextOneWorks) {
  SetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("-1"), con);
  unterbrechen();
  istDatenbankMeldung(fehlerText([&] { GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con); }));
  EXPECT_EQ(GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con), QStringLiteral("-1"));
  SetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con);
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName='Falzstriche'")), QStringList{"0"});
}

TEST_P(ServerRestart, ATransactionAcrossTheBreakRaisesAtCommitAndLeavesNothing) {
  const QString einfuegen = QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (?, 'x')");
  con->BeginTrans();
  for (int i = 1; i <= 50; ++i) con->Execute(einfuegen, {i});
  unterbrechen();
  istDatenbankMeldung(fehlerText([&] { con->Execute(einfuegen, {51}); }));
  // Nothing is opened again inside it: a row here would be stored without the 51 before it.
  EXPECT_FALSE(fehlerText([&] { con->Execute(einfuegen, {52}); }).empty());
  istDatenbankMeldung(fehlerText([&] { con->CommitTrans(); }));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT COUNT(*) FROM TextBausteine")), QStringList{"0"});
  con->Execute(einfuegen, {53});
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Nummer FROM TextBausteine")), QStringList{"53"});
}

// The example host keeps its forms and settings on the server; the break comes between two jobs.
TEST_P(ServerRestart, APrintJobAcrossTheBreakFailsOnceWithTheDatabasesMessage) {
  testsupport::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
  beispiel::BeispielHost host(log.dir().file(QStringLiteral("Arbeit")), db.connectionString());
  QString fehler;
  ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  host.zeilenSchreiben(beispiel::beispielZeilen());
  const short mahnform = host.mahnformularAnlegen();
  const QString pdf = log.dir().file(QStringLiteral("Beleg.pdf"));

  const auto mahnung = [&] {
    auto brief = std::make_shared<clsMahnungDrucken>();
    const std::string text = fehlerText([&] {
      brief->set_ConnectList(vb::Variant(GetGlobalConnectList()));
      brief->let_Datenverzeichnis(host.datenverzeichnis());
      brief->let_MahnstufenText(QStringLiteral("2"));
      brief->SetDruckerOptionen(beispiel::kFormStatusMahnung, mahnform);
      brief->AddRechnung(2, QStringLiteral("R-1001"), QDateTime::currentDateTime(), QDateTime::currentDateTime(), 100.0,
                         20.0, QString());
      brief->let_PDFArchivDatei(pdf);
      brief->PDFAusgabeDokument();
    });
    return std::pair{text, text.empty() ? int(brief->GetExitCode()) : 1};
  };
  const auto rechnung = [&] {
    const std::string text = fehlerText([&] { host.pdfDrucken(pdf, &fehler); });
    return std::pair{text, text.empty() ? int(host.fenster().ExitCode()) : 1};
  };
  using Ergebnis = std::pair<std::string, int>;  // the call's error and the exit code
  for (const auto& [name, job] : {std::pair{"invoice", std::function<Ergebnis()>(rechnung)},
                                  std::pair{"dunning letter", std::function<Ergebnis()>(mahnung)}}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(job(), Ergebnis("", 0));
    unterbrechen();
    const int boxenVorher = dialogs->messageBoxes().size();
    const auto [text, exitCode] = job();
    EXPECT_EQ(exitCode, 1);
    // The job's one message box, or the call's error: either tells the database's message.
    const QList<ui::ShownDialog> boxen = dialogs->messageBoxes().mid(boxenVorher);
    EXPECT_LE(boxen.size() + (text.empty() ? 0 : 1), 1);
    istDatenbankMeldung(text.empty() && !boxen.isEmpty() ? boxen.front().text.toStdString() : text);
    EXPECT_EQ(job(), Ergebnis("", 0));
  }
}
