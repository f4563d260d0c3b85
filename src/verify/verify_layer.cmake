# The verifier layer: reads a finished audit file back from disk with libxml2
# and reports what is wrong with it. It stands on base alone. The official
# schemas it validates against are compiled in, one generated source each, so
# nothing has to be found at run time.
find_package(LibXml2 REQUIRED)

# varnel_embed_schema(LABEL FILE SYMBOL): a generated source defining the
# bytes of FILE as varnel::SYMBOL; its path is appended to VARNEL_VERIFY_SCHEMA_SOURCES.
function(varnel_embed_schema label file symbol)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/verify_schema_${label}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/verify/embed_bytes.cmake
    DEPENDS ${file} ${CMAKE_CURRENT_SOURCE_DIR}/verify/embed_bytes.cmake
    COMMENT "Embedding the SAF-T (PT) ${label} schema")
  set(VARNEL_VERIFY_SCHEMA_SOURCES ${VARNEL_VERIFY_SCHEMA_SOURCES} ${output} PARENT_SCOPE)
endfunction()

set(VARNEL_VERIFY_SCHEMA_SOURCES)
varnel_embed_schema(1_03_01 ${PROJECT_SOURCE_DIR}/third_party/reference/saftpt1.03_01.xsd kSchemaSaftPt10301)
# 1.04_01: the tax authority's current revision (2022-05-17) made loadable by
# libxml2: its XSD 1.1 assertions commented out and its one xs:all replaced by
# an unbounded choice. The verifier checks those assertions in code.
varnel_embed_schema(1_04_01 ${PROJECT_SOURCE_DIR}/third_party/reference/saftpt1.04_01-2022-05-17-libxml.xsd
                    kSchemaSaftPt10401)

varnel_layer(verify DEPENDS base platform SOURCES ${VARNEL_VERIFY_SCHEMA_SOURCES})
target_link_libraries(varnel_verify PRIVATE LibXml2::LibXml2)
find_package(Threads REQUIRED)
target_link_libraries(varnel_verify PRIVATE Threads::Threads)
