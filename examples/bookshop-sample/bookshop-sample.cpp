// bookshop-sample FOLDER: writes the sample bookshop (article database and data file) into
// FOLDER, to try the stock servers on. Refuses to overwrite an existing bookshop.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "schema/BookshopSample.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 2) {
    err << "usage: bookshop-sample FOLDER\n";
    return 2;
  }
  const QString folder = QDir(args.at(1)).absolutePath();
  QString error;
  if (!schema::createBookshopSample(folder, &error)) {
    err << "bookshop-sample: " << error << "\n";
    return 1;
  }
  QTextStream(stdout) << QDir(folder).filePath(schema::kSampleArtikelDatei) << "\n"
                      << QDir(folder).filePath(schema::kSampleDatenDatei) << "\n";
  return 0;
}
