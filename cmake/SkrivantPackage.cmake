# What `cmake --install` gives a host besides the libraries and headers: the CMake package that
# finds them, the default templates and the SQL of the tables a host's databases hold.
include(CMakePackageConfigHelpers)

set(SKRIVANT_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Skrivant)
set(SKRIVANT_INSTALL_TEMPLATESDIR ${CMAKE_INSTALL_DATADIR}/skrivant/templates)
set(SKRIVANT_INSTALL_SCHEMADIR ${CMAKE_INSTALL_DATADIR}/skrivant/schema)

install(EXPORT SkrivantTargets NAMESPACE Skrivant:: DESTINATION ${SKRIVANT_INSTALL_CMAKEDIR}
  COMPONENT Development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/SkrivantConfig.cmake.in
  ${CMAKE_BINARY_DIR}/SkrivantConfig.cmake
  INSTALL_DESTINATION ${SKRIVANT_INSTALL_CMAKEDIR}
  PATH_VARS SKRIVANT_INSTALL_TEMPLATESDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/SkrivantConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/SkrivantConfig.cmake ${CMAKE_BINARY_DIR}/SkrivantConfigVersion.cmake
  DESTINATION ${SKRIVANT_INSTALL_CMAKEDIR} COMPONENT Development)

file(GLOB skrivant_templates ${CMAKE_SOURCE_DIR}/templates/*.lst ${CMAKE_SOURCE_DIR}/templates/*.lbl
  ${CMAKE_SOURCE_DIR}/templates/*.BMP)
install(FILES ${skrivant_templates} DESTINATION ${SKRIVANT_INSTALL_TEMPLATESDIR} COMPONENT Runtime)
# A host over the bus makes its databases from these, in whatever language it is written.
install(FILES ${CMAKE_SOURCE_DIR}/schema/host.sql ${CMAKE_SOURCE_DIR}/schema/bookshop.sql
  DESTINATION ${SKRIVANT_INSTALL_SCHEMADIR} COMPONENT Runtime)
