// Raw inflate throughput on the files named on the command line, all decoders
// in one process: each file is deflated once by zlib at level 6 (zip's
// default), then decoded by the engine's decoder, by zlib in 32 KiB chunks,
// and by libdeflate and ISA-L each into one buffer (allocated and touched
// before the clock starts, as their fastest use has it). Every decoder's
// output goes through the same CRC-32, as an extraction's would. The best of
// several rounds counts, as processor time and as wall time; the figures are
// MB/s of output and each one's processor time over that of the faster of
// libdeflate and ISA-L.
//   bench_unzip_inflate_race [-r ROUNDS] FILE...
#include <isa-l/igzip_lib.h>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
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

// The whole-buffer decoders' output, sized for the file before timing.
std::vector<unsigned char> whole;

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
  if (libdeflate_deflate_decompress(d, in.data(), in.size(), whole.data(), size, nullptr) != LIBDEFLATE_SUCCESS)
    return 0;
  return ~unzip::UpdateCrc32(unzip::kCrcPreset, whole.data(), size);
}

std::uint32_t Isal(const std::string& in, std::size_t size) {
  inflate_state state;
  isal_inflate_init(&state);
  state.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(in.data()));
  state.avail_in = static_cast<std::uint32_t>(in.size());
  state.next_out = whole.data();
  state.avail_out = static_cast<std::uint32_t>(size);
  const int r = isal_inflate_stateless(&state);
  if ((r != ISAL_DECOMP_OK && r != ISAL_END_INPUT) || state.total_out != size) return 0;
  return ~unzip::UpdateCrc32(unzip::kCrcPreset, whole.data(), size);
}

struct Contender {
  const char* name;
  std::uint32_t (*run)(const std::string&, std::size_t);
};
constexpr Contender kContenders[] = {{"TFastInflater", Engine},
                                     {"zlib, 32 KiB chunks", Zlib},
                                     {"libdeflate, whole buffer", Libdeflate},
                                     {"ISA-L, whole buffer", Isal}};
constexpr std::size_t kFirstPeer = 2;  // the peers the engine is measured against

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
  std::printf("%-16s %-26s %8s %8s %8s %8s\n", "file", "decoder", "cpu ms", "wall ms", "MB/s", "cpu/peer");
  for (int f = first; f < argc; ++f) {
    const std::string data = ReadFile(argv[f]);
    const std::string packed = bench::RawDeflate(data, kZipDefaultLevel);
    const auto expected = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                                                           static_cast<uInt>(data.size())));
    whole.assign(data.size(), 0);
    std::vector<double> cpu;
    std::vector<double> wall;
    for (const Contender& c : kContenders) {
      double bestCpu = 1e30;
      double bestWall = 1e30;
      for (int r = 0; r < rounds; ++r) {
        const std::clock_t start = std::clock();
        const auto wallStart = std::chrono::steady_clock::now();
        const std::uint32_t crc = c.run(packed, data.size());
        bestWall = std::min(bestWall, std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count());
        bestCpu = std::min(bestCpu, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        if (crc != expected) {
          std::fprintf(stderr, "%s: %s decoded wrongly\n", argv[f], c.name);
          return 1;
        }
      }
      cpu.push_back(bestCpu);
      wall.push_back(bestWall);
    }
    const double peer = *std::min_element(cpu.begin() + kFirstPeer, cpu.end());
    const char* base = std::strrchr(argv[f], '/') ? std::strrchr(argv[f], '/') + 1 : argv[f];
    for (std::size_t i = 0; i < cpu.size(); ++i)
      std::printf("%-16s %-26s %8.1f %8.1f %8.0f %8.2f\n", i == 0 ? base : "", kContenders[i].name, cpu[i] * 1e3,
                  wall[i] * 1e3, static_cast<double>(data.size()) / cpu[i] / kMega, cpu[i] / peer);
  }
  return 0;
}
