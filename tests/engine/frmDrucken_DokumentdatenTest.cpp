// The print window's document data: value store, caller variables, properties, closing lines,
// deductions and the VAT-class totals.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/automation/LateBinding.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "tests/support/DruckFensterFixture.h"
#include "tests/support/ErrorOf.h"

namespace {

using automation::callByName;
using automation::CallKind;

class frmDrucken_DokumentdatenTest : public testsupport::DruckFensterFixture {};

TEST_F(frmDrucken_DokumentdatenTest, AddValueReplacesAKeyInAnyLetterCase) {
  fenster->AddValue(QStringLiteral("Vortext"), QStringLiteral("a"));
  fenster->AddValue(QStringLiteral("VORTEXT"), QStringLiteral("b"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("vortext"), QString()), vb::Variant("b"));
}

TEST_F(frmDrucken_DokumentdatenTest, GetValueTurnsCrLfIntoCrInTextOnly) {
  fenster->AddValue(QStringLiteral("Text"), QStringLiteral("x\r\ny\r\n"));
  fenster->AddValue(QStringLiteral("Schalter"), true);
  EXPECT_EQ(fenster->GetValue(QStringLiteral("Text"), QString()), vb::Variant("x\ry\r"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("Schalter"), QString()), vb::Variant(true));
}

TEST_F(frmDrucken_DokumentdatenTest, GetValueOfAMissingKeyGivesTheDefault) {
  EXPECT_EQ(fenster->GetValue(QStringLiteral("NieGespeichert"), 7), vb::Variant(7));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("NieGespeichert"), QStringLiteral("a\r\nb")), vb::Variant("a\rb"));
}

TEST_F(frmDrucken_DokumentdatenTest, CallerVariableKeepsTextAndTypeAndIgnoresKeyCase) {
  fenster->Init();
  fenster->AddDruckvariable(QStringLiteral("SkontoSatz"), QStringLiteral("0,03"), 0x08000000);
  fenster->AddDruckvariable(QStringLiteral("SKONTOSATZ"), QStringLiteral("0,02"), 0x08000000);
  EXPECT_EQ(fenster->GetDruckvariable(QStringLiteral("skontosatz"), QString()), vb::Variant("0,02"));
  // No line-break conversion here.
  fenster->AddDruckvariable(QStringLiteral("Zeilen"), QStringLiteral("a\r\nb"), 0x10000000);
  EXPECT_EQ(fenster->GetDruckvariable(QStringLiteral("Zeilen"), QString()), vb::Variant("a\r\nb"));
}

TEST_F(frmDrucken_DokumentdatenTest, FullRateReadsSixteenPercentWhileZero) {
  EXPECT_DOUBLE_EQ(fenster->MWSTSatz_Voll(), 0.16);
  fenster->let_MWSTSatz_Voll(0.19);
  EXPECT_DOUBLE_EQ(fenster->MwStSatz(), 0.19);
  fenster->let_MWSTSatz_Voll(0);
  EXPECT_DOUBLE_EQ(fenster->MWSTSatz_Voll(), 0.16);
  EXPECT_DOUBLE_EQ(fenster->MwStSatz(), 0.16);
  fenster->let_MwStSatz(0.07);
  EXPECT_DOUBLE_EQ(fenster->MWSTSatz_Voll(), 0.07);
  EXPECT_DOUBLE_EQ(fenster->MWSTSatz_halb(), 0);
}

TEST_F(frmDrucken_DokumentdatenTest, PrintCurrencyIsABlankUntilSet) {
  EXPECT_EQ(fenster->Druckwaehrung(), QStringLiteral(" "));
  fenster->let_Druckwaehrung(QStringLiteral("EUR"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("Druckwährung"), QString()), vb::Variant("EUR"));
}

TEST_F(frmDrucken_DokumentdatenTest, NetInvoiceUntilTheHostSaysInclusive) {
  EXPECT_TRUE(fenster->NettoRechnung());
  EXPECT_EQ(fenster->AusgabeEndpreis(), QStringLiteral("E"));
  fenster->let_AusgabeEndpreis(QStringLiteral("I"));
  EXPECT_FALSE(fenster->NettoRechnung());
  fenster->let_AusgabeEndpreis(QStringLiteral("e"));
  EXPECT_TRUE(fenster->NettoRechnung());
  EXPECT_EQ(fenster->GetValue(QStringLiteral("AusgabeEndpreis"), QString()), vb::Variant("e"));
}

TEST_F(frmDrucken_DokumentdatenTest, HeaderAndFooterLinesAreKeyedByTheirNumber) {
  fenster->let_KopfZeile(3, QStringLiteral("Kopf drei"));
  fenster->let_FussZeile(1, QStringLiteral("Fuss eins"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("KopfZeile3"), QString()), vb::Variant("Kopf drei"));
  EXPECT_EQ(fenster->KopfZeile(3), QStringLiteral("Kopf drei"));
  EXPECT_EQ(fenster->KopfZeile(4), QString());
  EXPECT_EQ(fenster->GetValue(QStringLiteral("FussZeile1"), QString()), vb::Variant("Fuss eins"));
  EXPECT_EQ(fenster->FussZeile(2), QString());
}

TEST_F(frmDrucken_DokumentdatenTest, BlockLabelsAreStoredUnderTwoDigitNumbers) {
  fenster->SetGewerkBlockLabel(2, QStringLiteral("Elektro"));
  fenster->SetGewerkBlockLabel(12, QStringLiteral("Dach"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("BlockLabel02"), QString()), vb::Variant("Elektro"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("BlockLabel12"), QString()), vb::Variant("Dach"));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("BlockLabel2"), QString()), vb::Variant(QString()));
}

TEST_F(frmDrucken_DokumentdatenTest, TextPropertiesLiveUnderTheirKeys) {
  fenster->let_VorText(QStringLiteral("vor"));
  fenster->let_SchlussText(QStringLiteral("schluss"));
  fenster->let_ZahlText(QStringLiteral("zahl"));
  fenster->let_Betrefftext(QStringLiteral("betreff"));
  fenster->let_DokumentTitel(QStringLiteral("titel"));
  fenster->let_AbsenderSichtfenster(QStringLiteral("absender"));
  fenster->let_AnschriftEmpfaenger(QStringLiteral("empfänger"));
  fenster->let_AdrBauherrFeld(QStringLiteral("Name"), QStringLiteral("Bauherr"));
  fenster->let_AdrProjektFeld(QStringLiteral("Name"), QStringLiteral("Projekt"));
  const auto wert = [&](const char* key) { return fenster->GetValue(QString::fromUtf8(key), QStringLiteral("-")); };
  EXPECT_EQ(wert("Vortext"), vb::Variant("vor"));
  EXPECT_EQ(wert("Schlusstext"), vb::Variant("schluss"));
  EXPECT_EQ(wert("Zahltext"), vb::Variant("zahl"));
  EXPECT_EQ(wert("Betrefftext"), vb::Variant("betreff"));
  EXPECT_EQ(wert("DokumentTitel"), vb::Variant("titel"));
  EXPECT_EQ(wert("AbsenderSichtfenster"), vb::Variant("absender"));
  EXPECT_EQ(wert("AnschriftEmpfaenger"), vb::Variant("empfänger"));
  EXPECT_EQ(wert("AnschriftEmpfänger"), vb::Variant("-"));
  EXPECT_EQ(wert("BHAdr_Name"), vb::Variant("Bauherr"));
  EXPECT_EQ(wert("PJAdr_Name"), vb::Variant("Projekt"));
  EXPECT_EQ(fenster->AdrBauherrFeld(QStringLiteral("Name")), QStringLiteral("Bauherr"));
  EXPECT_EQ(fenster->AdrProjektFeld(QStringLiteral("Ort")), QString());
  EXPECT_EQ(fenster->SchlussText(), QStringLiteral("schluss"));
}

TEST_F(frmDrucken_DokumentdatenTest, SwitchesInTheStoreHaveTheirDefaults) {
  EXPECT_TRUE(fenster->UebertraegeDrucken());
  EXPECT_FALSE(fenster->UebertraegeProTitel());
  EXPECT_FALSE(fenster->AusgabeAlsBlankett());
  fenster->let_UebertraegeDrucken(false);
  fenster->let_UebertraegeProTitel(true);
  fenster->let_AusgabeAlsBlankett(true);
  EXPECT_EQ(fenster->GetValue(QStringLiteral("ÜberträgeDrucken"), QString()), vb::Variant(false));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("ÜberträgeProTitel"), QString()), vb::Variant(true));
  EXPECT_EQ(fenster->GetValue(QStringLiteral("AusgabeAlsBlankett"), QString()), vb::Variant(true));
  EXPECT_FALSE(fenster->UebertraegeDrucken());
}

TEST_F(frmDrucken_DokumentdatenTest, UmlautMembersAreReachableByTheirNames) {
  callByName(*fenster, QStringLiteral("ÜberträgeDrucken"), CallKind::Let, {false});
  EXPECT_EQ(callByName(*fenster, QStringLiteral("ÜberträgeDrucken"), CallKind::Get), vb::Variant(false));
  callByName(*fenster, QStringLiteral("AnschriftEmpfänger"), CallKind::Let, {QStringLiteral("Frau Muster")});
  EXPECT_EQ(fenster->GetValue(QStringLiteral("AnschriftEmpfaenger"), QString()), vb::Variant("Frau Muster"));
  callByName(*fenster, QStringLiteral("Druckwährung"), CallKind::Let, {QStringLiteral("DEM")});
  EXPECT_EQ(callByName(*fenster, QStringLiteral("druckwährung"), CallKind::Get), vb::Variant("DEM"));
  EXPECT_EQ(callByName(*fenster, QStringLiteral("Übergabedatei"), CallKind::Get), vb::Variant(QString()));
  EXPECT_EQ(callByName(*fenster, QStringLiteral("SetSpaltenÜberschrift_EP"), CallKind::Method, {QStringLiteral("EP")}),
            vb::Variant());
}

TEST_F(frmDrucken_DokumentdatenTest, IndexedPropertiesTakeTheIndexFirstByName) {
  callByName(*fenster, QStringLiteral("KopfZeile"), CallKind::Let, {2, QStringLiteral("Zeile zwei")});
  EXPECT_EQ(callByName(*fenster, QStringLiteral("KopfZeile"), CallKind::Get, {2}), vb::Variant("Zeile zwei"));
  callByName(*fenster, QStringLiteral("AdrProjektFeld"), CallKind::Let, {QStringLiteral("Ort"), QStringLiteral("Kiel")});
  EXPECT_EQ(fenster->AdrProjektFeld(QStringLiteral("ort")), QStringLiteral("Kiel"));
}

TEST_F(frmDrucken_DokumentdatenTest, HandOverFileMustExist) {
  const QString vorhanden = temp.write(QStringLiteral("Druck.mdb"), "x");
  fenster->let_Uebergabedatei(vorhanden);
  EXPECT_EQ(fenster->Uebergabedatei(), vorhanden);
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());

  const QString fehlt = temp.file(QStringLiteral("Fehlt.mdb"));
  fenster->let_Uebergabedatei(fehlt);
  EXPECT_EQ(fenster->Uebergabedatei(), vorhanden);
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 1);
  EXPECT_EQ(boxen.first().text, QStringLiteral("Fehler bei Definition der Übergabedatei '") + fehlt + QStringLiteral("' !"));
  EXPECT_EQ(boxen.first().style, ui::vbOKOnly);
  EXPECT_EQ(boxen.first().title, fenster->ApplicationTitel());
}

TEST_F(frmDrucken_DokumentdatenTest, ApplicationTitleBecomesTheTitleOfMessageBoxes) {
  const QString vorher = QGuiApplication::applicationDisplayName();
  fenster->let_ApplicationTitel(QStringLiteral("Warenwirtschaft"));
  EXPECT_EQ(fenster->ApplicationTitel(), QStringLiteral("Warenwirtschaft"));
  ui::MsgBox(QStringLiteral("Hallo"));
  const QString titel = dialogs->messageBoxes().value(0).title;
  QGuiApplication::setApplicationDisplayName(vorher);
  EXPECT_EQ(titel, QStringLiteral("Warenwirtschaft"));
}

TEST_F(frmDrucken_DokumentdatenTest, ExplicitCopyCountIsNoLongerTakenFromTheTemplate) {
  fenster->ClearAnzahlKopien();
  fenster->let_AnzahlKopien(3);
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
  EXPECT_FALSE(fenster->KopienAusVorlage);
}

TEST_F(frmDrucken_DokumentdatenTest, VersionIsMajorAndMinorEachWithALeadingBlank) {
  const QString erwartet = QStringLiteral(" %1. %2").arg(SKRIVANT_VERSION_MAJOR).arg(SKRIVANT_VERSION_MINOR);
  EXPECT_EQ(fenster->GetVersion(), erwartet);
  EXPECT_EQ(fenster->GetVersion().count(QLatin1Char(' ')), 2);
}

TEST_F(frmDrucken_DokumentdatenTest, PlainPropertiesStartAsDescribed) {
  EXPECT_FALSE(fenster->Steuerbefreit());
  EXPECT_DOUBLE_EQ(fenster->GesamtRabatt(), 0);
  EXPECT_FALSE(fenster->DruckOhneEPGP());
  EXPECT_FALSE(fenster->RabattProPosition());
  EXPECT_EQ(fenster->Uebergabedatei(), QString());
  EXPECT_EQ(fenster->PDFArchivDatei(), QString());
  fenster->let_LeerzeilenZwischenPositionen(4);
  fenster->let_PDFArchivDatei(QStringLiteral("C:\\Archiv\\[YYYY]\\Re.pdf"));
  EXPECT_EQ(fenster->LeerzeilenZwischenPositionen(), 4);
  EXPECT_EQ(fenster->PDFArchivDatei(), QStringLiteral("C:\\Archiv\\[YYYY]\\Re.pdf"));
}

// ---- closing lines, deductions, totals ----

TEST_F(frmDrucken_DokumentdatenTest, ClosingLinesKeepTheirOrderUntilCleared) {
  fenster->AddAbschluss(QStringLiteral("Netto"), QStringLiteral("Summe netto"), false);
  callByName(*fenster, QStringLiteral("AddAbschluss"), CallKind::Method,
             {QStringLiteral("MWST"), QStringLiteral("zzgl. [MWSTSatz] MwSt"), true});
  ASSERT_EQ(fenster->Abschluss.size(), 2u);
  EXPECT_EQ(fenster->Abschluss[0].Key, QStringLiteral("Netto"));
  EXPECT_EQ(fenster->Abschluss[0].Bezeichnung, QStringLiteral("Summe netto"));
  EXPECT_FALSE(fenster->Abschluss[0].LinieEinfach);
  EXPECT_EQ(fenster->Abschluss[1].Key, QStringLiteral("MWST"));
  EXPECT_TRUE(fenster->Abschluss[1].LinieEinfach);
  fenster->ClearAbschluss();
  EXPECT_TRUE(fenster->Abschluss.empty());
}

TEST_F(frmDrucken_DokumentdatenTest, GrossDeductionIsKeptAsItsNetPart) {
  fenster->AddAbzugBetrag(true, QStringLiteral("119,00"), 0.19, QStringLiteral("- Anzahlung"));
  fenster->AddAbzugBetrag(false, QStringLiteral("50,00"), 0.19, QStringLiteral("- Gutschrift"));
  ASSERT_EQ(fenster->Abzuege.size(), 2u);
  EXPECT_TRUE(fenster->Abzuege[0].VorMwStAbziehen);
  ASSERT_TRUE(fenster->Abzuege[0].Betrag.isNumberType());
  EXPECT_NEAR(vb::CDbl(fenster->Abzuege[0].Betrag), 100.0, 1e-9);
  EXPECT_DOUBLE_EQ(fenster->Abzuege[0].MWSTSatz, 0.19);
  EXPECT_EQ(fenster->Abzuege[0].Text, QStringLiteral("- Anzahlung"));
  EXPECT_EQ(fenster->Abzuege[1].Betrag, vb::Variant("50,00"));
}

// A gross deduction keeps its net part: an amount that is no number is a type mismatch, a rate of
// -1 a division by zero (never an infinite amount in the list).
TEST_F(frmDrucken_DokumentdatenTest, GrossDeductionThatCannotBeWorkedOutFailsAndAddsNothing) {
  const struct {
    const char* betrag;
    double satz;
    long fehler;
  } faelle[] = {{"fünfzig", 0.19, vb::ErrTypeMismatch}, {"119,00", -1, vb::ErrDivisionByZero}};
  for (const auto& f : faelle) {
    EXPECT_EQ(testsupport::errorOf([&] {
                fenster->AddAbzugBetrag(true, QString::fromUtf8(f.betrag), f.satz, QStringLiteral("- x"));
              }),
              f.fehler)
        << f.betrag;
    EXPECT_TRUE(fenster->Abzuege.empty());
  }
}

TEST_F(frmDrucken_DokumentdatenTest, TotalsGettersReadTheirSlots) {
  fenster->dblRechnungsbetrag = {1.0, 10.0, 20.0, 40.0};
  fenster->dblRabattBetrag = {0.5, 1.0, 2.0, 4.0};
  fenster->dblMWSTBetrag = {9.0, 1.9, 1.4};
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 71.0);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 10.0);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 20.0);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_ohne(), 40.0);
  // Rows without a VAT class count in the invoice total, not in the discount total.
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag(), 7.0);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), 1.0);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_halb(), 2.0);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_ohne(), 4.0);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_ohne(), 0.0);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_voll(), 1.9);
  EXPECT_DOUBLE_EQ(fenster->MWSTBetrag_halb(), 1.4);
  EXPECT_EQ(callByName(*fenster, QStringLiteral("Rechnungsbetrag_halb"), CallKind::Get), vb::Variant(20.0));
}

}  // namespace
