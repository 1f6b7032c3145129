// A host whose forms and settings live on the backend: forms created, routed, copied and deleted
// by the engine, and routes saved by the template manager, are what the engine loads.
#include <QCheckBox>

#include "engine/clsDruckerSchacht.h"
#include "engine/modSkrivant.h"
#include "foundation/modUtils.h"
#include "tests/configuration/VorlagenTestSupport.h"
#include "tests/support/Backends.h"

using testsupport::Backend;

namespace {

// Made before the fixture, which takes the database's connection string.
struct Datenbank {
  testsupport::BackendDatabase db{::testing::WithParamInterface<Backend>::GetParam()};
};

class Vorlagen : public Datenbank, public vorlagentest::VorlagenFixtureAuf<::testing::TestWithParam<Backend>> {
 protected:
  Vorlagen() : VorlagenFixtureAuf(db.connectionString()) {}
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    cat->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1"), QStringLiteral("Fach 2"), QStringLiteral("Fach 3")}),
                      enginetest::printer(QStringLiteral("Tinte"), {QStringLiteral("Oben"), QStringLiteral("Unten")})});
    cat->setDefaultPrinter(QStringLiteral("Laser"));
    VorlagenFixtureAuf::SetUp();
  }
  // One route row of the printer panel: copies, printers and trays of the first and further pages.
  void route(const char* von, const char* bis, const QString& drucker, const QString& schacht, const QString& weiterer,
             bool letzteZuerst) const {
    feld("Druckerwahl", "VonExemplar(0)").setText(QString::fromLatin1(von));
    feld("Druckerwahl", "BisExemplar(0)").setText(QString::fromLatin1(bis));
    feld<QComboBox>("Druckerwahl", "Druckerliste(0)").setEditText(drucker);
    feld<QComboBox>("Druckerwahl", "Schachtliste(0)").setEditText(schacht);
    feld<QComboBox>("Druckerwahl", "DruckerlisteWeitere(0)").setEditText(drucker);
    feld<QComboBox>("Druckerwahl", "SchachtlisteWeitere(0)").setEditText(weiterer);
    feld<QCheckBox>("Druckerwahl", "blnLetzteZuerst(0)").setChecked(letzteZuerst);
  }

  enginetest::FakeCatalogue cat;
};

INSTANTIATE_TEST_SUITE_P(Backends, Vorlagen, testsupport::allBackends(), testsupport::backendName);

}  // namespace

TEST_P(Vorlagen, RoutesSavedByTheWindowAreWhatTheEngineLoads) {
  oeffnen(3, 0);
  aktion("cmdVorlageAnlegen_2").trigger();
  ASSERT_EQ(aktuellerKnoten(), QStringLiteral("F0003V002F"));
  feld("ctrFormatdatei", "strFormatDatei").setText(QStringLiteral("$Daten$FORMULAR\\Rechnung.lst"));
  feld("ctrFormatdatei", "AnzahlKopien").setText(QStringLiteral("2"));
  waehle("F0003V002DG");
  route("1", "9", QStringLiteral("Tinte"), QStringLiteral("Unten"), QStringLiteral("Oben"), false);
  waehle("F0003V002DL");
  route("1", "2", QStringLiteral("Laser"), QStringLiteral("Fach 2"), QStringLiteral("Fach 3"), true);
  schliessen();
  EXPECT_EQ(prozessEnden, 1);
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);

  SetGlobalConnectList(handler);  // as a host's next print sets it
  clsDruckerSchacht hier, anderer;
  hier.LoadDruckForm(GetRechnerName(), 2, 3);
  anderer.LoadDruckForm(QStringLiteral("ANDERER-PC"), 2, 3);
  EXPECT_EQ(hier.Formatdatei().toStdString(), (host.datenverzeichnis() + QStringLiteral("FORMULAR\\Rechnung.lst")).toStdString());
  EXPECT_EQ(hier.AnzahlKopien(), 2);
  const QList<std::tuple<clsDruckerSchacht*, int, int, const char*, int, bool>> erwartet = {
      {&hier, 1, 1, "Laser", 2, true},     {&hier, 2, 3, "Laser", 3, true},
      {&anderer, 1, 1, "Tinte", 2, false}, {&anderer, 9, 2, "Tinte", 1, false}};
  for (const auto& [schacht, exemplar, seite, drucker, nr, letzteZuerst] : erwartet) {
    SCOPED_TRACE(QStringLiteral("%1: copy %2, page %3").arg(QString::fromLatin1(drucker)).arg(exemplar).arg(seite).toStdString());
    EXPECT_EQ(schacht->Drucker(exemplar, seite).toStdString(), drucker);
    EXPECT_EQ(schacht->SchachtNr(exemplar, seite), nr);
    EXPECT_EQ(schacht->LetzteSeiteZuerst(exemplar, seite), letzteZuerst);
  }
}

TEST_P(Vorlagen, AFormIsCreatedRoutedCopiedAndLoadedForTheWorkstation) {
  constexpr short kRechnung = 3;
  short nummer = 0;
  ASSERT_TRUE(CreateFormular(kRechnung, nummer, 2));
  handler->SQLGruppe_Connection(4)->Execute(
      QStringLiteral("UPDATE Auftrag_Formular_Neu SET Formatdatei=?, Kopftext=?, AnzahlKopien=? WHERE FormStatus=? AND FormNummer=?"),
      {QStringLiteral("$Daten$FORMULAR/Rechnung.lst"), QStringLiteral("Ihre Bestellung \\ 'vom' <BestellDatum>"), 2, kRechnung, nummer});
  SetVorgabe(QStringLiteral("Duplikatsvermerk"), QStringLiteral("-1"), handler->SQLGruppe_Connection(6));

  // The two default routes hold for every workstation; "Standard" is the default printer.
  const QString pc = GetRechnerName();
  clsDruckerSchacht global;
  global.LoadDruckForm(pc, nummer, kRechnung);
  EXPECT_TRUE(dialogs->shown().isEmpty());
  EXPECT_EQ(global.Formatdatei(), host.datenverzeichnis() + QStringLiteral("FORMULAR/Rechnung.lst"));
  EXPECT_EQ(global.Kopftext(), QStringLiteral("Ihre Bestellung \\ 'vom' <BestellDatum>"));
  EXPECT_EQ(global.AnzahlKopien(), 2);
  EXPECT_EQ(global.BerichtArt(), 2);
  EXPECT_EQ(global.Drucker(1, 2), QStringLiteral("Laser"));
  EXPECT_FALSE(global.LetzteSeiteZuerst(1, 1));

  // Rows of the workstation (its name in other letter case) replace the global ones; the
  // archive printer is a row of its own.
  for (const auto& [rechner, von, drucker, schacht, letzteZuerst] :
       {std::tuple{pc.toLower(), 1, QStringLiteral("Tinte"), 2, true}, std::tuple{QStringLiteral("$GLOBAL$"), -1, QStringLiteral("Archiv"), 0, false}})
    handler->SQLGruppe_Connection(4)->Execute(
        QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (RechnerName, FormStatus, FormNummer, VonExemplar, "
                       "BisExemplar, VonSeite, BisSeite, Drucker, SchachtNr, LetzteSeiteZuerst) VALUES (?, ?, ?, ?, ?, 1, 0, ?, ?, ?)"),
        {rechner, kRechnung, nummer, von, von < 0 ? -1 : 0, drucker, schacht, letzteZuerst});
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
  EXPECT_EQ(GetVorgabe(QStringLiteral("duplikatsvermerk"), QStringLiteral("0"), handler->SQLGruppe_Connection(6)), QStringLiteral("-1"));

  ASSERT_TRUE(DeleteFormular(kRechnung, kopie));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormNummer=%1").arg(kopie)),
            QStringList{QStringLiteral("0")});
}
