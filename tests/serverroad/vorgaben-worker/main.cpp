// vorgaben-worker CONNECTION get|set|value PREFIX COUNT
// A workstation adding the settings PREFIX0 .. PREFIX<COUNT-1>, none of which exists yet, through
// GetVorgabe, SetVorgabe or clsProgVorgaben.Value (loaded before), each as soon as a line arrives on
// stdin: two of them given their lines together add each key at the same moment. It says "bereit"
// when it waits for the next line. Exit 0 when every call worked, else 1 with the error.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "foundation/clsProgVorgaben.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/vb/VbError.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  QTextStream err(stderr);
  if (args.size() != 5) {
    err << "usage: vorgaben-worker CONNECTION get|set|value PREFIX COUNT\n";
    return 2;
  }
  const QString road = args.at(2), prefix = args.at(3);
  const int count = args.at(4).toInt();
  try {
    auto con = std::make_shared<data::Connection>();
    con->Open(args.at(1));
    clsProgVorgaben vorgaben;
    vorgaben.LoadCustomProperties(vb::Variant(con));
    char line[8];
    for (int i = 0; i < count; ++i) {
      std::fputs("bereit\n", stdout);
      std::fflush(stdout);
      if (!std::fgets(line, sizeof line, stdin)) return 2;
      const QString key = prefix + QString::number(i), value = QStringLiteral("Wert %1").arg(i);
      if (road == QLatin1String("get")) GetVorgabe(key, value, con);
      else if (road == QLatin1String("set")) SetVorgabe(key, value, con);
      else vorgaben.Value(key, vb::Variant(value));
    }
  } catch (const vb::VbError& e) {
    err << "vorgaben-worker: " << e.number() << " " << e.description() << "\n";
    return 1;
  }
  return 0;
}
