#pragma once
// Lets the event loop run until `done` holds or `ms` have passed; whether it came to hold.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace testsupport {

inline bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
  const QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

}  // namespace testsupport
