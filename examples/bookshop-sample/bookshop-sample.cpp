// bookshop-sample FOLDER [ARTICLES]: writes the sample bookshop (article database and data file)
// into FOLDER, to try the stock servers on, with ARTICLES generated articles besides its own five
// (a shop's size: 1000000). Refuses to overwrite an existing bookshop.
// bookshop-sample CONNECTION [ARTICLES]: the same bookshop in the one database a connection string
// ("DRIVER={…};…", "DSN=…", "Provider=…") opens, as the servers' "SQL-Server" road reads it: the
// bookshop's tables are made where missing; a database that holds articles already is refused.
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextStream>
#include <memory>

#include "platform/data/Connection.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "schema/BookshopSample.h"
#include "schema/ServerSchema.h"

namespace {

bool isConnectionString(const QString& text) {
  static const QRegularExpression start(QStringLiteral(R"(^\s*(ODBC;|(DRIVER|DSN|FILEDSN|Provider)\s*=))"),
                                        QRegularExpression::CaseInsensitiveOption);
  return start.match(text).hasMatch();
}

// The sample in the database `text` opens; false with the reason in `error`.
bool intoDatabase(const QString& text, int artikel, QString* error) {
  try {
    const auto con = std::make_shared<data::Connection>();
    con->Open(text);
    if (!schema::createTables(*con, schema::Tables::Bookshop, error)) return false;
    if (vb::CLng(con->Execute(QStringLiteral("SELECT COUNT(*) FROM Artikel"))->Fields(vb::Variant(0))->Value()) > 0) {
      *error = QStringLiteral("the database holds articles already");
      return false;
    }
    return schema::fillBookshopSample(*con, artikel, error);
  } catch (const vb::VbError& e) {
    *error = e.description();
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = QCoreApplication::arguments();
  bool zahl = true;
  const int artikel = args.size() == 3 ? args.at(2).toInt(&zahl) : 0;
  if (args.size() < 2 || args.size() > 3 || !zahl) {
    err << "usage: bookshop-sample FOLDER|CONNECTION [ARTICLES]\n";
    return 2;
  }
  QString error;
  if (isConnectionString(args.at(1))) {
    if (!intoDatabase(args.at(1), artikel, &error)) {
      err << "bookshop-sample: " << error << "\n";
      return 1;
    }
    return 0;
  }
  const QString folder = QDir(args.at(1)).absolutePath();
  if (!schema::createBookshopSample(folder, &error, artikel)) {
    err << "bookshop-sample: " << error << "\n";
    return 1;
  }
  QTextStream(stdout) << QDir(folder).filePath(schema::kSampleArtikelDatei) << "\n"
                      << QDir(folder).filePath(schema::kSampleDatenDatei) << "\n";
  return 0;
}
