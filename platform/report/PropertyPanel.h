#pragma once
// The properties of the designer's selection: for objects place and size in mm, text, font,
// alignment, colour, line width, condition and pages; for a band (a row layout) its caption,
// condition, least height and paddings. An edit is reported as a template key ("x",
// "font.size", "when", ...) and its new value, for the window to apply.
//
// Several objects: X and Y are where the selection stands (its leftmost and topmost object), so
// a value typed there moves them together; every other property shows the value they share, or
// "verschieden" when they differ, and a value typed there is given to each. A property is
// offered only when it means something for every selected object (font and alignment for
// texts, line width for lines and rectangles, pages for page objects, ...).
//
// Editors by objectName: "propX", "propY", "propWidth", "propHeight", "propText",
// "propFontFamily", "propFontSize", "propBold", "propItalic", "propUnderline", "propAlign",
// "propColor" (typed as "#rrggbb") with "propColorButton" (the colour dialog),
// "propPictureButton" (a picture's file), "propLineWidth", "propWhen", "propPages"; for a band
// "bandCaption", "bandWhen", "bandHeight", "bandPaddingTop", "bandPaddingBottom"; "propProblem"
// tells why an edit was not taken.
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QWidget>

#include "platform/report/Template.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QToolButton;

namespace report {

class PropertyPanel : public QWidget {
  Q_OBJECT
 public:
  // One selected object: as written, as it prints (for what the template leaves to defaults),
  // and whether it is a page object (can be limited to pages).
  struct Selected {
    QJsonObject json;
    const DrawObject* drawn = nullptr;
    bool pageObject = false;
  };

  explicit PropertyPanel(QWidget* parent = nullptr);

  // Shows the objects; none shows nothing.
  void show(const QList<Selected>& objects);
  // Shows a band's row layout as written.
  void showBand(const QJsonObject& row);
  // Why the last edit was not taken; empty hides it.
  void showProblem(const QString& problem);

 signals:
  void edited(const QString& key, const QJsonValue& value);
  void bandEdited(const QString& key, const QJsonValue& value);
  // The picture's file is to be chosen.
  void pictureRequested();

 private:
  QDoubleSpinBox* length(const char* name, const QString& key, double lo, bool band = false);
  QLineEdit* lineEdit(const char* name, const QString& key, bool band);

  bool m_filling = false;
  QStackedWidget* m_pages;
  QLabel* m_problem;
  QDoubleSpinBox* m_x;
  QDoubleSpinBox* m_y;
  QDoubleSpinBox* m_width;
  QDoubleSpinBox* m_height;
  QPlainTextEdit* m_text;
  QToolButton* m_pictureButton;
  QFontComboBox* m_family;
  QDoubleSpinBox* m_size;
  QCheckBox* m_bold;
  QCheckBox* m_italic;
  QCheckBox* m_underline;
  QComboBox* m_align;
  QLineEdit* m_color;
  QToolButton* m_colorButton;
  QDoubleSpinBox* m_lineWidth;
  QLineEdit* m_when;
  QComboBox* m_pageRule;
  QLineEdit* m_bandCaption;
  QLineEdit* m_bandWhen;
  QDoubleSpinBox* m_bandHeight;
  QDoubleSpinBox* m_bandPaddingTop;
  QDoubleSpinBox* m_bandPaddingBottom;
};

}  // namespace report
