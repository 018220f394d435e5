#include "legacy/ShannonFano.h"

#include <algorithm>
#include <new>

namespace unzip {
namespace {

unsigned Reverse(unsigned code, unsigned bits) {
  unsigned r = 0;
  for (unsigned i = 0; i < bits; ++i, code >>= 1) r = (r << 1) | (code & 1);
  return r;
}

}  // namespace

TDecodeResult TSfTable::Build(const std::uint8_t* lengths, unsigned n, unsigned lookupBits) try {
  // Codes are handed out from the longest length down, and within a length from
  // the highest symbol down, each a 16-bit left-aligned value one step of its
  // length above the previous one. This order already yields the complemented
  // canonical codes that imploders write, so the codes are used as they come:
  // complementing them again would turn every code into another symbol's.
  std::vector<std::uint32_t> stream(n);
  unsigned minLen = kMaxSfCodeBits, maxLen = 1;
  std::uint32_t code = 0, step = 0;
  for (unsigned len = kMaxSfCodeBits; len >= 1; --len) {
    for (unsigned sym = n; sym-- > 0;) {
      if (lengths[sym] != len) continue;
      code += step;
      if (step != (1u << (kMaxSfCodeBits - len))) {
        step = 1u << (kMaxSfCodeBits - len);
        // A shorter code not aligned to its length would be a prefix of a
        // longer one.
        if (code & (step - 1)) return TDecodeResult::BadBlock;
      }
      if (code + step > (1u << kMaxSfCodeBits)) return TDecodeResult::BadBlock;
      stream[sym] = Reverse(code >> (kMaxSfCodeBits - len), len);
      minLen = std::min(minLen, len);
      maxLen = std::max(maxLen, len);
    }
  }
  for (unsigned sym = 0; sym < n; ++sym)
    if (lengths[sym] < 1 || lengths[sym] > kMaxSfCodeBits) return TDecodeResult::BadBlock;

  rootBits = std::clamp(lookupBits, minLen, maxLen);
  const unsigned rootSize = 1u << rootBits;
  entries.assign(rootSize, TSfEntry{});
  // First level: short codes fill every entry they prefix; long codes record
  // the sub-table width their first bits need.
  for (unsigned sym = 0; sym < n; ++sym) {
    const unsigned len = lengths[sym];
    if (len <= rootBits) {
      for (unsigned i = stream[sym]; i < rootSize; i += 1u << len) {
        if (entries[i].op != TSfEntry::kInvalid) return TDecodeResult::BadBlock;
        entries[i] = {TSfEntry::kSymbol, std::uint8_t(len), sym};
      }
    } else {
      TSfEntry& link = entries[stream[sym] & (rootSize - 1)];
      if (link.op == TSfEntry::kSymbol) return TDecodeResult::BadBlock;
      link.op = TSfEntry::kLink;
      link.bits = std::max(link.bits, std::uint8_t(len));
    }
  }
  for (unsigned i = 0; i < rootSize; ++i) {
    if (entries[i].op != TSfEntry::kLink) continue;
    entries[i].value = std::uint32_t(entries.size());
    entries.resize(entries.size() + (std::size_t(1) << (entries[i].bits - rootBits)));
  }
  for (unsigned sym = 0; sym < n; ++sym) {
    const unsigned len = lengths[sym];
    if (len <= rootBits) continue;
    const TSfEntry link = entries[stream[sym] & (rootSize - 1)];
    const unsigned subSize = 1u << (link.bits - rootBits);
    if (link.op != TSfEntry::kLink) return TDecodeResult::BadBlock;
    for (unsigned i = stream[sym] >> rootBits; i < subSize; i += 1u << (len - rootBits)) {
      TSfEntry& e = entries[link.value + i];
      if (e.op != TSfEntry::kInvalid) return TDecodeResult::BadBlock;
      e = {TSfEntry::kSymbol, std::uint8_t(len), sym};
    }
  }
  return TDecodeResult::Ok;
} catch (const std::bad_alloc&) {
  entries.clear();
  return TDecodeResult::NoMemory;
}

}  // namespace unzip
