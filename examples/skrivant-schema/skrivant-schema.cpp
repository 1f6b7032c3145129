// skrivant-schema host|bookshop CONNECTION
//   creates the host's or the bookshop's tables on the database CONNECTION opens: an SQLite file
//   ("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=FILE") or PostgreSQL or MariaDB through ODBC
//   ("DRIVER={…};…" or "DSN=…"). Tables that exist already are kept; a database that holds the
//   other kind's tables is refused (host and bookshop tables are two databases).
// skrivant-schema host|bookshop --print sqlite|postgresql|mariadb
//   writes those statements instead, each ending with ";", for the server's own client.
#include <QCoreApplication>
#include <QTextStream>
#include <memory>

#include "platform/data/Connection.h"
#include "platform/vb/VbError.h"
#include "schema/ServerSchema.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = QCoreApplication::arguments();
  const bool print = args.size() == 4 && args.at(2) == QLatin1String("--print");
  if ((args.size() != 3 && !print) || (args.at(1) != QLatin1String("host") && args.at(1) != QLatin1String("bookshop"))) {
    err << "usage: skrivant-schema host|bookshop CONNECTION\n"
           "       skrivant-schema host|bookshop --print sqlite|postgresql|mariadb\n";
    return 2;
  }
  const auto tables = args.at(1) == QLatin1String("host") ? schema::Tables::Host : schema::Tables::Bookshop;
  if (print) {
    using Kind = data::Dialect::Kind;
    const QString server = args.at(3);
    const Kind kind = server == QLatin1String("postgresql") ? Kind::PostgreSql
                      : server == QLatin1String("mariadb")  ? Kind::MariaDb
                      : server == QLatin1String("sqlite")   ? Kind::Jet
                                                            : Kind::OtherOdbc;
    const QStringList statements = schema::statementsFor(tables, kind);
    if (statements.isEmpty()) {
      err << "skrivant-schema: no schema for " << server << "\n";
      return 2;
    }
    QTextStream out(stdout);
    for (const QString& s : statements) out << s << ";\n\n";
    return 0;
  }
  QString error;
  try {
    // Connection::Execute hands the connection to each statement's record set: it must be shared.
    const auto con = std::make_shared<data::Connection>();
    con->Open(args.at(2));
    if (schema::createTables(*con, tables, &error)) return 0;
  } catch (const vb::VbError& e) {
    error = e.description();
  }
  err << "skrivant-schema: " << error << "\n";
  return 1;
}
