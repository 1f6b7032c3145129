// The template manager opened by a host through Application.FormularGestaltung and driven through
// its tree and menu actions on the example host's database: the tree, node selection, new,
// delete, copy and paste, and the end of the window.
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QToolButton>

#include "platform/automation/ClassRegistry.h"
#include "platform/vb/VbError.h"
#include "tests/configuration/VorlagenTestSupport.h"
#include "tests/support/ErrorOf.h"

using namespace vorlagentest;

namespace {

class frmDruckFormulareTest : public VorlagenFixture {
 protected:
  QStringList kinder(const char* key) const {
    QStringList texte;
    const QTreeWidgetItem* item = fenster().Knoten(QString::fromUtf8(key));
    if (!item) return {QStringLiteral("<kein Knoten>")};
    for (int i = 0; i < item->childCount(); ++i) texte << item->child(i)->text(0);
    return texte;
  }
  QString bild(const QString& key) const { return fenster().Knoten(key)->data(0, Qt::UserRole + 1).toString(); }
  QString info() const { return fenster().findChild<QLabel*>(QStringLiteral("strInfo"))->text(); }
  // A second host's database, a copy of the host's as it is now, and that host's handler on it.
  std::shared_ptr<clsConnectionHandler> zweiterHost() {
    const QString pfad = log.dir().file(QStringLiteral("B.mdb"));
    if (!QFile::copy(host.datenbank(), pfad)) throw std::runtime_error("B.mdb");
    b = std::make_shared<data::Connection>();
    b->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + pfad);
    auto handler = std::make_shared<clsConnectionHandler>();
    for (const short gruppe : {short(4), short(6)}) handler->set_SQLGruppe_Connection(gruppe, vb::Variant(b));
    return handler;
  }
  std::shared_ptr<data::Connection> b;
};

}  // namespace

TEST_F(frmDruckFormulareTest, TreeOfFoldersTemplatesDunningLevelsAndGenericTypes) {
  sql("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (5, 'Rechnungen.Kopie'), "
      "(6, 'Rechnungen.Storno'), (7, 'A.B.C'), (8, 'Leer'), (130, 'Mahnung'), (1001, 'Etiketten allgemein')");
  sql("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (9, 'Lieferant.Storno')");
  sql("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt) VALUES (5, 3, 2), (1001, 1, 1)");
  sql("INSERT INTO Auftrag_Formular_Vorlagen (FormularNr, FormularText) VALUES (3, '')");
  host.mahnformularAnlegen();

  frmDruckFormulare& f = oeffnen(3, 1);
  EXPECT_TRUE(besetzt());
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Druckformulare erstellen"));
  EXPECT_EQ(aktuellerKnoten(), QStringLiteral("F0003V001F"));
  EXPECT_EQ(panel(), QStringLiteral("ctrFormatdatei"));
  EXPECT_EQ(info(), QStringLiteral("Rechnung - Rechnung - Formatdatei"));

  QStringList wurzel;
  for (int i = 0; i < f.AuswahlTree()->topLevelItemCount(); ++i) wurzel << f.AuswahlTree()->topLevelItem(i)->text(0);
  EXPECT_EQ(wurzel, QStringList({"Rechnung", "Rechnungen", "A", "Leer", "Lieferant", "Mahnung", "Etiketten allgemein"}));
  EXPECT_EQ(kinder("KRechnungen"), QStringList({"Kopie", "Storno"}));
  EXPECT_EQ(kinder("KA"), QStringList({"B.C"}));
  EXPECT_EQ(kinder("F0008"), QStringList());
  EXPECT_EQ(kinder("F0005"), QStringList({"3. Vorlage"}));
  EXPECT_EQ(kinder("F0003V001"), QStringList({"Formatdatei", "Texte", "Drucker und Schächte"}));
  EXPECT_EQ(kinder("F0003V001 "), QStringList({"global", GetRechnerName()}));
  EXPECT_EQ(kinder("F0130V001"), QStringList({"Formatdatei", "Allg. Texte", "Vor-, Schlusstexte", "Drucker und Schächte"}));
  EXPECT_EQ(kinder("F0130V001MA"), QStringList({"1. Mahnung", "2. Mahnung", "3. Mahnung"}));
  EXPECT_EQ(kinder("F1001V001"), QStringList({"Formatdatei", "Drucker und Schächte"}));
  EXPECT_EQ(bild(QStringLiteral("F0003V001DL")), QStringLiteral("RechnerInaktiv"));
  EXPECT_EQ(bild(QStringLiteral("F0003V001DG")), QStringLiteral("RechnerGlobal"));
  EXPECT_EQ(bild(QStringLiteral("KRechnungen")), QStringLiteral("Ordner"));
  EXPECT_FALSE(f.Knoten(QStringLiteral("F0003V001DL"))->icon(0).isNull());

  // Each node: its panel or else the line that says what to select, its path, what the edit menu
  // offers. A folder offers nothing, not even a new template (it has no form type to make one of).
  struct Fall {
    const char* key;
    const char* panel;
    const char* info;
    bool kopieren;
    bool anlegen;
    const char* hinweis;
  };
  const Fall faelle[] = {
      {"KRechnungen", "", "Rechnungen", false, false, "unter „Rechnungen“, was Sie einstellen möchten: „Kopie“ oder „Storno“."},
      {"F0005", "", "Rechnungen - Kopie", false, true, "eine Vorlage des Formulars „Kopie“, oder legen Sie"},
      {"F0008", "", "Leer", false, true, "Das Formular „Leer“ hat noch keine Vorlage."},
      {"F0005V003", "", "Rechnungen - Kopie - 3. Vorlage", true, true, "„Formatdatei“, „Texte“ oder „Drucker und Schächte“."},
      {"F0003V001T", "ctrTexte1", "Rechnung - Rechnung - Texte", true, true, ""},
      {"KLieferant", "", "Lieferant", false, false, "„Storno“."},  // a folder whose key ends like a texts node's
      {"F0003V001 ", "", "Rechnung - Rechnung - Drucker und Schächte", true, true, "„global“ oder „"},
      {"F0003V001DG", "Druckerwahl", "Rechnung - Rechnung - Drucker und Schächte - global", true, true, ""},
      {"F0130V001M0", "ctrMahnAllgTexte", "Mahnung - Rechnung - Allg. Texte", true, true, ""},
      {"F0130V001MA", "", "Mahnung - Rechnung - Vor-, Schlusstexte", true, true, "„1. Mahnung“, „2. Mahnung“ oder „3. Mahnung“."},
      {"F0130V001M2", "ctrMahnVorSchluss", "Mahnung - Rechnung - Vor-, Schlusstexte - 2. Mahnung", true, true, ""},
      {"F1001V001F", "ctrFormatdatei", "Etiketten allgemein - Rechnung - Formatdatei", true, true, ""},
      {"KA", "", "A", false, false, "„B.C“."},
  };
  const QLabel* hinweis = f.findChild<QLabel*>(QStringLiteral("strHinweis"));
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.key);
    waehle(fall.key);
    EXPECT_EQ(aktuellerKnoten(), QString::fromUtf8(fall.key));
    EXPECT_EQ(panel(), QString::fromUtf8(fall.panel));
    EXPECT_EQ(info(), QString::fromUtf8(fall.info));
    EXPECT_EQ(hinweis->isVisible(), *fall.hinweis != 0);
    EXPECT_TRUE(hinweis->text().contains(QString::fromUtf8(fall.hinweis))) << qPrintable(hinweis->text());
    EXPECT_EQ(aktion("cmdKopieren").isEnabled(), fall.kopieren);
    EXPECT_EQ(aktion("cmdVorlageLoeschen").isEnabled(), fall.kopieren);
    EXPECT_FALSE(aktion("cmdEinfuegen").isEnabled());
    EXPECT_EQ(aktion("cmdVorlageAnlegen_1").isEnabled() && aktion("cmdNeueVorlage").isEnabled(), fall.anlegen);
  }
  EXPECT_EQ(f.findChild<QLineEdit*>(QStringLiteral("strFormatDatei"))->text(), QString());

  f.SetNode(130, 0);
  EXPECT_EQ(aktuellerKnoten(), QStringLiteral("F0130"));
  EXPECT_TRUE(f.Knoten(QStringLiteral("F0130"))->isExpanded());
  EXPECT_EQ(panel(), QString());
  EXPECT_EQ(testsupport::errorOf([&] { f.SetNode(9, 1); }), 35601);
  EXPECT_EQ(aktuellerKnoten(), QStringLiteral("F0130"));
  EXPECT_TRUE(dialogs->shown().size() == 1 && dialogs->shown()[0].kind == QStringLiteral("Druckformulare"));

  // Closing ends the engine process and the busy state; the window is gone.
  EXPECT_TRUE(besetzt());
  schliessen();
  EXPECT_EQ(prozessEnden, 1);
  EXPECT_FALSE(besetzt());
  EXPECT_EQ(configuration::OffeneFormularGestaltung(), nullptr);
  QFile datei(host.lokalerPfad() + QStringLiteral("Debug.txt"));
  ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
  const QStringList zeilen = fromAnsi(datei.readAll()).split(QStringLiteral("\r\n"));
  for (const char* l : {"Start Formulargestaltung", "frmDruckFormulare.BaumLaden", "Ende Formulargestaltung",
                        "-> Form_Unload", "Form_Unload ->", "frmDruckFormulare.Terminate->"})
    EXPECT_TRUE(zeilen.contains(QString::fromUtf8(l))) << l << "\n" << qPrintable(zeilen.join(QLatin1Char('\n')));
}

// Copy on template 1, paste on template 2's node of each kind: exactly what the node names is
// replaced, other workstations' routes and the rest stay.
TEST_F(frmDruckFormulareTest, PasteReplacesExactlyWhatTheNodeNames) {
  const QString pc = GetRechnerName();
  const auto zuruecksetzen = [&] {
    sql("DELETE FROM Auftrag_Formular_Neu");
    sql("DELETE FROM Auftrag_Formular_Druckerschacht_Neu");
    for (const auto& [nummer, name] : {std::pair{1, "quelle"}, {2, "ziel"}}) {
      sql(QStringLiteral("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei, "
                         "PDFArchivDatei, DeckblattDatei, AnzahlKopien, Absender, Kopftext, ÜberschriftText) "
                         "VALUES (3, %1, 2, '%2.lst', '', '', %3, 'Absender %2', 'Kopf %2', 'Titel %2')")
              .arg(nummer)
              .arg(QString::fromUtf8(name))
              .arg(nummer + 1));
      for (const QString& rechner : {pc, QStringLiteral("$GLOBAL$"), QStringLiteral("ANDERER")})
        for (int seite = 1; seite <= 2; ++seite)
          sql(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (FormStatus, FormNummer, RechnerName, "
                             "VonExemplar, BisExemplar, VonSeite, BisSeite, Drucker, SchachtText) "
                             "VALUES (3, %1, '%2', 1, 99, %3, %4, '%5-%2', 'Fach %3')")
                  .arg(nummer)
                  .arg(rechner)
                  .arg(seite)
                  .arg(seite == 1 ? 1 : 99999)
                  .arg(QString::fromUtf8(name)));
    }
  };
  const auto teile = [&](int nummer) {
    const QString form = QStringLiteral(" WHERE FormStatus=3 AND FormNummer=%1").arg(nummer);
    const QString routen = QStringLiteral("SELECT VonExemplar, BisExemplar, VonSeite, Drucker, SchachtText "
                                          "FROM Auftrag_Formular_Druckerschacht_Neu") + form;
    const auto rechner = [&](const QString& name) {
      return zeilen(routen + QStringLiteral(" AND RechnerName='%1' ORDER BY VonSeite").arg(name))
          .join(QLatin1Char(';'))
          .replace(QStringLiteral("quelle"), QStringLiteral("X"))
          .replace(QStringLiteral("ziel"), QStringLiteral("X"));
    };
    return QStringList{
        zeilen(QStringLiteral("SELECT Absender, Kopftext, ÜberschriftText FROM Auftrag_Formular_Neu") + form).join(""),
        zeilen(QStringLiteral("SELECT Formatdatei, AnzahlKopien FROM Auftrag_Formular_Neu") + form).join(""),
        zeilen(routen + QStringLiteral(" AND RechnerName='%1' ORDER BY VonSeite").arg(pc)).join(QLatin1Char(';')),
        zeilen(routen + QStringLiteral(" AND RechnerName='$GLOBAL$' ORDER BY VonSeite")).join(QLatin1Char(';')),
        zeilen(routen + QStringLiteral(" AND RechnerName='ANDERER' ORDER BY VonSeite")).join(QLatin1Char(';')),
        rechner(pc)};
  };
  zuruecksetzen();
  const QStringList quelle = teile(1);
  const QStringList ziel = teile(2);
  ASSERT_NE(quelle[0], ziel[0]);
  ASSERT_EQ(quelle[5], ziel[5]);  // the routes are alike but for their printers' names

  oeffnen(3, 0);
  // Parts: 0 texts, 1 template file and copies, 2 this workstation's routes, 3 "$GLOBAL$" routes.
  struct Fall {
    const char* knoten;
    int flags;
    QList<int> ersetzt;
  };
  const Fall faelle[] = {{"", 207, {0, 1, 2, 3}}, {"F", 8, {1}}, {" ", 6, {2, 3}},
                         {"T", 1, {0}},           {"DL", 2, {2}}, {"DG", 4, {3}}};
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.flags);
    waehle("F0003");
    zuruecksetzen();
    waehle("F0003V001");
    aktion("cmdKopieren").trigger();
    waehle(QStringLiteral("F0003V002") + QString::fromUtf8(fall.knoten));
    ASSERT_TRUE(aktion("cmdEinfuegen").isEnabled());
    aktion("cmdEinfuegen").trigger();
    waehle("F0003");  // leaving the node saves it
    const QStringList jetzt = teile(2);
    for (int teil = 0; teil < 4; ++teil)
      EXPECT_EQ(jetzt[teil], fall.ersetzt.contains(teil) ? quelle[teil] : ziel[teil]) << "part " << teil;
    EXPECT_EQ(jetzt[4], ziel[4]) << "another workstation's routes";
    EXPECT_EQ(teile(1), quelle);
  }
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);
}

// Deleting a dunning template leaves nothing of it, not even after the panels that held it saved
// again; a new template then starts clean under the freed number.
TEST_F(frmDruckFormulareTest, DeleteLeavesNoRowsAndANewTemplateStartsClean) {
  sql("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (130, 'Mahnung')");
  const short nummer = host.mahnformularAnlegen();
  const QString vorlage = QStringLiteral("F0130V%1").arg(nummer, 3, 10, QLatin1Char('0'));
  const auto reste = [&] {
    QStringList n;
    for (const char* tabelle : {"Auftrag_Formular_Neu", "Auftrag_Formular_Druckerschacht_Neu", "Auftrag_Formular_Mahnung"})
      n << zeilen(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE FormStatus=130 AND FormNummer=%2")
                      .arg(QString::fromUtf8(tabelle))
                      .arg(nummer));
    return n;
  };
  oeffnen(130, nummer);
  waehle(vorlage + QStringLiteral("M2"));
  EXPECT_EQ(feld("ctrMahnVorSchluss", "Ueberschrift").text(), QStringLiteral("Zweite Mahnung"));
  waehle(vorlage + QStringLiteral("DG"));
  feld<QComboBox>("Druckerwahl", "Druckerliste(0)").setEditText(QStringLiteral("Laser"));
  EXPECT_EQ(reste(), QStringList({"1", "2", "1"}));

  dialogs->answerMsgBox(ui::vbNo);
  aktion("cmdVorlageLoeschen").trigger();
  EXPECT_NE(fenster().Knoten(vorlage), nullptr);
  dialogs->answerMsgBox(ui::vbYes);
  aktion("cmdVorlageLoeschen").trigger();
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 2);
  EXPECT_EQ(boxen[1].text, QStringLiteral("Möchten Sie die aktuelle Vorlage wirklich löschen?"));
  EXPECT_EQ(boxen[1].style, ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2);
  EXPECT_EQ(aktuellerKnoten(), QStringLiteral("F0130"));
  EXPECT_EQ(fenster().Knoten(vorlage), nullptr);
  EXPECT_EQ(reste(), QStringList({"0", "0", "0"}));

  // Another template's node is visited and left: the printer panel still holding the deleted
  // template's routes must not write them back.
  waehle("F0003V001F");
  waehle("F0003");
  EXPECT_EQ(reste(), QStringList({"0", "0", "0"}));

  waehle("F0130");
  aktion("cmdVorlageAnlegen_1").trigger();
  EXPECT_EQ(aktuellerKnoten(), vorlage + QStringLiteral("F"));
  EXPECT_EQ(panel(), QStringLiteral("ctrFormatdatei"));
  EXPECT_EQ(reste(), QStringList({"1", "2", "0"}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT BerichtArt FROM Auftrag_Formular_Neu WHERE FormStatus=130")), QStringList{"1"});
  EXPECT_EQ(dialogs->messageBoxes().size(), 2);
}

// A save that fails is told, when a node is left and when the window closes; the input stays
// and nothing ends until the user says so or the save succeeds.
TEST_F(frmDruckFormulareTest, FailedSaveIsToldAndKeepsTheWindowAndTheInput) {
  oeffnen(3, 1);
  feld("ctrFormatdatei", "AnzahlKopien").setText(QStringLiteral("4"));
  sql("CREATE TRIGGER gesperrt BEFORE UPDATE ON Auftrag_Formular_Neu BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");

  waehle("F0003V001T");
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(dialogs->messageBoxes()[0].text.contains(QStringLiteral("gesperrt")));
  EXPECT_EQ(aktuellerKnoten(), QStringLiteral("F0003V001F"));
  EXPECT_EQ(panel(), QStringLiteral("ctrFormatdatei"));

  dialogs->answerMsgBox(ui::vbNo);
  schliessen();
  ASSERT_EQ(dialogs->messageBoxes().size(), 2);
  EXPECT_TRUE(dialogs->messageBoxes()[1].text.contains(QStringLiteral("gesperrt")));
  EXPECT_EQ(prozessEnden, 0);
  EXPECT_TRUE(besetzt());
  ASSERT_NE(configuration::OffeneFormularGestaltung(), nullptr);
  EXPECT_EQ(feld("ctrFormatdatei", "AnzahlKopien").text(), QStringLiteral("4"));

  sql("DROP TRIGGER gesperrt");
  schliessen();
  EXPECT_EQ(prozessEnden, 1);
  EXPECT_FALSE(besetzt());
  EXPECT_EQ(zeilen(QStringLiteral("SELECT AnzahlKopien FROM Auftrag_Formular_Neu WHERE FormStatus=3 AND FormNummer=1")),
            QStringList{"4"});
}

// The placeholder menu inserts into the box a panel named, for the keys registered on load.
TEST_F(frmDruckFormulareTest, PlaceholderMenuInsertsIntoTheNamedBox) {
  frmDruckFormulare& f = oeffnen(3, 1);
  QLineEdit& pdf = feld("ctrFormatdatei", "strPDFDateiname");
  pdf.setText(QStringLiteral("RE_.pdf"));
  pdf.setCursorPosition(3);
  f.set_CurTextControl(&pdf);
  aktion("mnuPlatzhalterKDNr").trigger();
  aktion("mnuPlatzhalterProjektNr").trigger();
  EXPECT_EQ(pdf.text(), QStringLiteral("RE_[KUNDENNUMMER].pdf"));
  QMenu* menue = f.findChild<QMenu*>(QStringLiteral("mnuPlatzhalter"));
  ASSERT_NE(menue, nullptr);
  EXPECT_EQ(menue->title(), QStringLiteral("Platzhalter einfügen (F4)"));
  EXPECT_EQ(menue->actions().size(), 13);
  EXPECT_FALSE(menue->menuAction()->isVisible());
  f.PlatzhalterMenueZeigen(true);
  EXPECT_TRUE(menue->menuAction()->isVisible());
  EXPECT_NE(automation::createObject(QStringLiteral("Skrivant.clsMenuHandler")), nullptr);
}

// The other host's Application sets the engine-wide handler while the window is open. A new
// template's file, named in the save dialog, starts as a copy of the form's default template; the
// template's name, given in its file panel, is the one offered there and shows on the template of
// that number of every form.
TEST_F(frmDruckFormulareTest, TheWindowWorksOnItsOwnDatabaseWhateverAnotherHostSets) {
  sql("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (8, 'Gutschrift')");
  sql("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt) VALUES (8, 2, 2)");
  sql(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (FormStatus, FormNummer, RechnerName, VonExemplar, "
                     "BisExemplar, VonSeite, BisSeite, Drucker) VALUES (3, 1, '%1', 1, 99, 1, 1, 'A'), "
                     "(3, 1, '%1', 1, 99, 2, 99999, 'A')").arg(GetRechnerName()));
  const auto handlerB = zweiterHost();
  b->Execute(QStringLiteral("UPDATE Auftrag_Formular_Druckerschacht_Neu SET Drucker='B'"));
  b->Execute(QStringLiteral("UPDATE Vorgaben SET Wert='0' WHERE FeldName='Falzstriche'"));
  const QString routen = QStringLiteral("SELECT FormNummer, Drucker FROM Auftrag_Formular_Druckerschacht_Neu "
                                        "UNION ALL SELECT FormNummer, Formatdatei FROM Auftrag_Formular_Neu");
  const QStringList routenB = enginetest::zeilen(*b, routen);
  oeffnen(3, 1);
  auto andere = std::make_shared<Application>();
  rufe(*andere, "ConnectList", {vb::Variant(handlerB)}, automation::CallKind::Set);
  rufe(*andere, "SetDruckerOptionen", {std::int16_t(3), std::int16_t(1)});
  waehle("F0003V001DL");
  EXPECT_EQ(feld<QComboBox>("Druckerwahl", "Druckerliste(0)").currentText(), QStringLiteral("A"));
  aktion("cmdVorlageAnlegen_2").trigger();  // leaving the node saves it
  QLineEdit& name = feld("ctrFormatdatei", "strVorlagenName");
  EXPECT_EQ(name.text(), QStringLiteral("2.Vorlage"));
  name.setText(QStringLiteral("Briefpapier/Logo"));
  const QString formulare = host.datenverzeichnis() + QStringLiteral("FORMULAR/");
  dialogs->answerFile(formulare + QStringLiteral("Rechnung2"));
  bool entwurf = false, falzstriche = false;
  dialogs->answerWindow([&](QDialog& d) {
    entwurf = d.findChild<QPlainTextEdit*>(QStringLiteral("templateEditor")) != nullptr;
    return int(QDialog::Rejected);
  });
  fenster().findChild<QToolButton*>(QStringLiteral("cmdLLEdit"))->click();
  EXPECT_EQ(dialogs->shown().value(dialogs->shown().size() - 2).fileName, QStringLiteral("Briefpapier_Logo.lst"));
  EXPECT_TRUE(entwurf);
  EXPECT_EQ(QFileInfo(formulare + "Rechnung2.lst").size(), QFileInfo(formulare + "Rechnung.lst").size());
  dialogs->answerWindow([&](QDialog& d) {
    falzstriche = d.findChild<QCheckBox*>(QStringLiteral("blnFalzstriche"))->isChecked();
    return int(QDialog::Rejected);
  });
  aktion("cmdWeitereEinstellungen").trigger();
  EXPECT_TRUE(falzstriche);
  waehle("F0003V002T");
  EXPECT_EQ(info(), QStringLiteral("Rechnung - Briefpapier/Logo - Texte"));
  EXPECT_EQ(fenster().Knoten(QStringLiteral("F0008V002"))->text(0), QStringLiteral("Briefpapier/Logo"));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT FormularText FROM Auftrag_Formular_Vorlagen WHERE FormularNr=2")),
            QStringList{"Briefpapier/Logo"});
  waehle("F0003");
  const QStringList eigene = zeilen(routen);
  EXPECT_EQ(eigene.filter(QStringLiteral("|A")).size(), 2);
  EXPECT_TRUE(eigene.contains(QStringLiteral("2|$Daten$FORMULAR\\Rechnung2.lst")));
  EXPECT_EQ(enginetest::zeilen(*b, routen), routenB);
  EXPECT_EQ(GetGlobalConnectList(), handlerB);
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);
}

// Host A's user only looks at the texts and the routes, then host B opens the window on its own
// database: neither database gets the other's values, each keeps what its own user saved.
TEST_F(frmDruckFormulareTest, SecondHostOpeningItLeavesEachDatabaseItsOwn) {
  sql(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (FormStatus, FormNummer, RechnerName, VonExemplar, "
                     "BisExemplar, VonSeite, BisSeite, Drucker) VALUES (3, 1, '%1', 1, 99, 1, 99999, 'Drucker-A')")
          .arg(GetRechnerName()));
  sql("UPDATE Auftrag_Formular_Neu SET ÜberschriftText='Ueberschrift-A', Formatdatei='A.lst'");
  const auto handlerB = zweiterHost();
  b->Execute(QStringLiteral("UPDATE Auftrag_Formular_Druckerschacht_Neu SET Drucker='Drucker-B'"));
  b->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET ÜberschriftText='Ueberschrift-B', Formatdatei='B.lst'"));
  const QString werte = QStringLiteral("SELECT Drucker FROM Auftrag_Formular_Druckerschacht_Neu "
                                       "UNION ALL SELECT ÜberschriftText || '|' || Formatdatei FROM Auftrag_Formular_Neu");
  const QStringList werteB = enginetest::zeilen(*b, werte);

  // What A's database holds once its user has looked at both nodes (leaving one saves it).
  oeffnen(3, 1);
  for (const char* knoten : {"F0003V001DL", "F0003V001T", "F0003V001DL"}) waehle(knoten);
  const QStringList werteA = zeilen(werte);
  const auto appB = std::make_shared<Application>();
  rufe(*appB, "ConnectList", {vb::Variant(handlerB)}, automation::CallKind::Set);
  rufe(*appB, "FormularGestaltung", {std::int16_t(3), std::int16_t(1)});

  // B's user changes the heading and closes the window: only B's database has it.
  waehle("F0003V001T");
  EXPECT_EQ(feld("ctrTexte1", "Ueberschrift").text(), QStringLiteral("Ueberschrift-B"));
  feld("ctrTexte1", "Ueberschrift").setText(QStringLiteral("Ueberschrift-B2"));
  schliessen();
  EXPECT_EQ(enginetest::zeilen(*b, werte), QStringList(werteB).replaceInStrings(QStringLiteral("-B|"), QStringLiteral("-B2|")));
  EXPECT_EQ(zeilen(werte), werteA);
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);
}

// Every caption of the texts and printer panels shows whole, and every box there has a tool tip.
TEST_F(frmDruckFormulareTest, CaptionsShowWholeAndTheWindowKeepsItsSize) {
  frmDruckFormulare& f = oeffnen(3, 1);
  // At the size it opens with on a screen that holds it (the test screen is 800×600).
  f.resize(980, 640);
  const QSize groesse = f.size();
  const QWidget* flaeche = f.findChild<QScrollArea*>(QStringLiteral("Panelflaeche"))->viewport();
  for (const char* key : {"F0003V001T", "F0003V001F", "F0003V001DL"}) {
    waehle(key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_EQ(f.size(), groesse) << key;
    QStringList fehler;
    for (QWidget* w : f.SichtbaresPanel()->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
      QString text;
      if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
      if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
      if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text().isEmpty() ? e->placeholderText() : e->text();
      if (!flaeche->rect().contains(QRect(w->mapTo(flaeche, QPoint(0, 0)), w->size())) ||
          w->width() < QFontMetrics(w->font()).horizontalAdvance(text))
        fehler << w->objectName() + QStringLiteral(" abgeschnitten");
      const bool eingabe = (qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w->parent())) ||
                           qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QPlainTextEdit*>(w);
      if (eingabe && w->toolTip().isEmpty() && key != std::string_view("F0003V001F")) fehler << w->objectName() + " ohne Tipp";
    }
    EXPECT_TRUE(fehler.isEmpty()) << key << ": " << qPrintable(fehler.join(QStringLiteral(", ")));
  }
  for (const char* beschriftung : {"LabelExemplarvon", "LabelExemplarbis", "LabelSchacht(0)", "Label4"})
    EXPECT_NE(f.findChild<QLabel*>(QString::fromUtf8(beschriftung)), nullptr) << beschriftung;
}
