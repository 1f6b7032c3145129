#include "platform/vb/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "platform/vb/Convert.h"

namespace vb {

namespace {

// The entry of `dir` that is `name` exactly, else of those that differ only in letter case the
// first in code-point order (the same one every time, whatever the locale); empty when none.
QString matchEntry(const QString& dir, const QString& name) {
  if (QFileInfo::exists(dir + QLatin1Char('/') + name)) return name;
  const QStringList entries =
      QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
  QString best;
  for (const QString& entry : entries) {
    if (textEquals(entry, name) && (best.isEmpty() || entry < best)) best = entry;
  }
  return best;
}

}  // namespace

QString resolvePath(const QString& stored) {
  if (stored.isEmpty()) return {};
  QString p = stored;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  bool hadDrive = false;
  if (p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter() && p[0].unicode() < 128) {
    p.remove(0, 2);
    hadDrive = true;
  }
  // "C:" alone is the root of that drive.
  if (hadDrive && p.isEmpty()) return QStringLiteral("/");
  const bool absolute = p.startsWith(QLatin1Char('/'));
  // A folder keeps its trailing separator: callers append file names to it.
  const bool trailing = p.endsWith(QLatin1Char('/')) && p.size() > 1;

  QStringList parts;
  for (const QString& part : p.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    if (part == QLatin1String(".")) continue;
    if (part == QLatin1String("..")) {
      if (!parts.isEmpty() && parts.last() != QLatin1String("..")) parts.removeLast();
      else if (!absolute) parts << part;  // above the root stays at the root
      continue;
    }
    parts << part;
  }

  // Match each component against the disk; after the first one that is missing, nothing below
  // it can exist, so the rest is kept as written.
  QString onDisk = absolute ? QStringLiteral("/") : QDir::currentPath();
  bool exists = true;
  for (QString& part : parts) {
    if (!exists) break;
    if (part == QLatin1String("..")) {
      onDisk = QFileInfo(onDisk).absolutePath();
      continue;
    }
    const QString match = matchEntry(onDisk, part);
    if (match.isEmpty()) {
      exists = false;
      break;
    }
    part = match;
    onDisk = QDir(onDisk).filePath(match);
  }

  QString out = parts.join(QLatin1Char('/'));
  if (absolute) out.prepend(QLatin1Char('/'));
  if (out.isEmpty()) return QStringLiteral(".") + (trailing ? QStringLiteral("/") : QString());
  if (trailing && out != QLatin1String("/")) out += QLatin1Char('/');
  return out;
}

QString toStoredPath(const QString& real) {
  QString p = real;
  p.replace(QLatin1Char('/'), QLatin1Char('\\'));
  return p;
}

namespace {
qsizetype folderLength(const QString& path) {
  return qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}
}  // namespace

QString folderPart(const QString& path) { return path.left(folderLength(path)); }

QString fileNamePart(const QString& path) { return path.mid(folderLength(path)); }

}  // namespace vb
