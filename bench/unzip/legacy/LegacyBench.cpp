// Throughput of the legacy decoders on 4 MiB of log-like text, with zlib's
// inflate on a deflate stream of the same text as the reference in the same
// run. All write 32 KiB output chunks through the same in-memory sink.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <string>

#include "LegacyDecode.h"
#include "LegacyEncoders.h"

namespace legacytest {
namespace {

constexpr std::size_t kSampleSize = 4 << 20;

const Bytes& Sample() {
  static const Bytes sample = [] {
    std::mt19937 rng(11);
    const char* words[] = {"shipment", "warehouse", "pallet", "route", "carrier", "delivered", "pending", "Tarnwick"};
    std::string s;
    while (s.size() < kSampleSize)
      s += std::to_string(20240000 + rng() % 10000) + " " + words[rng() % 8] + " " + words[rng() % 8] + " qty=" +
           std::to_string(rng() % 500) + "\n";
    s.resize(kSampleSize);
    return Bytes(s.begin(), s.end());
  }();
  return sample;
}

void RunLegacy(benchmark::State& state, int method, std::uint16_t flags, const Bytes& packed) {
  unzip::TDecodeState s;
  for (auto _ : state) {
    const TDecoded d = Decode(s, method, flags, packed, std::int32_t(Sample().size()));
    if (d.output.size() != Sample().size()) state.SkipWithError("wrong output");
    benchmark::DoNotOptimize(d.crc);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * Sample().size()));
}

void BM_UnShrink(benchmark::State& state) {
  static const Bytes packed = Shrink(Sample());
  RunLegacy(state, 1, 0, packed);
}
void BM_UnReduce4(benchmark::State& state) {
  static const Bytes packed = Reduce(Sample(), 4);
  RunLegacy(state, 5, 0, packed);
}
void BM_Explode8kTree(benchmark::State& state) {
  static const Bytes packed = Implode(Sample(), true, true);
  RunLegacy(state, 6, ImplodeFlags(true, true), packed);
}

// Reference: zlib inflating raw deflate into a 32 KiB buffer, with the CRC.
void BM_ZlibInflate(benchmark::State& state) {
  static const Bytes packed = [] {
    uLongf size = compressBound(uLong(Sample().size()));
    Bytes out(size);
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    z.next_in = const_cast<Bytef*>(Sample().data());
    z.avail_in = uInt(Sample().size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
  }();
  Bytes chunk(unzip::kChunkSize);
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(packed.data());
    z.avail_in = uInt(packed.size());
    std::uint32_t crc = 0;
    int rc;
    do {
      z.next_out = chunk.data();
      z.avail_out = uInt(chunk.size());
      rc = inflate(&z, Z_NO_FLUSH);
      crc = std::uint32_t(::crc32(crc, chunk.data(), uInt(chunk.size() - z.avail_out)));
    } while (rc == Z_OK);
    inflateEnd(&z);
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * Sample().size()));
}

BENCHMARK(BM_UnShrink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnReduce4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Explode8kTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace legacytest

BENCHMARK_MAIN();
