// The sample bookshop's web service for TarneloSrv's branch synchronisation, on 127.0.0.1:
//   tarnelo-webstub [port, default 8080] [script file]
// prints every request it gets and answers "infotimestamp" with the script's lines in turn (one
// reply a line, its rows joined by "<br>"), then "nix"; every other request gets "OK".
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "tests/support/WebStub.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  testsupport::WebStub stub(args.value(1, QStringLiteral("8080")).toUShort());
  if (!stub.listening()) {
    std::fprintf(stderr, "tarnelo-webstub: port %s is not free\n", qPrintable(args.value(1, QStringLiteral("8080"))));
    return 1;
  }
  if (args.size() > 2) {
    QFile script(args.at(2));
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
      std::fprintf(stderr, "tarnelo-webstub: cannot read %s\n", qPrintable(args.at(2)));
      return 1;
    }
    while (!script.atEnd()) stub.infotimestamp << script.readLine().trimmed();
  }
  stub.respond = [&stub](const testsupport::WebStub::Request& request, int) {
    std::printf("GET %s\n", qPrintable(request.target));
    std::fflush(stdout);
    return stub.scriptedResponse(request);
  };
  std::printf("Listening on %s\n", qPrintable(stub.baseUrl()));
  std::fflush(stdout);
  return app.exec();
}
