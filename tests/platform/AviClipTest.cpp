// The clip decoder against clips written by the test encoder, hand-made delta
// frames and damaged data; on Windows builds also against the shell's own clip.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "AviWriter.h"
#include "platform/AviClip.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using testing_support::AviClip;
using testing_support::AviFormat;

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
// 0x00RRGGBB as the bitmap's 0x00BBGGRR.
platform::Colour FromRgb(std::uint32_t rgb) {
  return platform::Colour(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456};

// Three frames of 5 × 3 in which a bright pixel moves along the middle row.
AviClip MovingDot(AviFormat format) {
  AviClip c{5, 3, format, kPalette, {}, {}};
  for (int f = 0; f < 3; ++f) {
    std::vector<std::uint32_t> px(15, format == AviFormat::Rgb24 ? 0x123456 : 4);
    px[std::size_t(5 + f + 1)] = format == AviFormat::Rgb24 ? 0xFF0000 : 1;
    px[0] = format == AviFormat::Rgb24 ? 0x00FF00 : 2;  // top-left: rows are not upside down
    c.frames.push_back(px);
  }
  return c;
}

TEST(AviClip, DecodesEachFormatFrameByFrame) {
  for (AviFormat format : {AviFormat::Palette8, AviFormat::Rle8, AviFormat::Rgb24}) {
    SCOPED_TRACE(int(format));
    const AviClip clip = MovingDot(format);
    const std::vector<platform::Bitmap> frames = platform::DecodeAviFrames(Bytes(testing_support::MakeAvi(clip)));
    ASSERT_EQ(frames.size(), 3u);
    for (std::size_t f = 0; f < frames.size(); ++f) {
      ASSERT_EQ(frames[f].Width(), 5);
      ASSERT_EQ(frames[f].Height(), 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
          const std::uint32_t v = clip.frames[f][std::size_t(y * 5 + x)];
          EXPECT_EQ(frames[f].Pixel(x, y), FromRgb(format == AviFormat::Rgb24 ? v : kPalette[v]))
              << "frame " << f << " at " << x << "," << y;
        }
    }
  }
}

TEST(AviClip, RunLengthDeltaFramesDrawOverThePreviousFrameAndEmptyChunksRepeatIt) {
  AviClip clip = MovingDot(AviFormat::Rle8);
  clip.frames.resize(1);
  const std::string avi = testing_support::MakeAvi(clip);
  const std::size_t at = avi.find("00dc");
  const std::string keyChunk = avi.substr(at + 8, std::uint8_t(avi[at + 4]) | std::uint8_t(avi[at + 5]) << 8);
  // Frame 2: move 2 right and 1 up from the bottom-left (onto the middle row),
  // paint three literal pixels, end. Frame 3: an empty chunk.
  AviClip raw = clip;
  raw.rawFrames = {keyChunk, std::string("\0\2\2\1\0\3\3\3\3\0\0\1", 12), std::string()};
  const std::vector<platform::Bitmap> frames = platform::DecodeAviFrames(Bytes(testing_support::MakeAvi(raw)));
  ASSERT_EQ(frames.size(), 3u);
  platform::Bitmap expected = frames[0];
  expected.SetPixel(2, 1, FromRgb(kPalette[3]));
  expected.SetPixel(3, 1, FromRgb(kPalette[3]));
  expected.SetPixel(4, 1, FromRgb(kPalette[3]));
  EXPECT_EQ(frames[1], expected);
  EXPECT_EQ(frames[2], frames[1]);
}

TEST(AviClip, DamagedOrForeignDataIsRefusedWithoutHarm) {
  const std::string good = testing_support::MakeAvi(MovingDot(AviFormat::Rle8));
  // Every cut of a clip: refused or decoded, never read past the end.
  for (std::size_t n = 0; n < good.size(); ++n) {
    try {
      platform::DecodeAviFrames(Bytes(good.substr(0, n)));
    } catch (const platform::EInvalidClip&) {
    }
  }
  EXPECT_THROW(platform::DecodeAviFrames(Bytes("RIFF\4\0\0\0WAVE")), platform::EInvalidClip);
  std::string bigChunk = good;
  bigChunk[16] = '\xFF';  // the header list claims more than the file holds
  bigChunk[17] = '\xFF';
  EXPECT_THROW(platform::DecodeAviFrames(Bytes(bigChunk)), platform::EInvalidClip);
  std::string rle4 = good;
  rle4[rle4.find("strf") + 8 + 16] = 2;  // run-length encoded with 4 bits a pixel: not read
  EXPECT_THROW(platform::DecodeAviFrames(Bytes(rle4)), platform::EInvalidClip);
}

#ifdef _WIN32
// The shell's copy-files clip, where the shell has one, is a clip the decoder reads.
TEST(AviClip, TheShellsCopyFilesClipDecodes) {
  HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(shell);
  HRSRC info = FindResourceW(shell, MAKEINTRESOURCEW(160), L"AVI");
  if (!info) GTEST_SKIP() << "this shell has no copy-files clip";
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(shell, info)));
  const std::vector<platform::Bitmap> frames =
      platform::DecodeAviFrames(std::span<const std::uint8_t>(data, SizeofResource(shell, info)));
  EXPECT_FALSE(frames.empty());
  for (const platform::Bitmap& f : frames) EXPECT_FALSE(f.Empty());
  FreeLibrary(shell);
}
#endif

}  // namespace
