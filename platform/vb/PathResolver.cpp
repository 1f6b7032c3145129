#include "platform/vb/PathResolver.h"

namespace vb {

QString resolvePath(const QString& stored) {
  QString p = stored;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return p;
}

QString toStoredPath(const QString& real) {
  QString p = real;
  p.replace(QLatin1Char('/'), QLatin1Char('\\'));
  return p;
}

}  // namespace vb
