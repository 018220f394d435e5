// The mouse and keyboard as the skin's popups see them: the cursor, the window
// under it, mouse capture, the work area, and the virtual-key codes they handle.
#pragma once
#include <cstdint>

#include "platform/Types.h"

namespace platform {

class Window;

// Virtual-key codes (the Win32 values).
namespace vk {
constexpr std::uint32_t kBack = 0x08;
constexpr std::uint32_t kReturn = 0x0D;
constexpr std::uint32_t kEscape = 0x1B;
constexpr std::uint32_t kEnd = 0x23;
constexpr std::uint32_t kHome = 0x24;
constexpr std::uint32_t kLeft = 0x25;
constexpr std::uint32_t kUp = 0x26;
constexpr std::uint32_t kRight = 0x27;
constexpr std::uint32_t kDown = 0x28;
constexpr std::uint32_t kDelete = 0x2E;
}  // namespace vk

// The cursor's position in screen coordinates.
Point CursorPos();
// The visible window of this program at a screen point (its region respected),
// or nullptr when the point is over no window of ours.
Window* WindowAtPoint(Point screen);

// How far the current cursor image reaches below its hot spot: its lowest
// non-transparent row minus the hot spot's row (a hint goes that far below).
int CursorDepthBelowHotSpot();

// While a window holds the capture, it gets every mouse message.
void SetCapture(Window& window);
void ReleaseCapture();
Window* CaptureWindow();

// The desktop without the task bar, in screen coordinates.
Rect WorkArea();

// The window of this program that has the keyboard focus, or nullptr.
Window* FocusedWindow();
// Brings a top-level window to the foreground, activating it.
void BringToForeground(Window& window);

}  // namespace platform
