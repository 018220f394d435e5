// The reference for `unzipper test`: tests a zip archive's deflated and stored
// entries with libdeflate (each entry decoded into one buffer, then its CRC
// checked), walking the local headers in order. Reads archives whose local
// headers carry the sizes, as zip writes them for files.
//   bench_unzip_libdeflate_test ARCHIVE
#include <libdeflate.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr unsigned kStored = 0;
constexpr unsigned kDeflated = 8;

std::uint32_t Get(const unsigned char* p, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_unzip_libdeflate_test ARCHIVE\n");
    return 2;
  }
  std::ifstream f(argv[1], std::ios::binary);
  const std::string zip(std::istreambuf_iterator<char>(f), {});
  const auto* z = reinterpret_cast<const unsigned char*>(zip.data());
  libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  std::vector<unsigned char> out;
  int bad = 0;
  std::size_t at = 0;
  while (at + kLocalHeaderSize <= zip.size() && Get(z + at, 4) == kLocalSignature) {
    const unsigned method = Get(z + at + 8, 2);
    const std::uint32_t crc = Get(z + at + 14, 4);
    const std::size_t packed = Get(z + at + 18, 4);
    const std::size_t size = Get(z + at + 22, 4);
    const std::size_t data = at + kLocalHeaderSize + Get(z + at + 26, 2) + Get(z + at + 28, 2);
    if (data + packed > zip.size()) return 2;
    out.resize(size);
    bool ok = false;
    if (method == kDeflated) {
      ok = libdeflate_deflate_decompress(d, z + data, packed, out.data(), size, nullptr) == LIBDEFLATE_SUCCESS;
    } else if (method == kStored && packed == size) {
      std::memcpy(out.data(), z + data, size);
      ok = true;
    }
    if (!ok || libdeflate_crc32(0, out.data(), size) != crc) ++bad;
    at = data + packed;
  }
  libdeflate_free_decompressor(d);
  if (bad) std::fprintf(stderr, "%d bad entries\n", bad);
  return bad ? 1 : 0;
}
