// The template manager on a host whose forms live on the backend: a new template with its routes
// for every workstation and for this one, saved by the window, is what the engine loads.
#include <QCheckBox>

#include "engine/clsDruckerSchacht.h"
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
