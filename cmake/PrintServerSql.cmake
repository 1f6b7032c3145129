# cmake -DTOOL=<skrivant-schema> -DTABLES=host|bookshop -DSERVER=postgresql|mariadb -DOUT=<file> -P PrintServerSql.cmake
# Writes the server's statements into OUT, failing the build when the tool fails.
get_filename_component(folder ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${TOOL} ${TABLES} --print ${SERVER} OUTPUT_FILE ${OUT}.part RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUT}.part)
  message(FATAL_ERROR "${TOOL} ${TABLES} --print ${SERVER}: ${result}")
endif()
file(RENAME ${OUT}.part ${OUT})
