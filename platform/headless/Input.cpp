#include "platform/Input.h"

#include "State.h"
#include "platform/Application.h"
#include "platform/Window.h"

namespace platform {

Point CursorPos() { return headless::GetState().cursor; }

Window* WindowAtPoint(Point screen) {
  const auto& windows = headless::GetState().windows;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* w = *it;
    // An MDI child is found inside its frame.
    if (!w->Visible() || w->MDIFrame()) continue;
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

Window* FocusedWindow() { return headless::GetState().focus; }

void BringToForeground(Window& window) { headless::GetState().foreground = &window; }

Rect WorkArea() {
  const auto& s = headless::GetState();
  return s.workArea ? *s.workArea : Rect{0, 0, s.desktop.x, s.desktop.y};
}

namespace headless {

namespace {
// The innermost visible child under a screen point (the last created on top),
// or `w` itself.
Window* DeepestAt(Window* w, Point screen) {
  const auto& children = w->Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Window* c = *it;
    if (!c->Visible()) continue;
    const Point p = c->ScreenToClient(screen);
    const Point size = c->ClientSize();
    if (p.x < 0 || p.y < 0 || p.x >= size.x || p.y >= size.y) continue;
    const auto& region = c->WindowRegion();
    if (region && !region->Contains(p.x, p.y)) continue;
    return DeepestAt(c, screen);
  }
  // An MDI frame's children, the active one on top, then the later ones over the earlier.
  std::vector<Window*> mdi(w->MDIChildren().rbegin(), w->MDIChildren().rend());
  if (Window* active = w->ActiveMDIChild()) {
    std::erase(mdi, active);
    mdi.insert(mdi.begin(), active);
  }
  const Point p = w->ScreenToClient(screen);
  for (Window* c : mdi) {
    if (!c->Visible()) continue;
    const Rect b = c->BoundsRect();
    if (p.x < b.left || p.y < b.top || p.x >= b.right || p.y >= b.bottom) continue;
    const auto& region = c->WindowRegion();
    if (region && !region->Contains(p.x - b.left, p.y - b.top)) continue;
    return DeepestAt(c, screen);
  }
  return w;
}
}  // namespace

void MouseAt(Point screen, std::uint32_t message) {
  auto& s = GetState();
  s.cursor = screen;
  Window* top = WindowAtPoint(screen);
  Window* under = top ? DeepestAt(top, screen) : nullptr;
  // Entering and leaving follow the window under the cursor, capture or not.
  if (under != s.hover) {
    Window* left = s.hover;
    s.hover = under;
    if (left) left->Perform(msg::kMouseLeave, 0, 0);
    if (under) under->Perform(msg::kMouseEnter, 0, 0);
  }
  Window* target = CaptureWindow() ? CaptureWindow() : under;
  if (target) target->Perform(message, 0, PointToParam(target->ScreenToClient(screen)));
}

void ClickAt(Point screen) {
  MouseAt(screen, msg::kLButtonDown);
  MouseAt(screen, msg::kLButtonUp);
}

void PressKey(Window& target, std::uint32_t virtualKey) {
  // As from the message loop: the application's filters see the key first.
  Message m{msg::kKeyDown, virtualKey, 0, 0};
  if (Application::Exists() && Application::Instance().FilterMessage(m)) return;
  target.Perform(msg::kKeyDown, virtualKey, 0);
}

std::vector<Window*> VisibleWindows() {
  std::vector<Window*> out;
  for (Window* w : GetState().windows)
    if (w->Visible()) out.push_back(w);
  return out;
}

Window* ForegroundWindow() { return GetState().foreground; }

}  // namespace headless
}  // namespace platform
