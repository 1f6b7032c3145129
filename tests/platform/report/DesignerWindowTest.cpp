#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <stdexcept>

#include "platform/report/DesignerWindow.h"
#include "platform/report/IReportControl.h"
#include "platform/report/PageView.h"
#include "platform/report/QtReportWindows.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/platform/report/WindowTestPages.h"
#include "tests/support/TempDir.h"

using report::DesignerWindow;
using report::DesignRequest;

namespace {

QString readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

struct DesignerWindowTest : ::testing::Test {
  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir dir;
  QString path = dir.write("Rechnung.lst", "{\"page\": 1}\nzweite Zeile\n");
  QList<QString> rendered;  // every text the preview was rendered from
  QString renderError;      // set: the next renders fail with it

  DesignRequest request() {
    DesignRequest r;
    r.title = "Rechnungsentwurf";
    r.projectType = report::kProjectList;
    r.templatePath = path;
    r.variables = {{"Empfänger.Name1", "Muster GmbH", report::kTypeText},
                   {"Bankeinzug", "0", report::kTypeBoolean}};
    r.fields = {{"Menge", "3,5", report::kTypeNumeric}, {"Bezeichnung", "{\\rtf1 fett}", report::kTypeRichText}};
    // One page per line, so a re-render shows in the page count.
    r.render = [this](const QByteArray& text, QString* error) -> std::unique_ptr<report::PageSource> {
      rendered.append(QString::fromUtf8(text));
      if (!renderError.isEmpty()) {
        *error = renderError;
        return nullptr;
      }
      return std::make_unique<windowtest::ColouredPages>(int(text.count('\n')) + 1);
    };
    return r;
  }

  static QPlainTextEdit* editor(const QWidget& w) { return w.findChild<QPlainTextEdit*>("templateEditor"); }
  // Types `text` over the whole template, as a user would.
  static void retype(const QWidget& w, const QString& text) {
    editor(w)->selectAll();
    editor(w)->insertPlainText(text);
  }
  static QString pageLabel(const QWidget& w) { return w.findChild<QLabel*>("pageLabel")->text(); }
  static bool showsMessage(const QWidget& w) {
    const auto* stack = w.findChild<QLabel*>("previewMessage")->parentWidget();
    return static_cast<const QStackedWidget*>(stack)->currentWidget() == w.findChild<QLabel*>("previewMessage");
  }
  static QString message(const QWidget& w) { return w.findChild<QLabel*>("previewMessage")->text(); }
  static void trigger(const QWidget& w, const char* name) { w.findChild<QAction*>(name)->trigger(); }

  // Selects the list row of `name` and presses "Einfügen".
  static void insert(const QWidget& w, const QString& name) {
    auto* list = w.findChild<QTreeWidget*>("valueList");
    const auto items = list->findItems(name, Qt::MatchExactly, 0);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    list->setCurrentItem(items[0]);
    w.findChild<QPushButton*>("insertValue")->click();
  }
};

}  // namespace

TEST_F(DesignerWindowTest, ShowsTheTemplateAndEveryDefinedValue) {
  DesignerWindow w(request());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Rechnungsentwurf"));
  EXPECT_EQ(w.templateText(), QStringLiteral("{\"page\": 1}\nzweite Zeile\n"));
  EXPECT_FALSE(w.isModified());
  auto* list = w.findChild<QTreeWidget*>("valueList");
  ASSERT_EQ(list->topLevelItemCount(), 4);
  const QTreeWidgetItem* name = list->topLevelItem(0);
  EXPECT_EQ(name->text(0), QStringLiteral("Empfänger.Name1"));
  EXPECT_EQ(name->text(1), QStringLiteral("Variable"));
  EXPECT_EQ(name->text(2), QStringLiteral("Text"));
  EXPECT_EQ(name->text(3), QStringLiteral("Muster GmbH"));
  EXPECT_EQ(list->topLevelItem(1)->text(2), QStringLiteral("Ja/Nein"));
  EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("Feld"));
  EXPECT_EQ(list->topLevelItem(2)->text(2), QStringLiteral("Zahl"));
  EXPECT_EQ(list->topLevelItem(3)->text(2), QStringLiteral("RTF-Text"));
}

TEST_F(DesignerWindowTest, OpeningRendersThePreviewFromTheFile) {
  DesignerWindow w(request());
  ASSERT_EQ(rendered.size(), 1);
  EXPECT_EQ(rendered[0], readFile(path));
  EXPECT_FALSE(showsMessage(w));
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 1 von 3"));
}

TEST_F(DesignerWindowTest, InsertPutsTheNameInBracesAtTheCursor) {
  DesignerWindow w(request());
  QTextCursor c = editor(w)->textCursor();
  c.setPosition(int(QStringLiteral("{\"page\": 1}\n").size()));
  editor(w)->setTextCursor(c);
  insert(w, "Empfänger.Name1");
  EXPECT_EQ(w.templateText(), QStringLiteral("{\"page\": 1}\n{Empfänger.Name1}zweite Zeile\n"));
  EXPECT_TRUE(w.isModified());
  insert(w, "Menge");
  EXPECT_EQ(w.templateText(), QStringLiteral("{\"page\": 1}\n{Empfänger.Name1}{Menge}zweite Zeile\n"));
}

TEST_F(DesignerWindowTest, SaveWritesTheEditedText) {
  DesignerWindow w(request());
  editor(w)->moveCursor(QTextCursor::End);
  insert(w, "Bankeinzug");
  trigger(w, "saveTemplate");
  EXPECT_EQ(readFile(path), QStringLiteral("{\"page\": 1}\nzweite Zeile\n{Bankeinzug}"));
  EXPECT_FALSE(w.isModified());
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
}

TEST_F(DesignerWindowTest, AnEditRendersThePreviewAgainAfterAPause) {
  DesignerWindow w(request());
  auto* timer = w.findChild<QTimer*>("previewTimer");
  EXPECT_FALSE(timer->isActive());
  editor(w)->moveCursor(QTextCursor::End);
  editor(w)->insertPlainText("dritte\nvierte");
  // Not at every key: the render waits for the pause.
  EXPECT_TRUE(timer->isActive());
  EXPECT_TRUE(timer->isSingleShot());
  EXPECT_EQ(rendered.size(), 1);
  trigger(w, "refreshPreview");
  ASSERT_EQ(rendered.size(), 2);
  EXPECT_EQ(rendered[1], QStringLiteral("{\"page\": 1}\nzweite Zeile\ndritte\nvierte"));
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 1 von 4"));
}

TEST_F(DesignerWindowTest, ARenderErrorIsShownInThePreview) {
  DesignerWindow w(request());
  renderError = "Zeile 2: unerwartetes Zeichen";
  trigger(w, "refreshPreview");
  EXPECT_TRUE(showsMessage(w));
  EXPECT_TRUE(message(w).contains("Zeile 2: unerwartetes Zeichen"));
  EXPECT_EQ(w.findChild<report::PageView*>("previewView")->pageCount(), 0);
  // Once the text renders again, the pages come back.
  renderError.clear();
  trigger(w, "refreshPreview");
  EXPECT_FALSE(showsMessage(w));
  EXPECT_EQ(pageLabel(w), QStringLiteral("Seite 1 von 3"));
}

TEST_F(DesignerWindowTest, ARenderThatThrowsIsShownAndDoesNotEndTheDesigner) {
  DesignRequest r = request();
  r.render = [](const QByteArray&, QString*) -> std::unique_ptr<report::PageSource> {
    throw std::runtime_error("kaputt");
  };
  DesignerWindow w(r);
  EXPECT_TRUE(showsMessage(w));
  EXPECT_TRUE(message(w).contains("kaputt"));
}

TEST_F(DesignerWindowTest, ANewTemplateStartsEmpty) {
  path = dir.file("Neu.lst");
  DesignerWindow w(request());
  EXPECT_TRUE(w.templateText().isEmpty());
  ASSERT_EQ(rendered.size(), 1);
  EXPECT_TRUE(rendered[0].isEmpty());
  retype(w, "neu");
  ASSERT_TRUE(w.save());
  EXPECT_EQ(readFile(path), QStringLiteral("neu"));
}

TEST_F(DesignerWindowTest, ASaveThatFailsTellsTheUserAndKeepsTheChanges) {
  path = dir.file("fehlt/Rechnung.lst");
  DesignerWindow w(request());
  retype(w, "geändert");
  EXPECT_FALSE(w.save());
  EXPECT_TRUE(w.isModified());
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(dialogs->messageBoxes()[0].text.contains(path));
  EXPECT_EQ(dialogs->messageBoxes()[0].style & 0x70, ui::vbCritical);
  EXPECT_EQ(readFile(path), QStringLiteral("<missing>"));
}

TEST_F(DesignerWindowTest, ClosingWithChangesAsksAndCancelKeepsTheWindowOpen) {
  DesignerWindow w(request());
  int finished = 0;
  QObject::connect(&w, &QDialog::finished, [&] { ++finished; });
  retype(w, "geändert");
  dialogs->answerMsgBox(ui::vbCancel);
  w.reject();
  EXPECT_EQ(finished, 0);
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(dialogs->messageBoxes()[0].style & 0x0F, ui::vbYesNoCancel);
  dialogs->answerMsgBox(ui::vbNo);
  w.reject();
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(readFile(path), QStringLiteral("{\"page\": 1}\nzweite Zeile\n"));
}

TEST_F(DesignerWindowTest, ClosingWithChangesAndYesSaves) {
  DesignerWindow w(request());
  retype(w, "geändert");
  dialogs->answerMsgBox(ui::vbYes);
  trigger(w, "closeDesigner");
  EXPECT_EQ(readFile(path), QStringLiteral("geändert"));
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
}

TEST_F(DesignerWindowTest, ClosingWithoutChangesDoesNotAsk) {
  DesignerWindow w(request());
  trigger(w, "closeDesigner");
  EXPECT_TRUE(dialogs->messageBoxes().isEmpty());
  EXPECT_EQ(readFile(path), QStringLiteral("{\"page\": 1}\nzweite Zeile\n"));
}

TEST_F(DesignerWindowTest, OpenedThroughTheWindowsAndDrivenByAScript) {
  dialogs->answerWindow([&](QDialog& d) {
    auto& designer = dynamic_cast<DesignerWindow&>(d);
    editor(d)->moveCursor(QTextCursor::Start);
    insert(d, "Bezeichnung");
    trigger(d, "refreshPreview");
    EXPECT_TRUE(designer.save());
    trigger(d, "closeDesigner");
    return d.result();
  });
  report::QtReportWindows windows;
  windows.design(request(), nullptr);
  EXPECT_EQ(readFile(path), QStringLiteral("{Bezeichnung}{\"page\": 1}\nzweite Zeile\n"));
  ASSERT_EQ(rendered.size(), 2);
  EXPECT_EQ(rendered[1], readFile(path));
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown()[0].kind, QStringLiteral("designer"));
  EXPECT_EQ(dialogs->shown()[0].title, QStringLiteral("Rechnungsentwurf"));
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
}
