#pragma once
// The panel of a template's "Texte" node: the fixed texts of the form's Auftrag_Formular_Neu row
// (sender line, heading, head text, the reference block's labels, the labels of the totals, the
// closing text) laid out where they stand on the printed page, with sample values in the places
// of document data, and the font of the quantity unit in rich-text output. F4 in the heading
// pops the window's placeholder menu; F4 in the head and closing texts pops the placeholders in
// angle brackets that the engine fills in those texts when it prints.
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <utility>

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTextEdit;
class QToolButton;

namespace data { class Recordset; }

namespace configuration {

class FormularFenster;

class ctrTexte : public QWidget {
  Q_OBJECT

 public:
  explicit ctrTexte(FormularFenster& fenster, QWidget* parent = nullptr);

  // The record set stands on the form's row.
  Q_INVOKABLE void LoadData(data::Recordset& rs);
  // Writes the texts and the unit font into the current row. A one-line text longer than its
  // column is refused with a message; that column keeps its value.
  Q_INVOKABLE void SaveData(data::Recordset& rs);

  // The font button: the font dialog, then the colour of the unit; cancelling the font dialog
  // changes nothing, cancelling the colour keeps the colour.
  void cmdFontWaehlen_Click();

  // The placeholders the engine fills in the head and closing texts of a form of `FormStatus`
  // (its own document number, the general numbers, dates, payment terms and amounts), by group.
  static QList<std::pair<QString, QStringList>> TextPlatzhalter(short FormStatus);

  // The unit's font and colour as the preview shows them.
  QFont EinheitSchrift() const { return m_schrift; }
  QColor EinheitFarbe() const { return m_farbe; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Textspalte {
    QString spalte;
    QString beschriftung;
    QLineEdit* einzeilig = nullptr;
    QPlainTextEdit* mehrzeilig = nullptr;
  };

  void EinheitZeigen();
  void TextPlatzhalterMenue(short FormStatus);

  FormularFenster& m_fenster;
  QList<Textspalte> m_spalten;  // in the order the row is read and written
  QLineEdit* m_Ueberschrift = nullptr;
  QLineEdit* m_BlockWert6 = nullptr;
  QTextEdit* m_EinheitFormat = nullptr;
  QPlainTextEdit* m_Kopftext = nullptr;
  QPlainTextEdit* m_Schlusstext = nullptr;
  QMenu* m_TextPlatzhalter = nullptr;          // "mnuTextPlatzhalter"
  QPointer<QPlainTextEdit> m_TextFeld;          // where its choice goes
  QFont m_schrift;
  QColor m_farbe;
};

}  // namespace configuration
