#pragma once
// A full disk without filling one: while it lives, no file of the test process grows beyond the
// given size, and a write past it fails (EFBIG; SIGXFSZ ignored) as one on a full disk does.
// ctest runs every test in a process of its own, so the limit stays in the test that sets it.
#include <signal.h>
#include <sys/resource.h>

namespace testsupport {

class Dateigrenze {
 public:
  explicit Dateigrenze(rlim_t bytes) : m_signal(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &m_vorher);
    rlimit knapp = m_vorher;
    knapp.rlim_cur = bytes;
    gesetzt = ::setrlimit(RLIMIT_FSIZE, &knapp) == 0;
  }
  ~Dateigrenze() {
    ::setrlimit(RLIMIT_FSIZE, &m_vorher);
    ::signal(SIGXFSZ, m_signal);
  }
  bool gesetzt = false;

 private:
  sighandler_t m_signal;
  rlimit m_vorher{};
};

}  // namespace testsupport
