// Lookup tables for the Shannon-Fano codes of imploded entries.
#pragma once
#include <cstdint>
#include <vector>

#include "core/DecodeResult.h"

namespace unzip {

// Longest code an implode tree can describe.
inline constexpr unsigned kMaxSfCodeBits = 16;

struct TSfEntry {
  enum : std::uint8_t { kSymbol, kLink, kInvalid = 99 };
  std::uint8_t op = kInvalid;
  // Symbol: the code length. Link: the lookup bits plus the sub-table's bits.
  std::uint8_t bits = 0;
  // Symbol: its value. Link: the sub-table's first entry.
  std::uint32_t value = 0;
};

// A two-level table: the first level is indexed by `rootBits` stream bits;
// longer codes continue in a sub-table of the entry their first bits select.
// Entries are indexed by the bits as they arrive, least significant first: the
// application note's codes, most significant bit first in the stream.
struct TSfTable {
  // Builds from `n` code lengths of 1 to 16 bits in symbol order. Lengths that
  // do not form a prefix code are a bad block; unused codes stay invalid.
  TDecodeResult Build(const std::uint8_t* lengths, unsigned n, unsigned lookupBits);

  unsigned rootBits = 0;
  std::vector<TSfEntry> entries;
};

}  // namespace unzip
