#pragma once
// A full disk without filling one: while it lives, no file of the test process grows beyond the
// given size; a write past it fails with EFBIG (SIGXFSZ is ignored), as one on a full temporary
// folder fails with ENOSPC. ctest runs every test in a process of its own, so the limit stays in
// the test that sets it.
#include <signal.h>
#include <sys/resource.h>

namespace testsupport {

class Dateigrenze {
 public:
  explicit Dateigrenze(rlim_t bytes) {
    m_signal = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &m_vorher);
    rlimit knapp = m_vorher;
    knapp.rlim_cur = bytes;
    m_gesetzt = ::setrlimit(RLIMIT_FSIZE, &knapp) == 0;
  }
  ~Dateigrenze() {
    ::setrlimit(RLIMIT_FSIZE, &m_vorher);
    ::signal(SIGXFSZ, m_signal);
  }
  Dateigrenze(const Dateigrenze&) = delete;
  Dateigrenze& operator=(const Dateigrenze&) = delete;

  bool gesetzt() const { return m_gesetzt; }

 private:
  rlimit m_vorher{};
  sighandler_t m_signal = SIG_DFL;
  bool m_gesetzt = false;
};

}  // namespace testsupport
