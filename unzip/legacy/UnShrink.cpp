#include "legacy/LegacyDecoders.h"

#include "legacy/LegacyIO.h"

namespace unzip {
namespace {

constexpr unsigned kInitialCodeBits = 9;
// Widest code the table holds: codes 0 to 8,191.
constexpr unsigned kMaxCodeBits = 13;
constexpr unsigned kCodeLimit = 1u << kMaxCodeBits;
// Code 256 announces a control sub-code: 1 widens the codes, 2 clears the
// table's leaves.
constexpr unsigned kControlCode = 256;
constexpr unsigned kWidenCodes = 1;
constexpr unsigned kPartialClear = 2;
constexpr unsigned kFirstStringCode = 257;
constexpr std::uint16_t kFreeEntry = 0xFFFF;
// Marks entries during a partial clear; codes need only 13 bits.
constexpr std::uint16_t kClearMark = 0x8000;

// Work-area layout: 8,193 prefix entries (the last one stays free and ends the
// search for a free code), the suffix bytes, then the string stack.
constexpr std::size_t kSuffixOffset = 16390;
constexpr std::size_t kStackOffset = 24585;
constexpr std::size_t kStackSize = 8192;
static_assert((kCodeLimit + 1) * sizeof(std::uint16_t) <= kSuffixOffset);
static_assert(kSuffixOffset + kCodeLimit <= kStackOffset);
static_assert(kStackOffset + kStackSize <= kWorkAreaSize);

unsigned FirstFreeFrom(const std::uint16_t* prefix, unsigned code) {
  while (prefix[code] != kFreeEntry) ++code;
  return code;
}

// Frees every string code that is no other code's prefix.
void PartialClear(std::uint16_t* prefix, unsigned& nextFree) {
  for (unsigned c = kFirstStringCode; c < nextFree; ++c) prefix[c] |= kClearMark;
  for (unsigned c = kFirstStringCode; c < nextFree; ++c) {
    const unsigned p = prefix[c] & ~kClearMark;
    // Only defined codes are unmarked; a free entry must stay free.
    if (p >= kFirstStringCode && p < nextFree) prefix[p] &= ~kClearMark;
  }
  for (unsigned c = kFirstStringCode; c < nextFree; ++c)
    if (prefix[c] & kClearMark) prefix[c] = kFreeEntry;
  nextFree = FirstFreeFrom(prefix, kFirstStringCode);
}

}  // namespace

TDecodeResult UnShrink(TDecodeState& s) {
  std::uint8_t* const work = s.workArea.get();
  auto* const prefix = reinterpret_cast<std::uint16_t*>(work);
  std::uint8_t* const suffix = work + kSuffixOffset;
  std::uint8_t* const stackEnd = work + kStackOffset + kStackSize;
  for (unsigned c = 0; c < kControlCode; ++c) {
    prefix[c] = 0;
    suffix[c] = std::uint8_t(c);
  }
  suffix[kControlCode] = 0;
  for (unsigned c = kControlCode; c <= kCodeLimit; ++c) prefix[c] = kFreeEntry;

  unsigned width = kInitialCodeBits;
  unsigned prev = ReadBits(s, width);
  if (s.endOfInput) {
    FinishOutput(s);
    return TDecodeResult::Ok;
  }
  std::uint8_t firstByte = std::uint8_t(prev);
  s.OutputByte(firstByte);
  unsigned nextFree = kFirstStringCode;

  for (;;) {
    unsigned code = ReadBits(s, width);
    while (code == kControlCode && !s.endOfInput) {
      const unsigned sub = ReadBits(s, width);
      if (sub == kWidenCodes) {
        if (++width > kMaxCodeBits) return TDecodeResult::BadData;
      } else if (sub == kPartialClear) {
        PartialClear(prefix, nextFree);
      }
      code = ReadBits(s, width);
    }
    if (s.endOfInput) break;

    // Unwind the string onto the stack; a code not yet defined stands for the
    // previous string plus its own first byte.
    const unsigned incoming = code;
    std::uint8_t* sp = stackEnd;
    for (;;) {
      if (sp == work + kStackOffset) return TDecodeResult::BadData;  // a chain that loops
      if (code < kFirstStringCode) {
        firstByte = suffix[code];
        *--sp = firstByte;
        break;
      }
      if (prefix[code] == kFreeEntry) {
        *--sp = firstByte;
        code = prev;
      } else {
        *--sp = suffix[code];
        code = prefix[code];
      }
    }
    OutputBytes(s, sp, std::uint32_t(stackEnd - sp));

    if (nextFree < kCodeLimit) {
      prefix[nextFree] = std::uint16_t(prev);
      suffix[nextFree] = firstByte;
      nextFree = FirstFreeFrom(prefix, nextFree + 1);
    }
    prev = incoming;
  }
  FinishOutput(s);
  return TDecodeResult::Ok;
}

}  // namespace unzip
