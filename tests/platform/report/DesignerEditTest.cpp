// The visual designer driven through its actions as a user edits a shipped template: the saved
// file is printed by the report control to PDF and read back with pdftotext.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardPaths>
#include <QMouseEvent>
#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUndoStack>

#include "platform/report/DesignerWindow.h"
#include "platform/report/IReportControl.h"
#include "platform/report/ReportControl.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/RequireTool.h"
#include "tests/support/TempDir.h"

using namespace report;

namespace {

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QJsonObject jsonOf(const QString& path) { return QJsonDocument::fromJson(readFile(path)).object(); }

// The index of the first object of `list` whose text is `text`.
int indexOf(const QJsonArray& list, const QString& text) {
  for (qsizetype i = 0; i < list.size(); ++i)
    if (list[i].toObject().value("text").toString() == text) return int(i);
  return -1;
}

struct Word {
  QString text;
  QRectF box;  // mm
};

// The words of page 1 of `pdf` with their boxes.
QList<Word> wordsOf(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
  p.waitForFinished(30000);
  static const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  QList<Word> out;
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  constexpr double mm = 25.4 / 72;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    out.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm),
                                      QPointF(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm))});
  }
  return out;
}

// The first `text` from `below` mm down.
std::optional<Word> find(const QList<Word>& words, const QString& text, double below = 0) {
  for (const Word& w : words)
    if (w.text == text && w.box.top() >= below) return w;
  return std::nullopt;
}

struct DesignerEditTest : ::testing::Test {
  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir dir;

  QString copyTemplate(const QString& name) {
    const QString to = dir.file(name);
    QFile::copy(QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/") + name, to);
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return to;
  }

  DesignRequest request(const QString& path) {
    DesignRequest r;
    r.title = "Entwurf";
    r.projectType = path.endsWith(".lbl") ? kProjectLabel : kProjectList;
    r.templatePath = path;
    r.variables = {{"AnschriftEmpfaenger", "Muster GmbH", kTypeText}, {"DokumentTitel", "Rechnung", kTypeText}};
    r.fields = {{"Zeilentyp", "Position", kTypeText}, {"Bezeichnung", "Buch", kTypeText},
                {"Verlagsname", "Beispielverlag", kTypeText}};
    return r;
  }

  // Prints one invoice with one position through the report control into a PDF.
  QString print(const QString& templatePath, const QString& pdfName) {
    ReportControl control(std::make_shared<reporttest::AnsweringWindows>());
    EXPECT_EQ(control.SetExportParameter(1, "PDF", "Export.File", pdfName), kOk);
    EXPECT_EQ(control.SetExportParameter(1, "PDF", "Export.Path", dir.path() + "/"), kOk);
    EXPECT_EQ(control.SetExportParameter(1, "PDF", "Export.Quiet", "1"), kOk);
    QString file = templatePath;
    EXPECT_EQ(control.StartPrintJob(kProjectList, file, kToExport), kOk) << control.lastError().toStdString();
    EXPECT_EQ(control.SetOptionString(kOptionStringExportFormats, "PDF"), kOk);
    for (const DefinedValue& v : request(templatePath).variables) control.DefineReportVariable(v.name, v.contents, v.type);
    for (const DefinedValue& v : request(templatePath).fields) control.DefineReportField(v.name, v.contents, v.type);
    EXPECT_EQ(control.PrintFields(), kOk);
    EXPECT_EQ(control.EndPrint(0), kOk) << control.lastError().toStdString();
    return dir.file(pdfName);
  }
};

TEST_F(DesignerEditTest, TheInvoiceEditedOnThePagePrintsWithExactlyThoseChanges) {
  SKRIVANT_REQUIRE_TOOL(reporttest::havePdfToText(), "pdftotext missing");
  const QString path = copyTemplate("Rechnung.lst");
  const QJsonObject original = jsonOf(path);
  const QList<Word> before = wordsOf(print(path, "vorher.pdf"));

  const QJsonArray pageObjects = original.value("objects").toArray();
  const int address = indexOf(pageObjects, "{AnschriftEmpfaenger}");
  const int title = indexOf(pageObjects, "{DokumentTitel}");
  const QJsonArray rows = original.value("table").toObject().value("rows").toArray();
  int position = -1;
  for (qsizetype i = 0; i < rows.size() && position < 0; ++i)
    if (rows[i].toObject().value("when").toString().startsWith("Zeilentyp = 'Position'")) position = int(i);
  ASSERT_GE(address, 0);
  ASSERT_GE(title, 0);
  ASSERT_GE(position, 0);

  DesignerWindow w(request(path));
  ASSERT_TRUE(w.isReadable()) << w.problem().toStdString();
  DesignCanvas* canvas = w.canvas();
  ASSERT_EQ(canvas->lists().size(), 1 + original.value("table").toObject().value("header").toArray().size() +
                                        rows.size() + original.value("table").toObject().value("footer").toArray().size());

  // The address block 5 mm down.
  canvas->setSelection({{Section::Page, -1, address}});
  ASSERT_TRUE(w.moveSelection({0, 5}));
  // The title's size in the property panel.
  canvas->setSelection({{Section::Page, -1, title}});
  w.findChild<QDoubleSpinBox*>("propFontSize")->setValue(20);
  // Its colour from the colour dialog.
  dialogs->answerColor(QColor(0x12, 0x34, 0x56));
  w.findChild<QToolButton*>("propColorButton")->click();
  // A field dragged from the value list into the position row: a new column.
  auto* values = w.findChild<QTreeWidget*>("valueList");
  const auto items = values->findItems("Verlagsname", Qt::MatchExactly, 0);
  ASSERT_EQ(items.size(), 1);
  std::unique_ptr<QMimeData> mime(values->model()->mimeData({values->indexFromItem(items[0])}));
  const ObjectRef row{Section::Rows, position, -1};
  const QPointF dropAt = canvas->area(row).topLeft() + QPointF(70.3, 0.2);
  const QPoint at = canvas->toWidget(dropAt).toPoint();
  QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &drop);
  ASSERT_EQ(canvas->selection().size(), 1);
  EXPECT_EQ(canvas->selection()[0].list(), row);
  // A slip of the arrow key on the title, taken back.
  canvas->setSelection({{Section::Page, -1, title}});
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &right);
  EXPECT_EQ(w.document()["objects"].toArray()[title].toObject()["x"].toDouble(), 21);
  w.undoStack()->undo();
  ASSERT_TRUE(w.save());
  EXPECT_FALSE(w.isModified());

  // The file: the changes, and what the designer does not show kept as it was.
  const QJsonObject saved = jsonOf(path);
  EXPECT_EQ(saved.value("sums"), original.value("sums"));
  EXPECT_EQ(saved.value("kind"), original.value("kind"));
  EXPECT_EQ(saved["table"].toObject()["topFollowing"], original["table"].toObject()["topFollowing"]);
  EXPECT_EQ(saved["objects"].toArray()[address].toObject()["y"].toDouble(), 67.7);
  EXPECT_EQ(saved["objects"].toArray()[title].toObject()["x"].toDouble(), 20);
  EXPECT_EQ(saved["objects"].toArray()[title].toObject()["font"].toObject()["size"].toDouble(), 20);
  EXPECT_EQ(saved["objects"].toArray()[title].toObject()["color"].toString(), "#123456");
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
  const QJsonArray column = saved["table"].toObject()["rows"].toArray()[position].toObject()["objects"].toArray();
  EXPECT_EQ(column.last().toObject()["text"].toString(), "{Verlagsname}");
  EXPECT_EQ(column.last().toObject()["x"].toDouble(), 70);

  // The print: every change where it belongs, everything else where it was.
  const QList<Word> after = wordsOf(print(path, "nachher.pdf"));
  const auto oldAddress = find(before, "Muster"), newAddress = find(after, "Muster");
  // The title stands below the "Rechnung Nr." of the information block.
  const auto oldTitle = find(before, "Rechnung", 90), newTitle = find(after, "Rechnung", 90);
  const auto oldText = find(before, "Buch"), newText = find(after, "Buch");
  const auto column1 = find(after, "Beispielverlag");
  ASSERT_TRUE(oldAddress && newAddress && oldTitle && newTitle && oldText && newText && column1);
  EXPECT_NEAR(newAddress->box.top() - oldAddress->box.top(), 5, 0.1);
  EXPECT_NEAR(newAddress->box.left(), oldAddress->box.left(), 0.1);
  EXPECT_NEAR(newTitle->box.height() / oldTitle->box.height(), 20.0 / 14, 0.05);
  EXPECT_NEAR(newTitle->box.left(), oldTitle->box.left(), 0.1);
  EXPECT_NEAR(newText->box.top(), oldText->box.top(), 0.1);
  EXPECT_NEAR(column1->box.left(), 20 + 70, 0.5);
  EXPECT_NEAR(column1->box.top(), newText->box.top(), 1);
  EXPECT_FALSE(find(before, "Beispielverlag"));
}

TEST_F(DesignerEditTest, ATemplateThatCannotBeReadOpensInTheTextWithTheReason) {
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"{ \"kind\": \"list\", \"objects\": [ \n", "Zeile 2"},
      {"{ \"kind\": \"list\", \"objects\": [ { \"type\": \"text\", \"width\": 10, \"colour\": \"#ff0000\" } ] }",
       "unknown key \"colour\""},
      {"", "leer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const QString path = dir.write("Kaputt.lst", c.text);
    DesignerWindow w(request(path));
    EXPECT_FALSE(w.isReadable());
    auto* tabs = w.findChild<QTabWidget*>("designTabs");
    EXPECT_EQ(tabs->currentWidget()->objectName(), "textPage");
    EXPECT_FALSE(tabs->isTabEnabled(0));
    EXPECT_TRUE(w.findChild<QLabel*>("templateProblem")->text().contains(c.reason))
        << w.findChild<QLabel*>("templateProblem")->text().toStdString();
    EXPECT_TRUE(w.canvas()->lists().isEmpty());
    EXPECT_FALSE(w.addObject("text"));
    EXPECT_FALSE(w.isModified());
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), QByteArray(c.text)) << "saving writes back what the file held";
  }
  // Mended in the text, the page can be edited again.
  const QString path = dir.write("Kaputt.lst", "{ \"kind\": \"list\" ");
  DesignerWindow w(request(path));
  auto* editor = w.findChild<QPlainTextEdit*>("templateEditor");
  editor->moveCursor(QTextCursor::End);
  editor->insertPlainText("}");
  w.renderPreview();
  EXPECT_TRUE(w.isReadable());
  EXPECT_TRUE(w.findChild<QTabWidget*>("designTabs")->isTabEnabled(0));
  EXPECT_TRUE(w.addObject("rect"));
  EXPECT_EQ(w.document()["objects"].toArray().size(), 1);
}

// Drags with the left button on `canvas` from `from` to `to` (mm); `held` runs before the release.
void drag(DesignCanvas* canvas, const QPointF& from, const QPointF& to, Qt::KeyboardModifiers modifiers = {},
          const std::function<void()>& held = {}) {
  const auto send = [&](QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons) {
    const QPointF w = canvas->toWidget(at);
    QMouseEvent e(type, w, canvas->mapToGlobal(w), Qt::LeftButton, buttons, modifiers);
    QCoreApplication::sendEvent(canvas, &e);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::LeftButton);
  if (held) held();
  send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Clicks with the left button on `canvas` at `at` (mm).
void click(DesignCanvas* canvas, const QPointF& at) {
  const QPointF w = canvas->toWidget(at);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, w, canvas->mapToGlobal(w), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &e);
  }
}

TEST_F(DesignerEditTest, TheSheetShowsTheFirstOrTheFollowingPagesObjects) {
  const QString path = copyTemplate("Rechnung.lst");
  DesignerWindow w(request(path));
  ASSERT_TRUE(w.isReadable()) << w.problem().toStdString();
  DesignCanvas* canvas = w.canvas();
  const QJsonArray objects = w.document()["objects"].toArray();
  // The letterhead of the first page and the running head of the following ones share a place.
  const ObjectRef letterhead{Section::Page, -1, indexOf(objects, "Buchhandlung am Markt")};
  ObjectRef runningHead{Section::Page, -1, -1};
  for (qsizetype i = 0; i < objects.size(); ++i)
    if (objects[i]["pages"] == "following" && objects[i]["type"] == "text") runningHead.index = int(i);
  ASSERT_GE(letterhead.index, 0);
  ASSERT_GE(runningHead.index, 0);
  const QPointF shared = canvas->objectRect(letterhead).intersected(canvas->objectRect(runningHead)).center();
  ASSERT_FALSE(shared.isNull());
  auto* shownPage = w.findChild<QComboBox*>("shownPage");
  const struct {
    const char* page;
    ObjectRef shown, hidden;
    const char* rule;
  } cases[] = {{"erste Seite", letterhead, runningHead, "first"}, {"Folgeseiten", runningHead, letterhead, "following"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    shownPage->setCurrentIndex(shownPage->findText(c.page));
    ASSERT_EQ(canvas->shownPage(), c.rule == QLatin1String("first") ? PageRule::First : PageRule::Following);
    EXPECT_FALSE(canvas->isShown(c.hidden));
    click(canvas, shared);
    EXPECT_EQ(canvas->selection(), QList<ObjectRef>{c.shown});
    // Neither a rubber band over the whole sheet nor a selection by the caller takes the other page's object.
    drag(canvas, {-1, -1}, {canvas->area({}).width() + 1, canvas->area({}).height() + 1});
    EXPECT_TRUE(canvas->selection().contains(c.shown));
    EXPECT_FALSE(canvas->selection().contains(c.hidden));
    canvas->setSelection({c.hidden});
    EXPECT_TRUE(canvas->selection().isEmpty());
    // A new object is drawn on the page shown.
    ASSERT_TRUE(w.addObject("text"));
    EXPECT_EQ(w.document()["objects"].toArray().last()["pages"].toString(), c.rule);
    EXPECT_TRUE(canvas->isShown(canvas->selection().value(0)));
  }
}

TEST_F(DesignerEditTest, ThePageShowsWhereTheBodyRowsPrint) {
  SKRIVANT_REQUIRE_TOOL(reporttest::havePdfToText(), "pdftotext missing");
  const QString path = copyTemplate("Rechnung.lst");
  DesignerWindow w(request(path));
  const QRectF first = w.canvas()->bodyArea();
  // The column captions are the first row printed, at the top of the area.
  const auto captions = find(wordsOf(print(path, "koerper.pdf")), "Pos.");
  ASSERT_TRUE(captions);
  EXPECT_NEAR(captions->box.left(), first.left() + 1, 1);
  EXPECT_NEAR(captions->box.top(), first.top() + 1.2, 1);
  EXPECT_EQ(first.bottom(), 266);
  w.canvas()->setShownPage(PageRule::Following);
  EXPECT_EQ(w.canvas()->bodyArea(), QRectF(first.left(), 25, first.width(), 266 - 25));
  EXPECT_TRUE(DesignerWindow(request(copyTemplate("Etiketten.lbl"))).canvas()->bodyArea().isEmpty());
}

QJsonArray labelObjects(const QJsonObject& doc) { return doc["label"].toObject()["objects"].toArray(); }

bool wholeMM(double v) { return std::abs(v - std::round(v)) < 1e-3; }

void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(target, &e);
}

TEST_F(DesignerEditTest, EveryObjectListOfTheShippedTemplatesIsMovedByMouseInItsOwnPlace) {
  for (const QString name : {"Rechnung.lst", "Mahnung.lst", "Etiketten.lbl"}) {
    SCOPED_TRACE(name.toStdString());
    const QString path = copyTemplate(name);
    DesignerWindow w(request(path));
    ASSERT_TRUE(w.isReadable()) << w.problem().toStdString();
    DesignCanvas* canvas = w.canvas();
    const QJsonObject original = w.document();
    const QJsonObject table = original["table"].toObject();
    const qsizetype lists = name.endsWith(".lbl") ? 2
                                                  : 1 + table["header"].toArray().size() + table["rows"].toArray().size() +
                                                        table["footer"].toArray().size();
    ASSERT_EQ(canvas->lists().size(), lists);
    int moved = 0;
    for (const ObjectRef& list : canvas->lists()) {
      // The last object of a list is drawn on top, so a click on it selects it.
      ObjectRef ref = list;
      for (ref.index = 0; canvas->object(ref); ++ref.index) {}
      if (--ref.index < 0) continue;
      const QRectF before = canvas->objectRect(ref);
      const QRectF area = canvas->area(list);
      const bool free = moved % 2 == 1;
      QImage dragging;
      drag(canvas, before.center(), before.center() + QPointF(2.6, 1.3), free ? Qt::ShiftModifier : Qt::NoModifier,
           [&] { dragging = canvas->grab().toImage(); });
      ASSERT_EQ(canvas->selection(), QList<ObjectRef>{ref});
      const QRectF after = canvas->objectRect(ref);
      // While the button is held the object is drawn where it lands; only the resize handle
      // shows once it is let go.
      QImage released = canvas->grab().toImage();
      for (QImage* image : {&dragging, &released}) {
        QPainter p(image);
        p.fillRect(QRectF(canvas->toWidget(after.bottomRight()) - QPointF(10, 10), QSizeF(20, 20)), Qt::black);
      }
      // A band grows on release when its objects go lower; down to its old bottom all is the same.
      const int bottom = int(canvas->toWidget(area.bottomLeft()).y());
      EXPECT_TRUE(dragging.copy(0, 0, dragging.width(), bottom) == released.copy(0, 0, released.width(), bottom));
      if (free) {
        EXPECT_NEAR(after.left() - before.left(), 2.6, 0.06);
        EXPECT_NEAR(after.top() - before.top(), 1.3, 0.06);
      } else {
        EXPECT_NEAR(after.left() - before.left(), 2.6, 0.51);
        const QPointF at = after.topLeft() - canvas->origin(list);
        EXPECT_TRUE(wholeMM(at.x()) && wholeMM(at.y())) << at.x() << " " << at.y();
      }
      ++moved;
    }
    EXPECT_EQ(w.undoStack()->count(), moved);
    // Each move changed only its own object.
    w.undoStack()->setIndex(0);
    EXPECT_EQ(w.document(), original);
    EXPECT_FALSE(w.isModified()) << "undone to the start, the text is the file's again in content";
  }
}

TEST_F(DesignerEditTest, NewObjectsFromTheToolBarAndTheTextTabStayInStep) {
  const QString path = copyTemplate("Etiketten.lbl");
  DesignerWindow w(request(path));
  const QJsonObject original = w.document();
  const auto trigger = [&](const char* name) { w.findChild<QAction*>(name)->trigger(); };
  // Each tool waits for the click that says where its object goes; a picture asks for its file.
  QImage(200, 100, QImage::Format_RGB32).save(dir.file("Logo.png"));
  dialogs->answerFile(dir.file("Logo.png"));
  for (const char* tool : {"newRect", "newLine", "newText", "newPicture"}) {
    trigger(tool);
    EXPECT_TRUE(w.canvas()->isPlacing());
    click(w.canvas(), w.canvas()->origin({Section::Label, -1, -1}) + QPointF(30.2, 19.6));
    EXPECT_FALSE(w.canvas()->isPlacing() || w.findChild<QAction*>(tool)->isChecked()) << tool;
  }
  const QJsonArray objects = labelObjects(w.document());
  ASSERT_EQ(objects.size(), labelObjects(original).size() + 4);
  QStringList types;
  for (qsizetype i = objects.size() - 4; i < objects.size(); ++i) types << objects[i]["type"].toString();
  EXPECT_EQ(types, QStringList({"rect", "line", "text", "picture"}));
  EXPECT_EQ(QPointF(objects.last()["x"].toDouble(), objects.last()["y"].toDouble()), QPointF(30, 20));
  // Escape gives the placing up; Enter puts the object in the part of the page shown.
  trigger("newText");
  press(w.canvas(), Qt::Key_Escape);
  EXPECT_FALSE(w.canvas()->isPlacing());
  trigger("newText");
  press(w.canvas(), Qt::Key_Return);
  EXPECT_EQ(labelObjects(w.document()).size(), objects.size() + 1);
  w.undoStack()->undo();
  // The new rectangle's corner dragged out by the mouse, snapped to whole millimetres.
  const ObjectRef rect{Section::Label, -1, int(objects.size() - 4)};
  w.canvas()->setSelection({rect});
  drag(w.canvas(), w.canvas()->objectRect(rect).bottomRight(), w.canvas()->objectRect(rect).bottomRight() + QPointF(4.8, 3.3));
  EXPECT_EQ(labelObjects(w.document())[rect.index].toObject()["width"].toDouble(), 45);
  EXPECT_EQ(labelObjects(w.document())[rect.index].toObject()["height"].toDouble(), 23);
  w.undoStack()->undo();
  // A rubber band over the first label takes what lies wholly inside it.
  drag(w.canvas(), {5, 36.5}, {69.5, 8.5});
  EXPECT_EQ(w.canvas()->selection().size(), labelObjects(original).size());
  // Shift with an arrow moves a tenth of a millimetre; without, to the next grid line.
  w.canvas()->setSelection({{Section::Label, -1, 0}});
  for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::NoModifier}) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, modifier);
    QCoreApplication::sendEvent(w.canvas(), &down);
    EXPECT_EQ(labelObjects(w.document())[0].toObject()["y"].toDouble(), modifier ? 9.1 : 10);
  }
  w.canvas()->setSelection({{Section::Label, -1, int(objects.size() - 1)}});
  // Ctrl with an arrow widens the new picture by a millimetre.
  QKeyEvent wider(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
  QCoreApplication::sendEvent(w.canvas(), &wider);
  EXPECT_EQ(labelObjects(w.document()).last()["width"].toDouble(), 41);
  // A text typed into the panel is taken once it reads; half typed, the panel says why not.
  auto* panelText = w.findChild<QPlainTextEdit*>("propText");
  auto* problem = w.findChild<QLabel*>("propProblem");
  w.canvas()->setSelection({{Section::Label, -1, int(objects.size() - 2)}});
  panelText->setPlainText("{Ort");
  EXPECT_FALSE(problem->isHidden());
  EXPECT_EQ(labelObjects(w.document())[objects.size() - 2].toObject()["text"].toString(), "Text");
  panelText->setPlainText("{Ort}");
  EXPECT_TRUE(problem->isHidden());
  EXPECT_EQ(labelObjects(w.document())[objects.size() - 2].toObject()["text"].toString(), "{Ort}");
  trigger("deleteObjects");
  EXPECT_EQ(labelObjects(w.document()).size(), objects.size() - 1);
  EXPECT_TRUE(w.canvas()->selection().isEmpty());
  w.undoStack()->undo();
  // "Einfügen" puts the chosen value into the selected object's list.
  auto* values = w.findChild<QTreeWidget*>("valueList");
  values->setCurrentItem(values->findItems("Verlagsname", Qt::MatchExactly, 0).value(0));
  w.findChild<QPushButton*>("insertValue")->click();
  EXPECT_EQ(labelObjects(w.document()).last().toObject()["text"].toString(), "{Verlagsname}");
  w.undoStack()->undo();
  // The text tab shows the page's template; typed there, the page follows.
  auto* editor = w.findChild<QPlainTextEdit*>("templateEditor");
  EXPECT_EQ(QJsonDocument::fromJson(editor->toPlainText().toUtf8()).object(), w.document());
  QString text = editor->toPlainText();
  text.replace("\"{Name1}\"", "\"{Name1} {Name2}\"");
  editor->setPlainText(text);
  w.renderPreview();
  const QJsonArray typed = labelObjects(w.document());
  EXPECT_EQ(typed[1]["text"].toString(), "{Name1} {Name2}");
  w.undoStack()->setIndex(0);
  EXPECT_EQ(w.document(), original);
  EXPECT_EQ(QJsonDocument::fromJson(editor->toPlainText().toUtf8()).object(), original);
}

QJsonValue doc(const DesignerWindow& w) { return w.document(); }

// Types `text` over what `field` holds and presses Enter, key by key as a user does.
void type(QWidget* field, const QString& text) {
  press(field, Qt::Key_A, Qt::ControlModifier);
  for (QChar c : text) press(field, c.toUpper().unicode(), Qt::NoModifier, QString(c));
  press(field, Qt::Key_Return);
}

QList<ObjectRef> pageRefs(const QJsonArray& objects, const QString& from, const QString& to) {
  QList<ObjectRef> out;
  for (int i = indexOf(objects, from); i >= 0 && i <= indexOf(objects, to); ++i) out.append({Section::Page, -1, i});
  return out;
}

TEST_F(DesignerEditTest, AClickOnlySelectsAndEveryEditByMouseOrPanelIsANamedUndoStep) {
  DesignerWindow w(request(copyTemplate("Rechnung.lst")));
  DesignCanvas* canvas = w.canvas();
  const qsizetype count = doc(w)["objects"].toArray().size();
  const ObjectRef address{Section::Page, -1, indexOf(doc(w)["objects"].toArray(), "{AnschriftEmpfaenger}")};
  const QPointF at = canvas->objectRect(address).center();
  drag(canvas, at, canvas->toScene(canvas->toWidget(at) + QPointF(2, 3)));  // a hand that shakes a little
  EXPECT_EQ(canvas->selection(), QList<ObjectRef>{address});
  EXPECT_EQ(w.undoStack()->count(), 0);
  EXPECT_EQ(doc(w)["objects"][address.index]["y"].toDouble(), 62.7);
  drag(canvas, at, at + QPointF(0, 3));
  w.show();
  type(w.findChild<QDoubleSpinBox*>("propX"), "25");
  type(w.findChild<QDoubleSpinBox*>("propFontSize"), "12");
  type(w.findChild<QLineEdit*>("propWhen"), "Exemplar = 0");
  const QJsonValue after = doc(w)["objects"][address.index];
  ASSERT_EQ(doc(w)["objects"].toArray().size(), count) << "Enter inserted a value from the list";
  EXPECT_EQ(QJsonArray({after["x"], after["y"], after["font"]["size"], after["when"]}), QJsonArray({25, 66, 12, "Exemplar = 0"}));
  // A band is chosen by its caption, which reads its condition in German.
  const QJsonArray rows = doc(w)["table"]["rows"].toArray();
  int position = 0;
  while (position < rows.size() && !rows[position]["when"].toString().startsWith("Zeilentyp = 'Position'")) ++position;
  const ObjectRef band{Section::Rows, position, -1};
  click(canvas, canvas->area(band).topLeft() + QPointF(30, -3));
  ASSERT_EQ(canvas->selectedBand(), band);
  EXPECT_TRUE(canvas->selection().isEmpty());
  auto* when = w.findChild<QLineEdit*>("bandWhen");
  EXPECT_EQ(when->text(), rows[position]["when"].toString());
  type(w.findChild<QLineEdit*>("bandCaption"), "Artikel");
  type(w.findChild<QDoubleSpinBox*>("bandHeight"), "9");
  type(when, "Zeilentyp = ");
  EXPECT_FALSE(w.findChild<QLabel*>("propProblem")->isHidden()) << "a condition half typed is not taken";
  EXPECT_EQ(doc(w)["table"]["rows"][position]["when"], rows[position]["when"]);
  type(when, "Zeilentyp = 'Position'");
  EXPECT_TRUE(w.findChild<QLabel*>("propProblem")->isHidden());
  const QJsonValue row = doc(w)["table"]["rows"][position];
  EXPECT_EQ(QJsonArray({row["caption"], row["height"], row["when"]}), QJsonArray({"Artikel", 9, "Zeilentyp = 'Position'"}));
  EXPECT_TRUE(canvas->caption(band).startsWith(QStringLiteral("Zeile %1: Artikel, wenn Zeilentyp = „Position“").arg(position + 1)))
      << canvas->caption(band).toStdString();
  QStringList steps;
  for (int i = 0; i < w.undoStack()->count(); ++i) steps << w.undoStack()->text(i);
  EXPECT_EQ(steps, QStringList({"Verschieben", "Position", "Schriftgröße", "Bedingung", "Bandbezeichnung", "Bandhöhe", "Bandbedingung"}));
  QString problem;
  EXPECT_TRUE(Template::parse(w.templateText().toUtf8(), &problem)) << problem.toStdString();
  EXPECT_TRUE(w.isVisible());
}

TEST_F(DesignerEditTest, SeveralObjectsMoveTogetherAndShowWhatTheyShare) {
  DesignerWindow w(request(copyTemplate("Rechnung.lst")));
  const QJsonObject original = w.document();
  const QJsonArray objects = original["objects"].toArray();
  // The reference block: labels at 125 mm, values at 160 mm, some grey, some right-aligned.
  const QList<ObjectRef> block = pageRefs(objects, "Rechnung Nr.", "{Sachbearbeiter}");
  w.canvas()->setSelection(block);
  auto* x = w.findChild<QDoubleSpinBox*>("propX");
  auto* width = w.findChild<QDoubleSpinBox*>("propWidth");
  auto* size = w.findChild<QDoubleSpinBox*>("propFontSize");
  EXPECT_EQ(QList<double>({x->value(), size->value(), width->value()}), QList<double>({125, 9, 35}));
  EXPECT_EQ(w.findChild<QLineEdit*>("propColor")->placeholderText(), "verschieden");
  EXPECT_EQ(w.findChild<QComboBox*>("propAlign")->currentIndex(), -1);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(w.findChild<QLineEdit*>("propWhen"), &out);
  EXPECT_EQ(w.undoStack()->count(), 0) << "leaving a field that shows \"verschieden\" changed something";
  x->setValue(100);
  width->setValue(30);
  for (const ObjectRef& r : block) {
    const QJsonValue o = doc(w)["objects"][r.index], from = objects[r.index];
    EXPECT_EQ(QJsonArray({o["x"], o["y"], o["width"]}), QJsonArray({from["x"].toDouble() - 25, from["y"], 30}));
  }
  // With a line among them, the text's font is not offered, and not given to the line.
  ObjectRef line{Section::Page, -1, 0};
  while (line.index < objects.size() && objects[line.index]["when"] != "Falzstrich") ++line.index;
  w.canvas()->setSelection(block + QList<ObjectRef>{line});
  EXPECT_FALSE(size->isEnabled());
  EXPECT_EQ(x->value(), 4);
  ASSERT_TRUE(w.setSelectionProperty("font.size", 11));
  EXPECT_FALSE(doc(w)["objects"][line.index].toObject().contains("font"));
  EXPECT_EQ(doc(w)["objects"][block[0].index]["font"]["size"].toDouble(), 11);
  w.undoStack()->setIndex(0);
  EXPECT_EQ(w.document(), original);
}

TEST_F(DesignerEditTest, CopiesArePastedAndDuplicatedBesideTheOriginalsWhereTheyAreSeen) {
  DesignerWindow w(request(copyTemplate("Rechnung.lst")));
  const auto trigger = [&](const char* name) { w.findChild<QAction*>(name)->trigger(); };
  const QJsonArray objects = doc(w)["objects"].toArray();
  const QList<ObjectRef> two = pageRefs(objects, "{AbsenderSichtfenster}", "{AnschriftEmpfaenger}");
  for (const char* name : {"copyObjects", "pasteObjects", "duplicateObjects", "deleteObjects"})
    EXPECT_TRUE(w.canvas()->actions().contains(w.findChild<QAction*>(name))) << name << " is in the page's menu";
  w.canvas()->setSelection(two);
  for (const char* name : {"copyObjects", "pasteObjects", "pasteObjects", "duplicateObjects"}) trigger(name);
  const QJsonArray after = doc(w)["objects"].toArray();
  ASSERT_EQ(after.size(), objects.size() + 6);
  for (int i = 0; i < 6; ++i) {  // pasted, pasted again, duplicated: each pair 5 mm further
    const QJsonValue o = after[objects.size() + i], from = objects[two[i % 2].index];
    const double by = 5 * (i / 2 + 1);
    EXPECT_EQ(QJsonArray({o["text"], o["x"], o["y"]}), QJsonArray({from["text"], from["x"].toDouble() + by, from["y"].toDouble() + by}));
  }
  EXPECT_EQ(w.canvas()->selection(), (QList<ObjectRef>{{Section::Page, -1, int(after.size()) - 2}, {Section::Page, -1, int(after.size()) - 1}}));
  EXPECT_EQ(QStringList({w.undoStack()->text(0), w.undoStack()->text(2)}), QStringList({"Einfügen", "Duplizieren"}));
  // Pasted while the following pages are shown they are drawn there; in a band they lose the page rule.
  auto* shownPage = w.findChild<QComboBox*>("shownPage");
  shownPage->setCurrentIndex(shownPage->findText("Folgeseiten"));
  trigger("pasteObjects");
  EXPECT_EQ(doc(w)["objects"].toArray().last()["pages"].toString(), "following");
  const ObjectRef band{Section::Rows, 0, -1};
  w.canvas()->selectBand(band);
  trigger("pasteObjects");
  const QJsonValue inBand = doc(w)["table"]["rows"][0]["objects"].toArray().last();
  EXPECT_EQ(inBand["text"].toString(), "{AnschriftEmpfaenger}");
  EXPECT_FALSE(inBand.toObject().contains("pages"));
  EXPECT_EQ(w.canvas()->selection().value(0).list(), band);
}

TEST_F(DesignerEditTest, APictureComesFromTheFileDialogAndPrintsFromBesideTheTemplate) {
  SKRIVANT_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdfimages").isEmpty(), "pdfimages missing");
  const QString path = copyTemplate("Rechnung.lst");
  QDir(dir.path()).mkpath("Bilder");
  const QImage logo(200, 100, QImage::Format_RGB32);
  logo.save(dir.file("Bilder/Logo.png"));
  DesignerWindow w(request(path));
  const qsizetype count = doc(w)["objects"].toArray().size();
  dialogs->answerFile("");
  EXPECT_FALSE(w.addObject("picture", {150, 30})) << "cancelled: no empty frame";
  dialogs->answerFile(dir.file("Bilder/Logo.png"));
  ASSERT_TRUE(w.addObject("picture", {150, 30}));
  ASSERT_EQ(doc(w)["objects"].toArray().size(), count + 1);
  EXPECT_EQ(doc(w)["objects"].toArray().last()["source"].toString(), "Bilder/Logo.png");
  // As high as the picture's shape asks: it was found beside the template.
  EXPECT_NEAR(w.canvas()->objectRect(w.canvas()->selection().value(0)).height(), 20, 0.01);
  // Another one, from elsewhere, through the panel: the path as it is.
  testsupport::TempDir elsewhere;
  logo.save(elsewhere.file("Fremd.png"));
  dialogs->answerFile(elsewhere.file("Fremd.png"));
  w.findChild<QToolButton*>("propPictureButton")->click();
  EXPECT_EQ(doc(w)["objects"].toArray().last()["source"].toString(), elsewhere.file("Fremd.png"));
  EXPECT_EQ(w.undoStack()->text(w.undoStack()->count() - 1), "Bilddatei");
  w.undoStack()->undo();
  ASSERT_TRUE(w.save());
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
  QProcess images;
  images.start("pdfimages", {"-list", print(path, "bild.pdf")});
  ASSERT_TRUE(images.waitForFinished(30000));
  const QStringList lines = QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << "a header of two lines and the picture";
  EXPECT_TRUE(lines[2].contains(" 200 ") && lines[2].contains(" 100 ")) << lines[2].toStdString();
}

TEST_F(DesignerEditTest, WithoutAMouseTabWalksTheObjectsAndEveryToolHasItsOwnAltLetter) {
  DesignerWindow w(request(copyTemplate("Etiketten.lbl")));
  for (int i = 0; i < 3; ++i) press(w.canvas(), Qt::Key_Tab);
  press(w.canvas(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(w.canvas()->selection(), (QList<ObjectRef>{{Section::Label, -1, 1}}));
  press(w.canvas(), Qt::Key_Right);
  EXPECT_EQ(labelObjects(w.document()).at(1)["x"].toDouble(), labelObjects(w.document()).at(0)["x"].toDouble() + 1);
  // Undo and redo name their step instead.
  QStringList texts{w.findChild<QPushButton*>("insertValue")->text()};
  auto* tools = w.findChild<QToolBar*>();
  for (QAction* a : tools->actions())
    if (auto* b = qobject_cast<QToolButton*>(tools->widgetForAction(a)); b && a->objectName() != "undo" && a->objectName() != "redo")
      texts << b->text();
  QList<QKeySequence> letters;
  for (const QString& text : texts) {
    letters << QKeySequence::mnemonic(text);
    EXPECT_TRUE(!letters.last().isEmpty() && letters.count(letters.last()) == 1) << text.toStdString();
  }
  EXPECT_GE(letters.size(), 11);
}

}  // namespace
