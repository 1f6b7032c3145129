// The stock servers, which run for days, across a nightly restart of their database server: the
// look-up that meets the lost connection logs the database's message, the next one answers again.
#include <gtest/gtest.h>

#include <QSettings>

#include "platform/data/Connection.h"
#include "schema/BookshopSample.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/frmInfoWin.h"
#include "tests/stockservers/remote/Buchladen.h"
#include "tests/support/Backends.h"

using testsupport::Backend;

namespace {

class LagerNeustart : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    ASSERT_TRUE(db.create(schema::Tables::Bookshop)) << db.failure();
    const auto con = db.open();
    for (const QString& zeile : schema::sampleArtikelRows() + schema::sampleDatenRows()) con->Execute(zeile);
    buchladen::umgebung();
    QSettings(QStringLiteral("Tarnelo"), QStringLiteral("Tarnelo")).clear();
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("SQL-Server"));
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("ODBC_Connect"), db.connectionString());
  }
  // What `abfrage` gives before the break, right after it (with what it logged) and once more.
  template <typename Form, typename Abfrage>
  void ueberDenNeustart(const Form& form, const Abfrage& abfrage, const std::string& erwartet) {
    ASSERT_EQ(abfrage(), erwartet);
    ASSERT_TRUE(db.breakConnections()) << db.failure();
    const qsizetype vorher = form.InfoText().size();
    EXPECT_NE(abfrage(), erwartet);
    const std::string log = form.InfoText().mid(vorher).toStdString();
    EXPECT_TRUE(testsupport::tellsLostConnection(GetParam(), log)) << log;
    EXPECT_EQ(abfrage(), erwartet);
  }

  testsupport::BackendDatabase db{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Server, LagerNeustart, ::testing::Values(Backend::PostgreSql, Backend::MariaDb),
                         testsupport::backendName);

}  // namespace

TEST_P(LagerNeustart, TarneloDcomAnswersAgainAfterTheBreak) {
  dcom::Form1 form;
  auto app = std::make_shared<dcom::Application>();
  app->infofelder();
  ueberDenNeustart(
      form, [&] { return buchladen::feld(app->AddInfo(buchladen::satz("3-446-23456-X")), 70).toStdString(); }, "5");
}

TEST_P(LagerNeustart, TarneloSrvAnswersAgainAfterTheBreak) {
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
