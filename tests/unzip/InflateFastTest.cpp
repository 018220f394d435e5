// The engine's deflate decoder against the reference decoder: the same output
// for every sound stream zlib writes, and the same verdict on every bad one.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "DeflateTestSupport.h"
#include "ReferenceInflater.h"
#include "decode/InflateFast.h"

namespace unzip {
namespace {

using deflatetest::Bits;
using deflatetest::MemoryIO;
using deflatetest::RawDeflate;
using deflatetest::Sample;

struct Decoded {
  bool ok;
  std::string out;
  std::vector<std::uint32_t> pieces;
};

template <typename Decoder>
Decoded Decode(const std::string& compressed, std::size_t declared) {
  static TDecodeState s;
  static Decoder decoder;
  MemoryIO io(s, compressed, declared);
  s.io = &io;
  s.StartEntry(static_cast<std::int32_t>(compressed.size()), static_cast<std::int32_t>(declared));
  const bool ok = decoder.Inflate(s) == TDecodeResult::Ok;
  return {ok, io.out, io.pieces};
}

// Both decoders on one stream: the same verdict, and for a sound stream the
// same bytes passed on in the same pieces. (A bad one may be found bad a few
// symbols apart, after refills at different places.)
void ExpectSame(const std::string& compressed, std::size_t declared, const std::string& what) {
  const Decoded slow = Decode<TReferenceInflater>(compressed, declared);
  const Decoded fast = Decode<TFastInflater>(compressed, declared);
  ASSERT_EQ(slow.ok, fast.ok) << what;
  ASSERT_LE(fast.out.size(), declared) << what;
  if (!slow.ok) return;
  ASSERT_TRUE(slow.out == fast.out) << what << ": " << slow.out.size() << " vs " << fast.out.size() << " bytes";
  ASSERT_EQ(slow.pieces, fast.pieces) << what;
}

TEST(InflateFast, MatchesTheStreamingDecoderOnZlibStreams) {
  // Sizes around the one-piece bound and the 32 KiB pieces, and a size that
  // makes the buffer slide several times.
  const std::size_t sizes[] = {0, 1, 300, kChunkSize, kChunkSize + 1, TFastInflater::kSpan + 70000,
                               2 * TFastInflater::kSpan + 12345};
  for (const char* kind : {"text", "random", "runs", "records"}) {
    for (std::size_t size : sizes) {
      const std::string data = Sample(kind, size);
      for (int level : {0, 1, 9}) {
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
          const std::string what = std::string(kind) + " size " + std::to_string(size) + " level " +
                                   std::to_string(level) + " strategy " + std::to_string(strategy);
          const std::string z = RawDeflate(data, level, strategy);
          const Decoded fast = Decode<TFastInflater>(z, data.size());
          ASSERT_TRUE(fast.ok) << what;
          ASSERT_TRUE(fast.out == data) << what;
          ExpectSame(z, data.size(), what);
        }
      }
    }
  }
}

TEST(InflateFast, StopsAtTheDeclaredSizeLikeTheStreamingDecoder) {
  const std::string data = Sample("text", 200000);
  const std::string z = RawDeflate(data, 6, Z_DEFAULT_STRATEGY);
  for (std::size_t declared : {std::size_t{0}, std::size_t{1}, std::size_t{kChunkSize}, std::size_t{65536 + 7},
                               data.size() - 1}) {
    ExpectSame(z, declared, "declared " + std::to_string(declared));
    EXPECT_FALSE(Decode<TFastInflater>(z, declared).ok);
  }
  ExpectSame(z, data.size() + 1000, "declared larger");
}

// Keeps the fast decoder's pieces as pointers and copies each only when a
// Release covers it, as a thread that passes them on later sees them: the
// decoder must leave held bytes alone until then, slides included.
class HoldingIO : public MemoryIO {
 public:
  using MemoryIO::MemoryIO;
  void Hold(TDecodeState&, const std::uint8_t* data, std::uint32_t n) override { held_.push_back({data, n}); }
  void Release(std::uint64_t upTo) override {
    while (!held_.empty() && out.size() + held_.front().second <= upTo) {
      out.append(reinterpret_cast<const char*>(held_.front().first), held_.front().second);
      held_.pop_front();
    }
  }
  bool Idle() const { return held_.empty(); }

 private:
  std::deque<std::pair<const std::uint8_t*, std::uint32_t>> held_;
};

TEST(InflateFast, HeldPiecesStayUntouchedUntilReleased) {
  TDecodeState s;
  TFastInflater decoder;
  for (const char* kind : {"text", "random", "records"}) {
    for (std::size_t size : {std::size_t{300}, std::size_t{TFastInflater::kSpan + 70000},
                             std::size_t{5 * TFastInflater::kSpan + 12345}}) {
      const std::string data = Sample(kind, size, 7);
      const std::string z = RawDeflate(data, 6, Z_DEFAULT_STRATEGY);
      // Sound, and cut short (bad data: what was decoded is still released).
      for (const std::string& input : {z, z.substr(0, z.size() * 2 / 3)}) {
        HoldingIO io(s, input, data.size());
        s.io = &io;
        s.StartEntry(static_cast<std::int64_t>(input.size()), static_cast<std::int64_t>(data.size()));
        const bool ok = decoder.Inflate(s) == TDecodeResult::Ok;
        const std::string what = std::string(kind) + " " + std::to_string(size) + (ok ? " whole" : " cut");
        EXPECT_EQ(ok, input.size() == z.size()) << what;
        EXPECT_TRUE(io.Idle()) << what;
        EXPECT_TRUE(io.out.size() <= data.size() && data.compare(0, io.out.size(), io.out) == 0) << what;
        if (ok) {
          EXPECT_EQ(io.out.size(), data.size()) << what;
        }
      }
    }
  }
}

TEST(InflateFast, SameVerdictOnBadStreams) {
  const std::string good = RawDeflate(Sample("text", 100000), 9, Z_DEFAULT_STRATEGY);
  const std::string stored = RawDeflate(Sample("random", 5000), 0, Z_DEFAULT_STRATEGY);
  const std::pair<const char*, std::string> cases[] = {
      {"block type 3", Bits().Put(1, 1).Put(3, 2).bytes()},
      {"287 literal/length codes", Bits().Put(1, 1).Put(2, 2).Put(30, 5).Put(0, 5).Put(0, 4).bytes()},
      {"stored length check", Bits().Put(1, 1).Put(0, 2).Put(0, 5).Put(5, 16).Put(5, 16).bytes()},
      {"distance before the start", Bits().Put(1, 1).Put(1, 2).Put(0x89, 8).Put(0x40, 7).Put(0x18, 5).bytes()},
      {"empty", std::string()},
      {"stored block cut short", stored.substr(0, stored.size() - 100)},
      {"stored length only", Bits().Put(1, 1).Put(0, 2).Put(0, 5).Put(0, 16).Put(0xFFFF, 16).bytes()},
  };
  for (const auto& [what, stream] : cases) ExpectSame(stream, 1u << 20, what);
  // Every cut of a sound stream, and every single flipped byte of a short one.
  for (std::size_t cut = 0; cut < good.size(); cut += 1 + cut / 16) ExpectSame(good.substr(0, cut), 100000, "cut");
  const std::string small = RawDeflate(Sample("text", 3000), 9, Z_DEFAULT_STRATEGY);
  for (std::size_t at = 0; at < small.size(); ++at) {
    for (int flip : {0x01, 0x10, 0xFF}) {
      std::string bad = small;
      bad[at] = static_cast<char>(bad[at] ^ flip);
      ExpectSame(bad, 3000, "flip at " + std::to_string(at));
    }
  }
}

TEST(InflateFast, SameVerdictOnGarbage) {
  std::mt19937 rng(7);
  for (int round = 0; round < 5000; ++round) {
    std::string junk(1 + rng() % 200, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    ExpectSame(junk, 1 + rng() % (1u << 17), "garbage round " + std::to_string(round));
  }
}

}  // namespace
}  // namespace unzip
