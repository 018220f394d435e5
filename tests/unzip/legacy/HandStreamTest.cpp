// Tiny streams checked bit by bit, and the decoders' answers to corrupt or
// unusual data.
#include <gtest/gtest.h>

#include <string>

#include "LegacyDecode.h"
#include "LegacyEncoders.h"

namespace legacytest {
namespace {

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

// --- Shrink

// "ABABABA": the codes 'A' (65), 'B' (66), 257 ("AB"), 259 (not yet defined
// when read: the previous string "AB" plus its first byte). Four 9-bit codes
// packed least significant bit first: 65 | 66 << 9 | 257 << 18 | 259 << 27
// = 0x81C048441.
TEST(LegacyHandStream, ShrinkCodesAndAnUndefinedCode) {
  const Bytes stream = {0x41, 0x84, 0x04, 0x1C, 0x08};
  EXPECT_EQ(Shrink(B("ABABABA")), stream);
  unzip::TDecodeState s;
  const TDecoded d = Decode(s, 1, 0, stream, 7);
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(d.output, B("ABABABA"));
}

// 'A' (9 bits), 256 1 (9 bits each: codes widen to 10), 'B' (10 bits: code 257
// becomes "AB"), 256 2 (partial clear: 257 is nobody's prefix and is freed),
// 'C' (257 is reused as "BC"), 257. Without the clear the end would read "AB".
// Fields of 9, 9, 9, 10, 10, 10, 10, 10 bits, least significant first.
TEST(LegacyHandStream, ShrinkWidensAndReusesClearedCodes) {
  const Bytes stream = {0x41, 0x00, 0x06, 0x10, 0x02, 0x20, 0x01, 0x86, 0x08, 0x08};
  unzip::TDecodeState s;
  const TDecoded d = Decode(s, 1, 0, stream, 5);
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(d.output, B("ABCBC"));
}

TEST(LegacyHandStream, ShrinkRejectsBadStreams) {
  unzip::TDecodeState s;
  // Codes wider than 13 bits: 'A', then five times 256 1 (9 to 14 bits).
  TBitWriter wide;
  wide.Put('A', 9);
  for (unsigned width = 9; width < 14; ++width) {
    wide.Put(256, width);
    wide.Put(1, width);
  }
  wide.Put('B', 14);
  // A first code that is undefined, read again: its string never ends.
  TBitWriter loop;
  loop.Put(300, 9);
  loop.Put(300, 9);
  for (const Bytes& stream : {wide.Finish(), loop.Finish()}) {
    const TDecoded d = Decode(s, 1, 0, stream, 100);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.flushes, 0);
  }
}

TEST(LegacyHandStream, ShrinkOutputBeyondTheDeclaredSizeRaises) {
  unzip::TDecodeState s;
  EXPECT_THROW(Decode(s, 1, 0, Shrink(B("ABABABA")), 6), EOversize);
}

// --- Reduce

// Factor 1, every follower set empty (256 six-bit zeros = 192 zero bytes), then
// plain 8-bit symbols: 'a' 'b' 'c', DLE 0x01 0x02 (length 1 + 3, distance
// 0x02 + 1), DLE 0x00 (the byte 144 itself).
TEST(LegacyHandStream, ReduceMatchAndEscapedDle) {
  Bytes stream(192, 0);
  for (std::uint8_t b : {0x61, 0x62, 0x63, 0x90, 0x01, 0x02, 0x90, 0x00}) stream.push_back(b);
  unzip::TDecodeState s;
  const TDecoded d = Decode(s, 2, 0, stream, 8);
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(d.output, B("abcabca\x90"));
}

// Every factor, follower sets empty, plain 8-bit symbols: 'a' 'b' 'c'; DLE,
// V = L(f) (the longest length code, distance bits 0), a length byte 2 and a
// distance byte 2: L(f) + 2 + 3 bytes from 3 back; DLE, V = 1 << S(f) | 1
// (length 1, distance bits 1), distance byte 0xFF: 4 bytes from 1 x 256 + 255
// + 1 = 512 back, before the entry's first byte, so zeros.
TEST(LegacyHandStream, ReduceLongLengthAndHighDistanceBits) {
  struct Factor {
    int method;
    unsigned lengthMask, shift;
  };
  for (const Factor f : {Factor{2, 0x7F, 7}, Factor{3, 0x3F, 6}, Factor{4, 0x1F, 5}, Factor{5, 0x0F, 4}}) {
    SCOPED_TRACE(f.method);
    Bytes stream(192, 0);
    for (unsigned b : {0x61u, 0x62u, 0x63u, 0x90u, f.lengthMask, 2u, 2u, 0x90u, (1u << f.shift) | 1u, 0xFFu})
      stream.push_back(std::uint8_t(b));
    Bytes expected = B("abc");
    for (unsigned i = 0; i < f.lengthMask + 5; ++i) expected.push_back(expected[i]);
    expected.insert(expected.end(), 4, 0);
    unzip::TDecodeState s;
    const TDecoded d = Decode(s, f.method, 0, stream, std::int64_t(expected.size()));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.output, expected);
  }
}

// Sets 255 to 1 empty (1,530 zero bits), the set of 0 holds one follower 'x'
// (size 1 in 6 bits at bit 1,530, 'x' in 8 bits). The first symbol follows the
// start value 0: bit 0 and a 1-bit index 0 give 'x'; 'x' has no followers, so
// 'y' comes as 8 plain bits. Bytes 191 on: 0x04 (size 1 at bit 2), 0x78 ('x'),
// 0xE4 (two 0 bits, then the low six bits of 'y'), 0x01 (its top two bits).
TEST(LegacyHandStream, ReduceFollowerSet) {
  Bytes stream(191, 0);
  for (std::uint8_t b : {0x04, 0x78, 0xE4, 0x01}) stream.push_back(b);
  unzip::TDecodeState s;
  for (int method = 2; method <= 5; ++method) {
    const TDecoded d = Decode(s, method, 0, stream, 2);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.output, B("xy"));
  }
}

// --- Explode

// 4 KiB dictionary, raw literals (minimum match 2). Length and distance trees:
// 64 codes of 6 bits, described as 0x03 then four runs 0xF5 (16 times length
// 6). Symbol i then gets the code 63 - i (the complement of its canonical
// code i), which travels most significant bit first. Codes: 1 'a', 1 'b', then
// a match: 0, six low distance bits 1, distance code 0 (111111), length code 3
// (111100, length 5): 37 bits = 0xC3 0x8A 0x09 0xFE 0x07.
TEST(LegacyHandStream, ExplodeLiteralsAndOverlappingMatch) {
  const Bytes stream = {0x03, 0xF5, 0xF5, 0xF5, 0xF5, 0x03, 0xF5, 0xF5, 0xF5, 0xF5, 0xC3, 0x8A, 0x09, 0xFE, 0x07};
  const TImplodeTrees trees{{}, std::vector<std::uint8_t>(64, 6), std::vector<std::uint8_t>(64, 6)};
  EXPECT_EQ(ImplodeTokens({{'a', 0}, {'b', 0}, {5, 2}}, false, trees), stream);
  unzip::TDecodeState s;
  const TDecoded d = Decode(s, 6, 0, stream, 7);
  EXPECT_EQ(d.result, unzip::TDecodeResult::Ok);
  EXPECT_EQ(d.output, B("abababa"));
}

// A tree description must expand to exactly 256 (literal) lengths.
TEST(LegacyHandStream, ExplodeTreeOfWrongSize) {
  unzip::TDecodeState s;
  for (std::size_t count : {255u, 257u}) {
    SCOPED_TRACE(count);
    Bytes stream = DescribeTree(std::vector<std::uint8_t>(count, 8));
    const Bytes rest = Implode(B("hello"), false, true);
    stream.insert(stream.end(), rest.begin() + std::ptrdiff_t(DescribeTree(std::vector<std::uint8_t>(256, 8)).size()),
                  rest.end());
    const TDecoded d = Decode(s, 6, ImplodeFlags(false, true), stream, 5);
    EXPECT_EQ(d.result, unzip::TDecodeResult::BadBlock);
    EXPECT_EQ(d.flushes, 0);
  }
}

TEST(LegacyHandStream, ExplodeBadCodes) {
  unzip::TDecodeState s;
  // Over-subscribed: 64 codes of 5 bits.
  const Bytes over = {0x03, 0xF4, 0xF4, 0xF4, 0xF4, 0x03, 0xF5, 0xF5, 0xF5, 0xF5, 0xFF};
  EXPECT_EQ(Decode(s, 6, 0, over, 10).result, unzip::TDecodeResult::BadBlock);
  // Incomplete length tree (62 codes of 6 bits, 2 of 7): codes are handed out
  // from 0 upwards, so the all-ones 6-bit pattern is no code. A match (bit 0)
  // with one bits throughout hits it.
  std::vector<std::uint8_t> lengths(62, 6);
  lengths.push_back(7);
  lengths.push_back(7);
  Bytes stream = DescribeTree(lengths);
  const Bytes dist = DescribeTree(std::vector<std::uint8_t>(64, 6));
  stream.insert(stream.end(), dist.begin(), dist.end());
  stream.insert(stream.end(), {0xFE, 0xFF, 0xFF});
  const TDecoded d = Decode(s, 6, 0, stream, 10);
  EXPECT_EQ(d.result, unzip::TDecodeResult::BadData);
  EXPECT_EQ(d.flushes, 0);
}

// --- Both window decoders

// A first match that reaches before the entry's first byte yields zeros, even
// when the work area still holds an earlier entry's bytes.
TEST(LegacyHandStream, MatchBeforeTheFirstByteGivesZeros) {
  unzip::TDecodeState s;
  const Bytes earlier(40000, 'E');
  Decode(s, 6, ImplodeFlags(true, true), Implode(earlier, true, true), std::int32_t(earlier.size()));
  const Bytes expected = {0, 0, 0, 0, 0, 0, 'z'};
  const std::vector<TToken> tokens = {{6, 100}, {'z', 0}};

  const TDecoded reduced = Decode(s, 3, 0, ReduceTokens(tokens, 2), 7);
  EXPECT_TRUE(reduced.ok);
  EXPECT_EQ(reduced.output, expected);
  for (bool big : {false, true}) {
    for (bool lit : {false, true}) {
      const TDecoded d = Decode(s, 6, ImplodeFlags(big, lit), ImplodeTokens(tokens, big, ChooseTrees(tokens, big, lit)), 7);
      EXPECT_EQ(d.result, unzip::TDecodeResult::Ok);
      EXPECT_EQ(d.output, expected);
    }
  }
}

// Data cut short: the decoders stop as soon as they would read beyond it,
// without writing anything, instead of inventing bytes up to the declared size.
TEST(LegacyHandStream, TruncatedDataStopsWithoutOutput) {
  unzip::TDecodeState s;
  Bytes text;
  for (int i = 0; i < 3000; ++i) text.push_back(std::uint8_t("lorry depot "[i % 12] + i % 7));
  struct TCase {
    int method;
    std::uint16_t flags;
    Bytes packed;
  };
  const TCase cases[] = {
      {2, 0, Reduce(text, 1)},
      {5, 0, Reduce(text, 4)},
      {6, ImplodeFlags(false, false), Implode(text, false, false)},
      {6, ImplodeFlags(true, true), Implode(text, true, true)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.method);
    const Bytes half(c.packed.begin(), c.packed.begin() + std::ptrdiff_t(c.packed.size() / 2));
    const TDecoded d = Decode(s, c.method, c.flags, half, std::int32_t(text.size()));
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.flushes, 0);
    // A declared size beyond the archive's 2 GiB limit costs no time either.
    EXPECT_FALSE(Decode(s, c.method, c.flags, half, 0x7FFFFFFF).ok);
  }
  // Shrink simply ends with its input; the CRC tells.
  const Bytes shrunk = Shrink(text);
  const TDecoded d = Decode(s, 1, 0, Bytes(shrunk.begin(), shrunk.begin() + 100), std::int32_t(text.size()));
  EXPECT_TRUE(d.ok);
  EXPECT_NE(d.crc, Crc32Of(text));
}

// Up to 200,000 compressed bytes the distance table looks up 7 bits, beyond
// that 8; the output is the same either way. The distance tree mixes 5-, 10-
// and 11-bit codes so that both widths need second-level tables.
TEST(LegacyHandStream, ExplodeDistanceLookupThreshold) {
  Bytes text;
  for (int i = 0; i < 60000; ++i) text.push_back(std::uint8_t("abcdefghij"[(i * 7 + i / 13) % 10]));
  const auto tokens = Tokenize(text, ImplodeRules(true, true));
  TImplodeTrees trees = ChooseTrees(tokens, true, true);
  trees.distance.assign(31, 5);
  trees.distance.resize(62, 10);
  trees.distance.resize(64, 11);
  Bytes packed = ImplodeTokens(tokens, true, trees);
  ASSERT_LT(packed.size(), 200000u);
  packed.resize(200001, 0);
  unzip::TDecodeState s;
  for (std::int32_t size : {200000, 200001}) {
    const TDecoded d = Decode(s, 6, ImplodeFlags(true, true), packed, std::int32_t(text.size()), unzip::kChunkSize, size);
    EXPECT_EQ(d.result, unzip::TDecodeResult::DataLeft);
    EXPECT_EQ(d.output, text);
  }
}

}  // namespace
}  // namespace legacytest
