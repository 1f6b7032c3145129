// The document print: one document from the hand-over table and the document data, every
// exemplar in two passes (the first counts the pages, the second puts the document out).
#include <QFile>
#include <QScopeGuard>
#include <algorithm>

#include "engine/clsDruckerSchacht.h"
#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "foundation/modWaehrungen.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/PathResolver.h"

namespace {

constexpr std::int16_t kUebergabeGruppe = 99;
const QString kLeer;

// The document print's trap: the error's description goes to the log and the next statement runs.
template <typename F>
bool schritt(F&& step) {
  if (auto e = vb::ignoreErrors(std::forward<F>(step))) {
    vb::logTrappedLine(e->description());
    return false;
  }
  return true;
}

// Whether a setting of the settings table (group 6 of the global handler) is switched on.
bool vorgabeGesetzt(const QString& name) {
  const auto handler = GetGlobalConnectList();
  if (!handler) vb::raise(vb::ErrObjectNotSet);
  return vb::Val(GetVorgabe(name, QStringLiteral("0"), handler->SQLGruppe_Connection(6))) != 0;
}

std::shared_ptr<data::Recordset> druckdatenOeffnen(const std::shared_ptr<data::Connection>& con) {
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT * FROM PrintInputTabelle ORDER BY LongKey"), vb::Variant(con), data::adOpenDynamic,
           data::adLockOptimistic, data::adCmdUnspecified);
  return rs;
}

// The hand-over database `datei` as group 99 of `verbindungen`, its SYSTEM.MDW beside it.
void uebergabeOeffnen(clsConnectionHandler& verbindungen, const QString& datei) {
  verbindungen.let_SQLGruppe_DB_Provider(kUebergabeGruppe, QStringLiteral("Microsoft.Jet.OLEDB.4.0;"));
  verbindungen.let_SQLGruppe_DB_Properties(kUebergabeGruppe, QStringLiteral("Jet OLEDB:System database"),
                                           vb::folderPart(datei) + QStringLiteral("SYSTEM.MDW"));
  verbindungen.let_SQLGruppe_DB_OpenConnection(kUebergabeGruppe, QStringLiteral("Data Source=") + data::connectionValue(datei));
}

QString nichtLesbar(const QString& datei, const QString& grund) {
  return QStringLiteral("Die Druckdaten aus '%1' können nicht gelesen werden: %2").arg(datei, grund);
}

// The form settings of the window; 91 when it has none.
clsDruckerSchacht& formVon(const std::shared_ptr<clsDruckerSchacht>& schacht) {
  if (!schacht) vb::raise(vb::ErrObjectNotSet);
  return *schacht;
}

}  // namespace

void frmDrucken::StartPrint(short AusgabeModus) {
  if (!AusgabeModusPruefen(AusgabeModus)) return;
  AktAusgabeModus = AusgabeModus;
  m_Running = true;
  JobBeginn();
  // A host polls Running until the job is over: it must fall on every way out.
  const auto jobEnde = qScopeGuard([this] { m_Running = false; });
  if (FormFehlt() || !VorschauSichtbar(AusgabeModus)) return;
  report::IReportControl& ll = LL();

  // The hand-over database is reached first: one held locked by another program fails the job
  // after its one wait, before the settings (often the same file) are waited for again. A file
  // or workgroup file that is missing is told by the pass below, with its own message.
  if (!objRsPrintInput && DateiExistiert(Uebergabedatei()) &&
      DateiExistiert(vb::folderPart(Uebergabedatei()) + QStringLiteral("system.mdw"))) {
    clsConnectionHandler probe;
    if (const auto e = vb::ignoreErrors([&] { uebergabeOeffnen(probe, Uebergabedatei()); })) {
      vb::logTrappedLine(e->description());
      JobFehler(nichtLesbar(Uebergabedatei(), e->description()));
      return;
    }
  }

  schritt([&] { let_UebertraegeDrucken(true); });
  schritt([&] { FalzstricheDrucken = vorgabeGesetzt(QStringLiteral("Falzstriche")); });

  // Exemplars: with the duplicate note each copy is an exemplar of its own (one copy each);
  // otherwise the copies are made when the document is put out.
  short n = 1;
  if (DuplikatModusFest) {
    if (DuplikatModus) {
      n = m_AnzahlKopien;
      m_AnzahlKopien = 1;
    }
  } else {
    DuplikatModus = false;
    if (m_AnzahlKopien > 1) schritt([&] { DuplikatModus = vorgabeGesetzt(QStringLiteral("Duplikatsvermerk")); });
    if (DuplikatModus) {
      n = m_AnzahlKopien;
      m_AnzahlKopien = 1;
    }
  }
  // Preview and PDF show the document once.
  if (AusgabeModus != 2 && AusgabeModus != 3) n = 1;

  Seitenzahl = 0;
  schritt([&] { ll.SetPrinterDefaultsDir(GetFormularPfad()); });
  schritt([&] { ll.SetOptionString(report::kOptionStringTitle, ApplicationTitel()); });

  QString datei;
  schritt([&] { datei = formVon(DruckerSchacht).Formatdatei(); });
  if (datei.isEmpty()) schritt([&] { ll.SelectFileDialog(nullptr, report::kProjectList, datei); });

  // "<EndBetrag>" and "<AltWährBetrag>" in a closing text: the end amount of the closing block in
  // the print currency, and converted into the other of euro and mark.
  const auto betraegeErsetzen = [this](QString t) {
    schritt([&] {
      t = vb::replaceText(t, QStringLiteral("<EndBetrag>"), strEndBetrag + QLatin1Char(' ') + Druckwaehrung());
    });
    schritt([&] {
      const QString waehrung = GetWaehrungsKuerzel(Druckwaehrung());
      const bool euro = waehrung == QLatin1String("EUR");
      if (!euro && waehrung != QLatin1String("DEM")) return;
      const QString andere = euro ? QStringLiteral("DEM") : QStringLiteral("EUR");
      const double betrag = WaehrungUmrechnen(BetragAusText(strEndBetrag), waehrung, andere);
      t = vb::replaceText(t, QStringLiteral("<AltWährBetrag>"), BetragFormatieren(betrag) + QLatin1Char(' ') + andere);
    });
    schritt([&] { t = PlatzhalterErsetzen(t); });
    return t;
  };

  // The sums as the counting pass left them after its closing block: the real pass fills the
  // opening text from them, before it has walked a row.
  struct Summen {
    std::array<double, 4> rechnung{}, rabatt{};
    bool rabattAbgezogen = false;
  };
  Summen gezaehlt;
  const auto summen = [this] { return Summen{dblRechnungsbetrag, dblRabattBetrag, GesamtrabattAbgezogen}; };
  const auto summenSetzen = [this](const Summen& s) {
    dblRechnungsbetrag = s.rechnung;
    dblRabattBetrag = s.rabatt;
    GesamtrabattAbgezogen = s.rabattAbgezogen;
  };

  // One pass; false when the user cancelled its start.
  const auto durchgang = [&]() -> bool {
    schritt([&] { let_UebertraegeDrucken(true); });
    schritt([&] { ll.StartFields(); });
    schritt([&] { ll.StartVariables(); });
    schritt([&] { DokumentVariablenDefinieren(); });
    schritt([&] { ll.PrintVariables(); });
    schritt([&] { DruckFelderDefinieren(nullptr, true); });

    // The counting pass always goes into a storage file.
    if (DatenbankVerloren()) return false;
    int status = report::kOk;
    schritt([&] { status = DruckInitialisieren(Durchgang == 1 ? 2 : AusgabeModus, datei); });
    if (status == report::kUserAbort) {
      m_Abgebrochen = true;
      return false;
    }
    if (JobFehlgeschlagen()) return false;

    const QString ordner = vb::folderPart(Uebergabedatei());
    if (!DateiExistiert(ordner + QStringLiteral("system.mdw")))
      schritt([&] {
        ui::MsgBox(QStringLiteral("Datei '") + ordner + QStringLiteral("system.mdw' nicht gefunden!"), ui::vbOKOnly);
      });
    // Print data that cannot be read (a database another program holds locked, a file that is
    // not there) fail the job with the database's reason: it must not pass for a document
    // without rows. Nothing is put out, so a PDF of an earlier job stays as it was; the preview's
    // progress box goes with its empty storage.
    const auto lesen = [&](auto&& step) {
      const auto e = vb::ignoreErrors(step);
      if (!e) return true;
      vb::logTrappedLine(e->description());
      JobFehler(nichtLesbar(Uebergabedatei(), e->description()));
      if (Durchgang == 2 && AusgabeModus == 1) {
        schritt([&] { ll.EndPrint(0); });
        QFile::remove(Speicherdatei);
      }
      return false;
    };

    // The hand-over database gets a connection of its own, opened afresh for every pass; a
    // caller's own record set does not read through it.
    const auto verbindungen = std::make_shared<clsConnectionHandler>();
    const auto oeffnen = [&] { uebergabeOeffnen(*verbindungen, Uebergabedatei()); };
    if (objRsPrintInput)
      schritt(oeffnen);
    else if (!lesen(oeffnen))
      return false;

    // A caller's own record set is printed in its own order; ours in LongKey order, asked twice
    // when the first answer is empty (rows the host wrote just before).
    std::shared_ptr<data::Recordset> rs;
    if (!objRsPrintInput) {
      if (!lesen([&] {
            const auto con = verbindungen->SQLGruppe_Connection(kUebergabeGruppe);
            rs = druckdatenOeffnen(con);
            if (rs->Eof()) {
              rs->Close();
              rs = druckdatenOeffnen(con);
              rs->Requery();
            }
          }))
        return false;
    } else {
      rs = objRsPrintInput;
      if (!lesen([&] { rs->Requery(); })) return false;
    }

    bool leer = true;
    schritt([&] { leer = !rs || rs->Eof(); });
    // Every document starts from zero sums and no end amount, also one without rows.
    const auto summenLoeschen = [this] {
      SummenLoeschen();
      strEndBetrag.clear();
    };
    if (leer) {
      summenLoeschen();
      schritt([&] { ui::MsgBox(QStringLiteral("Keine Druckdaten vorhanden!"), ui::vbInformation); });
      // The preview's job has a progress box up: end it, and its empty storage with it.
      if (Durchgang == 2 && AusgabeModus == 1) {
        schritt([&] { ll.EndPrint(0); });
        QFile::remove(Speicherdatei);
      }
      return true;
    }

    vb::ignoreErrors([&] {
      rs->Fields(vb::Variant(QStringLiteral("BildAusdatei")))->Value();
      BildspalteVorhanden = true;
    });
    schritt([&] { DokumentVariablenDefinieren(); });
    schritt([&] { ll.PrintVariables(); });
    summenLoeschen();

    // Step 1 prints the opening text, every further step one row.
    long j = 1;
    schritt([&] { j = 1 + rs->RecordCount(); });
    long i = 0;
    for (;;) {
      bool eof = true;
      if (!schritt([&] { eof = rs->Eof(); }) || eof) break;
      ++i;
      schritt([&] { ll.SetBoxText(QStringLiteral("Druckausgabe"), vb::CLng(vb::Variant(i * 100.0 / j))); });
      // A row the record set cannot move past is printed once, and the walk ends there.
      bool weiter = true;
      if (i == 1) {
        schritt([&] { DruckFelderDefinieren(rs, true); });
        QString vortext;
        schritt([&] {
          const Summen laufend = summen();
          if (Durchgang == 2) summenSetzen(gezaehlt);
          const auto zurueck = qScopeGuard([&] { summenSetzen(laufend); });
          vortext = PlatzhalterErsetzen(vb::CStr(GetValue(QStringLiteral("Vortext"), QString())));
        });
        schritt([&] { DruckeTextZeilen(vortext, QStringLiteral("Vortext"), QStringLiteral("Vortext")); });
      } else {
        if (i == 2) {
          schritt([&] { ll.DefineReportField(QStringLiteral("Vortext"), kLeer, report::kTypeText); });
          schritt([&] { ll.DefineReportField(QStringLiteral("Zeilentyp"), kLeer, report::kTypeText); });
        }
        schritt([&] { DruckFelderDefinieren(rs, false); });
        weiter = schritt([&] { rs->MoveNext(); });
      }
      schritt([&] { ZeileDrucken(); });
      if (!weiter) break;
    }

    if (!Abschluss.empty()) schritt([&] { DruckeAbschluss(); });
    if (Durchgang == 1) gezaehlt = summen();

    // The closing texts get a row of their own: nothing of the last row printed (a position, the
    // end amount) may be printed again with them.
    schritt([&] { DruckFelderDefinieren(nullptr, true); });
    QString allgemein;
    schritt([&] { allgemein = formVon(DruckerSchacht).AllgemeinSchlussText(); });
    const QString schluss = betraegeErsetzen(SchlussText());
    // The form row reads an empty column as a blank: that is no text to append.
    const QString schlusstext = allgemein.trimmed().isEmpty()
                                    ? schluss
                                    : schluss + QLatin1Char('\r') + betraegeErsetzen(allgemein);
    schritt([&] { ll.DefineReportField(QStringLiteral("Schlusstext"), schlusstext, report::kTypeText); });
    schritt([&] { ll.DefineReportField(QStringLiteral("Zahltext"), betraegeErsetzen(ZahlText()), report::kTypeText); });
    schritt([&] {
      ll.DefineReportField(QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Ja"), report::kTypeText);
    });
    schritt([&] { ZeileDrucken(); });
    bool geschrieben = false;
    schritt([&] { geschrieben = DruckBeenden(Durchgang == 1 ? 2 : AusgabeModus); });
    if (!geschrieben) return false;

    if (Durchgang == 2) {
      if (const auto e = vb::ignoreErrors([&] { DruckAbschliessen(AusgabeModus, datei); })) {
        vb::logTrappedLine(e->description());
        JobFehler(QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden: ") + e->description());
      }
    } else {
      schritt([&] { Seitenzahl = GetSeitenanzahl(); });
      // Only counted: the real pass writes its own storage, or none at all (PDF).
      QFile::remove(Speicherdatei);
    }
    return true;
  };

  for (AktExemplar = 0; AktExemplar < n; ++AktExemplar)
    for (Durchgang = 1; Durchgang <= 2; ++Durchgang)
      if (!durchgang()) return;
}
