// The storage file on paper: copy by copy and page by page through the printer and paper bin that
// the form's routes name for this workstation, and the page count of a storage file.
#include "engine/frmDrucken.h"

#include <optional>

#include "engine/clsDruckerSchacht.h"
#include "engine/modSystem.h"
#include "foundation/modDebugOutput.h"
#include "platform/printing/PrinterCatalogue.h"
#include "platform/printing/PrinterSession.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"

namespace {

// A failing statement is logged as "PreviewAnDrucker <number>: <text>" and the next one runs,
// so one bad page or printer never stops the remaining copies.
template <typename F>
void schritt(F&& anweisung) {
  vb::resumeNext(QStringLiteral("PreviewAnDrucker"), std::forward<F>(anweisung));
}

// The device name of the first installed printer called `name` (letter case ignored).
std::optional<QString> installierterDrucker(const QString& name) {
  for (const printing::PrinterInfo& p : printing::catalogue().printers())
    if (QString::compare(p.deviceName, name, Qt::CaseInsensitive) == 0) return p.deviceName;
  return std::nullopt;
}

// The first failure of a print that did not reach its printer: which printer, and why.
struct Druckfehler {
  QString drucker;
  QString grund;
  void merken(const QString& d, const vb::VbError& e) {
    if (grund.isEmpty()) {
      drucker = d;
      grund = e.description();
    }
  }
};

// A step of the printer session; its failure is logged as any other and kept for the message.
template <typename F>
void druckSchritt(Druckfehler& fehler, const QString& drucker, F&& anweisung) {
  if (const auto e = vb::resumeNext(QStringLiteral("PreviewAnDrucker"), std::forward<F>(anweisung)))
    fehler.merken(drucker, *e);
}

// The route's printer and bin for the pages that follow. A printer that is not installed changes
// nothing: the pages go on where they went, and the bin stays unknown so the next page tries again.
void druckerWechseln(printing::PrinterSession& sitzung, Druckfehler& fehler, QString& aktDrucker, int& aktSchacht,
                     const QString& drucker, int schacht) {
  if (const auto gefunden = installierterDrucker(drucker)) {
    const bool andererDrucker = QString::compare(*gefunden, sitzung.printer(), Qt::CaseInsensitive) != 0;
    if (!aktDrucker.isEmpty()) druckSchritt(fehler, sitzung.printer(), [&] { sitzung.end(); });
    schritt([&] { sitzung.setPrinter(*gefunden); });
    // Bin 0 leaves the printer's bin alone; a printer we just moved to starts on its own bin.
    if (schacht > 0)
      schritt([&] { sitzung.setBin(schacht); });
    else if (andererDrucker)
      schritt([&] { sitzung.setBin(0); });
    aktSchacht = schacht;
    druckSchritt(fehler, sitzung.printer(), [&] { sitzung.painter(); });
  } else if (sitzung.printer().isEmpty() && !drucker.isEmpty()) {
    // Nothing to fall back on: the pages are tried on the route's printer, so the spooler says
    // what became of it.
    schritt([&] { sitzung.setPrinter(drucker); });
  }
  aktDrucker = drucker;
  DebugOutput(QStringLiteral("PrinterWechseln->"));
}

}  // namespace

bool frmDrucken::PreviewAnDrucker(const QString&, const vb::Variant& Kopien) {
  const Druckausfall ausfall = SpeicherdateiDrucken(Kopien);
  if (ausfall.meldung.isEmpty()) return true;
  JobFehler(ausfall.meldung);
  return false;
}

frmDrucken::Druckausfall frmDrucken::SpeicherdateiDrucken(const vb::Variant& Kopien) {
  int h = 0;
  int seiten = 0;
  int anzahl = 0;
  QSizeF papier;
  QString lesefehler;
  schritt([&] { h = LL().OpenStorage(Speicherdatei, QString(), 1, 0); });
  // Why the file did not open; the calls on its handle that follow would only blame the handle.
  if (h <= 0) lesefehler = LL().lastError();
  schritt([&] { LL().SetStorageJob(h, 1); });
  schritt([&] { seiten = LL().StoragePageCount(h); });
  if (h > 0 && seiten < 0) lesefehler = LL().lastError();
  if (h <= 0 || seiten < 0) {
    return {QStringLiteral("Die Druckdatei '%1' kann nicht gelesen werden: %2").arg(Speicherdatei, lesefehler),
            QStringLiteral("die Druckdatei kann nicht gelesen werden: %1").arg(lesefehler)};
  }
  // The paper is the template's: the size and orientation of the first page.
  if (seiten > 0) schritt([&] { LL().StoragePageSize(h, 1, papier); });
  schritt([&] { anzahl = vb::CLng(Kopien); });

  printing::PrinterSession sitzung(ApplicationTitel(), printing::printDocument(),
                                   papier.isValid() ? QPageSize(papier, QPageSize::Millimeter) : QPageSize(QPageSize::A4));
  Druckfehler fehler;
  bool keinStandard = false;
  // Kept over pages as the route answers were: a failed query leaves the last answer.
  QString drucker;
  int schacht = 0;
  for (int c = 1; c <= anzahl; ++c) {
    QString aktDrucker;
    int aktSchacht = -1;
    const short exemplar = static_cast<short>(c + AktExemplar);
    bool rueckwaerts = false;
    schritt([&] { rueckwaerts = DruckerSchacht->LetzteSeiteZuerst(exemplar, 1); });
    for (int i = 0; i < seiten; ++i) {
      const int s = rueckwaerts ? seiten - i : i + 1;
      const bool gefragt = !vb::resumeNext(QStringLiteral("PreviewAnDrucker"), [&] {
        drucker = DruckerSchacht->Drucker(exemplar, static_cast<short>(s));
      });
      bool wieErsteSeite = false;
      if (gefragt && drucker.isEmpty() && DruckerSchacht->FindDruckerRoute(exemplar, static_cast<short>(s))) {
        // A further-pages route left without a printer prints where the copy's first page prints
        // (the default printer when that names none either).
        if (DruckerSchacht->OhneDrucker(exemplar, static_cast<short>(s))) {
          wieErsteSeite = true;
          const bool erste = s > 1 && DruckerSchacht->FindDruckerRoute(exemplar, 1) &&
                             !DruckerSchacht->OhneDrucker(exemplar, 1);
          drucker = erste ? DruckerSchacht->Drucker(exemplar, 1) : DefaultPrinterName();
          schacht = erste ? DruckerSchacht->SchachtNr(exemplar, 1) : 0;
        }
        // A "Standard" route without a default printer names none: the page goes nowhere, and
        // not to whichever printer happens to be current. (A page without any route goes to the
        // current printer.)
        if (drucker.isEmpty()) {
          keinStandard = true;
          continue;
        }
      }
      if (!wieErsteSeite) schritt([&] { schacht = DruckerSchacht->SchachtNr(exemplar, static_cast<short>(s)); });
      if (QString::compare(drucker, aktDrucker, Qt::CaseInsensitive) != 0 || schacht != aktSchacht)
        druckerWechseln(sitzung, fehler, aktDrucker, aktSchacht, drucker, schacht);
      const QString ziel = sitzung.printer().isEmpty() ? drucker : sitzung.printer();
      druckSchritt(fehler, ziel, [&] { LL().DrawStoragePage(h, sitzung.painter(), s); });
      // Last page first: the sheet of page 1 is the last one, so no new sheet after it.
      if (!rueckwaerts || s > 1) druckSchritt(fehler, ziel, [&] { sitzung.newPage(); });
    }
    druckSchritt(fehler, sitzung.printer(), [&] { sitzung.end(); });
  }
  schritt([&] { LL().CloseStorage(h); });

  if (keinStandard)
    return {QStringLiteral("Es ist kein Standarddrucker eingerichtet. Die Druckdatei '%1' wurde nicht gedruckt und "
                           "bleibt erhalten.")
                .arg(Speicherdatei),
            QStringLiteral("es ist kein Standarddrucker eingerichtet")};
  if (!fehler.grund.isEmpty())
    return {QStringLiteral("Drucken auf '%1' fehlgeschlagen: %2\nDie Druckdatei '%3' bleibt erhalten.")
                .arg(fehler.drucker, fehler.grund, Speicherdatei),
            QStringLiteral("Drucken auf '%1' fehlgeschlagen: %2").arg(fehler.drucker, fehler.grund)};
  return {};
}

short frmDrucken::GetSeitenanzahl() {
  const int h = LL().OpenStorage(Speicherdatei, QString(), 1, 0);
  LL().SetStorageJob(h, 1);
  // A negative status is no page count: a storage that cannot be read has no pages.
  const int seiten = qMax(0, LL().StoragePageCount(h));
  LL().CloseStorage(h);
  return vb::CInt(vb::Variant(seiten));
}
