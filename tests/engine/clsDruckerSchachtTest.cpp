// Loading a form's print settings from the form tables, and the route queries per copy and page.
#include "engine/clsDruckerSchacht.h"

#include <gtest/gtest.h>

#include "platform/automation/LateBinding.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/VbError.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ErrorOf.h"

using enginetest::printer;

namespace {

const QString kPc = QStringLiteral("PC07");
constexpr int kStatus = 3;

using testsupport::errorOf;

class clsDruckerSchachtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cat->setPrinters({printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1"), QStringLiteral("Fach 2")}),
                      printer(QStringLiteral("Tinte"))});
    cat->setDefaultPrinter(QStringLiteral("Laser"));
    SetDatenverzeichnis(db.dir().path() + QStringLiteral("/"));
    db.dir().write(QStringLiteral("Rechnung.lst"), "{}");
  }
  void TearDown() override { SetDatenverzeichnis(QString()); }

  // A complete form row whose template file exists.
  void addFullForm(int nummer) {
    db.addForm(kStatus, nummer,
               QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien, Absender, Kopftext, ÜberschriftText, GewerkText, "
                              "AngebotNrText, ProjektNrText, KundenNrText, SachbearbeiterText, DatumText, "
                              "ProjektText, BauherrText, NettoBetragText, MwStText, EndBetragText, "
                              "AllgemeinSchlussText, MEFont_Name, MEFont_Size, MEFont_Bold, MEFont_Color"),
               QStringLiteral("2, '$DATEN$Rechnung.lst', 3, 'Absender %1', 'Kopf %1', 'Rechnung', 'Gewerk', "
                              "'Angebot', 'Projekt-Nr', 'Kunden-Nr', 'Bearbeiter', 'Datum', 'Projekt', 'Bauherr', "
                              "'Netto', 'MwSt', 'Ende', 'Schluss', 'Arial', 9.5, -1, 255")
                   .arg(nummer));
  }

  ui::ScopedScriptedDialogs dialogs;
  enginetest::FakeCatalogue cat;
  enginetest::FormDatabase db;
  clsDruckerSchacht ds;
};

}  // namespace

// ---- the form row ----

TEST_F(clsDruckerSchachtTest, LoadReadsTextsCopiesKindAndTemplateOfTheFormRow) {
  addFullForm(1);
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_EQ(ds.Formatdatei(), db.dir().path() + QStringLiteral("/Rechnung.lst"));
  EXPECT_EQ(ds.BerichtArt(), 2);
  EXPECT_EQ(ds.AnzahlKopien(), 3);
  EXPECT_EQ(ds.Absender(), QStringLiteral("Absender 1"));
  EXPECT_EQ(ds.Kopftext(), QStringLiteral("Kopf 1"));
  EXPECT_EQ(ds.DokumentTitel(), QStringLiteral("Rechnung"));
  EXPECT_EQ(ds.GewerkText(), QStringLiteral("Gewerk"));
  EXPECT_EQ(ds.AngebotNrText(), QStringLiteral("Angebot"));
  EXPECT_EQ(ds.ProjektNrText(), QStringLiteral("Projekt-Nr"));
  EXPECT_EQ(ds.KundenNrText(), QStringLiteral("Kunden-Nr"));
  EXPECT_EQ(ds.SachbearbeiterText(), QStringLiteral("Bearbeiter"));
  EXPECT_EQ(ds.DatumText(), QStringLiteral("Datum"));
  EXPECT_EQ(ds.ProjektText(), QStringLiteral("Projekt"));
  EXPECT_EQ(ds.BauherrText(), QStringLiteral("Bauherr"));
  EXPECT_EQ(ds.NettoBetragText(), QStringLiteral("Netto"));
  EXPECT_EQ(ds.MwStText(), QStringLiteral("MwSt"));
  EXPECT_EQ(ds.EndBetragText(), QStringLiteral("Ende"));
  EXPECT_EQ(ds.AllgemeinSchlussText(), QStringLiteral("Schluss"));
}

TEST_F(clsDruckerSchachtTest, MissingTemplateFileShowsTheMessageAndTheLoadGoesOn) {
  db.addForm(kStatus, 1, QStringLiteral("Formatdatei, Kopftext"), QStringLiteral("'$Daten$Fehlt.lst', 'Kopf'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  const QString expected = db.dir().path() + QStringLiteral("/Fehlt.lst");
  const auto boxes = dialogs->messageBoxes();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0].text, QStringLiteral("Druckvorlage '") + expected + QStringLiteral("' nicht gefunden!"));
  EXPECT_EQ(boxes[0].style, ui::vbCritical);
  EXPECT_EQ(boxes[0].title, QStringLiteral("Skrivant"));
  EXPECT_EQ(ds.Formatdatei(), expected);
  EXPECT_EQ(ds.Kopftext(), QStringLiteral("Kopf"));
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
}

TEST_F(clsDruckerSchachtTest, NullTemplateIsABlankAndShowsTheMessageWithTheBlank) {
  db.addForm(kStatus, 1);
  ds.LoadDruckForm(kPc, 1, kStatus);
  const auto boxes = dialogs->messageBoxes();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0].text, QStringLiteral("Druckvorlage ' ' nicht gefunden!"));
  EXPECT_EQ(ds.Formatdatei(), QStringLiteral(" "));
}

TEST_F(clsDruckerSchachtTest, NullColumnsReadAsBlankZeroCopiesAndKindMinusOne) {
  db.addForm(kStatus, 1, QStringLiteral("Formatdatei"), QStringLiteral("'$Daten$Rechnung.lst'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Kopftext(), QStringLiteral(" "));
  EXPECT_EQ(ds.MwStText(), QStringLiteral(" "));
  EXPECT_EQ(ds.AnzahlKopien(), 0);
  EXPECT_EQ(ds.BerichtArt(), -1);
}

TEST_F(clsDruckerSchachtTest, NonNumericKindReadsMinusOne) {
  db.addForm(kStatus, 1, QStringLiteral("Formatdatei, BerichtArt"), QStringLiteral("'$Daten$Rechnung.lst', 'Liste'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.BerichtArt(), -1);
}

TEST_F(clsDruckerSchachtTest, CopiesTakeTheLeadingNumberRoundedToEven) {
  db.addForm(kStatus, 1, QStringLiteral("Formatdatei, AnzahlKopien"), QStringLiteral("'$Daten$Rechnung.lst', '2.5 Stück'"));
  db.addForm(kStatus, 2, QStringLiteral("Formatdatei, AnzahlKopien"), QStringLiteral("'$Daten$Rechnung.lst', 'viele'"));
  db.addForm(kStatus, 3, QStringLiteral("Formatdatei, AnzahlKopien"), QStringLiteral("'$Daten$Rechnung.lst', 40000"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.AnzahlKopien(), 2);
  ds.LoadDruckForm(kPc, 2, kStatus);
  EXPECT_EQ(ds.AnzahlKopien(), 0);
  ds.LoadDruckForm(kPc, 3, kStatus);
  EXPECT_EQ(errorOf([&] { ds.AnzahlKopien(); }), vb::ErrOverflow);
}

TEST_F(clsDruckerSchachtTest, QuantityUnitFontByAttributeInAnyCase) {
  addFullForm(1);
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(vb::CStr(ds.MEFont(QStringLiteral("Name"))), QStringLiteral("Arial"));
  EXPECT_DOUBLE_EQ(vb::CDbl(ds.MEFont(QStringLiteral("SIZE"))), 9.5);
  EXPECT_TRUE(vb::CBool(ds.MEFont(QStringLiteral("bold"))));
  EXPECT_EQ(vb::CLng(ds.MEFont(QStringLiteral("Color"))), 255);
  // A Null style column reads as the blank of a Null column.
  EXPECT_EQ(vb::CStr(ds.MEFont(QStringLiteral("Italic"))), QStringLiteral(" "));
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(clsDruckerSchachtTest, MisspeltFontAttributeShowsTheMessageAndGivesEmpty) {
  addFullForm(1);
  ds.LoadDruckForm(kPc, 1, kStatus);
  const vb::Variant v = ds.MEFont(QStringLiteral("Fett"));
  EXPECT_TRUE(v.isEmpty());
  const auto boxes = dialogs->messageBoxes();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0].text, QStringLiteral("Ungültige Parameterangabe für Mengeneinheit Fontwerte"));
  EXPECT_EQ(boxes[0].style, ui::vbOKOnly);
}

TEST_F(clsDruckerSchachtTest, BeforeAnyLoadTextsRaiseKindIsMinusOneAndArchivePrinterEmpty) {
  EXPECT_NE(errorOf([&] { ds.Kopftext(); }), 0);
  EXPECT_NE(errorOf([&] { ds.AnzahlKopien(); }), 0);
  EXPECT_EQ(ds.BerichtArt(), -1);
  EXPECT_EQ(ds.ArchivDrucker(), QString());
  EXPECT_EQ(ds.ArchivDruckerSchacht(), 0);
  EXPECT_EQ(errorOf([&] { ds.Drucker(1, 1); }), vb::ErrObjectNotSet);
}

TEST_F(clsDruckerSchachtTest, LoadOfAMissingFormKeepsNothingOfTheFormBefore) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, -1, -1, 1, 32000, QStringLiteral("'Archiv'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  ASSERT_EQ(ds.Kopftext(), QStringLiteral("Kopf 1"));
  ASSERT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
  ASSERT_EQ(ds.ArchivDrucker(), QStringLiteral("Archiv"));

  ds.LoadDruckForm(kPc, 5, kStatus);
  EXPECT_NE(errorOf([&] { ds.Kopftext(); }), 0);
  EXPECT_NE(errorOf([&] { ds.Formatdatei(); }), 0);
  EXPECT_EQ(ds.BerichtArt(), -1);
  EXPECT_EQ(ds.Drucker(1, 1), QString());
  EXPECT_EQ(ds.SchachtNr(1, 1), 0);
  EXPECT_EQ(ds.ArchivDrucker(), QString());
}

TEST_F(clsDruckerSchachtTest, FormWithoutRoutesDoesNotKeepTheRoutesOfTheFormBefore) {
  addFullForm(1);
  addFullForm(2);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"), 2, QStringLiteral("'Fach 2'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  ASSERT_EQ(ds.SchachtNr(1, 1), 2);
  ds.LoadDruckForm(kPc, 2, kStatus);
  EXPECT_EQ(ds.Kopftext(), QStringLiteral("Kopf 2"));
  EXPECT_EQ(ds.Drucker(1, 1), QString());
  EXPECT_EQ(ds.SchachtNr(1, 1), 0);
}

TEST_F(clsDruckerSchachtTest, LoadWithoutConnectionShowsTheErrorAndRaisesNothing) {
  addFullForm(1);
  SetGlobalConnectList(nullptr);
  EXPECT_NO_THROW(ds.LoadDruckForm(kPc, 1, kStatus));
  const auto boxes = dialogs->messageBoxes();
  ASSERT_FALSE(boxes.isEmpty());
  EXPECT_EQ(boxes[0].text, vb::standardErrorText(vb::ErrObjectNotSet));
  EXPECT_EQ(boxes[0].style, ui::vbOKOnly);
  EXPECT_EQ(ds.BerichtArt(), -1);
}

// ---- Lets ----

TEST_F(clsDruckerSchachtTest, LetReplacesADifferentTextButNotOneDifferingInCaseOnly) {
  addFullForm(1);
  ds.LoadDruckForm(kPc, 1, kStatus);
  ds.let_Kopftext(QStringLiteral("KOPF 1"));
  EXPECT_EQ(ds.Kopftext(), QStringLiteral("Kopf 1"));
  ds.let_Kopftext(QStringLiteral("Neuer Kopf"));
  EXPECT_EQ(ds.Kopftext(), QStringLiteral("Neuer Kopf"));
  ds.let_DokumentTitel(QStringLiteral("Gutschrift"));
  EXPECT_EQ(ds.DokumentTitel(), QStringLiteral("Gutschrift"));
  ds.let_MwStText(QStringLiteral("USt."));
  EXPECT_EQ(ds.MwStText(), QStringLiteral("USt."));
  // The tables are not written.
  EXPECT_EQ(db.rows(QStringLiteral("SELECT Kopftext FROM Auftrag_Formular_Neu")), QStringList{QStringLiteral("Kopf 1")});
}

TEST_F(clsDruckerSchachtTest, LetOfCopiesOverANullColumnStoresTheNumber) {
  db.addForm(kStatus, 1, QStringLiteral("Formatdatei"), QStringLiteral("'$Daten$Rechnung.lst'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  ds.let_AnzahlKopien(4);
  EXPECT_EQ(ds.AnzahlKopien(), 4);
}

TEST_F(clsDruckerSchachtTest, LetBeforeAnyLoadHasNoEffect) {
  ds.let_Kopftext(QStringLiteral("Kopf"));
  EXPECT_NE(errorOf([&] { ds.Kopftext(); }), 0);
}

// ---- routes: "$GLOBAL$" fallback, "Standard", open ranges ----

TEST_F(clsDruckerSchachtTest, WorkstationWithoutRoutesUsesTheGlobalRoutes) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  db.addRoute(QStringLiteral("ANDERER"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Fremd'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
}

TEST_F(clsDruckerSchachtTest, OwnRoutesAreNeverMergedWithGlobalOnes) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  db.addRoute(QStringLiteral("pc07"), kStatus, 1, 1, 1, 1, 1, QStringLiteral("'Laser'"), 1, QStringLiteral("'Fach 1'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Laser"));
  // Page 2 is covered only by the global route, which is not read.
  EXPECT_EQ(ds.Drucker(1, 2), QString());
  EXPECT_EQ(ds.Drucker(2, 1), QString());
}

TEST_F(clsDruckerSchachtTest, ArchivePrinterFallsBackOnItsOwn) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Laser'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, -1, -1, 1, 32000, QStringLiteral("'PDF-Archiv'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Laser"));
  EXPECT_EQ(ds.ArchivDrucker(), QStringLiteral("PDF-Archiv"));

  addFullForm(2);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 2, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  db.addRoute(kPc, kStatus, 2, -1, -1, 1, 32000, QStringLiteral("'Eigenes Archiv'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 2, -1, -1, 1, 32000, QStringLiteral("'PDF-Archiv'"));
  ds.LoadDruckForm(kPc, 2, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
  EXPECT_EQ(ds.ArchivDrucker(), QStringLiteral("Eigenes Archiv"));
}

TEST_F(clsDruckerSchachtTest, ArchivePrinterStandardIsNotResolvedAndArchiveRowsAreNoRoutes) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, -1, -1, 1, 32000, QStringLiteral("'Standard'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.ArchivDrucker(), QStringLiteral("Standard"));
  EXPECT_EQ(ds.Drucker(1, 1), QString());
}

TEST_F(clsDruckerSchachtTest, GlobalNameInAnyCaseReadsTheGlobalRows) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  ds.LoadDruckForm(QStringLiteral("$global$"), 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
}

TEST_F(clsDruckerSchachtTest, WorkstationNameWithAnApostropheIsQuoted) {
  addFullForm(1);
  db.addRoute(QStringLiteral("O'NEIL"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Laser'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Tinte'"));
  ds.LoadDruckForm(QStringLiteral("O'NEIL"), 1, kStatus);
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Laser"));
  // A name that tries to widen the condition finds no rows of its own and falls back.
  ds.LoadDruckForm(QStringLiteral("X' OR RechnerName<>'"), 1, kStatus);
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
}

TEST_F(clsDruckerSchachtTest, StandardMeansTheDefaultPrinterAtLoadTime) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'standard'"), 0,
              QStringLiteral("'Standard'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  cat->setDefaultPrinter(QStringLiteral("Tinte"));
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Laser"));
  EXPECT_EQ(ds.SchachtNr(1, 1), 0);
  EXPECT_EQ(ds.SchachtText(1, 1), QStringLiteral("Standard"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Tinte"));
}

TEST_F(clsDruckerSchachtTest, StandardWithAnUninstalledDefaultPrinterLeavesTheBinAlone) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Standard'"), 2,
              QStringLiteral("'Fach 2'"));
  cat->setDefaultPrinter(QStringLiteral("Entfernt"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Entfernt"));
  EXPECT_EQ(ds.SchachtNr(1, 1), 0);
  EXPECT_EQ(ds.SchachtText(1, 1), QString());
}

TEST_F(clsDruckerSchachtTest, StandardWithoutAnyDefaultPrinterGivesNoPrinterName) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Standard'"));
  cat->setDefaultPrinter(QString());
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_EQ(ds.Drucker(1, 1), QString());
  EXPECT_EQ(ds.SchachtNr(1, 1), 0);
}

TEST_F(clsDruckerSchachtTest, NamedPrinterKeepsItsBinAndPageOrder) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 1, 1, 9999, QStringLiteral("'Laser'"), 2, QStringLiteral("'Fach 2'"), true);
  db.addRoute(kPc, kStatus, 1, 2, 2, 1, 9999, QStringLiteral("'Laser'"), 1, QStringLiteral("'Fach 1'"), false);
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.SchachtNr(1, 3), 2);
  EXPECT_EQ(ds.SchachtText(1, 3), QStringLiteral("Fach 2"));
  EXPECT_TRUE(ds.LetzteSeiteZuerst(1, 1));
  EXPECT_EQ(ds.SchachtNr(2, 1), 1);
  EXPECT_FALSE(ds.LetzteSeiteZuerst(2, 1));
}

TEST_F(clsDruckerSchachtTest, NullPrinterBinAndOrderReadAsEmptyZeroAndFalse) {
  addFullForm(1);
  db.exec(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (RechnerName, FormStatus, FormNummer, "
                         "VonExemplar, BisExemplar, VonSeite, BisSeite) VALUES ('PC07', 3, 1, 1, 9, 1, 9)"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QString());
  EXPECT_EQ(ds.SchachtNr(1, 1), 0);
  EXPECT_EQ(ds.SchachtText(1, 1), QString());
  EXPECT_FALSE(ds.LetzteSeiteZuerst(1, 1));
}

TEST_F(clsDruckerSchachtTest, OpenUpperBoundsCoverCopy999AndPage99999) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 0, 1, 0, QStringLiteral("'Tinte'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(999, 32767), QStringLiteral("Tinte"));
  EXPECT_EQ(ds.Drucker(1000, 1), QString());
}

// ---- route selection by copy and page ----

TEST_F(clsDruckerSchachtTest, DefaultRoutesOfANewFormSplitFirstAndFurtherPages) {
  addFullForm(1);
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 1, 1, QStringLiteral("'Laser'"), 1, QStringLiteral("'Fach 1'"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99, 2, 9999, QStringLiteral("'Laser'"), 2, QStringLiteral("'Fach 2'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.SchachtNr(3, 1), 1);
  EXPECT_EQ(ds.SchachtNr(3, 2), 2);
  EXPECT_EQ(ds.SchachtNr(99, 9999), 2);
  EXPECT_EQ(ds.Drucker(3, 10000), QString());
  EXPECT_EQ(ds.Drucker(100, 1), QString());
}

TEST_F(clsDruckerSchachtTest, TheLastMatchingRouteInTableOrderWins) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Laser'"));
  db.addRoute(kPc, kStatus, 1, 2, 2, 1, 1, QStringLiteral("'Tinte'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(2, 1), QStringLiteral("Tinte"));
  EXPECT_EQ(ds.Drucker(2, 2), QStringLiteral("Laser"));
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Laser"));

  addFullForm(2);
  db.addRoute(kPc, kStatus, 2, 2, 2, 1, 1, QStringLiteral("'Tinte'"));
  db.addRoute(kPc, kStatus, 2, 1, 99, 1, 9999, QStringLiteral("'Laser'"));
  ds.LoadDruckForm(kPc, 2, kStatus);
  EXPECT_EQ(ds.Drucker(2, 1), QStringLiteral("Laser"));
}

TEST_F(clsDruckerSchachtTest, BoundsAreInclusive) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 2, 4, 3, 5, QStringLiteral("'Laser'"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(2, 3), QStringLiteral("Laser"));
  EXPECT_EQ(ds.Drucker(4, 5), QStringLiteral("Laser"));
  EXPECT_EQ(ds.Drucker(1, 3), QString());
  EXPECT_EQ(ds.Drucker(5, 3), QString());
  EXPECT_EQ(ds.Drucker(2, 2), QString());
  EXPECT_EQ(ds.Drucker(2, 6), QString());
}

TEST_F(clsDruckerSchachtTest, CopyZeroOrNegativeFindsNoRoute) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Laser'"), 1, QStringLiteral("'Fach 1'"), true);
  ds.LoadDruckForm(kPc, 1, kStatus);
  for (short exemplar : {short(0), short(-1)}) {
    EXPECT_FALSE(ds.LetzteSeiteZuerst(exemplar, 1));
    EXPECT_EQ(ds.Drucker(exemplar, 1), QString());
    EXPECT_EQ(ds.SchachtNr(exemplar, 1), 0);
    EXPECT_EQ(ds.SchachtText(exemplar, 1), QString());
  }
}

TEST_F(clsDruckerSchachtTest, RouteRowsWithANullBoundNeverMatch) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Laser'"));
  db.exec(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (RechnerName, FormStatus, FormNummer, "
                         "VonExemplar, BisExemplar, VonSeite, Drucker) VALUES ('PC07', 3, 1, 1, 9, 1, 'Tinte')"));
  ds.LoadDruckForm(kPc, 1, kStatus);
  EXPECT_EQ(ds.Drucker(1, 1), QStringLiteral("Laser"));
}

// ---- late binding ----

TEST_F(clsDruckerSchachtTest, MembersAreReachedByName) {
  addFullForm(1);
  db.addRoute(kPc, kStatus, 1, 1, 99, 1, 9999, QStringLiteral("'Laser'"), 2, QStringLiteral("'Fach 2'"));
  using automation::CallKind;
  automation::callByName(ds, QStringLiteral("LoadDruckForm"), CallKind::Method,
                         {vb::Variant(kPc), vb::Variant(1), vb::Variant(kStatus)});
  EXPECT_EQ(vb::CStr(automation::callByName(ds, QStringLiteral("kopftext"), CallKind::Get)), QStringLiteral("Kopf 1"));
  automation::callByName(ds, QStringLiteral("Kopftext"), CallKind::Let, {vb::Variant(QStringLiteral("Anders"))});
  EXPECT_EQ(ds.Kopftext(), QStringLiteral("Anders"));
  EXPECT_EQ(vb::CLng(automation::callByName(ds, QStringLiteral("SchachtNr"), CallKind::Get,
                                            {vb::Variant(1), vb::Variant(1)})),
            2);
  EXPECT_EQ(vb::CStr(automation::callByName(ds, QStringLiteral("MEFont"), CallKind::Get,
                                            {vb::Variant(QStringLiteral("Name"))})),
            QStringLiteral("Arial"));
}
