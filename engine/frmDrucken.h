#pragma once
// The engine's one hidden print window: it owns the report control LL and holds the whole state
// of one print job (document data, form settings, counters, print batch). Public members are
// reachable by name through late binding; the members in the "engine internals" section are the
// window's private procedures, public here so the job code and its tests can call them.
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "foundation/clsListElement.h"
#include "platform/vb/Collection.h"
#include "platform/vb/Variant.h"

namespace report { class IReportControl; }
namespace data { class Recordset; }
class clsDruckerSchacht;
class clsProgVorgaben;

// A line of the closing block, as AddAbschluss stores it.
struct AbschlussZeile {
  QString Bezeichnung;
  QString Key;
  bool LinieEinfach = false;
};

// A deduction, as AddAbzugBetrag stores it (kept only: nothing prints it).
struct AbzugEintrag {
  bool VorMwStAbziehen = false;
  vb::Variant Betrag;
  double MWSTSatz = 0;
  QString Text;
};

class frmDrucken : public QObject {
  Q_OBJECT

 public:
  // Creates and loads the window (Form_Initialize, Form_Load) around the report control `ll`.
  explicit frmDrucken(std::shared_ptr<report::IReportControl> ll, QObject* parent = nullptr);
  ~frmDrucken() override;

  report::IReportControl& LL() const { return *m_LL; }
  const std::shared_ptr<report::IReportControl>& LLPtr() const { return m_LL; }

  // ---- public interface, in the window's interface order ----
  Q_INVOKABLE bool Steuerbefreit() const { return m_Steuerbefreit; }
  Q_INVOKABLE void let_Steuerbefreit(bool v) { m_Steuerbefreit = v; }
  Q_INVOKABLE void AddDruckvariable(const QString& Key, const QString& Wert, int LLTyp);
  Q_INVOKABLE vb::Variant GetDruckvariable(const QString& Key, const vb::Variant& Default) const;
  Q_INVOKABLE void ClearAbschluss();
  Q_INVOKABLE void AddAbschluss(const QString& steuerlabel, const QString& Bezeichnung, bool SummenStrichDavor);
  Q_INVOKABLE void let_GesamtRabatt(double v) { m_GesamtRabatt = v; }
  Q_INVOKABLE double GesamtRabatt() const { return m_GesamtRabatt; }
  Q_INVOKABLE void ClearAnzahlKopien() { KopienAusVorlage = true; }
  Q_INVOKABLE void set_DruckdatenHandler(const vb::Variant& handler);
  Q_INVOKABLE void let_PDFArchivDatei(const QString& v) { m_PDFArchivDatei = v; }
  Q_INVOKABLE QString PDFArchivDatei() const { return m_PDFArchivDatei; }
  Q_INVOKABLE void Init();
  Q_INVOKABLE bool Running() const { return m_Running; }
  // 1 while the last job failed to put out what was asked (its message was shown), else -1 once a
  // job of this window was cancelled by the user, else 0.
  Q_INVOKABLE short ExitCode() const;
  // Loads form `Vorlage` of form type `Status` for this workstation and copies its texts (and,
  // while KopienAusVorlage, its copy count) into the document. Errors reach the caller. A load
  // that met a lost database server copies nothing: the next job fails with the database's
  // message, until a form is loaded.
  Q_INVOKABLE void SetDruckerOptionen(short Status, short Vorlage);
  // Prints the records of the print-data handler, one pass per copy (modes 1 to 4). Running is
  // False again on every way out, errors included; errors reach the caller.
  Q_INVOKABLE void StartPrintAllgemein(short AusgabeModus,
                                       const vb::Variant& UseListUndLabelPrint = vb::Variant::missing());
  // Prints the document from the hand-over table and the document data (modes 1 to 4). Errors
  // are logged and the job goes on; Running is False again when it returns.
  Q_INVOKABLE void StartPrint(short AusgabeModus);
  // Refused by the mode check of StartPrint: shows its message and prints nothing.
  Q_INVOKABLE void Preview();
  Q_INVOKABLE QString GetVersion() const;
  Q_INVOKABLE void let_AusgabeEndpreis(const QString& strAusgabeArt);
  Q_INVOKABLE QString AusgabeEndpreis() const;
  Q_INVOKABLE void let_DruckOhneEPGP(bool v) { m_DruckOhneEPGP = v; }
  Q_INVOKABLE bool DruckOhneEPGP() const { return m_DruckOhneEPGP; }
  Q_INVOKABLE void let_KopfZeile(int ZeilenNr, const QString& text);
  Q_INVOKABLE QString KopfZeile(int ZeilenNr) const;
  Q_INVOKABLE void let_FussZeile(int ZeilenNr, const QString& text);
  Q_INVOKABLE QString FussZeile(int ZeilenNr) const;
  Q_INVOKABLE QString Uebergabedatei() const { return m_Uebergabedatei; }
  Q_INVOKABLE void let_Uebergabedatei(const QString& path);
  Q_INVOKABLE void let_ApplicationTitel(const QString& strTitel);
  Q_INVOKABLE QString ApplicationTitel() const;
  Q_INVOKABLE void let_DokumentTitel(const QString& strTitel);
  Q_INVOKABLE QString DokumentTitel() const;
  Q_INVOKABLE double MWSTSatz_Voll() const { return m_MWSTSatz_Voll == 0 ? 0.16 : m_MWSTSatz_Voll; }
  Q_INVOKABLE void let_MWSTSatz_Voll(double v) { m_MWSTSatz_Voll = v; }
  Q_INVOKABLE double MWSTSatz_halb() const { return m_MWSTSatz_halb; }
  Q_INVOKABLE void let_MWSTSatz_halb(double v) { m_MWSTSatz_halb = v; }
  Q_INVOKABLE QString Betrefftext() const;
  Q_INVOKABLE void let_Betrefftext(const QString& v);
  Q_INVOKABLE bool AusgabeAlsBlankett() const;
  Q_INVOKABLE void let_AusgabeAlsBlankett(bool v);
  Q_INVOKABLE void let_UebertraegeDrucken(bool v);
  Q_INVOKABLE bool UebertraegeDrucken() const;
  Q_INVOKABLE bool UebertraegeProTitel() const;
  Q_INVOKABLE void let_UebertraegeProTitel(bool v);
  Q_INVOKABLE void let_AbsenderSichtfenster(const QString& v);
  Q_INVOKABLE void let_AnschriftEmpfaenger(const QString& v);
  Q_INVOKABLE void SetGewerkBlockLabel(int BlockNr, const QString& strLable);
  Q_INVOKABLE void let_AdrBauherrFeld(const QString& FeldName, const QString& v);
  Q_INVOKABLE QString AdrBauherrFeld(const QString& FeldName) const;
  Q_INVOKABLE void let_AdrProjektFeld(const QString& FeldName, const QString& v);
  Q_INVOKABLE QString AdrProjektFeld(const QString& FeldName) const;
  Q_INVOKABLE void let_RabattProPosition(bool v) { m_RabattProPosition = v; }
  Q_INVOKABLE bool RabattProPosition() const { return m_RabattProPosition; }
  Q_INVOKABLE void let_LeerzeilenZwischenPositionen(short intWert) { m_LeerzeilenZwischenPositionen = intWert; }
  Q_INVOKABLE short LeerzeilenZwischenPositionen() const { return m_LeerzeilenZwischenPositionen; }
  // Column captions are the template's business; kept for hosts that still call them.
  Q_INVOKABLE void SetSpaltenUeberschrift_Position(const vb::Variant&) {}
  Q_INVOKABLE void SetSpaltenUeberschrift_Menge(const vb::Variant&) {}
  Q_INVOKABLE void SetSpaltenUeberschrift_Bezeichnung(const vb::Variant&) {}
  Q_INVOKABLE void SetSpaltenUeberschrift_EP(const vb::Variant&) {}
  Q_INVOKABLE void SetSpaltenUeberschrift_GP(const vb::Variant&) {}
  Q_INVOKABLE void let_VorText(const QString& v);
  Q_INVOKABLE QString SchlussText() const;
  Q_INVOKABLE void let_SchlussText(const QString& v);
  Q_INVOKABLE QString ZahlText() const;
  Q_INVOKABLE void let_ZahlText(const QString& v);
  Q_INVOKABLE double MwStSatz() const { return MWSTSatz_Voll(); }
  Q_INVOKABLE void let_MwStSatz(double v) { let_MWSTSatz_Voll(v); }
  Q_INVOKABLE QString Druckwaehrung() const;
  Q_INVOKABLE void let_Druckwaehrung(const QString& v);
  Q_INVOKABLE void let_StapelDruck(bool v) { m_StapelDruck = v; }
  Q_INVOKABLE void let_AnzahlKopien(short intWert);
  Q_INVOKABLE short AnzahlKopien() const { return m_AnzahlKopien; }
  Q_INVOKABLE double MWSTBetrag_ohne() const { return 0; }
  Q_INVOKABLE double MWSTBetrag_voll() const { return dblMWSTBetrag[1]; }
  Q_INVOKABLE double MWSTBetrag_halb() const { return dblMWSTBetrag[2]; }
  Q_INVOKABLE double RabattBetrag() const;
  Q_INVOKABLE double RabattBetrag_ohne() const { return dblRabattBetrag[3]; }
  Q_INVOKABLE double RabattBetrag_voll() const { return dblRabattBetrag[1]; }
  Q_INVOKABLE double RabattBetrag_halb() const { return dblRabattBetrag[2]; }
  Q_INVOKABLE double Rechnungsbetrag() const;
  Q_INVOKABLE double Rechnungsbetrag_ohne() const { return dblRechnungsbetrag[3]; }
  Q_INVOKABLE double Rechnungsbetrag_voll() const { return dblRechnungsbetrag[1]; }
  Q_INVOKABLE double Rechnungsbetrag_halb() const { return dblRechnungsbetrag[2]; }
  Q_INVOKABLE void AddAbzugBetrag(bool VorMwStAbziehen, const QString& AbzugBetrag, double MwStSatz, const QString& strText);
  // Opens the designer on the template `Dateiname` (BerichtArt 1 label, 2 list) with the
  // handler's values, or with the document's own and sample values when no handler is set; the
  // sample values are gone again once the designer has closed. Errors reach the caller.
  Q_INVOKABLE void OpenDesign(const QString& Dateiname, const vb::Variant& BerichtArt);
  Q_INVOKABLE void AddValue(const QString& strBez, const vb::Variant& Wert);
  Q_INVOKABLE vb::Variant GetValue(const QString& strBez, const vb::Variant& DefaultValue) const;
  Q_INVOKABLE bool NettoRechnung() const;

  // ---- public variables of the window ----
  short intCurFormNummer = 0;
  short intCurFormStatus = 0;
  bool blnDruckOhneEP = false;
  bool blnDruckOhneGP = false;
  std::shared_ptr<data::Recordset> objRsPrintInput;
  std::shared_ptr<clsProgVorgaben> objVorgaben;

  // ---- job state ----
  short AktAusgabeModus = 0;
  bool KopienAusVorlage = true;
  bool DuplikatModus = false;
  bool DuplikatModusFest = false;
  bool FalzstricheDrucken = false;
  short AktExemplar = 0;
  short Durchgang = 0;
  short Seitenzahl = 0;
  QString Speicherdatei;
  short StapelAnzahl = 0;
  vb::Collection<short> StapelKopien;
  // Which document each member is, item k belonging to member k, for a batch print that fails.
  QStringList StapelDokumente;
  short EntwurfBerichtArt = 0;
  bool BildspalteVorhanden = false;
  std::shared_ptr<QObject> DruckdatenHandler;
  std::shared_ptr<clsDruckerSchacht> DruckerSchacht;
  // The end amount that "<EndBetrag>" prints: the closing block's last final-amount row.
  QString strEndBetrag;

  // Sums per VAT class (0 no class, 1 full, 2 reduced, 3 exempt); VAT has slots 0..2 only.
  std::array<double, 4> dblRechnungsbetrag{};
  std::array<double, 4> dblRabattfaehigBetrag{};
  std::array<double, 4> dblRabattBetrag{};
  std::array<double, 3> dblMWSTBetrag{};
  // Set by a closing line "Gesamtrabatt": the discount slots then hold the overall discount
  // (negative) and the invoice amounts are already net of it.
  bool GesamtrabattAbgezogen = false;

  std::vector<AbschlussZeile> Abschluss;
  std::vector<AbzugEintrag> Abzuege;

  // ---- engine internals (the window's private procedures) ----
  // The first step of StartPrint: True for the modes 1 to 4; any other mode shows
  // "Ungültiger Aufruf von StartPrint. 'AusgabeModus' enthält ungültigen Wert" and gives False.
  static bool AusgabeModusPruefen(short AusgabeModus);
  // Row values of one hand-over row, the empty set (AllesLeer) or the designer's sample set (no rs).
  void DruckFelderDefinieren(const std::shared_ptr<data::Recordset>& rs, bool AllesLeer);
  void DokumentVariablenDefinieren();
  QString PlatzhalterErsetzen(const QString& text);
  void DruckeTextZeilen(const QString& text, const QString& Zeilentyp, const QString& FeldName);
  void NeueSeite();
  void DruckeLinie(const QString& name);
  void DruckeLinieEinfach();
  void DruckeLinieDoppelt();
  void DruckeZwischensumme();
  void DruckeAbschluss();
  static double BetragAusText(const QString& text);
  // Prints the current row: PrintFields, and while the page is full PrintVariables and again.
  // Bounded: a control that answers "page full" for ever is logged and left.
  void ZeileDrucken();
  // Defines a row value in the job's naming form: a report field (lists) or a "Details."
  // variable (labels).
  void DefiniereWert(const QString& name, const QString& value, int type);
  // The report kind the naming form follows (the form's BerichtArt, else EntwurfBerichtArt).
  short AktBerichtArt() const;

  // Print start and job end of every pass. DruckInitialisieren answers -99 when the user
  // cancelled the start, a failed start's status (the job is then marked failed, see
  // JobFehler), else the status of the start's last option call. DruckAbschliessen raises or
  // marks the job failed when the output did not happen; the storage file is then kept.
  int DruckInitialisieren(short AusgabeModus, const QString& Formatdatei);
  void DruckAbschliessen(short AusgabeModus, const QString& Formatdatei);
  // EndPrint of the job and its status: True when the job's output (storage file or PDF) was
  // written; a cancel in the print box counts as the user's abort, any other failure is the
  // job's (JobFehler).
  bool DruckBeenden(short AusgabeModus);
  // A job's failure: `meldung` is logged and, as the job's first failure, shown; ExitCode
  // answers 1 until the next job starts (JobBeginn).
  void JobFehler(const QString& meldung);
  void JobBeginn();
  // Whether the form of the job could not be loaded (SetDruckerOptionen met a lost database
  // server); the job is then failed with why.
  bool FormFehlt();
  bool JobFehlgeschlagen() const { return m_JobFehler; }
  // Whether a statement of the job has met a lost database server since JobBeginn; the job is
  // then failed with the database's message (its steps, trapped one by one, would print a
  // document of defaults or fail at a half-built state).
  bool DatenbankVerloren();
  // False, after failing the job with its message, for a preview (mode 1) where no user sees
  // the display: it would wait on a window nobody can close. The print batch stays as it was.
  bool VorschauSichtbar(short AusgabeModus);
  // Print batch: the current storage file becomes the next member "SDRKnnn.LL"; members are
  // printed one by one with their own copy counts, or previewed merged. A member that cannot be
  // stored raises and leaves the batch as it was.
  void InDruckstapelAblegen();
  void DruckstapelDrucken();
  void DruckstapelVorschau();
  // Puts out the members collected so far without a document of its own, for a caller whose last
  // document did not come: mode 1 shows them merged, any other prints them. Running meanwhile;
  // ExitCode tells a failure as for any job.
  void DruckstapelAusgeben(short AusgabeModus);
  // Drops the collected members unprinted: a caller whose batch will not be put out must not
  // leave it for the next job of the window to print.
  void DruckstapelVerwerfen();
  // Puts the storage file on paper copy by copy and page by page through the form's routes, on
  // paper of the storage's page size. False, with the job marked failed, when a page did not
  // reach a printer (storage unreadable, no default printer, printer gone, spooler refused).
  bool PreviewAnDrucker(const QString& Dateiname, const vb::Variant& Kopien);
  // Page count of the current storage file.
  short GetSeitenanzahl();
  // The price values of a position row and its share of the sums per VAT class.
  void PreiseDefinieren(const std::shared_ptr<data::Recordset>& rs);
  // Sets every sum per VAT class to 0, the VAT amount slots too, so that a document never shows
  // the VAT of the one before; the document print calls it at the start of every pass.
  void SummenLoeschen();

 private:
  void formInitialize();
  void formLoad();
  // Prints every member with its own copy count and empties the batch; members that did not
  // reach paper are told together, by document.
  void StapelMitgliederDrucken();
  void StapelLeeren();
  // Why a storage file did not reach paper: the message for the user and the reason alone; both
  // empty when every page was printed.
  struct Druckausfall {
    QString meldung;
    QString grund;
  };
  Druckausfall SpeicherdateiDrucken(const vb::Variant& Kopien);

  std::shared_ptr<report::IReportControl> m_LL;
  bool m_Running = false;
  bool m_Abgebrochen = false;  // a job was cancelled by the user; stays for the window's life
  bool m_JobFehler = false;    // the current or last job failed
  long m_VerlusteBeiBeginn = 0;  // data::connectionLosses() when the job started
  QString m_FormFehler;          // why the last SetDruckerOptionen loaded no form, else empty
  bool m_Steuerbefreit = false;
  double m_GesamtRabatt = 0;
  bool m_DruckOhneEPGP = false;
  QString m_Uebergabedatei;
  double m_MWSTSatz_Voll = 0;
  double m_MWSTSatz_halb = 0;
  bool m_RabattProPosition = false;
  short m_LeerzeilenZwischenPositionen = 1;
  bool m_StapelDruck = false;
  short m_AnzahlKopien = 0;
  QString m_PDFArchivDatei;
  vb::Collection<std::shared_ptr<clsListElement>> m_Werte;                 // document data store
  std::shared_ptr<vb::Collection<std::shared_ptr<clsListElement>>> m_Druckvariablen;  // after Init
  QImage m_Picture;  // picture holder of the row walk

  friend class frmDruckenJob;
};
