#include "legacy/LegacyDecoders.h"

#include <array>

#include "legacy/LegacyIO.h"

namespace unzip {
namespace {

constexpr std::uint32_t kReduceWindowSize = 16384;
// The follower sets follow the window: 64 bytes for each byte value.
constexpr std::size_t kFollowerOffset = kReduceWindowSize;
constexpr unsigned kFollowerSlot = 64;
static_assert(kFollowerOffset + 256 * kFollowerSlot <= kWorkAreaSize);
constexpr unsigned kSetSizeBits = 6;
constexpr unsigned kByteBits = 8;
// The escape symbol; followed by 0 it stands for itself.
constexpr unsigned kDle = 144;
constexpr unsigned kMinMatch = 3;
constexpr int kMinFactor = 1;
constexpr int kMaxFactor = 4;

// Bits of an index into a follower set of n entries (n from 1 to 63).
constexpr std::array<std::uint8_t, kFollowerSlot> kIndexBits = [] {
  std::array<std::uint8_t, kFollowerSlot> bits{};
  for (unsigned n = 1; n < kFollowerSlot; ++n) {
    unsigned b = 1;
    while ((1u << b) < n) ++b;
    bits[n] = std::uint8_t(b);
  }
  return bits;
}();

enum class TReduceState { Literal, Escape, LongLength, Distance };

}  // namespace

TDecodeResult UnReduce(TDecodeState& s, int factor) {
  if (factor < kMinFactor || factor > kMaxFactor) return TDecodeResult::BadData;
  // The first symbol after the escape holds the length in its low bits (all
  // ones: a further length byte follows) and the distance's high bits above.
  const unsigned lengthMask = 0xFFu >> factor;
  const unsigned distShift = 8u - unsigned(factor);
  const unsigned distHighMask = (1u << factor) - 1;

  std::uint8_t* const followers = s.workArea.get() + kFollowerOffset;
  std::array<std::uint8_t, 256> setSize;
  for (int v = 255; v >= 0; --v) {
    const unsigned n = ReadBits(s, kSetSizeBits);
    setSize[v] = std::uint8_t(n);
    for (unsigned i = 0; i < n; ++i) followers[v * kFollowerSlot + i] = std::uint8_t(ReadBits(s, kByteBits));
  }

  TLegacyWindow window(s, kReduceWindowSize);
  std::int64_t left = s.uncompressedSize;
  unsigned last = 0, len = 0, lead = 0;
  TReduceState state = TReduceState::Literal;
  while (left > 0) {
    const unsigned n = setSize[last];
    unsigned sym;
    if (n == 0 || ReadBits(s, 1))
      sym = ReadBits(s, kByteBits);
    else
      sym = followers[last * kFollowerSlot + ReadBits(s, kIndexBits[n])];
    // Bits from beyond the end of the input: the data is cut short.
    if (s.endOfInput) return TDecodeResult::BadData;
    last = sym;

    switch (state) {
      case TReduceState::Literal:
        if (sym == kDle) {
          state = TReduceState::Escape;
        } else {
          window.Put(std::uint8_t(sym));
          --left;
        }
        break;
      case TReduceState::Escape:
        if (sym == 0) {
          window.Put(std::uint8_t(kDle));
          --left;
          state = TReduceState::Literal;
        } else {
          lead = sym;
          len = sym & lengthMask;
          state = len == lengthMask ? TReduceState::LongLength : TReduceState::Distance;
        }
        break;
      case TReduceState::LongLength:
        len += sym;
        state = TReduceState::Distance;
        break;
      case TReduceState::Distance: {
        const std::uint32_t dist = ((lead >> distShift) & distHighMask) * 256 + sym + 1;
        const std::uint32_t count = std::uint32_t(std::min<std::int64_t>(len + kMinMatch, left));
        window.Copy(dist, count);
        left -= count;
        state = TReduceState::Literal;
        break;
      }
    }
  }
  window.Finish();
  return TDecodeResult::Ok;
}

}  // namespace unzip
