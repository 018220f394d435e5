#include "core/Crc32.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TW_CRC_FOLDING 1
#endif

namespace unzip {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
// Bytes folded per step: eight tables, each the previous one advanced by a byte.
constexpr int kSlices = 8;

using Tables = std::array<std::array<std::uint32_t, 256>, kSlices>;

constexpr Tables MakeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][i] = c;
  }
  for (int s = 1; s < kSlices; ++s)
    for (std::uint32_t i = 0; i < 256; ++i) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();

std::uint32_t SliceCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n) {
  while (n >= kSlices) {
    std::uint32_t lo;
    std::uint32_t hi;
    std::memcpy(&lo, data, 4);
    std::memcpy(&hi, data + 4, 4);
    // The tables assume little-endian loads, which every target of this system has.
    lo ^= crc;
    crc = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
          kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
          kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    data += kSlices;
    n -= kSlices;
  }
  while (n-- > 0) crc = kTables[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
  return crc;
}

#ifdef TW_CRC_FOLDING
// Folding with carry-less multiplication. A 16-byte lane, loaded little-endian,
// holds a polynomial whose first bit is the highest; moving a lane D bits
// further multiplies it by x^D, which is done modulo the generator on its two
// halves: the first half (64 bits ahead of the second) by x^(D+64), the second
// by x^D. A reflected carry-less product carries one extra factor x, so the
// constants are x^(D+63) and x^(D-1) modulo the generator.
constexpr std::uint32_t kGenerator = 0x04C11DB7u;  // the polynomial, highest term x^32 implied

constexpr std::uint64_t FoldConstant(unsigned power) {
  std::uint32_t r = 1;  // x^0
  for (unsigned i = 0; i < power; ++i) r = (r << 1) ^ ((r & 0x80000000u) ? kGenerator : 0);
  // As a reflected 64-bit factor: the coefficient of x^d at bit 63 - d.
  std::uint64_t reflected = 0;
  for (unsigned d = 0; d < 32; ++d)
    if (r >> d & 1) reflected |= std::uint64_t{1} << (63 - d);
  return reflected;
}

// Four lanes run side by side, 512 bits apart; one lane moves 128 bits.
constexpr unsigned kLanes = 4;
constexpr unsigned kLaneBytes = 16;
constexpr unsigned kFourLaneBits = kLanes * kLaneBytes * 8;
constexpr unsigned kOneLaneBits = kLaneBytes * 8;
// Below this length the tables are as quick.
constexpr std::size_t kFoldMinimum = 2 * kLanes * kLaneBytes;

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i lane, __m128i constants, __m128i next) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(lane, constants, 0x00),
                                     _mm_clmulepi64_si128(lane, constants, 0x11)),
                       next);
}

__attribute__((target("pclmul,sse2"))) std::uint32_t FoldCrc32(std::uint32_t crc, const std::uint8_t* data,
                                                                std::size_t n) {
  const __m128i four = _mm_set_epi64x(static_cast<long long>(FoldConstant(kFourLaneBits - 1)),
                                      static_cast<long long>(FoldConstant(kFourLaneBits + 63)));
  const __m128i one = _mm_set_epi64x(static_cast<long long>(FoldConstant(kOneLaneBits - 1)),
                                     static_cast<long long>(FoldConstant(kOneLaneBits + 63)));
  // A preset register is the same as that value XORed into the first four
  // bytes with a register of 0.
  __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = Load(data + 16);
  __m128i x2 = Load(data + 32);
  __m128i x3 = Load(data + 48);
  data += kLanes * kLaneBytes;
  n -= kLanes * kLaneBytes;
  for (; n >= kLanes * kLaneBytes; data += kLanes * kLaneBytes, n -= kLanes * kLaneBytes) {
    x0 = Fold(x0, four, Load(data));
    x1 = Fold(x1, four, Load(data + 16));
    x2 = Fold(x2, four, Load(data + 32));
    x3 = Fold(x3, four, Load(data + 48));
  }
  __m128i x = Fold(Fold(Fold(x0, one, x1), one, x2), one, x3);
  for (; n >= kLaneBytes; data += kLaneBytes, n -= kLaneBytes) x = Fold(x, one, Load(data));
  // The lane is congruent to everything read so far: its own CRC continues it.
  std::uint8_t rest[kLaneBytes];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(rest), x);
  return SliceCrc32(SliceCrc32(0, rest, kLaneBytes), data, n);
}

bool HasCarrylessMultiply() {
  static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
  return has;
}
#endif

}  // namespace

const std::uint32_t* const kCrcTable = kTables[0].data();

std::uint32_t UpdateCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n) {
#ifdef TW_CRC_FOLDING
  if (n >= kFoldMinimum && HasCarrylessMultiply()) return FoldCrc32(crc, data, n);
#endif
  return SliceCrc32(crc, data, n);
}

}  // namespace unzip
