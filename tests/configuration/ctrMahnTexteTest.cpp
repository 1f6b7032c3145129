// The two dunning text panels on the example host's dunning form: the general texts in the
// form's row, the texts of a level in Auftrag_Formular_Mahnung, a level never saved before, and
// what the printed letter then takes from them.
#include <QPlainTextEdit>

#include "automation/clsMahnungDrucken.h"
#include "configuration/ctrMahnAllgTexte.h"
#include "configuration/ctrMahnVorSchluss.h"
#include "tests/configuration/PanelTestSupport.h"

using namespace paneltest;

namespace {

class ctrMahnTexteTest : public PanelFixture {
 protected:
  void SetUp() override {
    PanelFixture::SetUp();
    nummer = host.mahnformularAnlegen();
  }
  std::shared_ptr<data::Recordset> stufe(int n) const {
    return satz(QStringLiteral("SELECT * FROM Auftrag_Formular_Mahnung WHERE FormNummer=%1 AND FormStatus=130 AND "
                               "Mahnstufe=%2")
                    .arg(nummer)
                    .arg(n));
  }
  QList<QPair<QString, vb::Variant>> stufenSchluessel(int n) const {
    return {{QStringLiteral("FormNummer"), vb::Variant(int(nummer))},
            {QStringLiteral("FormStatus"), vb::Variant(130)},
            {QStringLiteral("Mahnstufe"), vb::Variant(n)}};
  }
  QString stufenWert(int n, const char* spalte) const {
    return wert(QStringLiteral("SELECT %1 FROM Auftrag_Formular_Mahnung WHERE FormNummer=%2 AND FormStatus=130 AND "
                               "Mahnstufe=%3")
                    .arg(QString::fromUtf8(spalte))
                    .arg(nummer)
                    .arg(n));
  }
  static QString text(QWidget& p, const char* name) {
    return p.findChild<QPlainTextEdit*>(QString::fromUtf8(name))->toPlainText();
  }
  static void schreibe(QWidget& p, const char* name, const QString& t) {
    p.findChild<QPlainTextEdit*>(QString::fromUtf8(name))->setPlainText(t);
  }
  static QStringList boxen(QWidget& p, const char* zeile) {
    return {text(p, "strVorText"), text(p, "strSchlussText"), feld(p, zeile)};
  }

  short nummer = 0;
  configuration::ctrMahnAllgTexte allgemein{fenster};
  configuration::ctrMahnVorSchluss vorSchluss{fenster};
};

TEST_F(ctrMahnTexteTest, GeneralTextsGoThereAndBackInTheFormsRow) {
  laden(allgemein, formular(130, nummer));
  EXPECT_EQ(boxen(allgemein, "Absender"),
            QStringList({"Leider konnten wir keinen Zahlungseingang feststellen.", "Allgemeiner Schlusstext",
                         "Buchhandlung am Markt · Marktplatz 1"}));
  schreibe(allgemein, "strVorText", QStringLiteral("Vortext\nzweite Zeile ") + QString(400, QLatin1Char('v')));
  schreibe(allgemein, "strSchlussText", QString());
  setze(allgemein, "Absender", QStringLiteral("Neuer Absender"));
  speichern(allgemein, formular(130, nummer), {});
  const auto spalte = [this](const char* s) { return formularWert(130, nummer, QString::fromUtf8(s)); };
  EXPECT_EQ(spalte("Betrefftext"), QStringLiteral("Vortext\nzweite Zeile ") + QString(400, QLatin1Char('v')));
  EXPECT_EQ(spalte("AllgemeinSchlussText"), QString());
  EXPECT_EQ(spalte("Absender"), QStringLiteral("Neuer Absender"));
  EXPECT_EQ(spalte("Formatdatei"), QStringLiteral("$Daten$FORMULAR\\Mahnung.lst"));

  // A form without its row (the record set at its end) empties the boxes.
  laden(allgemein, formular(130, 99));
  EXPECT_EQ(boxen(allgemein, "Absender"), QStringList({"", "", ""}));
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(ctrMahnTexteTest, LevelTextsOfASavedAndANeverSavedLevel) {
  laden(vorSchluss, stufe(2));
  EXPECT_EQ(boxen(vorSchluss, "Ueberschrift"), QStringList({"", "Bitte zahlen Sie umgehend.", "Zweite Mahnung"}));

  // Level 1 has no row yet: empty boxes; the window's save adds the row with its keys.
  laden(vorSchluss, stufe(1));
  EXPECT_EQ(boxen(vorSchluss, "Ueberschrift"), QStringList({"", "", ""}));
  schreibe(vorSchluss, "strVorText", QStringLiteral("Sicher haben Sie übersehen ..."));
  schreibe(vorSchluss, "strSchlussText", QStringLiteral("Mit freundlichen Grüßen"));
  speichern(vorSchluss, stufe(1), stufenSchluessel(1));
  EXPECT_EQ(stufenWert(1, "VorText"), QStringLiteral("Sicher haben Sie übersehen ..."));
  EXPECT_EQ(stufenWert(1, "SchlussText"), QStringLiteral("Mit freundlichen Grüßen"));
  // An empty heading is stored empty, not Null: the letter then prints an empty heading.
  EXPECT_EQ(stufenWert(1, "Überschrift"), QString());

  // A heading too long for its column is refused with a message; the texts are saved.
  laden(vorSchluss, stufe(2));
  setze(vorSchluss, "Ueberschrift", QString(256, QLatin1Char('U')));
  schreibe(vorSchluss, "strVorText", QStringLiteral("Neuer Vortext"));
  speichern(vorSchluss, stufe(2), stufenSchluessel(2));
  EXPECT_EQ(stufenWert(2, "Überschrift"), QStringLiteral("Zweite Mahnung"));
  EXPECT_EQ(stufenWert(2, "VorText"), QStringLiteral("Neuer Vortext"));
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(dialogs->messageBoxes().first().text.contains(QStringLiteral("Überschrift")));
  EXPECT_EQ(wert(QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Mahnung")), QStringLiteral("2"));
}

// What the panels wrote is what a letter of that level prints.
TEST_F(ctrMahnTexteTest, ALetterPrintsTheTextsThePanelsSaved) {
  laden(vorSchluss, stufe(3));
  setze(vorSchluss, "Ueberschrift", QStringLiteral("Letzte Mahnung"));
  speichern(vorSchluss, stufe(3), stufenSchluessel(3));
  laden(allgemein, formular(130, nummer));
  schreibe(allgemein, "strSchlussText", QStringLiteral("Schluss aus den allgemeinen Texten"));
  speichern(allgemein, formular(130, nummer), {});

  auto brief = std::make_shared<clsMahnungDrucken>();
  brief->set_ConnectList(vb::Variant(GetGlobalConnectList()));
  brief->let_MahnstufenText(QStringLiteral("3"));
  brief->SetDruckerOptionen(130, nummer);
  EXPECT_EQ(brief->VorText(), QStringLiteral("Leider konnten wir keinen Zahlungseingang feststellen."));
  EXPECT_EQ(brief->SchlussText(), QStringLiteral("Schluss aus den allgemeinen Texten"));
}

}  // namespace
