// The fuzz input: a selector byte, the declared uncompressed size, then the
// compressed data. Shared by the fuzz target and its seed generator.
#pragma once
#include <cstdint>

namespace legacyfuzz {

// Selector: method 1 + selector % 6; for method 6, (selector / 6) % 4 gives
// the dictionary (bit 0) and literal-tree (bit 1) choices.
inline constexpr unsigned kMethods = 6;
inline constexpr unsigned kHeaderSize = 4;
// Declared sizes are capped so that one input stays quick.
inline constexpr std::uint32_t kMaxDeclaredSize = 1u << 20;

inline int MethodOf(std::uint8_t selector) { return 1 + selector % kMethods; }
inline std::uint16_t ImplodeFlagsOf(std::uint8_t selector) {
  const unsigned v = (selector / kMethods) % 4;
  return std::uint16_t(((v & 1) ? 0x02 : 0) | ((v & 2) ? 0x04 : 0));
}
inline std::int32_t DeclaredSize(const std::uint8_t* header) {
  const std::uint32_t v = header[1] | (header[2] << 8) | (std::uint32_t(header[3]) << 16);
  return std::int32_t(v < kMaxDeclaredSize ? v : kMaxDeclaredSize);
}

}  // namespace legacyfuzz
