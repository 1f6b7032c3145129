#pragma once
// The start every public print class makes when a host creates it.
#include <memory>

class frmDrucken;

// A fresh debug log "Debug.txt" with the start line and "->Application_Initialize", the forms
// folder, and the process's one print window, loaded if needed.
std::shared_ptr<frmDrucken> DruckklasseStarten();
