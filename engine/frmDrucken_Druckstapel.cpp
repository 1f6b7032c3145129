// The print batch: finished storage files kept as numbered members "SDRKnnn.LL" in the local
// path until a job ends with print (member by member, each with its own copies) or preview
// (all members merged into one).
#include "engine/frmDrucken.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include "foundation/modDebugOutput.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Format.h"
#include "platform/vb/VbError.h"

namespace {

constexpr long ErrPathFileAccess = 75;

// Member `nummer` of the batch kept in `ordner` ("SDRK001.LL"; four digits from 1000 on).
QString mitglied(const QString& ordner, int nummer, const QString& endung = QStringLiteral(".LL")) {
  return ordner + QStringLiteral("SDRK") + vb::Format(vb::Variant(nummer), QStringLiteral("000")) + endung;
}

// The batch lives beside the storage file: in the local path.
QString stapelOrdner(const QString& Speicherdatei) { return QFileInfo(Speicherdatei).path() + QLatin1Char('/'); }

}  // namespace

void frmDrucken::InDruckstapelAblegen() {
  // The member counts only once its file is there: a job without storage (cancelled, failed)
  // must not shift every later member onto the copies of another.
  const QString ziel = mitglied(stapelOrdner(Speicherdatei), StapelAnzahl + 1);
  if (QFileInfo::exists(ziel) && !QFile::remove(ziel)) vb::raise(ErrPathFileAccess);
  if (!QFileInfo::exists(Speicherdatei)) vb::raise(vb::ErrFileNotFound);
  // A member that cannot be written whole (disk full) is not taken; the storage file stays.
  if (QFile quelle(Speicherdatei); !quelle.copy(ziel))
    vb::raise(ErrPathFileAccess, QStringLiteral("InDruckstapelAblegen"),
              QStringLiteral("Die Druckdatei '%1' kann nicht in den Druckstapel gelegt werden: %2")
                  .arg(Speicherdatei, quelle.errorString()));
  ++StapelAnzahl;
  StapelDokumente.append(QStringLiteral("Dokument %1 (Vorlage '%2')")
                             .arg(StapelAnzahl)
                             .arg(QFileInfo(Speicherdatei).completeBaseName()));
  if (!QFile::remove(Speicherdatei)) vb::raise(ErrPathFileAccess);
}

void frmDrucken::DruckstapelDrucken() {
  InDruckstapelAblegen();
  StapelKopien.Add(AnzahlKopien());
  StapelMitgliederDrucken();
}

void frmDrucken::DruckstapelAusgeben(short AusgabeModus) {
  if (StapelAnzahl < 1) return;
  m_Running = true;
  JobBeginn();
  const auto jobEnde = qScopeGuard([this] { m_Running = false; });
  if (!VorschauSichtbar(AusgabeModus)) return;
  if (AusgabeModus == 1)
    DruckstapelVorschau();
  else
    StapelMitgliederDrucken();
}

void frmDrucken::StapelMitgliederDrucken() {
  const QString ordner = stapelOrdner(Speicherdatei);
  QStringList fehlend;
  for (int b = 1; b <= StapelAnzahl; ++b) {
    Speicherdatei = mitglied(ordner, b);
    // A member that did not reach its printer stays on disk (until the next window clears them).
    const Druckausfall ausfall = SpeicherdateiDrucken(vb::Variant(StapelKopien.Item(b)));
    if (ausfall.meldung.isEmpty()) {
      LL().DeletePreviewFiles(Speicherdatei, QString());
      continue;
    }
    DebugOutput(ausfall.meldung);
    const QString dokument = b <= StapelDokumente.size() ? StapelDokumente.at(b - 1) : QStringLiteral("Dokument %1").arg(b);
    fehlend << QStringLiteral("%1: %2").arg(dokument, ausfall.grund);
  }
  StapelLeeren();
  if (!fehlend.isEmpty())
    JobFehler(QStringLiteral("Diese Dokumente des Druckstapels wurden nicht gedruckt, ihre Druckdateien bleiben "
                             "erhalten:\n") +
              fehlend.join(QLatin1Char('\n')));
}

void frmDrucken::StapelLeeren() {
  StapelKopien.Clear();
  StapelDokumente.clear();
  StapelAnzahl = 0;
}

void frmDrucken::DruckstapelVorschau() {
  const QString ordner = stapelOrdner(Speicherdatei);
  const int erstes = LL().OpenStorage(mitglied(ordner, 1), QString(), 0, 0);
  for (int m = 2; m <= StapelAnzahl; ++m) {
    const int weiteres = LL().OpenStorage(mitglied(ordner, m), QString(), 0, 0);
    LL().AppendStorage(erstes, weiteres);
    LL().CloseStorage(weiteres);
  }
  LL().CloseStorage(erstes);
  Speicherdatei = mitglied(ordner, 1);
  // The control finds the storage of project "SDRK001.LST" in "SDRK001.LL".
  LL().ShowPreview(mitglied(ordner, 1, QStringLiteral(".LST")), QString(), nullptr);
  for (int d = 1; d <= StapelAnzahl; ++d) LL().DeletePreviewFiles(mitglied(ordner, d), QString());
  StapelLeeren();
}

void frmDrucken::DruckstapelVerwerfen() {
  const QString ordner = stapelOrdner(Speicherdatei);
  for (int d = 1; d <= StapelAnzahl; ++d) QFile::remove(mitglied(ordner, d));
  StapelLeeren();
}
