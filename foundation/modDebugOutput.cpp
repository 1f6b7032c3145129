#include "foundation/modDebugOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/PathResolver.h"

namespace {

QString& logPath() {
  static QString path;
  return path;
}

QString executableName() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

// Removes the log under every letter case of its name, so a differently spelled earlier log
// cannot survive a start.
void deleteLog(const QString& stored) {
  const QFileInfo real(vb::resolvePath(stored));
  QDir folder = real.absoluteDir();
  const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names)
    if (name.compare(real.fileName(), Qt::CaseInsensitive) == 0) folder.remove(name);
}

}  // namespace

void DebugOutputInit(const QString& Dateiname) {
  const QString name = Dateiname.isEmpty() ? executableName() + QStringLiteral(".DBG") : Dateiname;
  logPath() = GetLokalerPfad() + name;
  deleteLog(logPath());
  vb::setErrorLogSink([](const QString& line) { DebugOutput(line); });
}

void DebugOutput(const QString& Text) {
  if (logPath().isEmpty()) return;
  QFile file(vb::resolvePath(logPath()));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  file.write(toAnsi(Text) + QByteArrayLiteral("\r\n"));
}
