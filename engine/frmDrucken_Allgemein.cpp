// The handler-driven print: dunning letters and form types whose values a print-data handler
// defines itself from its own record source; one pass per copy, every copy but the last kept in
// the print batch so that all of them come out together.
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <exception>

#include "engine/clsDruckerSchacht.h"
#include "engine/frmDrucken.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"
#include "platform/vb/VbError.h"

namespace {

using automation::callByName;
using automation::CallKind;

constexpr int kOptionNachStart = 21;

// The handler's record source (its Data); 91 when it has none.
std::shared_ptr<QObject> datenquelle(QObject& handler) {
  const vb::Variant daten = callByName(handler, QStringLiteral("Data"), CallKind::Get);
  if (!daten.isObject() || daten.isNothing()) vb::raise(vb::ErrObjectNotSet);
  return daten.object();
}

vb::Variant quelle(QObject& handler, const char* member, CallKind kind = CallKind::Method) {
  return callByName(*datenquelle(handler), QString::fromLatin1(member), kind);
}

bool amEnde(QObject& handler) { return vb::CBool(quelle(handler, "EOF", CallKind::Get)); }

}  // namespace

// No trap: errors of the handler, its record source or the job end go to the caller.
void frmDrucken::StartPrintAllgemein(short AusgabeModus, const vb::Variant& UseListUndLabelPrint) {
  if (AusgabeModus < 1 || AusgabeModus > 4) {
    ui::MsgBox(QStringLiteral("Ungültiger Aufruf von StartPrintAllgemein. 'AusgabeModus' enthält ungültigen Wert"),
               ui::vbOKOnly);
    return;
  }
  m_Running = true;
  JobBeginn();

  // A job that does not finish takes the copies it put into the print batch back out, so no
  // later job prints them; and whatever happens, the host polling Running sees the end.
  const short stapelVorher = StapelAnzahl;
  const int kopienVorher = StapelKopien.Count();
  bool fertig = false;
  const int fehlerVorher = std::uncaught_exceptions();
  const auto jobEnde = qScopeGuard([&] {
    m_Running = false;
    if (fertig) return;
    // An error on its way to the caller is this job's failure too.
    if (std::uncaught_exceptions() > fehlerVorher) m_JobFehler = true;
    const QString ordner = QFileInfo(Speicherdatei).path() + QLatin1Char('/');
    for (int k = stapelVorher + 1; k <= StapelAnzahl; ++k)
      QFile::remove(ordner + QStringLiteral("SDRK") + vb::Format(vb::Variant(k), QStringLiteral("000")) +
                    QStringLiteral(".LL"));
    StapelAnzahl = std::min(StapelAnzahl, stapelVorher);
    while (StapelKopien.Count() > kopienVorher) StapelKopien.Remove(StapelKopien.Count());
    while (StapelDokumente.size() > StapelAnzahl) StapelDokumente.removeLast();
  });

  if (FormFehlt() || !VorschauSichtbar(AusgabeModus)) return;
  // Without a form's settings there is no template to print with: a failed job, as the host
  // reads it from ExitCode, not an error of the output call.
  if (DruckerSchacht && !DruckerSchacht->FormGeladen()) {
    JobFehler(QStringLiteral("Für die Druckausgabe sind keine Druckeinstellungen geladen: SetDruckerOptionen wurde nicht "
                             "oder für ein Formular ohne Eintrag (%1/%2) aufgerufen.")
                  .arg(intCurFormStatus)
                  .arg(intCurFormNummer));
    return;
  }
  report::IReportControl& ll = LL();
  ll.SetPrinterDefaultsDir(GetFormularPfad());
  if (!DruckdatenHandler) vb::raise(vb::ErrObjectNotSet);
  QObject& handler = *DruckdatenHandler;

  if (vb::CLng(quelle(handler, "RecordCount", CallKind::Get)) == 0) {
    ui::MsgBox(QStringLiteral("Keine Druckdaten vorhanden!"), ui::vbOKOnly | ui::vbInformation);
    fertig = true;
    return;
  }
  callByName(handler, QStringLiteral("LL"), CallKind::Set, {vb::Variant(m_LL)});

  // Several copies are always one pass each, "Exemplar" telling them apart.
  short n = 1;
  if (DuplikatModusFest) {
    if (DuplikatModus) {
      n = m_AnzahlKopien;
      m_AnzahlKopien = 1;
    }
  } else {
    DuplikatModus = false;
    if (m_AnzahlKopien > 1) {
      DuplikatModus = true;
      DuplikatModusFest = true;
    }
    if (DuplikatModus) {
      n = m_AnzahlKopien;
      m_AnzahlKopien = 1;
    }
  }
  // A PDF holds the document once: earlier copies would only wait in the batch for some
  // unrelated later job to print them.
  if (AusgabeModus == 4) n = 1;

  ll.SetOption(kOptionNachStart, 1);
  const bool direkt =
      !UseListUndLabelPrint.isMissing() && !UseListUndLabelPrint.isNull() && vb::CBool(UseListUndLabelPrint);
  const int art = AktBerichtArt();

  for (AktExemplar = 0; AktExemplar < n; ++AktExemplar) {
    // Every copy but the last goes into the batch; the last one's job end puts them all out.
    const short modus = AktExemplar == n - 1 ? AusgabeModus : 3;
    ll.StartFields();
    ll.StartVariables();
    ll.SetOptionString(report::kOptionStringTitle, ApplicationTitel());
    ll.DefineReportVariable(QStringLiteral("Falzstrich"), QStringLiteral("1"), report::kTypeBoolean);
    const QString exemplar = DuplikatModus ? QString::number(AktExemplar) : QStringLiteral("0");
    ll.DefineReportVariable(QStringLiteral("Exemplar"), exemplar, report::kTypeNumeric);
    callByName(handler, QStringLiteral("DruckVariablenDefinieren"), CallKind::Method);
    callByName(handler, QStringLiteral("DruckFelderDefinieren"), CallKind::Method, {vb::Variant(true)});

    if (!DruckerSchacht) vb::raise(vb::ErrObjectNotSet);
    QString datei = DruckerSchacht->Formatdatei();
    if (datei.isEmpty()) ll.SelectFileDialog(nullptr, art, datei);

    if (DatenbankVerloren()) return;
    const int status = direkt ? ll.StartPrintJob(art, datei, report::kToPrinter) : DruckInitialisieren(modus, datei);
    if (status == report::kUserAbort) {
      m_Abgebrochen = true;
      return;
    }
    if (direkt && status != report::kOk)
      JobFehler(QStringLiteral("Der Druck mit der Vorlage '%1' konnte nicht gestartet werden: %2")
                    .arg(datei, ll.lastError()));
    if (JobFehlgeschlagen()) return;

    quelle(handler, "MoveFirst");
    if (art != 1) {
      // The head of the first page.
      callByName(handler, QStringLiteral("DruckVariablenDefinieren"), CallKind::Method);
      ll.PrintVariables();
    }
    long t = 0;
    if (!amEnde(handler)) {
      // MoveLast is optional: a source without it (a host's own record set, say) is only moved
      // to its first record, its count being exact already.
      try {
        quelle(handler, "MoveLast");
      } catch (const vb::VbError& e) {
        if (e.number() != vb::ErrNoSuchMember) throw;
      }
      quelle(handler, "MoveFirst");
      t = vb::CLng(quelle(handler, "RecordCount", CallKind::Get));
    }

    long i = 0;
    while (!amEnde(handler)) {
      ++i;
      if (t > 0) ll.SetBoxText(QStringLiteral("Druckausgabe"), vb::CLng(vb::Variant(i * 100.0 / t)));
      if (art == 1) {
        // A label: the record as variables, one label each.
        callByName(handler, QStringLiteral("DruckFelderDefinieren"), CallKind::Method,
                   {vb::Variant(false), vb::Variant(true)});
        if (!amEnde(handler)) quelle(handler, "MoveNext");
        ll.PrintVariables();
      } else {
        callByName(handler, QStringLiteral("DruckFelderDefinieren"), CallKind::Method, {vb::Variant(false)});
        if (!amEnde(handler)) quelle(handler, "MoveNext");
        ll.DefineReportField(QStringLiteral("DatenEOF"), amEnde(handler) ? QStringLiteral("1") : QStringLiteral("0"),
                             report::kTypeBoolean);
        ZeileDrucken();
      }
    }
    // Printed straight by the control: there is no storage file of this job to put out, and the
    // one Speicherdatei still names belongs to an earlier job.
    if (!DruckBeenden(direkt ? 2 : modus)) return;
    if (!direkt) DruckAbschliessen(modus, datei);
    if (JobFehlgeschlagen()) return;
  }
  fertig = true;
}
