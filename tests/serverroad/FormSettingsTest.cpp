// A form's settings and printer routes on the three databases, as the engine creates, copies and
// loads them: the form tables and the settings on the backend, reached through the global
// connection handler's groups 4 and 6.
#include <gtest/gtest.h>

#include "engine/clsDruckerSchacht.h"
#include "engine/modSkrivant.h"
#include "engine/modSystem.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/Backends.h"

using testsupport::Backend;

namespace {

constexpr short kRechnung = 3;

class FormSettings : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    ASSERT_TRUE(db.create(schema::Tables::Host)) << db.failure();
    handler = std::make_shared<clsConnectionHandler>();
    for (const short gruppe : {short(4), short(6)}) handler->let_SQLGruppe_DB_OpenConnection(gruppe, db.connectionString());
    SetGlobalConnectList(handler);
    SetDatenverzeichnis(dir.path() + QStringLiteral("/"));
    dir.write(QStringLiteral("Rechnung.lst"), "{}");
    cat->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1"), QStringLiteral("Fach 2")}),
                      enginetest::printer(QStringLiteral("Tinte"), {QStringLiteral("Oben"), QStringLiteral("Unten")})});
    cat->setDefaultPrinter(QStringLiteral("Laser"));
  }
  void TearDown() override {
    SetGlobalConnectList(nullptr);
    SetDatenverzeichnis(QString());
  }
  std::shared_ptr<data::Connection> con() { return handler->SQLGruppe_Connection(4); }

  // A route row as the printer panel writes it.
  void route(const QString& rechner, int von, const QString& drucker, int schacht, bool letzteZuerst) {
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE RechnerName=?"), vb::Variant(con()),
            data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified, {rechner});
    rs.AddNew();
    const auto set = [&](const char* c, const vb::Variant& v) { rs.Fields(vb::Variant(QString::fromLatin1(c)))->let_Value(v); };
    set("RechnerName", rechner);
    set("FormStatus", kRechnung);
    set("FormNummer", 1);
    set("VonExemplar", von);
    set("BisExemplar", von < 0 ? -1 : 0);
    set("VonSeite", 1);
    set("BisSeite", 0);
    set("Drucker", drucker);
    set("SchachtNr", schacht);
    set("SchachtText", drucker + QStringLiteral(" Fach"));
    set("LetzteSeiteZuerst", letzteZuerst);
    rs.Update();
  }

  testsupport::BackendDatabase db{GetParam()};
  testsupport::TempDir dir;
  ui::ScopedScriptedDialogs dialogs;
  enginetest::FakeCatalogue cat;
  std::shared_ptr<clsConnectionHandler> handler;
};

INSTANTIATE_TEST_SUITE_P(Backends, FormSettings, testsupport::allBackends(), testsupport::backendName);

}  // namespace

TEST_P(FormSettings, AFormIsCreatedRoutedCopiedAndLoadedForTheWorkstation) {
  short nummer = 0;
  ASSERT_TRUE(CreateFormular(kRechnung, nummer, 2));
  ASSERT_EQ(nummer, 1);
  con()->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei=?, Kopftext=?, AnzahlKopien=? "
                                "WHERE FormStatus=? AND FormNummer=?"),
                 {QStringLiteral("$Daten$Rechnung.lst"), QStringLiteral("Ihre Bestellung \\ 'vom' <BestellDatum>"), 2,
                  kRechnung, nummer});
  SetVorgabe(QStringLiteral("Duplikatsvermerk"), QStringLiteral("-1"), handler->SQLGruppe_Connection(6));

  // The two default routes hold for every workstation; "Standard" is the default printer.
  clsDruckerSchacht global;
  const QString pc = GetRechnerName();
  global.LoadDruckForm(pc, nummer, kRechnung);
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_EQ(global.Formatdatei(), dir.file(QStringLiteral("Rechnung.lst")));
  EXPECT_EQ(global.Kopftext(), QStringLiteral("Ihre Bestellung \\ 'vom' <BestellDatum>"));
  EXPECT_EQ(global.AnzahlKopien(), 2);
  EXPECT_EQ(global.BerichtArt(), 2);
  EXPECT_EQ(global.Drucker(1, 2), QStringLiteral("Laser"));
  EXPECT_FALSE(global.LetzteSeiteZuerst(1, 1));

  // Rows of the workstation (its name in other letter case) replace the global ones; the
  // archive printer is a row of its own.
  route(pc.toLower(), 1, QStringLiteral("Tinte"), 2, true);
  route(QStringLiteral("$GLOBAL$"), -1, QStringLiteral("Archiv"), 0, false);
  clsDruckerSchacht eigene;
  eigene.LoadDruckForm(pc, nummer, kRechnung);
  EXPECT_EQ(eigene.Drucker(3, 5), QStringLiteral("Tinte"));
  EXPECT_EQ(eigene.SchachtNr(3, 5), 2);
  EXPECT_TRUE(eigene.LetzteSeiteZuerst(1, 1));
  EXPECT_EQ(eigene.ArchivDrucker(), QStringLiteral("Archiv"));

  // Pasted onto a new form, texts, template and every route come along.
  short kopie = 0;
  CreateFormular(kRechnung, kopie, 2);
  CopyFormularDaten(kRechnung, nummer, 207, kRechnung, kopie);
  clsDruckerSchacht kopiert;
  kopiert.LoadDruckForm(pc, kopie, kRechnung);
  EXPECT_EQ(kopiert.Kopftext(), global.Kopftext());
  EXPECT_EQ(kopiert.Drucker(1, 1), QStringLiteral("Tinte"));
  EXPECT_EQ(kopiert.ArchivDrucker(), QStringLiteral("Archiv"));
  EXPECT_EQ(GetVorgabe(QStringLiteral("duplikatsvermerk"), QStringLiteral("0"), handler->SQLGruppe_Connection(6)),
            QStringLiteral("-1"));

  ASSERT_TRUE(DeleteFormular(kRechnung, kopie));
  EXPECT_EQ(con()->Execute(QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormNummer=?"),
                           {kopie})
                ->Fields(vb::Variant(0))
                ->Value()
                .value()
                .toInt(),
            0);
}
