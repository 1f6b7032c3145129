#include <gtest/gtest.h>

#include <QFile>

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "schema/BookshopSample.h"
#include "schema/BookshopSchema.h"
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
