// Zstandard entries (method 93, and 20 from early writers): one or more
// frames, read through libzstd.
#include <zstd.h>
#include <zstd_errors.h>

#include "decode/LibraryDecoders.h"
#include "decode/StreamPump.h"

namespace unzip {
namespace {

// Frames asking for a window past the engine's dictionary limit are refused
// before the window is allocated.
constexpr int kMaxWindowLog = 28;
static_assert((std::uint64_t{1} << kMaxWindowLog) == kMaxDictionaryBytes);

// Owns the library's state for one entry, whatever leaves the decoder.
class ZstdStream {
 public:
  ZstdStream() : z_(ZSTD_createDStream()) {}
  ~ZstdStream() { ZSTD_freeDStream(z_); }
  ZstdStream(const ZstdStream&) = delete;
  ZstdStream& operator=(const ZstdStream&) = delete;
  ZSTD_DStream* z() { return z_; }

 private:
  ZSTD_DStream* z_;
};

}  // namespace

TDecodeResult UnZstd(TDecodeState& s) {
  ZstdStream stream;
  if (!stream.z() || ZSTD_isError(ZSTD_DCtx_setParameter(stream.z(), ZSTD_d_windowLogMax, kMaxWindowLog)))
    return TDecodeResult::NoMemory;
  // 0 once a frame is complete and flushed; the entry may hold further frames.
  std::size_t pending = 1;
  return PumpStream(s, [&](const std::uint8_t*& in, std::size_t& inAvail, std::uint8_t*& out, std::size_t& outAvail,
                           bool inputEnded) -> std::optional<TDecodeResult> {
    // The stream must end between frames; a frame cut short makes no
    // progress here and the pump calls it bad data.
    if (inAvail == 0 && inputEnded && pending == 0) return TDecodeResult::Ok;
    ZSTD_inBuffer input{in, inAvail, 0};
    ZSTD_outBuffer output{out, outAvail, 0};
    pending = ZSTD_decompressStream(stream.z(), &output, &input);
    in += input.pos;
    inAvail -= input.pos;
    out += output.pos;
    outAvail -= output.pos;
    if (ZSTD_isError(pending)) {
      const ZSTD_ErrorCode code = ZSTD_getErrorCode(pending);
      return code == ZSTD_error_memory_allocation || code == ZSTD_error_frameParameter_windowTooLarge
                 ? TDecodeResult::NoMemory
                 : TDecodeResult::BadData;
    }
    return std::nullopt;
  });
}

}  // namespace unzip
