// The form of the next job: its print settings for this workstation and its texts.
#include "engine/clsDruckerSchacht.h"
#include "engine/frmDrucken.h"
#include "engine/modSystem.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/data/Connection.h"
#include "platform/vb/VbError.h"

// No trap: a failing load or property call goes to the caller and the steps after it do not run.
void frmDrucken::SetDruckerOptionen(short Status, short Vorlage) {
  intCurFormNummer = Vorlage;
  intCurFormStatus = Status;
  if (!DruckerSchacht) vb::raise(vb::ErrObjectNotSet);
  // The form tables are reached through group 4 of the engine-wide handler; without it the load
  // could only show its message and leave no form, so the caller is told why instead.
  const auto handler = GetGlobalConnectList();
  if (!handler)
    vb::raise(vb::ErrInvalidCall, QStringLiteral("SetDruckerOptionen"),
              QStringLiteral("Keine Verbindungsverwaltung gesetzt (ConnectList ist Nothing): die Formulartabellen der "
                             "Verbindungsgruppe 4 sind nicht erreichbar."));
  std::shared_ptr<data::Connection> con;
  const auto fehler = vb::ignoreErrors([&] { con = handler->SQLGruppe_Connection(4); });
  if (!con)
    vb::raise(vb::ErrInvalidCall, QStringLiteral("SetDruckerOptionen"),
              QStringLiteral("Die Verbindungsgruppe 4 (Formulartabellen) hat keine Verbindung.") +
                  (fehler ? QLatin1Char(' ') + fehler->description() : QString()));
  clsDruckerSchacht& form = *DruckerSchacht;
  const long verluste = data::connectionLosses().count;
  m_FormFehler.clear();
  form.LoadDruckForm(GetRechnerName(), Vorlage, Status);
  if (data::connectionLosses().count != verluste) {
    // Half a form prints with defaults or fails at its first value: the job says why instead.
    m_FormFehler = QStringLiteral("Die Formulareinstellungen konnten nicht aus der Datenbank geladen werden: ") +
                   data::connectionLosses().message;
    return;
  }

  // The form's texts always win over what the caller set before; callers set theirs afterwards.
  let_Betrefftext(form.Kopftext());
  let_AbsenderSichtfenster(form.Absender());
  let_DokumentTitel(form.DokumentTitel());
  SetGewerkBlockLabel(1, form.GewerkText());
  SetGewerkBlockLabel(2, form.AngebotNrText());
  SetGewerkBlockLabel(3, form.ProjektNrText());
  SetGewerkBlockLabel(4, form.KundenNrText());
  SetGewerkBlockLabel(5, form.SachbearbeiterText());
  SetGewerkBlockLabel(6, form.DatumText());

  // Written past the property on purpose: KopienAusVorlage stays set, so the next form brings
  // its own count again until the caller sets one.
  if (KopienAusVorlage) {
    const short kopien = form.AnzahlKopien();
    m_AnzahlKopien = kopien == 0 ? 1 : kopien;
  }
}
