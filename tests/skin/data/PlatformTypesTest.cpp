#include <gtest/gtest.h>

#include <cstring>

#include "platform/BmpFile.h"
#include "platform/FormData.h"
#include "platform/Region.h"

namespace {

using platform::Bitmap;
using platform::Bytes;
using platform::Rect;
using platform::Region;

void Put(Bytes& b, std::size_t at, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A hand-made BMP: file and info header, palette, rows as given (bottom-up).
Bytes MakeBmp(int w, int h, int bits, std::vector<std::uint32_t> palette, const Bytes& pixels) {
  const std::size_t offset = 14 + 40 + 4 * palette.size();
  Bytes b(offset + pixels.size());
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 2, std::uint32_t(b.size()), 4);
  Put(b, 10, std::uint32_t(offset), 4);
  Put(b, 14, 40, 4);
  Put(b, 18, std::uint32_t(w), 4);
  Put(b, 22, std::uint32_t(h), 4);
  Put(b, 26, 1, 2);
  Put(b, 28, std::uint32_t(bits), 2);
  Put(b, 46, std::uint32_t(palette.size()), 4);
  for (std::size_t i = 0; i < palette.size(); ++i) Put(b, 54 + 4 * i, palette[i], 4);
  std::memcpy(b.data() + offset, pixels.data(), pixels.size());
  return b;
}

TEST(BmpFile, ReadsOneAndFourBitPicturesBottomUp) {
  // 3 x 2 pixels, 1 bit: bottom row 101, top row 010; rows padded to 4 bytes.
  const Bytes mono = MakeBmp(3, 2, 1, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0});
  std::size_t used = 0;
  const Bitmap m = platform::ReadBmp(mono, &used);
  EXPECT_EQ(used, mono.size());
  EXPECT_EQ(m.Pixel(1, 0), platform::Rgb(255, 255, 255));
  EXPECT_EQ(m.Pixel(0, 0), 0);
  EXPECT_EQ(m.Pixel(0, 1), platform::Rgb(255, 255, 255));
  const Bytes nibbles = MakeBmp(2, 1, 4, {0x0000FF, 0x00FF00}, {0x10, 0, 0, 0});
  const Bitmap n = platform::ReadBmp(nibbles);
  EXPECT_EQ(n.Pixel(0, 0), platform::Rgb(0, 255, 0));
  EXPECT_EQ(n.Pixel(1, 0), platform::Rgb(0, 0, 255));
}

TEST(BmpFile, WritesEightBitsUpTo256ColoursAnd24Beyond) {
  Bitmap few(5, 3, platform::Rgb(1, 2, 3));
  few.SetPixel(4, 2, platform::Rgb(200, 100, 50));
  const Bytes a = platform::WriteBmp(few);
  EXPECT_EQ(a[28], 8);
  EXPECT_EQ(platform::ReadBmp(a), few);
  Bitmap many(20, 20);
  for (int i = 0; i < 400; ++i) many.SetPixel(i % 20, i / 20, platform::Rgb(std::uint8_t(i), std::uint8_t(i >> 8), 7));
  const Bytes b = platform::WriteBmp(many);
  EXPECT_EQ(b[28], 24);
  EXPECT_EQ(platform::ReadBmp(b), many);
  Bytes trailing = b;
  trailing.insert(trailing.end(), {1, 2, 3});
  std::size_t used = 0;
  platform::ReadBmp(trailing, &used);
  EXPECT_EQ(used, b.size());  // exactly the size field, never more
  EXPECT_THROW(platform::WriteBmp(Bitmap{}), platform::EInvalidBitmap);
}

TEST(BmpFile, BadHeadersFailClearlyWithoutHugeAllocations) {
  const Bytes good = platform::WriteBmp(Bitmap(4, 4, 5));
  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int size;
  };
  const Case cases[] = {
      {"signature", 0, 'X', 1},          {"size field beyond data", 2, 0x7FFFFFFF, 4},
      {"size field too small", 2, 20, 4}, {"header size", 14, 39, 4},
      {"zero width", 18, 0, 4},           {"absurd width", 18, 100000, 4},
      {"absurd height", 22, 0x80000000, 4}, {"huge area", 18, 30000, 4},
      {"planes", 26, 2, 2},               {"bit depth", 28, 7, 2},
      {"compression", 30, 1, 4},          {"palette too large", 46, 257, 4},
      {"pixel offset", 10, 0xFFFFFF00, 4},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    Put(bad, c.at, c.value, c.size);
    if (std::string(c.what) == "huge area") Put(bad, 22, 30000, 4);
    EXPECT_THROW(platform::ReadBmp(bad), platform::EInvalidBitmap) << c.what;
  }
  // Colour masks claimed by a header too short to hold them.
  Bytes masks = platform::WriteBmp(Bitmap(300, 1));
  Put(masks, 2, 14 + 44, 4);
  Put(masks, 14, 44, 4);
  Put(masks, 28, 32, 2);
  Put(masks, 30, 3, 4);
  EXPECT_THROW(platform::ReadBmp(std::span(masks.data(), 14 + 44)), platform::EInvalidBitmap);
  for (std::size_t cut : {0u, 10u, 17u, 53u, 60u}) {
    EXPECT_THROW(platform::ReadBmp(std::span(good.data(), cut)), platform::EInvalidBitmap) << cut;
  }
  Bytes truncated(good.begin(), good.end() - 1);
  EXPECT_THROW(platform::ReadBmp(truncated), platform::EInvalidBitmap);
}

TEST(Bitmap, DrawingOutsideTheBitmapIsClippedAway) {
  Bitmap b(6, 4, 1);
  const Bitmap untouched = b;
  for (const Rect& r : {Rect{10, 0, 20, 2}, Rect{-9, -9, -2, -2}, Rect{2, 7, 4, 9}, Rect{7, 5, 3, 1}}) {
    b.FillRect(r, 2);
    b.FrameRect(r, 2);
    b.StretchRect(r, untouched, untouched.BoundsRect());
    b.CopyRect(r.left, r.top, untouched, untouched.BoundsRect());
  }
  b.Line(-5, 20, 30, 20, 2);
  b.Line(-2147483647, 1, -2147483647, 3, 2);
  b.Line(2147483647, -2147483647, 2147483600, 2147483647, 2);  // wholly to the right: returns at once
  b.DrawTransparent(40, -40, untouched, 0);
  EXPECT_EQ(b, untouched);
  b.FillRect({-3, -3, 2, 2}, 2);
  EXPECT_EQ(b.Pixel(1, 1), 2);
  EXPECT_EQ(b.Pixel(2, 2), 1);
  b.Line(2147483647, 3, 4, 3, 2);  // far start: clipped, end point (4, 3) excluded
  EXPECT_EQ(b.Pixel(5, 3), 2);
  EXPECT_EQ(b.Pixel(4, 3), 1);
  b.Line(0, 0, 5, 3, 3);  // a slanted line keeps its Bresenham pixels
  EXPECT_EQ(b.Pixel(0, 0), 3);
  EXPECT_EQ(b.Pixel(4, 3), 1);
}

TEST(Region, CombinesIntoOneCanonicalForm) {
  const Rect parts[] = {{0, 0, 4, 2}, {4, 0, 8, 2}, {0, 2, 8, 4}};
  EXPECT_EQ(Region::FromRects(parts), Region(Rect{0, 0, 8, 4}));
  EXPECT_EQ(Region::FromRects(parts).Rects().size(), 1u);
  Region ring(Rect{0, 0, 10, 10});
  ring -= Region(Rect{3, 3, 7, 7});
  EXPECT_FALSE(ring.Contains(5, 5));
  EXPECT_TRUE(ring.Contains(2, 5));
  EXPECT_FALSE(ring.Contains(10, 5));
  EXPECT_EQ(ring.Rects().size(), 4u);
  Region back = ring;
  back |= Region(Rect{3, 3, 7, 7});
  EXPECT_EQ(back, Region(Rect{0, 0, 10, 10}));
  Region x(Rect{0, 0, 4, 4});
  x ^= Region(Rect{2, 2, 6, 6});
  EXPECT_FALSE(x.Contains(3, 3));
  EXPECT_TRUE(x.Contains(5, 5));
  Region both(Rect{0, 0, 4, 4});
  both &= Region(Rect{2, 2, 6, 6});
  EXPECT_EQ(both, Region(Rect{2, 2, 4, 4}));
  both.Offset(-2, 10);
  EXPECT_EQ(both.Bounds(), (Rect{0, 12, 2, 14}));
  EXPECT_TRUE(Region(Rect{1, 1, 1, 5}).Empty());
}

TEST(FormData, RoundTripsEveryKindAndRejectsDamage) {
  platform::FormData form("TForm", "u_update");
  form.Set("Caption", std::string("正在从本地进行升级 . . ."));
  form.Set("Width", std::int64_t(474));
  form.Set("Visible", false);
  form.Set("Lines", platform::FormData::Strings{"a", "", "b"});
  form.Set("Blob", platform::FormData::Bytes{0, 1, 255});
  form.AddChild("TskStoredSkin", "skStoredSkin1").Set("FileName", std::string("SKIN.INI"));
  const auto bytes = form.Save();
  const auto back = platform::FormData::Load(bytes);
  EXPECT_EQ(back, form);
  EXPECT_EQ(back.Integer("Width"), 474);
  EXPECT_EQ(back.FindChild("skStoredSkin1")->String("FileName"), "SKIN.INI");
  EXPECT_THROW(back.Integer("Caption"), platform::EFormDataError);
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
    EXPECT_THROW(platform::FormData::Load(std::span(bytes.data(), cut)), platform::EFormDataError) << cut;
  }
  auto longer = bytes;
  longer.push_back(0);
  EXPECT_THROW(platform::FormData::Load(longer), platform::EFormDataError);
}

}  // namespace
