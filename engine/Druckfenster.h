#pragma once
// The one print window of the process. The public print classes load it when they are created and
// let go of it when they end. The window lives while any of them holds it and is unloaded
// (destroyed, with its batch and document data) when the last holder lets go, so a host that ends
// never takes the window from another host still using it.
#include <memory>

class frmDrucken;
namespace report { class IReportControl; }

// The loaded print window, or a new one on the real report control when none is loaded (its
// creation runs the window's own start, which deletes leftover batch files). The caller keeps the
// pointer for as long as it uses the window.
std::shared_ptr<frmDrucken> DruckfensterLaden();

// The loaded print window without loading one; nullptr while none is loaded.
std::shared_ptr<frmDrucken> GeladenesDruckfenster();

// The report control the next window loaded gets in place of the real one, for as long as it is
// set (a test that watches the definitions of a job); nullptr gives the real control again.
void DruckfensterSteuerungVorgeben(std::shared_ptr<report::IReportControl> steuerung);
