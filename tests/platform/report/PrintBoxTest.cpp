#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "platform/report/PrintBox.h"
#include "platform/report/PrintOptionsDialog.h"
#include "platform/report/QtReportWindows.h"
#include "platform/ui/ScriptedDialogs.h"

using report::PrintBox;
using report::QtReportWindows;

namespace {

QPushButton* button(const QWidget& w, const char* name) {
  QPushButton* b = w.findChild<QPushButton*>(name);
  EXPECT_NE(b, nullptr) << name;
  return b;
}

}  // namespace

TEST(PrintBox, ShowsTextAndPercentWithinRange) {
  PrintBox box("Druckausgabe");
  box.setText("Seite 3", 40);
  EXPECT_EQ(box.findChild<QLabel*>("textLabel")->text(), QStringLiteral("Seite 3"));
  EXPECT_EQ(box.findChild<QProgressBar*>("progressBar")->value(), 40);
  box.setText("weiter", 250);
  EXPECT_EQ(box.percent(), 100);
  box.setText("zurück", -5);
  EXPECT_EQ(box.percent(), 0);
  EXPECT_EQ(box.text(), QStringLiteral("zurück"));
}

TEST(PrintBox, CancelButtonSetsTheFlagOnce) {
  PrintBox box("Druckausgabe");
  QPushButton* cancel = button(box, "cancelButton");
  EXPECT_EQ(cancel->text(), QStringLiteral("Abbrechen"));
  EXPECT_FALSE(box.cancelled());
  cancel->click();
  EXPECT_TRUE(box.cancelled());
  EXPECT_FALSE(cancel->isEnabled());
}

TEST(PrintBox, ClosingTheBoxCancelsButKeepsItUntilTheJobEnds) {
  PrintBox box("Druckausgabe");
  box.show();
  EXPECT_FALSE(box.close());
  EXPECT_TRUE(box.cancelled());
  EXPECT_TRUE(box.isVisible());
}

TEST(PrintBox, EscapeCancels) {
  PrintBox box("Druckausgabe");
  box.show();
  QMetaObject::invokeMethod(&box, "reject");
  EXPECT_TRUE(box.cancelled());
  EXPECT_TRUE(box.isVisible());
}

TEST(QtReportWindows, PrintBoxIsShownWithoutWaitingAndReportsTheCancel) {
  ui::ScopedScriptedDialogs dialogs;
  QtReportWindows windows;
  windows.openPrintBox("Druckausgabe", nullptr);
  ASSERT_NE(windows.printBox(), nullptr);
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown()[0].type, ui::ShownDialog::Type::Window);
  EXPECT_EQ(dialogs->shown()[0].kind, QStringLiteral("printbox"));
  EXPECT_EQ(dialogs->shown()[0].title, QStringLiteral("Druckausgabe"));
  EXPECT_TRUE(windows.printBox()->isVisible());

  windows.updatePrintBox("Druckausgabe", 50);
  EXPECT_EQ(windows.printBox()->percent(), 50);
  EXPECT_FALSE(windows.printBoxCancelled());
  button(*windows.printBox(), "cancelButton")->click();
  EXPECT_TRUE(windows.printBoxCancelled());

  windows.closePrintBox();
  EXPECT_EQ(windows.printBox(), nullptr);
  EXPECT_TRUE(windows.printBoxCancelled());  // the job may still ask after the box went
  windows.updatePrintBox("ohne Box", 10);    // no box: nothing to do, no crash

  windows.openPrintBox("Zweiter Auftrag", nullptr);
  EXPECT_FALSE(windows.printBoxCancelled());
}

TEST(QtReportWindows, ABoxWhoseParentWentIsNotTouchedAgain) {
  ui::ScopedScriptedDialogs dialogs;
  QtReportWindows windows;
  auto parent = std::make_unique<QWidget>();
  windows.openPrintBox("Druckausgabe", parent.get());
  parent.reset();
  EXPECT_EQ(windows.printBox(), nullptr);
  windows.updatePrintBox("x", 1);
  windows.closePrintBox();
}

TEST(QtReportWindows, PrintOptionsCancelAnswersFalse) {
  ui::ScopedScriptedDialogs dialogs;
  QString title;
  QString details;
  dialogs->answerWindow([&](QDialog& d) {
    title = d.windowTitle();
    details = d.findChild<QLabel*>("detailsLabel")->text();
    QPushButton* cancel = button(d, "cancelButton");
    EXPECT_EQ(cancel->text(), QStringLiteral("Abbrechen"));
    cancel->click();
    return d.result();
  });
  QtReportWindows windows;
  report::PrintOptionsRequest request;
  request.text = "Druckparameter festlegen";
  request.jobTitle = "Rechnung 4711";
  request.templatePath = "/formulare/Rechnung.lst";
  EXPECT_FALSE(windows.printOptions(request, nullptr));
  EXPECT_EQ(title, QStringLiteral("Druckparameter festlegen"));
  EXPECT_TRUE(details.contains("Rechnung 4711"));
  EXPECT_TRUE(details.contains("Listenvorlage: Rechnung.lst"));
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown()[0].kind, QStringLiteral("printoptions"));
  EXPECT_EQ(dialogs->shown()[0].answer, QDialog::Rejected);
}

TEST(QtReportWindows, PrintOptionsOkAnswersTrue) {
  ui::ScopedScriptedDialogs dialogs;
  dialogs->answerWindow([](QDialog& d) {
    button(d, "okButton")->click();
    return d.result();
  });
  QtReportWindows windows;
  report::PrintOptionsRequest request;
  request.text = "Druckparameter festlegen";
  request.projectType = 1;
  request.templatePath = "Etikett.lbl";
  EXPECT_TRUE(windows.printOptions(request, nullptr));
}

TEST(QtReportWindows, UnansweredPrintOptionsCountAsCancelled) {
  ui::ScopedScriptedDialogs dialogs;
  QtReportWindows windows;
  EXPECT_FALSE(windows.printOptions({}, nullptr));
  EXPECT_EQ(dialogs->unexpectedCount(), 1);
}

TEST(QtReportWindows, ThePrintOptionsAreNeverAskedOverTheProgressBox) {
  ui::ScopedScriptedDialogs dialogs;
  QtReportWindows windows;
  windows.openPrintBox("Druckausgabe", nullptr);
  dialogs->answerWindow([&](QDialog& d) {
    d.show();
    const PrintBox* box = windows.printBox();
    EXPECT_FALSE(box->isVisible() && box->frameGeometry().intersects(d.frameGeometry()));
    button(d, "okButton")->click();
    return d.result();
  });
  EXPECT_TRUE(windows.printOptions({"Druckparameter festlegen"}, nullptr));
  EXPECT_TRUE(windows.printBox()->isVisible());
}
