#pragma once
// The template manager "Druckformulare erstellen": the tree of every form type, its templates and
// their settings (template file, texts, dunning texts, printers and trays for this workstation and
// for all), the setting panels of the selected node, and the editing of templates (new, delete,
// copy, paste). One per process, modeless on the engine's thread; opened by
// Application.FormularGestaltung (configuration/FormularGestaltung.h).
//
// Changes are saved when the user leaves a node and when the window closes; there is no save
// button. Closing ends the engine process after saving; a save that fails is shown and the
// window stays open unless the user chooses to close without saving.
//
// Tree node keys (QTreeWidgetItem data Qt::UserRole, image key Qt::UserRole + 1):
//   "K" folder, "F0003" form type, "F0003V001" template, + "F" template file, "T" texts,
//   "M0"/"MA"/"M1".."M3" dunning texts, " " printers, " DG"/" DL" all workstations / this one.
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "configuration/FormularFenster.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class clsConnectionHandler;
class clsMenuHandler;
namespace data { class Recordset; }
namespace vb { class VbError; }

namespace configuration {

class ctrArchivierungsDrucker;
class ctrDruckerschacht;
class ctrFormatdatei;
class ctrMahnAllgTexte;
class ctrMahnVorSchluss;
class ctrTexte;

class frmDruckFormulare : public QMainWindow, public FormularFenster {
  Q_OBJECT

 public:
  explicit frmDruckFormulare(QWidget* parent = nullptr);
  // The window's termination: the placeholder handler goes, the engine-wide connection handler
  // is set to nothing when it is the window's own, and the template manager counts as closed.
  ~frmDruckFormulare() override;

  // What closing the window does once it has saved: end the engine process. Until one is set,
  // closing quits the application's event loop.
  static void setProzessende(std::function<void()> beenden);

  // FormularFenster
  void set_CurTextControl(QLineEdit* feld) override;
  void PlatzhalterMenueZeigen(bool sichtbar) override;
  void PlatzhalterMenueOeffnen(QWidget* panel, const QPoint& punkt) override;

  // Selects the template file node of template VorlageNr of form type FormStatus (the form type
  // node, expanded, for VorlageNr 0) and handles it as a click. A node not in the tree raises
  // 35601; leaving a node whose save fails raises that error, and the old node stays.
  void SetNode(std::int16_t FormStatus, std::int16_t VorlageNr);
  // Builds the tree anew from Druck_Formulartypen and the templates of ConnectList's group 4. A
  // failing statement ends the filling there and raises.
  void BaumLaden();
  // The host's handler; the window and its panels work on its groups alone, whatever handler
  // another host sets engine-wide meanwhile.
  std::shared_ptr<clsConnectionHandler> ConnectList() const override { return m_ConnectList; }
  void set_ConnectList(std::shared_ptr<clsConnectionHandler> handler);

  // For tests and the screenshot program: the tree, its node by key, the menu actions by name.
  QTreeWidget* AuswahlTree() const { return m_tree; }
  QTreeWidgetItem* Knoten(const QString& key) const;
  // The visible setting panel, or nullptr.
  QWidget* SichtbaresPanel() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void MenuesAnlegen();
  void PlatzhalterMenueAnlegen();
  void PanelsAnlegen();
  QTreeWidgetItem* KnotenHinzufuegen(QTreeWidgetItem* parent, const QString& key, const QString& text,
                                     const QString& bild);
  void VorlageHinzufuegen(QTreeWidgetItem* formtyp, int FormTypID, const data::Recordset& vorlage);

  // The node-click handling. When the node being left cannot be saved, the error is raised, that
  // node stays selected and nothing of the new one is loaded.
  void KnotenGewaehlt(QTreeWidgetItem* item);
  struct Knotenschluessel {
    std::int16_t FormStatus = 0;
    std::int16_t FormNummer = 0;
    QString Art;
    bool global = false;
  };
  static Knotenschluessel ParseNodeKey(const QString& key);
  void MenuesFuerKnoten(const QString& key, const Knotenschluessel& k);
  // What a node without a panel says instead: what to select below it, or how to make a template.
  QString Hinweis(const QTreeWidgetItem* item) const;
  // Shows a template number's (new) name on the template nodes of every form.
  void VorlagenNamenZeigen(std::int16_t FormNummer, const QString& Name);

  bool MussSpeichern() const;
  void WerteLaden();
  void WerteSpeichern();
  bool IstMahnstufe() const;
  std::shared_ptr<data::Recordset> FormularZeile(bool mahnung) const;

  void VorlageAnlegen(std::int16_t BerichtArt);
  void VorlageLoeschen();
  void Kopieren();
  void Einfuegen();
  // Runs a menu or tree action; an error is shown to the user instead of ending the event.
  void Ausfuehren(const std::function<void()>& aktion);
  void FehlerZeigen(const vb::VbError& e);

  // Window state of the current node.
  std::int16_t intFormNummer = 0;
  std::int16_t intFormStatus = 0;
  std::int16_t intMahnstufe = 0;
  QString strKnotenArt;
  QString strGlobalLokal;
  std::int16_t intKopierFlags = 0;
  std::int16_t intQuellFormStatus = 0;
  std::int16_t intQuellFormNummer = 0;
  // Whether the record panels hold the current node's row (loaded by the last WerteLaden).
  bool m_zeileGeladen = false;
  std::shared_ptr<clsMenuHandler> objMenuHandler;
  std::shared_ptr<clsConnectionHandler> m_ConnectList;

  QTreeWidget* m_tree = nullptr;
  QHash<QString, QTreeWidgetItem*> m_knoten;  // by key in lower case: keys compare without case
  QTreeWidgetItem* m_aktuellerKnoten = nullptr;
  QLabel* strInfo = nullptr;
  QLabel* strHinweis = nullptr;
  QPushButton* cmdExit = nullptr;

  QMenu* cmdBearbeiten = nullptr;
  QMenu* cmdNeueVorlage = nullptr;
  QAction* cmdKopieren = nullptr;
  QAction* cmdEinfuegen = nullptr;
  QAction* cmdVorlageLoeschen = nullptr;
  QMenu* mnuPlatzhalter = nullptr;

  ctrFormatdatei* m_ctrFormatdatei = nullptr;
  ctrTexte* ctrTexte1 = nullptr;
  ctrMahnAllgTexte* m_ctrMahnAllgTexte = nullptr;
  ctrMahnVorSchluss* m_ctrMahnVorSchluss = nullptr;
  ctrDruckerschacht* Druckerwahl = nullptr;
  ctrArchivierungsDrucker* m_ctrArchivierungsDrucker = nullptr;
};

}  // namespace configuration
