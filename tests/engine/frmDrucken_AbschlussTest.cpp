// The closing block: subtotals, VAT per rate, contained VAT, overall discount, final amount; the
// sums it leaves behind; and the reading of amount texts.
#include <gtest/gtest.h>

#include <QHash>
#include <QRegularExpression>

#include "engine/modFormate.h"
#include "foundation/clsProgVorgaben.h"
#include "platform/vb/VbError.h"
#include "tests/engine/UebergabeTabelle.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

class frmDruckenAbschluss : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    SetBetraegeFormat(QStringLiteral("#,##0.00"));
    SetMWSTSatzFormat(QStringLiteral("#,#0.0%"));
    SetProzentFormat(QStringLiteral("#,#0.0%"));
  }
  void TearDown() override {
    SetBetraegeFormat(QString());
    SetMWSTSatzFormat(QString());
    SetProzentFormat(QString());
    DruckFensterFixture::TearDown();
  }

  // The rows printed, each as "Bezeichnung|InfoPreis|Zeilentyp" of the fields standing at its
  // PrintFields.
  QStringList gedruckt() const {
    static const QRegularExpression re(QStringLiteral("^DefineReportField\\(\"([^\"]*)\", \"(.*)\", 0x[0-9A-F]+\\)$"),
                                       QRegularExpression::DotMatchesEverythingOption);
    QHash<QString, QString> felder;
    QStringList out;
    for (const QString& c : ll->calls()) {
      const auto m = re.match(c);
      if (m.hasMatch()) felder[m.captured(1)] = m.captured(2);
      if (c == u"PrintFields()")
        out << felder.value(QStringLiteral("Bezeichnung")) + u'|' + felder.value(QStringLiteral("InfoPreis")) + u'|' +
                   felder.value(QStringLiteral("Zeilentyp"));
    }
    return out;
  }

  void vorgabenLaden() {
    auto vorgaben = std::make_shared<clsProgVorgaben>();
    vorgaben->LoadCustomProperties(vb::Variant(host.connection()));
    fenster->objVorgaben = vorgaben;
  }

  enginetest::UebergabeTabelle host;
};

const QString kLinie = QStringLiteral("||LEinfach");

TEST_F(frmDruckenAbschluss, NetVatAndGrossOfOneFullRateRow) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Nettobetrag"), false);
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("zzgl. [MWSTSatz] MwSt auf [Betrag]"), false);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamtbetrag"), true);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), (QStringList{QStringLiteral("Nettobetrag|100,00|Endbetrag"),
                                     QStringLiteral("zzgl. 16,0% MwSt auf 100,00|16,00|MWSTBetrag"), kLinie,
                                     QStringLiteral("Gesamtbetrag|116,00|Endbetrag")}));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 116);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 16);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_ohne(), 0);
  // "<EndBetrag>" prints the last final amount.
  EXPECT_EQ(fenster->strEndBetrag, QStringLiteral("116,00"));
}

TEST_F(frmDruckenAbschluss, ClosingRowsCarryNoCarryOver) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamt"), false);
  fenster->DruckeAbschluss();
  EXPECT_FALSE(fenster->UebertraegeDrucken());
  const QStringList calls = ll->calls();
  const qsizetype zeile = calls.indexOf(QStringLiteral("PrintFields()"));
  ASSERT_GE(zeile, 1);
  EXPECT_EQ(calls.at(zeile - 1), QStringLiteral("DefineReportField(\"ÜbertragDrucken\", \"NEIN\", 0x10000000)"));
}

TEST_F(frmDruckenAbschluss, GrossThenContainedVatWithTheNetInfoText) {
  vorgabenLaden();
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamtbetrag"), false);
  fenster->AddAbschluss(QStringLiteral("EnthalteneMWST"), QStringLiteral("enthaltene MwSt [MWSTSatz]"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(),
            (QStringList{QStringLiteral("Gesamtbetrag|100,00|Endbetrag"),
                         QStringLiteral("enthaltene MwSt 16,0%|13,79|EnthaltenerMWSTBetrag"),
                         QStringLiteral("Der Nettobetrag der Rechnung beträgt: 86,21 €|86,21|EnthaltenerMWSTBetrag")}));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 100);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 13.79);
}

TEST_F(frmDruckenAbschluss, ContainedVatWithoutSettingsObjectTakesTheDefaultTextAndGoesOn) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("EnthalteneMWST"), QStringLiteral("enthalten"), false);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamtbetrag"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(),
            (QStringList{QStringLiteral("enthalten|13,79|EnthaltenerMWSTBetrag"),
                         QStringLiteral("Der Nettobetrag der Rechnung beträgt: 86,21 €|86,21|EnthaltenerMWSTBetrag"),
                         QStringLiteral("Gesamtbetrag|100,00|Endbetrag")}));
}

TEST_F(frmDruckenAbschluss, TaxExemptDocumentPrintsNoVatAndKeepsTheSlots) {
  fenster->let_Steuerbefreit(true);
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->dblMWSTBetrag = {0, 5, 3};
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("MwSt"), false);
  fenster->AddAbschluss(QStringLiteral("EnthalteneMWST"), QStringLiteral("enthalten"), false);
  fenster->DruckeAbschluss();
  EXPECT_TRUE(gedruckt().isEmpty());
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 5);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_halb(), 3);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 100);
}

TEST_F(frmDruckenAbschluss, ReducedRateAndClassesWithoutAmountGetNoRows) {
  fenster->let_MWSTSatz_Voll(0.19);
  fenster->let_MWSTSatz_halb(0.07);
  fenster->dblRechnungsbetrag = {0, 0, 50, 0};
  fenster->AddAbschluss(QStringLiteral("ZwischensummeMWST"), QStringLiteral("Netto [MWSTSatz]"), false);
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("zzgl. MWSTSatz"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), (QStringList{QStringLiteral("Netto [7,0%]|50,00|RechnungZwischensumme"),
                                     QStringLiteral("zzgl. MWSTSatz|3,50|MWSTBetrag")}));
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 0);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_halb(), 3.5);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 53.5);
}

TEST_F(frmDruckenAbschluss, SubtotalPerClassGivesClassesWithoutRateTheRateZero) {
  fenster->dblRechnungsbetrag = {10, 100, 0, 5};
  fenster->AddAbschluss(QStringLiteral("ZwischensummeMWST"), QStringLiteral("Summe MWSTSatz"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), (QStringList{QStringLiteral("Summe 0,0%|10,00|RechnungZwischensumme"),
                                     QStringLiteral("Summe 16,0%|100,00|RechnungZwischensumme"),
                                     QStringLiteral("Summe 0,0%|5,00|RechnungZwischensumme")}));
}

TEST_F(frmDruckenAbschluss, SubtotalSumsAllSlotsAndClearsTheRowAfterwards) {
  fenster->dblRechnungsbetrag = {1, 2, 3, 4};
  fenster->AddAbschluss(QStringLiteral("Zwischensumme"), QStringLiteral("Zwischensumme"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), QStringList{QStringLiteral("Zwischensumme|10,00|RechnungZwischensumme")});
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("InfoPreis")), QString());
}

TEST_F(frmDruckenAbschluss, OverallDiscountIsBalancedOnTheHighestSlot) {
  fenster->let_GesamtRabatt(0.1);
  fenster->dblRechnungsbetrag = {0, 33.33, 33.33, 0};
  fenster->dblRabattfaehigBetrag = {0, 33.33, 33.33, 0};
  fenster->dblRabattBetrag = {0, 1, 1, 0};  // what the rows added is replaced
  fenster->AddAbschluss(QStringLiteral("Gesamtrabatt"), QStringLiteral("Rabatt [Gesamtrabatt]"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), QStringList{QStringLiteral("Rabatt -10,0%|-6,67|Gesamtrabatt")});
  EXPECT_NEAR(fenster->dblRabattBetrag[0], -0.01, 1e-9);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), -3.33);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_halb(), -3.33);
  EXPECT_NEAR(fenster->RabattBetrag(), -6.66, 1e-9);
  EXPECT_NEAR(fenster->Rechnungsbetrag(), 59.99, 1e-9);
  EXPECT_NEAR(fenster->Rechnungsbetrag_voll(), 30, 1e-9);
}

TEST_F(frmDruckenAbschluss, WithoutLineTotalsNoClosingRowIsPrinted) {
  fenster->blnDruckOhneGP = true;
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Netto"), true);
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("MwSt"), false);
  fenster->DruckeAbschluss();
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_FALSE(fenster->UebertraegeDrucken());
  EXPECT_EQ(ll->field(QStringLiteral("ÜbertragDrucken")), QStringLiteral("NEIN"));
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 0);
}

TEST_F(frmDruckenAbschluss, KindsAreComparedWithoutRegardToCase) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("mwst"), QStringLiteral("MwSt"), false);
  fenster->AddAbschluss(QStringLiteral("brutto"), QStringLiteral("Gesamt"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), (QStringList{QStringLiteral("MwSt|16,00|MWSTBetrag"), QStringLiteral("Gesamt|116,00|Endbetrag")}));
}

TEST_F(frmDruckenAbschluss, RuleKindsAndUnknownKinds) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("LinieEinfach"), QString(), false);
  fenster->AddAbschluss(QStringLiteral("MWSTRabatt"), QStringLiteral("nichts"), false);
  fenster->AddAbschluss(QStringLiteral("Unbekannt"), QStringLiteral("nichts"), false);
  fenster->AddAbschluss(QStringLiteral("LinieDoppelt"), QString(), true);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), (QStringList{kLinie, kLinie, QStringLiteral("||LDoppelt")}));
}

TEST_F(frmDruckenAbschluss, ClosingLinesStayForTheNextDocumentUntilCleared) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Netto"), false);
  fenster->DruckeAbschluss();
  fenster->Init();
  ll->clearCalls();
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), QStringList{QStringLiteral("Netto|100,00|Endbetrag")});
  fenster->ClearAbschluss();
  ll->clearCalls();
  fenster->DruckeAbschluss();
  EXPECT_TRUE(gedruckt().isEmpty());
}

// The VAT of one document must not show up with the next one, which has no VAT line.
TEST_F(frmDruckenAbschluss, ClearingTheSumsAlsoClearsTheVatOfTheDocumentBefore) {
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->dblRechnungsbetrag[2] = 100;
  fenster->let_MWSTSatz_halb(0.07);
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("MwSt"), false);
  fenster->DruckeAbschluss();
  ASSERT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 16);
  ASSERT_DOUBLE_EQ(fenster->MWSTBetrag_halb(), 7);

  fenster->SummenLoeschen();
  fenster->ClearAbschluss();
  fenster->dblRechnungsbetrag[1] = 50;
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamt"), false);
  fenster->DruckeAbschluss();
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 0);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_halb(), 0);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 50);
  EXPECT_EQ(fenster->strEndBetrag, QStringLiteral("50,00"));
}

// An amount format without cents prints whole amounts; the stored VAT keeps its cents, and a
// grouped thousand is not read back as a decimal.
TEST_F(frmDruckenAbschluss, AmountFormatWithoutCentsDoesNotCostTheStoredVat) {
  SetBetraegeFormat(QStringLiteral("#,##0"));
  fenster->let_MWSTSatz_halb(0.07);
  fenster->dblRechnungsbetrag = {0, 10000, 100.5, 0};
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("MwSt [MWSTSatz]"), false);
  fenster->DruckeAbschluss();
  EXPECT_EQ(gedruckt(), (QStringList{QStringLiteral("MwSt 16,0%|1.600|MWSTBetrag"), QStringLiteral("MwSt 7,0%|7|MWSTBetrag")}));
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 1600);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_halb(), 7.04);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 107.54);
}

// Before the first batch print of a process there is no amount format: amounts print in the
// general number form, but VAT and totals are money all the same, in cents.
TEST_F(frmDruckenAbschluss, VatAndTotalsAreInCentsWithoutAnAmountFormat) {
  SetBetraegeFormat(QString());
  vorgabenLaden();
  fenster->let_MWSTSatz_Voll(0.19);
  fenster->dblRechnungsbetrag = {0, 28.15, 0, 27.2};
  fenster->AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Netto"), false);
  fenster->AddAbschluss(QStringLiteral("MWST"), QStringLiteral("MwSt"), false);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Brutto"), false);
  fenster->AddAbschluss(QStringLiteral("EnthalteneMWST"), QStringLiteral("darin"), false);
  fenster->DruckeAbschluss();
  // 19 % of 28,15 is 5,3485; 33,50 holds 5,35 of VAT at 19 %.
  EXPECT_EQ(gedruckt(), (QStringList{QStringLiteral("Netto|55,35|Endbetrag"), QStringLiteral("MwSt|5,35|MWSTBetrag"),
                                     QStringLiteral("Brutto|60,7|Endbetrag"),
                                     QStringLiteral("darin|5,35|EnthaltenerMWSTBetrag"),
                                     QStringLiteral("Der Nettobetrag der Rechnung beträgt: 55,35 €|55,35|"
                                                    "EnthaltenerMWSTBetrag")}));
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 5.35);
}

// A rate of -1 makes the VAT contained in a gross amount a division by zero: the run time's
// error 11 goes to the caller's trap, and no amount that is no number is printed.
TEST_F(frmDruckenAbschluss, ContainedVatAtARateOfMinusOneIsADivisionByZero) {
  vorgabenLaden();
  fenster->let_MWSTSatz_Voll(-1);
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->AddAbschluss(QStringLiteral("EnthalteneMWST"), QStringLiteral("enthalten"), false);
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Gesamt"), false);
  EXPECT_EQ(testsupport::errorOf([this] { fenster->DruckeAbschluss(); }), vb::ErrDivisionByZero);
  EXPECT_TRUE(gedruckt().isEmpty());
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 0);
}

TEST_F(frmDruckenAbschluss, AmountTextsAreReadWithEitherSeparator) {
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1.234,56")), 1234.56);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1,234.56")), 1234.56);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("13,79")), 13.79);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1.234")), 1.234);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1,234")), 1.234);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1.234.567,8")), 1234567.8);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1.234.567")), 1.234);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("12,50 €")), 12.5);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("1 234,5")), 1234.5);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("-3,00")), -3);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QString()), 0);
  EXPECT_DOUBLE_EQ(frmDrucken::BetragAusText(QStringLiteral("EUR 5")), 0);
}

}  // namespace
