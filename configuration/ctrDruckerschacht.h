#pragma once
// The printer and tray panel ("Druckerwahl") of the template manager: for one form and one
// workstation (its computer name, or "$GLOBAL$" for every workstation) which printer and tray print
// the first page and the further pages of each copy range, and whether the last page comes first.
// It reads and writes the form's route rows with VonExemplar above 0; the archive printer row (-1)
// belongs to ctrArchivierungsDrucker.
//
// The window calls LoadData when a printer node is selected and SaveData whenever it saves the open
// template; SaveData writes under the keys of the last successful LoadData. The actions below
// (DruckerlisteWaehlen and the rest) do what a user's typing and leaving a box does, so the
// window's tests drive the panel without clicks.
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class clsConnectionHandler;
class QGridLayout;
class QLabel;
class QLineEdit;
class clsPrinterCollection;
namespace data { class Recordset; }

namespace configuration {

class ctrDruckerschacht : public QWidget {
  Q_OBJECT

 public:
  explicit ctrDruckerschacht(QWidget* parent = nullptr);
  ~ctrDruckerschacht() override;

  // Fills the panel from the form's routes of `RechnerName` (VonExemplar above 0, in copy and page
  // order) and remembers the three keys. Every stored range gets a row: more than three stored
  // ranges add rows rather than fail. Errors of the database reach the caller; the panel then
  // has no keys, so a following SaveData writes nothing.
  Q_INVOKABLE void LoadData(short FormStatus, short FormNummer, const QString& RechnerName);
  // Replaces the remembered form's routes of the remembered workstation by the panel's rows, in
  // one transaction: rows of other forms and workstations and the archive printer row stay.
  // A row is written when its first copy is above 0 and it names a first-page printer. Nothing
  // happens before a LoadData. Errors reach the caller and leave the stored routes as they were.
  Q_INVOKABLE void SaveData();
  // Fresh printer lists ("Standard" first, then the installed printers), empty fields, only the
  // first row shown.
  Q_INVOKABLE void FormInitialisieren();

  // The connection groups whose group 4 the panel reads and writes: the template manager's own,
  // never the engine-wide handler another host may have set. Without one LoadData raises 91.
  void set_ConnectList(std::shared_ptr<clsConnectionHandler> handler) { m_ConnectList = std::move(handler); }

  // The keys of the last LoadData.
  short FormStatus() const { return m_FormStatus; }
  short FormNummer() const { return m_FormNummer; }
  QString RechnerName() const { return m_RechnerName; }

  // The rows (three, more when more ranges were loaded) and their controls.
  int Zeilen() const { return static_cast<int>(m_zeilen.size()); }
  bool ZeileSichtbar(int Zeile) const;
  QLineEdit* VonExemplar(int Zeile) const;
  QLineEdit* BisExemplar(int Zeile) const;
  QComboBox* Druckerliste(int Zeile) const;
  QComboBox* Schachtliste(int Zeile) const;
  QComboBox* DruckerlisteWeitere(int Zeile) const;
  QComboBox* SchachtlisteWeitere(int Zeile) const;
  QCheckBox* blnLetzteZuerst(int Zeile) const;

 public slots:
  // A user's entry into one box of row `Zeile` and leaving it: a changed printer loads that
  // printer's trays (or sets the tray to "Standard"), a copy that is no number from 1 up, or a
  // last copy before the first, is refused with a message, and the rows are put in order.
  void VonExemplarEingeben(int Zeile, const QString& Text);
  void BisExemplarEingeben(int Zeile, const QString& Text);
  void DruckerlisteWaehlen(int Zeile, const QString& Drucker);
  void DruckerlisteWeitereWaehlen(int Zeile, const QString& Drucker);
  void SchachtlisteWaehlen(int Zeile, const QString& Schacht);
  void SchachtlisteWeitereWaehlen(int Zeile, const QString& Schacht);
  void blnLetzteZuerstSetzen(int Zeile, bool Zuerst);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Zeile {
    QLineEdit* VonExemplar = nullptr;
    QLineEdit* BisExemplar = nullptr;
    QComboBox* Druckerliste = nullptr;
    QComboBox* Schachtliste = nullptr;
    QComboBox* DruckerlisteWeitere = nullptr;
    QComboBox* SchachtlisteWeitere = nullptr;
    QCheckBox* blnLetzteZuerst = nullptr;
    QLabel* SchachtLabel = nullptr;
    bool sichtbar = true;
  };

  Zeile& zeile(int i);
  const Zeile& zeile(int i) const;
  void ZeileAnlegen();
  void LoadSchachtListe(const QString& Drucker, int Zeile, bool Weitere);
  void SetZeileSichtbar(int Zeile, bool Sichtbar);
  void ZeilenOrdnen();
  bool ZeileGefuellt(int Zeile) const;
  // Whether the row's further pages print on its first page's printer and tray.
  bool WieErsteSeite(int Zeile) const;
  // The last copy of the row's range as stored: the typed one, else the one before the next
  // range's first copy, else 99.
  long LetztesExemplar(int Zeile) const;
  void ZeileVerschieben(int Von, int Nach);
  // A copy box holds nothing or a whole number from 1 to 32767, a range's last copy is not
  // before its first (a first copy typed beyond it takes it along), and no two ranges share a
  // copy: anything else is refused with a message where it was typed, and the boxes get back
  // what they held (`Vorher`).
  bool ExemplarPruefen(int Zeile, QLineEdit* Box, const QString& Vorher);
  void DruckerFokusErhalten(QComboBox* Liste);
  void DruckerFokusVerloren(int Zeile, bool Weitere);
  // Adds the first-page or the further-pages row of range `Zeile` to `rs`.
  void RouteSchreiben(data::Recordset& rs, int Zeile, bool Weitere);
  // The paper-source number stored with a route: none when the printer (for "Standard" the default
  // printer) is not installed; error 5 for a tray the printer does not have.
  std::optional<int> SchachtNrVon(const QString& Drucker, const QString& Schacht);

  std::vector<Zeile> m_zeilen;
  QGridLayout* m_raster = nullptr;
  std::unique_ptr<clsPrinterCollection> m_drucker;
  QString m_druckerBeiFokus;  // one text for all printer lists
  QString m_exemplarBeiFokus;  // and one for all copy boxes
  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  short m_FormStatus = 0;
  short m_FormNummer = 0;
  QString m_RechnerName;
  bool m_geladen = false;  // keys of a LoadData that completed
};

}  // namespace configuration
