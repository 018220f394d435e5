#include "decode/DeflateCodes.h"

namespace unzip {
namespace {

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Distance codes 30 and 31 exist in Deflate64 only.
constexpr std::uint16_t kDistBase[32] = {1,     2,     3,     4,     5,     7,     9,    13,   17,   25,   33,
                                         49,    65,    97,    129,   193,   257,   385,  513,  769,  1025, 1537,
                                         2049,  3073,  4097,  6145,  8193,  12289, 16385, 24577, 32769, 49153};
constexpr std::uint8_t kDistExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                                         7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
// Deflate64's length code 285: base 3 with 16 extra bits instead of 258.
constexpr unsigned kLastLengthSymbol = 285;
constexpr std::uint16_t kLastLengthBase64 = 3;
constexpr std::uint8_t kLastLengthExtra64 = 16;

constexpr TDeflateAlphabets MakeAlphabets(TInflateVariant variant) {
  const bool d64 = variant == TInflateVariant::Deflate64;
  const unsigned distCodes = d64 ? kMaxDistCodes64 : kMaxDistCodes;
  TDeflateAlphabets a{};
  for (unsigned i = 0; i < kLitSymbols; ++i) {
    if (i < kEndOfBlock) {
      a.literals[i] = {kKindLiteral, 0, static_cast<std::uint16_t>(i)};
    } else if (i == kEndOfBlock) {
      a.literals[i] = {kKindEndOfBlock, 0, 0};
    } else if (i == kLastLengthSymbol && d64) {
      a.literals[i] = {static_cast<std::uint8_t>(kKindBase | kLastLengthExtra64), 0, kLastLengthBase64};
    } else if (i < kMaxLitCodes) {
      a.literals[i] = {static_cast<std::uint8_t>(kKindBase | kLengthExtra[i - 257]), 0, kLengthBase[i - 257]};
    } else {
      a.literals[i] = {kKindInvalid, 0, 0};
    }
  }
  for (unsigned i = 0; i < kDistSymbols; ++i)
    a.distances[i] = i < distCodes ? TDecodeEntry{static_cast<std::uint8_t>(kKindBase | kDistExtra[i]), 0, kDistBase[i]}
                                  : TDecodeEntry{kKindInvalid, 0, 0};
  for (unsigned i = 0; i < kLengthSymbols; ++i) a.lengths[i] = {kKindLiteral, 0, static_cast<std::uint16_t>(i)};
  return a;
}

constexpr TDeflateAlphabets kAlphabets = MakeAlphabets(TInflateVariant::Deflate);
constexpr TDeflateAlphabets kAlphabets64 = MakeAlphabets(TInflateVariant::Deflate64);

}  // namespace

const TDeflateAlphabets& DeflateAlphabets(TInflateVariant variant) {
  return variant == TInflateVariant::Deflate64 ? kAlphabets64 : kAlphabets;
}

}  // namespace unzip
