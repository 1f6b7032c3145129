// Generic form types over the bus: the engine calls back the record sets that live in this
// process while the host waits in its own call.
#include "tests/hosts/testhost/Formulartyp.h"

#include <QDateTime>
#include <cstdio>
#include <memory>

#include "platform/automation/Client.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "tests/support/HostDatensatz.h"

namespace {

using automation::CallKind;
using testsupport::HostDatensatz;

void ausgeben(const QString& name, const QString& wert) {
  std::printf("%s=%s\n", qPrintable(name), qPrintable(wert));
  std::fflush(stdout);
}

vb::Variant rufe(QObject& o, const char* member, const QList<vb::Variant>& args = {}, CallKind art = CallKind::Method) {
  return automation::callByName(o, QString::fromLatin1(member), art, args);
}

}  // namespace

int formulartyp(const QStringList& a, bool drucken) {
  const QString daten = a.at(0), datenbank = a.at(1);
  auto druck = automation::createRemoteObject(QStringLiteral("Skrivant.clsDruckAllgemein"));
  auto verbindungen = automation::createRemoteObject(QStringLiteral("Skrivant.clsConnectionHandler"));
  for (const std::int16_t gruppe : {std::int16_t(4), std::int16_t(6)}) {
    rufe(*verbindungen, "SQLGruppe_DB_Provider", {gruppe, QStringLiteral("Microsoft.Jet.OLEDB.4.0")}, CallKind::Let);
    rufe(*verbindungen, "SQLGruppe_DB_Properties",
         {gruppe, QStringLiteral("Jet OLEDB:System database"), daten + QStringLiteral("SYSTEM.MDW")}, CallKind::Let);
    rufe(*verbindungen, "SQLGruppe_DB_OpenConnection", {gruppe, QStringLiteral("Data Source=") + datenbank},
         CallKind::Let);
  }
  rufe(*druck, "ConnectList", {vb::Variant(verbindungen)}, CallKind::Set);
  rufe(*druck, "Datenverzeichnis", {daten}, CallKind::Let);

  // Desktop-database type codes: 4 Long, 10 Text, 8 Date, 1 Boolean, 7 Double.
  auto kopf = std::make_shared<HostDatensatz>(
      QStringList{"Nummer", "Kunde", "Datum", "Bezahlt"}, QList<int>{4, 10, 8, 1},
      QList<QList<vb::Variant>>{{4711, QStringLiteral("Bücherei Nord"), QDateTime(QDate(2026, 12, 8), QTime(0, 0)), true}});
  auto detail = std::make_shared<HostDatensatz>(
      QStringList{"Pos", "Artikel", "Menge"}, QList<int>{4, 10, 7},
      QList<QList<vb::Variant>>{{1, QStringLiteral("Ringbuch"), 2.5}, {2, QStringLiteral("Atlas"), 1.0},
                                {3, QStringLiteral("Globus"), 4.0}});

  if (!drucken) {
    try {
      rufe(*druck, "CreateFormularTyp", {std::int32_t(130), QStringLiteral("Mahnung?"), QString(), std::int16_t(2),
                                         vb::Variant(kopf), vb::Variant(detail)});
      ausgeben(QStringLiteral("Nummer130"), QStringLiteral("angenommen"));
    } catch (const vb::VbError& e) {
      ausgeben(QStringLiteral("Nummer130"), QString::number(e.number()));
    }
    const vb::Variant r = rufe(*druck, "CreateFormularTyp",
                               {std::int32_t(1001), QStringLiteral("Lieferschein"), QStringLiteral("über den Bus"),
                                std::int16_t(2), vb::Variant(kopf), vb::Variant(detail)});
    ausgeben(QStringLiteral("CreateFormularTyp"), r.isEmpty() ? QStringLiteral("leer") : vb::CStr(r));
    return 0;
  }
  rufe(*druck, "SetDruckerOptionen", {std::int16_t(1001), std::int16_t(1)});
  rufe(*druck, "KopfDaten", {vb::Variant(kopf)}, CallKind::Set);
  rufe(*druck, "DetailDaten", {vb::Variant(detail)}, CallKind::Set);
  rufe(*druck, "SetAnzahlKopien", {std::int16_t(2)});
  ausgeben(QStringLiteral("AddToDruckstapel"), vb::CStr(rufe(*druck, "AddToDruckstapel")));
  ausgeben(QStringLiteral("GetExitCode"), vb::CStr(rufe(*druck, "GetExitCode")));
  ausgeben(QStringLiteral("KopfGelesen"), kopf->gelesen().join(QLatin1Char(',')));
  ausgeben(QStringLiteral("DetailGelesen"), detail->gelesen().filter(QStringLiteral("Artikel=")).join(QLatin1Char(',')));
  return 0;
}
