# Turns a text file into a C++ source defining varnel::kEmbeddedSchemaSql.
# Run as: cmake -DINPUT=... -DOUTPUT=... -P embed_text.cmake
file(READ "${INPUT}" content)
set(delimiter "schema_sql")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "namespace varnel {\n"
  "extern const char* const kEmbeddedSchemaSql;\n"
  "const char* const kEmbeddedSchemaSql = R\"${delimiter}(${content})${delimiter}\";\n"
  "}  // namespace varnel\n")
