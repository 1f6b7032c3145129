// The template file panel on the example host's invoice form: every column there and back, the
// copy count and paths it refuses, the file dialog, F4 and the designer of each form kind.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>

#include "configuration/ctrFormatdatei.h"
#include "tests/configuration/PanelTestSupport.h"

using namespace paneltest;

namespace {

constexpr int kRechnung = beispiel::kFormStatusRechnung;

class ctrFormatdateiTest : public PanelFixture {
 protected:
  QString spalte(const char* name) const { return formularWert(kRechnung, 1, QString::fromUtf8(name)); }
  void zeileSetzen(const QString& zuweisungen) const { formularSetzen(kRechnung, 1, zuweisungen); }
  void laden() { PanelFixture::laden(panel, formular(kRechnung, 1)); }
  void speichern() { PanelFixture::speichern(panel, formular(kRechnung, 1), {}); }
  bool etikett() { return panel.findChild<QRadioButton*>(QStringLiteral("intBerichtArt1"))->isChecked(); }

  configuration::ctrFormatdatei panel{fenster};
};

TEST_F(ctrFormatdateiTest, EveryColumnLoadsAsStoredAndSavesBack) {
  zeileSetzen(QStringLiteral("PDFArchivDatei='$Daten$Archiv\\[KUNDENNUMMER].pdf', DeckblattDatei=NULL, "
                             "AnzahlKopien=3, BerichtArt=1"));
  laden();
  EXPECT_EQ(feld(panel, "strFormatDatei"), QStringLiteral("$Daten$FORMULAR\\Rechnung.lst"));
  EXPECT_EQ(feld(panel, "strPDFDateiname"), QStringLiteral("$Daten$Archiv\\[KUNDENNUMMER].pdf"));
  EXPECT_EQ(feld(panel, "strDeckblattDatei"), QString());
  EXPECT_EQ(feld(panel, "AnzahlKopien"), QStringLiteral("3"));
  EXPECT_TRUE(etikett());

  // Paths typed with the data directory are stored with "$Daten$".
  setze(panel, "strFormatDatei", host.datenverzeichnis() + QStringLiteral("FORMULAR/Etiketten.lbl"));
  setze(panel, "strDeckblattDatei", QStringLiteral("/srv/vorlagen/deckblatt.doc"));
  setze(panel, "AnzahlKopien", QStringLiteral(" 4 "));
  panel.findChild<QRadioButton*>(QStringLiteral("intBerichtArt0"))->setChecked(true);
  speichern();
  EXPECT_EQ(spalte("Formatdatei"), QStringLiteral("$Daten$FORMULAR/Etiketten.lbl"));
  EXPECT_EQ(spalte("PDFArchivDatei"), QStringLiteral("$Daten$Archiv\\[KUNDENNUMMER].pdf"));
  EXPECT_EQ(spalte("DeckblattDatei"), QStringLiteral("/srv/vorlagen/deckblatt.doc"));
  EXPECT_EQ(spalte("AnzahlKopien"), QStringLiteral("4"));
  EXPECT_EQ(spalte("BerichtArt"), QStringLiteral("2"));
  // Columns of other panels stay.
  EXPECT_EQ(spalte("ÜberschriftText"), QStringLiteral("Rechnung"));
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(ctrFormatdateiTest, ReportKindAndCopyCountOfOddRows) {
  const struct {
    const char* zeile;
    bool etikett;
    const char* kopien;
    const char* gespeicherteArt;
  } faelle[] = {
      {"BerichtArt=NULL, AnzahlKopien=NULL", false, "1", "2"},
      {"BerichtArt=2, AnzahlKopien=0", false, "1", "2"},
      {"BerichtArt=1, AnzahlKopien=2", true, "2", "1"},
      {"BerichtArt=7, AnzahlKopien=-5", true, "1", "1"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.zeile);
    zeileSetzen(QString::fromUtf8(f.zeile));
    laden();
    EXPECT_EQ(etikett(), f.etikett);
    EXPECT_EQ(feld(panel, "AnzahlKopien"), QString::fromUtf8(f.kopien));
    speichern();
    EXPECT_EQ(spalte("BerichtArt"), QString::fromUtf8(f.gespeicherteArt));
  }
}

// A copy count that is no whole number would be stored as 0, a path longer than its column would be
// cut: both are refused with a message, the stored value stays, and the rest of the row is saved.
TEST_F(ctrFormatdateiTest, RefusedValuesKeepTheStoredOnesWithAMessage) {
  const QString lang(256, QLatin1Char('a'));
  const struct {
    const char* box;
    QString eingabe;
    const char* spalte;
    const char* gespeichert;
  } faelle[] = {{"AnzahlKopien", "drei", "AnzahlKopien", "2"}, {"AnzahlKopien", "", "AnzahlKopien", "2"},
                {"AnzahlKopien", "2,5", "AnzahlKopien", "2"},  {"AnzahlKopien", "70000", "AnzahlKopien", "2"},
                {"AnzahlKopien", "0", "AnzahlKopien", "2"},    {"strPDFDateiname", lang, "PDFArchivDatei", "alt.pdf"}};
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.eingabe.toStdString());
    zeileSetzen(QStringLiteral("AnzahlKopien=2, PDFArchivDatei='alt.pdf', DeckblattDatei=NULL"));
    laden();
    setze(panel, f.box, f.eingabe);
    setze(panel, "strDeckblattDatei", QString(255, QLatin1Char('b')));
    const int vorher = dialogs->messageBoxes().size();
    speichern();
    EXPECT_EQ(spalte(f.spalte), QString::fromUtf8(f.gespeichert));
    EXPECT_EQ(spalte("DeckblattDatei"), QString(255, QLatin1Char('b')));
    ASSERT_EQ(dialogs->messageBoxes().size(), vorher + 1);
    EXPECT_TRUE(dialogs->messageBoxes().last().text.contains(f.box == QLatin1String("AnzahlKopien")
                                                                 ? QStringLiteral("Exemplare")
                                                                 : QStringLiteral("PDF Archivdatei")));
  }
}

TEST_F(ctrFormatdateiTest, ChosenFilesAndFoldersAreStoredWithTheDataDirectoryToken) {
  laden();
  dialogs->answerFile(host.datenverzeichnis() + QStringLiteral("FORMULAR/Mahnung.lst"));
  panel.cmdSearchFile_Click();
  EXPECT_EQ(feld(panel, "strFormatDatei"), QStringLiteral("$Daten$FORMULAR\\Mahnung.lst"));
  dialogs->answerFolder(host.datenverzeichnis() + QStringLiteral("Archiv"));
  panel.cmdSelectDir_Click();
  EXPECT_EQ(feld(panel, "strPDFDateiname"), QStringLiteral("$Daten$Archiv"));
  // Cancelled dialogs change nothing.
  panel.cmdSearchFile_Click();
  panel.cmdSearchDeckblatt_Click();
  EXPECT_EQ(feld(panel, "strFormatDatei"), QStringLiteral("$Daten$FORMULAR\\Mahnung.lst"));
  EXPECT_EQ(feld(panel, "strDeckblattDatei"), QString());
  QStringList titel;
  for (const ui::ShownDialog& d : dialogs->shown()) titel << d.text;
  EXPECT_EQ(titel, QStringList({"Vorlagendatei", "Wählen Sie ein Verzeichnis", "Vorlagendatei", "Word Deckblatt"}));
}

TEST_F(ctrFormatdateiTest, F4InThePdfNameOpensThePlaceholderMenuBesideTheCaret) {
  auto* box = panel.findChild<QLineEdit*>(QStringLiteral("strPDFDateiname"));
  panel.resize(500, 300);
  panel.show();
  QFocusEvent hinein(QEvent::FocusIn);
  QCoreApplication::sendEvent(box, &hinein);
  EXPECT_EQ(fenster.textFeld, box);

  const QPoint links = box->mapTo(&panel, QPoint(0, 0));
  QKeyEvent f4(QEvent::KeyRelease, Qt::Key_F4, Qt::NoModifier);
  QKeyEvent f5(QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier);
  QCoreApplication::sendEvent(box, &f4);
  box->setText(QStringLiteral("Rechnung_[KUNDENNUMMER].pdf"));
  box->setCursorPosition(10);
  QCoreApplication::sendEvent(box, &f5);
  QCoreApplication::sendEvent(box, &f4);
  const int breite = QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("Rechnung_["));
  EXPECT_EQ(fenster.punkte, QList<QPoint>({QPoint(links.x() + 10, links.y() + box->height() / 2),
                                           QPoint(links.x() + 10 + breite, links.y() + box->height() / 2)}));
  EXPECT_EQ(fenster.geoeffnetAuf, &panel);

  fenster.menueSichtbar = true;
  QFocusEvent hinaus(QEvent::FocusOut);
  QCoreApplication::sendEvent(box, &hinaus);
  EXPECT_FALSE(fenster.menueSichtbar);
}

// The designer opens through the class that prints the form, on the expanded file, while the
// template manager is hidden; a missing file the user does not want made opens nothing.
TEST_F(ctrFormatdateiTest, TheDesignerOpensThroughTheClassOfTheFormKind) {
  const short mahnung = host.mahnformularAnlegen();
  formulare()->Execute(QStringLiteral("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (1001, 'Lieferschein')"));
  for (const int bereich : {1, 2})
    formulare()->Execute(QStringLiteral("INSERT INTO Druck_Formulartypen_Felder (FormTypID, Datenbereich, FeldName, "
                                        "DatenTyp, DesignWert) VALUES (1001, %1, 'Kunde', %2, 'Bücherei Nord')")
                             .arg(bereich)
                             .arg(0x10000000));
  formulare()->Execute(QStringLiteral("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei) "
                                      "VALUES (1001, 1, 2, '$Daten$FORMULAR\\Formularliste.lst')"));
  const struct {
    int status, nummer;
    const char* titel;
  } faelle[] = {{kRechnung, 1, "Rechnungsentwurf"}, {130, mahnung, "Mahnung"}, {1001, 1, "Lieferschein"}};
  QWidget verwaltung;
  auto* p = new configuration::ctrFormatdatei(fenster, &verwaltung);
  verwaltung.show();
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.titel);
    PanelFixture::laden(*p, formular(f.status, f.nummer));
    QString titel;
    QString text;
    bool verwaltungSichtbar = true;
    dialogs->answerWindow([&](QDialog& d) {
      titel = d.windowTitle();
      verwaltungSichtbar = verwaltung.isVisible();
      if (auto* editor = d.findChild<QPlainTextEdit*>(QStringLiteral("templateEditor"))) text = editor->toPlainText();
      return int(QDialog::Rejected);
    });
    p->cmdLLEdit_Click();
    EXPECT_EQ(dialogs->pendingAnswers(), 0);
    EXPECT_TRUE(titel.contains(QString::fromUtf8(f.titel))) << qPrintable(titel);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_FALSE(verwaltungSichtbar);
    EXPECT_TRUE(verwaltung.isVisible());
  }
  const int gezeigt = dialogs->shown().size();
  p->findChild<QLineEdit*>(QStringLiteral("strFormatDatei"))->setText(QStringLiteral("$Daten$FORMULAR\\Fehlt.lst"));
  dialogs->answerMsgBox(ui::vbNo);
  p->cmdLLEdit_Click();
  EXPECT_EQ(dialogs->shown().size(), gezeigt + 1);
  EXPECT_EQ(dialogs->shown().last().type, ui::ShownDialog::Type::MessageBox);
  EXPECT_FALSE(QFile::exists(host.datenverzeichnis() + QStringLiteral("FORMULAR/Fehlt.lst")));
  EXPECT_TRUE(verwaltung.isVisible());
}

}  // namespace
