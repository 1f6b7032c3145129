#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

TempDir::TempDir() : m_dir(QDir::tempPath() + QStringLiteral("/skrivant-test-XXXXXX")) {}

QString TempDir::write(const QString& name, const QByteArray& content) const {
  const QString p = file(name);
  QDir().mkpath(QFileInfo(p).absolutePath());
  QFile f(p);
  if (f.open(QIODevice::WriteOnly)) f.write(content);
  return p;
}

}  // namespace testsupport
