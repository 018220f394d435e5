// Writes small AVI clips of one video stream, for the animation's tests and the
// clip decoder's fuzz seeds: 8-bit palette frames, uncompressed or run-length
// encoded, or 24-bit frames.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

enum class AviFormat { Palette8, Rle8, Rgb24 };

struct AviClip {
  int width = 0, height = 0;
  AviFormat format = AviFormat::Palette8;
  std::vector<std::uint32_t> palette;                // 0x00RRGGBB, for the 8-bit formats
  std::vector<std::vector<std::uint32_t>> frames;  // top-down pixels: palette indexes, or 0x00RRGGBB
  // Frame chunks written as given instead of encoding `frames` (for hand-made delta frames).
  std::vector<std::string> rawFrames;
};

std::string MakeAvi(const AviClip& clip);

}  // namespace testing_support
