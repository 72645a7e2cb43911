# Writes OUTPUT, a C++ source that defines FUNCTION in namespace HuxHost answering the bytes of INPUT
# as a std::string_view. Run as: cmake -DINPUT=... -DOUTPUT=... -DFUNCTION=... -DHEADER=... -P embed_text.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
get_filename_component(input_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.new"
"// Generated from ${input_name} by embed_text.cmake while building; edit ${input_name} instead.
#include \"${HEADER}\"

namespace HuxHost {

namespace {

const char kText[] = {${bytes} '\\0'};

}  // namespace

std::string_view ${FUNCTION}() {
    return std::string_view(kText, ${byte_count});
}

}  // namespace HuxHost
")
# Touch the source only when it changed, so that an unchanged scenario does not rebuild hux-host.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
