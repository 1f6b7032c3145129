#pragma once
// The template designer: the template's page drawn as it prints, its objects placed and shaped
// with the mouse, the keyboard or the property panel; the template's JSON text one tab away, in
// step with the page; the list of every variable and field the job defined (name, kind, type,
// sample value), dragged onto the page as a text that shows it; and a live preview rendered
// with those values. Run it through ui::dialogs().execWindow(window, "designer"); it returns
// when the user closes it.
//
// A template that cannot be read opens in the text tab with the reason above the text; the page
// tab stays off until the text reads again, so nothing shown empty is saved over the file.
//
// The tool buttons for new objects wait for a click on the page that says where the object goes
// (Enter: the part of the page shown; Escape gives up); "Bild" asks for the picture's file first.
// Copy, paste and duplicate work on the page's selection through the clipboard (the page's
// context menu has them with delete); pasted copies stand a little apart from the originals.
//
// Widgets and actions by objectName: "designTabs" (page "designPage", text "textPage"),
// "designCanvas" (a DesignCanvas), "propertyPanel", "templateProblem" (the reason a text cannot
// be read), "templateEditor", "valueList", "insertValue" ("Einfügen"), "saveTemplate"
// ("Speichern"), "shownPage" (the page the sheet shows: "erste Seite" or "Folgeseiten"), "undo",
// "redo", "newText", "newLine", "newRect", "newPicture", "deleteObjects", "copyObjects",
// "pasteObjects", "duplicateObjects", "zoomIn", "zoomOut", "refreshPreview", "closeDesigner",
// "previewView" (a PageView), "previewMessage" (shown instead of the pages when the text cannot
// be rendered), "previewTimer" (the pause after an edit before the preview follows).
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <memory>

#include "platform/report/DesignCanvas.h"
#include "platform/report/ReportWindows.h"

class QActionGroup;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QUndoStack;

namespace report {

class PageView;
class PropertyPanel;

class DesignerWindow : public QDialog {
  Q_OBJECT
 public:
  explicit DesignerWindow(const DesignRequest& request, QWidget* parent = nullptr);
  ~DesignerWindow() override;

  QString templateText() const;
  // True when the text differs from what the file held or was last saved.
  bool isModified() const;
  // False while the text cannot be read as a template; the page is then not editable.
  bool isReadable() const { return m_problem.isEmpty(); }
  // Why the text cannot be read; empty when it can.
  QString problem() const { return m_problem; }

  DesignCanvas* canvas() const { return m_canvas; }
  QUndoStack* undoStack() const { return m_undo; }
  // The template as the page shows it.
  QJsonObject document() const { return m_document; }

  // Writes the text to the template file (replaced as a whole, never left half written).
  // False, after telling the user, when it could not be written.
  bool save();
  // In the text tab puts "{Name}" of the selected value at the editor's cursor; on the page adds
  // a text showing it to the selected objects' list.
  void insertSelectedValue();
  // Renders the preview from the current text now.
  void renderPreview();

  // Every edit of the page is one undo step. Each answers false, after telling the user, when
  // the template would not read any more.
  bool moveSelection(const QPointF& delta);
  bool moveObjects(const QList<ObjectRef>& refs, const QPointF& delta, const QString& what = QStringLiteral("Verschieben"));
  bool resizeObject(const ObjectRef& ref, const QSizeF& delta);
  // Sets a key ("text", "font.size", "when", ...) of every selected object it means something
  // for; "x" and "y" move the selection as a whole to stand there.
  bool setSelectionProperty(const QString& key, const QJsonValue& value);
  // Sets a key ("caption", "when", "height", ...) of the selected band.
  bool setBandProperty(const QString& key, const QJsonValue& value);
  // A new object of `type` ("text", "line", "rect", "picture") in the selected band or objects'
  // list, in the part of the page shown; at `pos` (mm on the canvas) in the list there. A
  // picture's file is asked for first; without one nothing is added.
  bool addObject(const QString& type);
  bool addObject(const QString& type, const QPointF& pos);
  // The selected objects onto the clipboard; the clipboard's objects into the selected band or
  // objects' list (else the page); a copy of each selected object beside it in its own list.
  // Pasted and duplicated objects are selected.
  void copySelection();
  bool paste();
  bool duplicateSelection();
  // A text showing value `name` at `pos` (mm on the canvas), in the list whose area holds it.
  bool addValueObject(const QString& name, const QPointF& pos);
  bool deleteSelection();

  // Unsaved changes are offered for saving first; "Abbrechen" keeps the window open.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  friend class DocumentCommand;
  void loadTemplate();
  void fillValueList();
  void showPreviewMessage(const QString& message);
  // Reads the editor's text into the page when it changed; a text that does not read is shown.
  void syncFromText();
  void setProblem(const QString& problem);
  void applyDocument(const QJsonObject& document, bool writeText);
  // A change that would not read is not taken: told in a message box, or with `quietly` (an
  // edit typed in the property panel, often half done) beside the property.
  bool edit(const QJsonObject& document, const QString& what, const QString& mergeKey = {}, bool quietly = false);
  void showSelection();
  // A new page object is drawn on the page the sheet shows.
  QJsonObject onShownPage(QJsonObject object, const ObjectRef& list) const;
  // Where a new object of `list` starts (mm from the list's origin).
  QPointF newObjectPlace(const ObjectRef& list) const;
  // Where new and pasted objects go: the selected band, the selected objects' list, the page.
  ObjectRef targetList() const;
  bool insertObject(const QString& type, const ObjectRef& list, const QPointF& at);
  // Objects, each with the list it goes to.
  using Placed = QList<std::pair<ObjectRef, QJsonObject>>;
  // Adds the objects to the end of their lists as one step and selects them.
  bool appendObjects(const Placed& objects, const QString& what);
  // Adds copies, `offset` mm right and down of where they stood.
  bool insertCopies(Placed copies, double offset, const QString& what);
  // The file the user picks for a picture, as the template stores it; empty on cancel.
  QString choosePicture() const;
  // Follows the checked tool: the page waits for a click to place that object.
  void updatePlacing();

  DesignRequest m_request;
  std::unique_ptr<PageSource> m_pages;
  QJsonObject m_document;
  QString m_savedText;
  QJsonObject m_savedDocument;  // the saved text as read
  QString m_problem;
  bool m_writingText = false;
  bool m_fitted = false;
  QTabWidget* m_tabs;
  DesignCanvas* m_canvas;
  PropertyPanel* m_properties;
  QLabel* m_problemLabel;
  QPlainTextEdit* m_editor;
  QTreeWidget* m_values;
  QStackedWidget* m_previewStack;
  PageView* m_view;
  QLabel* m_message;
  QTimer* m_timer;
  QUndoStack* m_undo;
  QActionGroup* m_tools;
  QString m_loadError;
  int m_pastes = 0;  // pastes since the last copy: each one lands a step further on
};

}  // namespace report
