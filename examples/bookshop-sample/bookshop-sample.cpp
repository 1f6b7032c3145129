// bookshop-sample FOLDER [ARTICLES]: writes the sample bookshop (article database and data file)
// into FOLDER, to try the stock servers on, with ARTICLES generated articles besides its own five
// (a shop's size: 1000000). Refuses to overwrite an existing bookshop.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "schema/BookshopSample.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = QCoreApplication::arguments();
  bool zahl = true;
  const int artikel = args.size() == 3 ? args.at(2).toInt(&zahl) : 0;
  if (args.size() < 2 || args.size() > 3 || !zahl) {
    err << "usage: bookshop-sample FOLDER [ARTICLES]\n";
    return 2;
  }
  const QString folder = QDir(args.at(1)).absolutePath();
  QString error;
  if (!schema::createBookshopSample(folder, &error, artikel)) {
    err << "bookshop-sample: " << error << "\n";
    return 1;
  }
  QTextStream(stdout) << QDir(folder).filePath(schema::kSampleArtikelDatei) << "\n"
                      << QDir(folder).filePath(schema::kSampleDatenDatei) << "\n";
  return 0;
}
