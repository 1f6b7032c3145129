#pragma once
// What the two dunning text panels share: an opening text and a closing text, each in its frame,
// and one line (the sender or the level's heading), read from and written to three columns of the
// row the template manager hands in.
#include <QString>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace data { class Recordset; }

namespace configuration {

class ctrMahnTexte : public QWidget {
  Q_OBJECT

 public:
  struct Spalten {
    QString vorText;
    QString schlussText;
    QString zeile;
    QString zeileName;  // the line's control name and caption
    QString zeileBeschriftung;
  };

  // With no row (EOF) the three boxes are emptied; otherwise each shows its column, Null as "".
  Q_INVOKABLE void LoadData(data::Recordset& rs);
  // Writes the three texts into the current row; it neither adds nor updates the row. A line longer
  // than its column is refused with a message; that column keeps its value.
  Q_INVOKABLE void SaveData(data::Recordset& rs);

 protected:
  ctrMahnTexte(Spalten spalten, QWidget* parent);

 private:
  Spalten m_spalten;
  QPlainTextEdit* m_strVorText;
  QPlainTextEdit* m_strSchlussText;
  QLineEdit* m_zeile;
};

}  // namespace configuration
