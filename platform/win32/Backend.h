#pragma once
// Internals shared by the Win32 backend's files.
#include <windows.h>

#include <cstdint>
#include <exception>

namespace platform::win32 {

// The hidden application window: it carries the task-bar button with the
// application's title and owns every form.
HWND ApplicationWindow();
// A message-only window that receives every timer's WM_TIMER.
HWND TimerWindow();
// Reports an error that escaped a handler the way the application does.
void ReportEscapedError(const std::exception& error);

// The header of a 32-bit top-down device-independent bitmap of w x h pixels.
inline BITMAPINFO Dib32Info(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}
// A 32-bit DIB pixel is 0x00RRGGBB, a Colour 0x00BBGGRR: the same swap both ways.
constexpr std::uint32_t SwapDibPixel(std::uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

}  // namespace platform::win32
