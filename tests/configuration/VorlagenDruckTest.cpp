// A user's whole task in the template manager, and the engine printing with what it wrote: a new
// list template with its file, copies, texts and a route of two trays for this workstation, then
// a document of that form through Application to a private cupsd, whose output carries the trays.
#include <QDir>
#include <optional>

#include "tests/configuration/VorlagenTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/CupsDruckweg.h"
#include "tests/support/PrivateCupsd.h"
#include "tests/support/RequireTool.h"

using namespace vorlagentest;
using testsupport::PrivateCupsd;

namespace {

const QString kQueue = QStringLiteral("Laser");

class VorlagenDruckTest : public VorlagenFixture {
 protected:
  void SetUp() override {
    SKRIVANT_REQUIRE_TOOL(PrivateCupsd::installed(), PrivateCupsd::notInstalledMessage());
    cupsd = std::make_unique<PrivateCupsd>();
    ASSERT_TRUE(cupsd->start()) << cupsd->failure();
    ASSERT_TRUE(cupsd->addPclQueue(kQueue)) << cupsd->failure();
    druckweg.emplace();
    VorlagenFixture::SetUp();
  }
  void TearDown() override {
    VorlagenFixture::TearDown();
    druckweg.reset();
  }

  std::unique_ptr<PrivateCupsd> cupsd;
  std::optional<testsupport::CupsDruckweg> druckweg;
};

}  // namespace

TEST_F(VorlagenDruckTest, TemplateConfiguredInTheWindowIsWhatTheEnginePrints) {
  oeffnen(3, 0);
  EXPECT_EQ(aktuellerKnoten(), QStringLiteral("F0003"));
  EXPECT_EQ(panel(), QString());
  aktion("cmdVorlageAnlegen_2").trigger();
  ASSERT_EQ(aktuellerKnoten(), QStringLiteral("F0003V002F"));
  feld("ctrFormatdatei", "strFormatDatei").setText(QStringLiteral("$Daten$FORMULAR\\Rechnung.lst"));
  feld("ctrFormatdatei", "AnzahlKopien").setText(QStringLiteral("2"));

  waehle("F0003V002T");
  EXPECT_EQ(panel(), QStringLiteral("ctrTexte1"));
  feld("ctrTexte1", "Absender").setText(QStringLiteral("Buchhandlung Vorlagenweg 7"));

  waehle("F0003V002DL");
  EXPECT_EQ(panel(), QStringLiteral("Druckerwahl"));
  feld("Druckerwahl", "VonExemplar(0)").setText(QStringLiteral("1"));
  feld("Druckerwahl", "BisExemplar(0)").setText(QStringLiteral("2"));
  for (const char* liste : {"Druckerliste(0)", "DruckerlisteWeitere(0)"})
    feld<QComboBox>("Druckerwahl", liste).setEditText(kQueue);
  feld<QComboBox>("Druckerwahl", "Schachtliste(0)").setEditText(QStringLiteral("Tray 2"));
  feld<QComboBox>("Druckerwahl", "SchachtlisteWeitere(0)").setEditText(QStringLiteral("Tray 3"));
  waehle("F0003V002");  // leaving the node saves the routes

  const QString pc = GetRechnerName();
  EXPECT_EQ(zeilen(QStringLiteral("SELECT VonExemplar, BisExemplar, VonSeite, BisSeite, Drucker, SchachtText, SchachtNr "
                                  "FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormStatus=3 AND FormNummer=2 AND "
                                  "RechnerName='%1' ORDER BY VonSeite")
                   .arg(pc)),
            QStringList({"1|2|1|1|Laser|Tray 2|2", "1|2|2|99999|Laser|Tray 3|3"}));
  EXPECT_EQ(zeilen(QStringLiteral("SELECT Formatdatei, AnzahlKopien, Absender, BerichtArt FROM Auftrag_Formular_Neu "
                                  "WHERE FormStatus=3 AND FormNummer=2")),
            QStringList{"$Daten$FORMULAR\\Rechnung.lst|2|Buchhandlung Vorlagenweg 7|2"});

  // A host prints while the window stays open: its calls run between the window's events.
  QList<beispiel::Zeile> positionen;
  for (int i = 1; i <= 60; ++i) positionen << beispiel::position(i, 1, QStringLiteral("Artikel %1").arg(i), 2.5, true);
  host.zeilenSchreiben(positionen);
  auto druck = std::make_shared<Application>();
  rufe(*druck, "ConnectList", {vb::Variant(handler)}, automation::CallKind::Set);
  rufe(*druck, "Datenverzeichnis", {host.datenverzeichnis()}, automation::CallKind::Let);
  rufe(*druck, "SetDataBaseName", {host.datenbank()});
  rufe(*druck, "Clear");
  rufe(*druck, "SetDruckerOptionen", {std::int16_t(3), std::int16_t(2)});
  EXPECT_EQ(vb::CLng(rufe(*druck, "PrintDokument")), 0);
  EXPECT_EQ(vb::CLng(rufe(*druck, "GetExitCode")), 0);
  EXPECT_TRUE(besetzt());

  // The spool keeps the PDFs sent: the sender line typed into the texts panel is printed.
  const QDir spool(cupsd->folder() + QStringLiteral("/spool"));
  const QStringList gespoolt = spool.entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name);
  ASSERT_FALSE(gespoolt.isEmpty());
  EXPECT_TRUE(testsupport::pdfSeiten(spool.filePath(gespoolt.first())).join(QString()).contains(
      QStringLiteral("Buchhandlung Vorlagenweg 7")));

  const QByteArray fach2 = cupsd->trayEscape(kQueue, QStringLiteral("Tray2"));
  const QByteArray fach3 = cupsd->trayEscape(kQueue, QStringLiteral("Tray3"));
  ASSERT_FALSE(fach2.isEmpty());
  ASSERT_FALSE(fach3.isEmpty());
  const auto jobs = cupsd->takeJobs(kQueue);
  ASSERT_TRUE(jobs) << cupsd->failure();
  // Two copies, each: the first page from tray 2, the further pages from tray 3.
  ASSERT_EQ(jobs->size(), 4);
  for (int j = 0; j < 4; ++j) {
    const QByteArray& pcl = jobs->at(j).output;
    const bool ersteSeite = j % 2 == 0;
    EXPECT_TRUE(pcl.contains(ersteSeite ? fach2 : fach3)) << "job " << j + 1;
    EXPECT_FALSE(pcl.contains(ersteSeite ? fach3 : fach2)) << "job " << j + 1;
  }

  schliessen();
  EXPECT_EQ(prozessEnden, 1);
  EXPECT_FALSE(besetzt());
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty()) << qPrintable(dialogs->messageBoxes().value(0).text);
}
