// The stock servers' look-ups on the three databases: the generated bookshop goes onto each
// alike, and on a server every look-up finds its rows through an index with its values bound as
// the servers bind them (at a shop's size a scan costs a tenth of a second a look-up).
#include <gtest/gtest.h>

#include "platform/data/Connection.h"
#include "platform/vb/Convert.h"
#include "schema/BookshopSample.h"
#include "tests/support/Backends.h"
#include "tests/support/RecordRows.h"

using testsupport::Backend;

namespace {

class BookshopLookUp : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    ASSERT_TRUE(db.create(schema::Tables::Bookshop)) << db.failure();
    con = db.open();
    QString error;
    ASSERT_TRUE(schema::fillBookshopSample(*con, 60, &error)) << error.toStdString();
  }
  // The rows of `sql`, each as its values joined by "|" (Null as "NULL").
  QStringList rows(const QString& sql, const data::Parameters& values = {}) {
    return testsupport::recordRows(*con->Execute(sql, values));
  }
  testsupport::BackendDatabase db{GetParam()};
  std::shared_ptr<data::Connection> con;
};

INSTANTIATE_TEST_SUITE_P(Backends, BookshopLookUp, testsupport::allBackends(), testsupport::backendName);

// On a server the article database and the data file are one database: the settings of the
// data file are there too.
TEST_P(BookshopLookUp, GeneratedBookshopIsTheSameOnEveryBackend) {
  EXPECT_EQ(rows(QStringLiteral("SELECT (SELECT COUNT(*) FROM Artikel), (SELECT COUNT(*) FROM [Artikel Einkauf]), "
                                "(SELECT COUNT(*) FROM Artikel_LieferantBestellungen), "
                                "(SELECT COUNT(*) FROM Artikel_LieferantBestellungen_Details), "
                                "(SELECT COUNT(*) FROM Artikel_KundenReservierung_Details), "
                                "(SELECT COUNT(*) FROM Artikel_Filialbestände), (SELECT COUNT(*) FROM Vorgaben)")),
            QStringList{QStringLiteral("65|92|4|11|6|84|4")});
  EXPECT_EQ(rows(QStringLiteral("SELECT a.Artikelident, a.Bestand, a.Matchcode FROM Artikel a INNER JOIN [Artikel Einkauf] e "
                                "ON e.Artikelident = a.Artikelident WHERE e.TitelNr=? AND e.LieferantNr=?"),
                 {QStringLiteral("kn00000030"), 70002}),
            QStringList{QStringLiteral("100030|7|Titel 30")});
  EXPECT_EQ(rows(QStringLiteral("SELECT FilialNr, Bestand FROM Artikel_Filialbestände WHERE ISBN=? ORDER BY FilialNr"),
                 {schema::sampleEan(30)}),
            (QStringList{QStringLiteral("1|0"), QStringLiteral("2|2")}));
  EXPECT_EQ(rows(QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName=?"), {QStringLiteral("libriadressnr")}),
            QStringList{QStringLiteral("70001")});
}

TEST_P(BookshopLookUp, EveryLookUpUsesAnIndexOnTheServer) {
  if (GetParam() == Backend::Sqlite) GTEST_SKIP() << "the SQLite file's plans are tested with the sample file";
  const QString isbn = schema::sampleIsbn10(7);
  const QString ean = schema::sampleEan(7);
  const QList<std::pair<QString, data::Parameters>> lookUps = {
      {QStringLiteral("SELECT Bestand, Artikelident FROM Artikel WHERE ISBN=? OR ISBN=?"), {isbn, ean}},
      {QStringLiteral("SELECT Artikelident FROM [Artikel Einkauf] WHERE (TitelNr=? AND LieferantNr=?) OR (TitelNr=? AND LieferantNr=?)"),
       {QStringLiteral("LB00000007"), 70001, QString(), 70002}},
      {QStringLiteral("SELECT Artikel_LieferantBestellungen.Status, Sum(Artikel_LieferantBestellungen_Details.Menge) AS BestMenge "
                      "FROM Artikel_LieferantBestellungen INNER JOIN Artikel_LieferantBestellungen_Details "
                      "ON Artikel_LieferantBestellungen.VorgangNr = Artikel_LieferantBestellungen_Details.VorgangNr "
                      "WHERE Artikel_LieferantBestellungen_Details.Artikelident=? AND (Artikel_LieferantBestellungen.Status='BE' "
                      "OR Artikel_LieferantBestellungen.Status='AO') GROUP BY Artikel_LieferantBestellungen.Status"),
       {100010}},
      {QStringLiteral("SELECT Sum(Artikel_KundenReservierung_Details.MengeBestellt) AS BestMenge FROM "
                      "Artikel_KundenReservierung_Details WHERE Artikel_KundenReservierung_Details.Artikelident=?"),
       {100020}},
      {QStringLiteral("SELECT Bestand FROM Artikel_Filialbestände WHERE FilialNr=? AND (ISBN=? OR ISBN=?)"), {1, isbn, ean}},
      {QStringLiteral("SELECT * FROM Artikel_ISBN_Stapel WHERE ISBN=?"), {isbn}},
      {QStringLiteral("SELECT * FROM Artikel_Filialbestände WHERE FilialNr=? AND ISBN=?"), {2, ean}},
      {QStringLiteral("SELECT MAX(LetztUpdate) AS LUpdate FROM Artikel_Filialbestände"), {}},
      {QStringLiteral("UPDATE Artikel_geändert SET updated=1 WHERE Artikelident=?"), {1001}},
  };
  // A few rows: PostgreSQL is told to scan only where nothing else can serve; MariaDB names the
  // indexes it may use, or reads no table at all (MAX from an index).
  if (GetParam() == Backend::PostgreSql) con->Execute(QStringLiteral("SET enable_seqscan = off"));
  for (const auto& [sql, values] : lookUps) {
    const QStringList plan = rows(QStringLiteral("EXPLAIN ") + sql, values);
    const QString text = plan.join(QLatin1Char('\n'));
    if (GetParam() == Backend::PostgreSql) {
      EXPECT_FALSE(text.contains(QLatin1String("Seq Scan"))) << sql.toStdString() << "\n" << text.toStdString();
      EXPECT_TRUE(text.contains(QLatin1String("Index"))) << sql.toStdString() << "\n" << text.toStdString();
    } else {
      // id|select_type|table|type|possible_keys|…: a table read has an index to use.
      for (const QString& row : plan)
        EXPECT_TRUE(row.section(QLatin1Char('|'), 2, 2) == QLatin1String("NULL") ||
                    row.section(QLatin1Char('|'), 4, 4) != QLatin1String("NULL"))
            << sql.toStdString() << "\n" << text.toStdString();
    }
  }
}

// psqlODBC puts the values into the statement: one round trip a statement, where preparing it on
// the server cost three. A connection string's own choice is kept.
TEST_P(BookshopLookUp, PostgreSqlGetsTheValuesInTheStatementUnlessTheStringSaysOtherwise) {
  if (GetParam() != Backend::PostgreSql) GTEST_SKIP() << "psqlODBC only";
  const auto seen = [](data::Connection& c) {
    return vb::CStr(c.Execute(QStringLiteral("SELECT query FROM pg_stat_activity WHERE pid = pg_backend_pid() AND ? = 7 AND ? = 'x'"),
                              {7, QStringLiteral("x")})
                        ->Fields(vb::Variant(0))
                        ->Value());
  };
  EXPECT_TRUE(seen(*con).endsWith(QLatin1String("AND 7 = 7 AND 'x' = 'x'"))) << seen(*con).toStdString();
  auto prepared = std::make_shared<data::Connection>();
  prepared->Open(db.connectionString() + QStringLiteral(";UseServerSidePrepare=1"));
  EXPECT_TRUE(seen(*prepared).endsWith(QLatin1String("AND $1 = 7 AND $2 = 'x'"))) << seen(*prepared).toStdString();
}

}  // namespace
