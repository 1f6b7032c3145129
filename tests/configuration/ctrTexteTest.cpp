// The document texts panel on the example host's invoice form: every text column and the unit
// font there and back, the font and colour dialogs, a heading too long for its column, and F4.
#include <QCoreApplication>
#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

#include "configuration/ctrTexte.h"
#include "engine/frmDrucken.h"
#include "platform/report/ReportControl.h"
#include "tests/configuration/PanelTestSupport.h"

using namespace paneltest;

namespace {

constexpr int kRechnung = beispiel::kFormStatusRechnung;

const QStringList kEinzeilig = {"Absender",     "ÜberschriftText",    "GewerkText",    "AngebotNrText",
                                "ProjektNrText", "KundenNrText",       "SachbearbeiterText", "DatumText",
                                "NettoBetragText", "MwStText",         "EndBetragText"};
const QStringList kMehrzeilig = {"Kopftext", "AllgemeinSchlussText"};

class ctrTexteTest : public PanelFixture {
 protected:
  QString spalte(const QString& name) const { return formularWert(kRechnung, 1, name); }
  void zeileSetzen(const QString& zuweisungen) const { formularSetzen(kRechnung, 1, zuweisungen); }
  void laden() { PanelFixture::laden(panel, formular(kRechnung, 1)); }
  void speichern() { PanelFixture::speichern(panel, formular(kRechnung, 1), {}); }
  QPlainTextEdit* mehrzeilig(const char* name) { return panel.findChild<QPlainTextEdit*>(QString::fromUtf8(name)); }
  QFont vorschau() {
    QTextCursor c(panel.findChild<QTextEdit*>(QStringLiteral("EinheitFormat"))->document());
    c.movePosition(QTextCursor::NextCharacter);
    return c.charFormat().font();
  }

  configuration::ctrTexte panel{fenster};
};

// Each text column gets its own value, shows in its box and comes back as the box was changed.
TEST_F(ctrTexteTest, EveryTextAndTheUnitFontGoThereAndBack) {
  QStringList zuweisungen;
  for (const QString& s : kEinzeilig + kMehrzeilig) zuweisungen << QStringLiteral("%1='alt %1'").arg(s);
  zeileSetzen(zuweisungen.join(u',') +
              QStringLiteral(", MEFont_Name='DejaVu Serif', MEFont_Size=12.5, MEFont_Bold=-1, MEFont_Italic=0, "
                             "MEFont_Underline=1, MEFont_Strikethrough=0, MEFont_Color=%1")
                  .arg(0x0000FF));
  laden();
  const QStringList namen = {"Absender", "Ueberschrift", "BlockLabel1", "BlockLabel2", "BlockLabel3", "BlockLabel4",
                             "BlockLabel5", "BlockLabel6", "NettoBetragText", "MwStText", "EndBetragText"};
  for (int i = 0; i < namen.size(); ++i) {
    EXPECT_EQ(feld(panel, qPrintable(namen[i])), QStringLiteral("alt ") + kEinzeilig[i]);
    setze(panel, qPrintable(namen[i]), QStringLiteral("neu ") + kEinzeilig[i]);
  }
  EXPECT_EQ(mehrzeilig("strBetreffText")->toPlainText(), QStringLiteral("alt Kopftext"));
  EXPECT_EQ(feld(panel, "BlockWert6"), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
  for (const char* nummer : {"BlockWert2", "BlockWert3", "BlockWert4"})  // the numbers' samples are no dates
    EXPECT_FALSE(feld(panel, nummer).contains(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.")))) << nummer;
  // Every value of the sample position stands under a caption of its column.
  auto* raster = static_cast<QGridLayout*>(panel.findChild<QGroupBox*>(QStringLiteral("FramePosition"))->layout());
  for (const char* name : {"Text1", "Text2", "EinheitFormat", "Text3", "Text4", "Text5"}) {
    int zeile = 0, spalte = 0, hoehe = 0, breite = 0;
    raster->getItemPosition(raster->indexOf(panel.findChild<QWidget*>(QString::fromUtf8(name))), &zeile, &spalte, &hoehe, &breite);
    const QLayoutItem* ueber = raster->itemAtPosition(zeile - 1, spalte);
    EXPECT_TRUE(ueber && !qobject_cast<QLabel*>(ueber->widget())->text().isEmpty()) << name;
  }
  const QString langerKopf = QStringLiteral("Zeile 1\nZeile 2 ") + QString(600, QLatin1Char('x'));
  mehrzeilig("strBetreffText")->setPlainText(langerKopf);
  mehrzeilig("AllgemeinSchlussText")->setPlainText(QStringLiteral("neu AllgemeinSchlussText"));
  EXPECT_EQ(panel.EinheitSchrift().family(), QStringLiteral("DejaVu Serif"));
  EXPECT_DOUBLE_EQ(panel.EinheitSchrift().pointSizeF(), 12.5);
  EXPECT_TRUE(vorschau().bold());
  EXPECT_TRUE(vorschau().underline());
  EXPECT_EQ(panel.EinheitFarbe(), QColor(255, 0, 0));

  speichern();
  for (const QString& s : kEinzeilig) EXPECT_EQ(spalte(s), QStringLiteral("neu ") + s);
  // Memo columns take long texts whole.
  EXPECT_EQ(spalte(QStringLiteral("Kopftext")), langerKopf);
  EXPECT_EQ(spalte(QStringLiteral("AllgemeinSchlussText")), QStringLiteral("neu AllgemeinSchlussText"));
  const QStringList schrift = {"MEFont_Name", "MEFont_Size", "MEFont_Bold", "MEFont_Italic", "MEFont_Underline",
                               "MEFont_Strikethrough", "MEFont_Color"};
  QStringList gespeichert;
  for (const QString& s : schrift) gespeichert << spalte(s);
  EXPECT_EQ(gespeichert, QStringList({"DejaVu Serif", "12,5", "Wahr", "Falsch", "Wahr", "Falsch", "255"}));
  const QString rtf = spalte(QStringLiteral("MengenEinheitFormat"));
  EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1")) && rtf.contains(QStringLiteral("DejaVu Serif")) &&
              rtf.contains(QStringLiteral("\\fs25")) && rtf.contains(QStringLiteral("Stk")))
      << qPrintable(rtf);
  // Columns of other panels stay.
  EXPECT_EQ(spalte(QStringLiteral("Formatdatei")), QStringLiteral("$Daten$FORMULAR\\Rechnung.lst"));
  EXPECT_TRUE(dialogs->shown().isEmpty());

  // A heading longer than its column is refused with a message, not cut; the other texts are saved.
  setze(panel, "Ueberschrift", QString(300, QLatin1Char('H')));
  setze(panel, "MwStText", QStringLiteral("USt."));
  speichern();
  EXPECT_EQ(spalte(QStringLiteral("ÜberschriftText")), QStringLiteral("neu ÜberschriftText"));
  EXPECT_EQ(spalte(QStringLiteral("MwStText")), QStringLiteral("USt."));
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(dialogs->messageBoxes().first().text.contains(QStringLiteral("\"Überschrift\" ist 300 Zeichen")));
}

TEST_F(ctrTexteTest, UnitFontOfRowsWithoutOneOrWithGaps) {
  const struct {
    const char* zeile;
    const char* name;
    double groesse;
    bool fett;
  } faelle[] = {
      {"MEFont_Name=NULL, MEFont_Size=20, MEFont_Bold=-1", "Arial", 10, false},
      {"MEFont_Name='DejaVu Sans', MEFont_Size=NULL, MEFont_Bold=-1", "DejaVu Sans", 10, true},
      // A row a host wrote in part: attributes without a value are off.
      {"MEFont_Name='DejaVu Sans', MEFont_Size=8, MEFont_Bold=NULL, MEFont_Italic=NULL", "DejaVu Sans", 8, false},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.zeile);
    zeileSetzen(QString::fromUtf8(f.zeile));
    laden();
    EXPECT_EQ(panel.EinheitSchrift().family(), QString::fromUtf8(f.name));
    EXPECT_DOUBLE_EQ(panel.EinheitSchrift().pointSizeF(), f.groesse);
    EXPECT_EQ(panel.EinheitSchrift().bold(), f.fett);
    speichern();
    EXPECT_EQ(spalte(QStringLiteral("MEFont_Name")), QString::fromUtf8(f.name));
    EXPECT_EQ(spalte(QStringLiteral("MEFont_Bold")), f.fett ? QStringLiteral("Wahr") : QStringLiteral("Falsch"));
    EXPECT_EQ(spalte(QStringLiteral("MEFont_Italic")), QStringLiteral("Falsch"));
  }
}

TEST_F(ctrTexteTest, TheFontButtonChangesFontAndColourOnlyWhenChosen) {
  laden();
  const QFont vorher = panel.EinheitSchrift();
  panel.cmdFontWaehlen_Click();  // cancelled
  EXPECT_EQ(panel.EinheitSchrift(), vorher);
  EXPECT_EQ(panel.EinheitFarbe(), QColor(0, 0, 0));

  QFont kursiv(QStringLiteral("DejaVu Sans"));
  kursiv.setPointSizeF(9);
  kursiv.setItalic(true);
  dialogs->answerFont(kursiv);
  dialogs->answerColor(QColor(0, 128, 255));
  panel.cmdFontWaehlen_Click();
  EXPECT_TRUE(vorschau().italic());
  EXPECT_EQ(panel.findChild<QTextEdit*>(QStringLiteral("EinheitFormat"))->toPlainText(), QStringLiteral("Stk"));
  speichern();
  EXPECT_EQ(spalte(QStringLiteral("MEFont_Name")), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(spalte(QStringLiteral("MEFont_Italic")), QStringLiteral("Wahr"));
  EXPECT_EQ(spalte(QStringLiteral("MEFont_Color")), QString::number(0 | (128 << 8) | (255 << 16)));

  // A new font with the colour dialog cancelled keeps the colour.
  dialogs->answerFont(vorher);
  panel.cmdFontWaehlen_Click();
  EXPECT_EQ(panel.EinheitFarbe(), QColor(0, 128, 255));
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
}

// The engine fills every placeholder the head and closing texts offer, for every form type.
TEST_F(ctrTexteTest, TheEngineFillsEveryOfferedTextPlaceholder) {
  frmDrucken druck(std::make_shared<report::ReportControl>());
  druck.Init();
  druck.AddDruckvariable(QStringLiteral("RechnungsDatum"), QStringLiteral("05.03.2024"), 0x10000000);
  for (short status : {0, 1, 2, 3, 4, 5, 6, 8, 9, 11, 12, 130}) {
    druck.intCurFormStatus = status;
    for (const auto& [gruppe, platzhalter] : configuration::ctrTexte::TextPlatzhalter(status))
      for (const QString& p : platzhalter)
        EXPECT_FALSE(druck.PlatzhalterErsetzen(p).contains(u'<')) << status << " " << qPrintable(p);
  }
}

// The heading takes the window's placeholders and shows its menu while it has the focus; F4 in
// the head and closing texts offers the engine's own, inserted at the caret.
TEST_F(ctrTexteTest, PlaceholderMenusInTheHeadingAndInTheHeadAndClosingTexts) {
  auto* box = panel.findChild<QLineEdit*>(QStringLiteral("Ueberschrift"));
  QFocusEvent hinein(QEvent::FocusIn);
  QFocusEvent hinaus(QEvent::FocusOut);
  QKeyEvent f4(QEvent::KeyRelease, Qt::Key_F4, Qt::NoModifier);
  QCoreApplication::sendEvent(box, &hinein);
  EXPECT_EQ(fenster.textFeld, box);
  EXPECT_TRUE(fenster.menueSichtbar);
  QCoreApplication::sendEvent(box, &f4);
  EXPECT_EQ(fenster.geoeffnetAuf, &panel);
  QCoreApplication::sendEvent(box, &hinaus);
  EXPECT_FALSE(fenster.menueSichtbar);

  formularSetzen(kRechnung, 1, QStringLiteral("Kopftext='Ihre Bestellung vom , danke.', AllgemeinSchlussText='Stand '"));
  laden();
  auto* menue = panel.findChild<QMenu*>(QStringLiteral("mnuTextPlatzhalter"));
  for (const auto& [name, platzhalter, stelle, danach] :
       {std::tuple{"strBetreffText", "<BestellDatum>", 20, "Ihre Bestellung vom <BestellDatum>, danke."},
        std::tuple{"AllgemeinSchlussText", "<Datum>", 6, "Stand <Datum>"}}) {
    QPlainTextEdit* text = mehrzeilig(name);
    QTextCursor c = text->textCursor();
    c.setPosition(stelle);
    text->setTextCursor(c);
    menue->hide();
    QCoreApplication::sendEvent(text, &f4);
    EXPECT_TRUE(menue->isVisible()) << name;
    for (QAction* a : menue->findChildren<QAction*>())
      if (a->text() == QString::fromUtf8(platzhalter)) a->trigger();
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8(danach));
  }
  EXPECT_EQ(dialogs->shown().size(), 0);
}

}  // namespace
