#include "platform/vb/ErrorStyle.h"

namespace vb {

namespace {
ErrorLogSink& sink() {
  static ErrorLogSink s;
  return s;
}
}  // namespace

void setErrorLogSink(ErrorLogSink s) { sink() = std::move(s); }

void logTrappedLine(const QString& line) {
  if (!sink()) return;
  try {
    sink()(line);
  } catch (...) {
    // A log that cannot be written must not break its caller.
  }
}

QString errorLine(const QString& procName, const VbError& e) {
  const QString core = QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
  return procName.isEmpty() ? core : procName + QLatin1Char(' ') + core;
}

VbError toVbError(std::exception_ptr ex) {
  try {
    std::rethrow_exception(ex);
  } catch (const VbError& e) {
    return e;
  } catch (const std::exception& e) {
    return VbError(ErrInvalidCall, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    return VbError(ErrInvalidCall);
  }
}

}  // namespace vb
