#pragma once
// A temporary folder per test, removed when the test ends.
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class TempDir {
 public:
  TempDir();
  QString path() const { return m_dir.path(); }
  // Path of `name` inside the folder.
  QString file(const QString& name) const { return m_dir.filePath(name); }
  // Writes `content` (UTF-8) to `name` inside the folder and returns its path.
  QString write(const QString& name, const QByteArray& content) const;

 private:
  QTemporaryDir m_dir;
};

}  // namespace testsupport
