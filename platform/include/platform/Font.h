// Fonts and text drawn onto a platform::Bitmap. On Win32 text goes through GDI;
// the headless backend renders with FreeType from the fonts fontconfig finds,
// measuring by GDI's rules. Either way a character the named font lacks is
// drawn from another installed font that has it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Types.h"

namespace platform {

// Style bits, the same as the skin definitions' font style set.
namespace fontstyle {
constexpr std::uint8_t kBold = 1;
constexpr std::uint8_t kItalic = 2;
constexpr std::uint8_t kUnderline = 4;
constexpr std::uint8_t kStrikeOut = 8;
}  // namespace fontstyle

struct Font {
  std::string name = "Arial";
  // As the framework's font height: positive the cell height, negative the
  // character height, in pixels.
  int height = 14;
  std::uint8_t style = 0;
  int charset = 1;  // DEFAULT_CHARSET
  friend bool operator==(const Font&, const Font&) = default;
};

// Layout flags (the Win32 DrawText values). Lines break only at line breaks.
// Without kNoPrefix, "&x" draws x underlined and "&&" draws "&".
namespace textflag {
constexpr unsigned kLeft = 0x0000;
constexpr unsigned kCenter = 0x0001;
constexpr unsigned kRight = 0x0002;
constexpr unsigned kVCenter = 0x0004;
constexpr unsigned kSingleLine = 0x0020;
constexpr unsigned kNoPrefix = 0x0800;
}  // namespace textflag

// Width and height of `text` (UTF-8) laid out with `flags`.
Point TextExtent(const Font& font, std::string_view text, unsigned flags = textflag::kLeft);
// Draws `text` in `colour` on a clear background, laid out in `rect` and clipped to it.
void PaintText(Bitmap& canvas, const Font& font, const Rect& rect, std::string_view text, Colour colour,
              unsigned flags = textflag::kLeft);

}  // namespace platform
