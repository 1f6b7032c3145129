#pragma once
// The indexes of the bookshop schema on a shop's article database. A file made before they were
// part of the schema has none, and every look-up but the one by Artikelident reads the whole
// table; the servers add the missing ones when they open the file.
#include <QString>
#include <functional>

namespace data {
class Connection;
}

// Makes the indexes of the bookshop schema that the SQLite article database `con` lacks, on the
// tables it has. Each one made is told through `log` ("Index <name> angelegt"), and so is each
// that cannot be made ("Index <name> nicht angelegt: " and the reason, e.g. a read-only file):
// the look-ups work without, only slower. Each file is seen to once a process. Other databases
// (ODBC) are left alone.
void LagerIndizesAnlegen(data::Connection& con, const std::function<void(const QString&)>& log);
