#pragma once
// The properties of the designer's selected objects: place and size in mm, text, font, alignment,
// colour, line width, condition and pages. Shows the first selected object; an edit is reported
// as a template key ("x", "font.size", ...) and its new value, for the window to apply to every
// selected object.
//
// Editors by objectName: "propX", "propY", "propWidth", "propHeight", "propText",
// "propFontFamily", "propFontSize", "propBold", "propItalic", "propUnderline", "propAlign",
// "propColor" (typed as "#rrggbb") with "propColorButton" (the colour dialog), "propLineWidth", "propWhen", "propPages"; "propProblem" tells why an edit was
// not taken.
#include <QJsonObject>
#include <QJsonValue>
#include <QWidget>

#include "platform/report/Template.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace report {

class PropertyPanel : public QWidget {
  Q_OBJECT
 public:
  explicit PropertyPanel(QWidget* parent = nullptr);

  // Shows `json` as written and `drawn` as it prints (for what the template leaves to defaults);
  // nullptr shows nothing. `pageObject`: the object can be limited to pages.
  void show(const QJsonObject& json, const DrawObject* drawn, bool pageObject);
  // Why the last edit was not taken; empty hides it.
  void showProblem(const QString& problem);

 signals:
  void edited(const QString& key, const QJsonValue& value);

 private:
  QDoubleSpinBox* length(const char* name, const QString& key, double lo);

  bool m_filling = false;
  QDoubleSpinBox* m_x;
  QDoubleSpinBox* m_y;
  QDoubleSpinBox* m_width;
  QDoubleSpinBox* m_height;
  QPlainTextEdit* m_text;
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
  QComboBox* m_pages;
  QLabel* m_problem;
};

}  // namespace report
