#include <gtest/gtest.h>

#include <limits>

#include <cmath>

#include "skEffects.h"

namespace {

using skin::TskEffectBmp;

TskEffectBmp Filled(int w, int h, std::uint32_t colour) {
  TskEffectBmp b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, colour);
  return b;
}
std::uint32_t Grey(std::uint8_t v) { return v | (v << 8) | (std::uint32_t(v) << 16); }
// Column x of a bitmap whose pixel colours give their column.
TskEffectBmp Columns(int w, int h, int base) {
  TskEffectBmp b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, Grey(std::uint8_t(base + x)));
  return b;
}
int Col(const TskEffectBmp& b, int x, int y = 0) { return int(b.GetPixel(x, y) & 0xFF); }

TEST(Effects, ChannelArithmeticRoundsHalvesToEven) {
  const std::tuple<std::uint8_t, std::uint8_t, double, std::uint8_t> blends[] = {
      {10, 20, 0.5, 15}, {10, 11, 0.5, 10}, {11, 12, 0.5, 12}, {10, 20, 2.0, 20}, {10, 20, -1.0, 10}};
  for (auto [s, t, kf, expected] : blends) {
    TskEffectBmp a = Filled(3, 2, Grey(s));
    a.BlendWith(Filled(3, 2, Grey(t)), kf);
    EXPECT_EQ(a.GetPixel(2, 1), Grey(expected)) << int(s) << " " << int(t) << " " << kf;
  }
  TskEffectBmp black = Filled(2, 2, 0), white = Filled(2, 2, Grey(255)), hundred = Filled(2, 2, Grey(100));
  black.Lighten(0.5);
  white.Lighten(0.5);
  hundred.Darken(0.3);
  EXPECT_EQ(black.GetPixel(0, 0), Grey(128));
  EXPECT_EQ(white.GetPixel(0, 0), Grey(255));
  EXPECT_EQ(hundred.GetPixel(1, 1), Grey(70));
  TskEffectBmp green = Filled(2, 1, 0x00FF00), w2 = Filled(2, 1, Grey(255));
  green.ToGray();
  w2.ToGray();
  EXPECT_EQ(green.GetPixel(1, 0), Grey(150));
  EXPECT_EQ(w2.GetPixel(0, 0), Grey(255));
  TskEffectBmp inv = Filled(1, 1, 0x102030);
  inv.InvertColors();
  EXPECT_EQ(inv.GetPixel(0, 0), 0xEFDFCFu);
}

TEST(Effects, SlidesAndPushMoveTheDocumentedColumns) {
  TskEffectBmp s = Columns(10, 2, 0);
  const TskEffectBmp t = Columns(10, 2, 100);
  s.MorphLeftSlide(t, 1.0);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(Col(s, x), 101 + x);
  EXPECT_EQ(Col(s, 9), 9);
  TskEffectBmp r = Columns(10, 2, 0);
  r.MorphRightSlide(t, 0.3);  // n = 3: S's columns 7..9 take T's 0..2
  EXPECT_EQ(Col(r, 6), 6);
  EXPECT_EQ(Col(r, 7), 100);
  EXPECT_EQ(Col(r, 9), 102);
  TskEffectBmp p = Columns(10, 2, 0);
  p.MorphPush(t, 0.2);  // a = 2: S pushed right by 3, T's columns 7..9 in front
  const int expected[10] = {107, 108, 109, 0, 1, 2, 3, 4, 5, 6};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(Col(p, x), expected[x]) << x;
}

TEST(Effects, GradientsMixTowardTheTarget) {
  TskEffectBmp s = Filled(10, 2, Grey(0));
  const TskEffectBmp t = Filled(10, 2, Grey(200));
  s.MorphLeftGradient(t, 0.0);  // a is raised to 1
  EXPECT_EQ(Col(s, 0), 200);
  EXPECT_EQ(Col(s, 1), 0);
  EXPECT_EQ(Col(s, 2), 0);
  TskEffectBmp rg = Filled(10, 2, Grey(0));
  rg.MorphRightGradient(t, 0.5);  // a = 5, step 0.2 from the right edge
  EXPECT_EQ(Col(rg, 9), 200);
  EXPECT_EQ(Col(rg, 8), 160);
  EXPECT_EQ(Col(rg, 4), 0);
  // Wide bitmaps take the horizontal form, tall ones the vertical.
  for (auto [w, h] : {std::pair{20, 20}, std::pair{10, 20}}) {
    TskEffectBmp a = Filled(w, h, Grey(0)), horizontal = a, vertical = a;
    const TskEffectBmp target = Filled(w, h, Grey(200));
    a.MorphGradient(target, 0.4);
    horizontal.MorphGradientH(target, 0.4);
    vertical.MorphGradientV(target, 0.4);
    const auto& expected = w < h ? vertical : horizontal;
    EXPECT_EQ(a.GetPixel(0, 0), expected.GetPixel(0, 0));
    EXPECT_EQ(a.GetPixel(w / 2, h / 2), expected.GetPixel(w / 2, h / 2));
    EXPECT_EQ(a.GetPixel(w / 2, h / 2), Grey(200));
  }
}

TEST(Effects, MorphsBetweenDifferentSizesLeaveTheImageAlone) {
  const TskEffectBmp original = Columns(6, 3, 10);
  const TskEffectBmp other = Columns(7, 3, 50);
  using Morph = void (TskEffectBmp::*)(const TskEffectBmp&, double);
  for (Morph m : {&TskEffectBmp::BlendWith, &TskEffectBmp::MorphGradient, &TskEffectBmp::MorphLeftGradient,
                  &TskEffectBmp::MorphRightGradient, &TskEffectBmp::MorphLeftSlide, &TskEffectBmp::MorphRightSlide,
                  &TskEffectBmp::MorphPush}) {
    TskEffectBmp s = original;
    (s.*m)(other, 0.5);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(s.GetPixel(x, 1), original.GetPixel(x, 1));
  }
}

TEST(Effects, EveryMorphStaysInBoundsOnTinyBitmaps) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{1, 3}, std::pair{3, 2}}) {
    for (int k = 0; k <= 6; ++k) {
      for (double kf : {0.0, 0.5, 1.0, -3.0, 7.5, 1e300, std::nan("")}) {
        TskEffectBmp s = Filled(w, h, Grey(10));
        s.Morph(skin::TMorphKind(k), Filled(w, h, Grey(90)), kf);
        const int v = Col(s, w - 1, h - 1);
        EXPECT_TRUE(v >= 10 && v <= 90) << w << "x" << h << " kind " << k << " kf " << kf;
      }
    }
  }
}

TEST(Effects, NoiseIsBoundedAndRepeatable) {
  TskEffectBmp a = Filled(30, 10, Grey(128)), b = a;
  a.AddNoise(50);
  b.AddNoise(50);
  bool changed = false;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 30; ++x) {
      const int v = Col(a, x, y);
      EXPECT_GE(v, 128 - 25);
      EXPECT_LE(v, 128 + 24);
      EXPECT_EQ(a.GetPixel(x, y), b.GetPixel(x, y));
      EXPECT_EQ(a.GetPixel(x, y) & 0xFF, (a.GetPixel(x, y) >> 8) & 0xFF);  // same delta on every channel
      changed |= v != 128;
    }
  }
  EXPECT_TRUE(changed);
}

TEST(Effects, SplitBlurAveragesFourNeighboursAndStaysInside) {
  TskEffectBmp flat = Filled(5, 4, Grey(80));
  flat.SplitBlur(1);
  EXPECT_EQ(flat.GetPixel(2, 2), Grey(80));
  TskEffectBmp spot = Filled(5, 5, 0);
  spot.SetPixel(3, 3, Grey(200));
  spot.SplitBlur(1);
  EXPECT_EQ(Col(spot, 2, 2), 50);  // (1,1), (1,3), (3,1), (3,3) -> 200 / 4
  for (int a : {3, 5, 100, std::numeric_limits<int>::max()}) {
    TskEffectBmp edge = Columns(4, 3, 0);
    edge.SplitBlur(a);  // neighbours past every edge
    EXPECT_LE(Col(edge, 3, 2), 3);
  }
}

TEST(Effects, RotationsTurnByARightAngle) {
  TskEffectBmp src(3, 2);
  src.SetPixel(0, 0, 1);
  src.SetPixel(2, 1, 2);
  TskEffectBmp left(1, 1), right(2, 3);
  src.RotateLeft(left);
  src.RotateRight(right);
  ASSERT_EQ(left.Width, 2);
  ASSERT_EQ(left.Height, 3);
  EXPECT_EQ(left.GetPixel(0, 2), 1u);  // (x, y) -> (y, W - 1 - x)
  EXPECT_EQ(left.GetPixel(1, 0), 2u);
  EXPECT_EQ(right.GetPixel(1, 0), 1u);  // (x, y) -> (H - 1 - y, x)
  EXPECT_EQ(right.GetPixel(0, 2), 2u);
}

TEST(Effects, RowsArePaddedAndCopiesOwnTheirPixels) {
  TskEffectBmp b(5, 3);
  EXPECT_EQ(b.ImageSize, 3 * (15 + 1));
  EXPECT_EQ(b.RowAddress(1) - b.PixelData, 16);
  TskEffectBmp copy = b;
  copy.SetPixel(0, 0, 0x123456);
  EXPECT_EQ(b.GetPixel(0, 0), 0u);
  platform::Bitmap canvas(7, 5);
  copy.DrawToDC(canvas, 1, 1);
  EXPECT_EQ(canvas.Pixel(1, 1), platform::Rgb(0x12, 0x34, 0x56));
  EXPECT_EQ(TskEffectBmp(canvas).GetPixel(1, 1), 0x123456u);
}

}  // namespace
