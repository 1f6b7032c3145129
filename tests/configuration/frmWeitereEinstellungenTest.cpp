// The further print settings dialog on the example host's settings table, as the user answers
// it, and the text-measuring form.
#include <QCheckBox>
#include <QDialog>
#include <QToolButton>

#include "configuration/frmVorlagenUpdate.h"
#include "configuration/frmWeitereEinstellungen.h"
#include "tests/configuration/PanelTestSupport.h"

using namespace paneltest;

namespace {

class frmWeitereEinstellungenTest : public PanelFixture {
 protected:
  QString vorgabe(const char* name) const {
    return wert(QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName='%1'").arg(QString::fromUtf8(name)));
  }
  void vorgabeSetzen(const char* name, const char* wert) const {
    GetGlobalConnectList()->SQLGruppe_Connection(6)->Execute(
        QStringLiteral("UPDATE Vorgaben SET Wert='%1' WHERE FeldName='%2'").arg(QString::fromUtf8(wert), QString::fromUtf8(name)));
  }
  // Opens the dialog; `benutzer` plays the user. What the boxes showed comes back as "Kopien|Falz".
  QString zeigen(const std::function<void(QDialog&)>& benutzer) {
    QString gezeigt;
    dialogs->answerWindow([&](QDialog& d) {
      const auto kasten = [&d](const char* name) { return d.findChild<QCheckBox*>(QString::fromUtf8(name)); };
      gezeigt = QStringLiteral("%1|%2").arg(kasten("blnDuplikatsVermerk")->isChecked()).arg(kasten("blnFalzstriche")->isChecked());
      EXPECT_EQ(d.windowTitle(), QStringLiteral("weitere Druckeinstellungen"));
      benutzer(d);
      return d.result();
    });
    configuration::WeitereEinstellungenZeigen(nullptr, GetGlobalConnectList());
    EXPECT_EQ(dialogs->pendingAnswers(), 0);
    return gezeigt;
  }
  static void klicke(QDialog& d, const char* knopf) { d.findChild<QToolButton*>(QString::fromUtf8(knopf))->click(); }
  static void ankreuzen(QDialog& d, bool kopien, bool falz) {
    d.findChild<QCheckBox*>(QStringLiteral("blnDuplikatsVermerk"))->setChecked(kopien);
    d.findChild<QCheckBox*>(QStringLiteral("blnFalzstriche"))->setChecked(falz);
  }
};

TEST_F(frmWeitereEinstellungenTest, StoredValuesShowAndTheStartButtonWritesThem) {
  // The host stores fold marks as 1: on; written back as -1.
  EXPECT_EQ(zeigen([](QDialog& d) {
              EXPECT_EQ(feld(d, "strDatenverzeichnis"), GetDatenverzeichnis());
              EXPECT_EQ(feld(d, "strLokalesVerzeichnis"), GetLokalerPfad());
              klicke(d, "cmdStart");
            }),
            QStringLiteral("0|1"));
  EXPECT_EQ(vorgabe("Falzstriche"), QStringLiteral("-1"));
  EXPECT_EQ(vorgabe("Duplikatsvermerk"), QStringLiteral("0"));

  // Leading numbers decide; both changed and confirmed.
  vorgabeSetzen("Duplikatsvermerk", "5 Kopien");
  vorgabeSetzen("Falzstriche", "nein");
  EXPECT_EQ(zeigen([](QDialog& d) {
              ankreuzen(d, false, true);
              klicke(d, "cmdStart");
            }),
            QStringLiteral("1|0"));
  EXPECT_EQ(vorgabe("Duplikatsvermerk"), QStringLiteral("0"));
  EXPECT_EQ(vorgabe("Falzstriche"), QStringLiteral("-1"));

  // Changed and left with the back button or the close box: nothing is written.
  for (const bool schliessfeld : {false, true}) {
    zeigen([schliessfeld](QDialog& d) {
      ankreuzen(d, true, false);
      if (schliessfeld)
        d.reject();
      else
        klicke(d, "cmdZurueck");
    });
    EXPECT_EQ(vorgabe("Duplikatsvermerk"), QStringLiteral("0"));
    EXPECT_EQ(vorgabe("Falzstriche"), QStringLiteral("-1"));
  }
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(frmWeitereEinstellungenTest, AFreshSettingsTableGetsBothKeysOff) {
  GetGlobalConnectList()->SQLGruppe_Connection(6)->Execute(QStringLiteral("DELETE FROM Vorgaben"));
  EXPECT_EQ(zeigen([](QDialog&) {}), QStringLiteral("0|0"));
  EXPECT_EQ(vorgabe("Duplikatsvermerk"), QStringLiteral("0"));
  EXPECT_EQ(vorgabe("Falzstriche"), QStringLiteral("0"));
}

// Settings that cannot be read or written are told; a failed write keeps the dialog open with the
// user's choice.
TEST_F(frmWeitereEinstellungenTest, SettingsThatCannotBeReadOrWrittenAreTold) {
  const auto verbindungen = GetGlobalConnectList();
  bool offen = false;
  zeigen([&](QDialog& d) {
    verbindungen->SQLGruppe_Connection(6)->Execute(QStringLiteral("DROP TABLE Vorgaben"));
    ankreuzen(d, true, true);
    klicke(d, "cmdStart");
    offen = d.result() != QDialog::Accepted;
    klicke(d, "cmdZurueck");
  });
  EXPECT_TRUE(offen);
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(dialogs->messageBoxes()[0].text.startsWith(QStringLiteral("Die Druckeinstellungen konnten nicht gespeichert werden")));

  configuration::WeitereEinstellungenZeigen(nullptr, GetGlobalConnectList());
  ASSERT_EQ(dialogs->messageBoxes().size(), 2);
  EXPECT_TRUE(dialogs->messageBoxes()[1].text.startsWith(QStringLiteral("Die Druckeinstellungen konnten nicht gelesen werden")));
  EXPECT_EQ(dialogs->shown().size(), 3);  // no second dialog
}

TEST(frmVorlagenUpdateTest, MeasuresTextsInTheFontSetLast) {
  configuration::frmVorlagenUpdate form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Druckvorlagen Update"));
  form.SetFont(QStringLiteral("DejaVu Sans"), 10, false, false);
  EXPECT_EQ(form.GetTextWidth(QString()), 0.0f);
  const float schmal = form.GetTextWidth(QStringLiteral("Rechnung"));
  const float zeile = form.GetTextHeight(QStringLiteral("Rechnung"));
  EXPECT_GT(schmal, 0.0f);
  EXPECT_FLOAT_EQ(form.GetTextHeight(QStringLiteral("Rechnung\nNr.")), 2 * zeile);
  form.SetFont(QStringLiteral("DejaVu Sans"), 20, true, false);
  EXPECT_GT(form.GetTextWidth(QStringLiteral("Rechnung")), 1.8f * schmal);
  EXPECT_GT(form.GetTextHeight(QStringLiteral("Rechnung")), 1.8f * zeile);
}

}  // namespace
