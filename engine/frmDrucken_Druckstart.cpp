// Print start and job end of every pass: the job goes into a storage file (or straight into the
// PDF), and the job end previews it, prints it through our own tray routing, or keeps it as a
// print-batch member.
#include "engine/frmDrucken.h"

#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/report/IReportControl.h"
#include "platform/report/ReportControl.h"
#include "platform/ui/Dialogs.h"

namespace {

// Where the last folder separator of a path ends; hosts send Windows paths, our own are Linux
// ones, so both separators count.
qsizetype ordnerLaenge(const QString& pfad) {
  return qMax(pfad.lastIndexOf(QLatin1Char('/')), pfad.lastIndexOf(QLatin1Char('\\'))) + 1;
}

QString dateiTeil(const QString& pfad) { return pfad.mid(ordnerLaenge(pfad)); }
QString ordnerTeil(const QString& pfad) { return pfad.left(ordnerLaenge(pfad)); }

// The project name under which the control finds the job's storage in the local path.
QString projektImLokalenPfad(const QString& Formatdatei) { return GetLokalerPfad() + dateiTeil(Formatdatei); }

constexpr int kBoxMitAbbruch = 2;
constexpr int kOptionDruckziel = 13;
constexpr int kDruckzielVorschau = 2;
constexpr int kOptionNachStart = 21;

}  // namespace

int frmDrucken::DruckInitialisieren(short AusgabeModus, const QString& Formatdatei) {
  DebugOutput(QStringLiteral("->DruckInitialisieren"));
  LL().SetPrinterDefaultsDir(GetLokalerPfad());
  // The control names its storage after the template with only the final extension replaced
  // ("Re.lst.lst" gives "Re.lst.LL", "Rechnung" gives "Rechnung.LL"); ours must be the same file.
  Speicherdatei = report::storagePathForProject(dateiTeil(Formatdatei), GetLokalerPfad());

  QString datei = Formatdatei;
  const int art = AktBerichtArt();
  switch (AusgabeModus) {
    case 1:
      LL().StartPrintJobWithBox(art, datei, report::kToPrinter | report::kToStorage | report::kToExport,
                                kBoxMitAbbruch, nullptr, QStringLiteral("Druckausgabe"));
      LL().SetPrintOption(kOptionDruckziel, kDruckzielVorschau);
      if (LL().PrintOptionsDialog(nullptr, QStringLiteral("Druckparameter festlegen")) == report::kUserAbort)
        return report::kUserAbort;
      break;
    case 2:
    case 3:
      if (LL().StartPrintJob(art, datei, report::kToStorage) == report::kUserAbort) return report::kUserAbort;
      break;
    case 4:
      if (m_PDFArchivDatei.isEmpty()) {
        ui::MsgBox(QStringLiteral("Für den Export in eine PDF Datei muss eine Zieldatei angegeben werden!"),
                   ui::vbOKOnly | ui::vbCritical);
        return 0;
      }
      LL().SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), dateiTeil(m_PDFArchivDatei));
      LL().SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), ordnerTeil(m_PDFArchivDatei));
      LL().SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Quiet"), QStringLiteral("1"));
      LL().StartPrintJob(art, datei, report::kToExport);
      LL().SetOptionString(report::kOptionStringExportFormats, QStringLiteral("PDF"));
      break;
    default:
      break;
  }

  const int ergebnis = LL().SetOption(kOptionNachStart, 1);
  DebugOutput(QStringLiteral("DruckInitialisieren->"));
  return ergebnis;
}

void frmDrucken::DruckAbschliessen(short AusgabeModus, const QString& Formatdatei) {
  const QString projekt = projektImLokalenPfad(Formatdatei);
  switch (AusgabeModus) {
    case 1:
      if (StapelAnzahl >= 1) {
        InDruckstapelAblegen();
        DruckstapelVorschau();
      } else {
        LL().ShowPreview(projekt, QString(), nullptr);
        LL().DeletePreviewFiles(projekt, QString());
      }
      break;
    case 2:
      if (StapelAnzahl >= 1) {
        DruckstapelDrucken();
      } else {
        PreviewAnDrucker(projekt, vb::Variant(AnzahlKopien()));
        LL().DeletePreviewFiles(projekt, QString());
      }
      break;
    case 3:
      StapelKopien.Add(AnzahlKopien());
      InDruckstapelAblegen();
      break;
    default:
      // Mode 4: the job wrote the PDF itself.
      break;
  }
}
