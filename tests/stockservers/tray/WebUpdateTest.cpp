// The branch synchronisation of TarneloSrv against the local web service, on the sample bookshop
// (SQLite, made from schema/), driven by the main window's tick on a clock the test sets.
#include <gtest/gtest.h>

#include <QTimer>

#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "schema/BookshopSample.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "tests/stockservers/tray/TarneloSrvSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/WebStub.h"

namespace {

using testsupport::WebStub;

class WebUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLokalerPfad(dir.path());
    ASSERT_TRUE(schema::createBookshopSample(dir.path()));
    Application::setUhr([this] { return uhr; });
    bedienen(web);
    form.dblUpdateInterval->setText(QStringLiteral("1"));
    app = std::make_unique<Application>();
    app->set_ConnectList(vb::Variant(verbindungen()));
    app->let_KundenNr(1);
    app->let_FilialNr(10000);
    app->let_BestaendeAbgleichen(true);
  }
  void TearDown() override {
    app.reset();
    Application::setUhr([] { return QDateTime::currentDateTime(); });
    SetLokalerPfad({});
  }

  std::shared_ptr<clsConnectionHandler> verbindungen() {
    auto h = std::make_shared<clsConnectionHandler>();
    h->let_SQLGruppe_DB_Provider(4, QStringLiteral("Microsoft.Jet.OLEDB.4.0;"));
    h->let_SQLGruppe_DB_Properties(4, QStringLiteral("Jet OLEDB:System database"),
                                   dir.write(QStringLiteral("SYSTEM.MDW"), {}));
    h->let_SQLGruppe_DB_OpenConnection(4, QStringLiteral("Data Source=") + dir.file(schema::kSampleArtikelDatei));
    con = h->SQLGruppe_Connection(4);
    return h;
  }
  void bedienen(const WebStub& stub) {
    SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("WebServer"), stub.baseUrl());
  }
  // The rows of a query as "a|b;c|d".
  QString werte(const QString& sql) {
    const auto rs = con->Execute(sql);
    QStringList zeilen;
    for (; !rs->Eof(); rs->MoveNext()) {
      QStringList felder;
      for (int i = 0; i < rs->Fields()->Count(); ++i) felder << vb::CStr(rs->Fields(vb::Variant(i))->Value());
      zeilen << felder.join(QLatin1Char('|'));
    }
    return zeilen.join(QLatin1Char(';'));
  }
  void ausfuehren(const QString& sql) { con->Execute(sql); }
  // A tick of the main window, `sekunden` after the last one.
  void tick(double sekunden = 61) {
    uhr = uhr.addMSecs(qint64(sekunden * 1000));
    form.Timer_Timer();
  }
  QString queue() { return werte(QStringLiteral("SELECT Artikelident, updated FROM Artikel_geändert ORDER BY ID")); }

  const bool einstellungen = (tarnelotest::leereEinstellungen(), true);
  testsupport::TempDir dir;
  WebStub web;
  QDateTime uhr = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
  Form1 form;
  std::unique_ptr<Application> app;
  std::shared_ptr<data::Connection> con;
};

TEST_F(WebUpdateTest, APassUploadsTheQueueInOrderAndStoresTheOtherBranchesFigures) {
  ausfuehren(QStringLiteral("INSERT INTO Artikel (Artikelident, Matchcode, Bestand, EigeneArtikelNummer) "
                            "VALUES (1006, 'ohne Nummer', 1, NULL), (1007, 'Sonderzeichen', 3, 'X&Y 1/2?')"));
  ausfuehren(QStringLiteral("INSERT INTO Artikel_geändert (Artikelident, updated, gelöscht, ISBN) VALUES "
                            "(1003, 0, 0, NULL), (1002, 0, 0, 'init'), (1006, 0, 0, NULL), (1007, 0, 0, NULL), "
                            "(1005, 0, -1, NULL)"));
  web.infotimestamp = {
      "7;12;1;0;20261209095900;I3446234567<br>zu kurz<br>"
      "2;9;0;1;20261209095800;I3499227444<br>"
      "5;1;0;0;20261209095700;EA0004711<br>"
      "x;1;2;3;20261209100000;I9783446234567<br>"
      "99999999999;1;2;3;20261209100000;I9783446234567<br>"
      "8;1;0;0;20261209095600;EO'Brien') OR 1=1 --"};
  tick();

  QStringList gesendet;
  for (const WebStub::Request& r : web.requests()) {
    EXPECT_EQ(r.path, QStringLiteral("/filial/article.php"));
    gesendet << r.target.mid(r.target.indexOf(QLatin1Char('?')) + 1);
  }
  const QString kopf = QStringLiteral("action=update&customer=1&store=10000&isbn=");
  EXPECT_EQ(gesendet, QStringList({
                          kopf + "I9783446234567&stock=5&reserved=3&ordered=5",
                          kopf + "EA0004711&stock=7&reserved=0&ordered=0",
                          kopf + "I9791000000015&stock=0&reserved=1&ordered=0",
                          kopf + "I3499227444&stock=2&reserved=0&ordered=4&nots=1",
                          kopf + "EX%26Y%201%2F2%3F&stock=3&reserved=0&ordered=0&nots=1",
                          "action=setts&customer=1&store=10000",
                          "action=infotimestamp&customer=1&ownstore=10000&ts=20261202091500",
                      }));
  EXPECT_EQ(web.requests()[4].value(QStringLiteral("isbn")), QStringLiteral("EX&Y 1/2?"));
  // Sent, and the one without any number, are gone; the deleted article's row stays.
  EXPECT_EQ(queue(), QStringLiteral("1005|0"));

  EXPECT_EQ(werte(QStringLiteral("SELECT FilialNr, ISBN, Bestand, Reserviert, Bestellt, LetztUpdate "
                                 "FROM Artikel_Filialbestände WHERE FilialNr IN (2, 5, 7, 8) ORDER BY FilialNr, ISBN")),
            QStringLiteral("2|344623456X|1|1|0|20261202091500;2|3499227444|9|0|1|20261209095800;"
                           "5|EA0004711|1|0|0|20261209095700;"
                           "7|3446234567|12|1|0|20261209095900;"
                           "8|EO'Brien') OR 1=1 --|1|0|0|20261209095600"));
  EXPECT_EQ(werte(QStringLiteral("SELECT COUNT(*) FROM Artikel_Filialbestände")), QStringLiteral("7"));
  EXPECT_EQ(werte(QStringLiteral("SELECT COUNT(*) FROM Artikel")), QStringLiteral("7"));
  EXPECT_TRUE(form.InfoText().contains(QStringLiteral("x;1;2;3;20261209100000;I9783446234567")));
  EXPECT_EQ(form.lngWebPruefungen, 1);

  // The next pass asks from the newest change stored; "NIX" in capitals stores nothing, and the
  // initial upload is not closed a second time.
  web.infotimestamp = {"NIX"};
  tick();
  EXPECT_EQ(web.actions().mid(7), QStringList({"infotimestamp"}));
  EXPECT_EQ(web.requests().back().value(QStringLiteral("ts")), QStringLiteral("20261209095900"));
  EXPECT_EQ(werte(QStringLiteral("SELECT COUNT(*) FROM Artikel_Filialbestände")), QStringLiteral("7"));
}

TEST_F(WebUpdateTest, AnArticleWithoutStoredQueryRowSendsZeroNotThePreviousFigures) {
  ausfuehren(QStringLiteral("UPDATE SavedQueries SET SqlText = 'SELECT 5 AS Bestellt, 3 AS Reserviert WHERE ? = 1001' "
                            "WHERE Name = 'ArtikelBestelltVerplant'"));
  tick();
  ASSERT_GE(web.requests().size(), 2u);
  EXPECT_EQ(web.requests()[0].value(QStringLiteral("ordered")), QStringLiteral("5"));
  EXPECT_EQ(web.requests()[1].value(QStringLiteral("ordered")), QStringLiteral("0"));
  EXPECT_EQ(web.requests()[1].value(QStringLiteral("reserved")), QStringLiteral("0"));
}

TEST_F(WebUpdateTest, TicksStartAPassAboutOnceAnIntervalAndTheBarShrinksInBetween) {
  for (const char* intervall : {"1", "0", "kein Wert"}) {
    SCOPED_TRACE(intervall);
    form.dblUpdateInterval->setText(QString::fromLatin1(intervall));
    const auto vorher = web.actions().count(QStringLiteral("infotimestamp"));
    tick();
    tick(30);
    EXPECT_NEAR(form.Shape1->width(), form.lngBalkenBreite / 2.0, 1.0);
    // Ticks every 500 ms for two and a half minutes: passes at about 1 and 2 minutes.
    for (int i = 0; i < 240; ++i) tick(0.5);
    EXPECT_EQ(web.actions().count(QStringLiteral("infotimestamp")) - vorher, 3);
  }
}

TEST_F(WebUpdateTest, NothingAtAllHappensWithoutBranchCustomerOrSync) {
  struct Fall {
    const char* name;
    std::int32_t filiale, kunde;
    bool abgleichen;
  };
  for (const Fall& f : {Fall{"branch 0", 0, 1, true}, Fall{"customer 0", 10000, 0, true},
                        Fall{"sync off", 10000, 1, false}}) {
    app->let_FilialNr(f.filiale);
    app->let_KundenNr(f.kunde);
    app->let_BestaendeAbgleichen(f.abgleichen);
    form.Shape1->setFixedWidth(17);
    tick();
    EXPECT_TRUE(web.requests().empty()) << f.name;
    EXPECT_EQ(form.Shape1->width(), 17) << f.name;
  }
  EXPECT_EQ(queue(), QStringLiteral("1001|0;1004|0"));
}

TEST_F(WebUpdateTest, ARequestThatFailsLeavesItsRowQueuedForTheNextPass) {
  struct Fall {
    const char* name;
    int nummer;  // of the request answered so
    WebStub::Response antwort;
    QStringList gesehen;
    const char* fehler;
  };
  for (const Fall& f : {Fall{"status 500", 1, {500, "kaputt"}, {"update", "update"}, "12152"},
                        Fall{"service stopped", 0, {200, "OK", false, true}, {"update"}, "12029"}}) {
    SCOPED_TRACE(f.name);
    ausfuehren(QStringLiteral("DELETE FROM Artikel_geändert"));
    ausfuehren(QStringLiteral("INSERT INTO Artikel_geändert (Artikelident, updated, gelöscht) "
                              "VALUES (1001, 0, 0), (1004, 0, 0), (1002, 0, 0)"));
    WebStub stub;
    stub.respond = [&](const WebStub::Request&, int i) { return i == f.nummer ? f.antwort : WebStub::Response{200, "OK"}; };
    bedienen(stub);
    tick();
    // Delivered: the first (marked); the second failed or went unanswered; the third not tried.
    EXPECT_EQ(stub.actions(), f.gesehen);
    EXPECT_EQ(queue(), QStringLiteral("1001|1;1004|0;1002|0"));
    EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\n") + QString::fromLatin1(f.fehler)));

    WebStub wieder;
    bedienen(wieder);
    tick();
    EXPECT_EQ(wieder.actions(), QStringList({"update", "update", "infotimestamp"}));
    EXPECT_EQ(wieder.requests()[0].value(QStringLiteral("isbn")), QStringLiteral("EA0004711"));
    EXPECT_EQ(queue(), QString());
  }
}

TEST_F(WebUpdateTest, AnInitialUploadWhoseClosingRequestFailedIsClosedByTheNextPass) {
  ausfuehren(QStringLiteral("UPDATE Artikel_geändert SET ISBN = 'INIT'"));
  web.respond = [](const WebStub::Request& r, int) {
    return r.value(QStringLiteral("action")) == QLatin1String("setts") ? WebStub::Response{500, "kaputt"}
                                                                       : WebStub::Response{200, "OK"};
  };
  tick();
  EXPECT_EQ(web.actions(), QStringList({"update", "update", "setts"}));
  EXPECT_EQ(queue(), QStringLiteral("1001|1;1004|1"));
  web.respond = nullptr;
  tick();
  EXPECT_EQ(web.actions().mid(3), QStringList({"setts", "infotimestamp"}));
  EXPECT_EQ(queue(), QString());
}

// With its own row numbers a change the host queues during the pass stays queued; on a queue of the
// hosts' four columns a change made while its article is sent goes out in the same pass, new figures.
TEST_F(WebUpdateTest, AChangeQueuedDuringAPassStaysOrIsSentWithItsNewStock) {
  web.respond = [&](const WebStub::Request& r, int i) {
    if (i == 0) ausfuehren(QStringLiteral("INSERT INTO Artikel_geändert (Artikelident, updated, gelöscht) VALUES (1001, 0, 0)"));
    return WebStub::Response{200, r.value(QStringLiteral("action")) == QLatin1String("infotimestamp") ? "nix" : "OK"};
  };
  tick();
  EXPECT_EQ(queue(), QStringLiteral("1001|0"));

  ausfuehren(QStringLiteral("DROP TABLE Artikel_geändert"));
  ausfuehren(QStringLiteral("CREATE TABLE Artikel_geändert (Artikelident INTEGER, updated SMALLINT, gelöscht SMALLINT, ISBN TEXT)"));
  ausfuehren(QStringLiteral("INSERT INTO Artikel_geändert VALUES (1001, 0, 0, NULL), (1004, 0, 0, 'INIT'), (1002, 0, -1, NULL)"));
  web.respond = [&](const WebStub::Request& r, int) {
    if (r.value(QStringLiteral("isbn")) == QLatin1String("EA0004711") && r.value(QStringLiteral("stock")) == QLatin1String("7")) {
      ausfuehren(QStringLiteral("UPDATE Artikel SET Bestand=42 WHERE Artikelident=1004"));
      ausfuehren(QStringLiteral("INSERT INTO Artikel_geändert VALUES (1004, 0, 0, NULL)"));
    }
    return WebStub::Response{200, "OK"};
  };
  tick();
  EXPECT_EQ(web.actions().mid(3), QStringList({"update", "update", "update", "setts", "infotimestamp"}));
  EXPECT_EQ(web.requests()[5].value(QStringLiteral("isbn")) + web.requests()[5].value(QStringLiteral("stock")), QStringLiteral("EA000471142"));
  EXPECT_EQ(werte(QStringLiteral("SELECT Artikelident, updated FROM Artikel_geändert")), QStringLiteral("1002|0"));
}

TEST_F(WebUpdateTest, AnObjectReleasedDuringItsPassEndsThePassUntouched) {
  web.respond = [&](const WebStub::Request&, int) {
    app.reset();
    return WebStub::Response{200, "OK"};
  };
  tick();
  EXPECT_EQ(web.actions(), QStringList({"update"}));
  EXPECT_EQ(queue(), QStringLiteral("1001|0;1004|0"));

  web.respond = nullptr;
  Application naechste;
  naechste.set_ConnectList(vb::Variant(verbindungen()));
  naechste.let_KundenNr(1);
  naechste.let_FilialNr(10000);
  naechste.let_BestaendeAbgleichen(true);
  naechste.CheckWebUpdate();
  EXPECT_EQ(web.actions(), QStringList({"update", "update", "update", "infotimestamp"}));
}

TEST_F(WebUpdateTest, AReplyCutShortOrNotStoredWholeKeepsTheTimeStamp) {
  ausfuehren(QStringLiteral("CREATE TRIGGER gesperrt BEFORE INSERT ON Artikel_Filialbestände "
                            "WHEN NEW.ISBN = 'EGESPERRT' BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
  web.infotimestamp = {
      "7;12;1;0;20261209095900;I3446234567<br>2;9;0;1;20261209095800;I34992",
      "7;13;1;0;20261209095900;I3446234567<br>6;1;0;0;20261209099999;EGESPERRT<br>"};
  web.respond = [&](const WebStub::Request& r, int) {
    if (r.value(QStringLiteral("action")) != QLatin1String("infotimestamp")) return WebStub::Response{200, "OK"};
    return WebStub::Response{200, web.infotimestamp.takeFirst(), web.infotimestamp.size() == 1};
  };
  tick();
  EXPECT_EQ(werte(QStringLiteral("SELECT FilialNr, Bestand FROM Artikel_Filialbestände WHERE FilialNr IN (2, 7) "
                                 "AND ISBN IN ('3446234567', '3499227444', '34992') ORDER BY FilialNr")),
            QStringLiteral("2|3;7|12"));
  tick();
  EXPECT_EQ(werte(QStringLiteral("SELECT Bestand FROM Artikel_Filialbestände WHERE FilialNr = 7")), QStringLiteral("13"));
  EXPECT_TRUE(form.InfoText().contains(QStringLiteral("gesperrt")));
  web.respond = nullptr;
  tick();
  EXPECT_EQ(web.requests().back().value(QStringLiteral("ts")), QStringLiteral("20261202091500"));
}

TEST_F(WebUpdateTest, DuringAPassTicksAndClientCallsReturnAtOnceAndPausieren) {
  Application client;
  client.set_ConnectList(vb::Variant(verbindungen()));
  client.let_KundenNr(1);
  client.let_FilialNr(10000);
  client.let_BestaendeAbgleichen(true);
  int gesehen = -1;
  web.respond = [&](const WebStub::Request&, int i) {
    if (i == 0) {
      tick();
      client.CheckWebUpdate();
      app->CheckWebUpdate();
    }
    return WebStub::Response{200, "OK"};
  };
  app->let_Pausieren(true);
  QTimer::singleShot(50, [&] {
    gesehen = int(web.requests().size());
    app->let_Pausieren(false);
  });
  form.objApplication = app.get();
  tick();
  EXPECT_EQ(gesehen, 0);
  EXPECT_EQ(web.actions(), QStringList({"update", "update", "infotimestamp"}));

  // A pass that raised (no article database) still clears its busy flag.
  app->set_ConnectList(vb::Variant(std::make_shared<clsConnectionHandler>()));
  tick();
  EXPECT_EQ(web.actions().size(), 3);
  app->set_ConnectList(vb::Variant(verbindungen()));
  tick();
  EXPECT_EQ(web.actions().size(), 4);
}

}  // namespace
