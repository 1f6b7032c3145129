#include "schema/HostSchema.h"

#include "schema/SqlScript.h"

namespace schema {

extern const char* const kHostSql;

QStringList hostStatements() { return scriptStatements(kHostSql); }

bool createHostDatabase(const QString& path, QString* error) { return runScript(path, hostStatements(), error); }

}  // namespace schema
