# cmake -DNAME=... -DINPUT=... -DOUTPUT=... -P EmbedFile.cmake: writes a C++ source
# holding INPUT's bytes, registered as the program resource NAME.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# One line per 32 bytes keeps the source readable for the compiler's diagnostics.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.
#include <cstdint>

#include \"platform/headless/EmbeddedResource.h\"

namespace {
const std::uint8_t kData[] = {
${bytes}
};
[[maybe_unused]] const bool kRegistered = platform::headless::RegisterProgramResource(\"${NAME}\", kData);
}  // namespace
")
