// The stock servers on a bookshop database of each backend (the sample's rows), reached through
// the settings' ODBC connection: TarneloDCOM's records, TarneloSrv's look-up with its ISBN stack,
// the branch sync's upload through the saved query and download of the other branches, and both
// servers across a restart of the database server.
#include <gtest/gtest.h>

#include <QSettings>

#include "platform/data/Connection.h"
#include "schema/BookshopSample.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/frmInfoWin.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/serverroad/lager/Filialabgleich.h"
#include "tests/stockservers/remote/Buchladen.h"
#include "tests/support/Backends.h"
#include "tests/support/WebStub.h"

using testsupport::Backend;

namespace {

class Lager : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    ASSERT_TRUE(db.create(schema::Tables::Bookshop)) << db.failure();
    con = db.open();
    for (const QString& zeile : schema::sampleArtikelRows() + schema::sampleDatenRows()) con->Execute(zeile);
    buchladen::umgebung();
    QSettings(QStringLiteral("Tarnelo"), QStringLiteral("Tarnelo")).clear();
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("SQL-Server"));
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("ODBC_Connect"), db.connectionString());
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("InISBNStapel"), QStringLiteral("1"));
    for (const char* option : {"SelectBestellte", "SelectReservierte", "SelectFilialen"})
      SaveSetting(QStringLiteral("LagerServer"), QString::fromLatin1(option), QStringLiteral("1"));
  }
  QStringList zeilen(const QString& sql) const { return enginetest::zeilen(*con, sql); }

  testsupport::BackendDatabase db{GetParam()};
  std::shared_ptr<data::Connection> con;
};

INSTANTIATE_TEST_SUITE_P(Backends, Lager, testsupport::allBackends(), testsupport::backendName);

}  // namespace

TEST_P(Lager, TarneloDcomFillsRecordsWithBranchesAndByTitleNumber) {
  dcom::Form1 form;
  auto app = std::make_shared<dcom::Application>();
  // A client asks first which fields the server fills; the server reads its branches and suppliers.
  EXPECT_EQ(app->infofelder(), QStringLiteral("70:am Lager|80:Bestellt|81:Reserviert|82:Abholfach|83:offene Bestellung|84:Filialen|"));
  const QString keineFilialen = QStringLiteral("Hauptstelle:n.v. - Nord:n.v. - ");  // for an unknown number
  const QString parfum = QStringLiteral("2|4|0|0||") + keineFilialen;
  const QList<std::pair<QString, QString>> faelle = {  // the record and its fields 70, 80 to 84
      {buchladen::satz("3-446-23456-X"), "5|3|3|1|2|Hauptstelle:4 - Nord:1 - "},
      {buchladen::satz("978-3-499-22744-8"), "2|4|0|0||Hauptstelle:n.v. - Nord:3 - "},
      {buchladen::satz("3-15-012345-3", "LB123456"), parfum},
      {buchladen::satz("3150123453", "KN98765", "KN98765"), parfum},
      {buchladen::satz("x\\' OR 1=1 #", "LB123456' OR '1'='1"), QStringLiteral("0|0|0|0|0|") + keineFilialen},
  };
  const qsizetype logVorher = form.InfoText().size();
  for (const auto& [satz, erwartet] : faelle) {
    const QString ergebnis = app->AddInfo(satz);
    QStringList felder;
    for (const int feld : {70, 80, 81, 82, 83, 84}) felder << buchladen::feld(ergebnis, feld);
    EXPECT_EQ(felder.join(QLatin1Char('|')).toStdString(), erwartet.toStdString()) << satz.toStdString();
  }
  const QString nichtGefunden = QStringLiteral("Suche nach 3150123453u. 9783150123454 ohne Ergebnis\r\n");
  EXPECT_EQ(form.InfoText().mid(logVorher).toStdString(),
            (nichtGefunden + nichtGefunden + QStringLiteral("Suche nach x\\' OR 1=1 #u. x\\' OR 1=1 # ohne Ergebnis\r\n"))
                .toStdString());
}

TEST_P(Lager, TarneloSrvLooksUpAndStacksUnknownNumbers) {
  ::Form1 form;
  ::Application app;
  const auto suche = [&](const char* nummer) {
    QString nr = QString::fromLatin1(nummer);
    app.SearchArtNr(nr);
    return app.InfoWin()->Text().toStdString();
  };
  EXPECT_EQ(suche("3-446-23456-X"),
            "9783446234567 Stadt der Bücher\r\nLagerbestand: 5\r\noffen bestellt: 2\r\nbestellt: 3\r\n"
            "offene Reservierungen: 3\r\nim Abholfach: 1\r\n");
  EXPECT_EQ(suche("3-15-012345-3"), "3150123453\r\nArtikel nicht im Lager vorhanden");
  EXPECT_EQ(suche("978-3-15-012345-4"), "9783150123454\r\nArtikel nicht im Lager vorhanden");
  EXPECT_EQ(suche("3150123453"), "3150123453\r\nArtikel nicht im Lager vorhanden");
  EXPECT_EQ(zeilen(QStringLiteral("SELECT ISBN, Min, Max, MEnge, MengeÜbernommen FROM Artikel_ISBN_Stapel ORDER BY ID")),
            QStringList({"3150123453|0|0|0|0", "9783150123454|0|0|0|0"}));
  EXPECT_EQ(app.Treffer(), 1);
  EXPECT_FALSE(form.InfoText().endsWith(QStringLiteral("\r\n"))) << form.InfoText().toStdString();
}

TEST_P(Lager, BranchSyncUploadsThroughTheSavedQueryAndStoresTheOtherBranches) {
  testsupport::WebStub web;
  web.infotimestamp = {"7;12;1;0;20261209095900;I3446234567<br>2;9;0;1;20261209095800;I3499227444<br>"
                       "8;1;0;0;20261209095600;EO'Brien') OR 1=1 --"};
  const QString kopf = QStringLiteral("action=update&customer=1&store=10000&isbn=");
  EXPECT_EQ(lagertest::syncPass(web).join(QLatin1Char('\n')).toStdString(),
            QStringList({kopf + "I9783446234567&stock=5&reserved=3&ordered=5", kopf + "EA0004711&stock=7&reserved=0&ordered=0",
                         "action=infotimestamp&customer=1&ownstore=10000&ts=20261202091500"})
                .join(QLatin1Char('\n'))
                .toStdString());
  EXPECT_EQ(zeilen(QStringLiteral("SELECT COUNT(*) FROM Artikel_geändert")), QStringList({"0"}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT FilialNr, ISBN, Bestand, Reserviert, Bestellt, LetztUpdate FROM "
                                  "Artikel_Filialbestände WHERE FilialNr IN (2, 7, 8) ORDER BY FilialNr, ISBN")),
            QStringList({"2|344623456X|1|1|0|20261202091500", "2|3499227444|9|0|1|20261209095800",
                         "7|3446234567|12|1|0|20261209095900", "8|EO'Brien') OR 1=1 --|1|0|0|20261209095600"}));
}

// A queue with only the four columns the hosts know: a stock the host changes while its article
// is being sent goes out in the same pass, and the queue ends empty.
TEST_P(Lager, BranchSyncOnTheHostsQueueSendsAStockChangedDuringThePass) {
  con->Execute(QStringLiteral("DROP TABLE Artikel_geändert"));
  con->Execute(QStringLiteral("CREATE TABLE Artikel_geändert (Artikelident INTEGER, updated SMALLINT, gelöscht SMALLINT, ISBN VARCHAR(20))"));
  const QString einreihen = QStringLiteral("INSERT INTO Artikel_geändert (Artikelident, updated, gelöscht) VALUES (1004, 0, 0)");
  con->Execute(einreihen);
  testsupport::WebStub web;
  web.respond = [&](const testsupport::WebStub::Request& r, int i) {
    if (i == 0) {
      con->Execute(QStringLiteral("UPDATE Artikel SET Bestand=42 WHERE Artikelident=1004"));
      con->Execute(einreihen);
    }
    return testsupport::WebStub::Response{200, r.value(QStringLiteral("action")) == QLatin1String("infotimestamp") ? "nix" : "OK"};
  };
  const QStringList gesendet = lagertest::syncPass(web);
  EXPECT_EQ(gesendet.filter(QStringLiteral("isbn=EA0004711&stock=")).join(QLatin1Char(' ')).toStdString(),
            "action=update&customer=1&store=10000&isbn=EA0004711&stock=7&reserved=0&ordered=0 "
            "action=update&customer=1&store=10000&isbn=EA0004711&stock=42&reserved=0&ordered=0");
  EXPECT_EQ(zeilen(QStringLiteral("SELECT COUNT(*) FROM Artikel_geändert")), QStringList({"0"}));
}

// A nightly restart of the server between two look-ups of each server: the look-up that meets
// the lost connection fails and logs the database's words, the next answers as before.
TEST_P(Lager, BothServersAnswerAgainAfterTheServerRestarted) {
  if (GetParam() == Backend::Sqlite) GTEST_SKIP() << "an SQLite file has no server connection to lose";
  const auto ueberDenNeustart = [&](const auto& form, const auto& abfrage, const std::string& erwartet) {
    ASSERT_EQ(abfrage(), erwartet);
    ASSERT_TRUE(db.breakConnections()) << db.failure();
    const qsizetype vorher = form.InfoText().size();
    EXPECT_NE(abfrage(), erwartet);
    const std::string log = form.InfoText().mid(vorher).toStdString();
    EXPECT_TRUE(testsupport::tellsLostConnection(GetParam(), log)) << log;
    EXPECT_EQ(abfrage(), erwartet);
  };
  {
    dcom::Form1 form;
    auto app = std::make_shared<dcom::Application>();
    app->infofelder();
    ueberDenNeustart(
        form, [&] { return buchladen::feld(app->AddInfo(buchladen::satz("3-446-23456-X")), 70).toStdString(); }, "5");
  }
  ::Form1 form;
  ::Application app;
  ueberDenNeustart(
      form,
      [&] {
        QString nr = QStringLiteral("3-446-23456-X");
        app.SearchArtNr(nr);
        return app.InfoWin()->Text().section(QStringLiteral("\r\n"), 0, 1).toStdString();
      },
      "9783446234567 Stadt der Bücher\r\nLagerbestand: 5");
}
