#pragma once
// The debug log of a test: the local path points at a temporary folder with a fresh "Debug.txt"
// in it; the local path goes back to its default afterwards.
#include <QFile>
#include <QStringList>

#include "foundation/modDebugOutput.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "tests/support/TempDir.h"

namespace testsupport {

class DebugLog {
 public:
  DebugLog() {
    SetLokalerPfad(m_dir.path() + QStringLiteral("/"));
    DebugOutputInit(QStringLiteral("Debug.txt"));
  }
  ~DebugLog() { SetLokalerPfad(QString()); }
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;
  QStringList lines() const {
    QFile f(m_dir.file(QStringLiteral("Debug.txt")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList all = fromAnsi(f.readAll()).split(QStringLiteral("\r\n"));
    if (!all.isEmpty() && all.last().isEmpty()) all.removeLast();
    return all;
  }
  const TempDir& dir() const { return m_dir; }

 private:
  TempDir m_dir;
};

}  // namespace testsupport
