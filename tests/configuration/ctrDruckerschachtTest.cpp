// The printer and tray panel on a form database made from the host schema: what it shows of
// stored routes, what a user's choices write back, that it touches no row but its own, and that
// the engine prints by what it wrote (through the private cupsd).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QApplication>
#include <QLineEdit>

#include "configuration/ctrDruckerschacht.h"
#include "engine/clsDruckerSchacht.h"
#include "tests/engine/DruckausgabeSupport.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/CupsDruckweg.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using configuration::ctrDruckerschacht;
using testsupport::errorOf;

constexpr short kStatus = 3;
constexpr short kNummer = 1;
const QString kPC = QStringLiteral("PC07");
const QString kGlobal = QStringLiteral("$GLOBAL$");

QStringList eintraege(const QComboBox* liste) {
  QStringList out;
  for (int i = 0; i < liste->count(); ++i) out << liste->itemText(i);
  return out;
}

class ctrDruckerschachtTest : public ::testing::Test {
 protected:
  ctrDruckerschachtTest() {
    katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1"), QStringLiteral("Fach 2"),
                                                                         QStringLiteral("Fach 3")}),
                          enginetest::printer(QStringLiteral("Etiketten"), {QStringLiteral("Rolle")})});
    katalog->setDefaultPrinter(QStringLiteral("Laser"));
    panel = std::make_unique<ctrDruckerschacht>();
    panel->set_ConnectList(GetGlobalConnectList());
  }

  // One stored range: its first-page and further-pages rows.
  void bereich(const QString& rechner, int nummer, int von, int bis, const QString& drucker, int schacht,
               int schachtWeitere) const {
    db.addRoute(rechner, kStatus, nummer, von, bis, 1, 1, QStringLiteral("'%1'").arg(drucker), schacht,
                QStringLiteral("'Fach %1'").arg(schacht));
    db.addRoute(rechner, kStatus, nummer, von, bis, 2, 99999, QStringLiteral("'%1'").arg(drucker), schachtWeitere,
                QStringLiteral("'Fach %1'").arg(schachtWeitere));
  }

  // The route rows of a form and workstation in copy and page order, without their ids.
  QStringList routen(const QString& rechner, int nummer = kNummer) const {
    return db.rows(QStringLiteral("SELECT VonExemplar, BisExemplar, VonSeite, BisSeite, Drucker, SchachtText, "
                                  "SchachtNr, LetzteSeiteZuerst FROM Auftrag_Formular_Druckerschacht_Neu WHERE "
                                  "RechnerName='%1' AND FormNummer=%2 ORDER BY VonExemplar, VonSeite")
                       .arg(rechner)
                       .arg(nummer));
  }
  QStringList alleZeilen() const {
    return db.rows(QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu ORDER BY ID"));
  }

  enginetest::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase db;
  std::unique_ptr<ctrDruckerschacht> panel;
};

TEST_F(ctrDruckerschachtTest, StoredRangesFillTheRowsAndOneEmptyRowShowsBelow) {
  panel->LoadData(kStatus, kNummer, kPC);
  EXPECT_EQ(eintraege(panel->Druckerliste(0)),
            (QStringList{QStringLiteral("Standard"), QStringLiteral("Laser"), QStringLiteral("Etiketten")}));
  EXPECT_EQ(eintraege(panel->DruckerlisteWeitere(2)), QStringList{"wie 1. Seite"} + eintraege(panel->Druckerliste(0)));
  EXPECT_TRUE(panel->VonExemplar(0)->text().isEmpty());
  EXPECT_TRUE(panel->Druckerliste(0)->currentText().isEmpty());
  EXPECT_EQ((QList<bool>{panel->ZeileSichtbar(0), panel->ZeileSichtbar(1), panel->ZeileSichtbar(2)}),
            (QList<bool>{true, false, false}));

  bereich(kPC, kNummer, 1, 1, QStringLiteral("Laser"), 1, 2);
  bereich(kPC, kNummer, 2, 99, QStringLiteral("Etiketten"), 1, 1);
  db.addRoute(kPC, kStatus, kNummer, -1, -1, 1, 32000, QStringLiteral("'Archiv'"));
  db.addRoute(kGlobal, kStatus, kNummer, 1, 99, 1, 1, QStringLiteral("'Global'"));
  panel->LoadData(kStatus, kNummer, kPC);
  EXPECT_EQ(panel->VonExemplar(0)->text(), QStringLiteral("1"));
  EXPECT_EQ(panel->BisExemplar(0)->text(), QStringLiteral("1"));
  EXPECT_EQ(panel->Druckerliste(0)->currentText(), QStringLiteral("Laser"));
  EXPECT_EQ(panel->Schachtliste(0)->currentText(), QStringLiteral("Fach 1"));
  EXPECT_EQ(panel->SchachtlisteWeitere(0)->currentText(), QStringLiteral("Fach 2"));
  EXPECT_EQ(eintraege(panel->SchachtlisteWeitere(0)), (QStringList{"Standard", "Fach 1", "Fach 2", "Fach 3"}));
  EXPECT_EQ(panel->VonExemplar(1)->text(), QStringLiteral("2"));
  EXPECT_EQ(panel->BisExemplar(1)->text(), QStringLiteral("99"));
  EXPECT_EQ(panel->DruckerlisteWeitere(1)->currentText(), QStringLiteral("wie 1. Seite"));  // Etiketten, Fach 1 again
  EXPECT_EQ(eintraege(panel->Schachtliste(1)), (QStringList{"Standard", "Rolle"}));
  EXPECT_TRUE(panel->ZeileSichtbar(2));
  EXPECT_TRUE(panel->VonExemplar(2)->text().isEmpty());
  EXPECT_EQ(panel->Zeilen(), 3);
}

// What a user's choices write: copies as numbers, the last copy from the next range, trays by
// their numbers, "Standard" as tray 0 only while the default printer is installed.
TEST_F(ctrDruckerschachtTest, SavedRowsFollowTheCopyAndTrayRules) {
  db.addRoute(kPC, kStatus, kNummer, -1, -1, 1, 32000, QStringLiteral("'Archiv'"));
  panel->LoadData(kStatus, kNummer, kPC);
  panel->VonExemplarEingeben(0, QStringLiteral("1"));
  panel->DruckerlisteWaehlen(0, QStringLiteral("Laser"));
  EXPECT_EQ(eintraege(panel->Schachtliste(0)).size(), 4);
  panel->SchachtlisteWaehlen(0, QStringLiteral("Fach 2"));
  panel->DruckerlisteWeitereWaehlen(0, QStringLiteral("laser"));
  panel->SchachtlisteWeitereWaehlen(0, QStringLiteral("fach 3"));
  panel->blnLetzteZuerstSetzen(0, true);
  EXPECT_TRUE(panel->ZeileSichtbar(1));
  panel->VonExemplarEingeben(1, QStringLiteral("3"));
  panel->DruckerlisteWaehlen(1, QStringLiteral("Standard"));
  panel->DruckerlisteWeitereWaehlen(1, QStringLiteral("Standard"));
  EXPECT_EQ(panel->SchachtlisteWeitere(1)->currentText(), QStringLiteral("Standard"));
  // No tray is tray 0; further pages like the first are written as the first.
  EXPECT_EQ(panel->DruckerlisteWeitere(2)->currentText(), QStringLiteral("wie 1. Seite"));
  panel->VonExemplarEingeben(2, QStringLiteral("5"));
  panel->DruckerlisteWaehlen(2, QStringLiteral("Etiketten"));
  panel->SaveData();

  const QStringList erwartet = {QStringLiteral("1|2|1|1|Laser|Fach 2|2|Wahr"),
                                QStringLiteral("1|2|2|99999|laser|fach 3|3|Wahr"),
                                QStringLiteral("3|4|1|1|Standard|Standard|0|Falsch"),
                                QStringLiteral("3|4|2|99999|Standard|Standard|0|Falsch"),
                                QStringLiteral("5|99|1|1|Etiketten||0|Falsch"),
                                QStringLiteral("5|99|2|99999|Etiketten||0|Falsch")};
  const QString archiv = QStringLiteral("-1|-1|1|32000|Archiv||0|Falsch");
  EXPECT_EQ(routen(kPC), QStringList{archiv} + erwartet);

  katalog->setDefaultPrinter(QStringLiteral("Verschwunden"));
  panel->LoadData(kStatus, kNummer, kPC);
  panel->SaveData();
  EXPECT_EQ(routen(kPC).mid(3, 2), (QStringList{QStringLiteral("3|4|1|1|Standard|Standard|NULL|Falsch"),
                                                QStringLiteral("3|4|2|99999|Standard|Standard|NULL|Falsch")}));

  // Without a first-page printer a range is dropped, its further-pages choice and old rows with it.
  for (int i = 0; i < 3; ++i) panel->DruckerlisteWaehlen(i, QString());
  panel->SaveData();
  EXPECT_EQ(routen(kPC), QStringList{archiv});
}

// Nothing or a whole number from 1 up, and no last copy before the first: a first copy typed
// beyond the last takes it along, so 1-5 becomes 7-10 by typing "von" first.
TEST_F(ctrDruckerschachtTest, CopyRangesAreRefusedWhereTheyAreTyped) {
  panel->LoadData(kStatus, kNummer, kPC);
  panel->DruckerlisteWaehlen(0, QStringLiteral("Laser"));
  panel->VonExemplarEingeben(0, QStringLiteral("1"));
  panel->BisExemplarEingeben(0, QStringLiteral("5"));
  const struct { bool bis; const char* eingabe; const char* von; const char* bisDanach; bool refused; } faelle[] = {
      {false, "abc", "1", "5", true}, {true, "3x", "1", "5", true},   {false, "0", "1", "5", true},
      {true, "2,5", "1", "5", true},  {false, "40000", "1", "5", true}, {false, "7", "7", "7", false},
      {true, "10", "7", "10", false}, {true, "6", "7", "10", true},   {false, "", "", "10", false},
      {false, " 4 ", " 4 ", "10", false}, {true, "", " 4 ", "", false}};
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.eingabe);
    const auto vorher = dialogs->messageBoxes().size();
    const QString eingabe = QString::fromUtf8(f.eingabe);
    f.bis ? panel->BisExemplarEingeben(0, eingabe) : panel->VonExemplarEingeben(0, eingabe);
    EXPECT_EQ(panel->VonExemplar(0)->text(), QString::fromUtf8(f.von));
    EXPECT_EQ(panel->BisExemplar(0)->text(), QString::fromUtf8(f.bisDanach));
    EXPECT_EQ(dialogs->messageBoxes().size(), vorher + (f.refused ? 1 : 0));
  }
  QFocusEvent hinein(QEvent::FocusIn), hinaus(QEvent::FocusOut);  // typed by the user and left
  QCoreApplication::sendEvent(panel->BisExemplar(0), &hinein);
  panel->BisExemplar(0)->setText(QStringLiteral("x"));
  QCoreApplication::sendEvent(panel->BisExemplar(0), &hinaus);
  EXPECT_EQ(panel->BisExemplar(0)->text(), QString());
  EXPECT_TRUE(dialogs->messageBoxes().last().text.contains(QStringLiteral("\"x\" ist keine ganze Zahl")));
  panel->SaveData();
  EXPECT_EQ(routen(kPC), (QStringList{"4|99|1|1|Laser||0|Falsch", "4|99|2|99999|Laser||0|Falsch"}));
}

// Two ranges that share a copy are refused where the second is typed. A range left open ends
// before the next higher range, wherever that one's row stands, and never before its own start.
TEST_F(ctrDruckerschachtTest, OverlappingRangesAreRefused) {
  panel->LoadData(kStatus, kNummer, kPC);
  for (int i : {0, 1, 2}) panel->DruckerlisteWaehlen(i, QStringLiteral("Laser"));
  const struct { int zeile; bool bis; const char* text; bool angenommen; } schritte[] = {
      {0, false, "2", true}, {0, true, "99", true}, {1, true, "60", true}, {1, false, "50", false},
      {0, true, "49", true}, {1, false, "50", true}, {2, false, "55", false},  // inside 50-60, open to the end
      {0, true, "", true},   {0, false, "70", true}, {2, false, "120", true}};  // 70 up to 119, behind 50-60
  for (const auto& f : schritte) {
    const auto vorher = dialogs->messageBoxes().size();
    f.bis ? panel->BisExemplarEingeben(f.zeile, f.text) : panel->VonExemplarEingeben(f.zeile, f.text);
    EXPECT_EQ((f.bis ? panel->BisExemplar(f.zeile) : panel->VonExemplar(f.zeile))->text() == f.text, f.angenommen) << f.text;
    EXPECT_EQ(dialogs->messageBoxes().size(), vorher + (f.angenommen ? 0 : 1)) << f.text;
  }
  EXPECT_TRUE(dialogs->messageBoxes().value(0).text.startsWith(
      QStringLiteral("Die Exemplare 50 bis 60 überschneiden sich mit den Exemplaren 2 bis 99 der 1. Zeile.")));
  panel->SaveData();
  EXPECT_EQ(routen(kPC).filter(QStringLiteral("|1|1|Laser")),
            (QStringList{"50|60|1|1|Laser||0|Falsch", "70|119|1|1|Laser||0|Falsch", "120|120|1|1|Laser||0|Falsch"}));
}

// Further pages that print where the first page prints show "wie 1. Seite" in every row, also a
// new form's stored range (both pages "Standard"): choosing another printer for the first page then
// takes the further pages along. "Standard" stays on offer in every tray list.
TEST_F(ctrDruckerschachtTest, FurtherPagesShowWhereTheyPrint) {
  katalog->setDefaultPrinter(QStringLiteral("Etiketten"));
  for (int seite : {1, 2})  // as a new template stores its routes
    db.addRoute(kGlobal, kStatus, kNummer, 1, 9, seite, seite == 1 ? 1 : 9999, "'Standard'", 0, "'Standard'");
  bereich(kGlobal, kNummer, 10, 99, QStringLiteral("Laser"), 1, 2);
  panel->LoadData(kStatus, kNummer, kGlobal);
  for (int i : {0, 1, 2})
    EXPECT_EQ(panel->DruckerlisteWeitere(i)->currentText(), (QStringList{"wie 1. Seite", "Laser", "wie 1. Seite"})[i]);
  EXPECT_FALSE(panel->SchachtlisteWeitere(0)->isEnabled());
  panel->DruckerlisteWaehlen(0, QStringLiteral("Laser"));
  EXPECT_EQ(eintraege(panel->Schachtliste(0)), (QStringList{"Standard", "Fach 1", "Fach 2", "Fach 3"}));
  panel->SchachtlisteWaehlen(0, QStringLiteral("Fach 2"));
  panel->SaveData();
  clsDruckerSchacht engine;
  engine.LoadDruckForm(QStringLiteral("ANDERER"), kNummer, kStatus);
  EXPECT_EQ(engine.Drucker(1, 2), QStringLiteral("Laser"));
  EXPECT_EQ(engine.SchachtNr(1, 2), 2);

  // The printer's own tray chosen again after another: tray 0, on both pages.
  panel->LoadData(kStatus, kNummer, kGlobal);
  panel->SchachtlisteWaehlen(0, QStringLiteral("Standard"));
  panel->SaveData();
  EXPECT_EQ(routen(kGlobal).mid(0, 2),
            (QStringList{"1|9|1|1|Laser|Standard|0|Falsch", "1|9|2|99999|Laser|Standard|0|Falsch"}));
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(ctrDruckerschachtTest, PrinterChoicesFillTheTraysAndRowsCloseUp) {
  panel->LoadData(kStatus, kNummer, kPC);
  panel->DruckerlisteWaehlen(0, QStringLiteral("Laser"));
  panel->SchachtlisteWaehlen(0, QStringLiteral("Fach 3"));
  panel->DruckerlisteWaehlen(0, QStringLiteral("Etiketten"));
  EXPECT_EQ(eintraege(panel->Schachtliste(0)), (QStringList{"Standard", "Rolle"}));
  EXPECT_EQ(panel->Schachtliste(0)->currentText(), QStringLiteral("Fach 3"));  // the text stays
  panel->DruckerlisteWaehlen(0, QStringLiteral("Unbekannt"));
  EXPECT_EQ(eintraege(panel->Schachtliste(0)), (QStringList{"Standard", "Rolle"}));
  panel->DruckerlisteWaehlen(0, QStringLiteral("Standard"));
  EXPECT_EQ(panel->Schachtliste(0)->currentText(), QStringLiteral("Standard"));
  EXPECT_EQ(eintraege(panel->Schachtliste(0)), QStringList{"Standard"});

  // The same by the keyboard focus: leaving the printer list loads the trays.
  panel->show();
  QApplication::setActiveWindow(panel.get());
  panel->Druckerliste(0)->setFocus();
  ASSERT_TRUE(panel->Druckerliste(0)->hasFocus());
  panel->Druckerliste(0)->setEditText(QStringLiteral("Laser"));
  panel->VonExemplar(0)->setFocus();
  ASSERT_TRUE(panel->VonExemplar(0)->hasFocus());
  EXPECT_EQ(eintraege(panel->Schachtliste(0)).size(), 4);

  panel->VonExemplarEingeben(1, QStringLiteral("4"));
  panel->DruckerlisteWaehlen(1, QStringLiteral("Laser"));
  panel->blnLetzteZuerstSetzen(1, true);
  EXPECT_TRUE(panel->ZeileSichtbar(2));
  // Emptying row 0 moves row 1 up into it.
  panel->DruckerlisteWaehlen(0, QString());
  panel->SchachtlisteWaehlen(0, QString());
  EXPECT_EQ(panel->VonExemplar(0)->text(), QStringLiteral("4"));
  EXPECT_EQ(panel->Druckerliste(0)->currentText(), QStringLiteral("Laser"));
  EXPECT_TRUE(panel->blnLetzteZuerst(0)->isChecked());
  EXPECT_TRUE(panel->VonExemplar(1)->text().isEmpty());
  EXPECT_FALSE(panel->blnLetzteZuerst(1)->isChecked());
  EXPECT_TRUE(panel->ZeileSichtbar(1));
  EXPECT_FALSE(panel->ZeileSichtbar(2));
}

// More ranges than the panel's three rows, a load that fails half-way and a save that fails
// half-way: none of them changes a row that is not the current form's and workstation's.
TEST_F(ctrDruckerschachtTest, SavesTouchOnlyTheFormsOwnRows) {
  for (int i = 1; i <= 4; ++i) bereich(kPC, kNummer, i, i == 4 ? 99 : i, QStringLiteral("Laser"), 1, 2);
  db.addRoute(kPC, kStatus, kNummer, -1, -1, 1, 32000, QStringLiteral("'Archiv'"));
  bereich(kGlobal, kNummer, 1, 99, QStringLiteral("Laser"), 3, 3);
  bereich(QStringLiteral("PC99"), kNummer, 1, 99, QStringLiteral("Laser"), 2, 2);
  bereich(kPC, 2, 1, 99, QStringLiteral("Laser"), 1, 1);
  bereich(kPC, 3, 1, 99, QStringLiteral("Laser"), 1, 1);
  db.exec(QStringLiteral("UPDATE Auftrag_Formular_Druckerschacht_Neu SET VonSeite='x' WHERE FormNummer=3 AND VonSeite=2"));
  const QStringList vorher = alleZeilen();
  const QStringList eigene = routen(kPC);

  panel->LoadData(kStatus, kNummer, kPC);
  ASSERT_EQ(panel->Zeilen(), 4);
  EXPECT_EQ(panel->VonExemplar(3)->text(), QStringLiteral("4"));
  panel->SaveData();
  EXPECT_EQ(routen(kPC), eigene);
  const QStringList nachher = alleZeilen();
  for (const QString& zeile : vorher) {
    if (zeile.contains(QStringLiteral("|3|1|PC07|")) && !zeile.contains(QStringLiteral("|-1|-1|"))) continue;
    EXPECT_TRUE(nachher.contains(zeile)) << zeile.toStdString();
  }
  EXPECT_EQ(nachher.size(), vorher.size());

  // A tray the printer does not have fails the save, which leaves every row as it was.
  panel->SchachtlisteWaehlen(0, QStringLiteral("Fach 9"));
  EXPECT_EQ(errorOf([&] { panel->SaveData(); }), vb::ErrInvalidCall);
  EXPECT_EQ(alleZeilen(), nachher);

  // Form 3's rows cannot be read; the panel then saves nothing, not form 1's rows under form 3's
  // keys and not form 3's half under form 1's.
  EXPECT_NE(errorOf([&] { panel->LoadData(kStatus, 3, kPC); }), 0);
  panel->SaveData();
  EXPECT_EQ(alleZeilen(), nachher);
  panel->LoadData(kStatus, kNummer, kPC);
  EXPECT_EQ(panel->Zeilen(), 4);
  panel->LoadData(kStatus, 2, kPC);
  EXPECT_EQ(panel->Zeilen(), 3);
}

// The engine's own route reading finds what the panel wrote: this workstation's rows for this
// workstation, the "$GLOBAL$" rows for every other one.
TEST_F(ctrDruckerschachtTest, TheEngineReadsTheRoutesThePanelWrote) {
  db.addForm(kStatus, kNummer);
  const QString pc = GetRechnerName();
  panel->LoadData(kStatus, kNummer, pc);
  panel->VonExemplarEingeben(0, QStringLiteral("1"));
  panel->BisExemplarEingeben(0, QStringLiteral("2"));
  panel->DruckerlisteWaehlen(0, QStringLiteral("Laser"));
  panel->SchachtlisteWaehlen(0, QStringLiteral("Fach 2"));
  panel->DruckerlisteWeitereWaehlen(0, QStringLiteral("Laser"));
  panel->SchachtlisteWeitereWaehlen(0, QStringLiteral("Fach 3"));
  panel->SaveData();
  panel->LoadData(kStatus, kNummer, kGlobal);
  panel->VonExemplarEingeben(0, QStringLiteral("1"));
  panel->DruckerlisteWaehlen(0, QStringLiteral("Etiketten"));
  panel->SchachtlisteWaehlen(0, QStringLiteral("Rolle"));
  panel->DruckerlisteWeitereWaehlen(0, QStringLiteral("Standard"));
  panel->SaveData();

  struct Fall {
    QString rechner;
    short exemplar, seite;
    QString drucker;
    int schacht;
  };
  const QList<Fall> faelle = {{pc, 1, 1, QStringLiteral("Laser"), 2},     {pc, 2, 7, QStringLiteral("Laser"), 3},
                              {pc, 3, 1, QString(), 0},                   {QStringLiteral("ANDERER"), 1, 1, QStringLiteral("Etiketten"), 1},
                              {QStringLiteral("ANDERER"), 99, 2, QStringLiteral("Laser"), 0}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(QStringLiteral("%1 %2/%3").arg(f.rechner).arg(f.exemplar).arg(f.seite).toStdString());
    clsDruckerSchacht schacht;
    schacht.LoadDruckForm(f.rechner, kNummer, kStatus);
    EXPECT_EQ(schacht.Drucker(f.exemplar, f.seite), f.drucker);
    EXPECT_EQ(schacht.SchachtNr(f.exemplar, f.seite), f.schacht);
  }
}

// "copies 1-2, page 1 from tray 2, pages 2 on from tray 3" chosen in the panel for this workstation
// and printed by the print window on the private cupsd: every job carries its tray's escape.
TEST(ctrDruckerschacht_CupsTest, ThePrintedJobsCarryTheTraysChosenInThePanel) {
  using testsupport::PrivateCupsd;
  SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
  PrivateCupsd cupsd;
  ASSERT_TRUE(cupsd.start()) << cupsd.failure();
  const QString queue = QStringLiteral("Laser");
  ASSERT_TRUE(cupsd.addPclQueue(queue)) << cupsd.failure();
  testsupport::CupsDruckweg druckweg;
  {
    enginetest::DebugLog log;
    ui::ScopedScriptedDialogs dialogs;
    enginetest::FormDatabase db;
    db.addRoute(kGlobal, druckausgabe::kFormStatus, druckausgabe::kFormNummer, 1, 99, 1, 99999, QStringLiteral("'Laser'"),
                4, QStringLiteral("'Tray 4'"));

    ctrDruckerschacht panel;
    panel.set_ConnectList(GetGlobalConnectList());
    panel.LoadData(druckausgabe::kFormStatus, druckausgabe::kFormNummer, GetRechnerName());
    panel.VonExemplarEingeben(0, QStringLiteral("1"));
    panel.BisExemplarEingeben(0, QStringLiteral("2"));
    panel.DruckerlisteWaehlen(0, queue);
    ASSERT_TRUE(eintraege(panel.Schachtliste(0)).contains(QStringLiteral("Tray 2")));
    panel.SchachtlisteWaehlen(0, QStringLiteral("Tray 2"));
    panel.DruckerlisteWeitereWaehlen(0, queue);
    panel.SchachtlisteWeitereWaehlen(0, QStringLiteral("Tray 3"));
    panel.SaveData();

    const QString vorlage = druckausgabe::schreibeVorlage(log.dir());
    auto fenster = std::make_shared<frmDrucken>(std::make_shared<report::ReportControl>());
    druckausgabe::ladeFormular(*fenster, db, vorlage);
    druckausgabe::dokument(*fenster, 2, vorlage, QStringLiteral("Rechnung 4711"), 3, 2);
    fenster.reset();

    const auto jobs = cupsd.takeJobs(queue);
    ASSERT_TRUE(jobs) << cupsd.failure();
    const QByteArray fach2 = cupsd.trayEscape(queue, QStringLiteral("Tray2"));
    const QByteArray fach3 = cupsd.trayEscape(queue, QStringLiteral("Tray3"));
    const QByteArray fach4 = cupsd.trayEscape(queue, QStringLiteral("Tray4"));
    ASSERT_FALSE(fach2.isEmpty());
    ASSERT_FALSE(fach3.isEmpty());
    ASSERT_EQ(jobs->size(), 4);
    for (int j = 0; j < 4; ++j) {
      const QByteArray& pcl = jobs->at(j).output;
      const bool ersteSeite = j % 2 == 0;
      EXPECT_TRUE(pcl.contains(ersteSeite ? fach2 : fach3)) << "job " << j + 1;
      EXPECT_FALSE(pcl.contains(ersteSeite ? fach3 : fach2)) << "job " << j + 1;
      EXPECT_FALSE(pcl.contains(fach4)) << "job " << j + 1;
    }
  }
}

}  // namespace
