#pragma once
// A full disk without filling one: while `f` runs, a write that makes a file of the test process
// larger than `bytes` fails (EFBIG; SIGXFSZ ignored) as one on a full disk does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <functional>

namespace testsupport {

inline void mitDateigrenze(rlim_t bytes, const std::function<void()>& f) {
  const sighandler_t signal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit vorher{};
  ::getrlimit(RLIMIT_FSIZE, &vorher);
  const rlimit knapp{bytes, vorher.rlim_max};
  if (::setrlimit(RLIMIT_FSIZE, &knapp) != 0) ADD_FAILURE() << "the file size limit could not be set";
  f();
  ::setrlimit(RLIMIT_FSIZE, &vorher);
  ::signal(SIGXFSZ, signal);
}

}  // namespace testsupport
