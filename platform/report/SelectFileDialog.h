#pragma once
// Choice of a template file through ui::dialogs().fileDialog: "*.lbl" for label templates
// (project kind 1), "*.lst" for lists (2).
#include <QString>

namespace report {

// Opens the file dialog in the folder of `current` (a stored Windows path is resolved) with its
// file name preselected. Returns the chosen path, empty when the user cancelled.
QString selectTemplateFile(int projectType, const QString& current);

}  // namespace report
