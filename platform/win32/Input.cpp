#include "platform/Input.h"

#include <cwchar>
#include <initializer_list>
#include <vector>

#include "Backend.h"
#include "platform/Window.h"

namespace platform {

Point CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

namespace {
// The Window behind a native window of one of `classes`, or nullptr: only the
// backend's own window classes carry a Window in their user data.
Window* OwnWindow(HWND hwnd, std::initializer_list<const wchar_t*> classes) {
  if (!hwnd) return nullptr;
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  for (const wchar_t* c : classes)
    if (std::wcscmp(name, c) == 0) return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return nullptr;
}
}  // namespace

Window* WindowAtPoint(Point screen) {
  HWND hwnd = ::WindowFromPoint(POINT{screen.x, screen.y});
  return hwnd ? OwnWindow(GetAncestor(hwnd, GA_ROOT), {L"TwForm", L"TwPopup"}) : nullptr;
}

namespace {
// Rows of a monochrome bitmap, top-down, one bit per pixel, rows padded to 32 bits.
std::vector<std::uint8_t> MonoRows(HBITMAP bitmap, int width, int height, int& stride) {
  stride = ((width + 31) / 32) * 4;
  std::vector<std::uint8_t> bits(std::size_t(stride) * std::size_t(height));
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colours[2];
  } bi{};
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  bi.h.biWidth = width;
  bi.h.biHeight = -height;
  bi.h.biPlanes = 1;
  bi.h.biBitCount = 1;
  bi.h.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  const int got = GetDIBits(dc, bitmap, 0, UINT(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&bi),
                            DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (got != height) bits.clear();
  return bits;
}

// The lowest row in rows [from, from + count) with a bit equal to `ink`, or -1.
int LowestRow(const std::vector<std::uint8_t>& bits, int stride, int width, int from, int count, bool ink) {
  for (int y = from + count - 1; y >= from; --y)
    for (int x = 0; x < width; ++x) {
      const bool bit = (bits[std::size_t(y) * std::size_t(stride) + std::size_t(x / 8)] >> (7 - x % 8)) & 1;
      if (bit == ink) return y - from;
    }
  return -1;
}
}  // namespace

int CursorDepthBelowHotSpot() {
  const int fallback = GetSystemMetrics(SM_CYCURSOR);
  CURSORINFO ci{};
  ci.cbSize = sizeof(ci);
  ICONINFO ii{};
  if (!GetCursorInfo(&ci) || !ci.hCursor || !GetIconInfo(ci.hCursor, &ii)) return fallback;
  int depth = fallback;
  BITMAP bm{};
  if (ii.hbmMask && GetObjectW(ii.hbmMask, sizeof(bm), &bm)) {
    // A monochrome cursor keeps its AND and XOR masks stacked in one bitmap.
    const int height = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    int stride = 0;
    const auto bits = MonoRows(ii.hbmMask, bm.bmWidth, bm.bmHeight, stride);
    if (!bits.empty()) {
      int lowest = LowestRow(bits, stride, bm.bmWidth, 0, height, false);
      if (lowest < 0 && !ii.hbmColor) lowest = LowestRow(bits, stride, bm.bmWidth, height, height, true);
      if (lowest >= 0) depth = lowest + 1 - int(ii.yHotspot);
    }
  }
  if (ii.hbmMask) DeleteObject(ii.hbmMask);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  return depth;
}

void SetCapture(Window& window) { ::SetCapture(static_cast<HWND>(window.NativeHandle())); }
void ReleaseCapture() { ::ReleaseCapture(); }

Window* CaptureWindow() { return OwnWindow(::GetCapture(), {L"TwForm", L"TwPopup"}); }

Rect WorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {r.left, r.top, r.right, r.bottom};
}

Window* FocusedWindow() { return OwnWindow(::GetFocus(), {L"TwForm", L"TwControl"}); }

void BringToForeground(Window& window) {
  if (HWND hwnd = static_cast<HWND>(window.NativeHandle())) SetForegroundWindow(hwnd);
}

}  // namespace platform
