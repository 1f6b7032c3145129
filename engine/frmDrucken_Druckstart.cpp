// Print start and job end of every pass: the job goes into a storage file (or straight into the
// PDF), and the job end previews it, prints it through our own tray routing, or keeps it as a
// print-batch member.
#include "engine/frmDrucken.h"

#include <QFile>

#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/report/IReportControl.h"
#include "platform/report/ReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/PathResolver.h"

namespace {

using vb::fileNamePart;
using vb::folderPart;

// The project name under which the control finds the job's storage in the local path.
QString projektImLokalenPfad(const QString& Formatdatei) { return GetProzessOrdner() + fileNamePart(Formatdatei); }

constexpr int kBoxMitAbbruch = 2;
constexpr int kOptionDruckziel = 13;
constexpr int kDruckzielVorschau = 2;
constexpr int kOptionNachStart = 21;

}  // namespace

int frmDrucken::DruckInitialisieren(short AusgabeModus, const QString& Formatdatei) {
  DebugOutput(QStringLiteral("->DruckInitialisieren"));
  LL().SetPrinterDefaultsDir(GetProzessOrdner());
  // The control names its storage after the template with only the final extension replaced
  // ("Re.lst.lst" gives "Re.lst.LL", "Rechnung" gives "Rechnung.LL"); ours must be the same file.
  Speicherdatei = report::storagePathForProject(fileNamePart(Formatdatei), GetProzessOrdner());
  // The job end outputs the storage file of this job only: one an earlier job left under the
  // same name must not stand in for it when this one writes none.
  QFile::remove(Speicherdatei);

  QString datei = Formatdatei;
  const int art = AktBerichtArt();
  // A start the control refused (template missing or broken) is the job's failure.
  const auto gestartet = [&](int status) {
    if (status == report::kOk || status == report::kUserAbort) return true;
    JobFehler(QStringLiteral("Der Druck mit der Vorlage '%1' konnte nicht gestartet werden: %2")
                  .arg(Formatdatei, LL().lastError()));
    return false;
  };
  int status = report::kOk;
  switch (AusgabeModus) {
    case 1:
      status = LL().StartPrintJobWithBox(art, datei, report::kToPrinter | report::kToStorage | report::kToExport,
                                         kBoxMitAbbruch, nullptr, QStringLiteral("Druckausgabe"));
      if (!gestartet(status)) return status;
      LL().SetPrintOption(kOptionDruckziel, kDruckzielVorschau);
      if (LL().PrintOptionsDialog(nullptr, QStringLiteral("Druckparameter festlegen")) == report::kUserAbort)
        return report::kUserAbort;
      break;
    case 2:
    case 3:
      status = LL().StartPrintJob(art, datei, report::kToStorage);
      if (status == report::kUserAbort || !gestartet(status)) return status;
      break;
    case 4:
      if (m_PDFArchivDatei.isEmpty()) {
        // The message is the job's failure: the job roads end the job here.
        m_JobFehler = true;
        ui::MsgBox(QStringLiteral("Für den Export in eine PDF Datei muss eine Zieldatei angegeben werden!"),
                   ui::vbOKOnly | ui::vbCritical);
        return 0;
      }
      LL().SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), fileNamePart(m_PDFArchivDatei));
      LL().SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), folderPart(m_PDFArchivDatei));
      LL().SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Quiet"), QStringLiteral("1"));
      status = LL().StartPrintJob(art, datei, report::kToExport);
      if (!gestartet(status)) return status;
      LL().SetOptionString(report::kOptionStringExportFormats, QStringLiteral("PDF"));
      break;
    default:
      break;
  }

  const int ergebnis = LL().SetOption(kOptionNachStart, 1);
  DebugOutput(QStringLiteral("DruckInitialisieren->"));
  return ergebnis;
}

bool frmDrucken::DruckBeenden(short AusgabeModus) {
  const int status = LL().EndPrint(0);
  if (status == report::kOk) return true;
  // Cancelled in the print box: the control kept nothing, so there is nothing to put out.
  if (status == report::kUserAbort) {
    m_Abgebrochen = true;
    return false;
  }
  if (AusgabeModus == 4)
    JobFehler(QStringLiteral("Die PDF-Datei '%1' konnte nicht geschrieben werden: %2")
                  .arg(m_PDFArchivDatei, LL().lastError()));
  else
    JobFehler(QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden: ") + LL().lastError());
  return false;
}

void frmDrucken::DruckAbschliessen(short AusgabeModus, const QString& Formatdatei) {
  const QString projekt = projektImLokalenPfad(Formatdatei);
  switch (AusgabeModus) {
    case 1:
      if (StapelAnzahl >= 1) {
        InDruckstapelAblegen();
        DruckstapelVorschau();
      } else {
        if (LL().ShowPreview(projekt, QString(), nullptr) == report::kOk)
          LL().DeletePreviewFiles(projekt, QString());
        else
          JobFehler(QStringLiteral("Die Druckdatei '%1' kann nicht angezeigt werden: %2")
                        .arg(Speicherdatei, LL().lastError()));
      }
      break;
    case 2:
      if (StapelAnzahl >= 1) {
        DruckstapelDrucken();
      } else if (PreviewAnDrucker(projekt, vb::Variant(AnzahlKopien()))) {
        LL().DeletePreviewFiles(projekt, QString());
      }
      break;
    case 3:
      InDruckstapelAblegen();
      StapelKopien.Add(AnzahlKopien());
      break;
    default:
      // Mode 4: the job wrote the PDF itself.
      break;
  }
}
