// The print window's life (creation, load, release) and its job-state members.
#include "engine/frmDrucken.h"

#include <QDir>

#include "engine/clsDruckerSchacht.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/data/Connection.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/FolderClaim.h"
#include "platform/vb/PathResolver.h"

namespace {

constexpr long ErrPathFileAccess = 75;

// Print-batch members of an earlier run that never got printed (a crash, a batch left open), and
// the files of ended processes that shared the local path. Members of a running process in the
// same local path are its own. Every file is tried; a file that stays is one error for the whole
// step.
void StapelResteLoeschen() {
  vb::removeUnclaimedFolders(vb::resolvePath(GetLokalerPfad()), ProzessOrdnerPraefix);
  const QString ordner = GetProzessOrdner(false);
  if (ordner.isEmpty()) return;
  QDir dir(vb::resolvePath(ordner));
  bool alleWeg = true;
  for (const QString& name : dir.entryList({QStringLiteral("SDRK*.LL")}, QDir::Files | QDir::Hidden))
    alleWeg = dir.remove(name) && alleWeg;
  if (!alleWeg) vb::raise(ErrPathFileAccess);
}

// Creation never fails as a whole: each step is logged as "<number>: <description>" and skipped.
template <typename F>
void Schritt(F&& step) {
  vb::resumeNext(QString(), std::forward<F>(step));
}

}  // namespace

frmDrucken::frmDrucken(std::shared_ptr<report::IReportControl> ll, QObject* parent)
    : QObject(parent), m_LL(std::move(ll)) {
  formInitialize();
  formLoad();
}

// The lists, the form settings and the print-data handler go with the window. Batch files stay on
// disk; the next window removes them.
frmDrucken::~frmDrucken() = default;

void frmDrucken::formInitialize() {
  Schritt([] { DebugOutput(QStringLiteral("->frmDrucken.Initialize")); });
  Schritt([] { StapelResteLoeschen(); });
  // The lists, the batch copy counts, the handler, the blank-row count and the copy flag start
  // out by their member initialisers; only the form settings are an object of their own.
  Schritt([this] { DruckerSchacht = std::make_shared<clsDruckerSchacht>(); });
  Schritt([] { DebugOutput(QStringLiteral("frmDrucken.Initialize->")); });
  Schritt([] { CreateFormularPfad(); });
}

void frmDrucken::formLoad() {
  DebugOutput(QStringLiteral("->frmDrucken_Load"));
  // The old control wanted its property 3 switched on here; ours has no such setting.
  DuplikatModusFest = false;
  // The window has nothing to show, so there is nothing to hide either.
  DebugOutput(QStringLiteral("frmDrucken_Load->"));
}

void frmDrucken::set_DruckdatenHandler(const vb::Variant& handler) {
  if (!handler.isObject()) vb::raise(vb::ErrTypeMismatch);
  DruckdatenHandler = handler.object();
  // The handler defines its values through our control, so it gets it before any definition.
  if (DruckdatenHandler)
    automation::callByName(*DruckdatenHandler, QStringLiteral("LL"), automation::CallKind::Set, {vb::Variant(m_LL)});
}

void frmDrucken::Init() {
  intCurFormNummer = 0;
  intCurFormStatus = 0;
  m_Druckvariablen = std::make_shared<vb::Collection<std::shared_ptr<clsListElement>>>();
  Abzuege.clear();
}

short frmDrucken::ExitCode() const {
  if (m_JobFehler) return 1;
  return m_Abgebrochen ? -1 : 0;
}

void frmDrucken::JobBeginn() {
  m_JobFehler = false;
  m_VerlusteBeiBeginn = data::connectionLosses().count;
}

bool frmDrucken::FormFehlt() {
  if (m_FormFehler.isEmpty()) return false;
  JobFehler(m_FormFehler);
  return true;
}

bool frmDrucken::DatenbankVerloren() {
  const data::ConnectionLosses verluste = data::connectionLosses();
  if (verluste.count == m_VerlusteBeiBeginn) return false;
  JobFehler(QStringLiteral("Der Druckauftrag ist an der Datenbank gescheitert: ") + verluste.message);
  return true;
}

void frmDrucken::JobFehler(const QString& meldung) {
  DebugOutput(meldung);
  // One message a job: a printer that is gone would otherwise answer every batch member.
  if (m_JobFehler) return;
  m_JobFehler = true;
  ui::MsgBox(meldung, ui::vbOKOnly | ui::vbCritical);
}

bool frmDrucken::VorschauSichtbar(short AusgabeModus) {
  if (AusgabeModus != 1 || ui::dialogs().userSeesDisplay()) return true;
  JobFehler(QStringLiteral("Die Vorschau kann nicht gezeigt werden: niemand sieht die Anzeige der Druckausgabe."));
  return false;
}

void frmDrucken::Preview() {
  // StartPrint(-1) stops at its mode check; nothing of the job runs. The old window unloaded
  // itself afterwards; this one has no widget to close and lives as long as its owner holds it.
  AusgabeModusPruefen(-1);
}

bool frmDrucken::AusgabeModusPruefen(short AusgabeModus) {
  if (AusgabeModus >= 1 && AusgabeModus <= 4) return true;
  ui::MsgBox(QStringLiteral("Ungültiger Aufruf von StartPrint. 'AusgabeModus' enthält ungültigen Wert"), ui::vbOKOnly);
  return false;
}
