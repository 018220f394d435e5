#include "platform/Screen.h"

namespace platform {

Bitmap CaptureScreen(const Rect&) { throw ENoScreen("there is no screen to photograph on this build"); }

std::optional<Rect> ForegroundWindowBounds() { return std::nullopt; }

}  // namespace platform
