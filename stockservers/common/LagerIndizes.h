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
// tables it has, and rebuilds one that is not in the order SQLite itself searches it (as earlier
// versions of the servers left indexes on keys beyond ASCII). Each one made is told through `log`
// ("Index <name> angelegt", "Index <name> neu aufgebaut"), and so is each that cannot be made
// ("Index <name> nicht angelegt: " and the reason, e.g. a read-only file): the look-ups work
// without, only slower. A file another program holds is waited for a second, not the busy
// timeout, and looked at again by the next call; otherwise each file is seen to once a process.
// Other databases (ODBC) are left alone.
void LagerIndizesAnlegen(data::Connection& con, const std::function<void(const QString&)>& log);
