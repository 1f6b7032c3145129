// The "Kleinteile" queue: one call prints every small document the host queued in
// KT_DruckTabelle, from its head (KleinteilKopf) and lines (KleinteilElemente), with PDF copies,
// and writes totals and printed state back.
#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "automation/Application.h"
#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/clsProgVorgaben.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modDouble.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/PathResolver.h"
#include "platform/vb/VbError.h"

namespace {

constexpr std::int16_t kUebergabe = 99;
constexpr std::int16_t kAdressen = 1;
constexpr std::int16_t kBelege = 2;
constexpr std::int16_t kVorgaben = 6;

using RsPtr = std::shared_ptr<data::Recordset>;

vb::Variant wert(const RsPtr& rs, const QString& spalte) { return rs->Fields(spalte)->Value(); }
QString text(const RsPtr& rs, const QString& spalte) { return vb::CStr(NZ(wert(rs, spalte))); }
bool ja(const RsPtr& rs, const QString& spalte) { return vb::CBool(NZ(wert(rs, spalte), false)); }
void setze(const RsPtr& rs, const QString& spalte, const vb::Variant& v) { rs->Fields(spalte)->let_Value(v); }

// A document or address number, as it is bound to a statement's "?".
std::int32_t zahl(const vb::Variant& v) { return vb::CLng(v); }

}  // namespace

// One call of DruckeKleinteile.
class KleinteilLauf {
 public:
  KleinteilLauf(Application& app, bool vorschau) : a(app), f(*app.m_fenster), vorschau(vorschau) {}
  void ausfuehren();

 private:
  // The totals a document writes back once the output that carries it is out.
  struct Ergebnis {
    double rechnung = 0, voll = 0, halb = 0, ohne = 0, mwstVoll = 0, mwstHalb = 0;
    double rabatt = 0, rabattVoll = 0, rabattHalb = 0, rabattOhne = 0;
    QString pdf;  // empty when no PDF was made
  };

  // The run's error handler: the description is shown (and logged) and the next step runs.
  template <typename F>
  bool schritt(F&& step) {
    if (auto e = vb::ignoreErrors(std::forward<F>(step))) {
      vb::logTrappedLine(QStringLiteral("DruckeKleinteile ") + e->description());
      ui::MsgBox(e->description(), ui::vbOKOnly);
      return false;
    }
    return true;
  }
  QString vorgabe(const QString& name, const QString& standard) {
    return vb::CStr(NZ(a.m_objVorgaben->Value(name, standard)));
  }
  bool vorgabeAn(const QString& name, const QString& standard) {
    return vb::CBool(NZ(a.m_objVorgaben->Value(name, standard), false));
  }
  std::shared_ptr<data::Connection> host(std::int16_t gruppe) const {
    if (!a.m_ConnectList) vb::raise(vb::ErrObjectNotSet);
    return a.m_ConnectList->SQLGruppe_Connection(gruppe);
  }
  static RsPtr oeffnen(const QString& sql, const std::shared_ptr<data::Connection>& con, bool schreiben = false,
                       const data::Parameters& werte = {}) {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(sql, vb::Variant(con), data::adOpenDynamic, schreiben ? data::adLockOptimistic : data::adLockReadOnly,
             data::adCmdUnspecified, werte);
    return rs;
  }

  std::optional<Ergebnis> dokument(const RsPtr& queue, bool letztes);
  void kopfwerte(const RsPtr& kopf, const RsPtr& queue);
  void abschluss();
  void elemente(const RsPtr& elementeRs, const RsPtr& druck);
  QString elementAbfrage();
  bool ausgeben(const std::function<void()>& ausgabe);
  QString pdfMachen(const QString& datei);
  void zurueckschreiben(const RsPtr& queue, const Ergebnis& e);

  Application& a;
  frmDrucken& f;
  const bool vorschau;
  std::shared_ptr<clsConnectionHandler> uebergabe;
  QString steuerBefreitText;
  std::int16_t art = 0;  // kept when a head's Art cannot be read
  bool rabattGesehen = false;
  bool ausgabeVersucht = false;  // the current document got as far as its output
  // Group state of one document's lines.
  QString letzterSachbearbeiter, letzteKostenstelle, sachbearbeiterName;
};

vb::Variant Application::DruckeKleinteile(bool& Vorschau) {
  m_blnDrucken = true;
  const auto ende = qScopeGuard([this] { m_blnDrucken = false; });
  KleinteilLauf(*this, Vorschau).ausfuehren();
  return {};
}

void KleinteilLauf::ausfuehren() {
  DebugOutput(QStringLiteral("->DruckeKleinteile"));
  schritt([&] {
    const QString datei = f.Uebergabedatei();
    uebergabe = std::make_shared<clsConnectionHandler>();
    uebergabe->let_SQLGruppe_DB_Provider(kUebergabe, QStringLiteral("Microsoft.Jet.OLEDB.4.0;"));
    uebergabe->let_SQLGruppe_DB_Properties(kUebergabe, QStringLiteral("Jet OLEDB:System database"),
                                           vb::folderPart(datei) + QStringLiteral("SYSTEM.MDW"));
    uebergabe->let_SQLGruppe_DB_OpenConnection(kUebergabe, QStringLiteral("Data Source=") + data::connectionValue(datei));
  });
  schritt([&] {
    a.m_objVorgaben = std::make_shared<clsProgVorgaben>();
    a.m_objVorgaben->LoadCustomProperties(vb::Variant(host(kVorgaben)));
  });
  schritt([&] { SetBetraegeFormat(vorgabe(QStringLiteral("SKRV_BeträgeFormat"), QStringLiteral("#,##0.00"))); });
  // No reader in the print window; read so that the key shows in the settings table.
  schritt([&] { vorgabe(QStringLiteral("SKRV_MengenFormat"), QStringLiteral("#,##0.00")); });
  schritt([&] { SetProzentFormat(vorgabe(QStringLiteral("SKRV_ProzentFormat"), QStringLiteral("#,#0.0%"))); });
  schritt([&] { SetMWSTSatzFormat(vorgabe(QStringLiteral("SKRV_MWSTSatzFormat"), QStringLiteral("#,#0.0%"))); });
  schritt([&] {
    steuerBefreitText = vorgabe(QStringLiteral("SKRV_SteuerBefreitTxt"),
                                QStringLiteral("Umsatzsteuerfreie EG-Lieferung gem §6a i.V.m. §4 Nr. 1b UStG. "
                                               "Steuerschuldnerschaft des Leistungsempfängers."));
  });

  // The last document is the queue's last row as read here: a count over Nummer would miss rows
  // whose Nummer is Null and leave the documents after them batched but never printed.
  RsPtr queue;
  if (!schritt([&] {
        queue = oeffnen(QStringLiteral("SELECT * FROM KT_DruckTabelle ORDER BY SortID"),
                        uebergabe->SQLGruppe_Connection(kUebergabe), true);
      }))
    return;
  const int anzahl = queue->RecordCount();
  std::vector<std::optional<Ergebnis>> ergebnisse;
  bool ausgegeben = false;  // the last document (and the batch with it) went out
  while (!queue->Eof() && !a.m_blnAbbruch) {
    const bool letztes = int(ergebnisse.size()) + 1 == anzahl;
    ausgabeVersucht = false;
    ergebnisse.push_back(dokument(queue, letztes));
    ausgegeben = letztes && ergebnisse.back().has_value();
    queue->MoveNext();
  }
  // The batch ends here on every road, and its progress window with it: left open, its cancel
  // button would stop this object's next run before it began.
  a.InfoFensterSchliessen();
  // The last document could not be made (its message was shown): the documents batched before
  // it still come out, as it would have taken them along.
  if (!ausgegeben && !ausgabeVersucht && int(ergebnisse.size()) == anzahl && f.StapelAnzahl > 0)
    ausgegeben = schritt([&] { f.DruckstapelAusgeben(vorschau ? 1 : 2); }) && f.ExitCode() != 1;

  // Only now are the batched documents on paper (or in the preview) together with the last one.
  if (ausgegeben) {
    schritt([&] { queue->MoveFirst(); });
    for (const auto& e : ergebnisse) {
      if (e) schritt([&] { zurueckschreiben(queue, *e); });
      schritt([&] { queue->MoveNext(); });
    }
  } else if (!ergebnisse.empty()) {
    DebugOutput(QStringLiteral("DruckeKleinteile: Stapel nicht ausgegeben, Warteschlange unverändert"));
    // The documents stay queued; printed later with another job they would come out twice.
    f.DruckstapelVerwerfen();
  }
  schritt([&] { queue->Close(); });
  f.objRsPrintInput.reset();
  DebugOutput(QStringLiteral("DruckeKleinteile->"));
}

std::optional<KleinteilLauf::Ergebnis> KleinteilLauf::dokument(const RsPtr& queue, bool letztes) {
  const auto con = uebergabe->SQLGruppe_Connection(kUebergabe);
  // Every document starts from nothing: no variables, clerk or groups of the one before.
  a.Clear();
  letzterSachbearbeiter.clear();
  letzteKostenstelle.clear();
  sachbearbeiterName.clear();
  rabattGesehen = false;

  // Rows of the previous document left in the table would print again in this one.
  RsPtr druck;
  if (!schritt([&] {
        con->Execute(QStringLiteral("DELETE FROM PrintInputTabelle"));
        druck = oeffnen(QStringLiteral("SELECT * FROM PrintInputTabelle"), con, true);
        if (!druck->Eof())
          vb::raise(vb::ErrInvalidCall, QStringLiteral("DruckeKleinteile"),
                    QStringLiteral("PrintInputTabelle konnte nicht geleert werden."));
      }))
    return std::nullopt;

  std::int32_t vorgang = 0;
  if (!schritt([&] { vorgang = zahl(wert(queue, QStringLiteral("Nummer"))); })) return std::nullopt;
  const QString nummer = QString::number(vorgang);
  RsPtr kopf;
  if (!schritt([&] { kopf = oeffnen(QStringLiteral("SELECT * FROM KleinteilKopf WHERE Nummer=?"), host(kBelege), false, {vorgang}); }))
    return std::nullopt;
  // A document without its head would come out empty, and be marked printed.
  if (kopf->Eof()) {
    ui::MsgBox(QStringLiteral("Kopfdaten für Vorgang ") + nummer + QStringLiteral(" nicht gefunden!"), ui::vbOKOnly);
    return std::nullopt;
  }
  schritt([&] { art = vb::CInt(wert(kopf, QStringLiteral("Art"))); });

  RsPtr elementeRs;
  schritt([&] { elementeRs = oeffnen(elementAbfrage(), host(kBelege), false, {vorgang}); });

  schritt([&] {
    const std::int32_t kopien = vb::CLng(NZ(wert(queue, QStringLiteral("AnzahlKopien")), 1));
    a.SetAnzahlKopien(kopien > 0 ? vb::CInt(vb::Variant(kopien)) : std::int16_t(1));
  });
  bool rabattAusweisen = false;
  schritt([&] { rabattAusweisen = ja(queue, QStringLiteral("RabattAusweisen")); });

  kopfwerte(kopf, queue);
  if (elementeRs) elemente(elementeRs, druck);

  schritt([&] {
    if (a.GesamtRabatt() != 0 || !rabattAusweisen)
      a.let_RabattProPosition(f.Steuerbefreit());
    else
      a.let_RabattProPosition((f.Steuerbefreit() && !a.NettoRechnung()) || rabattGesehen);
  });

  QString pdfDatei;
  schritt([&] {
    QString prefix = vorgabe(QStringLiteral("SKRV_PDFAblage"), QString());
    if (prefix.isEmpty()) {
      const QString daten = GetDatenverzeichnis();
      prefix = daten + QStringLiteral("RechAusgang") + (daten.endsWith(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/'));
    }
    vb::ignoreErrors([&] {
      if (!VerzeichnisExistiert(vb::folderPart(prefix))) QDir().mkpath(vb::resolvePath(vb::folderPart(prefix)));
    });
    pdfDatei = prefix + nummer + QStringLiteral(".PDF");
  });
  bool auchAlsPDF = false;
  schritt([&] { auchAlsPDF = ja(queue, QStringLiteral("AuchAlsPDF")); });

  schritt([&] { kopf->Close(); });
  if (elementeRs) schritt([&] { elementeRs->Close(); });
  f.objRsPrintInput = druck;

  Ergebnis e;
  bool aus = false;
  ausgabeVersucht = true;
  if (letztes && vorschau) {
    aus = ausgeben([&] { a.PreviewDokument(); });
  } else if (letztes) {
    aus = ausgeben([&] { a.PrintDokument(); });
    if (aus && auchAlsPDF) e.pdf = pdfMachen(pdfDatei);
  } else {
    // Before the batch takes the document: it clears the document's data.
    if (auchAlsPDF) e.pdf = pdfMachen(pdfDatei);
    aus = ausgeben([&] { a.AddToDruckstapel(QStringLiteral("Drucke Vorgang ") + nummer); });
  }
  if (!aus) return std::nullopt;
  e.rechnung = f.Rechnungsbetrag();
  e.voll = f.Rechnungsbetrag_voll();
  e.halb = f.Rechnungsbetrag_halb();
  e.ohne = f.Rechnungsbetrag_ohne();
  e.mwstVoll = f.MWSTBetrag_voll();
  e.mwstHalb = f.MWSTBetrag_halb();
  e.rabatt = f.RabattBetrag();
  e.rabattVoll = f.RabattBetrag_voll();
  e.rabattHalb = f.RabattBetrag_halb();
  e.rabattOhne = f.RabattBetrag_ohne();
  return e;
}

bool KleinteilLauf::ausgeben(const std::function<void()>& ausgabe) {
  return schritt(ausgabe) && f.ExitCode() != 1;
}

// The export may leave *.LOG and *.TMP files beside the PDF; only those it made there go.
QString KleinteilLauf::pdfMachen(const QString& datei) {
  const QString ordner = vb::resolvePath(vb::folderPart(datei));
  const QStringList muster = {QStringLiteral("*.LOG"), QStringLiteral("*.TMP")};
  const auto reste = [&] {
    const QStringList l = QDir(ordner).entryList(muster, QDir::Files);
    return QSet<QString>(l.begin(), l.end());
  };
  const QSet<QString> vorher = reste();
  bool gemacht = false;
  schritt([&] {
    a.let_PDFArchivDatei(datei);
    a.PDFAusgabeDokument();
    gemacht = f.ExitCode() != 1 && QFileInfo(vb::resolvePath(datei)).isFile();
  });
  vb::ignoreErrors([&] {
    for (const QString& neu : reste() - vorher) QFile::remove(QDir(ordner).filePath(neu));
  });
  return gemacht ? datei : QString();
}

void KleinteilLauf::zurueckschreiben(const RsPtr& queue, const Ergebnis& e) {
  const vb::Variant nummer = wert(queue, QStringLiteral("Nummer"));
  schritt([&] {
    const auto kopf = oeffnen(QStringLiteral("SELECT * FROM KleinteilKopf WHERE Nummer=?"), host(kBelege), true, {zahl(nummer)});
    if (kopf->Eof()) return;
    const QString kopfArt = text(kopf, QStringLiteral("Art"));
    const auto betraege = [&](const QStringList& spalten, const QString& gesamt) {
      const double werte[] = {e.ohne, e.halb, e.voll, e.mwstVoll, e.mwstHalb, e.rabatt};
      for (int i = 0; i < spalten.size(); ++i) schritt([&] { setze(kopf, spalten[i], werte[i]); });
      schritt([&] { setze(kopf, gesamt, e.rechnung); });
    };
    if (QStringList{"1", "3", "6", "8"}.contains(kopfArt))
      betraege({"RechnungBetragMwst_0", "RechnungBetragMwst_7", "RechnungBetragMwst_16", "RechnungMwst_16",
                "RechnungMwst_7", "RabattBetrag"},
               QStringLiteral("Rechnungsbetrag"));
    else if (kopfArt == QLatin1String("2"))
      betraege({"LieferscheinBetrag_0", "LieferscheinBetrag_7", "LieferscheinBetrag_16", "RechnungMwst_16",
                "RechnungMwst_7", "RabattBetrag"},
               QStringLiteral("LieferscheinBetrag"));
    schritt([&] { setze(kopf, QStringLiteral("Inaktiv"), ja(kopf, QStringLiteral("Inaktiv")) || !vorschau); });
    kopf->Update();
    kopf->Close();
  });
  const std::pair<const char*, double> summen[] = {
      {"RechBetrag", e.rechnung},           {"RechBetrag_voll", e.voll},          {"RechBetrag_halb", e.halb},
      {"RechBetrag_Ohne", e.ohne},          {"MWSTBetrag_voll", e.mwstVoll},      {"MWSTBetrag_halb", e.mwstHalb},
      {"RabattBetrag_voll", e.rabattVoll}, {"RabattBetrag_halb", e.rabattHalb}, {"RabattBetrag_ohne", e.rabattOhne},
      {"RabattBetrag", e.rabatt}};
  for (const auto& [spalte, betrag] : summen) schritt([&] { setze(queue, QString::fromUtf8(spalte), betrag); });
  if (!e.pdf.isEmpty()) schritt([&] { setze(queue, QStringLiteral("PDFdatei"), e.pdf); });
  schritt([&] { setze(queue, QStringLiteral("VorgangGedruckt"), !vorschau); });
  queue->Update();
}

void KleinteilLauf::kopfwerte(const RsPtr& kopf, const RsPtr& queue) {
  schritt([&] { a.SetSchlussText(text(kopf, QStringLiteral("SchlussText"))); });
  schritt([&] {
    QString zahltext = text(kopf, QStringLiteral("ZahlBedingung"));
    if (ja(kopf, QStringLiteral("EuroRechnung"))) {
      zahltext += QStringLiteral("\r\n") + steuerBefreitText;
      f.let_Steuerbefreit(true);
    } else {
      f.let_Steuerbefreit(false);
    }
    if (ja(kopf, QStringLiteral("Organschaft"))) {
      zahltext += QStringLiteral("\r\n") + vorgabe(QStringLiteral("Organschaft_Text"), QString());
      f.let_Steuerbefreit(true);
    }
    a.SetZahlText(zahltext);
  });
  schritt([&] { a.SetVorText(text(kopf, QStringLiteral("VorText"))); });
  schritt([&] {
    a.SetDokumentTitle(QStringLiteral("Marnok - Rechnungsdruck"));
    a.SetFormBez(QStringLiteral("Schlussrechnung"));
  });

  const auto variable = [&](const QString& name, const QString& v) { f.AddDruckvariable(name, v, report::kTypeText); };
  schritt([&] {
    const auto adresse = oeffnen(QStringLiteral("SELECT SuchName,Telefon,Fax,eMail,Handy,zuHänden,UmsatzSteuerID  FROM "
                                                "Adressen WHERE Gruppe=1 AND Nummer=?"),
                                 host(kAdressen), false, {zahl(NZ(wert(kopf, QStringLiteral("Kundennummer")), 0))});
    if (!adresse->Eof()) {
      const auto felder = adresse->Fields();
      for (int i = 0; i < felder->Count(); ++i) {
        const auto feld = felder->Item(i);
        schritt([&] { variable(QStringLiteral("Empfänger.") + feld->Name(), vb::CStr(NZ(feld->Value()))); });
      }
    }
    adresse->Close();
  });

  static const std::pair<const char*, const char*> kSpalten[] = {
      {"Empfänger.Titel", "Anrede_Titel"},    {"Empfänger.Nummer", "Kundennummer"},
      {"Empfänger.Anrede", "Anrede"},         {"Empfänger.Name1", "Name1"},
      {"Empfänger.Name2", "Name2"},           {"Empfänger.Name3", "Name3"},
      {"Empfänger.Strasse", "Strasse"},       {"Empfänger.Ort", "Ort"},
      {"Empfänger.PLZ", "PLZ"},               {"Empfänger.Land", "Land"},
      {"Liefer.Titel", "L_Anrede_Titel"},     {"Liefer.Suchname", "L_Suchname"},
      {"Liefer.Nummer", "L_KundenNummer"},    {"Liefer.Anrede", "L_Anrede"},
      {"Liefer.Name1", "L_Name1"},            {"Liefer.Name2", "L_Name2"},
      {"Liefer.Name3", "L_Name3"},            {"Liefer.Strasse", "L_Strasse"},
      {"Liefer.Ort", "L_Ort"},                {"Liefer.PLZ", "L_PLZ"},
      {"Liefer.Land", "L_Land"},              {"Konto", "Konto"},
      {"GegenKonto", "GegenKonto"},           {"AuftragBestNr", "AuftragsBestaetigungsNummer"},
      {"RechnungNr", "RechnungNummer"},       {"LieferscheinNr", "LieferscheinNummer"},
      {"AngebotNr", "AngebotsNummer"},        {"Abo.Nummer", "AboNummer"},
      {"Abo.RechnungNr", "AboRechnungsNummer"}, {"Abo.LieferscheinNr", "AboLieferscheinNummer"},
      {"GutschriftNr", "RGGutschriftsNummer"}, {"RemissionNr", "RemissionsNummer"},
      {"Bankkonto", "Bankkonto"},             {"BLZ", "BLZ"},
      {"Abo.Benachrichtigung", "Abo_Benachrichtigung"}};
  for (const auto& [name, spalte] : kSpalten)
    schritt([&] { variable(QString::fromUtf8(name), text(kopf, QString::fromUtf8(spalte))); });
  static const std::pair<const char*, const char*> kDaten[] = {{"ErfassungsDatum", "ErfassungsDatum"},
                                                               {"RechnungsDatum", "RechungsDatum"},
                                                               {"BuchungsDatum", "BuchnungsDatum"},
                                                               {"Lieferdatum", "Lieferdatum"},
                                                               {"Bestelldatum", "Bestelldatum"}};
  for (const auto& [name, spalte] : kDaten)
    schritt([&] { variable(QString::fromUtf8(name), FormatDatum(wert(kopf, QString::fromUtf8(spalte)))); });
  static const std::pair<const char*, const char*> kNullNull[] = {
      {"SkontoZiel", "SkontoZiel"}, {"SkontoSatz", "Skonto"}, {"ZahlZiel", "ZahlungZiel"}};
  for (const auto& [name, spalte] : kNullNull)
    schritt([&] { variable(QString::fromUtf8(name), vb::CStr(NZ(wert(kopf, QString::fromUtf8(spalte)), QStringLiteral("0")))); });
  schritt([&] {
    const std::int16_t kopfArt = vb::CInt(wert(kopf, QStringLiteral("Art")));
    if (kopfArt == 9) variable(QStringLiteral("BestellungNr"), text(kopf, QStringLiteral("FirmenBestellungsNummer")));
    else if (kopfArt == 11)
      variable(QStringLiteral("BestellungNr"), text(kopf, QStringLiteral("InternetBestellungsNummer")));
  });
  schritt([&] {
    const QString datum = QList<int>{1, 3, 6, 7, 10}.contains(art) ? QStringLiteral("RechungsDatum")
                          : (art == 2 || art == 5)                 ? QStringLiteral("Lieferdatum")
                                                                   : QStringLiteral("ErfassungsDatum");
    variable(QStringLiteral("VorgangsDatum"), FormatDatum(wert(kopf, datum)));
  });
  schritt([&] { variable(QStringLiteral("Bankeinzug"), vb::CStr(vb::Variant(ja(kopf, QStringLiteral("Bankeinzug"))))); });

  schritt([&] {
    a.let_GesamtRabatt(ja(kopf, QStringLiteral("GesamtRabatt")) ? vb::CDbl(NZ(wert(kopf, QStringLiteral("Rabatt")), 0))
                                                                : 0.0);
  });
  schritt([&] {
    const auto sb = oeffnen(QStringLiteral("SELECT Suchname FROM Adressen WHERE Gruppe=4 AND Nummer=?"), host(kAdressen),
                            false, {zahl(NZ(wert(kopf, QStringLiteral("SachbearbeiterNummer")), 0))});
    a.SetSachbearbeiter(sb->Eof() ? QString() : text(sb, QStringLiteral("SuchName")));
    sb->Close();
  });
  schritt([&] { a.SetVorgangNr(vb::CStr(wert(kopf, QStringLiteral("Nummer")))); });

  // The head's own rates, tested before the getter stands in 0.16 for a full rate of 0.
  vb::ignoreErrors([&] {
    const double halb = vb::CDbl(NZ(wert(kopf, QStringLiteral("MWSThalb")), 0));
    a.let_MWSTSatz_halb(halb != 0 ? halb : vb::CDbl(a.m_objVorgaben->Value(QStringLiteral("MWST_halb"), 7)) / 100);
  });
  vb::ignoreErrors([&] {
    const double voll = vb::CDbl(NZ(wert(kopf, QStringLiteral("MWSTvoll")), 0));
    a.let_MWSTSatz_Voll(voll != 0 ? voll : vb::CDbl(a.m_objVorgaben->Value(QStringLiteral("MWST_voll"), 16)) / 100);
  });

  schritt([&] {
    const vb::Variant w = NZ(wert(kopf, QStringLiteral("Druckwährung")), 0);
    a.SetDruckwaehrung(vb::IsNumeric(w) && vb::CDbl(w) == 0 ? QStringLiteral("€") : vb::CStr(w));
  });
  schritt([&] {
    const std::int16_t vorlage = vb::CInt(NZ(wert(queue, QStringLiteral("Vorlage")), 0));
    a.SetDruckerOptionen(art, vorlage == 0 ? std::int16_t(1) : vorlage);
  });
  schritt([&] {
    f.blnDruckOhneEP = art == 2 && !a.m_objVorgaben->LieferscheinMitEinzelpreisen();
    f.blnDruckOhneGP = f.blnDruckOhneEP;
  });
  schritt([&] { a.let_NettoRechnung(ja(kopf, QStringLiteral("NettoRechnung"))); });
  schritt([&] { abschluss(); });
}

void KleinteilLauf::abschluss() {
  const QString nr = QString::number(art);
  const auto t = [&](const char* schluessel, const QString& standard) {
    return vorgabe(QString::fromUtf8(schluessel) + nr, standard);
  };
  const QString zwsum = t("SKRV_ZWSUM_Text", art == 0 ? QStringLiteral("Zwischensumme des Angebots")
                                                      : QStringLiteral("Zwischensumme der Rechnung"));
  const QString rabatt = t("SKRV_GesamtRab_Text", QStringLiteral("[Gesamtrabatt] Rabatt"));
  const QString zzgl = t("SKRV_zzglMWST_Text", QStringLiteral("zuzüglich Mehrwertsteuer [MWSTSatz] aus [Betrag]"));
  const QString end = t("SKRV_Endbetrag_Text", art == 0   ? QStringLiteral("Angebotsbetrag")
                                               : art == 8 ? QStringLiteral("Gutschriftbetrag")
                                                          : QStringLiteral("Rechnungsbetrag"));
  const QString netto = t("SKRV_Nettobetrag_Text", QStringLiteral("Nettobetrag der Rechnung"));
  const QString enth = t("SKRV_enthMWST_Text", QStringLiteral("enthaltene MWSt ([MWSTSatz]) aus [Betrag]"));

  const bool gesamtRabatt = a.GesamtRabatt() != 0;
  const bool befreit = f.Steuerbefreit();
  const auto zeile = [&](const char* kind, const QString& bezeichnung, bool strich) {
    a.AddAbschluss(QString::fromUtf8(kind), bezeichnung, vb::Variant(strich));
  };
  a.ClearAbschluss();
  if (a.NettoRechnung()) {
    if (gesamtRabatt) {
      zeile("Zwischensumme", zwsum, true);
      zeile("Gesamtrabatt", rabatt, false);
      if (!befreit) zeile("MWST", zzgl, true);
    } else if (!befreit) {
      zeile("Zwischensumme", netto, true);
      zeile("MWST", zzgl, true);
    }
    zeile("Brutto", end, true);
    zeile("LinieDoppelt", QString(), false);
  } else {
    if (gesamtRabatt) {
      zeile("Zwischensumme", QStringLiteral("Rechnungsbetrag"), true);
      zeile("Gesamtrabatt", rabatt, false);
    }
    zeile("Zwischensumme", end, true);
    zeile("LinieDoppelt", QString(), false);
    if (!befreit) zeile("EnthalteneMWST", enth, false);
  }
}

QString KleinteilLauf::elementAbfrage() {
  QString ordnung = QStringLiteral(" ORDER BY LaufendeNummer");
  if (art == 12) {
    const QString sortierung = vorgabe(QStringLiteral("SortRemDruck"), QStringLiteral("Position")).trimmed();
    if (sortierung.compare(QLatin1String("Position"), Qt::CaseInsensitive) == 0) {
      ordnung = QStringLiteral(" ORDER BY KleinteilElemente.LaufendeNummer");
    } else if (!sortierung.isEmpty()) {
      // Any column the host's table has, a column of its own too. The setting is never spliced
      // into the statement: the name goes in as the table gives it, and only a plain word.
      const QString spalte = host(kBelege)->columnName(QStringLiteral("KleinteilElemente"), sortierung);
      static const QRegularExpression kBezeichner(QStringLiteral("^\\w+$"),
                                                  QRegularExpression::UseUnicodePropertiesOption);
      if (kBezeichner.match(spalte).hasMatch())
        ordnung = QStringLiteral(" ORDER BY KleinteilElemente.") + spalte;
      else
        DebugOutput(QStringLiteral("DruckeKleinteile: SortRemDruck '%1' ist keine Spalte von KleinteilElemente")
                        .arg(sortierung));
    }
  }
  return QStringLiteral(
             "SELECT KleinteilElemente.*, Artikel.Autor, Artikel.EigeneArtikelNummer, Artikel.Groesse, "
             "Artikel.KatalogArtikelNummer, Artikel.ISBN_Text FROM KleinteilElemente "
             "LEFT JOIN Artikel ON KleinteilElemente.ArtikelNummer = Artikel.Artikelident "
             "WHERE KleinteilElemente.KopfNummer=?") +
         ordnung;
}

void KleinteilLauf::elemente(const RsPtr& el, const RsPtr& druck) {
  // Settings without a default of the hosts: what a new user expects (descriptions, ISBNs and
  // authors printed, no matchcodes).
  bool matchcodeAn = false, titelAn = true, isbnAn = true, autorAn = true;
  schritt([&] { matchcodeAn = vorgabeAn(QStringLiteral("MatchCodeDrucken"), QStringLiteral("0")); });
  schritt([&] { titelAn = vorgabeAn(QStringLiteral("TitelDrucken"), QStringLiteral("1")); });
  schritt([&] { isbnAn = vorgabeAn(QStringLiteral("ISBNDrucken"), QStringLiteral("1")); });
  schritt([&] { autorAn = vorgabeAn(QStringLiteral("AutorDrucken"), QStringLiteral("1")); });
  QString lsPosText;
  schritt([&] { lsPosText = vorgabe(QStringLiteral("SKRV_LS_PosText"), QStringLiteral("Artikel des Lieferscheins")); });

  for (; !el->Eof(); el->MoveNext()) {
    const auto neueZeile = [&] { druck->AddNew(); };
    const auto speichern = [&] { schritt([&] { druck->Update(); }); };
    QString kennziffer;
    schritt([&] { kennziffer = text(el, QStringLiteral("Kennziffer")).toUpper(); });
    static const std::pair<const char*, const char*> kSteuerzeilen[] = {
        {"LZ", "{Leerzeile}"}, {"ZS", "{Zwischensumme}"}, {"SV", "{Seitenvorschub}"}, {"TB", "{TB}"}};
    const auto steuer = std::find_if(std::begin(kSteuerzeilen), std::end(kSteuerzeilen),
                                     [&](const auto& s) { return kennziffer == QLatin1String(s.first); });
    if (steuer != std::end(kSteuerzeilen)) {
      if (!schritt(neueZeile)) continue;
      schritt([&] { setze(druck, QStringLiteral("ControlString"), QString::fromUtf8(steuer->second)); });
      if (kennziffer == QLatin1String("TB"))
        schritt([&] {
          const auto tb = oeffnen(QStringLiteral("SELECT * FROM TextBausteine WHERE Nummer=?"), host(kVorgaben), false,
                                  {zahl(wert(el, QStringLiteral("VonPos")))});
          if (!tb->Eof()) setze(druck, QStringLiteral("Bezeichnung"), wert(tb, QStringLiteral("Text")));
          tb->Close();
        });
      speichern();
      continue;
    }

    QString sb, kst;
    schritt([&] {
      sb = text(el, QStringLiteral("Sachbearbeiter"));
      kst = text(el, QStringLiteral("Kostenstelle"));
    });
    if ((!sb.trimmed().isEmpty() || kst != letzteKostenstelle) && (sb != letzterSachbearbeiter || kst != letzteKostenstelle)) {
      sachbearbeiterName.clear();
      if (vb::IsNumeric(vb::Variant(sb)))
        schritt([&] {
          const auto such = oeffnen(QStringLiteral("SELECT Suchname FROM Adressen WHERE Gruppe=4 AND Nummer=?"),
                                    host(kAdressen), false, {zahl(vb::Variant(sb))});
          if (!such->Eof()) sachbearbeiterName = text(such, QStringLiteral("SuchName"));
          such->Close();
        });
      if (schritt(neueZeile)) {
        schritt([&] {
          setze(druck, QStringLiteral("ControlString"), QStringLiteral("{FBGruppenkopf}"));
          setze(druck, QStringLiteral("Sachbearbeiter"), sachbearbeiterName);
          setze(druck, QStringLiteral("Kostenstelle"), kst);
          setze(druck, QStringLiteral("KST_Ansprechpartner"), text(el, QStringLiteral("Besteller")));
        });
        speichern();
      }
      letzterSachbearbeiter = sb;
      letzteKostenstelle = kst;
    }

    if (!schritt(neueZeile)) continue;
    schritt([&] { setze(druck, QStringLiteral("ControlString"), QString()); });
    schritt([&] { setze(druck, QStringLiteral("Feld1"), wert(el, QStringLiteral("PositionsNummer"))); });
    schritt([&] { setze(druck, QStringLiteral("Menge"), wert(el, QStringLiteral("Stueck"))); });
    QString bezeichnung, matchcode;
    schritt([&] { bezeichnung = text(el, QStringLiteral("Bezeichnung")); });
    schritt([&] {
      const QString mc = text(el, QStringLiteral("Matchcode"));
      if (matchcodeAn && (!titelAn || !bezeichnung.startsWith(mc))) matchcode = mc;
      setze(druck, QStringLiteral("Matchcode"), matchcode);
    });
    schritt([&] {
      QString ean;
      if (isbnAn)
        ean = wert(el, QStringLiteral("ISBN_Text")).isNull() ? text(el, QStringLiteral("ISBN"))
                                                             : text(el, QStringLiteral("ISBN_Text"));
      setze(druck, QStringLiteral("EAN"), ean);
    });
    if (autorAn) schritt([&] { setze(druck, QStringLiteral("Autor"), text(el, QStringLiteral("Autor"))); });
    schritt([&] {
      QString b;
      if ((art == 12 || titelAn) && (!bezeichnung.startsWith(lsPosText) || !matchcodeAn || matchcode.isEmpty()))
        b = bezeichnung;
      setze(druck, QStringLiteral("Bezeichnung"), b);
    });
    double rabatt = 0;
    schritt([&] {
      rabatt = vb::CDbl(NZ(wert(el, QStringLiteral("Rabatt")), 0));
      setze(druck, QStringLiteral("Rabatt"), rabatt);
    });
    int mwstArt = 1;
    schritt([&] {
      const vb::Variant m = NZ(wert(el, QStringLiteral("MWST")), QStringLiteral("1"));
      setze(druck, QStringLiteral("MWSTArt"), m);
      mwstArt = vb::CInt(m);
    });
    schritt([&] { setze(druck, QStringLiteral("Sachbearbeiter"), sachbearbeiterName); });
    schritt([&] { setze(druck, QStringLiteral("Kostenstelle"), text(el, QStringLiteral("Kostenstelle"))); });
    schritt([&] { setze(druck, QStringLiteral("KST_Ansprechpartner"), text(el, QStringLiteral("Besteller"))); });
    schritt([&] { setze(druck, QStringLiteral("Bemerkung"), wert(el, QStringLiteral("Bemerkung"))); });
    schritt([&] {
      if (wert(el, QStringLiteral("Stueck")).isNull()) return;
      const double satz = mwstArt == 1 ? a.MWSTSatz_Voll() : mwstArt == 3 ? 0.0 : a.MWSTSatz_halb();
      setze(druck, QStringLiteral("MwStSatz"), satz);
      const double vk1 = vb::CDbl(NZ(wert(el, QStringLiteral("VK1")), 0));
      setze(druck, QStringLiteral("EP"), !f.Steuerbefreit() || a.NettoRechnung() ? vk1 : Runden(vk1 / (1 + satz), 2));
      setze(druck, QStringLiteral("VK"), vb::CDbl(NZ(wert(el, QStringLiteral("VK2")), 0)));
    });
    rabattGesehen = rabattGesehen || rabatt != 0;
    schritt([&] {
      setze(druck, QStringLiteral("SkontoFähig"), true);
      setze(druck, QStringLiteral("RabattFähig"), true);
    });
    speichern();
  }
}
