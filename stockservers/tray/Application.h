#pragma once
// TarneloSrv.Application: the tray server's public class. A host creates it, hands it its
// connection groups (group 4 the article database, group 1 the bookshop data file) or lets it
// connect from the per-user settings, gives it its host object (AccessApp: Aktiv, Bestellen,
// Reservieren) and the branch and customer numbers of the branch synchronisation. The start
// routine makes one object of its own. Releasing the last client's object, or Quit, ends the
// server process; while other clients hold theirs, the server goes on serving them.
//
// The members are split by topic: Application.cpp (creation, connection, host watch, end),
// Application_Suche.cpp (the stock look-up), Application_WebUpdate.cpp (the branch
// synchronisation). Members are reached by name (platform/automation/LateBinding).
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/vb/Collection.h"
#include "platform/vb/ObjectVariant.h"

class clsConnectionHandler;
class frmInfoWin;
namespace data { class Connection; class Recordset; }

class Application : public QObject {
  Q_OBJECT

 public:
  // The class's initialisation: remembers what the clipboard holds now (so it is not looked up;
  // the clipboard itself is left alone), takes over the main window's timer when clipboard
  // polling is on ("AbfrageÜberClipboard" 0), an empty connection handler, the debug log
  // "srvdebug.txt" afresh. `eigenes` marks the start routine's own object, which is no client's.
  explicit Application(bool eigenes = false);
  // The class's termination: lets go of the host object and the info window. When no client's
  // object is left, it stops the timer, hides the main window, deletes the response file and
  // ends the process; otherwise the timer goes to the newest object left that polls.
  ~Application() override;

  // How the process ends (Quit, termination, a vanished host). The start routine points it at
  // the application's exit; until then nothing ends.
  static void setProzessEnde(std::function<void()> ende);

  // ---- public members, in the order of the class's dispatch interface ----

  Q_INVOKABLE vb::ObjectVariant ConnectList() const;
  // A clsConnectionHandler of this process, or Nothing (the next look-up then connects from the
  // settings). Anything else is error 13 and the old handler stays.
  Q_INVOKABLE void set_ConnectList(const vb::ObjectVariant& handler);
  Q_INVOKABLE void let_ConnectList(const vb::ObjectVariant& handler) { set_ConnectList(handler); }
  Q_INVOKABLE void let_Pausieren(bool blnW) { blnPausieren = blnW; }
  Q_INVOKABLE bool Pausieren() const { return blnPausieren; }
  // Host watch: about every ten minutes reads the host's Aktiv; a host that does not answer
  // ends the server.
  Q_INVOKABLE void AktivCheck();
  // One step of the branch synchronisation (Application_WebUpdate.cpp).
  Q_INVOKABLE void CheckWebUpdate();
  Q_INVOKABLE void let_BestaendeAbgleichen(bool blnH) { blnBestaendeAbgleichen = blnH; }
  Q_INVOKABLE void let_FilialNr(std::int32_t intW) { lngFilialNr = intW; }
  Q_INVOKABLE void let_KundenNr(std::int32_t intW) { lngKundenNr = intW; }
  // The host object; handed on to the info window when it exists. Anything but an object or
  // Nothing is error 13.
  Q_INVOKABLE void set_AccessApp(const vb::ObjectVariant& objA);
  Q_INVOKABLE void let_AccessApp(const vb::ObjectVariant& objA) { set_AccessApp(objA); }
  // The client's link object: shows the main window and logs its ProgrammLinkInfo, or
  // "Disconnet " and the time for Nothing. Anything but an object or Nothing is error 13.
  Q_INVOKABLE void let_EventClass(const vb::ObjectVariant& objH);
  Q_INVOKABLE void set_EventClass(const vb::ObjectVariant& objH) { let_EventClass(objH); }
  Q_INVOKABLE void Init() {}
  // Stock look-up of an ISBN or EAN (Application_Suche.cpp). The caller's variable comes back
  // trimmed and without hyphens. Always False.
  Q_INVOKABLE bool SearchArtNr(QString& strNr);
  // Ends the server. Empty.
  Q_INVOKABLE vb::Variant Quit();

  // ---- for the program's own windows and tests ----

  // A copied number of an ISBN's or EAN's shape whose check character is wrong: the info window
  // says that it is no valid number instead of going on showing the article before as its
  // answer. Nothing is counted or looked up.
  void UngueltigeNummerZeigen(const QString& strNr);

  std::int32_t Anfragen() const { return lngAnfragen; }
  std::int32_t Treffer() const { return lngTreffer; }
  frmInfoWin* InfoWin() const { return objInfoWin.get(); }
  bool Verbunden() const { return blnVerbunden; }

  // The clock of the branch synchronisation; tests set a shortened one.
  static QDateTime Jetzt();
  static void setUhr(std::function<QDateTime()> uhr);

 private:
  // Prepares the connection groups once: from the settings when ConnectList is Nothing, else as
  // the client configured them. Never retried, whatever the outcome.
  void ConnectDatabases();
  // The info window made where there is none, shown where it is hidden, with the host object.
  void InfoWinBereit();
  void Log(const QString& zeile) const;
  // A number typed into a text box: German or plain digits; anything else reads as 0.
  static double Zahl(const QString& text);

  // The steps of a synchronisation pass (Application_WebUpdate.cpp); each raises on a failure.
  double WebIntervall() const;
  void EigeneAenderungenSenden(const std::shared_ptr<data::Connection>& con);
  // Marks the queue rows of an article whose update `gesendet` went out, on a queue without row
  // numbers; sends the article again while its figures changed meanwhile.
  void AenderungAbschliessen(const std::shared_ptr<data::Connection>& con, const QString& kopf, std::int32_t artikelident,
                             QString gesendet);
  void ZeitstempelErmitteln(const std::shared_ptr<data::Connection>& con);
  void FilialAenderungenLaden(const std::shared_ptr<data::Connection>& con);
  void endeProzess();

  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  const bool m_eigenes;
  bool m_abfrage = false;  // took the main window's timer (clipboard polling on)

  bool blnVerbunden = false;
  std::shared_ptr<data::Recordset> objRsAbfrage;
  std::shared_ptr<data::Recordset> objRsHilfe;
  vb::Collection<vb::Variant> colAbfrage;
  std::unique_ptr<frmInfoWin> objInfoWin;
  vb::Variant objAccessApp = vb::Variant::nothing();
  vb::Variant objEventClass = vb::Variant::nothing();

  std::int32_t lngFilialNr = 0;
  std::int32_t lngKundenNr = 0;
  bool blnBestaendeAbgleichen = false;
  bool blnPausieren = false;
  std::int32_t lngAnfragen = 0;
  std::int32_t lngTreffer = 0;

  // Branch synchronisation (Application_WebUpdate.cpp): the zero date until the first pass.
  QDateTime dtLetzterAktivCheck;
  QDateTime dtLetzteWebPruefung;
  double dblWebIntervall = 0;  // days
  bool blnWebLaeuft = false;
  QString strAntwortDatei;
  QString strLetzterZeitstempel;
  // An initial upload whose closing "setts" request is still owed, also across passes.
  bool blnInitialupload = false;
};
