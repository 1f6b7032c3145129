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
# The same tables in PostgreSQL's and MariaDB's words (skrivant-schema --print), for an
# administrator's psql or mariadb client: share/skrivant/schema/<server>/<tables>.sql.
if(TARGET skrivant-schema)
  set(skrivant_server_sql)
  foreach(server IN ITEMS postgresql mariadb)
    foreach(tables IN ITEMS host bookshop)
      set(out ${CMAKE_BINARY_DIR}/schema-sql/${server}/${tables}.sql)
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:skrivant-schema> -DTABLES=${tables} -DSERVER=${server}
                -DOUT=${out} -P ${CMAKE_SOURCE_DIR}/cmake/PrintServerSql.cmake
        DEPENDS skrivant-schema ${CMAKE_SOURCE_DIR}/cmake/PrintServerSql.cmake VERBATIM)
      list(APPEND skrivant_server_sql ${out})
      install(FILES ${out} DESTINATION ${SKRIVANT_INSTALL_SCHEMADIR}/${server} COMPONENT Runtime)
    endforeach()
  endforeach()
  add_custom_target(server_sql ALL DEPENDS ${skrivant_server_sql})
  install(TARGETS skrivant-schema RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
endif()
