// Every window the engine opens lies within the screen's available area at 200 % on a 1920×1080
// screen, and stays usable there.
#include <gtest/gtest.h>

#include <QDialog>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>

#include "foundation/frmInfoFenster.h"
#include "platform/report/QtReportWindows.h"
#include "tests/configuration/VorlagenTestSupport.h"
#include "tests/platform/report/WindowTestPages.h"

namespace {

using configuration::frmDruckFormulare;
using vorlagentest::VorlagenFixture;

// Every window shown now, whole on its screen.
void allesImBild(const char* wo) {
  QCoreApplication::processEvents();
  for (const QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible()) continue;
    const QRect bild = w->screen()->availableGeometry();
    const QRect fenster = w->frameGeometry();
    EXPECT_TRUE(bild.contains(fenster)) << wo << ": " << qPrintable(w->metaObject()->className()) << " "
                                        << qPrintable(w->windowTitle()) << " at " << fenster.x() << "," << fenster.y()
                                        << " " << fenster.width() << "x" << fenster.height();
  }
}

// Shows a modal window as the user would see it, checks it and closes it.
ui::ScriptedDialogs::WindowScript ansehen(const char* wo, std::function<void(QDialog&)> auch = {}) {
  return [wo, auch](QDialog& d) {
    d.show();
    allesImBild(wo);
    if (auch) auch(d);
    return int(QDialog::Rejected);
  };
}

using WindowsOnTheScreen = VorlagenFixture;

TEST_F(WindowsOnTheScreen, EveryWindowOfTheEngineOpensWithinTheScreenAt200Percent) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(960, 540));
  frmDruckFormulare& f = oeffnen(3, 1);
  for (const char* knoten : {"F0003V001", "F0003V001F", "F0003V001T", "F0003V001DG", "F0003V001DL"}) {
    waehle(knoten);
    allesImBild(knoten);
  }
  const QWidget* beenden = f.findChild<QWidget*>(QStringLiteral("cmdExit"));
  EXPECT_TRUE(f.rect().contains(QRect(beenden->mapTo(&f, QPoint()), beenden->size())));
  dialogs->answerWindow(ansehen("weitere Einstellungen"));
  aktion("cmdWeitereEinstellungen").trigger();
  dialogs->answerWindow(ansehen("Info"));
  aktion("Info").trigger();

  // The designer: the property panel's last row and a value list of several rows in sight.
  waehle("F0003V001F");
  dialogs->answerWindow(ansehen("Designer", [](QDialog& d) {
    const auto* panel = d.findChild<QScrollArea*>(QStringLiteral("propertyPane"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(d.rect().contains(QRect(panel->mapTo(&d, QPoint()), panel->size())));
    const auto* werte = d.findChild<QTreeWidget*>(QStringLiteral("valueList"));
    EXPECT_GE(werte->viewport()->height(), 6 * werte->sizeHintForRow(0));
  }));
  f.findChild<QToolButton*>(QStringLiteral("cmdLLEdit"))->click();
  EXPECT_EQ(dialogs->pendingAnswers(), 0);

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
}

}  // namespace
