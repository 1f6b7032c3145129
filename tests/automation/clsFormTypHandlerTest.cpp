// Edge cases of generic form types: the declaration (numbers, all or nothing, re-declaration,
// sample values, existing routes, the host's type codes, texts that are no SQL) and the handler
// (loads that find nothing or fail, print and design definitions).
#include <QDir>
#include <functional>
#include <memory>

#include "automation/clsDruckAllgemein.h"
#include "automation/clsFormTypHandler.h"
#include "engine/Druckfenster.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/clsDataCollection.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/report/RecordingReportControl.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/HostDatensatz.h"

using automation::CallKind;
using namespace automationtest;
using testsupport::errorOf;
using testsupport::HostDatensatz;

namespace {

const QString kText = QString::number(0x10000000), kZahl = QString::number(0x08000000),
              kDatum = QString::number(0x04000000), kJaNein = QString::number(0x02000000);

std::shared_ptr<HostDatensatz> satz(const QStringList& namen, const QList<int>& typen, const QList<vb::Variant>& werte) {
  return std::make_shared<HostDatensatz>(namen, typen, QList<QList<vb::Variant>>{werte});
}
std::shared_ptr<HostDatensatz> leer() { return std::make_shared<HostDatensatz>(QStringList(), QList<int>(), QList<QList<vb::Variant>>{{}}); }

class FormTypKanten : public AutomationFixture {
 protected:
  void SetUp() override {
    DruckfensterSteuerungVorgeben(ll);
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
    con = GetGlobalConnectList()->SQLGruppe_Connection(4);
    druck = std::make_shared<clsDruckAllgemein>();
  }
  void TearDown() override {
    druck.reset();
    DruckfensterSteuerungVorgeben(nullptr);
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }
  void deklarieren(std::int32_t id, const QString& name, std::int16_t art, std::shared_ptr<QObject> kopf,
                   std::shared_ptr<QObject> detail) {
    rufe(*druck, "CreateFormularTyp", {id, name, "Beschreibung", art, vb::Variant(kopf), vb::Variant(detail)});
  }
  QStringList zeilen(const QString& sql) const { return enginetest::zeilen(*con, sql); }
  QStringList felder(std::int32_t id) const {
    return zeilen(QStringLiteral("SELECT Datenbereich, FeldName, DatenTyp, DesignWert FROM Druck_Formulartypen_Felder "
                                 "WHERE FormTypID=%1 ORDER BY ID").arg(id));
  }

  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
  std::shared_ptr<report::RecordingReportControl> ll = std::make_shared<report::RecordingReportControl>();
  std::shared_ptr<data::Connection> con;
  std::shared_ptr<clsDruckAllgemein> druck;
};

TEST_F(FormTypKanten, Declaration) {
  const auto kopf = satz({"Kunde"}, {10}, {"Nord"});
  const auto detail = satz({"Artikel", "Menge"}, {10, 7}, {"Atlas", 2.0});

  // Numbers of the engine's own form kinds, and those no form setting can be loaded under.
  for (const std::int32_t id : {0, 3, 130, 999, 32768, -1001}) {
    EXPECT_EQ(errorOf([&] { deklarieren(id, "X", 2, kopf, detail); }), vb::ErrInvalidCall) << id;
  }
  EXPECT_TRUE(zeilen(QStringLiteral("SELECT * FROM Druck_Formulartypen")).isEmpty());
  EXPECT_TRUE(zeilen(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormStatus<>3")).isEmpty());

  // Texts and names from the host are stored as they are, never read as SQL.
  const QString boese = QStringLiteral("O'Neil'); DELETE FROM Druck_Formulartypen; --");
  deklarieren(1000, boese, 2, satz({boese}, {10}, {boese}), detail);
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Bezeichnung FROM Druck_Formulartypen")), QStringList({boese}));
  EXPECT_EQ(felder(1000).first(), "1|" + boese + "|" + kText + "|" + boese);

  // The host's type codes: 1 boolean, 2 to 5 and 7 numbers, 8 and 9 dates, the rest text.
  const QList<int> codes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
  QStringList namen;
  QList<vb::Variant> werte;
  for (const int c : codes) namen << QStringLiteral("F%1").arg(c), werte << vb::Variant(QStringLiteral("w"));
  deklarieren(1002, "Typen", 2, satz(namen, codes, werte), leer());
  QStringList typen;
  for (const QString& z : felder(1002)) typen << z.section(QLatin1Char('|'), 2, 2);
  EXPECT_EQ(typen, QStringList({kJaNein, kZahl, kZahl, kZahl, kZahl, kText, kZahl, kDatum, kDatum, kText, kText}));

  // First declaration: samples (head cut to 150, Null as ""; detail whole, Null kept),
  // template 1 and the two routes.
  const QString lang(200, QLatin1Char('x'));
  deklarieren(1001, "Lieferschein", 2, satz({"Lang", "Leer"}, {10, 10}, {lang, vb::Variant::null()}),
              satz({"Lang", "Leer"}, {10, 10}, {lang, vb::Variant::null()}));
  EXPECT_EQ(felder(1001), QStringList({"1|Lang|" + kText + "|" + lang.left(150), "1|Leer|" + kText + "|",
                                       "2|Lang|" + kText + "|" + lang, "2|Leer|" + kText + "|NULL"}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormStatus=1001")),
            QStringList({"2"}));

  // Again with other fields and another kind: renamed, fields replaced, template kept.
  deklarieren(1001, "Lieferliste", 1, kopf, leer());
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Bezeichnung FROM Druck_Formulartypen WHERE FormTypID=1001")),
            QStringList({"Lieferliste"}));
  EXPECT_EQ(felder(1001), QStringList({"1|Kunde|" + kText + "|Nord"}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT BerichtArt FROM Auftrag_Formular_Neu WHERE FormStatus=1001")),
            QStringList({"2"}));

  // A host object that fails while its fields are written leaves the type as it was.
  const auto kaputt = std::make_shared<HostDatensatz>(QStringList{"A"}, QList<int>{10}, QList<QList<vb::Variant>>{});
  EXPECT_EQ(errorOf([&] { deklarieren(1001, "Halb", 2, kopf, kaputt); }), 3021);
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Bezeichnung FROM Druck_Formulartypen WHERE FormTypID=1001")),
            QStringList({"Lieferliste"}));
  EXPECT_EQ(felder(1001), QStringList({"1|Kunde|" + kText + "|Nord"}));
  EXPECT_TRUE(zeilen(QStringLiteral("SELECT * FROM Druck_Formulartypen WHERE FormTypID=1003")).isEmpty());
  EXPECT_EQ(errorOf([&] { deklarieren(1003, "Neu", 2, kopf, kaputt); }), 3021);
  EXPECT_TRUE(zeilen(QStringLiteral("SELECT * FROM Druck_Formulartypen WHERE FormTypID=1003")).isEmpty());
  EXPECT_TRUE(zeilen(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormStatus=1003")).isEmpty());

  // Routes the user set for any template of the type: no default rows.
  con->Execute(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (FormStatus, FormNummer, RechnerName, "
                              "VonExemplar, BisExemplar, VonSeite, BisSeite, Drucker) VALUES (1004, 2, 'PC1', 1, 1, 1, 1, 'P')"));
  deklarieren(1004, "Mit Route", 2, kopf, detail);
  EXPECT_EQ(zeilen(QStringLiteral("SELECT RechnerName FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormStatus=1004")),
            QStringList({"PC1"}));
}

// No row number of our own: the order is the order of declaration.
TEST_F(FormTypKanten, FieldTableWithTheHostsFiveColumns) {
  con->Execute(QStringLiteral("DROP TABLE Druck_Formulartypen_Felder"));
  con->Execute(QStringLiteral("CREATE TABLE Druck_Formulartypen_Felder (FormTypID INTEGER, Datenbereich SMALLINT, "
                              "FeldName TEXT, DatenTyp INTEGER, DesignWert TEXT)"));
  deklarieren(1001, "Lieferschein", 2, satz({"Kunde", "Datum"}, {10, 8}, {"Nord", "08.12.2026"}),
              satz({"Artikel", "Menge"}, {10, 7}, {"Atlas", 2.0}));
  clsFormTypHandler h;
  ASSERT_TRUE(h.LoadFormtyp(1001));
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
  EXPECT_EQ(h.FensterTitelEntwurf(), vb::Variant(QStringLiteral("Lieferschein")));
  QStringList namen;
  for (const auto& liste : {h.DataVariablen(), h.DataFelder()}) {
    const auto daten = liste.objectAs<clsDataCollection>();
    for (daten->MoveFirst(); !daten->Eof(); daten->MoveNext())
      namen << vb::CStr(daten->objCurDataRecord()->Item(QStringLiteral("Feldname"))->Value);
  }
  EXPECT_EQ(namen, QStringList({"Kunde", "Datum", "Artikel", "Menge"}));
}

TEST_F(FormTypKanten, Handler) {
  clsFormTypHandler h;
  h.set_LL(vb::Variant(std::static_pointer_cast<QObject>(ll)));
  EXPECT_EQ(h.FensterTitelEntwurf(), vb::Variant(QString()));

  // Nothing there: False, nothing taken over.
  EXPECT_FALSE(h.LoadFormtyp(1001));
  EXPECT_EQ(h.FensterTitelEntwurf(), vb::Variant(QString()));
  EXPECT_TRUE(h.DataVariablen().isNothing());

  con->Execute(QStringLiteral("INSERT INTO Druck_Formulartypen VALUES (1001, 'Lieferschein', '')"));
  con->Execute(QStringLiteral("INSERT INTO Druck_Formulartypen VALUES (1002, 'Ohne Felder', '')"));
  con->Execute(QStringLiteral("INSERT INTO Druck_Formulartypen_Felder (FormTypID, Datenbereich, FeldName, DatenTyp, DesignWert) "
                              "VALUES (1001, 1, 'Kunde', %1, 'Nord'), (1001, 2, 'Artikel', %1, 'Atlas'), "
                              "(1001, 3, 'Menge', %2, NULL)").arg(kText, kZahl));
  EXPECT_TRUE(h.LoadFormtyp(1001));
  const auto variablen = h.DataVariablen().objectAs<clsDataCollection>();
  EXPECT_EQ(variablen->RecordCount(), 1);
  EXPECT_EQ(h.DataFelder().objectAs<clsDataCollection>()->RecordCount(), 2);  // Datenbereich 3 is detail too
  // A type without fields: its name, and the lists of before.
  EXPECT_FALSE(h.LoadFormtyp(1002));
  EXPECT_EQ(h.FensterTitelEntwurf(), vb::Variant(QStringLiteral("Ohne Felder")));
  EXPECT_EQ(h.DataVariablen().objectAs<clsDataCollection>(), variablen);

  // A read that keeps failing ends the load after one message.
  con->Execute(QStringLiteral("DROP TABLE Druck_Formulartypen_Felder"));
  EXPECT_FALSE(h.LoadFormtyp(1001));
  EXPECT_EQ(dialogs->messageBoxes().size(), 1);

  // Print mode: the host's head and the current detail record, as fields or, for labels, variables.
  const auto datum = QDateTime(QDate(2026, 12, 8), QTime(0, 0));
  h.set_objRsVariablen(vb::Variant(satz({"Datum", "Bemerkung", "Bezahlt"}, {8, 10, 1}, {datum, vb::Variant::null(), true})));
  h.set_Data(vb::Variant(std::make_shared<HostDatensatz>(QStringList{"Artikel"}, QList<int>{10},
                                                          QList<QList<vb::Variant>>{{"Atlas"}, {"Globus"}})));
  ll->clearCalls();
  h.DruckVariablenDefinieren();
  h.DruckFelderDefinieren(vb::Variant(false));
  h.DruckFelderDefinieren(vb::Variant(false), vb::Variant(true));
  h.DruckFelderDefinieren(vb::Variant(false), vb::Variant(QStringLiteral("kein Wahrheitswert")));
  EXPECT_EQ(ll->calls(), QStringList({"DefineReportVariable(\"Datum\", \"08.12.2026\", 0x4000000)",
                                      "DefineReportVariable(\"Bemerkung\", \"\", 0x10000000)",
                                      "DefineReportVariable(\"Bezahlt\", \"1\", 0x2000000)",
                                      "DefineReportField(\"Artikel\", \"Atlas\", 0x10000000)",
                                      "DefineReportVariable(\"Artikel\", \"Atlas\", 0x10000000)",
                                      "DefineReportVariable(\"Artikel\", \"Atlas\", 0x10000000)"}));
  EXPECT_EQ(dialogs->messageBoxes().size(), 1);

  // Design mode without stored fields: the designer's call fails with 91.
  clsFormTypHandler ohne;
  ohne.set_LL(vb::Variant(std::static_pointer_cast<QObject>(ll)));
  ohne.LoadDesignData(1002);
  EXPECT_EQ(errorOf([&] { ohne.DruckVariablenDefinieren(); }), vb::ErrObjectNotSet);
}

}  // namespace
