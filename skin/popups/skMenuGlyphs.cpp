#include "skMenuGlyphs.h"

namespace skin {

void DrawCheckMark(platform::Bitmap& canvas, int x, int y, platform::Colour colour) {
  for (int i = 0; i < 3; ++i) {
    canvas.Line(x, y - i + 5, x + 2, y - i + 7, colour);
    canvas.Line(x + 2, y - i + 7, x + 7, y - i + 2, colour);
  }
}

void DrawSubmenuArrow(platform::Bitmap& canvas, int x, int y, platform::Colour colour) {
  for (int i = 0; i < 4; ++i) canvas.Line(x + i, y + i, x + i, y - i + 7, colour);
}

void DrawRadioDot(platform::Bitmap& canvas, int x, int y, platform::Colour colour) {
  constexpr int kSize = 6;
  // Pixel centres inside the circle inscribed in the box, in doubled coordinates.
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px) {
      const int dx = 2 * px + 1 - kSize, dy = 2 * py + 1 - kSize;
      if (dx * dx + dy * dy <= kSize * kSize) canvas.SetPixel(x + px, y + py, colour);
    }
}

}  // namespace skin
