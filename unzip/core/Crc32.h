// CRC-32 of the zip format (reflected polynomial 0xEDB88320). The register is
// preset to 0xFFFFFFFF by the caller and complemented at the end.
#pragma once
#include <cstddef>
#include <cstdint>

namespace unzip {

inline constexpr std::uint32_t kCrcPreset = 0xFFFFFFFFu;

// The 256-entry table of the standard polynomial.
extern const std::uint32_t* const kCrcTable;

// Updates the register over `n` bytes.
std::uint32_t UpdateCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n);

// One byte, for the key schedule of the traditional encryption.
inline std::uint32_t Crc32Byte(std::uint32_t crc, std::uint8_t b) {
  return kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

}  // namespace unzip
