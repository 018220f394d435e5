// Method 6 (imploded): a sliding dictionary with Shannon-Fano coded literals,
// lengths and distances.
#pragma once
#include <cstdint>

#include "core/DecodeState.h"

namespace unzip {

// General-purpose flag bits of an imploded entry.
inline constexpr std::uint16_t kImplode8kDictionary = 0x0002;
inline constexpr std::uint16_t kImplodeLiteralTree = 0x0004;

enum TExplodeResult : int {
  kExplodeOk = 0,
  kExplodeInvalidCode = 1,   // also: the codes run past the end of the input
  kExplodeOutOfMemory = 3,   // a decode table could not be allocated
  kExplodeBadTree = 4,
  kExplodeDataLeft = 5,      // compressed bytes remain after the last byte
};

// Decodes the current entry's uncompressed size with the entry's general-purpose
// `flags`. Flushes the output on kExplodeOk and kExplodeDataLeft; stops without
// flushing on the others.
TExplodeResult Explode(TDecodeState& s, std::uint16_t flags);

}  // namespace unzip
