// The placeholders of a document's free texts.
#include <gtest/gtest.h>

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include "engine/modFormate.h"
#include "platform/vb/VbError.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

class frmDrucken_PlatzhalterTest : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    // The formats a batch print leaves with the default settings.
    SetBetraegeFormat(QStringLiteral("#,##0.00"));
    SetProzentFormat(QStringLiteral("#,#0.0%"));
    fenster->Init();
  }
  void TearDown() override {
    SetBetraegeFormat(QString());
    SetProzentFormat(QString());
    DruckFensterFixture::TearDown();
  }

  void variable(const QString& key, const QString& wert) { fenster->AddDruckvariable(key, wert, 0x10000000); }
  QString ersetze(const QString& text) { return fenster->PlatzhalterErsetzen(text); }

  static QString heute() { return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")); }
};

TEST_F(frmDrucken_PlatzhalterTest, TextWithoutPlaceholdersComesBackUnchanged) {
  const QString text = QStringLiteral("Vielen Dank für Ihren Auftrag. <kein Platzhalter> 100 %");
  EXPECT_EQ(ersetze(text), text);
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(frmDrucken_PlatzhalterTest, ReplacesEveryOccurrenceInAnyLetterCase) {
  variable(QStringLiteral("RechnungNr"), QStringLiteral("R-17"));
  EXPECT_EQ(ersetze(QStringLiteral("<rechnungnr> / <RECHNUNGNR> / <RechnungNr>")), QStringLiteral("R-17 / R-17 / R-17"));
}

TEST_F(frmDrucken_PlatzhalterTest, DocumentNumberFollowsTheFormType) {
  variable(QStringLiteral("RechnungNr"), QStringLiteral("R"));
  variable(QStringLiteral("Abo.RechnungNr"), QStringLiteral("AR"));
  variable(QStringLiteral("LieferscheinNr"), QStringLiteral("L"));
  variable(QStringLiteral("Abo.LieferscheinNr"), QStringLiteral("AL"));
  variable(QStringLiteral("AuftragBestNr"), QStringLiteral("AB"));
  variable(QStringLiteral("GutschriftNr"), QStringLiteral("G"));
  variable(QStringLiteral("BestellungNr"), QStringLiteral("B"));
  variable(QStringLiteral("RemissionNr"), QStringLiteral("RM"));
  const QString text =
      QStringLiteral("<RechnungNr>|<LieferscheinNr>|<AuftragBestNr>|<GutschriftNr>|<BestellungNr>|<RemissionNr>");
  const QString roh = QStringLiteral("|<LieferscheinNr>|<AuftragBestNr>|<GutschriftNr>|<BestellungNr>|<RemissionNr>");
  const QList<QPair<short, QString>> faelle{
      {1, QStringLiteral("R") + roh},
      {2, QStringLiteral("R|L|<AuftragBestNr>|<GutschriftNr>|<BestellungNr>|<RemissionNr>")},
      {3, QStringLiteral("R") + roh},
      {4, QStringLiteral("R|<LieferscheinNr>|AB|<GutschriftNr>|<BestellungNr>|<RemissionNr>")},
      {5, QStringLiteral("R|AL|<AuftragBestNr>|<GutschriftNr>|<BestellungNr>|<RemissionNr>")},
      {6, QStringLiteral("AR") + roh},
      {7, QStringLiteral("R") + roh},
      {8, QStringLiteral("R|<LieferscheinNr>|<AuftragBestNr>|G|<BestellungNr>|<RemissionNr>")},
      {9, QStringLiteral("R|<LieferscheinNr>|<AuftragBestNr>|<GutschriftNr>|B|<RemissionNr>")},
      {10, QStringLiteral("R") + roh},
      {11, QStringLiteral("R|<LieferscheinNr>|<AuftragBestNr>|<GutschriftNr>|B|<RemissionNr>")},
      {12, QStringLiteral("R|<LieferscheinNr>|<AuftragBestNr>|<GutschriftNr>|<BestellungNr>|RM")},
  };
  for (const auto& [formTyp, erwartet] : faelle) {
    fenster->intCurFormStatus = formTyp;
    EXPECT_EQ(ersetze(text), erwartet) << "form type " << formTyp;
  }
}

TEST_F(frmDrucken_PlatzhalterTest, CashDiscountOnTheWholeTotal) {
  variable(QStringLiteral("SkontoSatz"), QStringLiteral("0,03"));
  fenster->dblRechnungsbetrag[1] = 100.0;
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoSatz> Skonto = <SkontoBetrag>, zu zahlen <SkontoRechBetrag> von <RechBetrag>")),
            QStringLiteral("3,0% Skonto = 3,00, zu zahlen 97,00 von 100,00"));
}

TEST_F(frmDrucken_PlatzhalterTest, CashDiscountPerClassLeavesRowsWithoutClassOut) {
  variable(QStringLiteral("SkontoSatz"), QStringLiteral("0,02"));
  fenster->dblRechnungsbetrag = {50.0, 100.0, 200.0, 10.0};
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoBetrag>|<SkontoBetragVoll>|<SkontoBetragHalb>|<SkontoBetragOhne>|"
                                   "<SkontoRechBetrag>|<RechBetrag>")),
            QStringLiteral("6,20|2,00|4,00|0,20|353,80|360,00"));
  // Without a class placeholder the rows without class take their share.
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoBetrag>|<SkontoRechBetrag>")), QStringLiteral("7,20|352,80"));
}

TEST_F(frmDrucken_PlatzhalterTest, CashDiscountRateThatIsNoNumberGivesNoDiscountAndNoMessage) {
  variable(QStringLiteral("SkontoSatz"), QStringLiteral("drei"));
  fenster->dblRechnungsbetrag[1] = 100.0;
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoBetrag>|<SkontoRechBetrag>|<SkontoBetragVoll>")),
            QStringLiteral("0,00|100,00|0,00"));
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(frmDrucken_PlatzhalterTest, NetInvoiceShowsDiscountsGross) {
  ASSERT_TRUE(fenster->NettoRechnung());
  fenster->let_MWSTSatz_Voll(0.19);
  fenster->let_MWSTSatz_halb(0.07);
  fenster->dblRabattBetrag = {1.0, 10.0, 10.0, 5.0};
  EXPECT_EQ(ersetze(QStringLiteral("<RabattBetragVoll>|<RabattBetragHalb>|<RabattBetragOhne>|<RabattBetrag>")),
            QStringLiteral("11,90|10,70|5,00|28,60"));
}

TEST_F(frmDrucken_PlatzhalterTest, InclusiveInvoiceShowsDiscountsAsBooked) {
  fenster->let_AusgabeEndpreis(QStringLiteral("I"));
  fenster->let_MWSTSatz_Voll(0.19);
  fenster->dblRabattBetrag = {1.0, 10.0, 10.0, 5.0};
  EXPECT_EQ(ersetze(QStringLiteral("<RabattBetragVoll>|<RabattBetragHalb>|<RabattBetragOhne>|<RabattBetrag>")),
            QStringLiteral("10,00|10,00|5,00|26,00"));
}

TEST_F(frmDrucken_PlatzhalterTest, AmountsAfterDiscountAndCashDiscount) {
  fenster->let_AusgabeEndpreis(QStringLiteral("I"));
  variable(QStringLiteral("SkontoSatz"), QStringLiteral("0,02"));
  fenster->dblRechnungsbetrag[1] = 1000.0;
  fenster->dblRabattBetrag[1] = 50.0;
  fenster->let_GesamtRabatt(0.05);
  EXPECT_EQ(ersetze(QStringLiteral("<Rabatt>|<RabRechBetrag>|<SktRabRechBetrag>")),
            QStringLiteral("5,0%|950,00|930,00"));
}

// After a closing line "Gesamtrabatt" the total is already net of the discount: the discount
// shows as the amount taken off, and is neither taken off again nor added back.
TEST_F(frmDrucken_PlatzhalterTest, AfterTheOverallDiscountLineTheDiscountIsTakenOffOnce) {
  fenster->let_AusgabeEndpreis(QStringLiteral("I"));
  variable(QStringLiteral("SkontoSatz"), QStringLiteral("0,02"));
  fenster->let_GesamtRabatt(0.1);
  fenster->dblRechnungsbetrag[1] = 100;
  fenster->dblRabattfaehigBetrag[1] = 100;
  fenster->dblRabattBetrag[1] = 10;  // as the rows add it
  const QString text = QStringLiteral("<RabattBetrag>|<RabattBetragVoll>|<RabRechBetrag>|<SktRabRechBetrag>");
  EXPECT_EQ(ersetze(text), QStringLiteral("10,00|10,00|90,00|88,00"));
  fenster->AddAbschluss(QStringLiteral("Gesamtrabatt"), QStringLiteral("Rabatt"), false);
  fenster->DruckeAbschluss();
  ASSERT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 90);
  // The cash discount is now worked out on the discounted total.
  EXPECT_EQ(ersetze(text), QStringLiteral("10,00|10,00|90,00|88,20"));
}

TEST_F(frmDrucken_PlatzhalterTest, DueDatesAddTheirDaysToTheInvoiceDate) {
  variable(QStringLiteral("RechnungsDatum"), QStringLiteral("07.02.2008"));
  variable(QStringLiteral("SkontoZiel"), QStringLiteral("10"));
  variable(QStringLiteral("ZahlZiel"), QStringLiteral("30"));
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoZiel> Tage bis <SkontoDatum>, <ZahlungZiel> Tage bis <ZahlungDatum>, vom <RechDatum>")),
            QStringLiteral("10 Tage bis 17.02.2008, 30 Tage bis 08.03.2008, vom 07.02.2008"));
}

TEST_F(frmDrucken_PlatzhalterTest, InvoiceDateThatIsNoDateLeavesTheDueDatesWithoutMessage) {
  variable(QStringLiteral("RechnungsDatum"), QStringLiteral("bald"));
  variable(QStringLiteral("SkontoZiel"), QStringLiteral("10"));
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoDatum>|<ZahlungDatum>|<RechDatum>")),
            QStringLiteral("<SkontoDatum>|<ZahlungDatum>|bald"));
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(frmDrucken_PlatzhalterTest, DueDateBeyondTheCalendarIsShownAndTheRestGoesOn) {
  variable(QStringLiteral("RechnungsDatum"), QStringLiteral("07.02.2008"));
  variable(QStringLiteral("SkontoZiel"), QStringLiteral("99999999"));
  variable(QStringLiteral("RechnungNr"), QStringLiteral("R-3"));
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoDatum>|<RechnungNr>")), QStringLiteral("<SkontoDatum>|R-3"));
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 1);
  EXPECT_EQ(boxen.first().text, vb::standardErrorText(vb::ErrOverflow));
  EXPECT_EQ(boxen.first().style, ui::vbOKOnly);
}

TEST_F(frmDrucken_PlatzhalterTest, EmptyCallerVariablesGiveTheirDefaults) {
  fenster->dblRechnungsbetrag[1] = 80.0;
  EXPECT_EQ(ersetze(QStringLiteral("[<RechnungNr>][<AboNr>][<AngebotNr>][<Konto>][<GegenKonto>][<BestellDatum>]"
                                   "[<LieferDatum>][<Empfänger.USTID>][<SkontoZiel>][<ZahlungZiel>][<RechDatum>]")),
            QStringLiteral("[][][][][][][][][][][]"));
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoBetrag>|<SkontoRechBetrag>|<ErfassDatum>|<BuchDatum>|<Datum>")),
            QStringLiteral("0,00|80,00|%1|%1|%1").arg(heute()));
}

TEST_F(frmDrucken_PlatzhalterTest, MissingInvoiceDateCountsFromTheStartOfTheDateScale) {
  variable(QStringLiteral("SkontoZiel"), QStringLiteral("2"));
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoDatum>|<ZahlungDatum>")), QStringLiteral("01.01.1900|30.12.1899"));
}

TEST_F(frmDrucken_PlatzhalterTest, CallerVariablesFillTheirPlaceholdersAsStored) {
  variable(QStringLiteral("Abo.Nummer"), QStringLiteral("A-1"));
  variable(QStringLiteral("AngebotNr"), QStringLiteral("AN-2"));
  variable(QStringLiteral("Konto"), QStringLiteral("1200"));
  variable(QStringLiteral("GegenKonto"), QStringLiteral("8400"));
  variable(QStringLiteral("BestellDatum"), QStringLiteral("3.2.08"));
  variable(QStringLiteral("LieferDatum"), QStringLiteral("KW 6"));
  variable(QStringLiteral("Empfänger.UmsatzsteuerID"), QStringLiteral("DE123456789"));
  EXPECT_EQ(ersetze(QStringLiteral("<AboNr> <AngebotNr> <Konto> <GegenKonto> <BestellDatum> <LieferDatum> <Empfänger.USTID>")),
            QStringLiteral("A-1 AN-2 1200 8400 3.2.08 KW 6 DE123456789"));
}

TEST_F(frmDrucken_PlatzhalterTest, EntryAndBookingDatesAreFormatted) {
  variable(QStringLiteral("ErfassungsDatum"), QStringLiteral("3.2.2008"));
  variable(QStringLiteral("BuchungsDatum"), QStringLiteral("2008-02-05"));
  EXPECT_EQ(ersetze(QStringLiteral("<ErfassDatum>|<BuchDatum>")), QStringLiteral("03.02.2008|05.02.2008"));
  variable(QStringLiteral("BuchungsDatum"), QStringLiteral("offen"));
  variable(QStringLiteral("ErfassungsDatum"), QStringLiteral("offen"));
  EXPECT_EQ(ersetze(QStringLiteral("<ErfassDatum>|<BuchDatum>")), QStringLiteral("<ErfassDatum>|offen"));
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(frmDrucken_PlatzhalterTest, TimeIsHoursAndMinutes) {
  const QTime vorher = QTime::currentTime();
  const QString uhrzeit = ersetze(QStringLiteral("<Uhrzeit>"));
  const QTime nachher = QTime::currentTime();
  ASSERT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(uhrzeit).hasMatch()) << uhrzeit.toStdString();
  EXPECT_TRUE(uhrzeit == vorher.toString(QStringLiteral("HH:mm")) || uhrzeit == nachher.toString(QStringLiteral("HH:mm")));
}

TEST_F(frmDrucken_PlatzhalterTest, AValueHoldingALaterPlaceholderIsReplacedAgain) {
  variable(QStringLiteral("SkontoZiel"), QStringLiteral("<RechnungNr>"));
  variable(QStringLiteral("RechnungNr"), QStringLiteral("R-8"));
  EXPECT_EQ(ersetze(QStringLiteral("<SkontoZiel>")), QStringLiteral("R-8"));
}

TEST_F(frmDrucken_PlatzhalterTest, EmptyFormatsGiveThePlainNumber) {
  SetBetraegeFormat(QString());
  SetProzentFormat(QString());
  variable(QStringLiteral("SkontoSatz"), QStringLiteral("0,03"));
  fenster->dblRechnungsbetrag[1] = 1234.5;
  EXPECT_EQ(ersetze(QStringLiteral("<RechBetrag>|<SkontoSatz>|<SkontoBetrag>")), QStringLiteral("1234,5|0,03|37,04"));
}

}  // namespace
