#pragma once
// A small host of the print engine, as an order-processing program would be: it keeps its
// settings, form tables and hand-over rows in one database file made from schema/, opens
// connection groups 4 and 6 on it, sets the document data on the print window and exports the
// document as PDF through the real report control.
//
// Work folder layout:
//   <arbeitsordner>/Daten/            the data directory ("$Daten$"), with FORMULAR/ holding the
//                                     installed templates and rule-line pictures, the database
//                                     Beispiel.mdb and the empty SYSTEM.MDW beside it
//   <arbeitsordner>/Lokal/            the engine's local path (storage files, Debug.txt) with the
//                                     forms folder Formular/
//
// With a database server the form tables and settings live there instead (made from schema/ on
// the database the connection string opens), while the hand-over table stays in Beispiel.mdb, the
// workstation's own file.
//
// The engine's settings are process-wide (local path, data directory, global connection handler,
// display formats): one host at a time.
#include <QList>
#include <QString>
#include <memory>

#include "examples/BeispielRechnung.h"

class clsConnectionHandler;
class clsProgVorgaben;
class frmDrucken;
namespace data { class Connection; }

namespace beispiel {

// Copies the default templates (*.lst, *.lbl) and the rule-line pictures (*.BMP) of the source
// tree's templates/ into `ordner`, replacing older copies. False with the reason in `fehler`.
bool vorlagenInstallieren(const QString& ordner, QString* fehler = nullptr);

class BeispielHost {
 public:
  // `server`: a connection string ("DRIVER={…};…" or "DSN=…") of the database that holds the form
  // tables and settings; empty keeps them in Beispiel.mdb.
  explicit BeispielHost(const QString& arbeitsordner, const QString& server = {});
  ~BeispielHost();
  BeispielHost(const BeispielHost&) = delete;
  BeispielHost& operator=(const BeispielHost&) = delete;

  // Lays out the work folder, installs the templates, makes the database afresh (form tables with
  // the invoice form, settings, an empty hand-over table; on a server the form tables and settings
  // are added to what is there), opens connection groups 4 and 6 on it or on the server,
  // points the engine's settings at all of it, reads the display formats from the settings as
  // the batch print does, and creates the print window on the real report control.
  // False with the reason in `fehler`; nothing is printed.
  bool einrichten(QString* fehler = nullptr);

  // Adds a dunning form (form kind 130) on the default dunning template, with its general texts
  // and the texts of dunning level 2 (heading "Zweite Mahnung", no opening text of its own);
  // its form number.
  short mahnformularAnlegen();

  // Replaces the rows of the hand-over table by `zeilen`, LongKey in their order.
  void zeilenSchreiben(const QList<Zeile>& zeilen);

  // Sets the sample document's data on the print window (form, texts, addresses, numbers, rates,
  // currency, closing lines) and exports the hand-over rows with StartPrint(4) to `pdfDatei`
  // (an absolute path). True when the job ended and the file is there.
  bool pdfDrucken(const QString& pdfDatei, QString* fehler = nullptr);

  // Sets the sample document's data on the print window, as pdfDrucken does before it prints.
  void dokumentdatenSetzen() const { dokumentdatenSetzen(*m_fenster); }

  QString datenbank() const { return m_datenverzeichnis + QStringLiteral("Beispiel.mdb"); }
  QString datenverzeichnis() const { return m_datenverzeichnis; }
  QString lokalerPfad() const { return m_lokalerPfad; }
  frmDrucken& fenster() const { return *m_fenster; }

 private:
  void datenbankFuellen();
  void dokumentdatenSetzen(frmDrucken& f) const;

  QString m_datenverzeichnis;  // ends with "/"
  QString m_lokalerPfad;       // ends with "/"
  QString m_server;
  short m_formNummer = 0;
  std::shared_ptr<clsConnectionHandler> m_verbindungen;
  std::shared_ptr<data::Connection> m_uebergabe;  // the hand-over file
  std::shared_ptr<clsProgVorgaben> m_vorgaben;
  std::shared_ptr<frmDrucken> m_fenster;
};

// The whole demo: sets up `arbeitsordner`, writes the sample invoice and exports it to
// `pdfDatei`. False with the reason in `fehler`.
bool beispielRechnungDrucken(const QString& arbeitsordner, const QString& pdfDatei, QString* fehler = nullptr);

}  // namespace beispiel
