// The handler-driven print: a test handler with an in-memory or a database record source, on the
// recording control for the protocol and on the real report control for copies, batch and output.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFileInfo>
#include <stdexcept>

#include "engine/clsDruckerSchacht.h"
#include "engine/modSystem.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/PageView.h"
#include "tests/engine/DruckausgabeSupport.h"
#include "tests/engine/DruckdatenTestHandler.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/DruckFensterFixture.h"
#include "tests/support/ErrorOf.h"

namespace {

using enginetest::datensaetze;
using testsupport::errorOf;

constexpr short kStatus = 130;
const QString kKeineDaten = QStringLiteral("Keine Druckdaten vorhanden!");

// A record source without MoveLast, as a host may hand one in.
class QuelleOhneMoveLast : public QObject {
  Q_OBJECT

 public:
  Q_INVOKABLE int RecordCount() const { return 2; }
  Q_INVOKABLE void MoveFirst() { m_nr = 1; }
  Q_INVOKABLE void MoveNext() { ++m_nr; }
  Q_INVOKABLE bool Eof() const { return m_nr > 2; }

 private:
  int m_nr = 1;
};

// A control that fails at the first row.
class ZeilenFehler : public report::RecordingReportControl {
 public:
  int PrintFields() override { throw std::runtime_error("Druckausgabe gestört"); }
};

// The calls that show the protocol of the job (the values defined are checked apart).
QStringList protokoll(const QStringList& calls) {
  QStringList out;
  for (const QString& c : calls)
    if (!c.startsWith(QLatin1String("DefineReport")) && !c.startsWith(QLatin1String("SetBoxText"))) out << c;
  return out;
}

class frmDruckenAllgemein : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    liste = temp.write(QStringLiteral("Mahnung.lst"), "{}");
    etiketten = temp.write(QStringLiteral("Adressen.lbl"), "{}");
    db.addForm(kStatus, 1, QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien"), QStringLiteral("2, '%1', 1").arg(liste));
    db.addForm(kStatus, 2, QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien"), QStringLiteral("1, '%1', 1").arg(etiketten));
    fenster->SetDruckerOptionen(kStatus, 1);
    fenster->let_PDFArchivDatei(temp.file(QStringLiteral("Archiv.pdf")));
    handler->daten = datensaetze(2);
    fenster->set_DruckdatenHandler(vb::Variant(handler));
    ll->clearCalls();
    handler->aufrufe.clear();
  }

  QStringList meldungen() const {
    QStringList out;
    for (const auto& m : dialogs->messageBoxes()) out << m.text;
    return out;
  }

  enginetest::FakeCatalogue katalog;
  enginetest::FormDatabase db;
  std::shared_ptr<enginetest::DruckdatenTestHandler> handler = std::make_shared<enginetest::DruckdatenTestHandler>();
  QString liste;
  QString etiketten;
};

TEST_F(frmDruckenAllgemein, AnInvalidModeShowsItsOwnWordingAndChangesNothing) {
  for (short modus : {0, 5, -1}) fenster->StartPrintAllgemein(modus);
  ASSERT_EQ(dialogs->messageBoxes().size(), 3);
  for (const auto& b : dialogs->messageBoxes()) {
    EXPECT_EQ(b.text,
              QStringLiteral("Ungültiger Aufruf von StartPrintAllgemein. 'AusgabeModus' enthält ungültigen Wert"));
    EXPECT_EQ(b.style, ui::vbOKOnly);
  }
  EXPECT_FALSE(fenster->Running());
  EXPECT_TRUE(ll->calls().isEmpty());
  EXPECT_TRUE(handler->aufrufe.isEmpty());
}

TEST_F(frmDruckenAllgemein, NoRecordsSaySoAndEndTheJob) {
  handler->daten = datensaetze(0);
  fenster->StartPrintAllgemein(2);
  EXPECT_EQ(meldungen(), QStringList({kKeineDaten}));
  EXPECT_EQ(dialogs->messageBoxes().first().style, ui::vbOKOnly | ui::vbInformation);
  EXPECT_FALSE(fenster->Running());
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("SetPrinterDefaultsDir(\"%1\")").arg(GetFormularPfad())}));
}

TEST_F(frmDruckenAllgemein, OneCopyOfAListIsOnePassOverTheRecords) {
  fenster->StartPrintAllgemein(2);

  const QStringList erwartet = {
      QStringLiteral("SetPrinterDefaultsDir(\"%1\")").arg(GetFormularPfad()),
      QStringLiteral("SetOption(21, 1)"),
      QStringLiteral("StartFields()"),
      QStringLiteral("StartVariables()"),
      QStringLiteral("SetOptionString(3, \"%1\")").arg(fenster->ApplicationTitel()),
      QStringLiteral("SetPrinterDefaultsDir(\"%1\")").arg(GetLokalerPfad()),
      QStringLiteral("StartPrintJob(2, \"%1\", 0x200)").arg(liste),
      QStringLiteral("SetOption(21, 1)"),
      // the head of page 1, then the two records
      QStringLiteral("PrintVariables()"),
      QStringLiteral("PrintFields()"),
      QStringLiteral("PrintFields()"),
      QStringLiteral("EndPrint(0)")};
  EXPECT_EQ(protokoll(ll->calls()).mid(0, erwartet.size()).join(QLatin1Char('\n')).toStdString(),
            erwartet.join(QLatin1Char('\n')).toStdString());
  EXPECT_EQ(ll->callsOf(QStringLiteral("DeletePreviewFiles")).size(), 1);
  EXPECT_EQ(ll->callsOf(QStringLiteral("SetBoxText")),
            QStringList({QStringLiteral("SetBoxText(\"Druckausgabe\", 50)"), QStringLiteral("SetBoxText(\"Druckausgabe\", 100)")}));
  EXPECT_EQ(handler->aufrufe,
            QStringList({QStringLiteral("LL"), QStringLiteral("DruckVariablenDefinieren"),
                         QStringLiteral("DruckFelderDefinieren(True)"), QStringLiteral("DruckVariablenDefinieren"),
                         QStringLiteral("DruckFelderDefinieren(False)"), QStringLiteral("DruckFelderDefinieren(False)")}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("DefineReportVariable")).mid(0, 2),
            QStringList({QStringLiteral("DefineReportVariable(\"Falzstrich\", \"1\", 0x2000000)"),
                         QStringLiteral("DefineReportVariable(\"Exemplar\", \"0\", 0x8000000)")}));
  EXPECT_FALSE(fenster->DuplikatModus);
  EXPECT_FALSE(fenster->Running());
  EXPECT_FALSE(fenster->ExitCode());
}

TEST_F(frmDruckenAllgemein, EachRecordIsDefinedThenMarkedWhetherItIsTheLast) {
  handler->daten = datensaetze(3);
  fenster->StartPrintAllgemein(4);
  QStringList zeilen;
  for (const QString& c : ll->calls())
    if (c.startsWith(QLatin1String("DefineReportField(\"Name\"")) || c.startsWith(QLatin1String("DefineReportField(\"DatenEOF\"")) ||
        c == QLatin1String("PrintFields()"))
      zeilen << c;
  // The first definition is the empty set before the start: the current record of the handler.
  EXPECT_EQ(zeilen.mid(1),
            QStringList({QStringLiteral("DefineReportField(\"Name\", \"Kunde 1\", 0x10000000)"),
                         QStringLiteral("DefineReportField(\"DatenEOF\", \"0\", 0x2000000)"), QStringLiteral("PrintFields()"),
                         QStringLiteral("DefineReportField(\"Name\", \"Kunde 2\", 0x10000000)"),
                         QStringLiteral("DefineReportField(\"DatenEOF\", \"0\", 0x2000000)"), QStringLiteral("PrintFields()"),
                         QStringLiteral("DefineReportField(\"Name\", \"Kunde 3\", 0x10000000)"),
                         QStringLiteral("DefineReportField(\"DatenEOF\", \"1\", 0x2000000)"), QStringLiteral("PrintFields()")}));
}

TEST_F(frmDruckenAllgemein, ALastRecordThatFillsThePageIsPrintedAgainOnTheNext) {
  handler->daten = datensaetze(3);
  ll->setRowsPerPage(2);
  fenster->StartPrintAllgemein(4);
  const QStringList c = ll->calls();
  const qsizetype ende = c.indexOf(QStringLiteral("EndPrint(0)"));
  ASSERT_GE(ende, 4);
  EXPECT_EQ(c.mid(ende - 4, 4), QStringList({QStringLiteral("DefineReportField(\"DatenEOF\", \"1\", 0x2000000)"),
                                             QStringLiteral("PrintFields()"), QStringLiteral("PrintVariables()"),
                                             QStringLiteral("PrintFields()")}));
}

TEST_F(frmDruckenAllgemein, LabelsPrintOneLabelPerRecordAsVariables) {
  fenster->SetDruckerOptionen(kStatus, 2);
  handler->daten = datensaetze(5);
  fenster->StartPrintAllgemein(4);
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).first().left(16), QStringLiteral("StartPrintJob(1,"));
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintVariables")).size(), 5);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DefineReportField")).filter(QStringLiteral("DatenEOF")).isEmpty());
  QStringList namen;
  for (const QString& c : ll->callsOf(QStringLiteral("DefineReportVariable")))
    if (c.startsWith(QLatin1String("DefineReportVariable(\"Name\""))) namen << c.section(QLatin1Char('"'), 3, 3);
  EXPECT_EQ(namen, QStringList({QStringLiteral("Kunde 1"), QStringLiteral("Kunde 2"), QStringLiteral("Kunde 3"),
                                QStringLiteral("Kunde 4"), QStringLiteral("Kunde 5")}));
}

TEST_F(frmDruckenAllgemein, AHostsRecordSetIsWalkedLikeTheInMemoryOne) {
  db.exec(QStringLiteral("INSERT INTO PrintInputTabelle (Bezeichnung, EP) VALUES ('Erste', 1)"));
  db.exec(QStringLiteral("INSERT INTO PrintInputTabelle (Bezeichnung, EP) VALUES ('Zweite', 2)"));
  auto con = std::make_shared<data::Connection>();
  con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  con->Open(QStringLiteral("Data Source=") + db.dir().file(QStringLiteral("Formulare.mdb")));
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT Bezeichnung AS Name, EP AS Betrag FROM PrintInputTabelle ORDER BY LongKey"),
           vb::Variant(con), data::adOpenStatic, data::adLockReadOnly);
  handler->daten = rs;
  fenster->StartPrintAllgemein(4);
  QStringList namen;
  for (const QString& c : ll->calls())
    if (c.startsWith(QLatin1String("DefineReportField(\"Name\""))) namen << c.section(QLatin1Char('"'), 3, 3);
  EXPECT_EQ(namen.mid(1), QStringList({QStringLiteral("Erste"), QStringLiteral("Zweite")}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("SetBoxText")).last(), QStringLiteral("SetBoxText(\"Druckausgabe\", 100)"));
  EXPECT_FALSE(fenster->Running());
}

TEST_F(frmDruckenAllgemein, TheDirectRoadPrintsThroughTheControlAndLeavesEarlierFilesAlone) {
  // The storage file of an earlier job is no part of this one.
  fenster->Speicherdatei = temp.write(QStringLiteral("Frueher.LL"), "Seiten");
  fenster->StartPrintAllgemein(2, vb::Variant(true));
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")),
            QStringList({QStringLiteral("StartPrintJob(2, \"%1\", 0x100)").arg(liste)}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 1);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("OpenStorage")).isEmpty());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("DeletePreviewFiles")).isEmpty());
  EXPECT_TRUE(QFileInfo::exists(fenster->Speicherdatei));
  EXPECT_EQ(fenster->StapelAnzahl, 0);
}

TEST_F(frmDruckenAllgemein, AMissingOrNullDirectFlagMeansTheStorageRoad) {
  for (const vb::Variant& flag : {vb::Variant::missing(), vb::Variant::null(), vb::Variant(false)}) {
    ll->clearCalls();
    fenster->StartPrintAllgemein(4, flag);
    EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).first().right(6), QStringLiteral("0x800)"));
  }
}

TEST_F(frmDruckenAllgemein, AUserAbortAtThePrintStartEndsTheJob) {
  ll->queueStatus(QStringLiteral("StartPrintJob"), report::kUserAbort);
  fenster->StartPrintAllgemein(2);
  EXPECT_TRUE(fenster->ExitCode());
  EXPECT_FALSE(fenster->Running());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("PrintFields")).isEmpty());
  EXPECT_TRUE(ll->callsOf(QStringLiteral("EndPrint")).isEmpty());
}

TEST_F(frmDruckenAllgemein, AUserAbortOnTheDirectRoadEndsTheJob) {
  ll->queueStatus(QStringLiteral("StartPrintJob"), report::kUserAbort);
  fenster->StartPrintAllgemein(2, vb::Variant(true));
  EXPECT_TRUE(fenster->ExitCode());
  EXPECT_FALSE(fenster->Running());
}

// A host's record set need not have MoveLast: it is only moved to its first record.
TEST_F(frmDruckenAllgemein, ARecordSourceWithoutMoveLastIsWalkedFromItsFirstRecord) {
  handler->daten = std::make_shared<QuelleOhneMoveLast>();
  EXPECT_EQ(errorOf([&] { fenster->StartPrintAllgemein(2); }), 0);
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintFields")).size(), 2);
  EXPECT_FALSE(fenster->Running());
}

TEST_F(frmDruckenAllgemein, TheDunningRoadsInMemorySetCanBeCountedFromItsEnd) {
  auto menge = datensaetze(2);
  handler->daten = menge;
  fenster->StartPrintAllgemein(4);
  EXPECT_EQ(ll->callsOf(QStringLiteral("PrintFields")).size(), 2);
  EXPECT_TRUE(menge->Eof());
}

TEST_F(frmDruckenAllgemein, WithoutHandlerTheJobFailsAndRunningFalls) {
  fenster->set_DruckdatenHandler(vb::Variant::nothing());
  EXPECT_EQ(errorOf([&] { fenster->StartPrintAllgemein(2); }), vb::ErrObjectNotSet);
  EXPECT_FALSE(fenster->Running());
}

TEST_F(frmDruckenAllgemein, AControlThatThrowsReachesTheCallerAndRunningFalls) {
  auto f = std::make_shared<frmDrucken>(std::make_shared<ZeilenFehler>());
  f->SetDruckerOptionen(kStatus, 1);
  f->set_DruckdatenHandler(vb::Variant(handler));
  EXPECT_THROW(f->StartPrintAllgemein(2), std::runtime_error);
  EXPECT_FALSE(f->Running());
}

TEST_F(frmDruckenAllgemein, HostsStartItByName) {
  automation::callByName(*fenster, QStringLiteral("StartPrintAllgemein"), automation::CallKind::Method,
                         {vb::Variant(4)});
  EXPECT_EQ(ll->callsOf(QStringLiteral("EndPrint")).size(), 1);
  automation::callByName(*fenster, QStringLiteral("StartPrintAllgemein"), automation::CallKind::Method,
                         {vb::Variant(4), vb::Variant(true)});
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")).last().right(6), QStringLiteral("0x100)"));
}

// ---- on the real report control ----

class frmDruckenAllgemeinEcht : public druckausgabe::EchterDruck {
 protected:
  void SetUp() override {
    EchterDruck::SetUp();
    mahnung = log.dir().write(QStringLiteral("Mahnung.lst"), R"({
  "kind": "list",
  "page": { "size": "A4", "margins": [20, 20, 20, 20] },
  "objects": [ { "type": "text", "x": 20, "y": 20, "width": 150, "text": "Mahnung Exemplar {Exemplar}" } ],
  "table": { "top": 40, "rows": [ { "height": 5, "objects": [ { "type": "text", "x": 0, "y": 0, "width": 100, "text": "{Name}" } ] } ] }
})");
    druckausgabe::ladeFormular(*fenster, db, mahnung);
    handler->daten = datensaetze(2);
    fenster->set_DruckdatenHandler(vb::Variant(handler));
  }

  std::shared_ptr<enginetest::DruckdatenTestHandler> handler = std::make_shared<enginetest::DruckdatenTestHandler>();
  QString mahnung;
};

TEST_F(frmDruckenAllgemeinEcht, SeveralCopiesComeOutTogetherEachWithItsExemplar) {
  fenster->let_AnzahlKopien(3);
  fenster->StartPrintAllgemein(2);

  const QList<QStringList> seiten = gedruckt();
  ASSERT_EQ(seiten.size(), 3);
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(seiten.at(k), QStringList({QStringLiteral("Mahnung Exemplar %1 Kunde 1 Kunde 2").arg(k)})) << k;
  EXPECT_TRUE(dateien(QStringLiteral("SDRK*")).isEmpty());
  EXPECT_EQ(fenster->StapelAnzahl, 0);
  EXPECT_TRUE(fenster->DuplikatModus);
  EXPECT_TRUE(fenster->DuplikatModusFest);
  EXPECT_EQ(fenster->AnzahlKopien(), 1);
  EXPECT_FALSE(fenster->Running());
}

TEST_F(frmDruckenAllgemeinEcht, APreviewOfSeveralCopiesShowsThemMerged) {
  int vorschauSeiten = -1;
  dialogs->answerWindow([](QDialog&) { return int(QDialog::Accepted); });
  dialogs->answerWindow([&](QDialog& d) {
    if (auto* vorschau = qobject_cast<report::PreviewWindow*>(&d)) vorschauSeiten = vorschau->view().pageCount();
    d.reject();
    return int(QDialog::Rejected);
  });
  fenster->let_AnzahlKopien(2);
  fenster->StartPrintAllgemein(1);
  EXPECT_EQ(vorschauSeiten, 2);
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
  EXPECT_TRUE(druck->documents().isEmpty());
  EXPECT_TRUE(dateien(QStringLiteral("SDRK*")).isEmpty());
}

TEST_F(frmDruckenAllgemeinEcht, APdfOfSeveralCopiesLeavesNothingInTheBatchForALaterJob) {
  const QString pdf = log.dir().file(QStringLiteral("Mahnung.pdf"));
  fenster->let_PDFArchivDatei(pdf);
  fenster->let_AnzahlKopien(3);
  fenster->StartPrintAllgemein(4);
  EXPECT_TRUE(QFileInfo(pdf).size() > 0);
  EXPECT_EQ(fenster->StapelAnzahl, 0);
  EXPECT_TRUE(dateien(QStringLiteral("SDRK*")).isEmpty());

  // An unrelated later job prints itself only.
  fenster->StartPrintAllgemein(2);
  EXPECT_EQ(gedruckt(), QList<QStringList>({{QStringLiteral("Mahnung Exemplar 0 Kunde 1 Kunde 2")}}));
}

TEST_F(frmDruckenAllgemeinEcht, ACancelledJobTakesItsCopiesBackOutOfTheBatch) {
  // A member the host put into the batch before stays there.
  druckausgabe::dokument(*fenster, 3, vorlage, QStringLiteral("Vorher"), 1);
  ASSERT_EQ(fenster->StapelAnzahl, 1);
  handler->daten = datensaetze(2);

  // Copies 1 and 2 go into the batch; the print options of copy 3 are cancelled.
  dialogs->answerWindow([](QDialog& d) {
    d.reject();
    return int(QDialog::Rejected);
  });
  fenster->let_AnzahlKopien(3);
  fenster->StartPrintAllgemein(1);
  EXPECT_TRUE(fenster->ExitCode());
  EXPECT_FALSE(fenster->Running());
  EXPECT_EQ(fenster->StapelAnzahl, 1);
  EXPECT_EQ(fenster->StapelKopien.Count(), 1);
  EXPECT_EQ(dateien(QStringLiteral("SDRK*")), QStringList({QStringLiteral("SDRK001.LL")}));

  // The next job prints the host's member and itself, nothing of the cancelled one.
  fenster->StartPrintAllgemein(2);
  const QList<QStringList> seiten = gedruckt();
  ASSERT_EQ(seiten.size(), 2);
  EXPECT_EQ(seiten.at(0), QStringList({QStringLiteral("Vorher Seite 1")}));
  EXPECT_EQ(seiten.at(1), QStringList({QStringLiteral("Mahnung Exemplar 0 Kunde 1 Kunde 2")}));
}

TEST_F(frmDruckenAllgemeinEcht, TheShippedLabelTemplatePrintsTheColumnsTheHandlerDefines) {
  const QString etiketten = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Etiketten.lbl");
  db.addForm(druckausgabe::kFormStatus, 2, QStringLiteral("BerichtArt, Formatdatei"),
             QStringLiteral("1, '%1'").arg(etiketten));
  fenster->DruckerSchacht->LoadDruckForm(GetRechnerName(), 2, druckausgabe::kFormStatus);
  handler->felder = {QStringLiteral("Anrede"), QStringLiteral("Name1"), QStringLiteral("Name2"),
                     QStringLiteral("Strasse"), QStringLiteral("PLZ"), QStringLiteral("Ort")};
  auto adressen = std::make_shared<clsDataCollection>();
  for (int k = 1; k <= 2; ++k) {
    adressen->AddNew();
    const auto spalte = [&](const QString& name, const QString& wert) {
      adressen->let_DataValue(name, vb::Variant(report::kTypeText), vb::Variant(wert));
    };
    spalte(QStringLiteral("Anrede"), QStringLiteral("Frau"));
    spalte(QStringLiteral("Name1"), QStringLiteral("Kundin%1 Beispiel").arg(k));
    spalte(QStringLiteral("Name2"), QString());
    spalte(QStringLiteral("Strasse"), QStringLiteral("Weg %1").arg(k));
    spalte(QStringLiteral("PLZ"), QStringLiteral("12345"));
    spalte(QStringLiteral("Ort"), QStringLiteral("Musterstadt"));
    adressen->Save();
  }
  handler->daten = adressen;
  fenster->let_AnzahlKopien(1);

  fenster->StartPrintAllgemein(2);

  const QList<QStringList> seiten = gedruckt();
  ASSERT_EQ(seiten.size(), 1);
  ASSERT_EQ(seiten.first().size(), 1);
  const QString blatt = seiten.first().first();
  for (const QString& teil : {QStringLiteral("Kundin1 Beispiel"), QStringLiteral("Weg 1"),
                              QStringLiteral("Kundin2 Beispiel"), QStringLiteral("Weg 2"), QStringLiteral("Musterstadt")})
    EXPECT_TRUE(blatt.contains(teil)) << qPrintable(teil) << " in: " << qPrintable(blatt);
}

}  // namespace

#include "frmDrucken_AllgemeinTest.moc"
