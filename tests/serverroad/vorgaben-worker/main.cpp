// vorgaben-worker CONNECTION get|set|value PREFIX COUNT: a workstation adding the new settings
// PREFIX0.. through GetVorgabe, SetVorgabe or clsProgVorgaben.Value. Before each it says "bereit" and
// waits for a line, so that two of them add each key at once. Exit 0 when all worked, else 1.
#include <QCoreApplication>
#include <cstdio>

#include "foundation/clsProgVorgaben.h"
#include "foundation/modUtils.h"
#include "platform/vb/VbError.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 5) return 2;
  try {
    auto con = std::make_shared<data::Connection>();
    con->Open(args.at(1));
    clsProgVorgaben vorgaben;
    vorgaben.LoadCustomProperties(vb::Variant(con));
    char line[8];
    for (int i = 0; i < args.at(4).toInt(); ++i) {
      std::puts("bereit");
      std::fflush(stdout);
      if (!std::fgets(line, sizeof line, stdin)) return 2;
      const QString key = args.at(3) + QString::number(i), value = QStringLiteral("Wert %1").arg(i);
      if (args.at(2) == QLatin1String("get")) GetVorgabe(key, value, con);
      else if (args.at(2) == QLatin1String("set")) SetVorgabe(key, value, con);
      else vorgaben.Value(key, vb::Variant(value));
    }
  } catch (const vb::VbError& e) {
    std::fprintf(stderr, "vorgaben-worker: %ld %s\n", long(e.number()), qPrintable(e.description()));
    return 1;
  }
  return 0;
}
