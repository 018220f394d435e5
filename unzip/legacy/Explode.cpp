#include "legacy/LegacyDecoders.h"

#include "legacy/LegacyIO.h"
#include "legacy/ShannonFano.h"

namespace unzip {
namespace {

constexpr unsigned kLiteralCodes = 256;
constexpr unsigned kLengthCodes = 64;
constexpr unsigned kDistanceCodes = 64;
// First-level lookup bits per tree; large entries get a wider distance table.
constexpr unsigned kLiteralLookup = 9;
constexpr unsigned kLengthLookup = 7;
constexpr unsigned kDistanceLookup = 7;
constexpr unsigned kWideDistanceLookup = 8;
constexpr std::int64_t kWideDistanceThreshold = 200000;
// Low distance bits stored verbatim: 7 with the 8 KiB dictionary, else 6.
constexpr unsigned kLowBits8k = 7;
constexpr unsigned kLowBits4k = 6;
// Matches are at least 3 bytes long when literals are coded, else 2.
constexpr unsigned kMinMatchCoded = 3;
constexpr unsigned kMinMatchRaw = 2;
// The last length code takes one more byte that extends the length.
constexpr unsigned kLongLengthCode = kLengthCodes - 1;
constexpr unsigned kByteBits = 8;

// A tree description: a byte holding the count of following bytes minus one;
// each following byte repeats (high nibble + 1) times the length (low nibble + 1).
bool ReadLengths(TDecodeState& s, std::uint8_t* lengths, unsigned want) {
  std::uint8_t b;
  if (!s.ReadByte(b)) return false;
  unsigned got = 0;
  for (unsigned bytes = b + 1u; bytes > 0; --bytes) {
    if (!s.ReadByte(b)) return false;
    const unsigned count = (b >> 4) + 1u;
    if (got + count > want) return false;
    for (unsigned i = 0; i < count; ++i) lengths[got++] = std::uint8_t((b & 0x0F) + 1);
  }
  return got == want;
}

// Implode's own bit buffer. Past the end of the input it repeats the last
// byte; `repeated` counts those bytes so that reading into them is noticed.
class TExplodeBits {
 public:
  explicit TExplodeBits(TDecodeState& s) : s_(s) {}

  void Need(unsigned k) {
    while (count_ < k) {
      std::uint8_t b;
      if (!s_.ReadByte(b)) {
        b = std::uint8_t(s_.lastByte);
        ++repeated_;
      }
      buf_ |= std::uint32_t(b) << count_;
      count_ += kByteBits;
    }
  }
  unsigned Peek() const { return buf_; }
  void Drop(unsigned k) {
    buf_ >>= k;
    count_ -= k;
  }
  unsigned Get(unsigned k) {
    Need(k);
    const unsigned v = buf_ & ((1u << k) - 1);
    Drop(k);
    return v;
  }
  // True once bits from beyond the end of the input have been consumed.
  bool Overrun() const { return repeated_ * kByteBits > count_; }

  // The next symbol of `t`, or -1 for an invalid code.
  int Decode(const TSfTable& t) {
    Need(t.rootBits);
    const TSfEntry* e = &t.entries[buf_ & ((1u << t.rootBits) - 1)];
    if (e->op == TSfEntry::kLink) {
      Need(e->bits);
      e = &t.entries[e->value + ((buf_ >> t.rootBits) & ((1u << (e->bits - t.rootBits)) - 1))];
    }
    if (e->op != TSfEntry::kSymbol) return -1;
    Drop(e->bits);
    return int(e->value);
  }

 private:
  TDecodeState& s_;
  std::uint32_t buf_ = 0;
  unsigned count_ = 0;
  unsigned repeated_ = 0;
};

TDecodeResult ReadTree(TDecodeState& s, TSfTable& t, unsigned codes, unsigned lookup) {
  std::uint8_t lengths[kLiteralCodes];
  if (!ReadLengths(s, lengths, codes)) return TDecodeResult::BadBlock;
  return t.Build(lengths, codes, lookup);
}

}  // namespace

TDecodeResult Explode(TDecodeState& s, std::uint16_t flags) {
  const bool literalTree = flags & kImplodeLiteralTree;
  const unsigned lowBits = (flags & kImplode8kDictionary) ? kLowBits8k : kLowBits4k;
  const unsigned minMatch = literalTree ? kMinMatchCoded : kMinMatchRaw;
  const unsigned distanceLookup = s.compressedLeft > kWideDistanceThreshold ? kWideDistanceLookup : kDistanceLookup;

  TSfTable literals, lengths, distances;
  TDecodeResult r = TDecodeResult::Ok;
  if (literalTree && (r = ReadTree(s, literals, kLiteralCodes, kLiteralLookup)) != TDecodeResult::Ok) return r;
  if ((r = ReadTree(s, lengths, kLengthCodes, kLengthLookup)) != TDecodeResult::Ok) return r;
  if ((r = ReadTree(s, distances, kDistanceCodes, distanceLookup)) != TDecodeResult::Ok) return r;

  TLegacyWindow window(s, kWindowSize);
  TExplodeBits bits(s);
  std::int64_t left = s.uncompressedSize;
  while (left > 0) {
    if (bits.Get(1)) {
      const int lit = literalTree ? bits.Decode(literals) : int(bits.Get(kByteBits));
      if (lit < 0) return TDecodeResult::BadData;
      window.Put(std::uint8_t(lit));
      --left;
    } else {
      const unsigned low = bits.Get(lowBits);
      const int high = bits.Decode(distances);
      if (high < 0) return TDecodeResult::BadData;
      int len = bits.Decode(lengths);
      if (len < 0) return TDecodeResult::BadData;
      if (unsigned(len) == kLongLengthCode) len += int(bits.Get(kByteBits));
      const std::uint32_t count = std::uint32_t(std::min<std::int64_t>(len + minMatch, left));
      window.Copy(((unsigned(high) << lowBits) | low) + 1, count);
      left -= count;
    }
    if (bits.Overrun()) return TDecodeResult::BadData;
  }
  window.Finish();
  return s.compressedLeft > 0 ? TDecodeResult::DataLeft : TDecodeResult::Ok;
}

}  // namespace unzip
