// The engine's deflate decoder and the tests' reference decoder against zlib's
// raw deflate output, and their bad-data stops.
#include <gtest/gtest.h>

#include <string>

#include "DeflateTestSupport.h"
#include "ReferenceInflater.h"
#include "decode/DecodeTable.h"
#include "decode/InflateFast.h"

namespace unzip {
namespace {

using deflatetest::Bits;
using deflatetest::MemoryIO;
using deflatetest::RawDeflate;
using deflatetest::Sample;

struct Decoded {
  TDecodeResult result;
  std::string out;
};

template <typename Decoder>
Decoded Decode(const std::string& compressed, std::size_t limit = 1u << 30) {
  TDecodeState s;
  MemoryIO io(s, compressed, limit);
  s.io = &io;
  s.StartEntry(static_cast<std::int64_t>(compressed.size()), static_cast<std::int64_t>(limit));
  Decoder inflater;
  const TDecodeResult r = inflater.Inflate(s);
  return {r, io.out};
}

template <typename Decoder>
class Inflate : public ::testing::Test {};
using Decoders = ::testing::Types<TFastInflater, TReferenceInflater>;
TYPED_TEST_SUITE(Inflate, Decoders);

TYPED_TEST(Inflate, MatchesZlibAcrossLevelsStrategiesAndData) {
  for (const char* kind : {"text", "random", "runs"}) {
    const std::string data = Sample(kind, 300000);
    for (int level = 0; level <= 9; ++level) {
      for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
        const Decoded d = Decode<TypeParam>(RawDeflate(data, level, strategy));
        ASSERT_EQ(d.result, TDecodeResult::Ok) << kind << " level " << level << " strategy " << strategy;
        ASSERT_TRUE(d.out == data) << kind << " level " << level << " strategy " << strategy;
      }
    }
  }
}

TYPED_TEST(Inflate, OutputMovesInWholeChunks) {
  const std::string data = Sample("text", kChunkSize);
  TDecodeState s;
  MemoryIO io(s, RawDeflate(data, 6, Z_DEFAULT_STRATEGY), data.size());
  s.io = &io;
  s.StartEntry(0, static_cast<std::int64_t>(data.size()));
  TypeParam inflater;
  EXPECT_EQ(inflater.Inflate(s), TDecodeResult::Ok);
  EXPECT_EQ(io.pieces.size(), 1u);  // exactly 32 KiB: one write, the final flush finds nothing
  EXPECT_EQ(io.out, data);
}

TYPED_TEST(Inflate, BadStreamsStopWithoutException) {
  struct Case {
    const char* what;
    std::string stream;
    TDecodeResult result;
  };
  const std::string good = RawDeflate("hello hello hello hello", 9, Z_DEFAULT_STRATEGY);
  std::string flipped = RawDeflate(Sample("text", 5000), 9, Z_DEFAULT_STRATEGY);
  flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x55);
  const Case cases[] = {
      {"block type 3", Bits().Put(1, 1).Put(3, 2).bytes(), TDecodeResult::BadBlock},
      {"287 literal/length codes", Bits().Put(1, 1).Put(2, 2).Put(30, 5).Put(0, 5).Put(0, 4).bytes(),
       TDecodeResult::BadData},
      {"stored length check", Bits().Put(1, 1).Put(0, 2).Put(0, 5).Put(5, 16).Put(5, 16).bytes(),
       TDecodeResult::BadData},
      // Fixed block: literal 'a' (code 0x91, 8 bits) then length 3 (code 257,
      // 7 bits 0000001) with distance 4 (code 3, 5 bits): before the first byte.
      {"distance before the start", Bits().Put(1, 1).Put(1, 2).Put(0x89, 8).Put(0x40, 7).Put(0x18, 5).bytes(),
       TDecodeResult::BadData},
      {"truncated", good.substr(0, good.size() / 2), TDecodeResult::BadData},
      {"empty", std::string(), TDecodeResult::BadData},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode<TypeParam>(c.stream).result, c.result) << c.what;
  const Decoded d = Decode<TypeParam>(flipped);
  EXPECT_TRUE(d.result != TDecodeResult::Ok || d.out != Sample("text", 5000));
}

TYPED_TEST(Inflate, OutputPastTheStatedSizeIsBadData) {
  const std::string data(100000, 'z');
  EXPECT_EQ(Decode<TypeParam>(RawDeflate(data, 9, Z_DEFAULT_STRATEGY), 1000).result, TDecodeResult::BadData);
}

TYPED_TEST(Inflate, GarbageAlwaysEnds) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::string junk(1 + rng() % 64, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    const Decoded d = Decode<TypeParam>(junk, 1u << 20);
    EXPECT_LE(d.out.size(), 1u << 20);
  }
}

TEST(BuildDecodeTable, ReportsCodeSetShapes) {
  TDecodeEntry symbols[4] = {{kKindLiteral, 0, 0}, {kKindLiteral, 0, 1}, {kKindLiteral, 0, 2}, {kKindLiteral, 0, 3}};
  TDecodeEntry table[64];
  unsigned root = 0;
  const std::uint8_t complete[] = {1, 2, 3, 3};
  const std::uint8_t incomplete[] = {2, 2, 3, 0};
  const std::uint8_t oversubscribed[] = {1, 1, 1, 0};
  const std::uint8_t single[] = {1, 0, 0, 0};
  const std::uint8_t none[] = {0, 0, 0, 0};
  EXPECT_EQ(BuildDecodeTable(complete, 4, symbols, 9, table, 64, root), TDecodeResult::Ok);
  EXPECT_EQ(root, 3u);  // lowered to the longest code
  EXPECT_EQ(BuildDecodeTable(incomplete, 4, symbols, 9, table, 64, root), TDecodeResult::BadData);
  EXPECT_EQ(BuildDecodeTable(oversubscribed, 4, symbols, 9, table, 64, root), TDecodeResult::BadBlock);
  EXPECT_EQ(BuildDecodeTable(single, 4, symbols, 9, table, 64, root), TDecodeResult::Ok);
  EXPECT_EQ(table[1].kind, kKindInvalid);
  EXPECT_EQ(BuildDecodeTable(none, 4, symbols, 9, table, 64, root), TDecodeResult::Ok);
  EXPECT_EQ(table[0].kind, kKindInvalid);
}

}  // namespace
}  // namespace unzip
