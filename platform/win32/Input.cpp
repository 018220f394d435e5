#include "platform/Input.h"

#include <cwchar>

#include "Backend.h"
#include "platform/Window.h"

namespace platform {

Point CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Window* WindowAtPoint(Point screen) {
  HWND hwnd = ::WindowFromPoint(POINT{screen.x, screen.y});
  if (!hwnd) return nullptr;
  hwnd = GetAncestor(hwnd, GA_ROOT);
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  // Only the backend's own window classes carry a Window in their user data.
  if (std::wcscmp(name, L"TwForm") != 0 && std::wcscmp(name, L"TwPopup") != 0) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void SetCapture(Window& window) { ::SetCapture(static_cast<HWND>(window.NativeHandle())); }
void ReleaseCapture() { ::ReleaseCapture(); }

Window* CaptureWindow() {
  HWND hwnd = ::GetCapture();
  if (!hwnd) return nullptr;
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (std::wcscmp(name, L"TwForm") != 0 && std::wcscmp(name, L"TwPopup") != 0) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Rect WorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace platform
