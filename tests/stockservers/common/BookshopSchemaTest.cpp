#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "schema/BookshopSample.h"
#include "schema/BookshopSchema.h"
#include "stockservers/common/modString.h"
#include "tests/support/TempDir.h"

namespace {

std::shared_ptr<data::Connection> openJet(const QString& file) {
  auto con = std::make_shared<data::Connection>();
  con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  con->Open(QStringLiteral("Data Source=") + file);
  return con;
}

class BookshopSample : public ::testing::Test {
 protected:
  void SetUp() override {
    QString error;
    ASSERT_TRUE(schema::createBookshopSample(dir.path(), &error)) << error.toStdString();
    artikel = openJet(dir.file(schema::kSampleArtikelDatei));
  }
  std::shared_ptr<data::Recordset> open(const QString& source) {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(source, vb::Variant(artikel), data::adOpenStatic, data::adLockReadOnly);
    return rs;
  }
  testsupport::TempDir dir;
  std::shared_ptr<data::Connection> artikel;
};

}  // namespace

TEST_F(BookshopSample, SavedQuerySumsOpenOrdersAndReservationsPerArticle) {
  struct Case {
    int artikelident, bestellt, reserviert;
  };
  // 1001: BE 3 + AO 2, the delivered order not counted; 1004 and unknown articles: a row of zeros.
  for (const Case& c : {Case{1001, 5, 3}, Case{1002, 4, 0}, Case{1003, 0, 1}, Case{1004, 0, 0}, Case{1005, 6, 0},
                        Case{4242, 0, 0}}) {
    auto rs = open(QStringLiteral("ArtikelBestelltVerplant(%1)").arg(c.artikelident));
    ASSERT_FALSE(rs->Eof()) << c.artikelident;
    EXPECT_EQ(vb::CLng(rs->Fields(QStringLiteral("Bestellt"))->Value()), c.bestellt) << c.artikelident;
    EXPECT_EQ(vb::CLng(rs->Fields(QStringLiteral("Reserviert"))->Value()), c.reserviert) << c.artikelident;
  }
}

TEST_F(BookshopSample, IsbnColumnsIgnoreLetterCaseAndBothFilesHoldTheirRows) {
  auto filiale = open(QStringLiteral("SELECT FilialNr FROM Artikel_Filialbestände WHERE ISBN='344623456x'"));
  ASSERT_EQ(filiale->RecordCount(), 1);
  EXPECT_EQ(vb::CLng(filiale->Fields(0)->Value()), 2);
  auto einkauf = open(QStringLiteral("SELECT Artikelident FROM [Artikel Einkauf] WHERE TitelNr='lb123456'"));
  ASSERT_EQ(einkauf->RecordCount(), 1);
  EXPECT_EQ(vb::CLng(einkauf->Fields(0)->Value()), 1002);

  auto daten = openJet(dir.file(schema::kSampleDatenDatei));
  auto vorgaben = std::make_shared<data::Recordset>();
  vorgaben->Open(QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName Like '*AdressNr'"), vb::Variant(daten),
                 data::adOpenStatic, data::adLockReadOnly);
  EXPECT_EQ(vorgaben->RecordCount(), 4);
}

TEST_F(BookshopSample, NeverOverwritesAnExistingBookshopAndSchemaRunsAgain) {
  QString error;
  EXPECT_FALSE(schema::createBookshopSample(dir.path(), &error));
  EXPECT_TRUE(error.contains(schema::kSampleArtikelDatei)) << error.toStdString();
  // Creating the schema on a filled file keeps its rows and adds no second saved query.
  ASSERT_TRUE(schema::createBookshopDatabase(dir.file(schema::kSampleArtikelDatei), &error)) << error.toStdString();
  EXPECT_EQ(open(QStringLiteral("SELECT * FROM SavedQueries"))->RecordCount(), 1);
  EXPECT_EQ(open(QStringLiteral("SELECT * FROM Artikel"))->RecordCount(), 5);
}

// Each key the servers look up is found through an index under SQLite's own NOCASE, not by
// reading the whole table (which at a shop's size costs a third of a second a look-up).
TEST_F(BookshopSample, LookUpsAndTheBranchSyncUseTheIndexes) {
  auto bestelltVerplant = open(QStringLiteral("SELECT SqlText FROM SavedQueries WHERE Name='ArtikelBestelltVerplant'"));
  ASSERT_FALSE(bestelltVerplant->Eof());
  for (const QString& sql : {
           QStringLiteral("SELECT Bestand, Artikelident, ISBN, Matchcode FROM Artikel WHERE ISBN='344623456X' OR ISBN='9783446234567'"),
           QStringLiteral("SELECT Artikelident FROM [Artikel Einkauf] WHERE (TitelNr='LB123456' AND LieferantNr=70001) OR "
                          "(TitelNr='KN98765' AND LieferantNr=70002)"),
           QStringLiteral("SELECT Artikel_LieferantBestellungen.Status, Sum(Artikel_LieferantBestellungen_Details.Menge) AS BestMenge FROM "
                          "Artikel_LieferantBestellungen INNER JOIN Artikel_LieferantBestellungen_Details ON Artikel_LieferantBestellungen."
                          "VorgangNr = Artikel_LieferantBestellungen_Details.VorgangNr WHERE Artikel_LieferantBestellungen_Details.Artikelident=1001 "
                          "AND (Artikel_LieferantBestellungen.Status='BE' OR Artikel_LieferantBestellungen.Status='AO') GROUP BY "
                          "Artikel_LieferantBestellungen.Status"),
           QStringLiteral("SELECT Sum(Artikel_KundenReservierung_Details.MengeBestellt) AS BestMenge FROM Artikel_KundenReservierung_Details "
                          "WHERE Artikel_KundenReservierung_Details.Artikelident=1001"),
           QStringLiteral("SELECT Bestand FROM Artikel_FilialBestände WHERE FilialNr=1 AND (ISBN='344623456X' OR ISBN='9783446234567')"),
           QStringLiteral("SELECT * FROM Artikel_ISBN_Stapel WHERE ISBN='3150123453'"),
           QStringLiteral("SELECT MAX(LetztUpdate) AS LUpdate FROM Artikel_FilialBestände"),
           QStringLiteral("UPDATE Artikel_geändert  SET updated=1 WHERE Artikelident=1001"),
           vb::CStr(bestelltVerplant->Fields(0)->Value()).replace(QLatin1Char('?'), QStringLiteral("1001"))}) {
    QStringList plan;
    for (auto rs = open(QStringLiteral("EXPLAIN QUERY PLAN ") + sql); !rs->Eof(); rs->MoveNext())
      plan << vb::CStr(rs->Fields(QStringLiteral("detail"))->Value());
    EXPECT_TRUE(plan.filter(QRegularExpression(QStringLiteral("^SCAN Artikel"))).isEmpty() && !plan.filter(QStringLiteral(" INDEX ")).isEmpty())
        << sql.toStdString() << "\n" << plan.join(QLatin1Char('\n')).toStdString();
  }
}

TEST(BookshopSampleGenerated, ArticlesCarryValidNumbersAndTheirRows) {
  testsupport::TempDir dir;
  QString error;
  ASSERT_TRUE(schema::createBookshopSample(dir.path(), &error, 60)) << error.toStdString();
  EXPECT_FALSE(schema::createBookshopSample(dir.file(QStringLiteral("zu gross")), &error, 10000001));
  for (const int n : {1, 2, 7, 59, 60, 9999999}) {
    QString ean = schema::sampleEan(n);
    EXPECT_TRUE(IsISBN10(vb::Variant(schema::sampleIsbn10(n))) && IsEAN13(ean) && ISBN10To13(schema::sampleIsbn10(n)) == schema::sampleEan(n)) << n;
  }
  const auto rs = openJet(dir.file(schema::kSampleArtikelDatei))
                      ->Execute(QStringLiteral("SELECT (SELECT COUNT(*) FROM Artikel), (SELECT Bestand FROM Artikel WHERE ISBN='%1'), "
                                               "(SELECT Artikelident FROM Artikel WHERE ISBN='%2'), (SELECT COUNT(*) FROM [Artikel Einkauf]), "
                                               "(SELECT COUNT(*) FROM Artikel_LieferantBestellungen_Details WHERE Artikelident > 100000), "
                                               "(SELECT COUNT(*) FROM Artikel_KundenReservierung_Details WHERE Artikelident > 100000), "
                                               "(SELECT COUNT(*) FROM Artikel_Filialbestände)")
                                    .arg(schema::sampleIsbn10(59), schema::sampleEan(60)));
  QList<int> werte;
  for (int i = 0; i < 7; ++i) werte << vb::CLng(rs->Fields(i)->Value());
  EXPECT_EQ(werte, QList<int>({65, 59 % 23, 100060, 2 + 60 + 30, 6, 3, 4 + 60 + 20}));
}
