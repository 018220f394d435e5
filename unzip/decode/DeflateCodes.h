// The codes of deflate blocks (RFC 1951, 3.2.5 to 3.2.7): the alphabets of
// deflate and Deflate64, the fixed codes' lengths, and a dynamic block's
// header (the code-length code, then the literal/length and distance code
// lengths it codes); and the bit buffer's rules. Both deflate decoders take
// them from here, each with its own bit buffer and tables, so that a stream
// is good or bad alike on both.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/DecodeResult.h"
#include "decode/DecodeTable.h"

namespace unzip {

inline constexpr unsigned kMaxLitCodes = 286;     // HLIT + 257 may not exceed this
inline constexpr unsigned kMaxDistCodes = 30;     // nor HDIST + 1 this (deflate)
inline constexpr unsigned kMaxDistCodes64 = 32;   // (Deflate64)
inline constexpr unsigned kLengthSymbols = 19;    // the code-length alphabet
inline constexpr unsigned kEndOfBlock = 256;
inline constexpr unsigned kLitSymbols = 288;   // literal/length alphabet, 286 and 287 unused
inline constexpr unsigned kDistSymbols = 32;   // distance alphabet, 30 and 31 unused

// Deflate64 (method 9) is deflate with a 64 KiB window, length code 285 taking
// 16 extra bits and distance codes 30 and 31; one decoder serves both.
enum class TInflateVariant { Deflate, Deflate64 };

// The deflate alphabets as BuildDecodeTable takes them: each symbol's kind and
// value (literal, length or distance base with its extra bits, end of block).
struct TDeflateAlphabets {
  TDecodeEntry literals[kLitSymbols];
  TDecodeEntry distances[kDistSymbols];
  TDecodeEntry lengths[kLengthSymbols];  // the code-length code's symbols, as themselves
};
const TDeflateAlphabets& DeflateAlphabets(TInflateVariant variant = TInflateVariant::Deflate);

// The fixed codes' lengths: literals 0-143 8 bits, 144-255 9, lengths
// 256-279 7, 280-287 8; every distance 5.
inline void FixedCodeLengths(std::uint8_t (&lit)[kLitSymbols], std::uint8_t (&dist)[kDistSymbols]) {
  std::fill(lit, lit + 144, 8);
  std::fill(lit + 144, lit + 256, 9);
  std::fill(lit + 256, lit + 280, 7);
  std::fill(lit + 280, lit + kLitSymbols, 8);
  std::fill(dist, dist + kDistSymbols, 5);
}

// Bits one match takes at most: length code and extra bits, distance code
// and extra bits (deflate's).
inline constexpr unsigned kBitsPerMatch = 15 + 5 + 15 + 13;
// Bits a stream may read past the entry's end before it counts as bad data;
// a sound stream reads none, so this only stops garbage from spinning on.
inline constexpr unsigned kMaxOverrunBits = 256;

// Eight input bytes for a branch-free refill of the bit buffer.
inline std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);  // little-endian on every target of this system
  return v;
}

// The bit buffer as both decoders keep it: `nbits` unread bits in `bits`, the
// next one lowest. `refill` tops it up past 56 bits; false once the stream has
// run too far past its end.
template <typename Refill>
struct TBitReader {
  std::uint64_t& bits;
  unsigned& nbits;
  Refill refill;

  bool Ensure(unsigned n) { return nbits >= n || refill(); }
  unsigned Peek(unsigned n) const { return static_cast<unsigned>(bits & ((1u << n) - 1)); }
  unsigned Take(unsigned n) {
    const unsigned v = Peek(n);
    bits >>= n;
    nbits -= n;
    return v;
  }
};
template <typename Refill>
TBitReader(std::uint64_t&, unsigned&, Refill) -> TBitReader<Refill>;

namespace header {

// HLIT, HDIST and HCLEN: 5, 5 and 4 bits, counts above 257, 1 and 4.
constexpr unsigned kLitCountBits = 5, kDistCountBits = 5, kLengthCountBits = 4;
constexpr unsigned kMinLitCodes = 257, kMinDistCodes = 1, kMinLengthCodes = 4;
// Each code-length code length takes 3 bits, so its codes are 7 bits at most,
// and one lookup of that width resolves any of them.
constexpr unsigned kLengthLengthBits = 3;
constexpr unsigned kLengthsBits = 7;
constexpr unsigned kLengthsTableSize = 1u << kLengthsBits;
// Order in which the code-length code's lengths are stored.
constexpr std::uint8_t kLengthsOrder[kLengthSymbols] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
// Code-length symbols from 16 on repeat a length: 16 the previous one 3 to 6
// times, 17 a zero 3 to 10 times, 18 a zero 11 to 138 times.
constexpr unsigned kRepeatPrevious = 16;
struct TRepeat {
  std::uint8_t base;
  std::uint8_t extraBits;
};
constexpr TRepeat kRepeats[] = {{3, 2}, {3, 3}, {11, 7}};
// Bits one code-length symbol takes at most: its code and the longest count.
constexpr unsigned kBitsPerLengthSymbol = kLengthsBits + kRepeats[2].extraBits;

}  // namespace header

// Reads a dynamic block's header from `in` (a TBitReader) and hands the code
// lengths to `build(litLengths, nlit, distLengths, ndist)`, which makes the
// decoder's tables and returns BuildDecodeTable's result. Returns Ok once
// they are built, else the verdict on the header.
template <typename Bits, typename Build>
TDecodeResult ReadDynamicHeader(Bits in, unsigned maxDistCodes, Build&& build) {
  using namespace header;
  if (!in.Ensure(kLitCountBits + kDistCountBits + kLengthCountBits)) return TDecodeResult::BadData;
  const unsigned nlit = in.Take(kLitCountBits) + kMinLitCodes;
  const unsigned ndist = in.Take(kDistCountBits) + kMinDistCodes;
  const unsigned nlen = in.Take(kLengthCountBits) + kMinLengthCodes;
  if (nlit > kMaxLitCodes || ndist > maxDistCodes) return TDecodeResult::BadData;

  std::uint8_t lengths[kMaxLitCodes + kMaxDistCodes64] = {};
  for (unsigned i = 0; i < nlen; ++i) {
    if (!in.Ensure(kLengthLengthBits)) return TDecodeResult::BadData;
    lengths[kLengthsOrder[i]] = static_cast<std::uint8_t>(in.Take(kLengthLengthBits));
  }
  TDecodeEntry code[kLengthsTableSize];
  unsigned codeBits = 0;
  const TDecodeResult r = BuildDecodeTable(lengths, kLengthSymbols, DeflateAlphabets().lengths, kLengthsBits, code,
                                           kLengthsTableSize, codeBits);
  if (r != TDecodeResult::Ok) return r;

  const unsigned total = nlit + ndist;
  for (unsigned i = 0; i < total;) {
    if (!in.Ensure(kBitsPerLengthSymbol)) return TDecodeResult::BadData;
    const TDecodeEntry e = code[in.Peek(codeBits)];
    if (e.kind != kKindLiteral) return TDecodeResult::BadData;
    in.Take(e.bits);
    if (e.value < kRepeatPrevious) {
      lengths[i++] = static_cast<std::uint8_t>(e.value);
      continue;
    }
    if (e.value == kRepeatPrevious && i == 0) return TDecodeResult::BadData;
    const std::uint8_t value = e.value == kRepeatPrevious ? lengths[i - 1] : 0;
    const TRepeat rep = kRepeats[e.value - kRepeatPrevious];
    const unsigned repeat = rep.base + in.Take(rep.extraBits);
    if (i + repeat > total) return TDecodeResult::BadData;
    std::fill(lengths + i, lengths + i + repeat, value);
    i += repeat;
  }
  if (lengths[kEndOfBlock] == 0) return TDecodeResult::BadData;  // the block could never end
  return build(lengths, nlit, lengths + nlit, ndist);
}

}  // namespace unzip
