#pragma once
// TarneloDCOM's main window "Tarnelo - Lageranfrage": the log `Info` the server and its clients
// write to, the request and hit counters, the query options and the tray icon. It has no timer:
// clients call Application::infofelder and AddInfo.
//
// One window per process: the first Form1 made is the one Application objects find through
// Form1::aktuell().
#include "stockservers/common/LagerFenster.h"

namespace dcom {

class Form1 : public LagerFenster {
  Q_OBJECT

 public:
  // The window's load: options from the settings, "Programmstart " and the time in Info, the
  // tray icon shown with its tooltip ("Tarnelo <-> Lesomat " and the counters).
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The process's main window; nullptr before it is made and after it is gone.
  static Form1* aktuell();

  // Unloading the window: it and its tray icon go away. The process goes on while an
  // Application serves its clients.
  void Unload();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void cmdAbout_Click();
};

// Now, as the log writes times.
QString jetzt();

}  // namespace dcom
