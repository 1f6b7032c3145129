#pragma once
// The archive printer panel of the template manager: for one form and one workstation (its
// computer name, or "$GLOBAL$") the printer that archive copies go to ("Archivierungsdrucker").
// The choice is the form's one route row with VonExemplar and BisExemplar -1; the copy-range rows
// belong to ctrDruckerschacht. No "Standard" entry and no tray: the printer is named as it is.
#include <QString>
#include <QWidget>
#include <memory>

class QComboBox;
class clsConnectionHandler;

namespace configuration {

class ctrArchivierungsDrucker : public QWidget {
  Q_OBJECT

 public:
  explicit ctrArchivierungsDrucker(QWidget* parent = nullptr);

  // Shows the archive printer of the form and workstation (the first archive row in page order;
  // empty when there is none) and remembers the three keys. Errors reach the caller; the panel
  // then has no keys, so a following SaveData writes nothing.
  Q_INVOKABLE void LoadData(short FormStatus, short FormNummer, const QString& RechnerName);
  // Replaces the archive rows of the remembered form and workstation by one row naming the
  // printer in the list, or by none when the list's text is empty; in one transaction, touching no
  // other row. Nothing happens before a LoadData. Errors reach the caller.
  Q_INVOKABLE void SaveData();
  // The installed printers in the list, its text empty.
  Q_INVOKABLE void FormInitialisieren();

  // The connection groups whose group 4 the panel reads and writes: the template manager's own,
  // never the engine-wide handler another host may have set. Without one LoadData raises 91.
  void set_ConnectList(std::shared_ptr<clsConnectionHandler> handler) { m_ConnectList = std::move(handler); }

  short FormStatus() const { return m_FormStatus; }
  short FormNummer() const { return m_FormNummer; }
  QString RechnerName() const { return m_RechnerName; }

  QComboBox* Druckerliste() const { return m_Druckerliste; }

 public slots:
  // A user's typing or choosing the archive printer; an empty text names none.
  void DruckerlisteWaehlen(const QString& Drucker);

 private:
  QComboBox* m_Druckerliste;
  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  short m_FormStatus = 0;
  short m_FormNummer = 0;
  QString m_RechnerName;
  bool m_geladen = false;  // keys of a LoadData that completed
};

}  // namespace configuration
