// skrivant-screenshots [folder]
// Opens the template manager on the example host's database as a host would, selects a node of
// each setting panel and writes a picture of the window for each (default ./docs/screenshots),
// with the further print settings dialog. Run under a display (scripts/screenshots uses Xvfb).
#include <QApplication>
#include <QDialog>
#include <QDir>
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
#include "platform/ui/ScriptedDialogs.h"

namespace {

bool speichern(QWidget& w, const QString& datei, QTextStream& out) {
  QApplication::processEvents();
  if (!w.grab().save(datei)) return false;
  out << datei << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
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
      {QStringLiteral("F0003V001F"), QStringLiteral("vorlagen-formatdatei.png")},
      {QStringLiteral("F0003V001T"), QStringLiteral("vorlagen-texte.png")},
      {QStringLiteral("F0003V001DL"), QStringLiteral("vorlagen-drucker.png")},
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

  for (const ui::ShownDialog& d : dialogs->shown())
    if (d.type == ui::ShownDialog::Type::MessageBox) err << "Meldung: " << d.text << "\n";
  delete fenster;
  anwendung.reset();
  SetGlobalConnectList(nullptr);
  if (!ok) err << "skrivant-screenshots: nicht jedes Bild konnte geschrieben werden\n";
  return ok ? 0 : 1;
}
