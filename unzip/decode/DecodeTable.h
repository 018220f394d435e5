// The lookup tables of canonical prefix codes that both deflate decoders
// decode with.
#pragma once
#include <cstdint>

#include "core/DecodeResult.h"

namespace unzip {

// One lookup-table entry: what the code means, how many bits it takes at this
// level, and a value (literal, base, or the offset of a deeper level).
struct TDecodeEntry {
  std::uint8_t kind;
  std::uint8_t bits;
  std::uint16_t value;
};

// Entry kinds. A base carries its extra-bit count (up to Deflate64's 16) in the
// low five bits, a link the index width of the level it leads to.
inline constexpr std::uint8_t kKindLiteral = 0x00;
inline constexpr std::uint8_t kKindBase = 0x20;
inline constexpr std::uint8_t kKindLink = 0x40;
inline constexpr std::uint8_t kKindEndOfBlock = 0x80;
inline constexpr std::uint8_t kKindInvalid = 0x81;
inline constexpr std::uint8_t kKindLowBits = 0x1F;

// Longest code the builder accepts.
inline constexpr unsigned kMaxCodeBits = 16;

// Builds a multi-level table for the canonical code given by `lengths` (0 = the
// symbol is unused). `symbols[i]` gives symbol i's kind and value. The first
// level has `lookupBits` index bits, lowered to the longest code and raised to
// the shortest; `rootBits` returns the width used. A set whose longest code is
// one bit may be incomplete; unused slots decode as invalid. An incomplete
// code is bad data, an over-subscribed one a bad block.
TDecodeResult BuildDecodeTable(const std::uint8_t* lengths, unsigned count, const TDecodeEntry* symbols,
                               unsigned lookupBits, TDecodeEntry* table, unsigned capacity, unsigned& rootBits);

}  // namespace unzip
