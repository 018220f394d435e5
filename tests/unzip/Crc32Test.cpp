// The CRC-32 against zlib's at every length and alignment around the widths
// the folding path works in, and split at every point of a buffer.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "core/Crc32.h"

namespace unzip {
namespace {

std::uint32_t Whole(const std::uint8_t* p, std::size_t n) { return ~UpdateCrc32(kCrcPreset, p, n); }

TEST(Crc32, MatchesZlibAtEveryLengthAndAlignment) {
  std::mt19937 rng(3);
  std::vector<std::uint8_t> data(70000);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  for (std::size_t offset = 0; offset < 16; ++offset)
    for (std::size_t n = 0; n <= 600; ++n)
      ASSERT_EQ(Whole(data.data() + offset, n), crc32(0, data.data() + offset, static_cast<uInt>(n)))
          << "offset " << offset << " length " << n;
  EXPECT_EQ(Whole(data.data(), data.size()), crc32(0, data.data(), static_cast<uInt>(data.size())));
}

TEST(Crc32, ContinuesAcrossPieces) {
  std::vector<std::uint8_t> data(4096);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + (i >> 5));
  const std::uint32_t expected = crc32(0, data.data(), static_cast<uInt>(data.size()));
  for (std::size_t cut = 0; cut <= data.size(); cut += 61) {
    const std::uint32_t first = UpdateCrc32(kCrcPreset, data.data(), cut);
    EXPECT_EQ(~UpdateCrc32(first, data.data() + cut, data.size() - cut), expected) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace unzip
