// A reference for `unzipper test`: tests a zip archive's entries with
// libdeflate, each decoded into one buffer and its CRC taken by libdeflate.
//   bench_unzip_libdeflate_test ARCHIVE
#include <libdeflate.h>

#include "PeerTester.h"

namespace {

libdeflate_decompressor* const decompressor = libdeflate_alloc_decompressor();

std::uint32_t Crc(const std::uint8_t* data, std::size_t n) { return libdeflate_crc32(0, data, n); }

bool Inflate(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out, std::size_t size,
             std::uint32_t& crc) {
  if (libdeflate_deflate_decompress(decompressor, packed, packedSize, out, size, nullptr) != LIBDEFLATE_SUCCESS)
    return false;
  crc = Crc(out, size);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::TestArchive(argc, argv, "bench_unzip_libdeflate_test", Inflate, Crc);
}
