// Writes the clip decoder's seed corpus: small clips in each format the decoder reads.
#include <filesystem>
#include <fstream>

#include "AviWriter.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  using testing_support::AviFormat;
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  int n = 0;
  for (AviFormat format : {AviFormat::Palette8, AviFormat::Rle8, AviFormat::Rgb24}) {
    testing_support::AviClip c{4, 3, format, {0x000000, 0xFF0000, 0x00FF00}, {}, {}};
    for (std::uint32_t f = 0; f < 3; ++f) c.frames.push_back(std::vector<std::uint32_t>(12, f % 3));
    std::ofstream(dir / ("clip" + std::to_string(n++)), std::ios::binary) << testing_support::MakeAvi(c);
  }
  return 0;
}
