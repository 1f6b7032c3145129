#include "stockservers/tray/Application.h"

// The branch synchronisation pass lives here.
void Application::CheckWebUpdate() {}
