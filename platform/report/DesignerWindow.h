#pragma once
// The template designer: the template file's text in an editor, the list of every variable and
// field the job defined (name, kind, type, sample value) to insert as "{Name}", and a live
// preview rendered from the current text with those values. Run it through
// ui::dialogs().execWindow(window, "designer"); it returns when the user closes it.
//
// Widgets and actions by objectName: "templateEditor", "valueList", "insertValue" ("Einfügen"),
// "saveTemplate" ("Speichern"), "refreshPreview", "closeDesigner", "previewView" (a PageView),
// "previewMessage" (shown instead of the pages when the text cannot be rendered),
// "previewTimer" (the pause after an edit before the preview follows).
#include <QDialog>
#include <memory>

#include "platform/report/ReportWindows.h"

class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTimer;
class QTreeWidget;

namespace report {

class PageView;

class DesignerWindow : public QDialog {
  Q_OBJECT
 public:
  explicit DesignerWindow(const DesignRequest& request, QWidget* parent = nullptr);
  ~DesignerWindow() override;

  QString templateText() const;
  // True when the text differs from what the file held or was last saved.
  bool isModified() const;

  // Writes the text to the template file (replaced as a whole, never left half written).
  // False, after telling the user, when it could not be written.
  bool save();
  // Puts "{Name}" of the selected value at the editor's cursor.
  void insertSelectedValue();
  // Renders the preview from the current text now.
  void renderPreview();

  // Unsaved changes are offered for saving first; "Abbrechen" keeps the window open.
  void done(int result) override;

 private:
  void loadTemplate();
  void fillValueList();
  void showPreviewMessage(const QString& message);

  DesignRequest m_request;
  std::unique_ptr<PageSource> m_pages;
  QPlainTextEdit* m_editor;
  QTreeWidget* m_values;
  QStackedWidget* m_previewStack;
  PageView* m_view;
  QLabel* m_message;
  QTimer* m_timer;
  QString m_loadError;
};

}  // namespace report
