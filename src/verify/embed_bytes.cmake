# Turns a file into a C++ source defining its bytes as an array and their
# count: varnel::<SYMBOL> and varnel::<SYMBOL>Size. Bytes rather than a string
# literal, so a file in any code page (the schemas are Windows-1252) reaches
# the program unchanged.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P embed_bytes.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# A line break after every 32 bytes keeps the generated source readable.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace varnel {\n"
  "extern const unsigned char ${SYMBOL}[];\n"
  "extern const std::size_t ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}[] = {\n${bytes}\n0x00};\n"
  "const std::size_t ${SYMBOL}Size = ${size};\n"
  "}  // namespace varnel\n")
