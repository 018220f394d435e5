// A reference for `unzipper test`: tests a zip archive's entries with Intel's
// ISA-L, each decoded into one buffer in one stateless call that takes the
// CRC-32 as it goes.
//   bench_unzip_isal_test ARCHIVE
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include "PeerTester.h"

namespace {

std::uint32_t Crc(const std::uint8_t* data, std::size_t n) { return crc32_gzip_refl(0, data, n); }

bool Inflate(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out, std::size_t size,
             std::uint32_t& crc) {
  inflate_state state;
  isal_inflate_init(&state);
  state.next_in = const_cast<std::uint8_t*>(packed);
  state.avail_in = static_cast<std::uint32_t>(packedSize);
  state.next_out = out;
  state.avail_out = static_cast<std::uint32_t>(size);
  state.crc_flag = ISAL_GZIP_NO_HDR;  // raw deflate, and the gzip (zip) CRC of the output
  const int r = isal_inflate_stateless(&state);
  crc = state.crc;
  return (r == ISAL_DECOMP_OK || r == ISAL_END_INPUT) && state.total_out == size;
}

}  // namespace

int main(int argc, char** argv) { return bench::TestArchive(argc, argv, "bench_unzip_isal_test", Inflate, Crc); }
