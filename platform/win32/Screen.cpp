#include "platform/Screen.h"

#include <cstdint>

#include "Backend.h"

namespace platform {

Bitmap CaptureScreen(const Rect& area) {
  if (area.Empty()) return {};
  Bitmap out(area.Width(), area.Height());
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = win32::Dib32Info(area.Width(), area.Height());
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib) {
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, area.Width(), area.Height(), screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < area.Height(); ++y) {
      Colour* row = out.Row(y);
      for (int x = 0; x < area.Width(); ++x)
        row[x] = Colour(win32::SwapDibPixel(px[std::size_t(y) * std::size_t(area.Width()) + std::size_t(x)]));
    }
    SelectObject(mem, old);
    DeleteObject(dib);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

std::optional<Rect> ForegroundWindowBounds() {
  HWND hwnd = GetForegroundWindow();
  if (!hwnd || !IsWindowVisible(hwnd)) return std::nullopt;
  RECT r{};
  GetWindowRect(hwnd, &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace platform
