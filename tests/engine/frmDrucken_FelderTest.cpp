// The row values of the print window: header values, empty and designer sets, the row set with
// its control codes, pictures, rich-text position texts, the naming forms and the page-full loop.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "engine/clsDruckerSchacht.h"
#include "engine/modFormate.h"
#include "foundation/modSkrivant.h"
#include "platform/report/RtfReader.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/UebergabeTabelle.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

const QString T = QStringLiteral("0x10000000");
const QString N = QStringLiteral("0x8000000");
const QString D = QStringLiteral("0x20000000");
const QString R = QStringLiteral("0x1000000");

QString feld(const QString& name, const QString& wert, const QString& typ) {
  return QStringLiteral("DefineReportField(\"%1\", \"%2\", %3)").arg(name, wert, typ);
}
QString variable(const QString& name, const QString& wert, const QString& typ) {
  return QStringLiteral("DefineReportVariable(\"%1\", \"%2\", %3)").arg(name, wert, typ);
}

// The names of the values defined, in order, with "F:" or "V:" for field or variable.
QStringList definiert(const QStringList& calls) {
  static const QRegularExpression re(QStringLiteral("^DefineReport(Field|Variable)\\(\"([^\"]*)\""));
  QStringList out;
  for (const QString& c : calls) {
    const auto m = re.match(c);
    if (m.hasMatch()) out << (m.captured(1) == u"Field" ? QStringLiteral("F:") : QStringLiteral("V:")) + m.captured(2);
  }
  return out;
}

QStringList mitPrefix(const QString& prefix, const QStringList& namen) {
  QStringList out;
  for (const QString& n : namen) out << prefix + n;
  return out;
}

const QStringList kKopf = {QStringLiteral("ÜbertragDrucken"), QStringLiteral("AnzahlSeiten"),
                           QStringLiteral("LinieEinfach"), QStringLiteral("LinieDoppelt"),
                           QStringLiteral("RabattProPos")};

class frmDruckenFelder : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    SetDatenverzeichnis(QStringLiteral("C:\\Daten\\"));
  }
  void TearDown() override {
    SetDatenverzeichnis(QString());
    SetBetraegeFormat(QString());
    DruckFensterFixture::TearDown();
  }

  // Defines the row the record set stands on and returns what was called.
  QStringList zeileDefinieren(const std::shared_ptr<data::Recordset>& rs) {
    ll->clearCalls();
    fenster->DruckFelderDefinieren(rs, false);
    return ll->calls();
  }

  // Lines of the log that the row walk wrote.
  QStringList walkLog() const { return logZeilen().filter(QRegularExpression(QStringLiteral("^DruckFelderDefinieren "))); }

  enginetest::UebergabeTabelle tabelle;
};

// ---- header values, empty set, designer set ----

TEST_F(frmDruckenFelder, EmptySetFollowsTheHeaderValuesInItsOrder) {
  fenster->Seitenzahl = 7;
  fenster->let_RabattProPosition(true);
  fenster->let_VorText(QStringLiteral("Vor"));
  fenster->DruckFelderDefinieren(nullptr, true);
  const QStringList expected = {
      feld(QStringLiteral("ÜbertragDrucken"), QStringLiteral("JA"), T),
      feld(QStringLiteral("AnzahlSeiten"), QStringLiteral("7"), T),
      feld(QStringLiteral("LinieEinfach"), QStringLiteral("C:\\Daten\\FORMULAR\\LEinfach.BMP"), D),
      feld(QStringLiteral("LinieDoppelt"), QStringLiteral("C:\\Daten\\FORMULAR\\LDoppelt.BMP"), D),
      feld(QStringLiteral("RabattProPos"), QStringLiteral("1"), N),
      feld(QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Nein"), T),
      feld(QStringLiteral("Position"), {}, T),
      feld(QStringLiteral("Menge"), {}, T),
      feld(QStringLiteral("Bezeichnung"), {}, T),
      feld(QStringLiteral("EP"), {}, N),
      feld(QStringLiteral("GP"), {}, N),
      feld(QStringLiteral("Liste"), {}, N),
      feld(QStringLiteral("DruckEP"), {}, T),
      feld(QStringLiteral("DruckGP"), {}, T),
      feld(QStringLiteral("InfoPreis"), {}, T),
      feld(QStringLiteral("Vortext"), {}, T),
      feld(QStringLiteral("Schlusstext"), {}, T),
      feld(QStringLiteral("Zahltext"), {}, T),
      feld(QStringLiteral("Zeilentyp"), {}, T),
      feld(QStringLiteral("Bilddatei"), {}, D),
      feld(QStringLiteral("BildHöhe"), {}, N),
      feld(QStringLiteral("BildBreite"), {}, N),
      feld(QStringLiteral("EPUnterstreichen"), {}, T),
      feld(QStringLiteral("GPUnterstreichen"), {}, T),
      feld(QStringLiteral("MLBezeichnung"), {}, T),
      feld(QStringLiteral("MLPreis"), {}, T),
      feld(QStringLiteral("VortextPermanent"), QStringLiteral("Vor"), T),
      feld(QStringLiteral("MWSTArt"), QStringLiteral("1"), N),
      feld(QStringLiteral("RabattSatz"), QStringLiteral("0"), N),
      feld(QStringLiteral("MWSTSatz"), QStringLiteral("0.16"), N),
      feld(QStringLiteral("Firmenbestellung.Sachbearbeiter"), {}, T),
      feld(QStringLiteral("Firmenbestellung.Kostenstelle"), {}, T),
      feld(QStringLiteral("Firmenbestellung.Besteller"), {}, T),
      feld(QStringLiteral("PosBemerkung"), {}, T),
      feld(QStringLiteral("ISBN"), {}, T),
      feld(QStringLiteral("Autor"), {}, T),
      feld(QStringLiteral("Matchcode"), {}, T),
      feld(QStringLiteral("Titel"), {}, T),
  };
  EXPECT_EQ(ll->calls(), expected);
}

TEST_F(frmDruckenFelder, HeaderSaysNeinWithoutCarryOverAndNoDiscountPerPosition) {
  fenster->let_UebertraegeDrucken(false);
  fenster->DruckFelderDefinieren(nullptr, true);
  EXPECT_EQ(ll->calls().at(0), feld(QStringLiteral("ÜbertragDrucken"), QStringLiteral("NEIN"), T));
  EXPECT_EQ(ll->calls().at(1), feld(QStringLiteral("AnzahlSeiten"), QStringLiteral("0"), T));
  EXPECT_EQ(ll->calls().at(4), feld(QStringLiteral("RabattProPos"), QStringLiteral("0"), N));
}

TEST_F(frmDruckenFelder, AllesLeerWithARecordSetGivesTheEmptySetNotTheRow) {
  tabelle.zeile(QStringLiteral("Feld1, Bezeichnung, EP, Menge, MWSTArt"), QStringLiteral("'01', 'Buch', 10, 1, 1"));
  fenster->DruckFelderDefinieren(nullptr, true);
  const QStringList leer = ll->calls();
  ll->clearCalls();
  const auto rs = tabelle.lesen();
  fenster->DruckFelderDefinieren(rs, true);
  EXPECT_EQ(ll->calls(), leer);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
}

TEST_F(frmDruckenFelder, DesignerSetHasItsOwnOrderAndSampleValues) {
  fenster->DruckFelderDefinieren(nullptr, false);
  const QStringList namen = definiert(ll->calls());
  const QStringList expected = mitPrefix(
      QStringLiteral("F:"),
      kKopf + QStringList{
                  QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Position"), QStringLiteral("Menge"),
                  QStringLiteral("Bezeichnung"), QStringLiteral("EP"), QStringLiteral("GP"), QStringLiteral("Liste"),
                  QStringLiteral("DruckEP"), QStringLiteral("DruckGP"), QStringLiteral("InfoPreis"),
                  QStringLiteral("Vortext"), QStringLiteral("VortextPermanent"), QStringLiteral("Schlusstext"),
                  QStringLiteral("Zahltext"), QStringLiteral("Zeilentyp"), QStringLiteral("EPUnterstreichen"),
                  QStringLiteral("GPUnterstreichen"), QStringLiteral("Bilddatei"), QStringLiteral("BildHöhe"),
                  QStringLiteral("BildBreite"), QStringLiteral("MLBezeichnung"), QStringLiteral("MLPreis"),
                  QStringLiteral("MWSTArt"), QStringLiteral("RabattSatz"), QStringLiteral("MWSTSatz"),
                  QStringLiteral("Firmenbestellung.Sachbearbeiter"), QStringLiteral("Firmenbestellung.Kostenstelle"),
                  QStringLiteral("Firmenbestellung.Besteller"), QStringLiteral("PosBemerkung"), QStringLiteral("ISBN"),
                  QStringLiteral("Autor"), QStringLiteral("Matchcode"), QStringLiteral("Titel")});
  EXPECT_EQ(namen, expected);
  EXPECT_EQ(ll->field(QStringLiteral("Position")), QStringLiteral("01.001"));
  EXPECT_EQ(ll->field(QStringLiteral("Menge")), QStringLiteral("2.00"));
  EXPECT_EQ(ll->field(QStringLiteral("GP")), QStringLiteral("2,24"));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  EXPECT_EQ(ll->field(QStringLiteral("VortextPermanent")), QStringLiteral("Hierüber erfolgt die Ausgabe des Vortextes"));
  EXPECT_EQ(ll->field(QStringLiteral("Zahltext")), QStringLiteral("Hierüber erfolgt die Ausgabe des Zahltextes"));
  EXPECT_EQ(ll->field(QStringLiteral("Firmenbestellung.Besteller")), QStringLiteral("Besteller bei Firmenkunden"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d-\\d+-\\d+-[\\dX]$")).match(ll->field(QStringLiteral("ISBN"))).hasMatch());
}

// ---- the row set ----

TEST_F(frmDruckenFelder, PositionRowDefinesItsValuesInTheWalkOrder) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  fenster->let_VorText(QStringLiteral("Vortext des Dokuments"));
  tabelle.zeile(QStringLiteral("ControlString, Feld1, Menge, Bezeichnung, EP, VK, Rabatt, MWSTArt, MwStSatz, RabattFähig, "
                               "EAN, Autor, Matchcode, Sachbearbeiter, Kostenstelle, KST_Ansprechpartner, Bemerkung"),
                QStringLiteral("'', '01.002', 3, 'Ein Buch', 12.5, 14, 0, 2, 0.07, -1, '978-3-00-000000-1', 'Autorin', "
                               "'Autorin; Buch', 'SB', 'KST 4', 'Frau B', 'eilt'"));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  const QStringList expected = mitPrefix(
      QStringLiteral("F:"),
      kKopf + QStringList{QStringLiteral("ISBN"), QStringLiteral("Autor"), QStringLiteral("Matchcode"),
                          QStringLiteral("Titel"), QStringLiteral("MWSTArt"), QStringLiteral("MWSTSatz"),
                          QStringLiteral("Firmenbestellung.Sachbearbeiter"), QStringLiteral("Firmenbestellung.Kostenstelle"),
                          QStringLiteral("Firmenbestellung.Besteller"), QStringLiteral("PosBemerkung")});
  QStringList namen = definiert(calls);
  EXPECT_EQ(namen.mid(0, expected.size()), expected);
  EXPECT_EQ(namen.mid(expected.size()),
            (QStringList{QStringLiteral("V:VortextPermanent"), QStringLiteral("F:RabattSatz"), QStringLiteral("F:MWSTArt"),
                         QStringLiteral("F:MWSTSatz"), QStringLiteral("F:Liste"), QStringLiteral("F:Position"),
                         QStringLiteral("F:Menge"), QStringLiteral("F:Bezeichnung"), QStringLiteral("F:EP"),
                         QStringLiteral("F:GP"), QStringLiteral("F:DruckEP"), QStringLiteral("F:DruckGP"),
                         QStringLiteral("F:InfoPreis"), QStringLiteral("F:Zeilentyp"), QStringLiteral("F:Bilddatei"),
                         QStringLiteral("F:BildHöhe"), QStringLiteral("F:BildBreite")}));
  EXPECT_EQ(ll->field(QStringLiteral("ISBN")), QStringLiteral("978-3-00-000000-1"));
  EXPECT_EQ(ll->field(QStringLiteral("Titel")), QStringLiteral("Ein Buch"));
  EXPECT_EQ(ll->field(QStringLiteral("Firmenbestellung.Besteller")), QStringLiteral("Frau B"));
  EXPECT_EQ(ll->variable(QStringLiteral("VortextPermanent")), QStringLiteral("Vortext des Dokuments"));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("MWSTSatz"), QStringLiteral("0,07"), N)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Liste"), QStringLiteral("14"), N)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Position"), QStringLiteral("01.002"), T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Menge"), QStringLiteral("3"), T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("DruckGP"), QStringLiteral("37,50"), T)));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_halb(), 37.5);
  EXPECT_TRUE(walkLog().isEmpty()) << walkLog().join(u'\n').toStdString();
}

TEST_F(frmDruckenFelder, NullPositionIsOneBlankAndNullQuantityBlanksThePrintedPrices) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz"), QStringLiteral("NULL, NULL, 4.5, 5, 1, 0.19"));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Position"), QStringLiteral(" "), T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Menge"), {}, T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("DruckEP"), {}, T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("DruckGP"), {}, T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("GP"), QStringLiteral("0"), N)));
}

TEST_F(frmDruckenFelder, PackageMarkersPrintAsOrdinaryPricedPositions) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  tabelle.zeile(QStringLiteral("ControlString, Feld1, Menge, EP, VK, MWSTArt, MwStSatz"),
                QStringLiteral("'{BeginnPaket}', '1', 2, 9.95, 9.95, 1, 0.19"));
  tabelle.zeile(QStringLiteral("ControlString, Feld1, Menge, EP, VK, MWSTArt, MwStSatz"),
                QStringLiteral("'{EndPaket}', '2', 1, 5, 5, 1, 0.19"));
  const auto rs = tabelle.lesen();
  zeileDefinieren(rs);
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("19,90"));
  rs->MoveNext();
  zeileDefinieren(rs);
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("5,00"));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag_voll(), 24.9);
}

TEST_F(frmDruckenFelder, CompanyGroupHeadIsAPositionOfItsOwnKind) {
  tabelle.zeile(QStringLiteral("ControlString, Feld1, Menge, EP, VK, MWSTArt, MwStSatz"),
                QStringLiteral("'{fbgruppenkopf}', '', NULL, 0, 0, 1, 0.19"));
  zeileDefinieren(tabelle.lesen());
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("FirmenBestGruppenKopf"));
}

TEST_F(frmDruckenFelder, BlankRowInAnyLetterCaseClearsThePositionAndPrintsAtOnce) {
  tabelle.zeile(QStringLiteral("ControlString, Feld1, Bezeichnung, EP, Menge, MWSTArt, MwStSatz"),
                QStringLiteral("'{LEERZEILE}', '7', 'nicht drucken', 3, 1, 1, 0.19"));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  const qsizetype typ = calls.indexOf(feld(QStringLiteral("Zeilentyp"), QStringLiteral("Leerzeile"), T));
  ASSERT_GE(typ, 0);
  // The nested clear comes before the row kind, the row is printed right after it.
  EXPECT_GT(calls.indexOf(feld(QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Nein"), T)), 0);
  EXPECT_LT(calls.indexOf(feld(QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Nein"), T)), typ);
  EXPECT_EQ(calls.at(typ + 1), QStringLiteral("PrintFields()"));
  EXPECT_EQ(ll->field(QStringLiteral("Position")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("Bezeichnung")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("Titel")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QString());
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
}

TEST_F(frmDruckenFelder, BlankRowOnAFullPageFinishesThePageAndPrintsOnTheNext) {
  tabelle.zeile(QStringLiteral("ControlString"), QStringLiteral("'{Leerzeile}'"));
  ll->setRowsPerPage(1);
  ll->PrintFields();  // the page already holds a row
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  const QStringList druck = calls.filter(QRegularExpression(QStringLiteral("^Print")));
  EXPECT_EQ(druck, (QStringList{QStringLiteral("PrintFields()"), QStringLiteral("PrintVariables()"),
                                QStringLiteral("PrintFields()")}));
}

// The document print prints every row after its call: a page feed that left the position before
// it standing would print that position again on the new page and count it in the carry-over.
TEST_F(frmDruckenFelder, PageFeedCarriesNoPositionValuesAndStartsAPageInAListOnly) {
  for (const short art : {2, 1}) {
    SCOPED_TRACE(art == 1 ? "label" : "list");
    fenster->EntwurfBerichtArt = art;
    fenster->SummenLoeschen();
    const enginetest::UebergabeTabelle tabelle;
    tabelle.zeile(QStringLiteral("Feld1, Bezeichnung, Menge, EP, MWSTArt, MwStSatz"),
                  QStringLiteral("'1', 'Buch', 1, 1, 1, 0.19"));
    tabelle.zeile(QStringLiteral("ControlString, Feld1, MWSTArt, MwStSatz"),
                  QStringLiteral("'{seitenvorschub}', 'x', 1, 0.19"));
    const auto rs = tabelle.lesen();
    zeileDefinieren(rs);
    rs->MoveNext();
    const QStringList calls = zeileDefinieren(rs);
    const QString prefix = art == 1 ? QStringLiteral("Details.") : QString();
    const auto wert = [&](const char* name) {
      return art == 1 ? ll->variable(prefix + QString::fromUtf8(name)) : ll->field(QString::fromUtf8(name));
    };
    for (const char* name : {"Position", "Bezeichnung", "Menge", "GP", "DruckGP", "Zeilentyp"})
      EXPECT_EQ(wert(name), QString()) << name;
    EXPECT_EQ(calls.filter(QRegularExpression(QStringLiteral("^Print"))),
              art == 1 ? QStringList() : QStringList{QStringLiteral("PrintVariables()")});
    EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 1);
  }
}

TEST_F(frmDruckenFelder, TextBlockClearsThePositionAndKeepsItsTextPlain) {
  tabelle.zeile(QStringLiteral("ControlString, Feld1, Bezeichnung, EP, Menge, MWSTArt, MwStSatz"),
                QStringLiteral("'{tb}', '9', '{\\rtf1 Baustein}', 3, 1, 1, 0.19"));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Bezeichnung"), QStringLiteral("{\\rtf1 Baustein}"), T)));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Textbaustein"));
  EXPECT_EQ(ll->field(QStringLiteral("Position")), QString());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
}

TEST_F(frmDruckenFelder, SubtotalCodePrintsTheRunningTotal) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, MWSTArt, MwStSatz"), QStringLiteral("'1', 2, 10, 1, 0.19"));
  tabelle.zeile(QStringLiteral("ControlString"), QStringLiteral("'{ZWISCHENSUMME}'"));
  const auto rs = tabelle.lesen();
  zeileDefinieren(rs);
  rs->MoveNext();
  const QStringList calls = zeileDefinieren(rs);
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("InfoPreis"), QStringLiteral("20,00"), T)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Zeilentyp"), QStringLiteral("Zwischensumme"), T)));
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintFields")).size(), 1);
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 20);
}

TEST_F(frmDruckenFelder, WithoutPricesARowDefinesNoPriceValuesAndAddsNothing) {
  fenster->let_DruckOhneEPGP(true);
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, Rabatt, MWSTArt, MwStSatz, RabattFähig"),
                QStringLiteral("'1', 2, 10, 12, 5, 1, 0.19, -1"));
  const QStringList namen = definiert(zeileDefinieren(tabelle.lesen()));
  for (const char* n : {"F:EP", "F:GP", "F:DruckEP", "F:DruckGP"}) EXPECT_FALSE(namen.contains(QString::fromLatin1(n))) << n;
  EXPECT_TRUE(namen.contains(QStringLiteral("F:InfoPreis")));
  EXPECT_DOUBLE_EQ(fenster->Rechnungsbetrag(), 0);
  EXPECT_DOUBLE_EQ(fenster->RabattBetrag_voll(), 0);
  EXPECT_DOUBLE_EQ(fenster->dblRabattfaehigBetrag[1], 0);
}

// A table whose ControlString cannot be read must not turn every row into a blank row.
TEST_F(frmDruckenFelder, UnreadableControlCodeIsLoggedAndTheRowStaysAPosition) {
  SetBetraegeFormat(QStringLiteral("#,##0.00"));
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 8, 8, 1, 0.19, 'Buch'"));
  const auto rs = tabelle.lesen(QStringLiteral("LongKey, Feld1, Menge, EP, VK, Rabatt, MWSTArt, MwStSatz, RabattFähig, "
                                               "Bezeichnung, TextAusDatei, EAN, Autor, Matchcode, Sachbearbeiter, "
                                               "Kostenstelle, KST_Ansprechpartner, Bemerkung"));
  const QStringList calls = zeileDefinieren(rs);
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  EXPECT_EQ(ll->field(QStringLiteral("Bezeichnung")), QStringLiteral("Buch"));
  EXPECT_EQ(ll->field(QStringLiteral("DruckGP")), QStringLiteral("8,00"));
  EXPECT_TRUE(calls.filter(QStringLiteral("Leerzeile")).isEmpty());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  ASSERT_EQ(walkLog().size(), 1) << logZeilen().join(u'\n').toStdString();
  EXPECT_TRUE(walkLog().at(0).startsWith(QStringLiteral("DruckFelderDefinieren ")));
}

TEST_F(frmDruckenFelder, AFailedStepIsLoggedAndTheNextStepsRun) {
  // A VAT class outside 0 to 3 fails the step that sums the row; the values after it are still defined.
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bemerkung"),
                QStringLiteral("'1', 1, 8, 8, 7, 0.19, 'B'"));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(definiert(calls).contains(QStringLiteral("F:InfoPreis")));
  EXPECT_EQ(ll->field(QStringLiteral("PosBemerkung")), QStringLiteral("B"));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QStringLiteral("Position"));
  ASSERT_EQ(walkLog().size(), 1);
  EXPECT_TRUE(walkLog().at(0).startsWith(QStringLiteral("DruckFelderDefinieren 9: "))) << walkLog().at(0).toStdString();
}

// Never the row before's value.
TEST_F(frmDruckenFelder, NullNumberColumnsAreEmptyWithoutAnError) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz"), QStringLiteral("'1', 1, 8, 9, 1, 0.19"));
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz"), QStringLiteral("'2', 1, 8, NULL, NULL, NULL"));
  const auto rs = tabelle.lesen();
  zeileDefinieren(rs);
  EXPECT_EQ(ll->field(QStringLiteral("Liste")), QStringLiteral("9"));
  rs->MoveNext();
  zeileDefinieren(rs);
  for (const char* name : {"Liste", "MWSTArt", "MWSTSatz"})
    EXPECT_EQ(ll->field(QString::fromLatin1(name)), QString()) << name;
  EXPECT_TRUE(walkLog().isEmpty()) << walkLog().join(u'\n').toStdString();
}

// ---- naming forms ----

TEST_F(frmDruckenFelder, LabelFormPrefixesEveryValueExceptTheRowsVortextPermanent) {
  fenster->EntwurfBerichtArt = 1;
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, MWSTArt, MwStSatz"), QStringLiteral("'1', 1, 8, 1, 0.19"));
  const QStringList namen = definiert(zeileDefinieren(tabelle.lesen()));
  ASSERT_FALSE(namen.isEmpty());
  for (const QString& n : namen) {
    if (n == u"V:VortextPermanent") continue;
    EXPECT_TRUE(n.startsWith(QStringLiteral("V:Details."))) << n.toStdString();
  }
  EXPECT_TRUE(namen.contains(QStringLiteral("V:VortextPermanent")));
  EXPECT_EQ(ll->variable(QStringLiteral("Details.Zeilentyp")), QStringLiteral("Position"));

  ll->clearCalls();
  fenster->DruckFelderDefinieren(nullptr, true);
  EXPECT_TRUE(definiert(ll->calls()).contains(QStringLiteral("V:Details.VortextPermanent")));
  EXPECT_FALSE(definiert(ll->calls()).contains(QStringLiteral("V:VortextPermanent")));
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DefineReportField")).isEmpty());
}

TEST_F(frmDruckenFelder, ListFormDefinesFieldsAndTheRowsVortextPermanentAsVariable) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, MWSTArt, MwStSatz"), QStringLiteral("'1', 1, 8, 1, 0.19"));
  zeileDefinieren(tabelle.lesen());
  EXPECT_EQ(ll->callsOf(QStringLiteral("DefineReportVariable")),
            QStringList{variable(QStringLiteral("VortextPermanent"), {}, T)});
}

// ---- the page-full loop ----

TEST_F(frmDruckenFelder, PageFullLoopRepeatsTheRowAfterFinishingThePage) {
  ll->queueStatus(QStringLiteral("PrintFields"), report::kPageFull);
  ll->queueStatus(QStringLiteral("PrintFields"), report::kPageFull);
  fenster->ZeileDrucken();
  EXPECT_EQ(ll->calls(), (QStringList{QStringLiteral("PrintFields()"), QStringLiteral("PrintVariables()"),
                                       QStringLiteral("PrintFields()"), QStringLiteral("PrintVariables()"),
                                       QStringLiteral("PrintFields()")}));
}

TEST_F(frmDruckenFelder, PageFullLoopEndsOnAUserAbort) {
  ll->queueStatus(QStringLiteral("PrintFields"), report::kUserAbort);
  fenster->ZeileDrucken();
  EXPECT_EQ(ll->calls(), QStringList{QStringLiteral("PrintFields()")});
}

TEST_F(frmDruckenFelder, AControlThatIsAlwaysFullCannotHangTheRowWalk) {
  ll->setStatus(QStringLiteral("PrintFields"), report::kPageFull);
  tabelle.zeile(QStringLiteral("ControlString"), QStringLiteral("'{Leerzeile}'"));
  zeileDefinieren(tabelle.lesen());
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintVariables")).size(), 1000);
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintFields")).size(), 1001);
  EXPECT_EQ(logZeilen().filter(QStringLiteral("ZeileDrucken: ")).size(), 1);
}

// ---- picture ----

class frmDruckenFelderBild : public frmDruckenFelder {
 protected:
  // A PNG of `breite` x `hoehe` pixels at 10 pixels per millimetre.
  QString bild(const QString& name, int breite, int hoehe) {
    QImage img(breite, hoehe, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setDotsPerMeterX(10000);
    img.setDotsPerMeterY(10000);
    const QString path = temp.file(name);
    EXPECT_TRUE(img.save(path, "PNG"));
    return path;
  }
  void zeileMitBild(const QString& pfad) {
    tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, BildAusdatei"),
                  QStringLiteral("'1', 1, 1, 1, 1, 0.19, %1").arg(pfad.isNull() ? QStringLiteral("NULL") : "'" + pfad + "'"));
  }
};

TEST_F(frmDruckenFelderBild, PictureOf157MillimetresHeightGivesTen) {
  fenster->BildspalteVorhanden = true;
  const QString pfad = bild(QStringLiteral("Cover.png"), 100, 157);
  zeileMitBild(pfad);
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Bilddatei"), pfad, D)));
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("BildHöhe"), QStringLiteral("10"), N)));
  // 10 mm: 1000 hundredths of a millimetre / 157.
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("BildBreite"), QStringLiteral("6,36942675159236"), N)));
  EXPECT_EQ(calls.last(), feld(QStringLiteral("BildBreite"), QStringLiteral("6,36942675159236"), N));
}

TEST_F(frmDruckenFelderBild, EmptyPicturePathDefinesThePictureValuesEmpty) {
  fenster->BildspalteVorhanden = true;
  zeileMitBild(QString());
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_EQ(calls.mid(calls.size() - 3),
            (QStringList{feld(QStringLiteral("Bilddatei"), {}, D), feld(QStringLiteral("BildHöhe"), {}, N),
                         feld(QStringLiteral("BildBreite"), {}, N)}));
}

TEST_F(frmDruckenFelderBild, PictureColumnIsIgnoredWhileTheTableHasNone) {
  fenster->BildspalteVorhanden = false;
  zeileMitBild(bild(QStringLiteral("Cover.png"), 10, 10));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_EQ(calls.last(), feld(QStringLiteral("BildBreite"), {}, N));
  EXPECT_TRUE(walkLog().isEmpty());
}

// A row after a row with a picture: a missing file and a file that holds no picture (logged)
// both give no picture, never the one of the row before.
TEST_F(frmDruckenFelderBild, AMissingFileOrOneWithoutPictureGetsNoPictureNotThePreviousOne) {
  fenster->BildspalteVorhanden = true;
  const QString erstes = bild(QStringLiteral("Erstes.png"), 20, 20);
  const struct {
    QString datei;
    QStringList log;
  } faelle[] = {{temp.file(QStringLiteral("fehlt.png")), {}},
                {temp.write(QStringLiteral("Kaputt.png"), "kein Bild"), {QStringLiteral("DruckFelderDefinieren 481: ")}}};
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.datei.toStdString());
    const enginetest::UebergabeTabelle tabelle;
    for (const QString& pfad : {erstes, f.datei})
      tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, BildAusdatei"),
                    QStringLiteral("'1', 1, 1, 1, 1, 0.19, '%1'").arg(pfad));
    const auto rs = tabelle.lesen();
    zeileDefinieren(rs);
    rs->MoveNext();
    const qsizetype vorher = walkLog().size();
    const QStringList calls = zeileDefinieren(rs);
    EXPECT_EQ(calls.mid(calls.size() - 3),
              (QStringList{feld(QStringLiteral("Bilddatei"), {}, D), feld(QStringLiteral("BildHöhe"), {}, N),
                           feld(QStringLiteral("BildBreite"), {}, N)}));
    QStringList log = walkLog().mid(vorher);
    for (QString& z : log) z = z.left(27);
    EXPECT_EQ(log, f.log);
  }
}

// ---- rich-text position texts ----

class frmDruckenFelderRtf : public frmDruckenFelder {
 protected:
  void SetUp() override {
    frmDruckenFelder::SetUp();
    const QString vorlage = temp.write(QStringLiteral("Rechnung.lst"), "{}");
    formulare.addForm(1, 1,
                      QStringLiteral("BerichtArt, Formatdatei, MEFont_Name, MEFont_Size, MEFont_Bold, MEFont_Italic, "
                                     "MEFont_Underline, MEFont_Strikethrough"),
                      QStringLiteral("2, '%1', 'DejaVu Serif', 9.5, -1, 0, -1, 0").arg(vorlage));
    fenster->DruckerSchacht->LoadDruckForm(QStringLiteral("PC1"), 1, 1);
  }

  // The rich text that the row defined for Bezeichnung, read back.
  QString bezeichnungRtf(const QStringList& calls) {
    static const QRegularExpression re(QStringLiteral("^DefineReportField\\(\"Bezeichnung\", \"(.*)\", 0x1000000\\)$"),
                                       QRegularExpression::DotMatchesEverythingOption);
    for (const QString& c : calls) {
      const auto m = re.match(c);
      if (m.hasMatch()) return m.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    ADD_FAILURE() << "no rich-text Bezeichnung in " << calls.join(u'\n').toStdString();
    return {};
  }

  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase formulare;
  QTextDocument doc;
};

const QString kDokument = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Liberation Sans;}}"
                                          "{\\colortbl;\\red255\\green0\\blue0;}\\pard\\f0\\fs20 Hallo\\par zwei}");

TEST_F(frmDruckenFelderRtf, LeadInGoesInFrontOfTheDocumentInTheUnitFont) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'Stück: %1'").arg(kDokument));
  const QString rtf = bezeichnungRtf(zeileDefinieren(tabelle.lesen()));
  report::readRtf(rtf, doc, QFont(QStringLiteral("Liberation Sans"), 10));
  EXPECT_EQ(doc.toPlainText(), QStringLiteral("Stück: Hallo\nzwei"));
  QTextCursor vorspann(&doc);
  vorspann.setPosition(1);
  const QTextCharFormat f = vorspann.charFormat();
  EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Serif"));
  EXPECT_DOUBLE_EQ(f.fontPointSize(), 9.5);
  EXPECT_TRUE(f.font().bold());
  EXPECT_FALSE(f.font().italic());
  EXPECT_TRUE(f.font().underline());
  EXPECT_FALSE(f.font().strikeOut());
  QTextCursor text(&doc);
  text.setPosition(QStringLiteral("Stück: H").size());
  EXPECT_EQ(text.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Liberation Sans"));
  EXPECT_FALSE(text.charFormat().font().bold());
  EXPECT_TRUE(rtf.contains(QStringLiteral("St\\'fcck")));
}

TEST_F(frmDruckenFelderRtf, MarkerIsFoundInAnyLetterCase) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'Vorn {\\RTF1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Rest}'"));
  const QString rtf = bezeichnungRtf(zeileDefinieren(tabelle.lesen()));
  report::readRtf(rtf, doc, QFont());
  EXPECT_EQ(doc.toPlainText(), QStringLiteral("Vorn Rest"));
}

TEST_F(frmDruckenFelderRtf, DocumentWithoutLeadInKeepsItsOwnFormatting) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, '%1'").arg(kDokument));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Bezeichnung"), kDokument, R)));
}

TEST_F(frmDruckenFelderRtf, TextWithoutMarkerStaysPlainAlsoWithAFile) {
  const QString datei = temp.write(QStringLiteral("Text.txt"), "\r\nzweite Zeile");
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung, TextAusDatei"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'erste Zeile', '%1'").arg(datei));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Bezeichnung"), QStringLiteral("erste Zeile\r\nzweite Zeile"), T)));
}

TEST_F(frmDruckenFelderRtf, LeadInOfAFileRowEndsItsLinesWithABlankAndAParagraph) {
  const QString datei = temp.write(QStringLiteral("Text.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Datei}");
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung, TextAusDatei"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'eins' || char(13, 10) || 'zwei ', '%1'").arg(datei));
  const QString rtf = bezeichnungRtf(zeileDefinieren(tabelle.lesen()));
  EXPECT_TRUE(rtf.contains(QStringLiteral("eins \\par zwei ")));
  report::readRtf(rtf, doc, QFont());
  EXPECT_EQ(doc.toPlainText(), QStringLiteral("eins \nzwei Datei"));
}

TEST_F(frmDruckenFelderRtf, LeadInWithoutAFileKeepsItsLineBreaks) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'eins' || char(13, 10) || 'zwei {\\rtf1 drei}'"));
  const QString rtf = bezeichnungRtf(zeileDefinieren(tabelle.lesen()));
  EXPECT_FALSE(rtf.contains(QStringLiteral("eins \\par")));
  report::readRtf(rtf, doc, QFont());
  EXPECT_EQ(doc.toPlainText(), QStringLiteral("eins\nzwei drei"));
}

TEST_F(frmDruckenFelderRtf, LeadInCharactersAreEscaped) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'a\\b {c} 5 € Ω: {\\rtf1 x}'"));
  const QString rtf = bezeichnungRtf(zeileDefinieren(tabelle.lesen()));
  EXPECT_TRUE(rtf.contains(QStringLiteral("a\\\\b \\{c\\} 5 \\'80 \\u937?: ")));
  report::readRtf(rtf, doc, QFont());
  EXPECT_EQ(doc.toPlainText(), QStringLiteral("a\\b {c} 5 € Ω: x"));
}

TEST_F(frmDruckenFelderRtf, DocumentWithoutFontTableGetsOne) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'Vorn: {\\rtf1 Rest}'"));
  const QString rtf = bezeichnungRtf(zeileDefinieren(tabelle.lesen()));
  report::readRtf(rtf, doc, QFont(QStringLiteral("Liberation Sans")));
  EXPECT_EQ(doc.toPlainText(), QStringLiteral("Vorn: Rest"));
  QTextCursor c(&doc);
  c.setPosition(1);
  EXPECT_EQ(c.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Serif"));
}

TEST_F(frmDruckenFelderRtf, MissingTextFileIsLoggedAndTheColumnTextIsUsed) {
  tabelle.zeile(QStringLiteral("Feld1, Menge, EP, VK, MWSTArt, MwStSatz, Bezeichnung, TextAusDatei"),
                QStringLiteral("'1', 1, 1, 1, 1, 0.19, 'nur Spalte', '%1'").arg(temp.file(QStringLiteral("fehlt.rtf"))));
  const QStringList calls = zeileDefinieren(tabelle.lesen());
  EXPECT_TRUE(calls.contains(feld(QStringLiteral("Bezeichnung"), QStringLiteral("nur Spalte"), T)));
  ASSERT_EQ(walkLog().size(), 1);
  EXPECT_TRUE(walkLog().at(0).startsWith(QStringLiteral("DruckFelderDefinieren 53: ")));
}

TEST_F(frmDruckenFelderRtf, LoadedFormChoosesTheNamingForm) {
  EXPECT_EQ(fenster->AktBerichtArt(), 2);
  fenster->EntwurfBerichtArt = 1;
  EXPECT_EQ(fenster->AktBerichtArt(), 2);
  formulare.addForm(1, 2, QStringLiteral("BerichtArt"), QStringLiteral("1"));
  fenster->DruckerSchacht->LoadDruckForm(QStringLiteral("PC1"), 2, 1);
  fenster->DefiniereWert(QStringLiteral("Menge"), QStringLiteral("3"), report::kTypeText);
  EXPECT_EQ(ll->calls().last(), variable(QStringLiteral("Details.Menge"), QStringLiteral("3"), T));
}

TEST_F(frmDruckenFelder, WithoutAFormTheDesignersReportKindChoosesTheNamingForm) {
  EXPECT_EQ(fenster->AktBerichtArt(), 0);
  fenster->DefiniereWert(QStringLiteral("Menge"), QStringLiteral("3"), report::kTypeText);
  EXPECT_EQ(ll->calls().last(), feld(QStringLiteral("Menge"), QStringLiteral("3"), T));
  fenster->EntwurfBerichtArt = 1;
  EXPECT_EQ(fenster->AktBerichtArt(), 1);
}

}  // namespace
