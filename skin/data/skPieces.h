// The piece work behind the stretch, strip and glyph builders: copying and
// repeating rectangles of a picture, and the coordinate limit every builder
// checks first.
#pragma once
#include <algorithm>

#include "skUtils.h"

namespace skin::pieces {

inline void Copy(Bitmap& out, int x, int y, const Bitmap& src, int sx, int sy, int w, int h) {
  if (w <= 0 || h <= 0) return;
  out.CopyRect(x, y, src, {sx, sy, sx + w, sy + h});
}

// Copies of a piece d long placed from p on, the last one cut at q, as far as
// they can show within `extent`: calls place(position, length) for each. Copies
// wholly before 0 or past the extent are skipped, which draws the same.
template <typename F>
void Tile(int d, int p, int q, int extent, F place) {
  if (d <= 0) return;  // a piece of no length draws nothing
  const int end = std::min(q, extent);
  int at = p < 0 ? p + (-p) / d * d : p;  // the first copy that can reach position 0
  for (; at < end; at += d) place(at, std::min(d, q - at));
}

// Copies of source columns sx0..sx1 (rows sy..sy+h) side by side from p to q at row y.
inline void RepeatH(Bitmap& out, const Bitmap& src, int sx0, int sx1, int sy, int h, int p, int q, int y) {
  Tile(sx1 - sx0, p, q, out.Width(), [&](int x, int len) { Copy(out, x, y, src, sx0, sy, len, h); });
}

// Copies of source rows sy0..sy1 (columns sx..sx+w) stacked from p to q at column x.
inline void RepeatV(Bitmap& out, const Bitmap& src, int sx, int w, int sy0, int sy1, int p, int q, int x) {
  Tile(sy1 - sy0, p, q, out.Height(), [&](int y, int len) { Copy(out, x, y, src, sx, sy0, w, len); });
}

// Source rectangle `piece` repeated in both directions over `area`, column by column.
inline void Repeat2D(Bitmap& out, const Bitmap& src, const Rect& piece, const Rect& area) {
  Tile(piece.Width(), area.left, area.right, out.Width(), [&](int x, int w) {
    Tile(piece.Height(), area.top, area.bottom, out.Height(),
         [&](int y, int h) { Copy(out, x, y, src, piece.left, piece.top, w, h); });
  });
}

// Coordinates beyond this are not a picture's or a screen's; refusing them keeps
// the sums of a few coordinates inside 32 bits whatever a skin definition says.
constexpr int kMaxCoordinate = 1 << 24;
inline bool Sane(int v) { return v > -kMaxCoordinate && v < kMaxCoordinate; }
inline bool Sane(const Point& p) { return Sane(p.x) && Sane(p.y); }
inline bool Sane(const Rect& r) { return Sane(r.left) && Sane(r.top) && Sane(r.right) && Sane(r.bottom); }
inline bool Sane(const TskStretchGeometry& g) {
  return Sane(g.lefttop) && Sane(g.righttop) && Sane(g.leftbottom) && Sane(g.rightbottom) && Sane(g.client);
}

// A plain stretch of a piece, copied first into a bitmap of its own size.
inline void StretchPiece(Bitmap& out, const Rect& dst, const Bitmap& src, const Rect& piece) {
  if (dst.Empty() || piece.Empty()) return;
  Bitmap own(piece.Width(), piece.Height());
  own.CopyRect(0, 0, src, piece);
  out.StretchRect(dst, own, own.BoundsRect());
}

}  // namespace skin::pieces
