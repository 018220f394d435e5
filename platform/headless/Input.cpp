#include "platform/Input.h"

#include "State.h"
#include "platform/Window.h"

namespace platform {

Point CursorPos() { return headless::GetState().cursor; }

Window* WindowAtPoint(Point screen) {
  const auto& windows = headless::GetState().windows;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* w = *it;
    if (!w->Visible()) continue;
    const Rect b = w->BoundsRect();
    if (screen.x < b.left || screen.x >= b.right || screen.y < b.top || screen.y >= b.bottom) continue;
    const auto& region = w->WindowRegion();
    if (region && !region->Contains(screen.x - b.left, screen.y - b.top)) continue;
    return w;
  }
  return nullptr;
}

// The standard arrow: 32 x 32 with its hot spot at the top, ink down to row 19.
int CursorDepthBelowHotSpot() {
  constexpr int kArrowDepth = 20;
  return kArrowDepth;
}

void SetCapture(Window& window) { headless::GetState().capture = &window; }
void ReleaseCapture() { headless::GetState().capture = nullptr; }
Window* CaptureWindow() { return headless::GetState().capture; }

Rect WorkArea() {
  const auto& s = headless::GetState();
  return s.workArea ? *s.workArea : Rect{0, 0, s.desktop.x, s.desktop.y};
}

namespace headless {

void MouseAt(Point screen, std::uint32_t message) {
  GetState().cursor = screen;
  Window* target = CaptureWindow() ? CaptureWindow() : WindowAtPoint(screen);
  if (target) target->Perform(message, 0, PointToParam(target->ScreenToClient(screen)));
}

void ClickAt(Point screen) {
  MouseAt(screen, msg::kLButtonDown);
  MouseAt(screen, msg::kLButtonUp);
}

void PressKey(Window& target, std::uint32_t virtualKey) { target.Perform(msg::kKeyDown, virtualKey, 0); }

std::vector<Window*> VisibleWindows() {
  std::vector<Window*> out;
  for (Window* w : GetState().windows)
    if (w->Visible()) out.push_back(w);
  return out;
}

}  // namespace headless
}  // namespace platform
