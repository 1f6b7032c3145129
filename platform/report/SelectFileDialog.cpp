#include "platform/report/SelectFileDialog.h"

#include <QFileInfo>

#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/PathResolver.h"

namespace report {

QString selectTemplateFile(int projectType, const QString& current) {
  ui::FileDialogRequest request;
  request.title = QStringLiteral("Vorlage auswählen");
  request.filter = projectType == kProjectLabel ? QStringLiteral("*.lbl") : QStringLiteral("*.lst");
  if (!current.isEmpty()) {
    const QString path = vb::resolvePath(current);
    const QFileInfo info(path);
    request.fileName = info.fileName();
    if (path.contains(u'/')) request.initDir = info.path();
  }
  return ui::dialogs().fileDialog(request);
}

}  // namespace report
