// A host of the engine in a process of its own that knows nothing of the engine but the bridge's
// client library: it creates the engine's objects over the session bus and drives them by name.
// Each answer goes to stdout as one "Name=Wert" line.
//
//   skrivant-testhost dokument <datenverzeichnis> <lokaler pfad> <datenbank> <pdf> <formstatus> <formnummer>
//       one invoice from the hand-over database to a PDF, and a handler of the host's own
//       process offered as ConnectList
//   skrivant-testhost mahnung <datenverzeichnis> <datenbank> <pdf> <formnummer>
//       a dunning letter of level 2 with two invoices to a PDF through clsMahnungDrucken
//   skrivant-testhost kunde <datenverzeichnis> <datenbank> <formstatus> <formnummer> [rueckruf]
//       creates an Application on the engine's connection handler, loads the form (which makes
//       the handler the engine's process-wide one), says "bereit" and waits to be killed; with
//       "rueckruf" it says so once CreateFormularTyp calls back its record set, which never answers
//   skrivant-testhost absturz <kunde's first four arguments> gestartet|aktiviert [rueckruf]
//       starts "kunde", kills it with SIGKILL once it is ready and waits for the engine to end;
//       with "gestartet" it first waits for an engine its caller started to own its bus name
//   skrivant-testhost kleinteile <datenverzeichnis> <datenbank>
//       prints the "Kleinteile" queue of the database (groups 1, 2, 4 and 6 on it)
//   skrivant-testhost gestaltung <datenverzeichnis> <datenbank> <formstatus> <formnummer> [halten]
//       opens the template manager on the form, releases everything and says whether the engine
//       still serves a while later; with "halten" it says "offen" and waits to be killed instead
//   skrivant-testhost formulartyp|formulardruck ...   see Formulartyp.h
#include <QCoreApplication>
#include <QDate>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <memory>

#include "platform/automation/Client.h"
#include "platform/automation/Server.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "tests/hosts/testhost/Formulartyp.h"

namespace {

using automation::CallKind;

const QString kJet = QStringLiteral("Microsoft.Jet.OLEDB.4.0");

void zeile(const QString& name, const QString& wert) {
  std::printf("%s=%s\n", qPrintable(name), qPrintable(wert));
  std::fflush(stdout);
}

vb::Variant rufe(QObject& obj, const QString& member, const QList<vb::Variant>& args = {}) {
  return automation::callByName(obj, member, CallKind::Method, args);
}

void setze(QObject& obj, const QString& member, const QList<vb::Variant>& args) {
  automation::callByName(obj, member, CallKind::Let, args);
}

QString fehlerText(const vb::VbError& e) {
  return QStringLiteral("%1|%2|%3").arg(e.number()).arg(e.source(), e.description());
}

// The engine's own connection handler with the form tables (4) and settings (6) of `datenbank`,
// and the other `gruppen`.
std::shared_ptr<QObject> verbindungen(const QString& daten, const QString& datenbank,
                                      QList<std::int16_t> gruppen = {}) {
  auto handler = automation::createRemoteObject(QStringLiteral("Skrivant.clsConnectionHandler"));
  for (const std::int16_t gruppe : gruppen << std::int16_t(4) << std::int16_t(6)) {
    setze(*handler, QStringLiteral("SQLGruppe_DB_Provider"), {gruppe, kJet});
    setze(*handler, QStringLiteral("SQLGruppe_DB_Properties"),
          {gruppe, QStringLiteral("Jet OLEDB:System database"), daten + QStringLiteral("SYSTEM.MDW")});
    setze(*handler, QStringLiteral("SQLGruppe_DB_OpenConnection"), {gruppe, QStringLiteral("Data Source=") + datenbank});
  }
  return handler;
}

std::int16_t kurz(const QString& text) { return static_cast<std::int16_t>(text.toInt()); }

// A record set that says "bereit" when the engine first calls it and then never answers.
class Haengend : public QObject {
  Q_OBJECT
 public:
  Q_INVOKABLE vb::Variant Fields() {
    zeile(QStringLiteral("bereit"), QString::number(QCoreApplication::applicationPid()));
    QThread::sleep(600);
    return {};
  }
};

// Waits for the end of the job; the answers IsBesetzt and GetExitCode.
void auftragsende(QObject& obj) {
  const QDeadlineTimer frist(120000);
  bool besetzt = true;
  while (!frist.hasExpired() &&
         (besetzt = vb::CBool(automation::callByName(obj, QStringLiteral("IsBesetzt"), CallKind::Get))))
    QThread::msleep(50);
  zeile(QStringLiteral("IsBesetzt"), besetzt ? QStringLiteral("True") : QStringLiteral("False"));
  zeile(QStringLiteral("GetExitCode"), vb::CStr(rufe(obj, QStringLiteral("GetExitCode"))));
}

int dokument(const QStringList& a) {
  const QString daten = a.at(0), lokal = a.at(1), datenbank = a.at(2), pdf = a.at(3);

  auto app = automation::createRemoteObject(QStringLiteral("Skrivant.Application"));
  const auto handler = verbindungen(daten, datenbank);

  // A handler of this process cannot carry the engine's connections.
  try {
    automation::callByName(*app, QStringLiteral("ConnectList"), CallKind::Set,
                           {vb::Variant(std::make_shared<QObject>())});
    zeile(QStringLiteral("FremderHandler"), QStringLiteral("angenommen"));
  } catch (const vb::VbError& e) {
    zeile(QStringLiteral("FremderHandler"), fehlerText(e));
  }
  automation::callByName(*app, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(handler)});

  // The engine trims the caller's variable.
  QList<vb::Variant> pfad{QStringLiteral("  ") + lokal + QStringLiteral("  ")};
  automation::callByName(*app, QStringLiteral("LokalerPfad"), CallKind::Let, pfad);
  zeile(QStringLiteral("LokalerPfadZurueck"), vb::CStr(pfad.at(0)));
  setze(*app, QStringLiteral("Datenverzeichnis"), {daten});

  rufe(*app, QStringLiteral("SetDataBaseName"), {datenbank});
  rufe(*app, QStringLiteral("Clear"));
  rufe(*app, QStringLiteral("SetDruckerOptionen"), {kurz(a.at(4)), kurz(a.at(5))});
  rufe(*app, QStringLiteral("SetAnschrift"),
       {QStringLiteral("Städtische Bücherei\r\nFrau Lange\r\nAm Markt 3\r\n12345 Musterstadt"), std::int16_t(0)});
  rufe(*app, QStringLiteral("SetVorText"), {QStringLiteral("Wir berechnen Ihnen wie folgt:")});
  rufe(*app, QStringLiteral("SetSchlussText"), {QStringLiteral("Zu zahlen: <EndBetrag>")});
  rufe(*app, QStringLiteral("SetRechnungNr"), {QStringLiteral("R-4711")});
  rufe(*app, QStringLiteral("SetAbschluss"),
       {QStringLiteral("19"), QStringLiteral("E"), QStringLiteral("0"), QString(), QStringLiteral("EUR"),
        QStringLiteral("Netto"), QStringLiteral("MwSt"), QStringLiteral("Brutto")});
  setze(*app, QStringLiteral("MWSTSatz_halb"), {0.07});
  rufe(*app, QStringLiteral("SetDruckwährung"), {QStringLiteral("EUR")});
  rufe(*app, QStringLiteral("ClearAbschluss"));
  rufe(*app, QStringLiteral("AddAbschluss"), {QStringLiteral("Zwischensumme"), QStringLiteral("Summe netto"), true});
  rufe(*app, QStringLiteral("AddAbschluss"), {QStringLiteral("MWST"), QStringLiteral("zzgl. [MWSTSatz] USt."), false});
  rufe(*app, QStringLiteral("AddAbschluss"), {QStringLiteral("Brutto"), QStringLiteral("Rechnungsbetrag"), true});
  setze(*app, QStringLiteral("PDFArchivDatei"), {pdf});
  zeile(QStringLiteral("PDFAusgabeDokument"), vb::CStr(rufe(*app, QStringLiteral("PDFAusgabeDokument"))));
  auftragsende(*app);
  zeile(QStringLiteral("GetGesamtBetrag"), vb::CStr(rufe(*app, QStringLiteral("GetGesamtBetrag"))));

  // The third class the program serves.
  const auto position = automation::createRemoteObject(QStringLiteral("Skrivant.clsPrintPos"));
  setze(*position, QStringLiteral("EP"), {12.5});
  zeile(QStringLiteral("PrintPosEPMaterial"),
        vb::CStr(automation::callByName(*position, QStringLiteral("EP_Material"), CallKind::Get)));

  // An error of the engine arrives with its number and description.
  try {
    rufe(*app, QStringLiteral("GibtEsNicht"));
  } catch (const vb::VbError& e) {
    zeile(QStringLiteral("UnbekanntesMitglied"), fehlerText(e));
  }
  return 0;
}

int mahnung(const QStringList& a) {
  const QString daten = a.at(0), datenbank = a.at(1), pdf = a.at(2);
  auto brief = automation::createRemoteObject(QStringLiteral("Skrivant.clsMahnungDrucken"));
  automation::callByName(*brief, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(verbindungen(daten, datenbank))});
  setze(*brief, QStringLiteral("Datenverzeichnis"), {daten});
  setze(*brief, QStringLiteral("MahnstufenText"), {QStringLiteral("2")});
  rufe(*brief, QStringLiteral("SetDruckerOptionen"), {std::int16_t(130), kurz(a.at(3))});
  zeile(QStringLiteral("VorText"), vb::CStr(automation::callByName(*brief, QStringLiteral("VorText"), CallKind::Get)));
  setze(*brief, QStringLiteral("KundenNr"), {QStringLiteral("K-815")});
  setze(*brief, QStringLiteral("Anschrift"), {QStringLiteral("Städtische Bücherei\r\nAm Markt 3\r\n12345 Musterstadt")});
  setze(*brief, QStringLiteral("Druckdatum"), {QDateTime(QDate(2026, 12, 8), QTime(16, 30))});
  setze(*brief, QStringLiteral("Mahngebühren"), {5.0});
  rufe(*brief, QStringLiteral("SetDruckwährung"), {QStringLiteral("EUR")});
  rufe(*brief, QStringLiteral("AddRechnung"),
       {std::int16_t(2), QStringLiteral("R-1001"), QDateTime(QDate(2026, 10, 1), QTime(0, 0)),
        QDateTime(QDate(2026, 11, 20), QTime(15, 0)), 100.004, 20.0, QString()});
  rufe(*brief, QStringLiteral("AddRechnung"),
       {std::int16_t(2), QStringLiteral("R-1002"), QDateTime(QDate(2026, 10, 15), QTime(0, 0)),
        QDateTime(QDate(2026, 11, 30), QTime(0, 0)), 50.0, 0.0, QString()});
  setze(*brief, QStringLiteral("PDFArchivDatei"), {pdf});
  zeile(QStringLiteral("PDFAusgabeDokument"), vb::CStr(rufe(*brief, QStringLiteral("PDFAusgabeDokument"))));
  auftragsende(*brief);
  return 0;
}

int kunde(const QStringList& a) {
  auto app = automation::createRemoteObject(QStringLiteral("Skrivant.Application"));
  const auto handler = verbindungen(a.at(0), a.at(1));
  automation::callByName(*app, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(handler)});
  setze(*app, QStringLiteral("Datenverzeichnis"), {a.at(0)});
  rufe(*app, QStringLiteral("SetDataBaseName"), {a.at(1)});
  rufe(*app, QStringLiteral("SetDruckerOptionen"), {kurz(a.at(2)), kurz(a.at(3))});
  if (a.value(4) != QLatin1String("rueckruf")) {
    zeile(QStringLiteral("bereit"), QString::number(QCoreApplication::applicationPid()));
    return QCoreApplication::exec();
  }
  auto druck = automation::createRemoteObject(QStringLiteral("Skrivant.clsDruckAllgemein"));
  automation::callByName(*druck, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(handler)});
  const auto satz = std::make_shared<Haengend>();
  rufe(*druck, QStringLiteral("CreateFormularTyp"),
       {std::int32_t(1001), QStringLiteral("Lieferschein"), QString(), std::int16_t(2), vb::Variant(satz), vb::Variant(satz)});
  return 0;
}

int absturz(const QStringList& a) {
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  const QString name = automation::busNameFor(QStringLiteral("Skrivant"));

  if (a.value(4) == QLatin1String("gestartet")) {
    const QDeadlineTimer start(30000);
    while (!start.hasExpired() && !bus->isServiceRegistered(name)) QThread::msleep(50);
  }

  QProcess kind;
  kind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  kind.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("kunde")} + a.mid(0, 4) + a.mid(5, 1));
  QByteArray ausgabe;
  const QDeadlineTimer frist(60000);
  // The host's engine process starts first: under load its first answer may take a while.
  while (!ausgabe.contains("bereit=") && !frist.hasExpired() && kind.state() != QProcess::NotRunning) {
    kind.waitForReadyRead(1000);
    ausgabe += kind.readAll();
  }
  if (!ausgabe.contains("bereit=")) {
    zeile(QStringLiteral("Kunde"), QStringLiteral("nicht bereit: ") + QString::fromLocal8Bit(ausgabe));
    return 1;
  }
  const uint engine = bus->servicePid(name);
  zeile(QStringLiteral("EngineLaeuft"), bus->isServiceRegistered(name) && engine ? QStringLiteral("ja") : QStringLiteral("nein"));
  kind.kill();  // SIGKILL: the host gets no chance to release anything
  kind.waitForFinished();

  const QDeadlineTimer ende(30000);
  while (!ende.hasExpired() && bus->isServiceRegistered(name)) QThread::msleep(50);
  zeile(QStringLiteral("EngineNameFrei"), bus->isServiceRegistered(name) ? QStringLiteral("nein") : QStringLiteral("ja"));
  // The process itself is gone too, not only its name.
  while (!ende.hasExpired() && QFile::exists(QStringLiteral("/proc/%1").arg(engine))) QThread::msleep(50);
  zeile(QStringLiteral("EngineBeendet"), QFile::exists(QStringLiteral("/proc/%1").arg(engine)) ? QStringLiteral("nein")
                                                                                               : QStringLiteral("ja"));
  return 0;
}

int kleinteile(const QStringList& a) {
  auto app = automation::createRemoteObject(QStringLiteral("Skrivant.Application"));
  automation::callByName(*app, QStringLiteral("ConnectList"), CallKind::Set,
                         {vb::Variant(verbindungen(a.at(0), a.at(1), {std::int16_t(1), std::int16_t(2)}))});
  setze(*app, QStringLiteral("Datenverzeichnis"), {a.at(0)});
  rufe(*app, QStringLiteral("SetDataBaseName"), {a.at(1)});
  QList<vb::Variant> vorschau{false};
  zeile(QStringLiteral("DruckeKleinteile"),
        vb::CStr(automation::callByName(*app, QStringLiteral("DruckeKleinteile"), CallKind::Method, vorschau)));
  zeile(QStringLiteral("BeimDrucken"),
        vb::CBool(rufe(*app, QStringLiteral("BeimDrucken"))) ? QStringLiteral("True") : QStringLiteral("False"));
  zeile(QStringLiteral("GetExitCode"), vb::CStr(rufe(*app, QStringLiteral("GetExitCode"))));
  return 0;
}

int gestaltung(const QStringList& a) {
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  const QString name = automation::busNameFor(QStringLiteral("Skrivant"));
  {
    auto app = automation::createRemoteObject(QStringLiteral("Skrivant.Application"));
    automation::callByName(*app, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(verbindungen(a.at(0), a.at(1)))});
    setze(*app, QStringLiteral("Datenverzeichnis"), {a.at(0)});
    rufe(*app, QStringLiteral("FormularGestaltung"), {kurz(a.at(2)), kurz(a.at(3))});
    zeile(QStringLiteral("IsBesetzt"),
          vb::CBool(rufe(*app, QStringLiteral("IsBesetzt"))) ? QStringLiteral("True") : QStringLiteral("False"));
    zeile(QStringLiteral("EnginePid"), QString::number(bus->servicePid(name)));
    if (a.value(4) == QLatin1String("halten")) {
      zeile(QStringLiteral("offen"), QStringLiteral("ja"));
      return QCoreApplication::exec();
    }
  }
  // The release reaches the engine at once; an engine that took it as its end would be gone by then.
  QThread::msleep(1500);
  zeile(QStringLiteral("EngineNachFreigabe"), bus->isServiceRegistered(name) ? QStringLiteral("ja") : QStringLiteral("nein"));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  const QString was = args.value(0);
  try {
    if (was == QLatin1String("dokument") && args.size() == 7) return dokument(args.mid(1));
    if (was == QLatin1String("mahnung") && args.size() == 5) return mahnung(args.mid(1));
    if (was == QLatin1String("kunde") && (args.size() == 5 || args.size() == 6)) return kunde(args.mid(1));
    if ((was == QLatin1String("formulartyp") || was == QLatin1String("formulardruck")) && args.size() == 3)
      return formulartyp(args.mid(1), was == QLatin1String("formulardruck"));
    if (was == QLatin1String("absturz") && args.size() >= 5 && args.size() <= 7) return absturz(args.mid(1));
    if (was == QLatin1String("kleinteile") && args.size() == 3) return kleinteile(args.mid(1));
    if (was == QLatin1String("gestaltung") && (args.size() == 5 || args.size() == 6)) return gestaltung(args.mid(1));
  } catch (const vb::VbError& e) {
    zeile(QStringLiteral("Fehler"), fehlerText(e));
    return 2;
  }
  std::fprintf(stderr, "usage: skrivant-testhost dokument|mahnung|kunde|absturz|kleinteile|gestaltung ...\n");
  return 64;
}

#include "main.moc"
