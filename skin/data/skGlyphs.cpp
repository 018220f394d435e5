// The glyphs drawn on buttons and menu items.
#include "skUtils.h"

#include "skPieces.h"

namespace skin {

using namespace pieces;

void DrawGlyph(Bitmap& canvas, int x, int y, int n, int m, const Bitmap& strip) {
  if (strip.Empty() || m < 1 || n < 1 || n > m || !Sane(x) || !Sane(y)) return;
  const int gw = strip.Width() / m;
  if (gw < 1) return;
  Bitmap glyph(gw, strip.Height());
  glyph.CopyRect(0, 0, strip, {(n - 1) * gw, 0, n * gw, strip.Height()});
  canvas.DrawTransparent(x, y, glyph, glyph.Pixel(0, glyph.Height() - 1));
}

void DrawCloseGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  c.Line(x + 1, y + 1, x + 9, y + 9, colour);
  c.Line(x + 9, y + 1, x + 1, y + 9, colour);
  c.Line(x + 2, y + 1, x + 10, y + 9, colour);
  c.Line(x + 8, y + 1, x, y + 9, colour);
}

void DrawSysMenuGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  c.FrameRect({x + 1, y + 3, x + 9, y + 6}, colour);
}

void DrawMinimizeGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  c.Line(x + 1, y + 8, x + 9, y + 8, colour);
  c.Line(x + 1, y + 9, x + 9, y + 9, colour);
}

void DrawMaximizeGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  c.FrameRect({x, y, x + 11, y + 10}, colour);
  c.FrameRect({x, y, x + 11, y + 2}, colour);
}

void DrawRestoreGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  c.FrameRect({x + 2, y, x + 10, y + 6}, colour);
  c.FrameRect({x + 2, y, x + 10, y + 2}, colour);
  c.FrameRect({x, y + 4, x + 7, y + 10}, colour);
  c.FrameRect({x, y + 4, x + 7, y + 6}, colour);
}

void DrawRollDownGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  for (int i = 0; i <= 4; ++i) c.Line(x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i, colour);
}

void DrawRollUpGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  for (int i = 0; i <= 4; ++i) c.Line(x + 1 + i, y + 6 - i, x + 9 - i, y + 6 - i, colour);
}

void DrawMinToTrayGlyph(Bitmap& c, int x, int y, Colour colour) {
  if (!Sane(x) || !Sane(y)) return;
  c.FillRect({x + 2, y + 2, x + 7, y + 7}, colour);
}

void DrawArrow(Bitmap& c, const Rect& rect, Colour colour, int direction) {
  if (!Sane(rect)) return;
  const int cx = rect.left + rect.Width() / 2, cy = rect.top + rect.Height() / 2;
  constexpr int kLines = 4;
  for (int i = 0; i < kLines; ++i) {
    const int n = kLines - 1 - i;  // the mirrored arrows draw their widest line first
    switch (direction) {
      case kArrowLeft: c.Line(cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1, colour); break;
      case kArrowRight: c.Line(cx + 2 - n, cy + n, cx + 2 - n, cy - n - 1, colour); break;
      case kArrowUp: c.Line(cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i, colour); break;
      case kArrowDown: c.Line(cx - n, cy + 2 - n, cx + n + 1, cy + 2 - n, colour); break;
      default: return;
    }
  }
}

}  // namespace skin
