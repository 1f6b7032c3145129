#include "engine/Druckfenster.h"

#include "engine/frmDrucken.h"
#include "platform/report/ReportControl.h"

namespace {

// Not an owner: the holders are, and the last one to go unloads the window.
std::weak_ptr<frmDrucken>& geladen() {
  static std::weak_ptr<frmDrucken> fenster;
  return fenster;
}

std::shared_ptr<report::IReportControl>& vorgegeben() {
  static std::shared_ptr<report::IReportControl> steuerung;
  return steuerung;
}

}  // namespace

std::shared_ptr<frmDrucken> DruckfensterLaden() {
  if (auto fenster = geladen().lock()) return fenster;
  auto fenster = std::make_shared<frmDrucken>(
      vorgegeben() ? vorgegeben() : std::static_pointer_cast<report::IReportControl>(std::make_shared<report::ReportControl>()));
  geladen() = fenster;
  return fenster;
}

std::shared_ptr<frmDrucken> GeladenesDruckfenster() { return geladen().lock(); }

void DruckfensterSteuerungVorgeben(std::shared_ptr<report::IReportControl> steuerung) {
  vorgegeben() = std::move(steuerung);
}
