// The lookup tables of canonical prefix codes that both deflate decoders
// decode with.
#pragma once
#include <algorithm>
#include <array>
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
// Largest alphabet the builder takes (deflate's 320 lengths at most).
inline constexpr unsigned kMaxSymbols = 320;

// What the code lengths of a canonical code make: how many codes there are of
// each length, the longest, whether they fill the code space, and the verdict
// on the set. An incomplete set is bad data unless its longest code is one bit
// (then unused slots decode as invalid), an over-subscribed one a bad block;
// a set of no codes at all is sound, and every lookup in it invalid.
struct TCodeShape {
  unsigned counts[kMaxCodeBits + 1];
  unsigned maxLen;
  bool complete;
  TDecodeResult verdict;
};
TCodeShape ShapeOfCode(const std::uint8_t* lengths, unsigned count);

// The used symbols of `lengths` in canonical order (by length, then symbol
// number) into `sorted` (room for `count`).
void CanonicalOrder(const std::uint8_t* lengths, unsigned count, const TCodeShape& shape, std::uint16_t* sorted);

// The `len` low bits of `code` in reverse order, as deflate's bits arrive
// (a code's first bit lowest); codes have up to 16 bits.
inline unsigned ReverseBits(unsigned code, unsigned len) {
  static constexpr auto kReversedBytes = [] {
    std::array<std::uint8_t, 256> r{};
    for (unsigned i = 0; i < 256; ++i)
      for (unsigned b = 0; b < 8; ++b) r[i] |= static_cast<std::uint8_t>((i >> b & 1) << (7 - b));
    return r;
  }();
  return (unsigned{kReversedBytes[code & 0xFF]} << 8 | kReversedBytes[code >> 8 & 0xFF]) >> (16 - len);
}

// Fills `table` for a sound code of `shape`, its symbols in canonical order
// in `sorted`: a first level of `root` index bits, then deeper levels, each
// wide enough for the codes still to come under its prefix. `make(symbol,
// bits)` gives the entry of a symbol whose code takes `bits` at its level,
// `link(width, offset)` a first-level entry that leads to a deeper level of
// `width` index bits at `offset`; unused slots hold `invalid`. NoMemory when
// the levels outgrow `capacity` entries.
template <typename Entry, typename Make, typename Link>
TDecodeResult FillCodeTable(const TCodeShape& shape, const std::uint16_t* sorted, unsigned root, Entry* table,
                            unsigned capacity, Entry invalid, Make&& make, Link&& link) {
  const unsigned rootSize = 1u << root;
  if (rootSize > capacity) return TDecodeResult::NoMemory;
  if (!shape.complete) std::fill(table, table + rootSize, invalid);
  unsigned remaining[kMaxCodeBits + 1];
  std::copy(shape.counts, shape.counts + kMaxCodeBits + 1, remaining);
  unsigned next = rootSize;
  unsigned code = 0;
  unsigned idx = 0;
  unsigned curPrefix = rootSize;  // none yet
  unsigned curBase = 0;
  unsigned curBits = 0;
  for (unsigned len = 1; len <= shape.maxLen; ++len, code <<= 1) {
    for (unsigned k = 0; k < shape.counts[len]; ++k, --remaining[len], ++code) {
      const unsigned symbol = sorted[idx++];
      const unsigned rev = ReverseBits(code, len);
      if (len <= root) {
        const Entry entry = make(symbol, len);
        for (unsigned j = rev; j < rootSize; j += 1u << len) table[j] = entry;
        continue;
      }
      const unsigned prefix = rev & (rootSize - 1);
      if (prefix != curPrefix) {
        // Widen the deeper level while the codes still to come fill it.
        unsigned sub = len - root;
        int avail = 1 << sub;
        for (unsigned l = len; l < shape.maxLen; ++l) {
          avail -= static_cast<int>(remaining[l]);
          if (avail <= 0) break;
          ++sub;
          avail <<= 1;
        }
        if (next + (1u << sub) > capacity || next > 0xFFFF) return TDecodeResult::NoMemory;
        std::fill(table + next, table + next + (1u << sub), invalid);
        table[prefix] = link(sub, next);
        curPrefix = prefix;
        curBase = next;
        curBits = sub;
        next += 1u << sub;
      }
      const Entry entry = make(symbol, len - root);
      for (unsigned j = rev >> root; j < (1u << curBits); j += 1u << (len - root)) table[curBase + j] = entry;
    }
  }
  return TDecodeResult::Ok;
}

// Builds a multi-level table for the canonical code given by `lengths` (0 = the
// symbol is unused). `symbols[i]` gives symbol i's kind and value. The first
// level has `lookupBits` index bits, lowered to the longest code and raised to
// the shortest; `rootBits` returns the width used. The verdict is the code
// shape's.
TDecodeResult BuildDecodeTable(const std::uint8_t* lengths, unsigned count, const TDecodeEntry* symbols,
                               unsigned lookupBits, TDecodeEntry* table, unsigned capacity, unsigned& rootBits);

}  // namespace unzip
