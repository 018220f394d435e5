#include "skUtils.h"

#include "platform/Window.h"

namespace skin {

bool LayeredWindowsAvailable() { return platform::LayeredWindowsAvailable(); }

void SetWindowAlpha(platform::Window& window, std::uint8_t alpha) { window.SetAlpha(alpha); }

}  // namespace skin
