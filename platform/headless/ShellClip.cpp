#include "../core/ShellClip.h"

namespace platform {

// No shell here: the animation plays its own clip.
std::vector<std::uint8_t> ShellClipData(int) { return {}; }

}  // namespace platform
