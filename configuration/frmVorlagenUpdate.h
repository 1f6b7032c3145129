#pragma once
// "Druckvorlagen Update": measures texts in a font set beforehand. Widths and heights are in
// twips (1/1440 inch) of the screen, the unit the template positions were measured in.
#include <QString>
#include <QWidget>
#include <cstdint>

namespace configuration {

class frmVorlagenUpdate : public QWidget {
  Q_OBJECT

 public:
  explicit frmVorlagenUpdate(QWidget* parent = nullptr);

  // Sets the font's name, then bold, then italic, then the size.
  Q_INVOKABLE void SetFont(const QString& Name, std::int16_t Groesse, bool Fett, bool Kursiv);
  // The width of the widest line of the text; 0 for an empty text.
  Q_INVOKABLE float GetTextWidth(const QString& Text) const;
  // The height of the text's lines (one line for an empty text).
  Q_INVOKABLE float GetTextHeight(const QString& Text) const;
};

}  // namespace configuration
