#include "skUtils.h"

#include <algorithm>

#include "platform/Window.h"

namespace skin {

namespace {

constexpr int kBytesPerPixel = 3;
// Region data block: header size, rectangle type, and bytes per rectangle.
constexpr std::uint32_t kRegionHeaderSize = 32;
constexpr std::uint32_t kRegionTypeRectangles = 1;
constexpr std::size_t kRegionRectSize = 16;
constexpr const char kEllipsis[] = "...";

void Copy(Bitmap& out, int x, int y, const Bitmap& src, int sx, int sy, int w, int h) {
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
void RepeatH(Bitmap& out, const Bitmap& src, int sx0, int sx1, int sy, int h, int p, int q, int y) {
  Tile(sx1 - sx0, p, q, out.Width(), [&](int x, int len) { Copy(out, x, y, src, sx0, sy, len, h); });
}

// Copies of source rows sy0..sy1 (columns sx..sx+w) stacked from p to q at column x.
void RepeatV(Bitmap& out, const Bitmap& src, int sx, int w, int sy0, int sy1, int p, int q, int x) {
  Tile(sy1 - sy0, p, q, out.Height(), [&](int y, int len) { Copy(out, x, y, src, sx, sy0, w, len); });
}

// Source rectangle `piece` repeated in both directions over `area`, column by column.
void Repeat2D(Bitmap& out, const Bitmap& src, const Rect& piece, const Rect& area) {
  Tile(piece.Width(), area.left, area.right, out.Width(), [&](int x, int w) {
    Tile(piece.Height(), area.top, area.bottom, out.Height(),
         [&](int y, int h) { Copy(out, x, y, src, piece.left, piece.top, w, h); });
  });
}

// Coordinates beyond this are not a picture's or a screen's; refusing them keeps
// the sums of a few coordinates inside 32 bits whatever a skin definition says.
constexpr int kMaxCoordinate = 1 << 24;
bool Sane(int v) { return v > -kMaxCoordinate && v < kMaxCoordinate; }
bool Sane(const Point& p) { return Sane(p.x) && Sane(p.y); }
bool Sane(const Rect& r) { return Sane(r.left) && Sane(r.top) && Sane(r.right) && Sane(r.bottom); }
bool Sane(const TskStretchGeometry& g) {
  return Sane(g.lefttop) && Sane(g.righttop) && Sane(g.leftbottom) && Sane(g.rightbottom) && Sane(g.client);
}

// A plain stretch of a piece, copied first into a bitmap of its own size.
void StretchPiece(Bitmap& out, const Rect& dst, const Bitmap& src, const Rect& piece) {
  if (dst.Empty() || piece.Empty()) return;
  Bitmap own(piece.Width(), piece.Height());
  own.CopyRect(0, 0, src, piece);
  out.StretchRect(dst, own, own.BoundsRect());
}

// Calls run(y, x0, x1) for every maximal run of black pixels, row by row.
template <typename F>
void ForEachBlackRun(const TskFBitmap& fb, F run) {
  for (int y = 0; y < fb.Height; ++y) {
    const std::uint8_t* p = fb.Rows[std::size_t(y)];
    int x = 0;
    while (x < fb.Width) {
      while (x < fb.Width && (p[0] | p[1] | p[2]) != 0) {
        ++x;
        p += kBytesPerPixel;
      }
      if (x == fb.Width) break;
      const int start = x;
      while (x < fb.Width && (p[0] | p[1] | p[2]) == 0) {
        ++x;
        p += kBytesPerPixel;
      }
      run(y, start, x);
    }
  }
}

void PutInt(std::vector<std::uint8_t>& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

}  // namespace

TskFBitmap::TskFBitmap(const Bitmap& source) : Width(source.Width()), Height(source.Height()) {
  RowPadding = Width % 4;
  RowStride = kBytesPerPixel * Width + RowPadding;
  ImageSize = RowStride * Height;
  pixels_.assign(std::size_t(ImageSize), 0);
  PixelData = pixels_.data();
  Rows.resize(std::size_t(Height));
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* row = PixelData + std::size_t(y) * std::size_t(RowStride);
    Rows[std::size_t(y)] = row;
    const Colour* in = source.Row(y);
    for (int x = 0; x < Width; ++x) {
      row[3 * x] = std::uint8_t(in[x] >> 16);    // blue
      row[3 * x + 1] = std::uint8_t(in[x] >> 8);  // green
      row[3 * x + 2] = std::uint8_t(in[x]);       // red
    }
  }
}

void BuildStretchImage(const TskStretchGeometry& g, const Rect& s, const Bitmap& src, int w, int h,
                       const TskStretchGeometry& t, bool drawCentre, Bitmap& out) {
  out.SetSize(w, h);
  if (g.rightbottom.x == g.lefttop.x || g.rightbottom.y == g.lefttop.y || src.Empty()) return;
  if (!Sane(g) || !Sane(t) || !Sane(s)) return;
  const int sx = s.left, sy = s.top, sw = s.Width(), sh = s.Height();
  const Rect& c = g.client;
  const Rect& ct = t.client;
  RepeatH(out, src, sx + g.lefttop.x, sx + g.righttop.x, sy, c.top, t.lefttop.x, t.righttop.x, 0);
  RepeatH(out, src, sx + g.leftbottom.x, sx + g.rightbottom.x, sy + c.bottom, sh - c.bottom, t.leftbottom.x,
          t.rightbottom.x, ct.bottom);
  RepeatV(out, src, sx, c.left, sy + g.lefttop.y, sy + g.leftbottom.y, t.lefttop.y, t.leftbottom.y, 0);
  RepeatV(out, src, sx + c.right, sw - c.right, sy + g.righttop.y, sy + g.rightbottom.y, t.righttop.y,
          t.rightbottom.y, ct.right);
  Copy(out, 0, 0, src, sx, sy, g.lefttop.x, c.top);
  Copy(out, 0, ct.top, src, sx, sy + c.top, c.left, g.lefttop.y - c.top);
  Copy(out, t.righttop.x, 0, src, sx + g.righttop.x, sy, sw - g.righttop.x, c.top);
  Copy(out, ct.right, ct.top, src, sx + c.right, sy + c.top, sw - c.right, g.righttop.y - c.top);
  Copy(out, 0, t.leftbottom.y, src, sx, sy + g.leftbottom.y, c.left, sh - g.leftbottom.y);
  Copy(out, ct.left, ct.bottom, src, sx + c.left, sy + c.bottom, g.leftbottom.x - c.left, sh - c.bottom);
  Copy(out, t.rightbottom.x, ct.bottom, src, sx + g.rightbottom.x, sy + c.bottom, sw - g.rightbottom.x,
       sh - c.bottom);
  Copy(out, ct.right, t.rightbottom.y, src, sx + c.right, sy + g.rightbottom.y, sw - c.right,
       c.bottom - g.rightbottom.y);
  if (drawCentre) {
    Repeat2D(out, src, {sx + c.left, sy + c.top, sx + c.right, sy + c.bottom}, ct);
  }
}

void BuildStretchImageOpenRight(const TskStretchGeometry& g, const Rect& s, const Bitmap& src, int w, int h,
                                const TskStretchGeometry& t, bool drawCentre, Bitmap& out) {
  out.SetSize(w, h);
  if (g.rightbottom.x == g.lefttop.x || g.rightbottom.y == g.lefttop.y || src.Empty()) return;
  if (!Sane(g) || !Sane(t) || !Sane(s)) return;
  const int sx = s.left, sy = s.top, sh = s.Height();
  const Rect& c = g.client;
  const Rect& ct = t.client;
  RepeatH(out, src, sx + g.lefttop.x, sx + g.righttop.x, sy, c.top, t.lefttop.x, w, 0);
  RepeatH(out, src, sx + g.leftbottom.x, sx + g.rightbottom.x, sy + c.bottom, sh - c.bottom, t.leftbottom.x, w,
          ct.bottom);
  RepeatV(out, src, sx, c.left, sy + g.lefttop.y, sy + g.leftbottom.y, t.lefttop.y, t.leftbottom.y, 0);
  Copy(out, 0, 0, src, sx, sy, g.lefttop.x, c.top);
  Copy(out, 0, ct.top, src, sx, sy + c.top, c.left, g.lefttop.y - c.top);
  Copy(out, 0, t.leftbottom.y, src, sx, sy + g.leftbottom.y, c.left, sh - g.leftbottom.y);
  Copy(out, ct.left, ct.bottom, src, sx + c.left, sy + c.bottom, g.leftbottom.x - c.left, sh - c.bottom);
  if (drawCentre) {
    Repeat2D(out, src, {sx + c.left, sy + c.top, sx + c.right, sy + c.bottom}, {ct.left, ct.top, w, ct.bottom});
  }
}

void BuildHorzImage(int a, int r, int w, const Rect& rect, const Bitmap& src, Bitmap& out) {
  if (!Sane(rect) || !Sane(a) || !Sane(r) || !Sane(w)) return out.Clear();
  const int h = rect.Height();
  out.SetSize(std::max(w, 0), std::max(h, 0));
  Copy(out, 0, 0, src, rect.left, rect.top, a, h);
  Copy(out, w - r, 0, src, rect.right - r, rect.top, r, h);
  const int ms = rect.left + a;
  const int me = rect.right - r == ms ? ms + 1 : rect.right - r;  // a middle of no width counts as one column
  RepeatH(out, src, ms, me, rect.top, h, a, w - r, 0);
}

void BuildHorzImageOpenRight(int a, int r, int w, const Rect& rect, const Bitmap& src, Bitmap& out) {
  if (!Sane(rect) || !Sane(a) || !Sane(r) || !Sane(w)) return out.Clear();
  const int h = rect.Height();
  out.SetSize(std::max(w, 0), std::max(h, 0));
  Copy(out, 0, 0, src, rect.left, rect.top, a, h);
  const int ms = rect.left + a;
  const int me = rect.right - r == ms ? ms + 1 : rect.right - r;
  RepeatH(out, src, ms, me, rect.top, h, a, w, 0);
}

void BuildVertImage(int a, int r, int h, const Rect& rect, const Bitmap& src, Bitmap& out) {
  if (!Sane(rect) || !Sane(a) || !Sane(r) || !Sane(h)) return out.Clear();
  const int w = rect.Width();
  out.SetSize(std::max(w, 0), std::max(h, 0));
  Copy(out, 0, 0, src, rect.left, rect.top, w, a);
  Copy(out, 0, h - r, src, rect.left, rect.bottom - r, w, r);
  RepeatV(out, src, rect.left, w, rect.top + a, rect.bottom - r, a, h - r, 0);
}

void BuildFrameStrips(const TskStretchGeometry& g, const Rect& s, const Bitmap& src, int w, int h,
                      const TskStretchGeometry& t, const TskStretchFlags& flags, TskStrips& strips) {
  if (!Sane(g) || !Sane(t) || !Sane(s) || !Sane(w) || !Sane(h)) return;
  const int sx = s.left, sy = s.top, sw = s.Width();
  const Rect& c = g.client;
  const Rect& ct = t.client;
  const int topH = ct.top, bottomH = h - ct.bottom;
  const int sideH = h - topH - bottomH;

  if (w >= 1 && topH >= 1 && g.righttop.x - g.lefttop.x > 0) {
    strips.top.SetSize(w, topH);
    if (flags.topstretch) {
      StretchPiece(strips.top, {t.lefttop.x, 0, t.righttop.x, topH}, src,
                   {sx + g.lefttop.x, sy, sx + g.righttop.x, sy + topH});
    } else {
      RepeatH(strips.top, src, sx + g.lefttop.x, sx + g.righttop.x, sy, topH, 0, w, 0);
    }
    Copy(strips.top, 0, 0, src, sx, sy, g.lefttop.x, topH);
    Copy(strips.top, t.righttop.x, 0, src, sx + g.righttop.x, sy, sw - g.righttop.x, topH);
  }
  if (w >= 1 && bottomH >= 1 && g.rightbottom.x - g.leftbottom.x > 0) {
    const int row = s.bottom - bottomH;
    strips.bottom.SetSize(w, bottomH);
    if (flags.bottomstretch) {
      StretchPiece(strips.bottom, {t.leftbottom.x, 0, t.rightbottom.x, bottomH}, src,
                   {sx + g.leftbottom.x, row, sx + g.rightbottom.x, row + bottomH});
    } else {
      RepeatH(strips.bottom, src, sx + g.leftbottom.x, sx + g.rightbottom.x, row, bottomH, 0, w, 0);
    }
    Copy(strips.bottom, 0, 0, src, sx, row, g.leftbottom.x, bottomH);
    Copy(strips.bottom, t.rightbottom.x, 0, src, sx + g.rightbottom.x, row, sw - g.rightbottom.x, bottomH);
  }
  // The side strips: a middle piece stretched or repeated, then its fixed ends.
  auto side = [&](Bitmap& strip, int stripW, int col, Point top, Point bottom, bool stretch) {
    if (stripW < 1 || sideH < 1 || bottom.y - top.y <= 0) return;
    strip.SetSize(stripW, sideH);
    if (stretch) {
      StretchPiece(strip, {0, top.y - c.top, stripW, sideH - (c.bottom - bottom.y)}, src,
                   {col, sy + top.y, col + stripW, sy + bottom.y});
    } else {
      RepeatV(strip, src, col, stripW, sy + top.y, sy + bottom.y, 0, sideH, 0);
    }
    if (top.y > c.top) Copy(strip, 0, 0, src, col, sy + c.top, stripW, top.y - c.top);
    if (c.bottom > bottom.y) Copy(strip, 0, sideH - (c.bottom - bottom.y), src, col, sy + bottom.y, stripW, c.bottom - bottom.y);
  };
  side(strips.left, ct.left, sx, g.lefttop, g.leftbottom, flags.leftstretch);
  side(strips.right, w - ct.right, sx + c.right, g.righttop, g.rightbottom, flags.rightstretch);
}

// The strips' heights come from the mask and the inner rectangles, not from the
// window height.
void BuildMaskStrips(const TskStretchGeometry& g, const Rect& a, const Bitmap& mask, int w, int /*h*/,
                     const TskStretchGeometry& t, const Rect& at, TskStrips& strips) {
  if (!Sane(g) || !Sane(t) || !Sane(a) || !Sane(at) || !Sane(w)) {
    strips = {};
    return;
  }
  const int mw = mask.Width(), mh = mask.Height();
  auto across = [&](Bitmap& strip, int row, int stripH, Point left, Point right, Point leftT, Point rightT) {
    if (w < 1 || stripH < 1) {
      strip.Clear();
      return;
    }
    strip.SetSize(w, stripH);
    RepeatH(strip, mask, left.x, right.x, row, stripH, leftT.x, rightT.x, 0);
    Copy(strip, 0, 0, mask, 0, row, left.x, stripH);
    Copy(strip, rightT.x, 0, mask, right.x, row, mw - right.x, stripH);
  };
  across(strips.top, 0, a.top, g.lefttop, g.righttop, t.lefttop, t.righttop);
  across(strips.bottom, a.bottom, mh - a.bottom, g.leftbottom, g.rightbottom, t.leftbottom, t.rightbottom);
  auto down = [&](Bitmap& strip, int col, int stripW, Point top, Point bottom) {
    const int stripH = at.Height();
    if (stripW < 1 || stripH < 1) {
      strip.Clear();
      return;
    }
    strip.SetSize(stripW, stripH);
    RepeatV(strip, mask, col, stripW, top.y, bottom.y, 0, stripH, 0);
    Copy(strip, 0, 0, mask, col, a.top, stripW, top.y - a.top);
    Copy(strip, 0, stripH - (a.bottom - bottom.y), mask, col, bottom.y, stripW, a.bottom - bottom.y);
  };
  down(strips.left, 0, a.left, g.lefttop, g.leftbottom);
  down(strips.right, a.right, mw - a.right, g.righttop, g.rightbottom);
}

std::vector<std::uint8_t> TskRegionData::Block() const {
  std::vector<std::uint8_t> out;
  out.reserve(kRegionHeaderSize + kRegionRectSize * rects.size());
  PutInt(out, std::int32_t(kRegionHeaderSize));
  PutInt(out, std::int32_t(kRegionTypeRectangles));
  PutInt(out, std::int32_t(rects.size()));
  PutInt(out, 0);
  for (std::int32_t v : {bounds.left, bounds.top, bounds.right, bounds.bottom}) PutInt(out, v);
  for (const Rect& r : rects) {
    for (std::int32_t v : {r.left, r.top, r.right, r.bottom}) PutInt(out, v);
  }
  return out;
}

std::optional<TskRegionData> BuildRegionData(const Bitmap& mask, int dx, int dy) {
  if (mask.Empty()) return std::nullopt;
  const TskFBitmap fb(mask);
  TskRegionData data;
  data.bounds = {dx, dy, dx + mask.Width(), dy + mask.Height()};
  // Every run is kept, however many: a fixed cap would silently cut the shape.
  ForEachBlackRun(fb, [&](int y, int x0, int x1) { data.rects.push_back({x0 + dx, y + dy, x1 + dx, y + 1 + dy}); });
  return data;
}

std::optional<platform::Region> RegionFromBitmap(const Bitmap& mask, int dx, int dy) {
  if (mask.Empty()) return std::nullopt;
  const TskFBitmap fb(mask);
  platform::Region region;
  std::vector<std::int32_t> xs;
  int rowY = -1;
  auto flush = [&] {
    if (rowY >= 0) region.AppendBand(rowY + dy, rowY + dy + 1, xs);
    xs.clear();
  };
  ForEachBlackRun(fb, [&](int y, int x0, int x1) {
    if (y != rowY) {
      flush();
      rowY = y;
    }
    xs.push_back(x0 + dx);
    xs.push_back(x1 + dx);
  });
  flush();
  return region;
}

std::optional<platform::Region> BuildFrameRegion(const TskStretchGeometry& g, const Rect& a, const Bitmap& mask, int w,
                                                 int h, const TskStretchGeometry& t, const Rect& at) {
  if (t.righttop.x < t.lefttop.x || t.leftbottom.y < t.lefttop.y) return std::nullopt;
  if (!Sane(g) || !Sane(t) || !Sane(a) || !Sane(at) || !Sane(w) || !Sane(h)) return std::nullopt;
  TskStrips strips;
  BuildMaskStrips(g, a, mask, w, h, t, at, strips);
  if (at.Empty()) return std::nullopt;
  platform::Region region(at);
  const std::pair<const Bitmap*, Point> parts[] = {{&strips.top, {0, 0}},
                                                   {&strips.bottom, {0, at.bottom}},
                                                   {&strips.left, {0, at.top}},
                                                   {&strips.right, {at.right, at.top}}};
  for (const auto& [strip, offset] : parts) {
    if (auto r = RegionFromBitmap(*strip, offset.x, offset.y)) region |= *r;
  }
  return region;
}

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

void FitTextWithEllipsis(const TskTextWidth& textWidth, std::string& text, int width) {
  if (textWidth(text) <= width) return;
  while (!text.empty()) {
    // Drop one whole UTF-8 character: its continuation bytes, then its lead byte.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
    if (text.empty() || textWidth(text + kEllipsis) <= width) break;
  }
  text += kEllipsis;
}

bool LayeredWindowsAvailable() { return platform::LayeredWindowsAvailable(); }

void SetWindowAlpha(platform::Window& window, std::uint8_t alpha) { window.SetAlpha(alpha); }

bool IsNullRect(const Rect& r) { return r.Width() < 1 || r.Height() < 1; }
bool IsNullPoint(const Point& p) { return p.x == 0 || p.y == 0; }
bool PointInsideRect(const Rect& r, const Point& p) {
  return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}
bool RectInsideRect(const Rect& r, const Rect& q) {
  auto inside = [&](int x, int y) { return q.left <= x && x < q.right && q.top <= y && y < q.bottom; };
  return inside(r.left, r.top) && inside(r.right, r.bottom);
}

}  // namespace skin
