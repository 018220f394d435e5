// Writes the seed corpus: every legacy method over a few small data shapes,
// encoded by the test encoders. Usage: unzip_legacy_seed_corpus <folder>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "FuzzLegacy.h"
#include "LegacyEncoders.h"

using legacytest::Bytes;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  std::mt19937 rng(5);
  Bytes random(3000), text;
  for (auto& b : random) b = std::uint8_t(rng());
  for (int i = 0; i < 6000; ++i) text.push_back(std::uint8_t("pallet route \x90 depot "[i % 21] + (i / 500) % 3));
  const Bytes shapes[] = {{}, {'A'}, text, random, Bytes(5000, 0)};

  int n = 0;
  auto write = [&](std::uint8_t selector, const Bytes& plain, const Bytes& packed) {
    const std::uint32_t size = std::uint32_t(plain.size());
    std::ofstream f(dir / ("seed" + std::to_string(n++)), std::ios::binary);
    const char header[legacyfuzz::kHeaderSize] = {char(selector), char(size), char(size >> 8), char(size >> 16)};
    f.write(header, sizeof header);
    f.write(reinterpret_cast<const char*>(packed.data()), std::streamsize(packed.size()));
  };
  for (const Bytes& plain : shapes) {
    write(0, plain, legacytest::Shrink(plain));
    for (int factor = 1; factor <= 4; ++factor) write(std::uint8_t(factor), plain, legacytest::Reduce(plain, factor));
    for (unsigned v = 0; v < 4; ++v)
      write(std::uint8_t(5 + legacyfuzz::kMethods * v), plain, legacytest::Implode(plain, v & 1, v & 2));
  }
  return 0;
}
