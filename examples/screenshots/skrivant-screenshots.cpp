// skrivant-screenshots [folder]
// Opens the template manager on the example host's database as a host would, selects a node of
// each setting panel and writes a picture of the window for each (default ./docs/screenshots),
// with the further print settings dialog, and the report designer on the invoice (also with its
// reference block selected), the dunning letter and the label template. Run under a display
// (scripts/screenshots uses Xvfb, at 100 % and with QT_SCALE_FACTOR=2); a window that does not
// lie within the screen fails the run.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include "automation/Application.h"
#include "configuration/FormularGestaltung.h"
#include "configuration/frmDruckFormulare.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/report/DesignerWindow.h"
#include "platform/report/IReportControl.h"
#include "platform/report/ReportControl.h"
#include "platform/ui/GermanQt.h"
#include "platform/ui/ScriptedDialogs.h"

namespace {

// A window that would not fit on the screen is told, and not taken as a picture of what a user sees.
bool speichern(QWidget& w, const QString& datei, QTextStream& out) {
  QApplication::processEvents();
  const QRect bild = w.screen()->availableGeometry();
  if (!bild.contains(w.frameGeometry())) {
    QTextStream(stderr) << datei << ": das Fenster (" << w.frameGeometry().width() << "x" << w.frameGeometry().height()
                        << ") ragt über den Bildschirm (" << bild.width() << "x" << bild.height() << ")\n";
    return false;
  }
  if (!w.grab().save(datei)) return false;
  out << datei << "\n";
  return true;
}

using Werte = QList<std::pair<QString, QString>>;

// Opens the designer on a copy of the shipped template `vorlage` with the job's values, selects
// the first object showing `auswahl` (and every one after it up to the one showing `bis`) and
// photographs the window.
bool designer(ui::ScopedScriptedDialogs& dialogs, const QString& vorlage, const QString& temp, const Werte& variablen, const Werte& felder,
              const QString& auswahl, const QString& datei, QTextStream& out, const QString& bis = {}) {
  const QString kopie = temp + QLatin1Char('/') + vorlage;
  QFile::remove(kopie);
  if (!QFile::copy(QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/") + vorlage, kopie)) return false;
  QFile(kopie).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  report::ReportControl control(report::defaultReportWindows());
  for (const auto& [name, wert] : variablen) control.DefineReportVariable(name, wert, report::kTypeText);
  for (const auto& [name, wert] : felder) control.DefineReportField(name, wert, report::kTypeText);
  bool ok = false;
  dialogs->answerWindow([&](QDialog& d) {
    auto& w = dynamic_cast<report::DesignerWindow&>(d);
    d.show();
    const bool label = vorlage.endsWith(QLatin1String(".lbl"));
    const report::ObjectRef liste{label ? report::Section::Label : report::Section::Page, -1, -1};
    const QJsonArray objekte = label ? w.document()[QLatin1String("label")][QLatin1String("objects")].toArray()
                                     : w.document()[QLatin1String("objects")].toArray();
    QList<report::ObjectRef> gewaehlt;
    for (qsizetype i = 0; i < objekte.size(); ++i) {
      const QString text = objekte[i][QLatin1String("text")].toString();
      if (gewaehlt.isEmpty() && !text.contains(auswahl)) continue;
      gewaehlt.append({liste.section, -1, int(i)});
      if (bis.isEmpty() || text.contains(bis)) break;
    }
    w.canvas()->setSelection(gewaehlt);
    ok = speichern(d, datei, out);
    return int(QDialog::Rejected);
  });
  QString pfad = kopie;
  const int art = vorlage.endsWith(QLatin1String(".lbl")) ? report::kProjectLabel : report::kProjectList;
  return control.DesignLayout(nullptr, QStringLiteral("Vorlage %1").arg(vorlage), art, pfad) == report::kOk && ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::useGermanQt();
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Skrivant"));
  QTextStream out(stdout);
  QTextStream err(stderr);
  const QStringList args = app.arguments().mid(1);
  if (args.size() > 1 || args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"))) {
    err << "Aufruf: skrivant-screenshots [Ordner]\n";
    return 2;
  }
  const QDir ordner(args.value(0, QStringLiteral("docs/screenshots")));
  if (!QDir().mkpath(ordner.path())) {
    err << "skrivant-screenshots: Ordner " << ordner.path() << " kann nicht angelegt werden\n";
    return 1;
  }

  // Nobody answers: message boxes take their default button; modal dialogs are photographed.
  ui::ScopedScriptedDialogs dialogs;
  QTemporaryDir temp;
  beispiel::BeispielHost host(temp.path());
  QString fehler;
  if (!host.einrichten(&fehler)) {
    err << "skrivant-screenshots: " << fehler << "\n";
    return 1;
  }
  const auto handler = GetGlobalConnectList();
  handler->SQLGruppe_Connection(4)->Execute(QStringLiteral(
      "INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (3, 'Rechnung'), (4, 'Rechnungen.Gutschrift'), "
      "(130, 'Mahnung'), (1001, 'Lieferschein allgemein')"));
  const short mahnung = host.mahnformularAnlegen();

  configuration::FormularGestaltungAnmelden([] {});
  auto anwendung = std::make_shared<Application>();
  anwendung->set_ConnectList(vb::Variant(handler));
  anwendung->FormularGestaltung(3, 1);
  configuration::frmDruckFormulare* fenster = configuration::OffeneFormularGestaltung();
  if (!fenster) {
    err << "skrivant-screenshots: das Fenster hat sich nicht geöffnet\n";
    return 1;
  }
  fenster->AuswahlTree()->expandAll();

  const QString m = QStringLiteral("F0130V%1").arg(mahnung, 3, 10, QLatin1Char('0'));
  const QList<std::pair<QString, QString>> knoten = {
      {QStringLiteral("F0003V001"), QStringLiteral("vorlagen-vorlage.png")},
      {QStringLiteral("F0003V001F"), QStringLiteral("vorlagen-formatdatei.png")},
      {QStringLiteral("F0003V001T"), QStringLiteral("vorlagen-texte.png")},
      {QStringLiteral("F0003V001DG"), QStringLiteral("vorlagen-drucker.png")},
      {m + QStringLiteral("M0"), QStringLiteral("vorlagen-mahnung-allgemein.png")},
      {m + QStringLiteral("M2"), QStringLiteral("vorlagen-mahnstufe.png")},
  };
  bool ok = true;
  for (const auto& [key, datei] : knoten) {
    fenster->AuswahlTree()->setCurrentItem(fenster->Knoten(key));
    ok = speichern(*fenster, ordner.filePath(datei), out) && ok;
  }
  dialogs->answerWindow([&](QDialog& d) {
    d.show();
    ok = speichern(d, ordner.filePath(QStringLiteral("vorlagen-weitere-einstellungen.png")), out) && ok;
    return int(QDialog::Rejected);
  });
  for (QAction* a : fenster->findChildren<QAction*>())
    if (a->objectName() == QStringLiteral("cmdWeitereEinstellungen")) a->trigger();

  const QString anschrift = QStringLiteral("Muster GmbH\nFrau Erika Beispiel\nHauptstraße 5\n12345 Musterstadt");
  const Werte kopf = {{QStringLiteral("AbsenderSichtfenster"), QStringLiteral("Buchhandlung am Markt · Marktplatz 1 · 12345 Musterstadt")},
                      {QStringLiteral("AnschriftEmpfaenger"), anschrift},
                      {QStringLiteral("KundenNr"), QStringLiteral("10234")},
                      {QStringLiteral("Sachbearbeiter"), QStringLiteral("Herr Beispiel")}};
  const Werte rechnung = kopf + Werte{{QStringLiteral("DokumentTitel"), QStringLiteral("Rechnung")},
                                      {QStringLiteral("RechnungNr"), QStringLiteral("R-2024-0815")},
                                      {QStringLiteral("RechnungsDatum"), QStringLiteral("05.03.2024")}};
  const Werte position = {{QStringLiteral("Zeilentyp"), QStringLiteral("Position")}, {QStringLiteral("Position"), QStringLiteral("1")},
                          {QStringLiteral("Menge"), QStringLiteral("2")},
                          {QStringLiteral("Bezeichnung"), QStringLiteral("Handbuch der Buchbinderei")},
                          {QStringLiteral("DruckEP"), QStringLiteral("24,90")}, {QStringLiteral("DruckGP"), QStringLiteral("49,80")}};
  ok = designer(dialogs, QStringLiteral("Rechnung.lst"), temp.path(), rechnung, position,
                QStringLiteral("{AnschriftEmpfaenger}"), ordner.filePath(QStringLiteral("designer-rechnung.png")), out) &&
       ok;
  // The reference block chosen as a whole: the panel shows what its objects share.
  ok = designer(dialogs, QStringLiteral("Rechnung.lst"), temp.path(), rechnung, position,
                QStringLiteral("Rechnung Nr."), ordner.filePath(QStringLiteral("designer-mehrfachauswahl.png")), out,
                QStringLiteral("{Sachbearbeiter}")) &&
       ok;
  ok = designer(dialogs, QStringLiteral("Mahnung.lst"), temp.path(),
                kopf + Werte{{QStringLiteral("Betrefftext"), QStringLiteral("1. Mahnung")},
                             {QStringLiteral("Briefanrede"), QStringLiteral("Sehr geehrte Frau Beispiel,")}},
                {{QStringLiteral("Zeilentyp"), QStringLiteral("RECH")}, {QStringLiteral("RechnungNr"), QStringLiteral("R-2024-0815")},
                 {QStringLiteral("RechnungDatum"), QStringLiteral("05.03.2024")},
                 {QStringLiteral("BruttoBetrag"), QStringLiteral("49,80")}},
                QStringLiteral("{Betrefftext}"), ordner.filePath(QStringLiteral("designer-mahnung.png")), out) &&
       ok;
  ok = designer(dialogs, QStringLiteral("Etiketten.lbl"), temp.path(),
                {{QStringLiteral("Anrede"), QStringLiteral("Frau")}, {QStringLiteral("Name1"), QStringLiteral("Erika Beispiel")},
                 {QStringLiteral("Strasse"), QStringLiteral("Hauptstraße 5")}, {QStringLiteral("PLZ"), QStringLiteral("12345")},
                 {QStringLiteral("Ort"), QStringLiteral("Musterstadt")}},
                {}, QStringLiteral("{Name1}"), ordner.filePath(QStringLiteral("designer-etiketten.png")), out) &&
       ok;

  for (const ui::ShownDialog& d : dialogs->shown())
    if (d.type == ui::ShownDialog::Type::MessageBox) err << "Meldung: " << d.text << "\n";
  delete fenster;
  anwendung.reset();
  SetGlobalConnectList(nullptr);
  if (!ok) err << "skrivant-screenshots: nicht jedes Bild konnte geschrieben werden\n";
  return ok ? 0 : 1;
}
