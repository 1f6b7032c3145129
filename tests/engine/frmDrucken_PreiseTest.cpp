// Prices of a position row and the sums per VAT class that the rows fill.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "engine/modFormate.h"
#include "tests/engine/UebergabeTabelle.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

const QString kSpalten = QStringLiteral("Feld1, Menge, EP, VK, Rabatt, MWSTArt, MwStSatz, RabattFähig");

class frmDruckenPreise : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    SetBetraegeFormat(QStringLiteral("#,##0.00"));
  }
  void TearDown() override {
    SetBetraegeFormat(QString());
    DruckFensterFixture::TearDown();
  }

  // Adds a row "Menge, EP, VK, Rabatt, MWSTArt, RabattFähig" (SQL literals) and defines it.
  void zeile(const QString& werte) {
    tabelle.zeile(kSpalten, QStringLiteral("'1', %1").arg(werte).replace(QStringLiteral("#SATZ#"), QStringLiteral("0.19")));
    const auto rs = tabelle.lesen();
    for (int i = 0; i < zeilen; ++i) rs->MoveNext();
    ++zeilen;
    ll->clearCalls();
    fenster->PreiseDefinieren(rs);
  }

  QStringList walkLog() const {
    return logZeilen().filter(QRegularExpression(QStringLiteral("^DruckFelderDefinieren ")));
  }

  enginetest::UebergabeTabelle tabelle;
  int zeilen = 0;
};

TEST_F(frmDruckenPreise, LineTotalIsRoundedHalfAwayFromZero) {
  zeile(QStringLiteral("3, 0.125, 0.125, 0, 1, #SATZ#, 0"));
  EXPECT_EQ(ll->field(QStringLiteral("EP")), QStringLiteral("0,125"));
  EXPECT_EQ(ll->field(QStringLiteral("GP")), QStringLiteral("0,38"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckEP")), QStringLiteral("0,13"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("0,38"));
  EXPECT_EQ(ll->calls(),
            (QStringList{QStringLiteral("DefineReportField(\"EP\", \"0,125\", 0x8000000)"),
                         QStringLiteral("DefineReportField(\"GP\", \"0,38\", 0x8000000)"),
                         QStringLiteral("DefineReportField(\"DruckEP\", \"0,13\", 0x10000000)"),
                         QStringLiteral("DefineReportField(\"DruckGP\", \"0,38\", 0x10000000)")}));
  EXPECT_DOUBLE_EQ(fenster->dblRechnungsbetrag[1], 0.38);
}

TEST_F(frmDruckenPreise, RowNotEligibleForDiscountsAddsToTheInvoiceAmountOnly) {
  fenster->let_GesamtRabatt(0.1);
  zeile(QStringLiteral("2, 10, 12, 10, 2, 0.07, 0"));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 20);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[2], 0);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_halb(), 0);
}

TEST_F(frmDruckenPreise, OverallDiscountIsAFactorAndOverridesTheRowsOwnRate) {
  fenster->let_GesamtRabatt(0.1);
  zeile(QStringLiteral("1, 19.99, 25, 30, 1, #SATZ#, -1"));
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), 2.0);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[1], 19.99);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 19.99);
}

TEST_F(frmDruckenPreise, PositionDiscountIsListPriceAgainstUnitPrice) {
  zeile(QStringLiteral("3, 10.80, 12.00, 10, 1, #SATZ#, -1"));
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), 3.6);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 32.4);
}

TEST_F(frmDruckenPreise, EligibleRowWithoutAnyDiscountRateGetsNoDiscount) {
  zeile(QStringLiteral("3, 10.80, 12.00, 0, 1, #SATZ#, -1"));
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), 0);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[1], 32.4);
}

TEST_F(frmDruckenPreise, NullQuantityLeavesThePrintedPricesEmptyAndTheTotalZero) {
  zeile(QStringLiteral("NULL, 4.5, 5, 0, 1, #SATZ#, 0"));
  EXPECT_EQ(ll->field(QStringLiteral("EP")), QStringLiteral("4,5"));
  EXPECT_EQ(ll->field(QStringLiteral("GP")), QStringLiteral("0"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckEP")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QString());
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
}

TEST_F(frmDruckenPreise, NullQuantityFailsThePositionDiscountOnly) {
  zeile(QStringLiteral("NULL, 4.5, 5, 10, 1, #SATZ#, -1"));
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), 0);
  ASSERT_EQ(walkLog().size(), 1);
  EXPECT_TRUE(walkLog().at(0).startsWith(QStringLiteral("DruckFelderDefinieren 94: ")));
}

TEST_F(frmDruckenPreise, ClassZeroGoesToSlotZero) {
  zeile(QStringLiteral("1, 7, 7, 0, 0, 0, -1"));
  EXPECT_DOUBLE_EQ(fenster->dblRechnungsbetrag[0], 7);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[0], 7);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll() + fenster->Rechnungsbetrag_halb() + fenster->Rechnungsbetrag_ohne(), 0);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 7);
}

// A printed amount is in the totals: a row without a class counts where class 0 counts.
TEST_F(frmDruckenPreise, RowWithoutClassGoesToTheSlotOfNoClass) {
  zeile(QStringLiteral("1, 7, 7, 0, NULL, 0, -1"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("7,00"));
  EXPECT_DOUBLE_EQ(fenster->dblRechnungsbetrag[0], 7);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[0], 7);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 7);
  EXPECT_TRUE(walkLog().isEmpty());
}

TEST_F(frmDruckenPreise, ClassOutsideTheSlotsIsLoggedAndAddsNothing) {
  zeile(QStringLiteral("1, 7, 7, 0, 4, 0, -1"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("7,00"));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
  EXPECT_EQ(walkLog().size(), 2);  // the eligible amount and the invoice amount
  for (const QString& z : walkLog()) EXPECT_TRUE(z.startsWith(QStringLiteral("DruckFelderDefinieren 9: ")));
}

TEST_F(frmDruckenPreise, UnitPriceThatIsNoNumberPrintsZeroAndLeavesTheTotalZero) {
  zeile(QStringLiteral("2, 'zwölf', 5, 0, 1, #SATZ#, 0"));
  EXPECT_EQ(ll->field(QStringLiteral("EP")), QStringLiteral("0"));
  EXPECT_EQ(ll->field(QStringLiteral("GP")), QStringLiteral("0"));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
  ASSERT_FALSE(walkLog().isEmpty());
  EXPECT_TRUE(walkLog().at(0).startsWith(QStringLiteral("DruckFelderDefinieren 13: ")));
}

TEST_F(frmDruckenPreise, WithoutUnitPricesOnlyTheLineTotalIsPrinted) {
  fenster->blnDruckOhneEP = true;
  zeile(QStringLiteral("2, 5, 5, 0, 1, #SATZ#, 0"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckEP")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("10,00"));
  fenster->blnDruckOhneEP = false;
  fenster->blnDruckOhneGP = true;
  zeile(QStringLiteral("2, 5, 5, 0, 1, #SATZ#, 0"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckEP")), QStringLiteral("5,00"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QString());
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 20);
}

TEST_F(frmDruckenPreise, SumsGrowOverTheRowsOfAWalk) {
  zeile(QStringLiteral("1, 10, 10, 0, 1, #SATZ#, -1"));
  zeile(QStringLiteral("2, 2.5, 2.5, 0, 2, 0.07, -1"));
  zeile(QStringLiteral("1, 3.33, 3.33, 0, 1, #SATZ#, 0"));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 13.33);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 5);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[1], 10);
}

}  // namespace
