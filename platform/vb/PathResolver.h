#pragma once
// The system stores Windows-style paths (backslashes, drive letters, any letter case). These
// helpers turn a stored path into a real one on this machine.
#include <QString>

namespace vb {

// Backslashes become slashes; a leading drive letter ("C:") is dropped; every existing component
// is matched without regard to case against what is on disk, so "FORMULAR\LEinfach.BMP" finds
// "Formular/LEINFACH.bmp". Components that do not exist are kept as written.
QString resolvePath(const QString& stored);

// The path as the system writes it: slashes become backslashes.
QString toStoredPath(const QString& real);

}  // namespace vb
