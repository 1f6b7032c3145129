#include "foundation/modUtils.h"

#include <QDir>

#include "platform/vb/PathResolver.h"

bool VerzeichnisExistiert(const QString& Pfad) {
  QString p = Pfad.trimmed();
  if (!p.endsWith(QLatin1Char('/')) && !p.endsWith(QLatin1Char('\\'))) p += QLatin1Char('\\');
  // An empty path lists the root of the current drive: here, the current directory's root.
  if (p == QLatin1String("\\") || p == QLatin1String("/")) return QDir::root().exists();
  return QDir(vb::resolvePath(p)).exists();
}

vb::Variant NZ(const vb::Variant& Wert, const vb::Variant& Ersatz) {
  return Wert.isNull() ? Ersatz : Wert;
}
