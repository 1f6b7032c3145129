// The archive printer panel on a form database made from the host schema: the one archive row of
// a form and workstation, read by the engine's form settings, and no other row touched.
#include <gtest/gtest.h>

#include <QComboBox>

#include "configuration/ctrArchivierungsDrucker.h"
#include "engine/clsDruckerSchacht.h"
#include "engine/modSystem.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/engine/EngineTestSupport.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using configuration::ctrArchivierungsDrucker;

constexpr short kStatus = 3;
constexpr short kNummer = 1;
const QString kGlobal = QStringLiteral("$GLOBAL$");

class ctrArchivierungsDruckerTest : public ::testing::Test {
 protected:
  ctrArchivierungsDruckerTest() {
    katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1")}),
                          enginetest::printer(QStringLiteral("Archiv"))});
    panel.set_ConnectList(GetGlobalConnectList());
  }

  // Every route row without its id, in insertion order.
  QStringList zeilen() const {
    return db.rows(QStringLiteral("SELECT RechnerName, FormNummer, VonExemplar, BisExemplar, VonSeite, BisSeite, "
                                  "Drucker, SchachtText, SchachtNr, LetzteSeiteZuerst "
                                  "FROM Auftrag_Formular_Druckerschacht_Neu ORDER BY ID"));
  }

  enginetest::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase db;
  ctrArchivierungsDrucker panel;
};

TEST_F(ctrArchivierungsDruckerTest, TheArchiveRowIsReplacedAndNoOtherRowTouched) {
  const QString pc = GetRechnerName();
  db.addForm(kStatus, kNummer);
  db.addRoute(pc, kStatus, kNummer, 1, 99, 1, 1, QStringLiteral("'Laser'"), 1, QStringLiteral("'Fach 1'"));
  db.addRoute(kGlobal, kStatus, kNummer, -1, -1, 1, 32000, QStringLiteral("'Global-Archiv'"));
  db.addRoute(QStringLiteral("PC99"), kStatus, kNummer, -1, -1, 1, 32000, QStringLiteral("'Fremd'"));
  db.addRoute(pc, kStatus, 2, -1, -1, 1, 32000, QStringLiteral("'Anderes Formular'"));
  const QStringList fremde = zeilen();

  // No archive row: the printers and an empty text; saving the empty text writes nothing.
  panel.LoadData(kStatus, kNummer, pc);
  EXPECT_EQ(panel.Druckerliste()->count(), 2);
  EXPECT_EQ(panel.Druckerliste()->itemText(0), QStringLiteral("Laser"));
  EXPECT_TRUE(panel.Druckerliste()->currentText().isEmpty());
  panel.SaveData();
  EXPECT_EQ(zeilen(), fremde);

  panel.DruckerlisteWaehlen(QStringLiteral("Archiv"));
  panel.SaveData();
  const QString archivZeile = pc + QStringLiteral("|1|-1|-1|1|32000|Archiv||NULL|Falsch");
  EXPECT_EQ(zeilen(), fremde + QStringList{archivZeile});

  // The engine offers this workstation's row, and the "$GLOBAL$" one to every other workstation.
  for (const auto& [rechner, drucker] : {std::pair{pc, QStringLiteral("Archiv")},
                                         std::pair{QStringLiteral("ANDERER"), QStringLiteral("Global-Archiv")}}) {
    clsDruckerSchacht schacht;
    schacht.LoadDruckForm(rechner, kNummer, kStatus);
    EXPECT_EQ(schacht.ArchivDrucker(), drucker) << rechner.toStdString();
  }

  // A printer that is no longer installed is shown and kept as it is.
  db.exec(QStringLiteral("UPDATE Auftrag_Formular_Druckerschacht_Neu SET Drucker='Verschwunden' WHERE Drucker='Archiv'"));
  panel.LoadData(kStatus, kNummer, pc);
  EXPECT_EQ(panel.Druckerliste()->currentText(), QStringLiteral("Verschwunden"));
  panel.SaveData();
  EXPECT_EQ(zeilen().last(), QString(archivZeile).replace(QStringLiteral("Archiv|"), QStringLiteral("Verschwunden|")));

  // Clearing the text removes the archive row and nothing else.
  panel.DruckerlisteWaehlen(QString());
  panel.SaveData();
  EXPECT_EQ(zeilen(), fremde);

  // A workstation name is a value, never part of the statement.
  const QString name = QStringLiteral("X' OR '1'='1");
  panel.LoadData(kStatus, kNummer, name);
  EXPECT_TRUE(panel.Druckerliste()->currentText().isEmpty());
  panel.DruckerlisteWaehlen(QStringLiteral("Laser"));
  panel.SaveData();
  EXPECT_EQ(zeilen(), fremde + QStringList{name + QStringLiteral("|1|-1|-1|1|32000|Laser||NULL|Falsch")});
}

TEST_F(ctrArchivierungsDruckerTest, TwoArchiveRowsShowTheFirstAndSaveAsOne) {
  db.addRoute(kGlobal, kStatus, kNummer, -1, -1, 2, 32000, QStringLiteral("'Zweiter'"));
  db.addRoute(kGlobal, kStatus, kNummer, -1, -1, 1, 32000, QStringLiteral("'Erster'"));
  panel.LoadData(kStatus, kNummer, kGlobal);
  EXPECT_EQ(panel.Druckerliste()->currentText(), QStringLiteral("Erster"));
  panel.SaveData();
  EXPECT_EQ(zeilen(), QStringList{QStringLiteral("$GLOBAL$|1|-1|-1|1|32000|Erster||NULL|Falsch")});
}

// Before any load the panel has no keys and saves nothing.
TEST_F(ctrArchivierungsDruckerTest, SaveBeforeAnyLoadWritesNothing) {
  panel.DruckerlisteWaehlen(QStringLiteral("Archiv"));
  panel.SaveData();
  EXPECT_TRUE(zeilen().isEmpty());
}

}  // namespace
