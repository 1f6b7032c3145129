# D-Bus activation for the programs that serve public classes on the session bus.
#
# skrivant_dbus_service(<target> BUS_NAME <name> [NO_INSTALL])
#   Writes <name>.service for the program <target>:
#   - into ${SKRIVANT_DBUS_SERVICE_DIR} (build tree), Exec= the built program, for tests;
#   - unless NO_INSTALL, into <prefix>/share/dbus-1/services at install time, Exec= the program
#     in <prefix>/bin (install the program itself with install(TARGETS <target>)).
#
# ${SKRIVANT_DBUS_SESSION_CONFIG} is a session-bus configuration whose only service directory is
# the build tree's, so a test runs
#   dbus-run-session --config-file=${SKRIVANT_DBUS_SESSION_CONFIG} -- <test>
# (or dbus-daemon --config-file=… --print-address) and gets activation of the built programs.
include(GNUInstallDirs)

set(SKRIVANT_DBUS_SERVICE_DIR ${CMAKE_BINARY_DIR}/dbus-1/services)
set(SKRIVANT_DBUS_SESSION_CONFIG ${CMAKE_BINARY_DIR}/dbus-1/session.conf)
file(MAKE_DIRECTORY ${SKRIVANT_DBUS_SERVICE_DIR})
file(WRITE ${SKRIVANT_DBUS_SESSION_CONFIG} "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"
 \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>${SKRIVANT_DBUS_SERVICE_DIR}</servicedir>
  <policy context=\"default\">
    <allow send_destination=\"*\" eavesdrop=\"true\"/>
    <allow eavesdrop=\"true\"/>
    <allow own=\"*\"/>
  </policy>
</busconfig>
")

function(skrivant_dbus_service target)
  cmake_parse_arguments(ARG "NO_INSTALL" "BUS_NAME" "" ${ARGN})
  if(NOT ARG_BUS_NAME)
    message(FATAL_ERROR "skrivant_dbus_service(${target}): BUS_NAME is missing")
  endif()
  set(head "[D-BUS Service]\nName=${ARG_BUS_NAME}\nExec=")
  file(GENERATE OUTPUT ${SKRIVANT_DBUS_SERVICE_DIR}/${ARG_BUS_NAME}.service
       CONTENT "${head}$<TARGET_FILE:${target}>\n")
  if(NOT ARG_NO_INSTALL)
    # Written at install time, so `cmake --install --prefix` gives the right Exec= path.
    install(CODE "
      set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/dbus-1/services\")
      file(MAKE_DIRECTORY \"\${dir}\")
      file(WRITE \"\${dir}/${ARG_BUS_NAME}.service\"
           \"[D-BUS Service]\\nName=${ARG_BUS_NAME}\\nExec=\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>\\n\")
      message(STATUS \"Installing: \${dir}/${ARG_BUS_NAME}.service\")")
  endif()
endfunction()
