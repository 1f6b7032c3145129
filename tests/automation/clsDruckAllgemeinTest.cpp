// Generic form types as a host declares and prints them through Skrivant.clsDruckAllgemein, by
// name, with record sets of its own database (the data layer's Recordset): the declaration's
// rows, list and label print with copies on the recording control, the designer and the print
// after it; then the edge cases of the handler and the declaration.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>
#include <memory>

#include "automation/Klassenregistrierung.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsFormTypHandler.h"
#include "engine/Druckfenster.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/RecordingReportControl.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/ErrorOf.h"
#include "engine/frmDrucken.h"

using automation::CallKind;
using namespace automationtest;

namespace {

constexpr std::int32_t kTyp = 1001;
const QString kText = QString::number(0x10000000), kZahl = QString::number(0x08000000),
              kDatum = QString::number(0x04000000), kJaNein = QString::number(0x02000000);

class clsDruckAllgemeinTest : public AutomationFixture {
 protected:
  void SetUp() override {
    if (!echteSteuerung) DruckfensterSteuerungVorgeben(ll);
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
    con = GetGlobalConnectList()->SQLGruppe_Connection(4);
    for (const char* sql : {
             "CREATE TABLE LieferKopf (Nummer INTEGER, Kunde TEXT, Datum DATETIME, Bezahlt BOOLEAN, Hinweis TEXT)",
             "INSERT INTO LieferKopf VALUES (4711, 'Bücherei Nord', '2026-12-08', 1, NULL)",
             "CREATE TABLE LieferPos (Pos INTEGER, Artikel TEXT, Menge DOUBLE, Geliefert BOOLEAN, Bemerkung TEXT)",
             "INSERT INTO LieferPos VALUES (1, 'Ringbuch', 2.5, 0, NULL)",
             "INSERT INTO LieferPos VALUES (2, 'Atlas', 1, 1, 'Kante bestoßen')",
             "INSERT INTO LieferPos VALUES (3, 'Globus', 4, 1, '')"})
      con->Execute(QString::fromUtf8(sql));
    KlassenRegistrieren();
    druck = automation::createObject(QStringLiteral("Skrivant.clsDruckAllgemein"));
    ll->clearCalls();
  }
  void TearDown() override {
    druck.reset();
    DruckfensterSteuerungVorgeben(nullptr);
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }

  std::shared_ptr<data::Recordset> satz(const QString& sql) const {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(sql, vb::Variant(con), data::adOpenStatic, data::adLockReadOnly);
    return rs;
  }
  // The engine's debug log in the host's local path.
  QString protokoll() const {
    QFile f(QDir(host.lokalerPfad()).filePath(QStringLiteral("Debug.txt")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }
  QStringList zeilen(const QString& sql) const { return enginetest::zeilen(*con, sql); }
  void deklarieren(std::int16_t art = 2) {
    rufe(*druck, "CreateFormularTyp",
         {kTyp, "Lieferschein", "Lieferscheine des Lagers", art, vb::Variant(satz("SELECT * FROM LieferKopf")),
          vb::Variant(satz("SELECT * FROM LieferPos ORDER BY Pos"))});
  }
  void drucken(short vorlage) {
    rufe(*druck, "SetDruckerOptionen", {std::int16_t(kTyp), std::int16_t(vorlage)});
    rufe(*druck, "KopfDaten", {vb::Variant(satz("SELECT * FROM LieferKopf"))}, CallKind::Set);
    rufe(*druck, "DetailDaten", {vb::Variant(satz("SELECT * FROM LieferPos ORDER BY Pos"))}, CallKind::Set);
    ll->clearCalls();
    EXPECT_EQ(rufe(*druck, "LLPrintDokument"), vb::Variant(std::int32_t(0)));
  }
  // The user gives template 1 the default list and adds the default labels as template 2.
  QString vorlagenEintragen() const {
    const QString formulare = host.datenverzeichnis() + QStringLiteral("FORMULAR/");
    con->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei='%1Formularliste.lst' "
                                "WHERE FormStatus=1001").arg(formulare));
    con->Execute(QStringLiteral("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei) "
                                "VALUES (1001, 2, 1, '%1Formularetiketten.lbl')").arg(formulare));
    return formulare;
  }
  // The contents defined for `name` by the given operation, in order.
  QStringList definiert(const char* art, const QString& name) const {
    QStringList out;
    const QString anfang = QStringLiteral("%1(\"%2\", \"").arg(QString::fromLatin1(art), name);
    for (const QString& c : ll->calls())
      if (c.startsWith(anfang)) out << c.mid(anfang.size()).section(QLatin1Char('"'), 0, 0);
    return out;
  }

  bool echteSteuerung = false;
  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
  std::shared_ptr<report::RecordingReportControl> ll = std::make_shared<report::RecordingReportControl>();
  std::shared_ptr<data::Connection> con;
  std::shared_ptr<QObject> druck;
};

TEST_F(clsDruckAllgemeinTest, DeclaredTypePrintsAsListAndLabelsWithCopiesAndOpensTheDesigner) {
  deklarieren();
  EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM Druck_Formulartypen")),
            QStringList({QStringLiteral("1001|Lieferschein|Lieferscheine des Lagers")}));
  // The data layer's codes read the same way for every source: date, boolean, numbers, text.
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Datenbereich, FeldName, DatenTyp, DesignWert FROM "
                                  "Druck_Formulartypen_Felder WHERE FormTypID=1001 ORDER BY ID")),
            QStringList({"1|Nummer|" + kZahl + "|4711", "1|Kunde|" + kText + "|Bücherei Nord",
                         "1|Datum|" + kDatum + "|08.12.2026", "1|Bezahlt|" + kJaNein + "|1", "1|Hinweis|" + kText + "|",
                         "2|Pos|" + kZahl + "|1", "2|Artikel|" + kText + "|Ringbuch", "2|Menge|" + kZahl + "|2,5",
                         "2|Geliefert|" + kJaNein + "|0", "2|Bemerkung|" + kText + "|NULL"}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT FormNummer, BerichtArt FROM Auftrag_Formular_Neu WHERE FormStatus=1001")),
            QStringList({QStringLiteral("1|2")}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT RechnerName, FormNummer, VonExemplar, BisExemplar, VonSeite, BisSeite, "
                                  "Drucker, SchachtText, SchachtNr, LetzteSeiteZuerst FROM "
                                  "Auftrag_Formular_Druckerschacht_Neu WHERE FormStatus=1001 ORDER BY VonSeite")),
            QStringList({QStringLiteral("$GLOBAL$|1|1|99|1|1|Standard|Standard|0|Falsch"),
                         QStringLiteral("$GLOBAL$|1|1|99|2|9999|Standard|Standard|0|Falsch")}));

  const QString formulare = vorlagenEintragen();

  // A list in three copies: three rounds, each with the head and the three records.
  rufe(*druck, "SetAnzahlKopien", {std::int16_t(3)});
  drucken(1);
  EXPECT_EQ(definiert("DefineReportVariable", QStringLiteral("Exemplar")), QStringList({"0", "1", "2"}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).size(), 3);
  EXPECT_EQ(definiert("DefineReportVariable", QStringLiteral("Kunde")).size(), 6);
  EXPECT_EQ(definiert("DefineReportVariable", QStringLiteral("Datum")).value(0), QStringLiteral("08.12.2026"));
  EXPECT_TRUE(ll->calls().contains(QStringLiteral("DefineReportVariable(\"Bezahlt\", \"1\", 0x2000000)")));
  EXPECT_TRUE(ll->calls().contains(QStringLiteral("DefineReportVariable(\"Hinweis\", \"\", 0x10000000)")));
  // A round starts with the record on which the set stands: the first one, then past the last
  // one, whose values the data layer refuses; those are logged and skipped.
  EXPECT_EQ(definiert("DefineReportField", QStringLiteral("Artikel")),
            QStringList({"Ringbuch", "Ringbuch", "Atlas", "Globus", "Ringbuch", "Atlas", "Globus", "Ringbuch", "Atlas",
                         "Globus"}));
  EXPECT_EQ(protokoll().count(QStringLiteral("DruckFelderDefinieren:3021:")), 10);
  EXPECT_EQ(definiert("DefineReportField", QStringLiteral("DatenEOF")),
            QStringList({"0", "0", "1", "0", "0", "1", "0", "0", "1"}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintFields")).size(), 9);

  // The labels come once: the copy count was for that document.
  drucken(2);
  EXPECT_EQ(definiert("DefineReportVariable", QStringLiteral("Exemplar")), QStringList({"0"}));
  EXPECT_EQ(definiert("DefineReportVariable", QStringLiteral("Artikel")), QStringList({"Ringbuch", "Atlas", "Globus"}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintVariables")).size(), 3);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_TRUE(dialogs->shown().isEmpty()) << qPrintable(dialogs->shown().value(0).text);
  EXPECT_EQ(rufe(*druck, "GetExitCode"), vb::Variant(std::int32_t(0)));

  // The designer on the stored declaration, titled with the type's name.
  ll->setDesignedFile({});
  ll->clearCalls();
  rufe(*druck, "OpenDesign", {kTyp, formulare + QStringLiteral("Formularliste.lst")});
  EXPECT_EQ(ll->callsOf(QStringLiteral("DesignLayout")),
            QStringList({QStringLiteral("DesignLayout(0, \"Lieferschein\", 2, \"%1Formularliste.lst\")").arg(formulare)}));
  EXPECT_EQ(definiert("DefineReportField", QStringLiteral("Bemerkung")), QStringList({""}));
  EXPECT_EQ(definiert("DefineReportVariable", QStringLiteral("Kunde")), QStringList({"Bücherei Nord"}));

  // From now on the object prints the stored samples, whatever the host hands in.
  con->Execute(QStringLiteral("UPDATE LieferKopf SET Kunde='Schule Süd'"));
  drucken(1);
  QStringList kunden = definiert("DefineReportVariable", QStringLiteral("Kunde"));
  kunden.removeDuplicates();
  EXPECT_EQ(kunden, QStringList({"Bücherei Nord"}));
  EXPECT_EQ(definiert("DefineReportField", QStringLiteral("Artikel")), QStringList(4, QStringLiteral("Ringbuch")));
}

// The default templates on the real control: whatever the type declares reaches the page, and
// the designer shows the stored samples under the type's name.
class clsDruckAllgemeinVorlagen : public clsDruckAllgemeinTest {
 protected:
  clsDruckAllgemeinVorlagen() { echteSteuerung = true; }
};

TEST_F(clsDruckAllgemeinVorlagen, ListAndLabelsToPdfAndTheDesigner) {
  deklarieren();
  const QString formulare = vorlagenEintragen();
  const auto fenster = GeladenesDruckfenster();
  for (const short vorlage : {1, 2}) {
    rufe(*druck, "SetDruckerOptionen", {std::int16_t(kTyp), std::int16_t(vorlage)});
    rufe(*druck, "KopfDaten", {vb::Variant(satz("SELECT * FROM LieferKopf"))}, CallKind::Set);
    rufe(*druck, "DetailDaten", {vb::Variant(satz("SELECT * FROM LieferPos ORDER BY Pos"))}, CallKind::Set);
    const QString pdf = temp.file(QStringLiteral("Formular%1.pdf").arg(vorlage));
    fenster->let_PDFArchivDatei(pdf);
    fenster->StartPrintAllgemein(4);
    const QString text = testsupport::pdfSeiten(pdf).join(QLatin1Char('\f'));
    for (const char* teil : {"Kunde: Bücherei Nord", "Datum: 08.12.2026", "Artikel: Ringbuch", "Artikel: Globus",
                             "Bemerkung: Kante bestoßen"})
      EXPECT_TRUE(text.contains(QString::fromUtf8(teil))) << teil << "\n" << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("DatenEOF"))) << qPrintable(text);
    // Labels: one per record, each with the head too.
    if (vorlage == 2) EXPECT_EQ(text.count(QStringLiteral("Kunde: Bücherei Nord")), 3);
  }
  EXPECT_TRUE(dialogs->shown().isEmpty()) << qPrintable(dialogs->shown().value(0).text);

  QString titel;
  QStringList werte;
  dialogs->answerWindow([&](QDialog& d) {
    titel = d.windowTitle();
    const auto* liste = d.findChild<QTreeWidget*>(QStringLiteral("valueList"));
    for (int i = 0; liste && i < liste->topLevelItemCount(); ++i)
      werte << liste->topLevelItem(i)->text(0) + QLatin1Char('=') + liste->topLevelItem(i)->text(3);
    return int(QDialog::Rejected);
  });
  rufe(*druck, "OpenDesign", {kTyp, formulare + QStringLiteral("Formularliste.lst")});
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
  EXPECT_TRUE(titel.contains(QStringLiteral("Lieferschein"))) << qPrintable(titel);
  for (const char* wert : {"Kunde=Bücherei Nord", "Artikel=Ringbuch", "Exemplar=0", "DatenEOF=1"})
    EXPECT_TRUE(werte.contains(QString::fromUtf8(wert))) << wert << " in " << qPrintable(werte.join(QLatin1Char(' ')));
}

}  // namespace
