#pragma once
// The tray server's start routine: the main window shown, one Application of the server's own
// (customer 1, branch 10000, branch synchronisation on). The program's main and the tests run
// the same start.
#include <memory>

class Application;
class Form1;

class Module1 {
 public:
  // Main.
  Module1();
  ~Module1();

  // The public classes of the program, by identifier: "TarneloSrv.Application" and the
  // connection handler "TarneloSrv.clsConnectionHandler".
  static void KlassenRegistrieren();

  Form1& form() const { return *m_form; }
  const std::shared_ptr<Application>& objApp() const { return m_objApp; }

 private:
  std::unique_ptr<Form1> m_form;
  std::shared_ptr<Application> m_objApp;
};
