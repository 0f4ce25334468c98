# Script mode (cmake -P): writes RES_OUT, a C++ file that holds the bytes of RES_FILE
# and registers them as the module resource (RES_ID, RES_TYPE).
foreach(v RES_ID RES_TYPE RES_FILE RES_OUT)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "resources_embed.cmake: ${v} is not set")
  endif()
endforeach()

file(READ ${RES_FILE} hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
# 32 bytes per line: split into lines first, then turn each byte into 0xNN.
string(REPEAT "." 64 line_pattern)
string(REGEX REPLACE "(${line_pattern})" "\\1\n" lines "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${lines}")

if(size EQUAL 0)
  set(bytes "0")  # an empty file still needs one element; size stays 0
endif()

set(sym "res_${RES_TYPE}_${RES_ID}")
file(WRITE ${RES_OUT}.tmp
"// Generated from ${RES_FILE}; do not edit.
#include \"resources_embedded.h\"

namespace {
const unsigned char ${sym}_bytes[] = {
${bytes}
};
LICE_EmbeddedResource ${sym} = {${RES_ID}, \"${RES_TYPE}\", ${sym}_bytes, ${size}u, nullptr};
struct Registrar
{
  Registrar() { LICE_RegisterEmbeddedResource(&${sym}); }
} ${sym}_registrar;
}  // namespace
")
file(RENAME ${RES_OUT}.tmp ${RES_OUT})
