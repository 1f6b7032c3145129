#include <gtest/gtest.h>

#include "foundation/clsProgVorgaben.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "schema/HostSchema.h"
#include "tests/foundation/VorgabenDatenbank.h"
#include "tests/support/TempDir.h"
#include "tests/support/ErrorOf.h"

namespace {

using testsupport::errorOf;

class clsProgVorgabenTest : public testsupport::VorgabenDatenbank {};

}  // namespace

TEST_F(clsProgVorgabenTest, DuplicateKeysAreDeletedWhileLoading) {
  ohneEindeutigenSchluessel();
  exec(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('MWST_halb', '7'), ('Andere', 'x'), "
                      "('MWST_halb', '5'), ('mwst_halb', '6')"));
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  EXPECT_EQ(vb::CStr(v.Value(QStringLiteral("MWST_HALB"), vb::Variant(16))), QStringLiteral("7"));
  EXPECT_EQ(rows(), QStringLiteral("MWST_halb=7;Andere=x"));
}

TEST_F(clsProgVorgabenTest, MissingKeyIsAppendedOnceHoweverOftenItIsRead) {
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(vb::CStr(v.Value(QStringLiteral("SKRV_PDFAblage"), vb::Variant(QStringLiteral("/ablage/")))),
              QStringLiteral("/ablage/"));
  EXPECT_EQ(rows(), QStringLiteral("SKRV_PDFAblage=/ablage/"));
  // The next object reads the appended row like any other.
  clsProgVorgaben next;
  next.LoadCustomProperties(vb::Variant(con));
  EXPECT_EQ(vb::CStr(next.Value(QStringLiteral("skrv_pdfablage"), vb::Variant(QStringLiteral("anders")))),
            QStringLiteral("/ablage/"));
  EXPECT_EQ(rows(), QStringLiteral("SKRV_PDFAblage=/ablage/"));
}

TEST_F(clsProgVorgabenTest, KeysWithUmlautsMatchWithoutRegardToCase) {
  exec(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('SKRV_BeträgeFormat', '#,##0.000')"));
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  EXPECT_EQ(vb::CStr(v.Value(QStringLiteral("SKRV_BETRÄGEFORMAT"), vb::Variant(QStringLiteral("#,##0.00")))),
            QStringLiteral("#,##0.000"));
  EXPECT_EQ(rows(), QStringLiteral("SKRV_BeträgeFormat=#,##0.000"));
}

TEST_F(clsProgVorgabenTest, MissingKeyWithoutDefaultGivesZeroThatComparesWithZero) {
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  const vb::Variant flag = v.Value(QStringLiteral("MatchCodeDrucken"));
  EXPECT_EQ(vb::compare(flag, vb::Variant(0)), 0);
  EXPECT_EQ(rows(), QStringLiteral("MatchCodeDrucken=0"));
  clsProgVorgaben next;
  next.LoadCustomProperties(vb::Variant(con));
  EXPECT_EQ(vb::compare(next.Value(QStringLiteral("MatchCodeDrucken")), vb::Variant(0)), 0);
}

TEST_F(clsProgVorgabenTest, NullValueStaysNull) {
  exec(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('LieferEZPDrucken', NULL)"));
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  EXPECT_TRUE(v.Value(QStringLiteral("LieferEZPDrucken"), vb::Variant(false)).isNull());
  EXPECT_EQ(errorOf([&] { v.LieferscheinMitEinzelpreisen(); }), vb::ErrInvalidNull);
  EXPECT_EQ(rows(), QStringLiteral("LieferEZPDrucken=<null>"));
}

TEST_F(clsProgVorgabenTest, LieferscheinMitEinzelpreisenReadsNumbersAndWords) {
  clsProgVorgaben missing;
  missing.LoadCustomProperties(vb::Variant(con));
  EXPECT_FALSE(missing.LieferscheinMitEinzelpreisen());
  EXPECT_FALSE(missing.LieferscheinMitEinzelpreisen());
  EXPECT_EQ(rows(), QStringLiteral("LieferEZPDrucken=False"));

  exec(QStringLiteral("UPDATE Vorgaben SET Wert='-1'"));
  clsProgVorgaben numeric;
  numeric.LoadCustomProperties(vb::Variant(con));
  EXPECT_TRUE(numeric.LieferscheinMitEinzelpreisen());

  exec(QStringLiteral("UPDATE Vorgaben SET Wert='True'"));
  clsProgVorgaben word;
  word.LoadCustomProperties(vb::Variant(con));
  EXPECT_TRUE(word.LieferscheinMitEinzelpreisen());
}

TEST_F(clsProgVorgabenTest, ReadingBeforeLoadingFailsWithObjectNotSet) {
  clsProgVorgaben v;
  EXPECT_EQ(errorOf([&] { v.Value(QStringLiteral("x"), vb::Variant(1)); }), vb::ErrObjectNotSet);
  EXPECT_EQ(errorOf([&] { v.LoadCustomProperties(vb::Variant::nothing()); }), vb::ErrObjectNotSet);
}

TEST_F(clsProgVorgabenTest, RowWithoutKeyDoesNotStopTheLoad) {
  exec(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('Vorher', '1'), (NULL, 'kaputt'), ('Nachher', '2')"));
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  // "Nachher" is cached: reading it appends no second row.
  EXPECT_EQ(vb::CStr(v.Value(QStringLiteral("Nachher"), vb::Variant(QStringLiteral("9")))), QStringLiteral("2"));
  EXPECT_EQ(rows(QStringLiteral("WHERE FeldName IS NOT NULL")), QStringLiteral("Vorher=1;Nachher=2"));
  auto nullRows = con->Execute(QStringLiteral("SELECT COUNT(*) FROM Vorgaben WHERE FeldName IS NULL"));
  EXPECT_EQ(vb::CLng(nullRows->Fields(0)->Value()), 1);  // left alone
}

TEST_F(clsProgVorgabenTest, MissingTableReachesTheCaller) {
  exec(QStringLiteral("DROP TABLE Vorgaben"));
  clsProgVorgaben v;
  EXPECT_NE(errorOf([&] { v.LoadCustomProperties(vb::Variant(con)); }), 0);
  EXPECT_EQ(errorOf([&] { v.Value(QStringLiteral("x"), vb::Variant(1)); }), vb::ErrObjectNotSet);
}

TEST_F(clsProgVorgabenTest, FailedAppendReachesTheCallerAndCachesNothing) {
  clsProgVorgaben v;
  v.LoadCustomProperties(vb::Variant(con));
  exec(QStringLiteral("DROP TABLE Vorgaben"));
  EXPECT_NE(errorOf([&] { v.Value(QStringLiteral("Neu"), vb::Variant(1)); }), 0);
  exec(QStringLiteral("CREATE TABLE Vorgaben (ID INTEGER PRIMARY KEY AUTOINCREMENT, FeldName TEXT COLLATE NOCASE, Wert TEXT)"));
  EXPECT_EQ(vb::CLng(v.Value(QStringLiteral("Neu"), vb::Variant(1))), 1);
  EXPECT_EQ(rows(), QStringLiteral("Neu=1"));
}
