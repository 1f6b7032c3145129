#pragma once
// A session bus of the test process's own: a dbus-daemon with the build tree's configuration,
// whose service directory holds the built programs' service files, so the first call to a
// program's bus name starts it by activation. The bus runs for the rest of the process and
// must be up before QtDBus first connects to the session bus.
//
//   SKRIVANT_REQUIRE_TOOL(PrivateSessionBus::installed(), PrivateSessionBus::notInstalledMessage());
//   ASSERT_TRUE(PrivateSessionBus::ensure()) << PrivateSessionBus::failure();
#include <string>

namespace testsupport {

class PrivateSessionBus {
 public:
  static bool installed();
  static const char* notInstalledMessage();

  // Starts the daemon once per process and points DBUS_SESSION_BUS_ADDRESS at it; false, with
  // failure(), when it does not come up.
  static bool ensure();
  static const std::string& failure();
};

}  // namespace testsupport
