// Free-text rows with page breaks, page feeds, rule lines and subtotal rows.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "engine/modFormate.h"
#include "foundation/modSkrivant.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

QString feld(const QString& name, const QString& wert, const QString& typ = QStringLiteral("0x10000000")) {
  return QStringLiteral("DefineReportField(\"%1\", \"%2\", %3)").arg(name, wert, typ);
}

const QString PF = QStringLiteral("PrintFields()");
const QString PV = QStringLiteral("PrintVariables()");

class frmDruckenTextzeilen : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    SetDatenverzeichnis(QStringLiteral("D:\\Host\\"));
    SetBetraegeFormat(QStringLiteral("#,##0.00"));
  }
  void TearDown() override {
    SetDatenverzeichnis(QString());
    SetBetraegeFormat(QString());
    DruckFensterFixture::TearDown();
  }

  // The calls of DruckeTextZeilen on `text` between its opening and closing definitions.
  QStringList mitte(const QString& text) {
    ll->clearCalls();
    fenster->DruckeTextZeilen(text, QStringLiteral("Vortext"), QStringLiteral("Vortext"));
    const QStringList calls = ll->calls();
    EXPECT_GE(calls.size(), 8);
    EXPECT_EQ(calls.mid(0, 4), kAnfang);
    EXPECT_EQ(calls.mid(calls.size() - 4), kEnde);
    return calls.mid(4, calls.size() - 8);
  }

  // The calls that print the rows of `stuecke`, each followed by a page break where asked.
  static QStringList zeilen(const QList<std::pair<QString, bool>>& stuecke) {
    QStringList out;
    for (const auto& [text, umbruch] : stuecke) {
      out << feld(QStringLiteral("Vortext"), text) << PF;
      if (umbruch) out << PV;
    }
    return out;
  }

  const QStringList kAnfang = {feld(QStringLiteral("Zeilentyp"), QStringLiteral("Vortext")),
                               feld(QStringLiteral("Vortext"), {}), feld(QStringLiteral("Schlusstext"), {}),
                               feld(QStringLiteral("Zahltext"), {})};
  const QStringList kEnde = {feld(QStringLiteral("Vortext"), {}), feld(QStringLiteral("Schlusstext"), {}),
                             feld(QStringLiteral("Zahltext"), {}), feld(QStringLiteral("Zeilentyp"), {})};
};

TEST_F(frmDruckenTextzeilen, EmptyTextPrintsNoRow) { EXPECT_EQ(mitte(QString()), QStringList()); }

TEST_F(frmDruckenTextzeilen, TextWithoutMarkerIsOneRowWithItsLineBreaks) {
  EXPECT_EQ(mitte(QStringLiteral("Sehr geehrte Damen,\r\nanbei")), zeilen({{QStringLiteral("Sehr geehrte Damen,\r\nanbei"), false}}));
}

TEST_F(frmDruckenTextzeilen, MarkerBetweenTwoPartsBreaksThePageBetweenThem) {
  EXPECT_EQ(mitte(QStringLiteral("A<Seitenumbruch>B")), zeilen({{QStringLiteral("A"), true}, {QStringLiteral("B"), false}}));
}

TEST_F(frmDruckenTextzeilen, MarkerAtTheEndBreaksThePageAfterTheText) {
  EXPECT_EQ(mitte(QStringLiteral("A<Seitenumbruch>")), zeilen({{QStringLiteral("A"), true}}));
}

TEST_F(frmDruckenTextzeilen, LeadingAndDoubledMarkersPrintEmptyRowsWithBreaks) {
  EXPECT_EQ(mitte(QStringLiteral("<Seitenumbruch>B")), zeilen({{QString(), true}, {QStringLiteral("B"), false}}));
  EXPECT_EQ(mitte(QStringLiteral("A<Seitenumbruch><Seitenumbruch>B")),
            zeilen({{QStringLiteral("A"), true}, {QString(), true}, {QStringLiteral("B"), false}}));
}

TEST_F(frmDruckenTextzeilen, MarkerInSmallLettersSplitsToo) {
  EXPECT_EQ(mitte(QStringLiteral("A<seitenumbruch>B")), zeilen({{QStringLiteral("A"), true}, {QStringLiteral("B"), false}}));
}

TEST_F(frmDruckenTextzeilen, PieceOnAFullPageIsPrintedAgainOnTheNext) {
  ll->setRowsPerPage(1);
  ll->PrintFields();
  EXPECT_EQ(mitte(QStringLiteral("lang")), (QStringList{feld(QStringLiteral("Vortext"), QStringLiteral("lang")), PF, PV, PF}));
}

TEST_F(frmDruckenTextzeilen, TextGoesToTheFieldTheCallerNames) {
  ll->clearCalls();
  fenster->DruckeTextZeilen(QStringLiteral("Zahlbar sofort"), QStringLiteral("Zahltext"), QStringLiteral("Zahltext"));
  EXPECT_EQ(ll->calls().at(0), feld(QStringLiteral("Zeilentyp"), QStringLiteral("Zahltext")));
  EXPECT_EQ(ll->calls().at(4), feld(QStringLiteral("Zahltext"), QStringLiteral("Zahlbar sofort")));
  EXPECT_EQ(ll->field(QStringLiteral("Zahltext")), QString());
}

TEST_F(frmDruckenTextzeilen, NewPageFinishesThePage) {
  fenster->NeueSeite();
  EXPECT_EQ(ll->calls(), QStringList{PV});
}

TEST_F(frmDruckenTextzeilen, DoubleRuleRowUsesTheDoubleBitmapAndClearsAfterwards) {
  fenster->DruckeLinieDoppelt();
  const QStringList calls = ll->calls();
  ASSERT_GE(calls.size(), 3);
  EXPECT_EQ(calls.mid(0, 3), (QStringList{feld(QStringLiteral("LinieEinfach"), QStringLiteral("D:\\Host\\FORMULAR\\LDoppelt.BMP"),
                                               QStringLiteral("0x20000000")),
                                          feld(QStringLiteral("Zeilentyp"), QStringLiteral("LDoppelt")), PF}));
  EXPECT_EQ(ll->field(QStringLiteral("LinieEinfach")), QStringLiteral("D:\\Host\\FORMULAR\\LEinfach.BMP"));
  EXPECT_EQ(ll->field(QStringLiteral("Zeilentyp")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("InfoPreis")), QString());
}

TEST_F(frmDruckenTextzeilen, SingleRuleRowOnAFullPageMovesToTheNext) {
  ll->setRowsPerPage(1);
  ll->PrintFields();
  ll->clearCalls();
  fenster->DruckeLinieEinfach();
  EXPECT_EQ(ll->calls().mid(0, 5),
            (QStringList{feld(QStringLiteral("LinieEinfach"), QStringLiteral("D:\\Host\\FORMULAR\\LEinfach.BMP"),
                              QStringLiteral("0x20000000")),
                         feld(QStringLiteral("Zeilentyp"), QStringLiteral("LEinfach")), PF, PV, PF}));
}

TEST_F(frmDruckenTextzeilen, SubtotalCountsEverySlotAndIsNotReset) {
  fenster->dblRechnungsbetrag = {1.5, 100, 50, 20};
  fenster->DruckeZwischensumme();
  QStringList calls = ll->calls();
  const qsizetype zeile = calls.indexOf(PF);
  ASSERT_GE(zeile, 3);
  EXPECT_EQ(calls.mid(zeile - 3, 3),
            (QStringList{feld(QStringLiteral("Bezeichnung"), QStringLiteral("Zwischensumme")),
                         feld(QStringLiteral("InfoPreis"), QStringLiteral("171,50")),
                         feld(QStringLiteral("Zeilentyp"), QStringLiteral("Zwischensumme"))}));
  EXPECT_EQ(ll->field(QStringLiteral("InfoPreis")), QString());
  EXPECT_EQ(ll->field(QStringLiteral("Bezeichnung")), QString());

  ll->clearCalls();
  fenster->DruckeZwischensumme();
  EXPECT_TRUE(ll->calls().contains(feld(QStringLiteral("InfoPreis"), QStringLiteral("171,50"))));
}

TEST_F(frmDruckenTextzeilen, SubtotalWithoutUnitPricesCarriesNoAmount) {
  fenster->dblRechnungsbetrag = {0, 100, 0, 0};
  fenster->blnDruckOhneEP = true;
  fenster->DruckeZwischensumme();
  const QStringList calls = ll->calls();
  const qsizetype zeile = calls.indexOf(PF);
  ASSERT_GE(zeile, 2);
  EXPECT_EQ(calls.mid(zeile - 2, 2), (QStringList{feld(QStringLiteral("Bezeichnung"), QStringLiteral("Zwischensumme")),
                                                  feld(QStringLiteral("Zeilentyp"), QStringLiteral("Zwischensumme"))}));
  EXPECT_TRUE(calls.filter(QRegularExpression(QStringLiteral("InfoPreis\", \"[^\"]"))).isEmpty());
}

}  // namespace
