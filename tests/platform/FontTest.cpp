// Text drawn through the backend's font engine: real glyphs for Latin and Chinese,
// in the fonts the skins name ("宋体" at its stored size) and in fonts that are not
// installed at all. A missing glyph draws as the same box for every character, so
// two different characters drawing the same pixels is the sign of a missing font.
#include <gtest/gtest.h>

#include "platform/Font.h"

namespace {

using platform::Bitmap;
using platform::Font;

constexpr platform::Colour kPaper = platform::Rgb(255, 255, 255);
constexpr platform::Colour kInk = platform::Rgb(0, 0, 0);
constexpr int kGb2312Charset = 134;
constexpr int kDefaultCharset = 1;

// One character drawn alone at the top left of a blank square.
Bitmap Draw(const Font& font, std::string_view text) {
  Bitmap b(32, 32, kPaper);
  platform::PaintText(b, font, b.BoundsRect(), text, kInk, platform::textflag::kNoPrefix);
  return b;
}

int InkedPixels(const Bitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) != kPaper;
  return n;
}

struct FontCase {
  const char* what;
  Font font;
  const char* first;
  const char* second;
};

const FontCase kCases[] = {
    {"the skins' Chinese face", {"宋体", -12, 0, kGb2312Charset}, "皮", "肤"},
    {"the same face in bold", {"宋体", -12, platform::fontstyle::kBold, kGb2312Charset}, "物", "流"},
    {"Latin in the Chinese face", {"宋体", -12, 0, kGb2312Charset}, "a", "g"},
    {"a Latin face", {"Arial", 14, 0, kDefaultCharset}, "a", "g"},
    {"Chinese asked of a Latin face", {"Arial", -12, 0, kGb2312Charset}, "系", "统"},
    {"Chinese in a face that is not installed", {"Tarnwick No Such Face", -12, 0, kGb2312Charset}, "升", "级"},
    {"Latin in a face that is not installed", {"Tarnwick No Such Face", 14, 0, kDefaultCharset}, "R", "x"},
};

TEST(FontGlyphs, DifferentCharactersDrawDifferentGlyphs) {
  for (const FontCase& c : kCases) {
    const Bitmap first = Draw(c.font, c.first), second = Draw(c.font, c.second);
    EXPECT_GT(InkedPixels(first), 4) << c.what;
    EXPECT_GT(InkedPixels(second), 4) << c.what;
    EXPECT_FALSE(first == second) << c.what << ": " << c.first << " and " << c.second << " draw alike";
  }
}

TEST(FontGlyphs, ChineseCharactersAreAboutSquareInTheStoredSize) {
  const Font song{"宋体", -12, 0, kGb2312Charset};
  const platform::Point one = platform::TextExtent(song, "皮"), four = platform::TextExtent(song, "皮肤演示");
  EXPECT_GE(one.x, 11);
  EXPECT_LE(one.x, 14);
  EXPECT_EQ(four.x, 4 * one.x);
  EXPECT_GE(one.y, 12);
  EXPECT_LE(one.y, 16);
}

}  // namespace
