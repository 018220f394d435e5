// The headless backend's fixed-cell font: each character is a cell as high as the
// font and half as wide (a double-width character a full square), inked with a
// pattern taken from its code so that tests can see where text lies.
#include "platform/Font.h"

#include <algorithm>
#include <cstdlib>

#include "../core/TextLayout.h"

namespace platform {

namespace {

int CellHeight(const Font& font) { return std::max(1, std::abs(font.height)); }

// Code points from here on draw as double-width cells (CJK and the like).
constexpr std::uint32_t kFirstWide = 0x1100;

struct Glyph {
  std::uint32_t code;
  std::size_t offset;  // byte offset in the line
};

std::vector<Glyph> Decode(const std::string& s) {
  std::vector<Glyph> out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::uint32_t code = len == 1 ? c : c & (0x3F >> (len - 1));
    for (int k = 1; k < len && i + std::size_t(k) < s.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(s[i + std::size_t(k)]) & 0x3F);
    out.push_back({code, i});
    i += std::size_t(len);
  }
  return out;
}

int CellWidth(const Font& font, std::uint32_t code) {
  const int h = CellHeight(font);
  return code >= kFirstWide ? h : std::max(1, (h + 1) / 2);
}

int LineWidth(const Font& font, const std::string& line) {
  int w = 0;
  for (const Glyph& g : Decode(line)) w += CellWidth(font, g.code);
  return w;
}

void Ink(Bitmap& canvas, const Rect& clip, int x, int y, Colour colour) {
  if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) canvas.SetPixel(x, y, colour);
}

void DrawGlyph(Bitmap& canvas, const Rect& clip, const Font& font, const Glyph& g, int x, int y, bool underline,
               Colour colour) {
  const int w = CellWidth(font, g.code), h = CellHeight(font);
  if (g.code > ' ') {
    // One pixel of spacing round the ink; bold widens every stroke by a column.
    const int bold = (font.style & fontstyle::kBold) ? 1 : 0;
    for (int iy = 1; iy < h - 1; ++iy)
      for (int ix = 1; ix < w - 1; ++ix) {
        constexpr int kPatternPeriod = 7;
        const bool on = g.code >= kFirstWide || ((g.code >> ((ix + iy * 3) % kPatternPeriod)) & 1);
        if (!on) continue;
        Ink(canvas, clip, x + ix, y + iy, colour);
        if (bold) Ink(canvas, clip, x + ix + 1, y + iy, colour);
      }
  }
  if (underline || (font.style & fontstyle::kUnderline))
    for (int ix = 0; ix < w; ++ix) Ink(canvas, clip, x + ix, y + h - 1, colour);
}

}  // namespace

Point TextExtent(const Font& font, std::string_view text, unsigned flags) {
  const auto lines = textlayout::Split(text, flags & textflag::kSingleLine, !(flags & textflag::kNoPrefix));
  int w = 0;
  for (const auto& line : lines) w = std::max(w, LineWidth(font, line.text));
  return {w, int(lines.size()) * CellHeight(font)};
}

void PaintText(Bitmap& canvas, const Font& font, const Rect& rect, std::string_view text, Colour colour,
              unsigned flags) {
  const bool single = flags & textflag::kSingleLine;
  const auto lines = textlayout::Split(text, single, !(flags & textflag::kNoPrefix));
  const int h = CellHeight(font);
  int y = rect.top;
  if (single && (flags & textflag::kVCenter)) y = rect.top + (rect.Height() - h) / 2;
  for (const auto& line : lines) {
    const int lw = LineWidth(font, line.text);
    int x = rect.left;
    if (flags & textflag::kCenter) x = rect.left + (rect.Width() - lw) / 2;
    else if (flags & textflag::kRight) x = rect.right - lw;
    for (const Glyph& g : Decode(line.text)) {
      DrawGlyph(canvas, rect, font, g, x, y, int(g.offset) == line.underline, colour);
      x += CellWidth(font, g.code);
    }
    y += h;
  }
}

}  // namespace platform
