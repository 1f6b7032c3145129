#pragma once
// How Application.FormularGestaltung reaches the template manager: automation/ sits below this
// folder, so a program that offers the template manager registers it at start.
//
//   configuration::FormularGestaltungAnmelden();             // the skrivant program, a host
//   app->FormularGestaltung(3, 1);                           // opens the window, returns at once
#include <functional>

namespace configuration {

class frmDruckFormulare;

// Lets Application.FormularGestaltung open the template manager of this process, and registers
// Skrivant.clsMenuHandler. `prozessende` is what closing the window does after it saved (ending
// the engine process); without one, closing quits the application's event loop.
void FormularGestaltungAnmelden(std::function<void()> prozessende = {});

// The open template manager, or nullptr.
frmDruckFormulare* OffeneFormularGestaltung();

}  // namespace configuration
