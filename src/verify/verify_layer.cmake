# The verifier layer: reads a finished audit file back from disk with libxml2
# and reports what is wrong with it. It stands on base alone. The official
# schemas it validates against are compiled in, one generated source each, so
# nothing has to be found at run time.
find_package(LibXml2 REQUIRED)

set(VARNEL_VERIFY_SCHEMA_10301 ${PROJECT_SOURCE_DIR}/third_party/reference/saftpt1.03_01.xsd)
set(VARNEL_VERIFY_SCHEMA_10301_CPP ${CMAKE_CURRENT_BINARY_DIR}/verify_schema_1_03_01.cpp)
add_custom_command(
  OUTPUT ${VARNEL_VERIFY_SCHEMA_10301_CPP}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${VARNEL_VERIFY_SCHEMA_10301} -DOUTPUT=${VARNEL_VERIFY_SCHEMA_10301_CPP}
          -DSYMBOL=kSchemaSaftPt10301 -P ${CMAKE_CURRENT_SOURCE_DIR}/verify/embed_bytes.cmake
  DEPENDS ${VARNEL_VERIFY_SCHEMA_10301} ${CMAKE_CURRENT_SOURCE_DIR}/verify/embed_bytes.cmake
  COMMENT "Embedding the SAF-T (PT) 1.03_01 schema")

# 1.04_01: the official schema with its XSD 1.1 assertions commented out so
# that libxml2 can load it; the verifier checks those assertions in code.
set(VARNEL_VERIFY_SCHEMA_10401 ${PROJECT_SOURCE_DIR}/third_party/reference/saftpt1.04_01-noassert.xsd)
set(VARNEL_VERIFY_SCHEMA_10401_CPP ${CMAKE_CURRENT_BINARY_DIR}/verify_schema_1_04_01.cpp)
add_custom_command(
  OUTPUT ${VARNEL_VERIFY_SCHEMA_10401_CPP}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${VARNEL_VERIFY_SCHEMA_10401} -DOUTPUT=${VARNEL_VERIFY_SCHEMA_10401_CPP}
          -DSYMBOL=kSchemaSaftPt10401 -P ${CMAKE_CURRENT_SOURCE_DIR}/verify/embed_bytes.cmake
  DEPENDS ${VARNEL_VERIFY_SCHEMA_10401} ${CMAKE_CURRENT_SOURCE_DIR}/verify/embed_bytes.cmake
  COMMENT "Embedding the SAF-T (PT) 1.04_01 schema")

varnel_layer(verify DEPENDS base platform SOURCES ${VARNEL_VERIFY_SCHEMA_10301_CPP} ${VARNEL_VERIFY_SCHEMA_10401_CPP})
target_link_libraries(varnel_verify PRIVATE LibXml2::LibXml2)
find_package(Threads REQUIRED)
target_link_libraries(varnel_verify PRIVATE Threads::Threads)
