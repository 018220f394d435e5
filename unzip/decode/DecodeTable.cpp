#include "decode/DecodeTable.h"

#include <algorithm>

namespace unzip {
namespace {

constexpr TDecodeEntry kInvalidEntry{kKindInvalid, 0, 0};

}  // namespace

TCodeShape ShapeOfCode(const std::uint8_t* lengths, unsigned count) {
  TCodeShape shape{};
  for (unsigned i = 0; i < count; ++i) ++shape.counts[lengths[i]];
  shape.counts[0] = 0;
  shape.maxLen = kMaxCodeBits;
  while (shape.maxLen > 0 && shape.counts[shape.maxLen] == 0) --shape.maxLen;
  int left = 1;
  for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
    left = (left << 1) - static_cast<int>(shape.counts[len]);
    if (left < 0) {
      shape.verdict = TDecodeResult::BadBlock;
      return shape;
    }
  }
  shape.complete = left == 0;
  shape.verdict = left > 0 && shape.maxLen > 1 ? TDecodeResult::BadData : TDecodeResult::Ok;
  return shape;
}

void CanonicalOrder(const std::uint8_t* lengths, unsigned count, const TCodeShape& shape, std::uint16_t* sorted) {
  unsigned offsets[kMaxCodeBits + 2] = {};
  for (unsigned len = 1; len <= shape.maxLen; ++len) offsets[len + 1] = offsets[len] + shape.counts[len];
  for (unsigned i = 0; i < count; ++i)
    if (lengths[i] != 0) sorted[offsets[lengths[i]]++] = static_cast<std::uint16_t>(i);
}

TDecodeResult BuildDecodeTable(const std::uint8_t* lengths, unsigned count, const TDecodeEntry* symbols,
                               unsigned lookupBits, TDecodeEntry* table, unsigned capacity, unsigned& rootBits) {
  const TCodeShape shape = ShapeOfCode(lengths, count);
  if (shape.verdict != TDecodeResult::Ok) return shape.verdict;
  const unsigned* const counts = shape.counts;
  const unsigned maxLen = shape.maxLen;
  if (maxLen == 0) {  // no codes at all: every lookup is invalid
    rootBits = 1;
    if (capacity < 2) return TDecodeResult::NoMemory;
    table[0] = table[1] = kInvalidEntry;
    return TDecodeResult::Ok;
  }
  unsigned minLen = 1;
  while (counts[minLen] == 0) ++minLen;
  const unsigned root = std::clamp(lookupBits, minLen, maxLen);
  std::uint16_t sorted[kMaxSymbols];
  if (count > kMaxSymbols) return TDecodeResult::NoMemory;
  CanonicalOrder(lengths, count, shape, sorted);
  const TDecodeResult r = FillCodeTable(
      shape, sorted, root, table, capacity, kInvalidEntry,
      [&](unsigned symbol, unsigned bits) {
        TDecodeEntry entry = symbols[symbol];
        entry.bits = static_cast<std::uint8_t>(bits);
        return entry;
      },
      [&](unsigned width, unsigned offset) {
        return TDecodeEntry{static_cast<std::uint8_t>(kKindLink | width), static_cast<std::uint8_t>(root),
                            static_cast<std::uint16_t>(offset)};
      });
  if (r == TDecodeResult::Ok) rootBits = root;
  return r;
}

}  // namespace unzip
