// bzip2 entries (method 12): a complete bzip2 stream, read through libbz2.
#include <bzlib.h>

#include <climits>

#include "decode/LibraryDecoders.h"
#include "decode/StreamPump.h"

namespace unzip {
namespace {

// Owns the library's state for one entry, whatever leaves the decoder.
class Bzip2Stream {
 public:
  Bzip2Stream() { ok_ = BZ2_bzDecompressInit(&z_, 0, 0) == BZ_OK; }
  ~Bzip2Stream() {
    if (ok_) BZ2_bzDecompressEnd(&z_);
  }
  Bzip2Stream(const Bzip2Stream&) = delete;
  Bzip2Stream& operator=(const Bzip2Stream&) = delete;
  bool Ok() const { return ok_; }
  bz_stream& z() { return z_; }

 private:
  bz_stream z_{};
  bool ok_ = false;
};

}  // namespace

TDecodeResult UnBzip2(TDecodeState& s) {
  Bzip2Stream stream;
  if (!stream.Ok()) return TDecodeResult::NoMemory;
  bz_stream& z = stream.z();
  return PumpStream(s, [&](const std::uint8_t*& in, std::size_t& inAvail, std::uint8_t*& out, std::size_t& outAvail,
                           bool) -> std::optional<TDecodeResult> {
    // Chunks never exceed the 32 KiB buffers, far below the library's unsigned int counts.
    z.next_in = const_cast<char*>(reinterpret_cast<const char*>(in));
    z.avail_in = static_cast<unsigned>(inAvail);
    z.next_out = reinterpret_cast<char*>(out);
    z.avail_out = static_cast<unsigned>(outAvail);
    const int r = BZ2_bzDecompress(&z);
    in = reinterpret_cast<const std::uint8_t*>(z.next_in);
    inAvail = z.avail_in;
    out = reinterpret_cast<std::uint8_t*>(z.next_out);
    outAvail = z.avail_out;
    switch (r) {
      case BZ_OK: return std::nullopt;
      case BZ_STREAM_END: return TDecodeResult::Ok;
      case BZ_MEM_ERROR: return TDecodeResult::NoMemory;
      default: return TDecodeResult::BadData;
    }
  });
}

}  // namespace unzip
