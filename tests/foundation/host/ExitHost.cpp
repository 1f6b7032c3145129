// A host program that ends with the engine's process-wide connection handler still set, as the
// servers do: `ExitHost app|plain <database file>` sets the data directory, opens the settings
// group on a fresh host database, hands the handler to the engine and returns from main, with a
// QCoreApplication ("app") or without one ("plain"). Its exit status is what the test looks at.
#include <QCoreApplication>
#include <QFileInfo>
#include <QString>
#include <cstdio>
#include <memory>
#include <optional>

#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "schema/HostSchema.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::optional<QCoreApplication> app;
  if (QString::fromLocal8Bit(argv[1]) == QLatin1String("app")) app.emplace(argc, argv);
  const QString file = QString::fromLocal8Bit(argv[2]);
  SetDatenverzeichnis(QFileInfo(file).absolutePath() + QLatin1Char('/'));  // settings first, as hosts do
  QString error;
  if (!schema::createHostDatabase(file, &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 3;
  }
  auto handler = std::make_shared<clsConnectionHandler>();
  handler->let_SQLGruppe_DB_Provider(6, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  handler->let_SQLGruppe_DB_OpenConnection(6, QStringLiteral("Data Source=") + file);
  SetGlobalConnectList(handler);
  return 0;
}
