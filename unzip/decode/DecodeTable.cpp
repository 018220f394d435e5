#include "decode/DecodeTable.h"

#include <algorithm>

namespace unzip {
namespace {

constexpr TDecodeEntry kInvalidEntry{kKindInvalid, 0, 0};
// Largest alphabet the builder takes (deflate's 320 lengths at most).
constexpr unsigned kMaxSymbols = 320;

unsigned Reverse(unsigned code, unsigned len) {
  unsigned r = 0;
  for (unsigned i = 0; i < len; ++i) {
    r = (r << 1) | (code & 1);
    code >>= 1;
  }
  return r;
}

}  // namespace

TDecodeResult BuildDecodeTable(const std::uint8_t* lengths, unsigned count, const TDecodeEntry* symbols,
                               unsigned lookupBits, TDecodeEntry* table, unsigned capacity, unsigned& rootBits) {
  unsigned counts[kMaxCodeBits + 1] = {};
  for (unsigned i = 0; i < count; ++i) ++counts[lengths[i]];
  counts[0] = 0;
  unsigned maxLen = kMaxCodeBits;
  while (maxLen > 0 && counts[maxLen] == 0) --maxLen;
  if (maxLen == 0) {  // no codes at all: every lookup is invalid
    rootBits = 1;
    if (capacity < 2) return TDecodeResult::NoMemory;
    table[0] = table[1] = kInvalidEntry;
    return TDecodeResult::Ok;
  }
  unsigned minLen = 1;
  while (counts[minLen] == 0) ++minLen;
  int left = 1;
  for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
    left = (left << 1) - static_cast<int>(counts[len]);
    if (left < 0) return TDecodeResult::BadBlock;
  }
  if (left > 0 && maxLen != 1) return TDecodeResult::BadData;

  const unsigned root = std::clamp(lookupBits, minLen, maxLen);
  const unsigned rootSize = 1u << root;
  if (rootSize > capacity) return TDecodeResult::NoMemory;

  // Symbols in canonical order: by length, then by symbol number.
  unsigned offsets[kMaxCodeBits + 2] = {};
  for (unsigned len = 1; len <= maxLen; ++len) offsets[len + 1] = offsets[len] + counts[len];
  std::uint16_t sorted[kMaxSymbols];
  if (count > kMaxSymbols) return TDecodeResult::NoMemory;
  for (unsigned i = 0; i < count; ++i)
    if (lengths[i] != 0) sorted[offsets[lengths[i]]++] = static_cast<std::uint16_t>(i);

  std::fill(table, table + rootSize, kInvalidEntry);
  unsigned next = rootSize;
  unsigned remaining[kMaxCodeBits + 1];
  std::copy(counts, counts + kMaxCodeBits + 1, remaining);
  unsigned code = 0;
  unsigned idx = 0;
  unsigned curPrefix = rootSize;  // none yet
  unsigned curBase = 0;
  unsigned curBits = 0;
  for (unsigned len = 1; len <= maxLen; ++len, code <<= 1) {
    for (unsigned k = 0; k < counts[len]; ++k, ++code, --remaining[len]) {
      TDecodeEntry entry = symbols[sorted[idx++]];
      const unsigned rev = Reverse(code, len);
      if (len <= root) {
        entry.bits = static_cast<std::uint8_t>(len);
        for (unsigned j = rev; j < rootSize; j += 1u << len) table[j] = entry;
        continue;
      }
      const unsigned prefix = rev & (rootSize - 1);
      if (prefix != curPrefix) {
        // Widen the deeper level while the codes still to come fill it.
        unsigned sub = len - root;
        int avail = 1 << sub;
        for (unsigned l = len; l < maxLen; ++l) {
          avail -= static_cast<int>(remaining[l]);
          if (avail <= 0) break;
          ++sub;
          avail <<= 1;
        }
        if (next + (1u << sub) > capacity || next > 0xFFFF) return TDecodeResult::NoMemory;
        std::fill(table + next, table + next + (1u << sub), kInvalidEntry);
        table[prefix] = {static_cast<std::uint8_t>(kKindLink | sub), static_cast<std::uint8_t>(root),
                         static_cast<std::uint16_t>(next)};
        curPrefix = prefix;
        curBase = next;
        curBits = sub;
        next += 1u << sub;
      }
      entry.bits = static_cast<std::uint8_t>(len - root);
      for (unsigned j = rev >> root; j < (1u << curBits); j += 1u << (len - root)) table[curBase + j] = entry;
    }
  }
  rootBits = root;
  return TDecodeResult::Ok;
}

}  // namespace unzip
