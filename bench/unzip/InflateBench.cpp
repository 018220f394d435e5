// Inflate throughput: the engine's TFastInflater against zlib's inflate()
// (raw deflate, window bits -15) on the same compressed data, both writing
// 32 KiB output chunks.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>

#include "EngineIO.h"
#include "RawDeflate.h"
#include "decode/InflateFast.h"

namespace {

constexpr std::size_t kSampleSize = 16 << 20;

// Mixed content: log-like text, a binary table with structure, and noise.
std::string MakeSample(const std::string& kind) {
  std::mt19937 rng(11);
  std::string s;
  s.reserve(kSampleSize);
  if (kind == "text") {
    const char* words[] = {"shipment", "warehouse", "pallet", "route", "carrier", "delivered", "pending", "Tarnwick"};
    while (s.size() < kSampleSize) {
      s += std::to_string(20240000 + rng() % 10000) + " " + words[rng() % 8] + " " + words[rng() % 8] + " qty=" +
           std::to_string(rng() % 500) + "\n";
    }
  } else {  // binary records: small integers, repeated fields, some noise
    while (s.size() < kSampleSize) {
      const std::uint32_t rec[4] = {static_cast<std::uint32_t>(s.size() / 16), static_cast<std::uint32_t>(rng() % 64), 0xCAFE0000u,
                                   static_cast<std::uint32_t>(rng())};
      s.append(reinterpret_cast<const char*>(rec), sizeof rec);
    }
  }
  s.resize(kSampleSize);
  return s;
}

const std::string& Compressed(int which) {
  static const std::string text = bench::RawDeflate(MakeSample("text"), 6);
  static const std::string binary = bench::RawDeflate(MakeSample("binary"), 6);
  return which == 0 ? text : binary;
}

// The output is only counted: zlib's is not checked either.
void BM_TFastInflater(benchmark::State& state) {
  const std::string& in = Compressed(static_cast<int>(state.range(0)));
  unzip::TDecodeState s;
  unzip::TFastInflater inflater;
  std::size_t total = 0;
  for (auto _ : state) {
    bench::EngineIO<false> io(s, in);
    s.io = &io;
    s.StartEntry(static_cast<std::int64_t>(in.size()), static_cast<std::int64_t>(kSampleSize));
    if (inflater.Inflate(s) != unzip::TDecodeResult::Ok) state.SkipWithError("bad data");
    total += io.written;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

void BM_ZlibInflate(benchmark::State& state) {
  const std::string& in = Compressed(static_cast<int>(state.range(0)));
  // The same 32 KiB chunks in and out as the engine moves.
  std::string inChunk(unzip::kChunkSize, '\0');
  std::string out(unzip::kChunkSize, '\0');
  std::size_t total = 0;
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    std::size_t pos = 0;
    int r = Z_OK;
    while (r == Z_OK) {
      if (z.avail_in == 0 && pos < in.size()) {
        const std::size_t n = std::min<std::size_t>(unzip::kChunkSize, in.size() - pos);
        std::memcpy(inChunk.data(), in.data() + pos, n);
        pos += n;
        z.next_in = reinterpret_cast<Bytef*>(inChunk.data());
        z.avail_in = static_cast<uInt>(n);
      }
      z.next_out = reinterpret_cast<Bytef*>(out.data());
      z.avail_out = static_cast<uInt>(out.size());
      r = inflate(&z, Z_NO_FLUSH);
      total += out.size() - z.avail_out;
      benchmark::DoNotOptimize(out[0]);
    }
    if (r != Z_STREAM_END) state.SkipWithError("zlib failed");
    inflateEnd(&z);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

// Argument 0: text, 1: binary records.
BENCHMARK(BM_TFastInflater)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
