#include <gtest/gtest.h>

#include <random>

#include "SampleSkin.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "skUtils.h"

namespace {

using platform::Bitmap;
using platform::Point;
using platform::Rect;

// A picture whose every pixel names its own position, so a copy tells where it came from.
Bitmap Positions(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, platform::Rgb(std::uint8_t(x), std::uint8_t(y), 1));
  return b;
}
Point SourceOf(platform::Colour c) { return {c & 0xFF, (c >> 8) & 0xFF}; }

// Nine-slice geometry whose stretch points sit on the client rectangle's corners.
skin::TskStretchGeometry Slice(const Rect& c) {
  return {{c.left, c.top}, {c.right, c.top}, {c.left, c.bottom}, {c.right, c.bottom}, c};
}
skin::TskStretchGeometry Moved(const skin::TskStretchGeometry& g, int dx, int dy) {
  auto t = g;
  t.righttop.x += dx;
  t.leftbottom.y += dy;
  t.rightbottom.x += dx;
  t.rightbottom.y += dy;
  t.client.right += dx;
  t.client.bottom += dy;
  return t;
}
// Where a target coordinate reads from: fixed ends, the middle repeated.
int Map(int v, int lo, int hi, int sourceSize, int targetSize) {
  if (v < lo) return v;
  const int tail = sourceSize - hi;
  if (v >= targetSize - tail) return v - (targetSize - sourceSize);
  return lo + (v - lo) % (hi - lo);
}

TEST(StretchImage, NinePiecesFixCornersAndRepeatEdgesAndCentre) {
  const Bitmap src = Positions(20, 16);
  const Rect s{2, 1, 14, 13};  // 12 x 12 skin rectangle inside the picture
  const Rect c{3, 4, 8, 9};
  const auto g = Slice(c);
  for (auto [w, h] : {std::pair{12, 12}, std::pair{31, 23}, std::pair{9, 10}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    Bitmap out;
    skin::BuildStretchImage(g, s, src, w, h, Moved(g, w - 12, h - 12), true, out);
    ASSERT_EQ(out.Width(), w);
    ASSERT_EQ(out.Height(), h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (w < 12 && x >= c.left && x < w - (12 - c.right)) continue;  // shrunk: middle overlapped
        const Point from = SourceOf(out.Pixel(x, y));
        ASSERT_EQ(from.x, s.left + Map(x, c.left, c.right, 12, w)) << x << "," << y;
        ASSERT_EQ(from.y, s.top + Map(y, c.top, c.bottom, 12, h)) << x << "," << y;
      }
    }
  }
}

TEST(StretchImage, WithoutCentreOrSourceOrWithCoincidingPoints) {
  const Bitmap src = Positions(12, 12);
  const auto g = Slice({3, 3, 9, 9});
  Bitmap out;
  skin::BuildStretchImage(g, src.BoundsRect(), src, 20, 20, Moved(g, 8, 8), false, out);
  EXPECT_EQ(out.Pixel(10, 10), 0);  // centre left unpainted
  EXPECT_NE(out.Pixel(1, 1), 0);
  skin::BuildStretchImage(g, src.BoundsRect(), Bitmap{}, 20, 20, Moved(g, 8, 8), true, out);
  EXPECT_EQ(out, Bitmap(20, 20));
  auto flat = g;
  flat.rightbottom.x = flat.lefttop.x;
  skin::BuildStretchImage(flat, src.BoundsRect(), src, 20, 20, Moved(flat, 8, 8), true, out);
  EXPECT_EQ(out, Bitmap(20, 20));
  // A repeat piece of no width between two stretch points is skipped, not looped on.
  auto thin = g;
  thin.righttop.x = thin.lefttop.x;
  skin::BuildStretchImage(thin, src.BoundsRect(), src, 20, 20, Moved(thin, 8, 8), true, out);
  EXPECT_EQ(out.Width(), 20);
}

TEST(StretchImage, OpenRightRunsTheEdgesToTheRightEdge) {
  const Bitmap src = Positions(12, 12);
  const auto g = Slice({3, 3, 9, 9});
  Bitmap out;
  skin::BuildStretchImageOpenRight(g, src.BoundsRect(), src, 20, 12, Moved(g, 8, 0), true, out);
  // Column 19 repeats the top edge (columns 3..8): (19 - 3) % 6 = 4.
  EXPECT_EQ(SourceOf(out.Pixel(19, 0)), (Point{3 + 4, 0}));
  EXPECT_EQ(SourceOf(out.Pixel(19, 5)), (Point{3 + 4, 5}));
}

TEST(HorzImage, PiecesAndTheDocumentedEdgeCases) {
  const Bitmap src = Positions(10, 2);
  Bitmap out;
  skin::BuildHorzImage(2, 3, 15, {0, 0, 10, 2}, src, out);
  ASSERT_EQ(out.Width(), 15);
  const int expected[15] = {0, 1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 6, 7, 8, 9};
  for (int x = 0; x < 15; ++x) EXPECT_EQ(SourceOf(out.Pixel(x, 1)).x, expected[x]) << x;
  // Left and right wider than the target: the right piece lies over the left, no middle.
  skin::BuildHorzImage(4, 4, 6, {0, 0, 10, 2}, src, out);
  const int overlapped[6] = {0, 1, 6, 7, 8, 9};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(SourceOf(out.Pixel(x, 0)).x, overlapped[x]) << x;
  // A middle of no width counts as one column.
  skin::BuildHorzImage(5, 5, 14, {0, 0, 10, 2}, src, out);
  for (int x = 5; x < 9; ++x) EXPECT_EQ(SourceOf(out.Pixel(x, 0)).x, 5) << x;
  skin::BuildHorzImageOpenRight(2, 3, 12, {0, 0, 10, 2}, src, out);
  EXPECT_EQ(SourceOf(out.Pixel(11, 0)).x, 2 + (11 - 2) % 5);
}

TEST(VertImage, AMiddleOfNoHeightDrawsNothing) {
  const Bitmap src = Positions(2, 10);
  Bitmap out;
  skin::BuildVertImage(2, 3, 14, {0, 0, 2, 10}, src, out);
  EXPECT_EQ(SourceOf(out.Pixel(0, 12)).y, 8);
  EXPECT_EQ(SourceOf(out.Pixel(0, 7)).y, 2);
  skin::BuildVertImage(5, 5, 14, {0, 0, 2, 10}, src, out);
  EXPECT_EQ(out.Pixel(0, 6), 0);
}

TEST(FrameStrips, TopStripStretchesOrRepeatsItsMiddle) {
  const Bitmap src = Positions(12, 12);
  const auto g = Slice({3, 3, 9, 9});
  skin::TskStrips strips;
  skin::BuildFrameStrips(g, src.BoundsRect(), src, 18, 12, Moved(g, 6, 0), {}, strips);
  ASSERT_EQ(strips.top.Width(), 18);
  ASSERT_EQ(strips.top.Height(), 3);
  EXPECT_EQ(SourceOf(strips.top.Pixel(12, 0)).x, 3);  // the middle repeats from x = 0
  EXPECT_EQ(SourceOf(strips.top.Pixel(15, 0)).x, 9);  // the right piece starts at RT'.x
  EXPECT_EQ(SourceOf(strips.top.Pixel(0, 0)).x, 0);
  EXPECT_EQ(strips.left.Width(), 3);
  EXPECT_EQ(strips.left.Height(), 6);
  EXPECT_EQ(strips.right.Width(), 3);
  EXPECT_EQ(strips.bottom.Height(), 3);
  skin::TskStrips stretched;
  skin::BuildFrameStrips(g, src.BoundsRect(), src, 18, 12, Moved(g, 6, 0), {true, false, false, false}, stretched);
  EXPECT_EQ(SourceOf(stretched.top.Pixel(3, 0)).x, 3);
  EXPECT_EQ(SourceOf(stretched.top.Pixel(14, 0)).x, 8);  // 12 columns of the stretch end on the last middle column
}

TEST(MaskRegion, TheRegionIsExactlyTheBlackPixels) {
  std::minstd_rand random(7);
  Bitmap mask(37, 23, platform::Rgb(255, 255, 255));
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      if (random() % 3 == 0) mask.SetPixel(x, y, 0);
  mask.SetPixel(5, 5, platform::Rgb(1, 0, 0));  // almost black is outside
  const auto region = skin::RegionFromBitmap(mask, 3, -2);
  ASSERT_TRUE(region);
  for (int y = -5; y < 30; ++y)
    for (int x = -5; x < 45; ++x)
      ASSERT_EQ(region->Contains(x, y), mask.Pixel(x - 3, y + 2) == 0 && x - 3 >= 0 && x - 3 < 37 && y + 2 >= 0 &&
                                            y + 2 < 23)
          << x << "," << y;
  const auto data = skin::BuildRegionData(mask, 3, -2);
  ASSERT_TRUE(data);
  EXPECT_EQ(platform::Region::FromRects(data->rects), *region);
  EXPECT_EQ(data->bounds, (Rect{3, -2, 40, 21}));
}

TEST(MaskRegion, SampleMaskHasRoundedTopCorners) {
  skintest::SampleSkin sample;
  const Bitmap mask = platform::LoadBmpFile(sample.Folder() + "mask.bmp");
  const auto data = skin::BuildRegionData(mask, 0, 0);
  ASSERT_TRUE(data);
  ASSERT_EQ(data->rects.size(), 125u);  // one run per row
  const int cut[] = {5, 3, 2, 1, 1};
  for (int y = 0; y < 5; ++y) EXPECT_EQ(data->rects[std::size_t(y)], (Rect{cut[y], y, 152 - cut[y], y + 1}));
  for (int y = 5; y < 125; ++y) EXPECT_EQ(data->rects[std::size_t(y)], (Rect{0, y, 152, y + 1}));
  const auto block = data->Block();
  ASSERT_EQ(block.size(), 32u + 16u * 125u);
  EXPECT_EQ(block[0], 32);
  EXPECT_EQ(block[4], 1);
  EXPECT_EQ(block[8], 125);
  EXPECT_EQ(block[24], 152);
}

TEST(MaskRegion, WhiteEmptyAndHugeMasks) {
  const auto white = skin::BuildRegionData(Bitmap(8, 4, platform::Rgb(255, 255, 255)), 1, 2);
  ASSERT_TRUE(white);
  EXPECT_TRUE(white->rects.empty());
  EXPECT_EQ(white->bounds, (Rect{1, 2, 9, 6}));
  EXPECT_FALSE(skin::BuildRegionData(Bitmap{}, 0, 0));
  EXPECT_FALSE(skin::RegionFromBitmap(Bitmap{}));
  // More runs than a fixed 10,001-entry buffer holds: every one is kept.
  Bitmap stripes(400, 60, platform::Rgb(255, 255, 255));
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 400; x += 2) stripes.SetPixel(x, y, 0);
  const auto data = skin::BuildRegionData(stripes, 0, 0);
  EXPECT_EQ(data->rects.size(), 12000u);
  EXPECT_TRUE(skin::RegionFromBitmap(stripes)->Contains(398, 59));
}

TEST(FrameRegion, StretchedSampleMaskKeepsItsCornersAndCoversTheRest) {
  skintest::SampleSkin sample;
  const Bitmap mask = platform::LoadBmpFile(sample.Folder() + "mask.bmp");
  const Rect inner{5, 5, 147, 125};
  const skin::TskStretchGeometry g{{29, 29}, {53, 29}, {6, 118}, {146, 119}, {}};
  auto t = g;
  const int dx = 148, dy = 75;
  t.righttop.x += dx;
  t.leftbottom.y += dy;
  t.rightbottom.x += dx;
  t.rightbottom.y += dy;
  const Rect innerT{5, 5, 147 + dx, 125 + dy};
  const auto region = skin::BuildFrameRegion(g, inner, mask, 300, 200, t, innerT);
  ASSERT_TRUE(region);
  EXPECT_EQ(region->Bounds(), (Rect{0, 0, 300, 200}));
  EXPECT_FALSE(region->Contains(4, 0));
  EXPECT_TRUE(region->Contains(5, 0));
  EXPECT_FALSE(region->Contains(295, 0));
  EXPECT_TRUE(region->Contains(294, 0));
  EXPECT_FALSE(region->Contains(0, 4));
  EXPECT_TRUE(region->Contains(0, 5));
  EXPECT_TRUE(region->Contains(299, 199));
  EXPECT_TRUE(region->Contains(150, 100));
  auto tooSmall = t;
  tooSmall.righttop.x = tooSmall.lefttop.x - 1;
  EXPECT_FALSE(skin::BuildFrameRegion(g, inner, mask, 300, 200, tooSmall, innerT));
  EXPECT_FALSE(skin::BuildFrameRegion(g, inner, mask, 300, 200, t, Rect{}));
}

std::vector<Point> Drawn(const Bitmap& b) {
  std::vector<Point> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != 0) out.push_back({x, y});
  return out;
}

TEST(Glyphs, CaptionGlyphsStayInsideTheirBoxAndExcludeLineEnds) {
  using Draw = void (*)(Bitmap&, int, int, platform::Colour);
  const Draw glyphs[] = {skin::DrawCloseGlyph,   skin::DrawSysMenuGlyph,  skin::DrawMinimizeGlyph,
                         skin::DrawMaximizeGlyph, skin::DrawRestoreGlyph, skin::DrawRollDownGlyph,
                         skin::DrawRollUpGlyph,   skin::DrawMinToTrayGlyph};
  for (Draw draw : glyphs) {
    Bitmap b(20, 20);
    draw(b, 4, 5, 1);
    const auto points = Drawn(b);
    ASSERT_FALSE(points.empty());
    for (Point p : points) {
      EXPECT_GE(p.x, 4);
      EXPECT_LT(p.x, 4 + 11);
      EXPECT_GE(p.y, 5);
      EXPECT_LT(p.y, 5 + 10);
    }
  }
  Bitmap close(12, 12);
  skin::DrawCloseGlyph(close, 0, 0, 1);
  EXPECT_EQ(close.Pixel(1, 1), 1);
  EXPECT_EQ(close.Pixel(8, 8), 1);
  EXPECT_EQ(close.Pixel(9, 8), 1);  // from the second line of the pair, (2,1)->(10,9)
  EXPECT_EQ(close.Pixel(9, 9), 0);  // end points are excluded
  EXPECT_EQ(close.Pixel(1, 9), 0);
  Bitmap tray(10, 10);
  skin::DrawMinToTrayGlyph(tray, 0, 0, 1);
  EXPECT_EQ(Drawn(tray).size(), 25u);
}

TEST(Glyphs, ArrowsPointTheirWayAndUnknownDirectionsDrawNothing) {
  for (int direction : {0, 5, -1}) {
    Bitmap b(16, 16);
    skin::DrawArrow(b, {0, 0, 16, 16}, 1, direction);
    EXPECT_TRUE(Drawn(b).empty()) << direction;
  }
  Bitmap down(16, 16);
  skin::DrawArrow(down, {0, 0, 16, 16}, 1, skin::kArrowDown);
  // Rows cy-1 .. cy+2 (cy = 8) hold 7, 5, 3, 1 pixels.
  for (auto [y, count] : {std::pair{7, 7}, std::pair{8, 5}, std::pair{9, 3}, std::pair{10, 1}}) {
    int n = 0;
    for (int x = 0; x < 16; ++x) n += down.Pixel(x, y) != 0;
    EXPECT_EQ(n, count) << y;
  }
}

TEST(Glyphs, DrawGlyphCopiesOneGlyphWithItsBottomLeftColourTransparent) {
  Bitmap strip(9, 3, platform::Rgb(9, 9, 9));
  strip.SetPixel(4, 1, platform::Rgb(200, 0, 0));  // middle glyph's centre
  Bitmap canvas(5, 5, 7);
  skin::DrawGlyph(canvas, 1, 1, 2, 3, strip);
  EXPECT_EQ(canvas.Pixel(2, 2), platform::Rgb(200, 0, 0));
  EXPECT_EQ(canvas.Pixel(1, 1), 7);
  skin::DrawGlyph(canvas, 0, 0, 4, 3, strip);  // no such glyph
  skin::DrawGlyph(canvas, 0, 0, 1, 3, Bitmap{});
  EXPECT_EQ(canvas.Pixel(0, 0), 7);
}

TEST(TextFitting, ShortensWholeCharactersAndAlwaysEndsWithEllipsis) {
  const skin::TskTextWidth bytes = [](std::string_view s) { return int(s.size()); };
  std::string text = "Tarnwick";
  skin::FitTextWithEllipsis(bytes, text, 8);
  EXPECT_EQ(text, "Tarnwick");
  skin::FitTextWithEllipsis(bytes, text, 7);
  EXPECT_EQ(text, "Tarn...");
  text = "Tarnwick";
  skin::FitTextWithEllipsis(bytes, text, 2);
  EXPECT_EQ(text, "...");
  text = "软件升级";  // three bytes per character
  skin::FitTextWithEllipsis(bytes, text, 10);
  EXPECT_EQ(text, "软件...");
}

TEST(RectHelpers, EdgesAndEmptiness) {
  EXPECT_TRUE(skin::IsNullRect({0, 0, 0, 5}));
  EXPECT_FALSE(skin::IsNullRect({0, 0, 1, 1}));
  EXPECT_TRUE(skin::IsNullPoint({0, 5}));
  EXPECT_FALSE(skin::IsNullPoint({1, 5}));
  EXPECT_TRUE(skin::PointInsideRect({0, 0, 10, 10}, {10, 10}));
  EXPECT_FALSE(skin::PointInsideRect({0, 0, 10, 10}, {11, 10}));
  EXPECT_TRUE(skin::RectInsideRect({1, 1, 9, 9}, {0, 0, 10, 10}));
  EXPECT_FALSE(skin::RectInsideRect({1, 1, 10, 9}, {0, 0, 10, 10}));
  EXPECT_EQ(skin::RectWidth({3, 0, 10, 0}), 7);
  EXPECT_EQ(skin::RectHeight({0, 3, 0, 10}), 7);
}

}  // namespace

namespace {

TEST(LayeredWindows, AvailabilityFollowsThePlatformAndAlphaReachesTheWindow) {
  platform::Application app;
  platform::Window window;
  // Availability is the platform's capability, not a version check that would
  // refuse translucency on every system newer than version 5.2.
  EXPECT_EQ(skin::LayeredWindowsAvailable(), platform::LayeredWindowsAvailable());
  skin::SetWindowAlpha(window, 128);
  EXPECT_EQ(window.Alpha(), std::optional<std::uint8_t>(128));
}

}  // namespace
