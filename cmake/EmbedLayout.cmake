# Turns a stored layout into a C++ source holding its bytes, so that the program
# reads no files at run time. Lines whose first non-blank characters are // are
# notes in the layout source and are left out (as empty lines, so that line
# numbers in error messages still match the source).
#
#   cmake -DIN=<layout> -DOUT=<source.cpp> -DNAME=<function name> -P EmbedLayout.cmake
# (what emr_embed_layout, EmrEmbedLayout.cmake, runs at build time)
file(READ ${IN} text)
string(REGEX REPLACE "\n[ \t]*//[^\n]*" "\n" text "${text}")
string(HEX "${text}" hex)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(([^,]+,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUT}.tmp "// Generated from ${IN}; do not edit.
#include <string_view>

namespace emr {

std::string_view ${NAME}() {
    static constexpr char bytes[] = {
    ${bytes}'\\0'};
    return {bytes, sizeof bytes - 1};
}

} // namespace emr
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
