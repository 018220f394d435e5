// Every legacy method decodes what the test encoders produce, byte for byte,
// for data of several shapes, with the CRC-32 matching.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "LegacyDecode.h"
#include "LegacyEncoders.h"

namespace legacytest {
namespace {

Bytes Text(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"freight ", "depot ", "route ", "Tarnwick ", "invoice ", "pallet ",
                                       "the ",     "of ",    "and ",   "\r\n",       "shipment 12, ", "load "};
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < size) {
    const std::string w = kWords[rng() % std::size(kWords)];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(size);
  return out;
}

Bytes Random(std::size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(size);
  for (auto& b : out) b = std::uint8_t(rng());
  return out;
}

// Text blocks that recur at distances beyond every window (16 and 32 KiB),
// with the escape byte 144 sprinkled in.
Bytes BeyondWindows() {
  Bytes block = Text(40000, 7);
  for (std::size_t i = 0; i < block.size(); i += 97) block[i] = 144;
  Bytes out = block;
  const Bytes noise = Random(3000, 8);
  out.insert(out.end(), noise.begin(), noise.end());
  out.insert(out.end(), block.begin(), block.end());
  return out;
}

struct TShape {
  const char* name;
  Bytes data;
};

const std::vector<TShape>& Shapes() {
  static const std::vector<TShape> shapes = {
      {"empty", {}},
      {"one byte", {0x41}},
      {"escape byte", {144}},
      {"text", Text(20000, 1)},
      {"random", Random(70000, 2)},
      {"repetitive", Bytes(100000, 'x')},
      {"period 3", [] {
         Bytes b;
         for (int i = 0; i < 50000; ++i) b.push_back(std::uint8_t("abc"[i % 3]));
         return b;
       }()},
      {"beyond windows", BeyondWindows()},
  };
  return shapes;
}

struct TCodec {
  const char* name;
  int method;
  std::uint16_t flags;
  Bytes (*encode)(std::span<const std::uint8_t>);
};

const TCodec kCodecs[] = {
    {"shrink", 1, 0, [](std::span<const std::uint8_t> d) { return Shrink(d); }},
    {"shrink, no clears", 1, 0, [](std::span<const std::uint8_t> d) { return Shrink(d, false); }},
    {"reduce 1", 2, 0, [](std::span<const std::uint8_t> d) { return Reduce(d, 1); }},
    {"reduce 2", 3, 0, [](std::span<const std::uint8_t> d) { return Reduce(d, 2); }},
    {"reduce 3", 4, 0, [](std::span<const std::uint8_t> d) { return Reduce(d, 3); }},
    {"reduce 4", 5, 0, [](std::span<const std::uint8_t> d) { return Reduce(d, 4); }},
    {"reduce 4, no followers", 5, 0, [](std::span<const std::uint8_t> d) { return Reduce(d, 4, 0); }},
    {"implode 4K raw", 6, ImplodeFlags(false, false), [](std::span<const std::uint8_t> d) { return Implode(d, false, false); }},
    {"implode 4K tree", 6, ImplodeFlags(false, true), [](std::span<const std::uint8_t> d) { return Implode(d, false, true); }},
    {"implode 8K raw", 6, ImplodeFlags(true, false), [](std::span<const std::uint8_t> d) { return Implode(d, true, false); }},
    {"implode 8K tree", 6, ImplodeFlags(true, true), [](std::span<const std::uint8_t> d) { return Implode(d, true, true); }},
};

TEST(LegacyRoundTrip, EveryMethodEveryShape) {
  // One state for all entries, as in a run: nothing may carry over.
  unzip::TDecodeState s;
  for (const TCodec& codec : kCodecs) {
    for (const TShape& shape : Shapes()) {
      SCOPED_TRACE(std::string(codec.name) + " / " + shape.name);
      const Bytes packed = codec.encode(shape.data);
      // Whole chunks and small refills.
      for (std::size_t chunk : {std::size_t(unzip::kChunkSize), std::size_t(1000)}) {
        const TDecoded d = Decode(s, codec.method, codec.flags, packed, std::int32_t(shape.data.size()), chunk);
        EXPECT_TRUE(d.ok);
        EXPECT_EQ(d.crc, Crc32Of(shape.data));
        ASSERT_EQ(d.output, shape.data);
        if (codec.method == 6) {
          EXPECT_EQ(d.result, unzip::TDecodeResult::Ok);
        }
      }
    }
  }
}

// Output leaves in 32 KiB blocks and once at the end; an empty entry writes
// nothing.
TEST(LegacyRoundTrip, FlushesWholeBlocks) {
  unzip::TDecodeState s;
  const Bytes exact(unzip::kChunkSize, 'q'), longer(unzip::kChunkSize * 2 + 5, 'q');
  for (const TCodec& codec : kCodecs) {
    SCOPED_TRACE(codec.name);
    EXPECT_EQ(Decode(s, codec.method, codec.flags, codec.encode(exact), std::int32_t(exact.size())).flushes, 1);
    EXPECT_EQ(Decode(s, codec.method, codec.flags, codec.encode(longer), std::int32_t(longer.size())).flushes, 3);
    EXPECT_EQ(Decode(s, codec.method, codec.flags, codec.encode({}), 0).flushes, 0);
  }
}

}  // namespace
}  // namespace legacytest
