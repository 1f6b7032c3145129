#include "platform/vb/FolderClaim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vb {

namespace {

// The folders this process holds, by real path, with the descriptor that holds each lock. They
// are held until the process ends.
QHash<QString, int>& held() {
  static QHash<QString, int> folders;
  return folders;
}

QString realPath(const QString& folder) { return QFileInfo(folder).canonicalFilePath(); }

// A descriptor holding the lock on `path`, or -1 when another process holds it (or the path is
// no folder). Close-on-exec: a program this process starts must not keep the lock after it.
int lock(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

bool claimFolder(const QString& folder) {
  const QString path = realPath(folder);
  if (path.isEmpty()) return false;
  if (held().contains(path)) return true;
  const int fd = lock(path);
  if (fd < 0) return false;
  held().insert(path, fd);
  return true;
}

QString makeClaimedFolder(const QString& parent, const QString& prefix) {
  const QString base = realPath(parent);
  if (base.isEmpty()) return {};
  const QString name = prefix + QString::number(::getpid()) + QLatin1Char('-') +
                       QString::number(QRandomGenerator::global()->generate(), 36);
  // Made under a name no clean-up looks at, locked, and only then given its name.
  const QString making = base + QStringLiteral("/.~") + name;
  const QString path = base + QLatin1Char('/') + name;
  if (!QDir().mkdir(making)) return {};
  const int fd = lock(making);
  if (fd < 0 || std::rename(QFile::encodeName(making).constData(), QFile::encodeName(path).constData()) != 0) {
    if (fd >= 0) ::close(fd);
    QDir().rmdir(making);
    return {};
  }
  held().insert(path, fd);
  return path + QLatin1Char('/');
}

void removeUnclaimedFolders(const QString& parent, const QString& prefix) {
  const QDir dir(parent);
  for (const QFileInfo& entry : dir.entryInfoList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
    const QString path = entry.canonicalFilePath();
    if (path.isEmpty() || held().contains(path)) continue;
    const int fd = lock(path);
    if (fd < 0) continue;
    QDir(path).removeRecursively();
    ::close(fd);
  }
}

}  // namespace vb
