// The document variables as the report control receives them.
#include <gtest/gtest.h>

#include "platform/vb/VbError.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

QString var(const QString& name, const QString& wert, const char* typ) {
  QString w = wert;
  w.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QStringLiteral("DefineReportVariable(\"%1\", \"%2\", %3)").arg(name, w, QString::fromLatin1(typ));
}

class frmDrucken_VariablenTest : public testsupport::DruckFensterFixture {
 protected:
  QStringList definiert() {
    ll->clearCalls();
    fenster->DokumentVariablenDefinieren();
    return ll->callsOf(QStringLiteral("DefineReportVariable"));
  }
};

TEST_F(frmDrucken_VariablenTest, DefinesTheFixedListInItsOrderThenTheCallerVariables) {
  fenster->AktAusgabeModus = 2;
  fenster->Seitenzahl = 3;
  fenster->SetGewerkBlockLabel(1, QStringLiteral("Rohbau"));
  fenster->SetGewerkBlockLabel(6, QStringLiteral("Außenanlagen"));
  fenster->DuplikatModus = true;
  fenster->AktExemplar = 1;
  fenster->let_AbsenderSichtfenster(QStringLiteral("Muster GmbH, Hauptstr. 1"));
  fenster->let_AnschriftEmpfaenger(QStringLiteral("Frau Beispiel\rWeg 2"));
  fenster->let_DokumentTitel(QStringLiteral("Rechnung <RechnungNr>"));
  fenster->let_ZahlText(QStringLiteral("Zahlbar bis <ZahlungDatum>"));
  fenster->let_SchlussText(QStringLiteral("Danke, <RechnungNr>"));
  fenster->let_Betrefftext(QStringLiteral("Ihr Auftrag <RechnungNr>"));
  fenster->let_MWSTSatz_Voll(0.19);
  fenster->let_MWSTSatz_halb(0.07);
  fenster->let_Druckwaehrung(QStringLiteral("EUR"));
  fenster->AddValue(QStringLiteral("Sachbearbeiter"), QStringLiteral("Frau Lind"));
  fenster->AddValue(QStringLiteral("VorgangNr"), QStringLiteral("V-9"));
  fenster->AddValue(QStringLiteral("RechnungNr"), QStringLiteral("R-1"));
  fenster->AddValue(QStringLiteral("RechnungDatum"), QStringLiteral("07.02.2008"));
  fenster->FalzstricheDrucken = true;
  fenster->let_VorText(QStringLiteral("Vorab <RechnungNr>"));
  fenster->Init();
  fenster->intCurFormStatus = 3;
  fenster->AddDruckvariable(QStringLiteral("RechnungNr"), QStringLiteral("R-2"), 0x10000000);
  fenster->AddDruckvariable(QStringLiteral("SkontoSatz"), QStringLiteral("0,03"), 0x08000000);

  const QStringList erwartet{
      var("Ausgabemodus", "2", "0x8000000"),
      var("AnzahlSeiten", "3", "0x10000000"),
      var("BlockLabel1", "Rohbau", "0x10000000"),
      var("BlockLabel2", "", "0x10000000"),
      var("BlockLabel3", "", "0x10000000"),
      var("BlockLabel4", "", "0x10000000"),
      var("BlockLabel5", "", "0x10000000"),
      var("BlockLabel6", "Außenanlagen", "0x10000000"),
      var("Exemplar", "1", "0x8000000"),
      var("AbsenderSichtfenster", "Muster GmbH, Hauptstr. 1", "0x10000001"),
      var("AnschriftEmpfaenger", "Frau Beispiel\rWeg 2", "0x10000001"),
      var("DokumentTitel", "Rechnung R-2", "0x10000001"),
      var("Zahltext", "Zahlbar bis <ZahlungDatum>", "0x10000000"),
      var("Schlusstext", "Danke, <RechnungNr>", "0x10000000"),
      var("Betrefftext", "Ihr Auftrag R-2", "0x10000000"),
      var("MwStSatz_Voll", "0,19", "0x8000000"),
      var("MwStSatz_Halb", "0,07", "0x8000000"),
      var("MwSt_Voll", "0,19", "0x8000000"),
      var("MwSt_Halb", "0,07", "0x8000000"),
      var("Druckwährung", "EUR", "0x10000000"),
      var("Sachbearbeiter", "Frau Lind", "0x10000000"),
      var("VorgangNr", "V-9", "0x10000000"),
      var("RechnungNr", "R-1", "0x10000000"),
      var("RechnungsDatum", "07.02.2008", "0x10000000"),
      var("Falzstrich", "1", "0x2000000"),
      var("VortextPermanent", "Vorab <RechnungNr>", "0x10000000"),
      var("FormStatus", "3", "0x8000000"),
      var("RechnungNr", "R-2", "0x10000000"),
      var("SkontoSatz", "0,03", "0x8000000"),
  };
  EXPECT_EQ(definiert(), erwartet);
}

TEST_F(frmDrucken_VariablenTest, AFreshWindowDefinesOnlyTheFixedVariablesWithTheirDefaults) {
  const QStringList calls = definiert();
  ASSERT_EQ(calls.size(), 27);
  EXPECT_EQ(calls[0], var("Ausgabemodus", "0", "0x8000000"));
  EXPECT_EQ(calls[8], var("Exemplar", "0", "0x8000000"));
  EXPECT_EQ(calls[15], var("MwStSatz_Voll", "0,16", "0x8000000"));
  EXPECT_EQ(calls[17], var("MwSt_Voll", "0,16", "0x8000000"));
  EXPECT_EQ(calls[16], var("MwStSatz_Halb", "0", "0x8000000"));
  EXPECT_EQ(calls[19], var("Druckwährung", " ", "0x10000000"));
  EXPECT_EQ(calls[24], var("Falzstrich", "0", "0x2000000"));
  EXPECT_EQ(calls[26], var("FormStatus", "0", "0x8000000"));
  fenster->Init();
  EXPECT_EQ(definiert().size(), 27);
}

TEST_F(frmDrucken_VariablenTest, ExemplarIsZeroWithoutDuplicateMode) {
  fenster->AktExemplar = 2;
  fenster->DuplikatModus = false;
  EXPECT_EQ(definiert()[8], var("Exemplar", "0", "0x8000000"));
  fenster->DuplikatModus = true;
  EXPECT_EQ(definiert()[8], var("Exemplar", "2", "0x8000000"));
}

TEST_F(frmDrucken_VariablenTest, BlockLabelUnderAOneDigitKeyIsNotFound) {
  fenster->AddValue(QStringLiteral("BlockLabel3"), QStringLiteral("einstellig"));
  EXPECT_EQ(definiert()[4], var("BlockLabel3", "", "0x10000000"));
  fenster->AddValue(QStringLiteral("BlockLabel03"), QStringLiteral("zweistellig"));
  EXPECT_EQ(definiert()[4], var("BlockLabel3", "zweistellig", "0x10000000"));
}

TEST_F(frmDrucken_VariablenTest, InvoiceDateComesFromTheKeyTheSetterWrites) {
  fenster->AddValue(QStringLiteral("RechnungsDatum"), QStringLiteral("01.01.2000"));
  EXPECT_EQ(definiert()[23], var("RechnungsDatum", "", "0x10000000"));
  fenster->AddValue(QStringLiteral("RechnungDatum"), QStringLiteral("07.02.2008"));
  EXPECT_EQ(definiert()[23], var("RechnungsDatum", "07.02.2008", "0x10000000"));
}

TEST_F(frmDrucken_VariablenTest, CallerVariableAddedTwiceIsDefinedOnceAtItsLastPlace) {
  fenster->Init();
  fenster->AddDruckvariable(QStringLiteral("Konto"), QStringLiteral("1200"), 0x10000000);
  fenster->AddDruckvariable(QStringLiteral("AngebotNr"), QStringLiteral("A-5"), 0x10000000);
  fenster->AddDruckvariable(QStringLiteral("KONTO"), QStringLiteral("1800"), 0x08000000);
  const QStringList calls = definiert();
  ASSERT_EQ(calls.size(), 29);
  EXPECT_EQ(calls[27], var("AngebotNr", "A-5", "0x10000000"));
  EXPECT_EQ(calls[28], var("KONTO", "1800", "0x8000000"));
}

TEST_F(frmDrucken_VariablenTest, AFailingValueEndsTheDefinitionsThereAndReachesTheCaller) {
  fenster->AddValue(QStringLiteral("Sachbearbeiter"), vb::Variant::null());
  ll->clearCalls();
  long nummer = 0;
  try {
    fenster->DokumentVariablenDefinieren();
  } catch (const vb::VbError& e) {
    nummer = e.number();
  }
  EXPECT_EQ(nummer, vb::ErrInvalidNull);
  const QStringList calls = ll->callsOf(QStringLiteral("DefineReportVariable"));
  ASSERT_EQ(calls.size(), 20);
  EXPECT_TRUE(calls.last().startsWith(QStringLiteral("DefineReportVariable(\"Druckwährung\"")));
}

}  // namespace
