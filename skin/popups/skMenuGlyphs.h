// The small glyphs of menu items, drawn with 1-pixel lines at a point.
#pragma once
#include "platform/Bitmap.h"

namespace skin {

// Three strokes: for i = 0..2 from (x, y - i + 5) to (x + 2, y - i + 7) and on to (x + 7, y - i + 2).
void DrawCheckMark(platform::Bitmap& canvas, int x, int y, platform::Colour colour);
// A triangle pointing right, 4 pixels wide and 7 high.
void DrawSubmenuArrow(platform::Bitmap& canvas, int x, int y, platform::Colour colour);
// A filled circle in the box (x, y) - (x + 6, y + 6).
void DrawRadioDot(platform::Bitmap& canvas, int x, int y, platform::Colour colour);

}  // namespace skin
