#pragma once
// Skrivant.Application: the print engine's main public class. A host creates it, describes one
// invoice-type document (content members, rows in the hand-over table PrintInputTabelle) and asks
// for preview, print, a place in the print batch or a PDF. It holds no document data of its own:
// every member passes on to the process's one print window, which it holds from creation to
// termination (engine/Druckfenster.h; other objects may hold the same window).
//
// Members are reached by name (platform/automation/LateBinding): the Get has the member's name,
// the Let is let_<Name>, the Set is set_<Name>. Results follow the type library: an empty
// vb::Variant where it says Empty, the fixed values it gives elsewhere. Errors of the print window
// and of the conversions (6 overflow, 13 type mismatch) reach the host as they are raised.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/vb/ObjectVariant.h"

class clsConnectionHandler;
class clsProgVorgaben;
class frmDrucken;
class frmInfoFenster;

class Application : public QObject, public std::enable_shared_from_this<Application> {
  Q_OBJECT

 public:
  // The class's initialisation: debug log "Debug.txt" afresh in the local path, the forms folder,
  // the print window loaded, an empty connection handler, Clear.
  Application();
  // The class's termination: closes the progress window and lets go of the print window (which
  // is unloaded when no other object holds it).
  ~Application() override;

  // ---- lifecycle, output and state ----

  // The handler set last, or the empty one made at creation.
  Q_INVOKABLE vb::ObjectVariant ConnectList() const;
  // Takes a clsConnectionHandler of this process (or Nothing). Anything else, a handler living in
  // another process included, cannot carry database connections: error 13, the old one stays.
  Q_INVOKABLE void set_ConnectList(const vb::ObjectVariant& handler);

  // Trims the text in the caller's variable and makes it the local path.
  Q_INVOKABLE void let_LokalerPfad(QString& Pfad);
  Q_INVOKABLE QString LokalerPfad() const;
  // The process-wide data directory, unchanged.
  Q_INVOKABLE void let_Datenverzeichnis(const QString& Pfad);

  // A new document: empty deductions and print variables, header counters 0. True.
  Q_INVOKABLE bool Clear();
  Q_INVOKABLE bool Clear260(bool ErsterDruck);
  // Major and minor version of the engine.
  Q_INVOKABLE QString GetVersion() const;
  // Makes ConnectList the engine-wide handler, then loads the form's print settings and texts.
  Q_INVOKABLE vb::Variant SetDruckerOptionen(std::int16_t Status, std::int16_t Vorlage);
  Q_INVOKABLE vb::Variant SetDruckwaehrung(const QString& Druckwaehrung);
  // True while DruckeKleinteile runs its batch.
  Q_INVOKABLE bool BeimDrucken() const { return m_blnDrucken; }
  // While a job of the print window runs; after FormularGestaltung, while the template manager is
  // open.
  Q_INVOKABLE bool IsBesetzt() const;
  // The print window's exit state as a Long: 0 while the jobs went well, 1 while the last job
  // failed (nothing or not all of it put out), -1 from the first job the user aborted on.
  Q_INVOKABLE std::int32_t GetExitCode() const;
  Q_INVOKABLE vb::Variant OpenDesign(const QString& Dateiname, const vb::Variant& BerichtArt = vb::Variant::missing());
  // The gross total of the last document, as German text.
  Q_INVOKABLE QString GetGesamtBetrag() const;
  // Puts the document into the print batch; with a text, shows it in the progress window (made on
  // first use) and lets the window's events run. 1 once the batch was cancelled, else 0.
  Q_INVOKABLE std::int16_t AddToDruckstapel(const QString& DruckInfo = QString());
  // Sets the cancel flag for the life of the object (the progress window calls it).
  Q_INVOKABLE void CancelOutput() { m_blnAbbruch = true; }
  // Preview, print and PDF export of the document (with the batch collected before it, for
  // preview and print). Always 0, as the type library gives it: GetExitCode tells a failed job.
  // Like AddToDruckstapel, error 5 while another job runs on the window (IsBesetzt).
  Q_INVOKABLE std::int32_t PDFAusgabeDokument() { return Ausgeben(4); }
  Q_INVOKABLE std::int32_t PreviewDokument() { return Ausgeben(1); }
  Q_INVOKABLE std::int32_t PrintDokument() { return Ausgeben(2); }
  // The hand-over database; True also when the print window refused a file that does not exist.
  Q_INVOKABLE bool SetDataBaseName(const QString& Dateiname);

  // Opens the template manager modeless on the form's node and returns; from then on IsBesetzt
  // is True until the window has closed. Every step's failure is written to the debug log, none
  // reaches the host. BerichtArt is not used.
  Q_INVOKABLE void FormularGestaltung(std::int16_t AuftragStatus, std::int16_t VorlageNr,
                                      const vb::Variant& BerichtArt = vb::Variant::missing());
  // The template manager lives above this folder: the program (or an in-process host) registers
  // how to open it, with the connection handler and the form to select.
  using Vorlagenverwaltung =
      std::function<void(const std::shared_ptr<clsConnectionHandler>&, std::int16_t AuftragStatus, std::int16_t VorlageNr)>;
  static void setVorlagenverwaltung(Vorlagenverwaltung oeffnen);

  // ---- document content (Application_Inhalt.cpp) ----

  Q_INVOKABLE void ClearAbschluss();
  Q_INVOKABLE void AddAbschluss(const QString& steuerlabel, const QString& Bezeichnung,
                                const vb::Variant& SummenStrichDavor = vb::Variant::missing());
  Q_INVOKABLE void let_GesamtRabatt(double v);
  Q_INVOKABLE double GesamtRabatt() const;
  Q_INVOKABLE double MWSTSatz_Voll() const;
  Q_INVOKABLE void let_MWSTSatz_Voll(double v);
  Q_INVOKABLE double MWSTSatz_halb() const;
  Q_INVOKABLE void let_MWSTSatz_halb(double v);
  Q_INVOKABLE void let_StapelDruck(bool v);
  Q_INVOKABLE void let_PDFArchivDatei(const QString& v);
  Q_INVOKABLE void let_RabattProPosition(bool v);
  Q_INVOKABLE bool RabattProPosition() const;
  Q_INVOKABLE vb::Variant SetAnzahlKopien(std::int16_t Anzahl);
  Q_INVOKABLE void ClearAnzahlKopien();
  Q_INVOKABLE bool SetDokumentTitle(const QString& DokumentTitel);
  Q_INVOKABLE vb::Variant ShowDruckerAuswahl(const QString& DruckerName, std::int32_t DruckerSchacht);
  Q_INVOKABLE bool DruckeOhneEPGP();
  Q_INVOKABLE bool SetFormToBlankett();
  Q_INVOKABLE bool SetAktuelleFont(const QString& Schriftart, std::int16_t SchriftGroesse, std::int16_t SchriftStaerke,
                                   std::int16_t KursivDruck, std::int16_t dummy1, std::int16_t dummy2);
  // Header lines: page 1 to KopfZeile(1, 2, ...), page 2 to KopfZeile(21, 22, ...), counted from
  // the last Clear; error 6 when a line number would pass 255.
  Q_INVOKABLE bool SetKopfSeite1(const QString& Kopftext, std::int16_t AbstandVonLinks, std::int16_t AbstandVonOben,
                                 std::int16_t Ausrichtung, std::int16_t Farbe);
  Q_INVOKABLE bool SetKopfSeite2(const QString& Kopftext, std::int16_t AbstandVonLinks, std::int16_t AbstandVonOben,
                                 std::int16_t Ausrichtung, std::int16_t Farbe);
  Q_INVOKABLE vb::Variant SetAbsender(const QString& AbsenderText);
  Q_INVOKABLE vb::Variant SetAnschrift(const QString& AnschriftText, std::int16_t AbstandVonLinks);
  Q_INVOKABLE vb::Variant SetBetreffText(const QString& Betrefftext, std::int32_t AbstandVonOben,
                                         std::int32_t AbstandVonLinks, std::int32_t VonLinksEnde,
                                         std::int16_t Ausrichtung, std::int16_t AnzZeichen);
  // "Projekt" or "Bauherr" (any case); anything else is told in a message box and stores nothing.
  Q_INVOKABLE vb::Variant SetAdrFeld(const QString& AdrArt, const QString& FeldName, const QString& strWert);
  Q_INVOKABLE vb::Variant SetFormBez(const QString& Bezeichnung);
  // Error 6 outside the 16-bit range.
  Q_INVOKABLE vb::Variant SetLeerzeilenZwischenPos(std::int32_t LeerzeilenAnzahl);
  Q_INVOKABLE vb::Variant SetKundenNr(std::int32_t lngKundenNr);
  Q_INVOKABLE vb::Variant SetVorgangNr(const QString& VorgangNr);
  Q_INVOKABLE vb::Variant SetRechnungNr(const QString& RechnungNr);
  Q_INVOKABLE vb::Variant SetBestellungNr(const QString& strWert);
  Q_INVOKABLE vb::Variant SetRemissionNr(const QString& strWert);
  Q_INVOKABLE vb::Variant SetSachbearbeiter(const QString& strWert);
  Q_INVOKABLE vb::Variant SetRechnungDatum(const QDateTime& datWert);
  Q_INVOKABLE vb::Variant SetUebertrag(std::int16_t UebertragDrucken);
  Q_INVOKABLE vb::Variant DruckeBeiUebertragTitelSummen();
  // A down payment: net before VAT for "N" (any case), the amount as formatted text.
  Q_INVOKABLE vb::Variant SetAbschlag(const QString& Brutto_Netto, const QString& AbschlagText, double Betrag);
  Q_INVOKABLE vb::Variant SetGesamt(const QString& MwStInProzent, const QString& NettoBetragText,
                                    const QString& MwStText, const QString& EndBetragText, const QString& dummy1,
                                    const QString& dummy2);
  Q_INVOKABLE void let_NettoRechnung(bool v);
  Q_INVOKABLE bool NettoRechnung() const;
  // The full VAT rate from the leading number of MwSt_Satz in percent, and net or gross pricing.
  Q_INVOKABLE vb::Variant SetAbschluss(const QString& MwSt_Satz, const QString& Art_MWSt, const QString& AltWaehrFaktor,
                                       const QString& AltWaehrung, const QString& DruckWaehrung,
                                       const QString& TextNetto, const QString& TextMWSt, const QString& TextBrutto);
  Q_INVOKABLE vb::Variant SetVorText(const QString& VorText);
  Q_INVOKABLE vb::Variant SetSchlussText(const QString& SchlussText);
  Q_INVOKABLE vb::Variant SetZahlText(const QString& ZahlText);

  // ---- the "Kleinteile" queue (Application_Kleinteile.cpp) ----

  // Prints every document queued in KT_DruckTabelle of the hand-over database, in SortID order:
  // all but the last into the print batch, the last with the batch as preview (Vorschau True) or
  // print. Queue rows and heads get their totals and printed state only once the output that
  // carries them is out; a cancelled or failed run leaves them as they were. Failures are shown
  // one by one and the run goes on. Empty.
  Q_INVOKABLE vb::Variant DruckeKleinteile(bool& Vorschau);

 private:
  friend class KleinteilLauf;

 private:
  std::int32_t Ausgeben(std::int16_t AusgabeModus);
  vb::Variant WertSetzen(const QString& name, const vb::Variant& wert);
  void InfoFensterSchliessen();

  std::shared_ptr<frmDrucken> m_fenster;
  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  std::unique_ptr<frmInfoFenster> m_InfoFenster;
  std::shared_ptr<clsProgVorgaben> m_objVorgaben;  // made by DruckeKleinteile; nothing until then
  std::uint8_t m_KopfZaehler1 = 0;
  std::uint8_t m_KopfZaehler2 = 0;
  bool m_blnGestaltung = false;  // set by FormularGestaltung, never cleared
  bool m_blnAbbruch = false;     // set by CancelOutput, never cleared
  bool m_blnDrucken = false;     // True while DruckeKleinteile runs
};
