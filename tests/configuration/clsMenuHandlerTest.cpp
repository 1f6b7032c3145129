// The placeholder handler on its own: where a key goes in, how much of the rest stays, which
// entries the form status shows.
#include "configuration/clsMenuHandler.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>

#include "platform/automation/LateBinding.h"
#include "platform/vb/VbError.h"
#include "tests/support/ErrorOf.h"

namespace {

struct Menue {
  QAction jahr{QStringLiteral("Druckdatum Jahr (jjjj)")};
  QAction projekt{QStringLiteral("ProjektNr")};
  QLineEdit feld;
  clsMenuHandler handler;
  Menue() {
    jahr.setObjectName(QStringLiteral("mnuPlatzhalterYYYY"));
    projekt.setObjectName(QStringLiteral("mnuPlatzhalterProjektNr"));
    handler.AddMenu(&jahr, QStringLiteral("YYYY"));
    handler.set_TextFeld(&feld);
  }
};

}  // namespace

// The key goes in where the selection starts, whichever way it was made; the selected text stays.
TEST(clsMenuHandler, KeyGoesInAtTheSelectionStartWithAtMost300CharactersOfTheRestBehindIt) {
  struct Fall {
    QString text;
    int start;
    QString erwartet;
    int laenge = 0;  // selected characters; negative: selected from right to left
  };
  const QString lang(400, QLatin1Char('x'));
  const QList<Fall> faelle = {
      {QStringLiteral("RE_12345.pdf"), 5, QStringLiteral("RE_12[YYYY]345.pdf")},
      {QString(), 0, QStringLiteral("[YYYY]")},
      {QStringLiteral("ab") + lang, 2, QStringLiteral("ab[YYYY]") + lang.left(300)},
      {QStringLiteral("abcdefghi"), 3, QStringLiteral("abc[YYYY]defghi"), 3},
      {QStringLiteral("abcdefghi"), 6, QStringLiteral("abc[YYYY]defghi"), -3},
  };
  for (const Fall& f : faelle) {
    Menue m;
    m.feld.setText(f.text);
    m.feld.setSelection(f.start, f.laenge);
    m.handler.PlatzhalterEinfuegen(&m.jahr);
    EXPECT_EQ(m.feld.text(), f.erwartet);
    EXPECT_EQ(m.feld.cursorPosition(), qMin(f.start, f.start + f.laenge) + 6);
  }
}

TEST(clsMenuHandler, MembersAreCalledByName) {
  using automation::callByName;
  Menue m;
  const vb::Variant projekt(std::make_shared<QAction>());
  callByName(m.handler, QStringLiteral("AddMenu"), automation::CallKind::Method, {projekt, "PROJEKT"});
  callByName(m.handler, QStringLiteral("AddMenu"), automation::CallKind::Method, {projekt, "X", 7});
  m.feld.setText(QStringLiteral("P_.pdf"));
  m.feld.setCursorPosition(2);
  callByName(m.handler, QStringLiteral("PlatzhalterEinfuegen"), automation::CallKind::Method, {projekt});
  EXPECT_EQ(m.feld.text(), QStringLiteral("P_[PROJEKT].pdf"));
}

TEST(clsMenuHandler, ItemsWithoutEntryAndAnEmptiedHandlerInsertNothing) {
  Menue m;
  m.feld.setText(QStringLiteral("Datei"));
  m.handler.PlatzhalterEinfuegen(&m.projekt);
  EXPECT_EQ(m.feld.text(), QStringLiteral("Datei"));
  m.handler.Init();
  m.handler.PlatzhalterEinfuegen(&m.jahr);
  EXPECT_EQ(m.feld.text(), QStringLiteral("Datei"));

  clsMenuHandler ohneFeld;
  EXPECT_EQ(testsupport::errorOf([&] { ohneFeld.PlatzhalterEinfuegen(&m.jahr); }), vb::ErrObjectNotSet);
}

TEST(clsMenuHandler, EntriesWithConditionsAreShownForTheirFormStatusOnly) {
  Menue m;
  m.handler.AddMenu(&m.projekt, QStringLiteral("PROJEKT"), {vb::Variant(1), vb::Variant(QStringLiteral("2"))});
  m.jahr.setVisible(false);
  for (const auto& [status, sichtbar] : {std::pair{2, true}, {3, false}, {1, true}}) {
    m.handler.let_CurStatus(std::int16_t(status));
    m.handler.SetMenu();
    EXPECT_EQ(m.projekt.isVisible(), sichtbar) << status;
    EXPECT_FALSE(m.jahr.isVisible()) << "an entry without conditions keeps its visibility";
  }
}
