#pragma once
// The print settings of one form for one workstation: template file, report kind, copy count,
// fixed texts, quantity-unit font, and the printer and paper-bin routes per copy and page.
// LoadDruckForm reads them from Auftrag_Formular_Neu and Auftrag_Formular_Druckerschacht_Neu
// (group 4 of the global connection handler); the Gets answer from the loaded copy, the Lets
// change only that copy. Nothing is ever written back to the tables.
//
// Held by std::shared_ptr; late binding finds every member below (Get = the name, Let = let_<Name>).
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/vb/Collection.h"
#include "platform/vb/Variant.h"

namespace data { class Recordset; }

class clsDruckerSchacht : public QObject {
  Q_OBJECT

 public:
  explicit clsDruckerSchacht(QObject* parent = nullptr);
  ~clsDruckerSchacht() override;

  // Loads one form for one workstation. Routes and archive printer come from the workstation's
  // own rows, or from the "$GLOBAL$" rows when it has none (each independently, never merged).
  // A route whose printer is "Standard" takes the default printer's name at this moment.
  // A load that finds no form row leaves no form loaded (the text Gets then raise), and one that
  // finds no route rows leaves an empty route list, so nothing of an earlier form is used.
  // A missing template file shows "Druckvorlage '...' nicht gefunden!"; any other failure shows
  // its description; the load goes on in both cases and raises nothing.
  Q_INVOKABLE void LoadDruckForm(const QString& RechnerName, int FormNummer, int FormStatus);
  // Whether a load found the form's row (for the print window; no member of the class).
  bool FormGeladen() const { return m_values.has_value(); }

  // Device name of the archive printer, "" when none; "Standard" is not resolved here.
  Q_INVOKABLE QString ArchivDrucker() const;
  Q_INVOKABLE short ArchivDruckerSchacht() const;  // always 0

  // One attribute of the quantity-unit font: "Name", "Size", "Bold", "Italic", "Underline",
  // "Strikethrough" or "Color" (any case). Another word shows a message and gives Empty.
  Q_INVOKABLE vb::Variant MEFont(const QString& GewuenschterWert) const;

  // Template file with "$Daten$" already expanded.
  Q_INVOKABLE QString Formatdatei() const;
  Q_INVOKABLE void let_Formatdatei(const QString& value);

  // The texts of the form row; a Null column reads " ". Without a loaded form they raise.
  Q_INVOKABLE QString DokumentTitel() const;  // column ÜberschriftText
  Q_INVOKABLE void let_DokumentTitel(const QString& value);
  Q_INVOKABLE QString Absender() const;
  Q_INVOKABLE void let_Absender(const QString& value);
  Q_INVOKABLE QString Kopftext() const;
  Q_INVOKABLE void let_Kopftext(const QString& value);
  Q_INVOKABLE QString ProjektText() const;
  Q_INVOKABLE void let_ProjektText(const QString& value);
  Q_INVOKABLE QString BauherrText() const;
  Q_INVOKABLE void let_BauherrText(const QString& value);
  Q_INVOKABLE QString GewerkText() const;
  Q_INVOKABLE void let_GewerkText(const QString& value);
  Q_INVOKABLE QString KundenNrText() const;
  Q_INVOKABLE void let_KundenNrText(const QString& value);
  Q_INVOKABLE QString AngebotNrText() const;
  Q_INVOKABLE void let_AngebotNrText(const QString& value);
  Q_INVOKABLE QString SachbearbeiterText() const;
  Q_INVOKABLE void let_SachbearbeiterText(const QString& value);
  Q_INVOKABLE QString DatumText() const;
  Q_INVOKABLE void let_DatumText(const QString& value);
  Q_INVOKABLE QString ProjektNrText() const;
  Q_INVOKABLE void let_ProjektNrText(const QString& value);
  Q_INVOKABLE QString NettoBetragText() const;
  Q_INVOKABLE void let_NettoBetragText(const QString& value);
  Q_INVOKABLE QString EndBetragText() const;
  Q_INVOKABLE void let_EndBetragText(const QString& value);
  Q_INVOKABLE QString MwStText() const;
  Q_INVOKABLE void let_MwStText(const QString& value);
  Q_INVOKABLE QString AllgemeinSchlussText() const;
  Q_INVOKABLE void let_AllgemeinSchlussText(const QString& value);

  // Copy count: the leading number of the stored text, rounded to a 16-bit Integer (0 for a
  // blank or non-numeric value, error 6 beyond the range).
  Q_INVOKABLE short AnzahlKopien() const;
  Q_INVOKABLE void let_AnzahlKopien(short value);

  // Report kind (1 label, 2 list or invoice); -1 when it cannot be read for any reason.
  Q_INVOKABLE short BerichtArt() const;

  // Route queries for copy `Exemplar` and page `DruckSeite` (both from 1). The last route in list
  // order that contains both numbers answers; without one they give False, "", 0 and "".
  // A route lacking a value (a Null column, or a "Standard" route whose default printer was not
  // installed at load time) gives "" or 0 for it, so the print window leaves the bin unchanged.
  // Before any load they raise error 91.
  Q_INVOKABLE bool LetzteSeiteZuerst(short Exemplar, short DruckSeite);
  Q_INVOKABLE QString Drucker(short Exemplar, short DruckSeite);
  Q_INVOKABLE int SchachtNr(short Exemplar, short DruckSeite);
  Q_INVOKABLE QString SchachtText(short Exemplar, short DruckSeite);
  // Whether a route holds copy `Exemplar` and page `DruckSeite` (it becomes the current route).
  bool FindDruckerRoute(short Exemplar, short DruckSeite);
  // Whether that route names no printer of its own: its printer was left empty (or Null), not
  // "Standard". The print window prints such pages as the copy's first page.
  bool OhneDrucker(short Exemplar, short DruckSeite);

 private:
  using Values = vb::Collection<vb::Variant>;
  using Route = vb::Collection<vb::Variant>;

  void loadFormRow(int FormNummer, int FormStatus);
  void loadRoutes(int FormNummer, int FormStatus);
  void loadArchivDrucker(int FormNummer, int FormStatus);
  // The rows of the current workstation that meet `Bedingung`, or of "$GLOBAL$" when it has none
  // (the current workstation then becomes "$GLOBAL$").
  std::shared_ptr<data::Recordset> openRouten(int FormNummer, int FormStatus, const QString& Bedingung);
  // The entry of the current route, or `fallback` when the route lacks it or it is Null.
  vb::Variant routeValue(const QString& key, const vb::Variant& fallback) const;

  QString text(const QString& key) const;
  void letValue(const QString& key, const vb::Variant& value);

  std::optional<Values> m_values;             // the form row; none before a load that found one
  std::optional<std::vector<Route>> m_routes;  // none before the first load
  int m_currentRoute = -1;                     // index into m_routes of the last match
  QString m_archivDrucker;
  QString m_rechnerName;                       // the workstation the last query asked for
};
