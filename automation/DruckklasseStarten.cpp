#include "automation/DruckklasseStarten.h"

#include <QDateTime>

#include "engine/Druckfenster.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"

std::shared_ptr<frmDrucken> DruckklasseStarten() {
  DebugOutputInit(QStringLiteral("Debug.txt"));
  DebugOutput(QStringLiteral("Programmstart am ") + vb::CStr(vb::Variant(QDateTime::currentDateTime())) +
              QStringLiteral(" Version:") + ui::programVersion());
  DebugOutput(QStringLiteral("->Application_Initialize"));
  CreateFormularPfad();
  return DruckfensterLaden();
}
