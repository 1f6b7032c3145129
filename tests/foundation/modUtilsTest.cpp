#include <gtest/gtest.h>

#include "foundation/clsProgVorgaben.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "schema/HostSchema.h"
#include "tests/foundation/VorgabenDatenbank.h"
#include "tests/support/TempDir.h"

namespace {

class modUtilsVorgabe : public testsupport::VorgabenDatenbank {};

}  // namespace

TEST_F(modUtilsVorgabe, MissingKeyIsWrittenOnceWithItsDefault) {
  EXPECT_EQ(GetVorgabe(QStringLiteral("Duplikatsvermerk"), QStringLiteral("0"), con), QStringLiteral("0"));
  EXPECT_EQ(rows(), QStringLiteral("Duplikatsvermerk=0"));
  EXPECT_EQ(GetVorgabe(QStringLiteral("Duplikatsvermerk"), QStringLiteral("-1"), con), QStringLiteral("0"));
  EXPECT_EQ(rows(), QStringLiteral("Duplikatsvermerk=0"));
}

TEST_F(modUtilsVorgabe, NullValueReadsAsEmptyText) {
  con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('Falzstriche', NULL)"));
  EXPECT_EQ(GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con), QString());
  EXPECT_EQ(rows(), QStringLiteral("Falzstriche=<null>"));
}

TEST_F(modUtilsVorgabe, KeyIsFoundWithoutRegardToCaseOfUmlauts) {
  con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('SKRV_BeträgeFormat', '#,##0.000')"));
  EXPECT_EQ(GetVorgabe(QStringLiteral("skrv_BETRÄGEFORMAT"), QStringLiteral("#,##0.00"), con), QStringLiteral("#,##0.000"));
  EXPECT_EQ(rows(), QStringLiteral("SKRV_BeträgeFormat=#,##0.000"));
}

TEST_F(modUtilsVorgabe, SetCreatesAMissingKey) {
  SetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("-1"), con);
  EXPECT_EQ(rows(), QStringLiteral("Falzstriche=-1"));
  EXPECT_EQ(GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con), QStringLiteral("-1"));
}

TEST_F(modUtilsVorgabe, SetChangesOnlyTheFirstOfTwoRows) {
  ohneEindeutigenSchluessel();
  con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('Falzstriche', '0'), ('Falzstriche', '0')"));
  SetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("-1"), con);
  EXPECT_EQ(rows(), QStringLiteral("Falzstriche=-1;Falzstriche=0"));
}

TEST_F(modUtilsVorgabe, KeyWithApostropheIsStoredAndFoundAsItIs) {
  SetVorgabe(QStringLiteral("Kunde's Wahl"), QStringLiteral("1"), con);
  EXPECT_EQ(GetVorgabe(QStringLiteral("Kunde's Wahl"), QStringLiteral("0"), con), QStringLiteral("1"));
  EXPECT_EQ(rows(), QStringLiteral("Kunde's Wahl=1"));
}

TEST_F(modUtilsVorgabe, DatabaseErrorsReachTheCallerAndNothingIsWritten) {
  con->Execute(QStringLiteral("DROP TABLE Vorgaben"));
  EXPECT_THROW(GetVorgabe(QStringLiteral("x"), QStringLiteral("0"), con), vb::VbError);
  EXPECT_THROW(SetVorgabe(QStringLiteral("x"), QStringLiteral("0"), con), vb::VbError);
  try {
    GetVorgabe(QStringLiteral("x"), QStringLiteral("0"), nullptr);
    FAIL() << "no connection must fail";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::ErrObjectNotSet);
  }
}

TEST_F(modUtilsVorgabe, KeysWithSqlWordsOrANulAreStoredAndFoundOnce) {
  const QStringList keys = {QStringLiteral("Ort UNION Land"), QStringLiteral("Kunden JOIN Adressen"),
                            QStringLiteral("DISTINCT"), QStringLiteral("Kunde") + QChar(0) + QStringLiteral("Nr")};
  for (const QString& key : keys) {
    SetVorgabe(key, QStringLiteral("1"), con);
    EXPECT_EQ(GetVorgabe(key, QStringLiteral("0"), con).toStdString(), "1") << key.toStdString();
    EXPECT_EQ(GetVorgabe(key, QStringLiteral("0"), con).toStdString(), "1") << key.toStdString();
  }
  // The settings object finds the same rows.
  clsProgVorgaben vorgaben;
  vorgaben.LoadCustomProperties(vb::Variant(con));
  for (const QString& key : keys)
    EXPECT_EQ(vb::CStr(vorgaben.Value(key, vb::Variant(0))).toStdString(), "1") << key.toStdString();
  EXPECT_EQ(vb::CStr(con->Execute(QStringLiteral("SELECT count(*) FROM Vorgaben"))->Fields(0)->Value()).toStdString(),
            std::to_string(keys.size()));
}

TEST_F(modUtilsVorgabe, NzOfAFieldTakesItsValue) {
  con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('leer', NULL), ('voll', 'x')"));
  auto rs = con->Execute(QStringLiteral("SELECT Wert FROM Vorgaben ORDER BY ID"));
  const vb::Variant feld(rs->Fields(0));
  EXPECT_EQ(vb::CStr(NZ(feld, vb::Variant(QStringLiteral("Ersatz")))), QStringLiteral("Ersatz"));
  rs->MoveNext();
  EXPECT_EQ(vb::CStr(NZ(feld, vb::Variant(QStringLiteral("Ersatz")))), QStringLiteral("x"));
  EXPECT_EQ(vb::CStr(NZ(vb::Variant::null(), vb::Variant(7))), QStringLiteral("7"));
  EXPECT_EQ(NZ(vb::Variant(con)).objectAs<data::Connection>(), con) << "an object without a value stays itself";
}
