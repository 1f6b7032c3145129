#pragma once
// `cmake --install` of this build into a temporary prefix, and running outside programs with
// their output kept for the failure message.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

struct Lauf {
  int exitCode = -1;
  bool normal = false;
  QString ausgabe;  // stdout and stderr together
  bool ok() const { return normal && exitCode == 0; }
};

// Runs `programm` with `argumente` and waits at most `sekunden`.
inline Lauf ausfuehren(const QString& programm, const QStringList& argumente, int sekunden = 300,
                       const QProcessEnvironment& umgebung = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.setProcessEnvironment(umgebung);
  p.start(programm, argumente);
  Lauf lauf;
  if (!p.waitForFinished(sekunden * 1000)) {
    p.kill();
    p.waitForFinished();
    lauf.ausgabe = QStringLiteral("%1 did not finish within %2 s\n").arg(programm).arg(sekunden);
  }
  lauf.ausgabe += QString::fromLocal8Bit(p.readAll());
  lauf.normal = p.exitStatus() == QProcess::NormalExit;
  lauf.exitCode = p.exitCode();
  return lauf;
}

// Installs the build this test belongs to under `prefix`: everything, or one component
// ("Runtime": the programs, their service files and the templates).
inline Lauf installieren(const QString& prefix, const QString& komponente = {}) {
  QStringList argumente{QStringLiteral("--install"), QStringLiteral(SKRIVANT_BINARY_DIR), QStringLiteral("--prefix"), prefix};
  if (!komponente.isEmpty()) argumente << QStringLiteral("--component") << komponente;
  return ausfuehren(QStringLiteral(SKRIVANT_CMAKE_COMMAND), argumente);
}

}  // namespace testsupport
