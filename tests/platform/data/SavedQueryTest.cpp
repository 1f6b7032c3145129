#include <gtest/gtest.h>

#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "tests/platform/data/TestDatabase.h"

using namespace datatest;

namespace {

class SavedQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    file = makeHostDatabase(dir);
    exec(file, QStringLiteral("INSERT INTO Artikel (Artikelident, ISBN, Bestand) VALUES (7, '3-12-345678-X', 4), (8, '978', 1)"));
    exec(file, QStringLiteral("INSERT INTO SavedQueries (Name, SqlText) VALUES ('ArtikelBestand', "
                              "'SELECT Bestand, ISBN FROM Artikel WHERE Artikelident=? OR ISBN=?')"));
    con = open(Road::Jet, file);
  }
  std::shared_ptr<data::Recordset> run(const QString& command, int options = data::adCmdUnspecified) {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(command, vb::Variant(con), data::adOpenStatic, data::adLockReadOnly, options);
    return rs;
  }
  testsupport::TempDir dir;
  QString file;
  std::shared_ptr<data::Connection> con;
};

}  // namespace

TEST_F(SavedQuery, ArgumentsAreBoundInOrder) {
  auto rs = run(QStringLiteral("ArtikelBestand(7, 'nichts')"));
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(vb::CLng(rs->Fields(QStringLiteral("Bestand"))->Value()), 4);
  auto byText = run(QStringLiteral("artikelbestand(0, '978')"));  // the name without regard to case
  ASSERT_EQ(byText->RecordCount(), 1);
  EXPECT_EQ(vb::CLng(byText->Fields(0)->Value()), 1);
}

TEST_F(SavedQuery, TextArgumentCannotBreakOut) {
  auto rs = run(QStringLiteral("ArtikelBestand(0, 'x'' OR ''1''=''1')"));
  EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(SavedQuery, WrongArgumentCountFails) {
  EXPECT_EQ(errorOf([&] { run(QStringLiteral("ArtikelBestand(7)")); }), data::ErrCommand);
}

TEST_F(SavedQuery, UnknownQueryWithArgumentsFails) {
  EXPECT_EQ(errorOf([&] { run(QStringLiteral("GibtEsNicht(7)")); }), data::ErrNoSuchQuery);
}

TEST_F(SavedQuery, StatementBeginningWithAParenthesisIsNoCall) {
  EXPECT_EQ(vb::CLng(run(QStringLiteral("SELECT (SELECT COUNT(*) FROM Artikel)"))->Fields(0)->Value()), 2);
}

TEST_F(SavedQuery, ViewIsCalledWithoutArguments) {
  exec(file, QStringLiteral("CREATE VIEW ArtikelMitBestand AS SELECT Artikelident FROM Artikel WHERE Bestand > 2"));
  auto rs = run(QStringLiteral("ArtikelMitBestand()"));
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(vb::CLng(rs->Fields(0)->Value()), 7);
  // A view opened for changes still reads; it has no rowid to write by.
  auto updatable = std::make_shared<data::Recordset>();
  updatable->Open(QStringLiteral("SELECT * FROM ArtikelMitBestand"), vb::Variant(con), data::adOpenDynamic,
                  data::adLockOptimistic);
  EXPECT_EQ(updatable->RecordCount(), 1);
}

TEST_F(SavedQuery, StoredProcedureOptionRunsTheSavedQueryByName) {
  exec(file, QStringLiteral("INSERT INTO SavedQueries (Name, SqlText) VALUES ('AlleArtikel', 'SELECT * FROM Artikel')"));
  EXPECT_EQ(run(QStringLiteral("AlleArtikel"), data::adCmdStoredProc)->RecordCount(), 2);
}

TEST_F(SavedQuery, ExecuteRunsASavedQueryToo) {
  auto rs = con->Execute(QStringLiteral("ArtikelBestand(8, '')"));
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(vb::CLng(rs->Fields(0)->Value()), 1);
}
