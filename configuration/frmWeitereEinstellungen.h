#pragma once
// "weitere Druckeinstellungen": the dialog in which the user switches the marking of copies and the
// fold marks for every form and workstation (settings "Duplikatsvermerk" and "Falzstriche" in
// Vorgaben on connection group 6 of the template manager's handler), and sees the engine's data
// and local directories.
#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class clsConnectionHandler;
namespace data { class Connection; }

namespace configuration {

class frmWeitereEinstellungen : public QDialog {
  Q_OBJECT

 public:
  // `ConnectList`: the template manager's handler, whose group 6 holds the settings table.
  explicit frmWeitereEinstellungen(std::shared_ptr<clsConnectionHandler> ConnectList, QWidget* parent = nullptr);

  // Reads the two settings (a missing one is written as "0") and the two directories. Database
  // errors reach the caller.
  void Laden();

  // Writes both settings and closes. When a write fails the user is told and the dialog stays
  // open with the choice, so nothing is lost without a word.
  void cmdStart_Click();
  // Closes; nothing is written.
  void cmdZurueck_Click();

 private:
  std::shared_ptr<data::Connection> vorgabenVerbindung() const;

  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  QCheckBox* m_blnDuplikatsVermerk;
  QCheckBox* m_blnFalzstriche;
  QLineEdit* m_strDatenverzeichnis;
  QLineEdit* m_strLokalesVerzeichnis;
};

// Loads the dialog on `ConnectList` and shows it modal over `parent` (through platform/ui, kind
// "weitereEinstellungen"). Settings that cannot be read are reported and the dialog is not shown.
void WeitereEinstellungenZeigen(QWidget* parent, std::shared_ptr<clsConnectionHandler> ConnectList);

}  // namespace configuration
