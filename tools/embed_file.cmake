# Turns a file into a C++ source that returns its bytes as a std::string_view.
#   cmake -DINPUT=in -DOUTPUT=out.cpp -DNAMESPACE=ns -DFUNCTION=Name -P embed_file.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
# Sixteen bytes a line keeps the generated file readable and its lines short.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT} by tools/embed_file.cmake; do not edit.
#include <string_view>

namespace ${NAMESPACE} {
namespace {
const unsigned char kBytes[${size} + 1] = {
${bytes}0x00};
}  // namespace

std::string_view ${FUNCTION}() {
  return std::string_view(reinterpret_cast<const char*>(kBytes), ${size});
}

}  // namespace ${NAMESPACE}
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
