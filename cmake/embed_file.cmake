# Turns a file into a C++ source that defines its bytes as an array, for the build to compile into
# the program. Run in script mode:
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed_file.cmake
# The source defines `const uint8_t <name>[]` and `const size_t <name>Size`.
if(NOT INPUT OR NOT OUTPUT OR NOT SYMBOL)
  message(FATAL_ERROR "embed_file.cmake needs INPUT, OUTPUT and SYMBOL")
endif()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "embed_file.cmake: ${INPUT} is empty")
endif()

# Sixteen bytes a line.
set(bytes "")
set(offset 0)
while(offset LESS hex_length)
  string(SUBSTRING "${hex}" ${offset} 32 line)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " line "${line}")
  string(APPEND bytes "    ${line}\n")
  math(EXPR offset "${offset} + 32")
endwhile()

get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated at build time from ${name}; do not edit.\n"
  "#include <cstddef>\n#include <cstdint>\n\n"
  "extern const uint8_t ${SYMBOL}[];\nextern const size_t ${SYMBOL}Size;\n\n"
  "const uint8_t ${SYMBOL}[] = {\n${bytes}};\n"
  "const size_t ${SYMBOL}Size = ${size};\n")
# Rewriting an unchanged source would only cost a recompile.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
