// Form records: creating, deleting and copying forms with their routes, and the name table.
#include "engine/modSkrivant.h"

#include <gtest/gtest.h>

#include "engine/modSystem.h"
#include "platform/vb/VbError.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ErrorOf.h"

namespace {

const QString kGlobal = QStringLiteral("$GLOBAL$");

using testsupport::errorOf;

class modSkrivantTest : public ::testing::Test {
 protected:
  QStringList formNumbers(int status) const {
    return db.rows(QStringLiteral("SELECT FormNummer FROM Auftrag_Formular_Neu WHERE FormStatus=%1 ORDER BY FormNummer")
                       .arg(status));
  }
  // Routes of a form as "RechnerName|VonExemplar|BisExemplar|VonSeite|BisSeite|Drucker|SchachtText|SchachtNr|
  // LetzteSeiteZuerst", in the order written.
  QStringList routes(int status, int nummer) const {
    return db.rows(QStringLiteral("SELECT RechnerName, VonExemplar, BisExemplar, VonSeite, BisSeite, Drucker, "
                                  "SchachtText, SchachtNr, CAST(LetzteSeiteZuerst AS INTEGER) "
                                  "FROM Auftrag_Formular_Druckerschacht_Neu "
                                  "WHERE FormStatus=%1 AND FormNummer=%2 ORDER BY ID")
                       .arg(status)
                       .arg(nummer));
  }
  QStringList names() const {
    return db.rows(QStringLiteral("SELECT FormularNr, FormularText FROM Auftrag_Formular_Vorlagen ORDER BY FormularNr"));
  }
  // A route line as routes() gives it.
  static QString route(const QString& rechner, const QString& drucker, int vonEx = 1, int bisEx = 99) {
    return QStringLiteral("%1|%2|%3|1|9999|%4|Fach|1|0").arg(rechner).arg(vonEx).arg(bisEx).arg(drucker);
  }
  void addRoute(const QString& rechner, int status, int nummer, const QString& drucker, int vonEx = 1, int bisEx = 99) {
    db.addRoute(rechner, status, nummer, vonEx, bisEx, 1, 9999, QStringLiteral("'%1'").arg(drucker), 1,
                QStringLiteral("'Fach'"));
  }

  enginetest::FormDatabase db;
  const QString pc = GetRechnerName();
};

}  // namespace

// ---- CreateFormular ----

TEST_F(modSkrivantTest, NewFormTakesTheLowestFreeNumber) {
  db.addForm(7, 1);
  db.addForm(7, 2);
  db.addForm(7, 4);
  short nummer = 0;
  EXPECT_TRUE(CreateFormular(7, nummer, vb::Variant(2)));
  EXPECT_EQ(nummer, 3);
  EXPECT_TRUE(CreateFormular(7, nummer, vb::Variant(2)));
  EXPECT_EQ(nummer, 5);
  EXPECT_EQ(formNumbers(7), (QStringList{"1", "2", "3", "4", "5"}));
}

TEST_F(modSkrivantTest, FirstFormOfATypeIsNumberOneWhateverOtherTypesHold) {
  db.addForm(8, 1);
  short nummer = 0;
  CreateFormular(7, nummer, vb::Variant(1));
  EXPECT_EQ(nummer, 1);
}

TEST_F(modSkrivantTest, NumbersAreCountedInAscendingOrderWhateverOrderTheRowsWereWritten) {
  // A host table without the key (as converted databases have it) gives its rows in the order
  // they were written, unless the statement asks for another.
  db.exec(QStringLiteral("DROP TABLE Auftrag_Formular_Neu"));
  db.exec(QStringLiteral("CREATE TABLE Auftrag_Formular_Neu (FormStatus INTEGER, FormNummer INTEGER, BerichtArt SMALLINT)"));
  db.addForm(7, 3);
  db.addForm(7, 1);
  db.addForm(7, 2);
  short nummer = 0;
  CreateFormular(7, nummer, vb::Variant(2));
  EXPECT_EQ(nummer, 4);
  EXPECT_EQ(formNumbers(7), (QStringList{"1", "2", "3", "4"}));
}

TEST_F(modSkrivantTest, NumbersZeroAndBelowTakeNoPart) {
  db.addForm(7, 0);
  db.addForm(7, -3);
  db.addForm(7, 2);
  short nummer = 0;
  CreateFormular(7, nummer, vb::Variant(2));
  EXPECT_EQ(nummer, 1);
}

TEST_F(modSkrivantTest, NewFormRowHoldsOnlyNumberTypeAndKind) {
  short nummer = 0;
  CreateFormular(7, nummer, vb::Variant(1));
  EXPECT_EQ(db.rows(QStringLiteral("SELECT FormStatus, FormNummer, BerichtArt, Formatdatei, AnzahlKopien, Kopftext "
                                   "FROM Auftrag_Formular_Neu")),
            QStringList{QStringLiteral("7|1|1|NULL|NULL|NULL")});
}

TEST_F(modSkrivantTest, NewFormGetsTheTwoDefaultGlobalRoutesAndANameRow) {
  short nummer = 0;
  CreateFormular(7, nummer, vb::Variant(2));
  EXPECT_EQ(routes(7, 1), (QStringList{QStringLiteral("$GLOBAL$|1|99|1|1|Standard|Standard|0|0"),
                                       QStringLiteral("$GLOBAL$|1|99|2|9999|Standard|Standard|0|0")}));
  EXPECT_EQ(names(), QStringList{QStringLiteral("1|1.Vorlage")});
}

TEST_F(modSkrivantTest, NumbersThatRoutesOrDunningTextsStillNameAreSkipped) {
  addRoute(pc, 7, 1, QStringLiteral("Alt"));
  db.exec(QStringLiteral("INSERT INTO Auftrag_Formular_Mahnung (FormNummer, FormStatus, Mahnstufe) VALUES (2, 7, 1)"));
  addRoute(pc, 8, 3, QStringLiteral("Fremd"));
  short nummer = 0;
  CreateFormular(7, nummer, vb::Variant(2));
  ASSERT_EQ(nummer, 3);
  EXPECT_EQ(routes(7, 1), QStringList{route(pc, QStringLiteral("Alt"))});
  EXPECT_EQ(routes(7, 3).size(), 2);
}

TEST_F(modSkrivantTest, EveryNumberTakenIsAnOverflowAndAddsNothing) {
  db.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 32767) "
                         "INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer) SELECT 7, x FROM n"));
  short nummer = 0;
  EXPECT_EQ(errorOf([&] { CreateFormular(7, nummer, vb::Variant(2)); }), vb::ErrOverflow);
  EXPECT_EQ(db.rows(QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Neu")), QStringList{QStringLiteral("32767")});
  EXPECT_TRUE(routes(7, 0).isEmpty());
}

TEST_F(modSkrivantTest, WithoutAConnectionHandlerTheErrorReachesTheCaller) {
  SetGlobalConnectList(nullptr);
  short nummer = 0;
  EXPECT_EQ(errorOf([&] { CreateFormular(7, nummer, vb::Variant(2)); }), vb::ErrObjectNotSet);
  EXPECT_EQ(errorOf([&] { DeleteFormular(7, 1); }), vb::ErrObjectNotSet);
}

// ---- VorlagenAbgleichen ----

TEST_F(modSkrivantTest, NameRowsAreAddedOncePerNumberAndExistingOnesKept) {
  db.exec(QStringLiteral("INSERT INTO Auftrag_Formular_Vorlagen (FormularNr, FormularText) VALUES (1, 'Rechnung')"));
  db.addForm(7, 1);
  db.addForm(7, 2);
  db.addForm(8, 2);
  VorlagenAbgleichen();
  EXPECT_EQ(names(), (QStringList{QStringLiteral("1|Rechnung"), QStringLiteral("2|2.Vorlage")}));
  VorlagenAbgleichen();
  EXPECT_EQ(names().size(), 2);
}

// ---- DeleteFormular ----

TEST_F(modSkrivantTest, DeleteRemovesTheFormWithItsDunningTextsAndTheRoutesOfEveryWorkstation) {
  db.addForm(7, 1);
  db.addForm(7, 2);
  addRoute(pc, 7, 1, QStringLiteral("Laser"));
  addRoute(kGlobal, 7, 1, QStringLiteral("Tinte"));
  addRoute(QStringLiteral("ANDERER"), 7, 1, QStringLiteral("Fremd"));
  addRoute(kGlobal, 7, 2, QStringLiteral("Tinte"));
  db.exec(QStringLiteral("INSERT INTO Auftrag_Formular_Vorlagen (FormularNr, FormularText) VALUES (1, '1.Vorlage')"));
  db.exec(QStringLiteral("INSERT INTO Auftrag_Formular_Mahnung (FormNummer, FormStatus, Mahnstufe, VorText) "
                         "VALUES (1, 7, 1, 'Bitte zahlen')"));
  EXPECT_TRUE(DeleteFormular(7, 1));
  EXPECT_EQ(formNumbers(7), QStringList{"2"});
  EXPECT_TRUE(routes(7, 1).isEmpty());
  EXPECT_EQ(routes(7, 2), QStringList{route(kGlobal, QStringLiteral("Tinte"))});
  EXPECT_EQ(names().size(), 1);
  EXPECT_EQ(db.rows(QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Mahnung")), QStringList{"0"});
}

TEST_F(modSkrivantTest, DeletingAMissingFormChangesNothing) {
  db.addForm(7, 1);
  EXPECT_TRUE(DeleteFormular(7, 9));
  EXPECT_EQ(formNumbers(7), QStringList{"1"});
}

// ---- CopyFormularDaten ----

class modSkrivantCopyTest : public modSkrivantTest {
 protected:
  void SetUp() override {
    db.addForm(7, 1,
               QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien, Absender, Kopftext, ÜberschriftText, MwStText, "
                              "AllgemeinSchlussText, PDFArchivDatei"),
               QStringLiteral("1, 'Q.lbl', 2, 'Q-Absender', NULL, 'Q-Titel', 'Q-MwSt', 'Q-Schluss', 'Q.pdf'"));
    db.addForm(9, 4,
               QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien, Absender, Kopftext, ÜberschriftText, MwStText, "
                              "AllgemeinSchlussText, PDFArchivDatei"),
               QStringLiteral("2, 'Z.lst', 5, 'Z-Absender', 'Z-Kopf', 'Z-Titel', 'Z-MwSt', 'Z-Schluss', 'Z.pdf'"));
    addRoute(pc, 7, 1, QStringLiteral("Q-Laser"));
    addRoute(kGlobal, 7, 1, QStringLiteral("Q-Global"));
    addRoute(kGlobal, 7, 1, QStringLiteral("Q-Archiv"), -1, -1);
    addRoute(QStringLiteral("DRITTER"), 7, 1, QStringLiteral("Q-Dritter"));
    addRoute(pc, 9, 4, QStringLiteral("Z-Laser"));
    addRoute(kGlobal, 9, 4, QStringLiteral("Z-Global"));
    addRoute(QStringLiteral("DRITTER"), 9, 4, QStringLiteral("Z-Dritter"));
  }
  QString target() const {
    return db
        .rows(QStringLiteral("SELECT BerichtArt, Formatdatei, AnzahlKopien, Absender, Kopftext, ÜberschriftText, "
                             "MwStText, AllgemeinSchlussText, PDFArchivDatei FROM Auftrag_Formular_Neu "
                             "WHERE FormStatus=9 AND FormNummer=4"))
        .join(QLatin1Char('/'));
  }
  QStringList targetRoutes() const {
    QStringList r = routes(9, 4);
    r.sort();
    return r;
  }
  static QStringList sorted(QStringList l) {
    l.sort();
    return l;
  }
  const QString untouchedForm = QStringLiteral("2|Z.lst|5|Z-Absender|Z-Kopf|Z-Titel|Z-MwSt|Z-Schluss|Z.pdf");
  const QStringList untouchedRoutes = sorted({route(pc, QStringLiteral("Z-Laser")), route(kGlobal, QStringLiteral("Z-Global")),
                                              route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))});
};

TEST_F(modSkrivantCopyTest, Flag1CopiesTextsAndKindNullIncluded) {
  CopyFormularDaten(7, 1, 1, 9, 4);
  EXPECT_EQ(target(), QStringLiteral("1|Z.lst|5|Q-Absender|NULL|Q-Titel|Q-MwSt|Q-Schluss|Z.pdf"));
  EXPECT_EQ(targetRoutes(), untouchedRoutes);
}

TEST_F(modSkrivantCopyTest, Flag8CopiesTemplateFileAndCopies) {
  CopyFormularDaten(7, 1, 8, 9, 4);
  EXPECT_EQ(target(), QStringLiteral("2|Q.lbl|2|Z-Absender|Z-Kopf|Z-Titel|Z-MwSt|Z-Schluss|Z.pdf"));
  EXPECT_EQ(targetRoutes(), untouchedRoutes);
}

TEST_F(modSkrivantCopyTest, MissingTargetRowIsCreatedWithOnlyTheCopiedColumns) {
  CopyFormularDaten(7, 1, 8, 9, 6);
  EXPECT_EQ(db.rows(QStringLiteral("SELECT FormStatus, FormNummer, Formatdatei, AnzahlKopien, Absender, BerichtArt "
                                   "FROM Auftrag_Formular_Neu WHERE FormNummer=6")),
            QStringList{QStringLiteral("9|6|Q.lbl|2|NULL|NULL")});
  CopyFormularDaten(7, 1, 9, 9, 7);
  EXPECT_EQ(db.rows(QStringLiteral("SELECT FormStatus, FormNummer, Formatdatei, AnzahlKopien, Absender, BerichtArt "
                                   "FROM Auftrag_Formular_Neu WHERE FormNummer=7")),
            QStringList{QStringLiteral("9|7|Q.lbl|2|Q-Absender|1")});
}

TEST_F(modSkrivantCopyTest, MissingSourceRowCopiesNoColumns) {
  CopyFormularDaten(7, 3, 9, 9, 4);
  EXPECT_EQ(target(), untouchedForm);
  CopyFormularDaten(7, 3, 9, 9, 8);
  EXPECT_TRUE(db.rows(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormNummer=8")).isEmpty());
}

TEST_F(modSkrivantCopyTest, Flag2ReplacesOnlyThisWorkstationsRoutes) {
  CopyFormularDaten(7, 1, 2, 9, 4);
  EXPECT_EQ(target(), untouchedForm);
  EXPECT_EQ(targetRoutes(), sorted({route(pc, QStringLiteral("Q-Laser")), route(kGlobal, QStringLiteral("Z-Global")),
                                    route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))}));
}

TEST_F(modSkrivantCopyTest, Flag4ReplacesOnlyTheGlobalRoutesArchiveRowIncluded) {
  CopyFormularDaten(7, 1, 4, 9, 4);
  EXPECT_EQ(targetRoutes(),
            sorted({route(pc, QStringLiteral("Z-Laser")), route(kGlobal, QStringLiteral("Q-Global")),
                    route(kGlobal, QStringLiteral("Q-Archiv"), -1, -1), route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))}));
}

TEST_F(modSkrivantCopyTest, Flag6ReplacesBothKindsAndLeavesThirdWorkstationsAlone) {
  CopyFormularDaten(7, 1, 6, 9, 4);
  EXPECT_EQ(target(), untouchedForm);
  EXPECT_EQ(targetRoutes(),
            sorted({route(pc, QStringLiteral("Q-Laser")), route(kGlobal, QStringLiteral("Q-Global")),
                    route(kGlobal, QStringLiteral("Q-Archiv"), -1, -1), route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))}));
}

TEST_F(modSkrivantCopyTest, Flag207CopiesEverything) {
  CopyFormularDaten(7, 1, 207, 9, 4);
  EXPECT_EQ(target(), QStringLiteral("1|Q.lbl|2|Q-Absender|NULL|Q-Titel|Q-MwSt|Q-Schluss|Z.pdf"));
  EXPECT_EQ(targetRoutes(),
            sorted({route(pc, QStringLiteral("Q-Laser")), route(kGlobal, QStringLiteral("Q-Global")),
                    route(kGlobal, QStringLiteral("Q-Archiv"), -1, -1), route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))}));
}

TEST_F(modSkrivantCopyTest, ArchiveFlagsAloneChangeNothing) {
  for (short flags : {short(64), short(128), short(192), short(0)}) {
    CopyFormularDaten(7, 1, flags, 9, 4);
    EXPECT_EQ(target(), untouchedForm) << flags;
    EXPECT_EQ(targetRoutes(), untouchedRoutes) << flags;
  }
}

TEST_F(modSkrivantCopyTest, SourceWithoutRoutesLeavesTheTargetsRoutes) {
  db.addForm(7, 2);
  CopyFormularDaten(7, 2, 6, 9, 4);
  EXPECT_EQ(targetRoutes(), untouchedRoutes);
}

TEST_F(modSkrivantCopyTest, SourceWithOnlyAThirdWorkstationsRoutesEmptiesTheSelectedKinds) {
  db.addForm(7, 2);
  addRoute(QStringLiteral("DRITTER"), 7, 2, QStringLiteral("Q2-Dritter"));
  CopyFormularDaten(7, 2, 6, 9, 4);
  EXPECT_EQ(targetRoutes(), QStringList{route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))});
}

TEST_F(modSkrivantCopyTest, WorkstationNameMatchesWhateverItsLetterCase) {
  db.addForm(7, 2);
  addRoute(pc.toLower(), 7, 2, QStringLiteral("Q2-Laser"));
  CopyFormularDaten(7, 2, 2, 9, 4);
  EXPECT_EQ(targetRoutes(), sorted({route(pc.toLower(), QStringLiteral("Q2-Laser")), route(kGlobal, QStringLiteral("Z-Global")),
                                    route(QStringLiteral("DRITTER"), QStringLiteral("Z-Dritter"))}));
}

TEST_F(modSkrivantCopyTest, PastingRoutesOntoTheSameFormKeepsThem) {
  const QStringList before = sorted(routes(7, 1));
  CopyFormularDaten(7, 1, 6, 7, 1);
  QStringList after = routes(7, 1);
  after.sort();
  EXPECT_EQ(after, before);
}
