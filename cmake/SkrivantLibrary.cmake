include(GNUInstallDirs)

# Installed headers keep the tree's layout under one folder of their own, so a host includes
# "platform/vb/Variant.h" or "engine/frmDrucken.h" as the tree does.
set(SKRIVANT_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/skrivant)

# skrivant_library(<target> [NO_INSTALL] [DEPS <targets>...])
# A folder's library from every .cpp in it. Folders fill up step by step, so a folder without
# sources yet is an interface library that only passes its dependencies on. Unless NO_INSTALL is
# given, `cmake --install` installs the library and the folder's headers and exports the target
# as Skrivant::<target>.
function(skrivant_library target)
  cmake_parse_arguments(ARG "NO_INSTALL" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(deps)
  foreach(d IN LISTS ARG_DEPS)
    if(TARGET ${d} OR d MATCHES "::" OR d MATCHES "^/")
      list(APPEND deps ${d})
    endif()
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${target} ${scope} ${deps})
  target_include_directories(${target} ${scope}
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${SKRIVANT_INSTALL_INCLUDEDIR}>)
  # Sanitized libraries link only into a sanitized program: a host built against the installed
  # package gets the flags with them (the tree's own targets have them already).
  if(SKRIVANT_SANITIZE_FLAGS)
    target_compile_options(${target} INTERFACE "$<INSTALL_INTERFACE:${SKRIVANT_SANITIZE_FLAGS}>")
    target_link_options(${target} INTERFACE "$<INSTALL_INTERFACE:${SKRIVANT_SANITIZE_FLAGS}>")
  endif()

  if(NOT ARG_NO_INSTALL)
    install(TARGETS ${target} EXPORT SkrivantTargets
      ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(headers)
      file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
      install(FILES ${headers} DESTINATION ${SKRIVANT_INSTALL_INCLUDEDIR}/${folder} COMPONENT Development)
    endif()
  endif()
endfunction()
