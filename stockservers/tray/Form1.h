#pragma once
// TarneloSrv's main window "Tarnelo - Lageranfrage": the tray icon, the poll timer, the visible
// log `Info`, the query options, the request and hit counters and the bar toward the next web
// check. The timer tick is the server's heart beat: host watch, clipboard look-up, branch sync,
// all on the newest Application created with clipboard polling on (`objApplication`).
//
// One window per process: the first Form1 made is the one Application objects find through
// Form1::aktuell() (the start routine makes it before its own Application).
#include <QFrame>
#include <QLineEdit>
#include <QTimer>
#include <cstdint>

#include "stockservers/common/LagerFenster.h"

class Application;

class Form1 : public LagerFenster {
  Q_OBJECT

 public:
  // The window's initialisation and load: options from the settings, "Programmstart " and the
  // time in Info, the tray icon shown with its tooltip ("Tarnelo Lagerserver " and the counters).
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The process's main window; nullptr before it is made and after it is gone.
  static Form1* aktuell();

  // Set by the newest Application with clipboard polling on, cleared when it terminates.
  Application* objApplication = nullptr;

  // The bar: (1 - ProzentVerstrichen) of its full width, the full width above 1; then pending
  // window events run once.
  void UpdateNextWebCheck(double ProzentVerstrichen);
  // A web check runs: the counter goes up and shows red; EndWebPruefung shows it black again.
  void StartWebPruefung();
  void EndWebPruefung();
  // One tick of the poll timer (the timer calls it; tests call it directly).
  void Timer_Timer();

  QLabel* Label9;  // web checks
  QLineEdit* dblUpdateInterval;  // minutes between two branch synchronisations
  QFrame* Shape1;
  QTimer Timer;

  // The clipboard text seen at the last tick.
  QString strLetzteZwischenablage;
  int lngBalkenBreite = 0;
  std::int32_t lngWebPruefungen = 0;

  // "&Info": the tray server's about box, modal.
  void cmdAbout_Click();

 signals:
  // "Beenden" chose to end the process; the start routine quits the application on it.
  void beenden();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void optionSpeichern(QCheckBox* box, const QString& schluessel);
};
