// One of the concurrent clients of the stock benchmark, a process of its own on the session bus:
//   stockbench-client PROGID ARTICLES CALLS START
// creates PROGID's Application ("TarneloDCOM.Application": infofelder, then AddInfo;
// "TarneloSrv.Application": connected from the settings, then SearchArtNr), says "bereit", waits
// for a line on stdin, makes CALLS calls on found articles of the generated bookshop of ARTICLES
// articles, says the time of each in microseconds on one line ("us 812 790 …", "fehler <text>"
// when a call fails or a found article comes back without its stock) and releases its object
// when stdin closes.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <iostream>
#include <string>

#include "bench/Lagerabfragen.h"
#include "platform/automation/Client.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace {

using automation::CallKind;
using automation::callByName;

void sagen(const QString& zeile) {
  std::printf("%s\n", qPrintable(zeile));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() != 5) {
    std::fprintf(stderr, "usage: stockbench-client PROGID ARTICLES CALLS START\n");
    return 2;
  }
  const QString progId = a.at(1);
  const bool dcom = progId.startsWith(QLatin1String("TarneloDCOM"), Qt::CaseInsensitive);
  lagerbench::Abfragen abfragen(a.at(2).toInt(), a.at(4).toUInt());
  const int aufrufe = a.at(3).toInt();
  std::shared_ptr<QObject> objekt;
  try {
    objekt = automation::createRemoteObject(progId);
    if (dcom) callByName(*objekt, QStringLiteral("infofelder"), CallKind::Method);
    else callByName(*objekt, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant::nothing()});
  } catch (const vb::VbError& e) {
    sagen(QStringLiteral("fehler ") + e.description());
    return 1;
  }
  sagen(QStringLiteral("bereit"));
  std::string zeile;
  if (!std::getline(std::cin, zeile)) return 1;

  QString zeiten = QStringLiteral("us");
  QString fehler;
  try {
    for (int i = 0; i < aufrufe; ++i) {
      const lagerbench::Abfrage abfrage = abfragen.naechste(lagerbench::Fall::Treffer);
      QElapsedTimer uhr;
      uhr.start();
      if (dcom) {
        const QString antwort =
            vb::CStr(callByName(*objekt, QStringLiteral("AddInfo"), CallKind::Method, {vb::Variant(lagerbench::infoSatz(abfrage))}));
        const qint64 ns = uhr.nsecsElapsed();
        if (fehler.isEmpty() && lagerbench::feld(antwort, 70) != abfrage.bestand)
          fehler = QStringLiteral("fehler %1: Bestand '%2' statt %3").arg(abfrage.nummer, lagerbench::feld(antwort, 70), abfrage.bestand);
        zeiten += QLatin1Char(' ') + QString::number(ns / 1000);
      } else {
        QList<vb::Variant> args{vb::Variant(abfrage.nummer)};
        callByName(*objekt, QStringLiteral("SearchArtNr"), CallKind::Method, args);
        zeiten += QLatin1Char(' ') + QString::number(uhr.nsecsElapsed() / 1000);
      }
    }
  } catch (const vb::VbError& e) {
    fehler = QStringLiteral("fehler ") + e.description();
  }
  sagen(fehler.isEmpty() ? zeiten : fehler);
  while (std::getline(std::cin, zeile)) {
  }
  objekt.reset();
  return fehler.isEmpty() ? 0 : 1;
}
