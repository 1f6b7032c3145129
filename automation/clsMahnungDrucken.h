#pragma once
// Skrivant.clsMahnungDrucken: the public class through which a host prints dunning letters (form
// kind 130). One object holds one letter: its single values and one row per overdue invoice, kept
// in a clsMahnDruckHandler; an output method adds the ten footer rows and has the process's one
// print window (engine/Druckfenster.h) print the handler's rows.
//
// Members are reached by name: the Get has the member's name, the Let is let_<Name>, the Set is
// set_<Name>. Errors of the print window, the record sets and the handler reach the host as they
// are raised.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/vb/ObjectVariant.h"

class clsConnectionHandler;
class clsMahnDruckHandler;
class frmDrucken;
class frmInfoFenster;

class clsMahnungDrucken : public QObject, public std::enable_shared_from_this<clsMahnungDrucken> {
  Q_OBJECT

 public:
  // Debug log "DEBUG.TXT" afresh, the print window loaded, an empty connection handler, Clear.
  clsMahnungDrucken();
  ~clsMahnungDrucken() override;

  Q_INVOKABLE vb::ObjectVariant ConnectList() const;
  // Takes a clsConnectionHandler of this process (or Nothing); anything else is error 13.
  Q_INVOKABLE void set_ConnectList(const vb::ObjectVariant& handler);

  // A new letter. A copy count set for the letter before goes with it. True.
  Q_INVOKABLE bool Clear();
  Q_INVOKABLE void let_Datenverzeichnis(const QString& Pfad);
  Q_INVOKABLE QString GetVersion() const;
  Q_INVOKABLE void let_PDFArchivDatei(const QString& Datei);
  Q_INVOKABLE vb::Variant SetDruckwaehrung(const QString& Druckwaehrung);
  Q_INVOKABLE bool IsBesetzt() const;
  // 0 while every job went well; -1 once the user aborted one; 1 when the last job failed.
  Q_INVOKABLE std::int32_t GetExitCode() const;
  // The designer on a dunning template with a sample letter; the letter being built is untouched.
  Q_INVOKABLE vb::Variant OpenDesign(const QString& Dateiname);
  Q_INVOKABLE vb::Variant SetAnzahlKopien(std::int16_t Anzahl);
  Q_INVOKABLE bool SetDokumentTitle(const QString& DokumentTitel);
  // Puts the letter into the print batch and starts the next one; with a text, shows it in the
  // progress window. 1 once the batch was cancelled, else 0.
  Q_INVOKABLE std::int16_t AddToDruckstapel(const QString& DruckInfo = QString());
  Q_INVOKABLE void CancelOutput();
  // Preview, print and PDF of the letter, which stays in the object. Always 0: GetExitCode tells
  // a failed job. Error 5 while another job runs on the print window.
  Q_INVOKABLE std::int32_t PreviewDokument() { return Ausgeben(1); }
  Q_INVOKABLE std::int32_t PrintDokument() { return Ausgeben(2); }
  Q_INVOKABLE std::int32_t PDFAusgabeDokument() { return Ausgeben(4); }

  Q_INVOKABLE void let_Sachbearbeiter(const QString& v);
  Q_INVOKABLE void let_KundenNr(const QString& v);
  Q_INVOKABLE void let_Druckdatum(const QDateTime& v);
  Q_INVOKABLE void let_AbsenderSichtfenster(const QString& v);
  Q_INVOKABLE void let_DefineVariable(const QString& FeldName, const QString& v);
  Q_INVOKABLE void let_Anschrift(const QString& v);
  Q_INVOKABLE void let_DatumZahlziel(const QDateTime& v);
  Q_INVOKABLE void let_DatumLetztZahlungseingang(const QDateTime& v);
  Q_INVOKABLE void let_Verzugszinsen(double v);
  Q_INVOKABLE void let_Mahngebuehren(double v);
  Q_INVOKABLE void let_Betrefftext(const QString& v);
  Q_INVOKABLE void let_Briefanrede(const QString& v);
  // The dunning level (a whole number) whose texts SetDruckerOptionen loads.
  Q_INVOKABLE void let_MahnstufenText(const QString& v);
  Q_INVOKABLE void let_VorText(const QString& v);
  Q_INVOKABLE QString VorText() const;
  Q_INVOKABLE void let_SchlussText(const QString& v);
  Q_INVOKABLE QString SchlussText() const;

  // One invoice row; "OffenerBetrag" becomes the sum over the letter's invoices of the gross
  // amount less the amount paid, each rounded to cents.
  Q_INVOKABLE void AddRechnung(std::int16_t Mahnstufe, const QString& RechnungNr, const QDateTime& RechDatum,
                               const QDateTime& FaelligDatum, double BruttoBetrag, double BisherGezahlt,
                               const QString& ExterneBemerkung);
  Q_INVOKABLE vb::Variant SetFormBez(const QString& Bezeichnung);
  // Makes ConnectList the engine-wide handler, loads the form's print settings and, for a letter
  // of form kind 130 with a dunning level, the level's texts with the form's texts where one is
  // empty. A level that is not a whole number is error 13.
  Q_INVOKABLE vb::Variant SetDruckerOptionen(std::int16_t Status, std::int16_t Vorlage);
  // Fills the letter with a sample letter of one invoice, for the designer.
  Q_INVOKABLE void WerteFuerEntwurfErzeugen();

  std::shared_ptr<clsMahnDruckHandler> handler() const { return m_handler; }

 private:
  std::int32_t Ausgeben(std::int16_t AusgabeModus);
  void FussZeilenAnhaengen();
  void MahnTexteLaden();
  void wert(const QString& name, const vb::Variant& v);
  QString textWert(const QString& name) const;

  std::shared_ptr<frmDrucken> m_fenster;
  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  std::shared_ptr<clsMahnDruckHandler> m_handler;
  double m_offenerBetrag = 0;
  bool m_abbruch = false;
  // A copy count the host set for the current letter.
  bool m_kopienGesetzt = false;
  std::unique_ptr<frmInfoFenster> m_InfoFenster;
};
