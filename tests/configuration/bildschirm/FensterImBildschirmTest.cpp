// Every window the engine opens lies within the available screen at 200 % on 1920×1080.
#include <gtest/gtest.h>

#include <QScreen>
#include <QScrollArea>
#include <QToolButton>

#include "foundation/frmInfoFenster.h"
#include "platform/report/QtReportWindows.h"
#include "tests/configuration/VorlagenTestSupport.h"
#include "tests/platform/report/WindowTestPages.h"

namespace {

void allesImBild(const char* wo) {
  QCoreApplication::processEvents();
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible())
      EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()))
          << wo << ": " << w->metaObject()->className() << " " << w->width() << "x" << w->height();
}

ui::ScriptedDialogs::WindowScript ansehen(const char* wo, std::function<void(QDialog&)> auch = [](QDialog&) {}) {
  return [wo, auch](QDialog& d) {
    d.show();
    allesImBild(wo);
    auch(d);
    return int(QDialog::Rejected);
  };
}

using WindowsOnTheScreen = vorlagentest::VorlagenFixture;

TEST_F(WindowsOnTheScreen, EveryWindowOfTheEngineOpensWithinTheScreenAt200Percent) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(960, 540));
  configuration::frmDruckFormulare& f = oeffnen(3, 1);
  for (const char* knoten : {"F0003V001", "F0003V001T", "F0003V001DG", "F0003V001F"}) {
    waehle(knoten);
    allesImBild(knoten);
  }
  dialogs->answerWindow(ansehen("weitere Einstellungen"));
  aktion("cmdWeitereEinstellungen").trigger();
  dialogs->answerWindow(ansehen("Info"));
  aktion("Info").trigger();
  // The designer's property panel whole in the window, its value list several rows high.
  dialogs->answerWindow(ansehen("Designer", [](QDialog& d) {
    const auto* panel = d.findChild<QScrollArea*>(QStringLiteral("propertyPane"));
    EXPECT_TRUE(d.rect().contains(QRect(panel->mapTo(&d, QPoint()), panel->size())));
    const auto* werte = d.findChild<QTreeWidget*>(QStringLiteral("valueList"));
    EXPECT_GE(werte->viewport()->height(), 6 * werte->sizeHintForRow(0));
  }));
  f.findChild<QToolButton*>(QStringLiteral("cmdLLEdit"))->click();

  report::QtReportWindows fenster;
  const windowtest::ColouredPages seiten(2);
  dialogs->answerWindow(ansehen("Vorschau"));
  fenster.showPreview(seiten, QStringLiteral("Vorschau"), nullptr);
  fenster.openPrintBox(QStringLiteral("Druckausgabe"), nullptr);
  dialogs->answerWindow(ansehen("Druckparameter festlegen"));
  fenster.printOptions({QStringLiteral("Druckparameter festlegen")}, nullptr);
  frmInfoFenster stapel;
  ui::dialogs().showWindow(stapel, QStringLiteral("infofenster"));
  allesImBild("Druckausgabe");
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
}

}  // namespace
