#include "Crc32.h"

#include <array>
#include <cstring>

namespace unzip {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
// Bytes folded per step: eight tables, each the previous one advanced by a byte.
constexpr int kSlices = 8;

using Tables = std::array<std::array<std::uint32_t, 256>, kSlices>;

constexpr Tables MakeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][i] = c;
  }
  for (int s = 1; s < kSlices; ++s)
    for (std::uint32_t i = 0; i < 256; ++i) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

const std::uint32_t* const kCrcTable = kTables[0].data();

std::uint32_t UpdateCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n) {
  while (n >= kSlices) {
    std::uint32_t lo;
    std::uint32_t hi;
    std::memcpy(&lo, data, 4);
    std::memcpy(&hi, data + 4, 4);
    // The tables assume little-endian loads, which every target of this system has.
    lo ^= crc;
    crc = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
          kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
          kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    data += kSlices;
    n -= kSlices;
  }
  while (n-- > 0) crc = Crc32Byte(crc, *data++);
  return crc;
}

}  // namespace unzip
