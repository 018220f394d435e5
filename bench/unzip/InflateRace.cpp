// Raw inflate throughput on the files named on the command line, all decoders
// in one process: each file is deflated once by zlib at level 6 (zip's
// default), then decoded by the engine's decoder, by zlib in 32 KiB chunks
// and by libdeflate into one buffer. The best of several rounds
// counts; the figures are MB/s of output and each one's time over libdeflate's,
// taken as the process's processor time so that other work on a shared
// machine skews them less than wall time would.
// Every decoder's output goes through the same CRC-32, as an extraction's would.
//   bench_unzip_inflate_race [-r ROUNDS] FILE...
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "EngineIO.h"
#include "RawDeflate.h"
#include "core/Crc32.h"
#include "decode/InflateFast.h"

namespace {

constexpr int kDefaultRounds = 5;
constexpr int kZipDefaultLevel = 6;
constexpr double kMega = 1e6;

std::string ReadFile(const char* path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

std::uint32_t Engine(const std::string& in, std::size_t size) {
  static unzip::TDecodeState s;
  static unzip::TFastInflater decoder;
  bench::EngineIO<true> io(s, in);
  s.io = &io;
  s.StartEntry(static_cast<std::int64_t>(in.size()), static_cast<std::int64_t>(size));
  if (decoder.Inflate(s) != unzip::TDecodeResult::Ok) return 0;
  return ~io.crc;
}

std::uint32_t Zlib(const std::string& in, std::size_t) {
  static std::vector<unsigned char> out(unzip::kChunkSize);
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  std::uint32_t crc = unzip::kCrcPreset;
  int r = Z_OK;
  while (r == Z_OK) {
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    r = inflate(&z, Z_NO_FLUSH);
    crc = unzip::UpdateCrc32(crc, out.data(), out.size() - z.avail_out);
  }
  inflateEnd(&z);
  return r == Z_STREAM_END ? ~crc : 0;
}

std::uint32_t Libdeflate(const std::string& in, std::size_t size) {
  static libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  std::vector<unsigned char> out(size);
  if (libdeflate_deflate_decompress(d, in.data(), in.size(), out.data(), size, nullptr) != LIBDEFLATE_SUCCESS) return 0;
  return ~unzip::UpdateCrc32(unzip::kCrcPreset, out.data(), size);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = kDefaultRounds;
  int first = 1;
  if (argc > 2 && std::strcmp(argv[1], "-r") == 0) {
    rounds = std::atoi(argv[2]);
    first = 3;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: bench_unzip_inflate_race [-r ROUNDS] FILE...\n");
    return 2;
  }
  struct Contender {
    const char* name;
    std::function<std::uint32_t(const std::string&, std::size_t)> run;
  };
  const Contender contenders[] = {{"TFastInflater", Engine},
                                  {"zlib, 32 KiB chunks", Zlib},
                                  {"libdeflate, whole buffer", Libdeflate}};
  std::printf("%-28s %-26s %10s %10s\n", "file", "decoder", "MB/s", "time/libdeflate");
  for (int f = first; f < argc; ++f) {
    const std::string data = ReadFile(argv[f]);
    const std::string packed = bench::RawDeflate(data, kZipDefaultLevel);
    const auto expected = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                                                           static_cast<uInt>(data.size())));
    std::vector<double> best;
    for (const Contender& c : contenders) {
      double t = 1e30;
      for (int r = 0; r < rounds; ++r) {
        const std::clock_t start = std::clock();
        const std::uint32_t crc = c.run(packed, data.size());
        t = std::min(t, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        if (crc != expected) {
          std::fprintf(stderr, "%s: %s decoded wrongly\n", argv[f], c.name);
          return 1;
        }
      }
      best.push_back(t);
    }
    const char* base = std::strrchr(argv[f], '/') ? std::strrchr(argv[f], '/') + 1 : argv[f];
    for (std::size_t i = 0; i < best.size(); ++i)
      std::printf("%-28s %-26s %10.0f %10.2f\n", i == 0 ? base : "", contenders[i].name,
                  static_cast<double>(data.size()) / best[i] / kMega, best[i] / best.back());
  }
  return 0;
}
