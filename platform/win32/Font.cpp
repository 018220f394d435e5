// Text through GDI: the part of the bitmap under the text rectangle is copied into
// a DIB section, drawn on with DrawTextW and copied back.
#include "platform/Font.h"

#include <algorithm>
#include <cstring>

#include "Backend.h"
#include "WinText.h"

namespace platform {

namespace {

HFONT MakeFont(const Font& f) {
  return CreateFontW(f.height, 0, 0, 0, (f.style & fontstyle::kBold) ? FW_BOLD : FW_NORMAL,
                     (f.style & fontstyle::kItalic) ? TRUE : FALSE, (f.style & fontstyle::kUnderline) ? TRUE : FALSE,
                     (f.style & fontstyle::kStrikeOut) ? TRUE : FALSE, BYTE(f.charset), OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Widen(f.name).c_str());
}

// A memory DC with the font selected, released with the object.
struct FontDC {
  explicit FontDC(const Font& f) : dc(CreateCompatibleDC(nullptr)), font(MakeFont(f)) {
    old = SelectObject(dc, font);
  }
  ~FontDC() {
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
  }
  FontDC(const FontDC&) = delete;
  FontDC& operator=(const FontDC&) = delete;
  HDC dc;
  HFONT font;
  HGDIOBJ old;
};

std::uint32_t SwapRedBlue(std::uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

}  // namespace

Point TextExtent(const Font& font, std::string_view text, unsigned flags) {
  FontDC fdc(font);
  const std::wstring w = Widen(text);
  RECT r{0, 0, 0, 0};
  DrawTextW(fdc.dc, w.c_str(), int(w.size()), &r, DT_CALCRECT | flags);
  return {r.right - r.left, r.bottom - r.top};
}

void PaintText(Bitmap& canvas, const Font& font, const Rect& rect, std::string_view text, Colour colour,
               unsigned flags) {
  const Rect area{std::max(0, rect.left), std::max(0, rect.top), std::min(canvas.Width(), rect.right),
                  std::min(canvas.Height(), rect.bottom)};
  if (area.Empty() || text.empty()) return;
  FontDC fdc(font);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = area.Width();
  bi.bmiHeader.biHeight = -area.Height();  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(fdc.dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return;
  auto* px = static_cast<std::uint32_t*>(bits);
  const auto width = std::size_t(area.Width());
  for (int y = 0; y < area.Height(); ++y) {
    const Colour* row = canvas.Row(area.top + y) + area.left;
    for (std::size_t x = 0; x < width; ++x) px[std::size_t(y) * width + x] = SwapRedBlue(std::uint32_t(row[x]));
  }
  HGDIOBJ oldBitmap = SelectObject(fdc.dc, dib);
  SetBkMode(fdc.dc, TRANSPARENT);
  SetTextColor(fdc.dc, COLORREF(colour));  // both 0x00BBGGRR
  const std::wstring w = Widen(text);
  RECT r{rect.left - area.left, rect.top - area.top, rect.right - area.left, rect.bottom - area.top};
  DrawTextW(fdc.dc, w.c_str(), int(w.size()), &r, flags);
  GdiFlush();
  for (int y = 0; y < area.Height(); ++y) {
    Colour* row = canvas.Row(area.top + y) + area.left;
    for (std::size_t x = 0; x < width; ++x) row[x] = Colour(SwapRedBlue(px[std::size_t(y) * width + x]) & 0xFFFFFF);
  }
  SelectObject(fdc.dc, oldBitmap);
  DeleteObject(dib);
}

}  // namespace platform
