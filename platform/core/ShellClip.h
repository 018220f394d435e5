#pragma once
// The shell's clip by its resource number, from the backend: its bytes, or
// nothing where the shell has no such clip.
#include <cstdint>
#include <vector>

namespace platform {

std::vector<std::uint8_t> ShellClipData(int resourceNumber);

}  // namespace platform
