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
  std::shared_ptr<report::IReportControl> steuerung = vorgegeben();
  if (!steuerung) steuerung = std::make_shared<report::ReportControl>();
  auto fenster = std::make_shared<frmDrucken>(steuerung);
  geladen() = fenster;
  return fenster;
}

std::shared_ptr<frmDrucken> GeladenesDruckfenster() { return geladen().lock(); }

void DruckfensterSteuerungVorgeben(std::shared_ptr<report::IReportControl> steuerung) {
  vorgegeben() = std::move(steuerung);
}
