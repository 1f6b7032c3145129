#pragma once
// The system stores Windows-style paths (backslashes, drive letters, any letter case). These
// helpers turn a stored path into a real one on this machine.
#include <QString>

namespace vb {

// Backslashes become slashes; a leading drive letter ("C:") is dropped, an absolute path stays
// absolute; every existing component is matched against what is on disk, an exact match first,
// else one that differs only in letter case, so "FORMULAR\LEinfach.BMP" finds
// "Formular/LEINFACH.bmp". Components that do not exist are kept as written. "." and ".." are
// folded and repeated separators dropped; a trailing separator is kept. A relative path is
// matched below the current directory and returned relative.
QString resolvePath(const QString& stored);

// The path as the system writes it: slashes become backslashes.
QString toStoredPath(const QString& real);

// Splitting at the last separator, "/" or "\" (hosts send stored paths, ours are real ones):
// the folder up to and including it, and the file name after it. Without a separator the folder
// is "" and the file name is the whole path.
QString folderPart(const QString& path);
QString fileNamePart(const QString& path);

}  // namespace vb
