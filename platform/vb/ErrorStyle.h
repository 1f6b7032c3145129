#pragma once
// The system's three error styles, written the same way everywhere:
//  (a) no trap: let the VbError travel to the caller (nothing to write);
//  (b) log one line and go on with the next statement: resumeNext();
//  (c) log and leave the procedure: leaveOnError().
#include <QString>
#include <exception>
#include <functional>
#include <optional>

#include "platform/vb/VbError.h"

namespace vb {

// Where trapped errors are written. The foundation points it at the debug log; a sink that
// throws is ignored, so logging can never break a print.
using ErrorLogSink = std::function<void(const QString&)>;
void setErrorLogSink(ErrorLogSink sink);
void logTrappedLine(const QString& line);

// "Name 13: description", or "13: description" without a name.
QString errorLine(const QString& procName, const VbError& e);

// Converts whatever a step threw into a VbError (unknown exceptions become error 5).
VbError toVbError(std::exception_ptr ex);

// Style (b): runs `step`; a failure is logged as errorLine(procName, e) and swallowed.
// Returns the error so a caller that looks at Err.Number afterwards still can.
template <typename F>
std::optional<VbError> resumeNext(const QString& procName, F&& step) {
  try {
    step();
    return std::nullopt;
  } catch (...) {
    VbError e = toVbError(std::current_exception());
    logTrappedLine(errorLine(procName, e));
    return e;
  }
}

// Failures ignored without a log line (the system's "failures ignored" statements).
template <typename F>
std::optional<VbError> ignoreErrors(F&& step) {
  try {
    step();
    return std::nullopt;
  } catch (...) {
    return toVbError(std::current_exception());
  }
}

// Style (c): runs `body`; on failure writes `line(e)` to the log and returns false.
template <typename F>
bool leaveOnError(const std::function<QString(const VbError&)>& line, F&& body) {
  try {
    body();
    return true;
  } catch (...) {
    VbError e = toVbError(std::current_exception());
    logTrappedLine(line(e));
    return false;
  }
}

template <typename F>
bool leaveOnError(const QString& procName, F&& body) {
  return leaveOnError([&](const VbError& e) { return errorLine(procName, e); }, std::forward<F>(body));
}

}  // namespace vb
