// The screen's own pixels, as a screenshot takes them.
#pragma once
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/Types.h"

namespace platform {

class ENoScreen : public Exception {
 public:
  using Exception::Exception;
};

// The pixels `area` (desktop coordinates) shows now, read back from the screen's
// device context: whatever every window put there. Parts outside the screen
// read as black. The headless backend has no screen and raises ENoScreen.
Bitmap CaptureScreen(const Rect& area);

// The desktop bounds of the window in front (the active one, of any program),
// or nullopt when there is none (always, headless).
std::optional<Rect> ForegroundWindowBounds();

}  // namespace platform
