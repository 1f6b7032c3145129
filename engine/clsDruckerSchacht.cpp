#include "engine/clsDruckerSchacht.h"

#include <array>

#include "engine/clsPrinterCollection.h"
#include "engine/modSkrivant.h"
#include "engine/modSystem.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"

namespace {

const QString kGlobal = QStringLiteral("$GLOBAL$");
const QString kStandard = QStringLiteral("Standard");
// Marks a route stored as "Standard", whose printer is the default printer's name (maybe none).
const QString kStandardRoute = QStringLiteral("StandardRoute");

// A failure while loading is shown with its description and the load goes on.
template <typename F>
void showOnError(F&& step) {
  const long verluste = data::connectionLosses().count;
  if (auto e = vb::ignoreErrors(std::forward<F>(step))) {
    // A lost database server fails the load as a whole, told once by the job, not a box a step.
    if (data::connectionLosses().count != verluste) {
      vb::logTrappedLine(e->description());
      return;
    }
    ui::MsgBox(e->description());
  }
}

std::shared_ptr<data::Recordset> openReadOnly(const QString& sql, const data::Parameters& values) {
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(sql, vb::Variant(FormularConnection()), data::adOpenForwardOnly, data::adLockReadOnly, data::adCmdUnspecified,
           values);
  return rs;
}

vb::Variant field(const data::Recordset& rs, const QString& name) {
  return rs.Fields(vb::Variant(name))->Value();
}

bool isZero(const vb::Variant& v) { return !v.isNull() && vb::CDbl(v) == 0; }

// One route from the current row of a route query. A "Standard" printer becomes the default
// printer's device name; its bin entries are there only when that printer is installed.
vb::Collection<vb::Variant> routeFromRow(const data::Recordset& rs, clsPrinterCollection& printers,
                                         std::optional<QString>& defaultPrinter) {
  vb::Collection<vb::Variant> route;
  route.Add(field(rs, QStringLiteral("VonExemplar")), QStringLiteral("VonExemplar"));
  const vb::Variant bisExemplar = field(rs, QStringLiteral("BisExemplar"));
  route.Add(isZero(bisExemplar) ? vb::Variant(999) : bisExemplar, QStringLiteral("BisExemplar"));
  route.Add(field(rs, QStringLiteral("VonSeite")), QStringLiteral("VonSeite"));
  const vb::Variant bisSeite = field(rs, QStringLiteral("BisSeite"));
  route.Add(isZero(bisSeite) ? vb::Variant(99999) : bisSeite, QStringLiteral("BisSeite"));
  const vb::Variant drucker = field(rs, QStringLiteral("Drucker"));
  if (!drucker.isNull() && vb::textEquals(vb::CStr(drucker), kStandard)) {
    if (!defaultPrinter) defaultPrinter = DefaultPrinterName();
    route.Add(vb::Variant(*defaultPrinter), QStringLiteral("Drucker"));
    route.Add(vb::Variant(true), kStandardRoute);
    if (printers.SeekPrinter(*defaultPrinter)) {
      route.Add(vb::Variant(0), QStringLiteral("SchachtNr"));
      route.Add(vb::Variant(kStandard), QStringLiteral("SchachtText"));
    }
  } else {
    route.Add(drucker, QStringLiteral("Drucker"));
    route.Add(field(rs, QStringLiteral("SchachtText")), QStringLiteral("SchachtText"));
    route.Add(NZ(field(rs, QStringLiteral("SchachtNr")), vb::Variant(0)), QStringLiteral("SchachtNr"));
  }
  route.Add(NZ(field(rs, QStringLiteral("LetzteSeiteZuerst")), vb::Variant(false)), QStringLiteral("LetzteSeiteZuerst"));
  return route;
}

}  // namespace

clsDruckerSchacht::clsDruckerSchacht(QObject* parent) : QObject(parent) {}

clsDruckerSchacht::~clsDruckerSchacht() = default;

void clsDruckerSchacht::LoadDruckForm(const QString& RechnerName, int FormNummer, int FormStatus) {
  m_archivDrucker.clear();
  m_rechnerName = RechnerName;
  loadFormRow(FormNummer, FormStatus);
  loadRoutes(FormNummer, FormStatus);
  m_rechnerName = RechnerName;
  loadArchivDrucker(FormNummer, FormStatus);
}

void clsDruckerSchacht::loadFormRow(int FormNummer, int FormStatus) {
  // A form number without a row must not print with the settings of the form loaded before.
  m_values.reset();
  std::shared_ptr<data::Recordset> rs;
  showOnError([&] {
    rs = openReadOnly(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormNummer=? AND FormStatus=?"),
                      {FormNummer, FormStatus});
  });
  if (!rs) return;
  showOnError([&] {
    if (rs->Eof()) return;
    m_values.emplace();
    const auto fields = rs->Fields();
    for (int i = 0; i < fields->Count(); ++i) {
      showOnError([&] {
        const auto f = fields->Item(vb::Variant(i));
        const QString name = f->Name();
        const vb::Variant value = NZ(f->Value(), vb::Variant(QStringLiteral(" ")));
        if (vb::textEquals(name, QStringLiteral("Formatdatei"))) {
          const QString datei = ExpandDatenPfad(vb::CStr(value));
          m_values->Add(vb::Variant(datei), name);
          if (!DateiExistiert(datei))
            ui::MsgBox(QStringLiteral("Druckvorlage '") + datei + QStringLiteral("' nicht gefunden!"), ui::vbCritical,
                       QStringLiteral("Skrivant"));
        } else {
          m_values->Add(value, name);
        }
      });
    }
  });
  showOnError([&] { rs->Close(); });
}

void clsDruckerSchacht::loadRoutes(int FormNummer, int FormStatus) {
  // Like the form row, routes never outlive the form they were loaded for.
  m_routes.emplace();
  m_currentRoute = -1;
  std::shared_ptr<data::Recordset> rs;
  showOnError([&] { rs = openRouten(FormNummer, FormStatus, QStringLiteral(" AND VonExemplar>0")); });

  // A fresh snapshot on every load, so a printer installed since the last job is seen.
  clsPrinterCollection printers;
  if (!rs) return;
  std::optional<QString> defaultPrinter;  // asked once per load, only when a route needs it
  showOnError([&] {
    for (; !rs->Eof(); rs->MoveNext())
      showOnError([&] { m_routes->push_back(routeFromRow(*rs, printers, defaultPrinter)); });
  });
  showOnError([&] { rs->Close(); });
}

void clsDruckerSchacht::loadArchivDrucker(int FormNummer, int FormStatus) {
  showOnError([&] {
    auto rs = openRouten(FormNummer, FormStatus, QStringLiteral(" AND VonExemplar=-1"));
    if (!rs->Eof()) m_archivDrucker = vb::CStr(NZ(field(*rs, QStringLiteral("Drucker"))));
    rs->Close();
  });
}

std::shared_ptr<data::Recordset> clsDruckerSchacht::openRouten(int FormNummer, int FormStatus,
                                                               const QString& Bedingung) {
  const auto query = [&] {
    data::Parameters werte;
    const QString rechner =
        FormularConnection()->dialect().caseBlindEquals(QStringLiteral("RechnerName"), m_rechnerName, werte);
    werte.insert(werte.end(), {FormNummer, FormStatus});
    return openReadOnly(QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE ") + rechner +
                            QStringLiteral(" AND FormNummer=? AND FormStatus=?") + Bedingung,
                        werte);
  };
  auto rs = query();
  // Never merged: the global rows are read only when the workstation has none of its own.
  if (rs->Eof() && !vb::textEquals(m_rechnerName, kGlobal)) {
    rs->Close();
    m_rechnerName = kGlobal;
    rs = query();
  }
  return rs;
}

QString clsDruckerSchacht::ArchivDrucker() const { return m_archivDrucker; }

short clsDruckerSchacht::ArchivDruckerSchacht() const { return 0; }

vb::Variant clsDruckerSchacht::MEFont(const QString& GewuenschterWert) const {
  static const std::array<QString, 7> kAttribute = {
      QStringLiteral("Name"),      QStringLiteral("Size"),          QStringLiteral("Bold"), QStringLiteral("Italic"),
      QStringLiteral("Underline"), QStringLiteral("Strikethrough"), QStringLiteral("Color")};
  for (const QString& a : kAttribute) {
    if (vb::textEquals(a, GewuenschterWert)) {
      if (!m_values) vb::raise(vb::ErrObjectNotSet);
      return m_values->Item(QStringLiteral("MEFont_") + GewuenschterWert);
    }
  }
  ui::MsgBox(QStringLiteral("Ungültige Parameterangabe für Mengeneinheit Fontwerte"));
  return {};
}

QString clsDruckerSchacht::text(const QString& key) const {
  if (!m_values) vb::raise(vb::ErrObjectNotSet);
  return vb::CStr(m_values->Item(key));
}

void clsDruckerSchacht::letValue(const QString& key, const vb::Variant& value) {
  if (!m_values) return;
  if (!m_values->Contains(key)) {
    m_values->Add(value, key);
    return;
  }
  // Only a real change replaces the entry: a text differing in letter case alone is kept.
  // A value that cannot be compared with the stored one (a number over a blank) is a change.
  bool same = false;
  vb::ignoreErrors([&] { same = vb::compare(m_values->Item(key), value) == 0; });
  if (same) return;
  m_values->Remove(key);
  m_values->Add(value, key);
}

QString clsDruckerSchacht::Formatdatei() const { return text(QStringLiteral("Formatdatei")); }
void clsDruckerSchacht::let_Formatdatei(const QString& value) { letValue(QStringLiteral("Formatdatei"), value); }
QString clsDruckerSchacht::DokumentTitel() const { return text(QStringLiteral("ÜberschriftText")); }
void clsDruckerSchacht::let_DokumentTitel(const QString& value) { letValue(QStringLiteral("ÜberschriftText"), value); }
QString clsDruckerSchacht::Absender() const { return text(QStringLiteral("Absender")); }
void clsDruckerSchacht::let_Absender(const QString& value) { letValue(QStringLiteral("Absender"), value); }
QString clsDruckerSchacht::Kopftext() const { return text(QStringLiteral("Kopftext")); }
void clsDruckerSchacht::let_Kopftext(const QString& value) { letValue(QStringLiteral("Kopftext"), value); }
QString clsDruckerSchacht::ProjektText() const { return text(QStringLiteral("ProjektText")); }
void clsDruckerSchacht::let_ProjektText(const QString& value) { letValue(QStringLiteral("ProjektText"), value); }
QString clsDruckerSchacht::BauherrText() const { return text(QStringLiteral("BauherrText")); }
void clsDruckerSchacht::let_BauherrText(const QString& value) { letValue(QStringLiteral("BauherrText"), value); }
QString clsDruckerSchacht::GewerkText() const { return text(QStringLiteral("GewerkText")); }
void clsDruckerSchacht::let_GewerkText(const QString& value) { letValue(QStringLiteral("GewerkText"), value); }
QString clsDruckerSchacht::KundenNrText() const { return text(QStringLiteral("KundenNrText")); }
void clsDruckerSchacht::let_KundenNrText(const QString& value) { letValue(QStringLiteral("KundenNrText"), value); }
QString clsDruckerSchacht::AngebotNrText() const { return text(QStringLiteral("AngebotNrText")); }
void clsDruckerSchacht::let_AngebotNrText(const QString& value) { letValue(QStringLiteral("AngebotNrText"), value); }
QString clsDruckerSchacht::SachbearbeiterText() const { return text(QStringLiteral("SachbearbeiterText")); }
void clsDruckerSchacht::let_SachbearbeiterText(const QString& value) {
  letValue(QStringLiteral("SachbearbeiterText"), value);
}
QString clsDruckerSchacht::DatumText() const { return text(QStringLiteral("DatumText")); }
void clsDruckerSchacht::let_DatumText(const QString& value) { letValue(QStringLiteral("DatumText"), value); }
QString clsDruckerSchacht::ProjektNrText() const { return text(QStringLiteral("ProjektNrText")); }
void clsDruckerSchacht::let_ProjektNrText(const QString& value) { letValue(QStringLiteral("ProjektNrText"), value); }
QString clsDruckerSchacht::NettoBetragText() const { return text(QStringLiteral("NettoBetragText")); }
void clsDruckerSchacht::let_NettoBetragText(const QString& value) {
  letValue(QStringLiteral("NettoBetragText"), value);
}
QString clsDruckerSchacht::EndBetragText() const { return text(QStringLiteral("EndBetragText")); }
void clsDruckerSchacht::let_EndBetragText(const QString& value) { letValue(QStringLiteral("EndBetragText"), value); }
QString clsDruckerSchacht::MwStText() const { return text(QStringLiteral("MWStText")); }
void clsDruckerSchacht::let_MwStText(const QString& value) { letValue(QStringLiteral("MWStText"), value); }
QString clsDruckerSchacht::AllgemeinSchlussText() const { return text(QStringLiteral("AllgemeinSchlussText")); }
void clsDruckerSchacht::let_AllgemeinSchlussText(const QString& value) {
  letValue(QStringLiteral("AllgemeinSchlussText"), value);
}

short clsDruckerSchacht::AnzahlKopien() const {
  return vb::CInt(vb::Variant(vb::Val(text(QStringLiteral("AnzahlKopien")))));
}

void clsDruckerSchacht::let_AnzahlKopien(short value) {
  letValue(QStringLiteral("AnzahlKopien"), vb::Variant(static_cast<std::int16_t>(value)));
}

short clsDruckerSchacht::BerichtArt() const {
  short art = -1;
  vb::ignoreErrors([&] {
    if (!m_values) vb::raise(vb::ErrObjectNotSet);
    art = vb::CInt(m_values->Item(QStringLiteral("BerichtArt")));
  });
  return art;
}

bool clsDruckerSchacht::FindDruckerRoute(short Exemplar, short DruckSeite) {
  if (!m_routes) vb::raise(vb::ErrObjectNotSet);
  bool found = false;
  const auto within = [](const vb::Variant& von, double n, const vb::Variant& bis) {
    return !von.isNull() && !bis.isNull() && vb::CDbl(von) <= n && n <= vb::CDbl(bis);
  };
  for (size_t i = 0; i < m_routes->size(); ++i) {
    const Route& r = (*m_routes)[i];
    // No early exit: the last route that contains the pair wins.
    if (within(r.Item(QStringLiteral("VonExemplar")), Exemplar, r.Item(QStringLiteral("BisExemplar"))) &&
        within(r.Item(QStringLiteral("VonSeite")), DruckSeite, r.Item(QStringLiteral("BisSeite")))) {
      m_currentRoute = static_cast<int>(i);
      found = true;
    }
  }
  return found;
}

bool clsDruckerSchacht::OhneDrucker(short Exemplar, short DruckSeite) {
  if (!FindDruckerRoute(Exemplar, DruckSeite)) return false;
  const Route& r = (*m_routes)[static_cast<size_t>(m_currentRoute)];
  return !r.Contains(kStandardRoute) &&
         vb::CStr(routeValue(QStringLiteral("Drucker"), vb::Variant(QString()))).isEmpty();
}

vb::Variant clsDruckerSchacht::routeValue(const QString& key, const vb::Variant& fallback) const {
  const Route& r = (*m_routes)[static_cast<size_t>(m_currentRoute)];
  if (!r.Contains(key)) return fallback;
  return NZ(r.Item(key), fallback);
}

bool clsDruckerSchacht::LetzteSeiteZuerst(short Exemplar, short DruckSeite) {
  if (!FindDruckerRoute(Exemplar, DruckSeite)) return false;
  return vb::CBool(routeValue(QStringLiteral("LetzteSeiteZuerst"), vb::Variant(false)));
}

QString clsDruckerSchacht::Drucker(short Exemplar, short DruckSeite) {
  if (!FindDruckerRoute(Exemplar, DruckSeite)) return {};
  return vb::CStr(routeValue(QStringLiteral("Drucker"), vb::Variant(QString())));
}

int clsDruckerSchacht::SchachtNr(short Exemplar, short DruckSeite) {
  if (!FindDruckerRoute(Exemplar, DruckSeite)) return 0;
  return vb::CLng(routeValue(QStringLiteral("SchachtNr"), vb::Variant(0)));
}

QString clsDruckerSchacht::SchachtText(short Exemplar, short DruckSeite) {
  if (!FindDruckerRoute(Exemplar, DruckSeite)) return {};
  return vb::CStr(routeValue(QStringLiteral("SchachtText"), vb::Variant(QString())));
}
