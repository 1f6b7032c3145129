#pragma once
// The panel of a template's "Formatdatei" node: the template's name (Auftrag_Formular_Vorlagen),
// template file, copies, report kind, PDF archive file name and cover sheet of the template's
// Auftrag_Formular_Neu row, and the button that opens the report designer on the template file.
// F4 in the PDF file name pops the placeholder menu. Paths chosen in a dialog are stored
// Windows-style, with "$Daten$" for the data directory.
#include <QWidget>
#include <cstdint>
#include <memory>

class QLineEdit;
class QRadioButton;
class QToolButton;

namespace data { class Recordset; }

namespace configuration {

class FormularFenster;

class ctrFormatdatei : public QWidget {
  Q_OBJECT

 public:
  explicit ctrFormatdatei(FormularFenster& fenster, QWidget* parent = nullptr);

  // The record set stands on the template's row. Keeps FormNummer and FormStatus for the designer.
  Q_INVOKABLE void LoadData(data::Recordset& rs);
  // Writes the five columns into the current row, and a changed name into the template number's
  // name row. A copy count that is no whole number from 1 to 32767, or a path or name longer than
  // its column, is refused with a message; that column keeps its value.
  Q_INVOKABLE void SaveData(data::Recordset& rs);
  // The template's name as stored (empty: none).
  QString VorlagenName() const { return m_name; }

  // The buttons' work, also reached by the window's scripts and tests.
  void cmdSearchFile_Click();
  void cmdSearchDeckblatt_Click();
  void cmdSelectDir_Click();
  // Opens the designer through the public class that prints this form; the template manager is
  // hidden meanwhile. A template without a file asks for a new one's name; a file that is not
  // there yet is made (after asking, when it was typed) from the form's default template.
  void cmdLLEdit_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool istListe() const;
  // The shipped template in the data directory's forms folder that a new file of this form and
  // report kind starts from (expanded, maybe missing).
  QString Standardvorlage() const;
  // Sees to it that the template file exists (see cmdLLEdit_Click); false when it does not.
  bool VorlagendateiBereitstellen();
  // The name row of the loaded template number, open for writing.
  std::shared_ptr<data::Recordset> VorlagenNamen() const;

  FormularFenster& m_fenster;
  QLineEdit* m_strVorlagenName;
  QLineEdit* m_strFormatDatei;
  QLineEdit* m_AnzahlKopien;
  QRadioButton* m_optListe;
  QRadioButton* m_optEtikett;
  QLineEdit* m_strPDFDateiname;
  QLineEdit* m_strDeckblattDatei;
  QToolButton* m_cmdLLEdit;
  std::int16_t m_intFormNummer = 0;
  std::int16_t m_intFormStatus = 0;
  QString m_name;  // as stored
};

}  // namespace configuration
