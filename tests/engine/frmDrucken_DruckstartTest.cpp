// Print start and job end of the print window: storage file name, the job start per output mode,
// the PDF export settings, and what each mode does with the finished job.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "platform/report/PreviewWindow.h"
#include "platform/report/PageView.h"
#include "tests/engine/DruckausgabeSupport.h"
#include "tests/support/DruckFensterFixture.h"
#include "tests/support/RequireTool.h"

namespace {

const QString kVorlage = QStringLiteral("C:\\Formulare\\Rechnung.lst");
const QString kPdfMeldung = QStringLiteral("Für den Export in eine PDF Datei muss eine Zieldatei angegeben werden!");

QString q(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// The window on the recording control, with a list form loaded.
class frmDrucken_DruckstartTest : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    printing::setPrintDocument(druck);
    druckausgabe::ladeFormular(*fenster, db, db.dir().write(QStringLiteral("Rechnung.lst"), "{}"));
    ll->clearCalls();
  }
  void TearDown() override {
    DruckFensterFixture::TearDown();
    printing::setPrintDocument(nullptr);
  }
  QString lokal() const { return GetLokalerPfad(); }

  enginetest::FormDatabase db;
  enginetest::FakeCatalogue katalog;
  std::shared_ptr<printing::RecordingPrintDocument> druck = std::make_shared<printing::RecordingPrintDocument>();
};

}  // namespace

// ---- the storage file ----

TEST_F(frmDrucken_DruckstartTest, StorageFileIsTheTemplateNameWithLLInTheLocalPath) {
  fenster->DruckInitialisieren(2, kVorlage);
  EXPECT_EQ(fenster->Speicherdatei, lokal() + QStringLiteral("Rechnung.LL"));
  fenster->DruckInitialisieren(2, QStringLiteral("/srv/formulare/Lieferschein.LST"));
  EXPECT_EQ(fenster->Speicherdatei, lokal() + QStringLiteral("Lieferschein.LL"));
}

TEST_F(frmDrucken_DruckstartTest, OnlyTheFinalExtensionIsReplaced) {
  fenster->DruckInitialisieren(2, QStringLiteral("C:\\Formulare\\Re.lst.lst"));
  EXPECT_EQ(fenster->Speicherdatei, lokal() + QStringLiteral("Re.lst.LL"));
  fenster->DruckInitialisieren(2, QStringLiteral("C:\\lst\\Lst.Rechnung.lst"));
  EXPECT_EQ(fenster->Speicherdatei, lokal() + QStringLiteral("Lst.Rechnung.LL"));
}

TEST_F(frmDrucken_DruckstartTest, NameWithoutADotGetsTheExtensionTheControlWrites) {
  fenster->DruckInitialisieren(2, QStringLiteral("C:\\Formulare\\Rechnung"));
  EXPECT_EQ(fenster->Speicherdatei, lokal() + QStringLiteral("Rechnung.LL"));
}

// ---- the job start per mode ----

TEST_F(frmDrucken_DruckstartTest, PrintStartsAStorageJobOfTheFormsKind) {
  ll->queueStatus(QStringLiteral("SetOption"), -4);
  EXPECT_EQ(fenster->DruckInitialisieren(2, kVorlage), -4);
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("SetPrinterDefaultsDir(%1)").arg(q(lokal())),
                                      QStringLiteral("StartPrintJob(2, %1, 0x200)").arg(q(kVorlage)),
                                      QStringLiteral("SetOption(21, 1)")}));
  const QStringList zeilen = logZeilen();
  ASSERT_GE(zeilen.size(), 2);
  EXPECT_EQ(zeilen.mid(zeilen.size() - 2),
            QStringList({QStringLiteral("->DruckInitialisieren"), QStringLiteral("DruckInitialisieren->")}));
}

TEST_F(frmDrucken_DruckstartTest, BatchMemberStartsLikeAPrint) {
  EXPECT_EQ(fenster->DruckInitialisieren(3, kVorlage), 0);
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")),
            QStringList({QStringLiteral("StartPrintJob(2, %1, 0x200)").arg(q(kVorlage))}));
}

TEST_F(frmDrucken_DruckstartTest, LabelFormStartsALabelJob) {
  db.exec(QStringLiteral("UPDATE Auftrag_Formular_Neu SET BerichtArt=1"));
  fenster->DruckerSchacht->LoadDruckForm(GetRechnerName(), druckausgabe::kFormNummer, druckausgabe::kFormStatus);
  fenster->DruckInitialisieren(2, kVorlage);
  EXPECT_EQ(ll->callsOf(QStringLiteral("StartPrintJob")),
            QStringList({QStringLiteral("StartPrintJob(1, %1, 0x200)").arg(q(kVorlage))}));
}

TEST_F(frmDrucken_DruckstartTest, CancelAtTheStartAnswersMinus99WithoutFurtherOptions) {
  for (short modus : {2, 3}) {
    ll->clearCalls();
    ll->queueStatus(QStringLiteral("StartPrintJob"), report::kUserAbort);
    EXPECT_EQ(fenster->DruckInitialisieren(modus, kVorlage), report::kUserAbort);
    EXPECT_TRUE(ll->callsOf(QStringLiteral("SetOption")).isEmpty());
  }
}

TEST_F(frmDrucken_DruckstartTest, PreviewStartsWithBoxAndAsksForThePrintOptions) {
  EXPECT_EQ(fenster->DruckInitialisieren(1, kVorlage), 0);
  EXPECT_EQ(ll->calls(),
            QStringList({QStringLiteral("SetPrinterDefaultsDir(%1)").arg(q(lokal())),
                         QStringLiteral("StartPrintJobWithBox(2, %1, 0xB00, 2, 0, \"Druckausgabe\")").arg(q(kVorlage)),
                         QStringLiteral("SetPrintOption(13, 2)"),
                         QStringLiteral("PrintOptionsDialog(0, \"Druckparameter festlegen\")"),
                         QStringLiteral("SetOption(21, 1)")}));
}

TEST_F(frmDrucken_DruckstartTest, PreviewCancelledInThePrintOptionsAnswersMinus99) {
  ll->queueStatus(QStringLiteral("PrintOptionsDialog"), report::kUserAbort);
  EXPECT_EQ(fenster->DruckInitialisieren(1, kVorlage), report::kUserAbort);
  EXPECT_TRUE(ll->callsOf(QStringLiteral("SetOption")).isEmpty());
}

TEST_F(frmDrucken_DruckstartTest, PdfExportSetsFileFolderAndQuietBeforeTheStart) {
  fenster->let_PDFArchivDatei(QStringLiteral("C:\\Archiv\\R1.pdf"));
  EXPECT_EQ(fenster->DruckInitialisieren(4, kVorlage), 0);
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("SetPrinterDefaultsDir(%1)").arg(q(lokal())),
                                      QStringLiteral("SetExportParameter(1, \"PDF\", \"Export.File\", \"R1.pdf\")"),
                                      QStringLiteral("SetExportParameter(1, \"PDF\", \"Export.Path\", \"C:\\Archiv\\\")"),
                                      QStringLiteral("SetExportParameter(1, \"PDF\", \"Export.Quiet\", \"1\")"),
                                      QStringLiteral("StartPrintJob(2, %1, 0x800)").arg(q(kVorlage)),
                                      QStringLiteral("SetOptionString(2, \"PDF\")"), QStringLiteral("SetOption(21, 1)")}));
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(frmDrucken_DruckstartTest, PdfTargetWithForwardSlashesIsSplitToo) {
  fenster->let_PDFArchivDatei(QStringLiteral("/home/buch/Archiv/R 2.pdf"));
  fenster->DruckInitialisieren(4, kVorlage);
  EXPECT_EQ(ll->callsOf(QStringLiteral("SetExportParameter")).mid(0, 2),
            QStringList({QStringLiteral("SetExportParameter(1, \"PDF\", \"Export.File\", \"R 2.pdf\")"),
                         QStringLiteral("SetExportParameter(1, \"PDF\", \"Export.Path\", \"/home/buch/Archiv/\")")}));
}

TEST_F(frmDrucken_DruckstartTest, PdfExportWithoutTargetShowsTheMessageAndStartsNoJob) {
  EXPECT_EQ(fenster->DruckInitialisieren(4, kVorlage), 0);
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 1);
  EXPECT_EQ(boxen[0].text, kPdfMeldung);
  EXPECT_EQ(boxen[0].style, ui::vbOKOnly | ui::vbCritical);
  EXPECT_EQ(boxen[0].title, QStringLiteral("Skrivant"));
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("SetPrinterDefaultsDir(%1)").arg(q(lokal()))}));
}

// ---- the job end per mode ----

TEST_F(frmDrucken_DruckstartTest, PreviewEndShowsAndDeletesTheStorageOfTheProject) {
  fenster->DruckAbschliessen(1, kVorlage);
  const QString projekt = q(lokal() + QStringLiteral("Rechnung.lst"));
  EXPECT_EQ(ll->calls(), QStringList({QStringLiteral("ShowPreview(%1, \"\", 0)").arg(projekt),
                                      QStringLiteral("DeletePreviewFiles(%1, \"\")").arg(projekt)}));
}

TEST_F(frmDrucken_DruckstartTest, PrintEndPrintsTheStorageFileWithTheCopiesThenDeletesIt) {
  fenster->DruckInitialisieren(2, kVorlage);
  fenster->let_AnzahlKopien(2);
  ll->setStatus(QStringLiteral("StoragePageCount"), 1);
  ll->clearCalls();
  fenster->DruckAbschliessen(2, kVorlage);
  EXPECT_EQ(ll->callsOf(QStringLiteral("OpenStorage")),
            QStringList({QStringLiteral("OpenStorage(%1, \"\", 1, 0)").arg(q(lokal() + QStringLiteral("Rechnung.LL")))}));
  EXPECT_EQ(ll->callsOf(QStringLiteral("DrawStoragePage")).size(), 2);
  EXPECT_EQ(ll->calls().last(),
            QStringLiteral("DeletePreviewFiles(%1, \"\")").arg(q(lokal() + QStringLiteral("Rechnung.lst"))));
}

TEST_F(frmDrucken_DruckstartTest, BatchEndKeepsTheJobAsMemberWithItsCopies) {
  fenster->DruckInitialisieren(3, kVorlage);
  temp.write(QStringLiteral("Rechnung.LL"), "Seiten");
  fenster->let_AnzahlKopien(4);
  ll->clearCalls();
  fenster->DruckAbschliessen(3, kVorlage);
  EXPECT_EQ(fenster->StapelAnzahl, 1);
  ASSERT_EQ(fenster->StapelKopien.Count(), 1);
  EXPECT_EQ(fenster->StapelKopien.Item(1), 4);
  EXPECT_FALSE(QFileInfo::exists(temp.file(QStringLiteral("Rechnung.LL"))));
  EXPECT_TRUE(QFileInfo::exists(temp.file(QStringLiteral("SDRK001.LL"))));
  EXPECT_TRUE(ll->calls().isEmpty());
}

TEST_F(frmDrucken_DruckstartTest, PdfEndDoesNothing) {
  fenster->StapelAnzahl = 2;
  fenster->DruckAbschliessen(4, kVorlage);
  EXPECT_TRUE(ll->calls().isEmpty());
  EXPECT_EQ(fenster->StapelAnzahl, 2);
}

// ---- on the real report control ----

class frmDrucken_DruckstartEchtTest : public druckausgabe::EchterDruck {
 protected:
  void SetUp() override {
    EchterDruck::SetUp();
    druckausgabe::ladeFormular(*fenster, db, vorlage);
  }
};

TEST_F(frmDrucken_DruckstartEchtTest, PdfExportWritesTheTargetFileAndNoStorage) {
  const QString ziel = log.dir().file(QStringLiteral("Archiv R1.pdf"));
  fenster->let_PDFArchivDatei(ziel);
  druckausgabe::dokument(*fenster, 4, vorlage, QStringLiteral("PDF"), 2);
  QFile pdf(ziel);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
  EXPECT_TRUE(druck->documents().isEmpty());
}

TEST_F(frmDrucken_DruckstartEchtTest, PdfExportWithoutTargetWritesNothing) {
  fenster->DruckInitialisieren(4, vorlage);
  EXPECT_NE(fenster->LL().PrintVariables(), report::kOk);
  EXPECT_NE(fenster->LL().EndPrint(0), report::kOk);
  fenster->DruckAbschliessen(4, vorlage);
  EXPECT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(QDir(log.dir().path()).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList());
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
}

TEST_F(frmDrucken_DruckstartEchtTest, PreviewShowsTheJobsPagesAndLeavesNoStorage) {
  dialogs->answerWindow([](QDialog&) { return int(QDialog::Accepted); });  // print options
  QStringList gezeigt;
  int seitenImFenster = 0;
  dialogs->answerWindow([&](QDialog& d) {
    if (auto* vorschau = qobject_cast<report::PreviewWindow*>(&d)) seitenImFenster = vorschau->view().pageCount();
    gezeigt = druckausgabe::seitenTexte(fenster->Speicherdatei);
    d.reject();
    return int(QDialog::Rejected);
  });
  druckausgabe::dokument(*fenster, 1, vorlage, QStringLiteral("Ansicht"), 2);
  EXPECT_EQ(seitenImFenster, 2);
  EXPECT_EQ(gezeigt, druckausgabe::seiten(QStringLiteral("Ansicht"), 2));
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
  EXPECT_TRUE(druck->documents().isEmpty());
}

TEST_F(frmDrucken_DruckstartEchtTest, PrintPutsTheStoragePagesOnPaperAndDeletesTheStorage) {
  db.addRoute(QStringLiteral("$GLOBAL$"), druckausgabe::kFormStatus, druckausgabe::kFormNummer, 1, 99, 1, 99999,
              QStringLiteral("'Laser'"));
  katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1")})});
  fenster->DruckerSchacht->LoadDruckForm(GetRechnerName(), druckausgabe::kFormNummer, druckausgabe::kFormStatus);
  druckausgabe::dokument(*fenster, 2, vorlage, QStringLiteral("Brief"), 2, 2);
  EXPECT_EQ(gedruckt(), QList<QStringList>({druckausgabe::seiten(QStringLiteral("Brief"), 2),
                                            druckausgabe::seiten(QStringLiteral("Brief"), 2)}));
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
}

// Output that was not made is told once, the storage file stays, and ExitCode answers 1.
TEST_F(frmDrucken_DruckstartEchtTest, OutputThatWasNotMadeIsToldAndKeepsTheStorage) {
  struct Fall {
    const char* name;
    short modus;
    QString ziel;      // the PDF target (mode 4)
    QString drucker;   // the route's printer (mode 2); "Standard" with no default printer
    QString ablehnung; // what the spooler says to every job; empty: it takes them
    QString meldung;   // a piece of the message
  };
  const QString ordnerFehlt = log.dir().file(QStringLiteral("fehlt/R1.pdf"));
  const QString istOrdner = log.dir().file(QStringLiteral("Archiv"));
  QDir().mkpath(istOrdner);
  const QList<Fall> faelle = {
      {"pdf in a folder that does not exist", 4, ordnerFehlt, {}, {}, ordnerFehlt},
      {"pdf on a path that is a folder", 4, istOrdner, {}, {}, istOrdner},
      {"standard route without default printer", 2, {}, QStringLiteral("Standard"), {}, QStringLiteral("Standarddrucker")},
      {"spooler refuses the job", 2, {}, QStringLiteral("Laser"), QStringLiteral("Warteschlange gelöscht"),
       QStringLiteral("'Laser' fehlgeschlagen: Warteschlange gelöscht")},
  };
  katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"))});
  katalog->setDefaultPrinter(QString());
  // A printer an earlier job left current must not take pages meant for the default printer.
  printing::setCurrentPrinter(QStringLiteral("Laser"));
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    db.exec(QStringLiteral("DELETE FROM Auftrag_Formular_Druckerschacht_Neu"));
    db.addRoute(QStringLiteral("$GLOBAL$"), druckausgabe::kFormStatus, druckausgabe::kFormNummer, 1, 99, 1, 99999,
                QLatin1Char('\'') + f.drucker + QLatin1Char('\''));
    fenster->DruckerSchacht->LoadDruckForm(GetRechnerName(), druckausgabe::kFormNummer, druckausgabe::kFormStatus);
    druck->failSubmissions(f.ablehnung);
    fenster->let_PDFArchivDatei(f.ziel);
    fenster->JobBeginn();
    const auto vorher = dialogs->messageBoxes().size();
    druckausgabe::dokument(*fenster, f.modus, vorlage, QStringLiteral("Brief"), 1);
    const auto boxen = dialogs->messageBoxes().mid(vorher);
    ASSERT_EQ(boxen.size(), 1);
    EXPECT_TRUE(boxen[0].text.contains(f.meldung)) << boxen[0].text.toStdString();
    EXPECT_EQ(boxen[0].style, ui::vbOKOnly | ui::vbCritical);
    EXPECT_TRUE(log.lines().contains(boxen[0].text));
    EXPECT_EQ(fenster->ExitCode(), 1);
    EXPECT_EQ(f.modus == 2, QFileInfo::exists(fenster->Speicherdatei));
    for (const auto& d : druck->documents()) EXPECT_EQ(d.job, 0) << "printed on " << d.printer.toStdString();
  }
  EXPECT_TRUE(QFileInfo(istOrdner).isDir());
}

// The paper of a printed job is the template's, size and orientation.
TEST_F(frmDrucken_DruckstartEchtTest, PrintTakesTheTemplatesPaper) {
  const QString quer = log.dir().write(QStringLiteral("Quer.lst"), R"({
  "kind": "list",
  "page": { "size": "A5", "orientation": "landscape", "margins": [10, 10, 10, 10] },
  "objects": [ { "type": "text", "x": 10, "y": 10, "width": 150, "text": "{Dok} Seite {page()}" } ]
})");
  db.addRoute(QStringLiteral("$GLOBAL$"), druckausgabe::kFormStatus, druckausgabe::kFormNummer, 1, 99, 1, 99999,
              QStringLiteral("'Laser'"));
  katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"))});
  fenster->DruckerSchacht->LoadDruckForm(GetRechnerName(), druckausgabe::kFormNummer, druckausgabe::kFormStatus);
  druckausgabe::dokument(*fenster, 2, quer, QStringLiteral("Quer"), 1);
  ASSERT_EQ(druck->documents().size(), 1);
  const QSizeF mm = druck->documents()[0].pageSize.size(QPageSize::Millimeter);
  EXPECT_NEAR(mm.width(), 210, 0.5);
  EXPECT_NEAR(mm.height(), 148, 0.5);

  const QString ziel = log.dir().file(QStringLiteral("Quer.pdf"));
  fenster->let_PDFArchivDatei(ziel);
  druckausgabe::dokument(*fenster, 4, quer, QStringLiteral("Quer"), 1);
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {ziel});
  SKRIVANT_REQUIRE_TOOL(info.waitForStarted(), "pdfinfo missing");
  ASSERT_TRUE(info.waitForFinished(30000));
  const QString aus = QString::fromUtf8(info.readAllStandardOutput());
  const auto groesse = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(aus);
  ASSERT_TRUE(groesse.hasMatch()) << aus.toStdString();
  EXPECT_NEAR(groesse.captured(1).toDouble(), 595.3, 1);  // 210 mm wide
  EXPECT_NEAR(groesse.captured(2).toDouble(), 419.5, 1);  // 148 mm high
}
