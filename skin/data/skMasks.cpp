// Masks: their strips for a window size, and their black pixels as a region.
#include "skUtils.h"

#include "skPieces.h"

namespace skin {

using namespace pieces;

namespace {

// Region data block: header size, rectangle type, and bytes per rectangle.
constexpr std::uint32_t kRegionHeaderSize = 32;
constexpr std::uint32_t kRegionTypeRectangles = 1;
constexpr std::size_t kRegionRectSize = 16;

// Calls run(y, x0, x1) for every maximal run of black pixels, row by row.
template <typename F>
void ForEachBlackRun(const TskFBitmap& fb, F run) {
  for (int y = 0; y < fb.Height; ++y) {
    const std::uint8_t* p = fb.Rows[std::size_t(y)];
    int x = 0;
    while (x < fb.Width) {
      while (x < fb.Width && (p[0] | p[1] | p[2]) != 0) {
        ++x;
        p += TskFBitmap::kBytesPerPixel;
      }
      if (x == fb.Width) break;
      const int start = x;
      while (x < fb.Width && (p[0] | p[1] | p[2]) == 0) {
        ++x;
        p += TskFBitmap::kBytesPerPixel;
      }
      run(y, start, x);
    }
  }
}

void PutInt(std::vector<std::uint8_t>& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

}  // namespace

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

}  // namespace skin
