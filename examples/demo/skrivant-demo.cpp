// skrivant-demo [PDF file] [work folder]
// Prints the sample invoice of the example host through the engine into a PDF file
// (default ./Rechnung-Beispiel.pdf). Without a work folder a temporary one is used and removed.
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include "examples/BeispielHost.h"
#include "platform/ui/ScriptedDialogs.h"

int main(int argc, char** argv) {
  // Runs without a user too: no display means the offscreen platform.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Skrivant"));
  QTextStream err(stderr);

  const QStringList args = app.arguments().mid(1);
  if (args.size() > 2 || args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"))) {
    err << "Aufruf: skrivant-demo [PDF-Datei] [Arbeitsordner]\n";
    return 2;
  }
  const QString pdf = QFileInfo(args.value(0, QStringLiteral("Rechnung-Beispiel.pdf"))).absoluteFilePath();
  QTemporaryDir temp;
  const QString arbeitsordner = args.size() > 1 ? args.at(1) : temp.path();

  // Nobody is there to answer a message box: each one takes its default button and is listed.
  ui::ScopedScriptedDialogs dialogs;
  QString fehler;
  const bool ok = beispiel::beispielRechnungDrucken(arbeitsordner, pdf, &fehler);
  for (const ui::ShownDialog& d : dialogs->shown())
    err << "Meldung: " << (d.text.isEmpty() ? d.kind : d.text) << "\n";
  if (!ok) {
    err << "skrivant-demo: " << fehler << "\n";
    return 1;
  }
  QTextStream(stdout) << pdf << "\n";
  return 0;
}
