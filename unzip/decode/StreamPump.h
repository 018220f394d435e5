// Drives a library decoder (bzip2, LZMA, XZ, Zstandard) over the run's input
// and output buffers, so that it streams in bounded memory like the engine's
// own decoders and every output byte passes the driver's size check and CRC.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"

namespace unzip {

// Largest dictionary or window a stream may ask for; larger ones are refused
// (or, where the format allows, cut to the entry's size) before anything is
// allocated.
inline constexpr std::uint64_t kMaxDictionaryBytes = std::uint64_t{256} << 20;

// Runs `step(in, inAvail, out, outAvail, inputEnded)` until the stream ends.
// The step advances `in` and `out` and lowers the counts by what it used, and
// returns nothing while the stream goes on, Ok at its end, else its verdict.
template <class Step>
TDecodeResult PumpStream(TDecodeState& s, Step&& step) {
  bool inputEnded = false;
  for (;;) {
    if (s.inCount == 0 && !inputEnded) {
      if (s.io->FillInput() && s.inCount > 0) {
        s.inPtr = s.inBuf.get();
      } else {
        s.inCount = 0;
        inputEnded = true;
      }
    }
    const std::uint8_t* in = s.inPtr;
    std::size_t inAvail = s.inCount;
    std::uint8_t* out = s.outPtr;
    std::size_t outAvail = kChunkSize - s.outCount;
    const std::optional<TDecodeResult> r = step(in, inAvail, out, outAvail, inputEnded);
    const auto used = static_cast<std::uint32_t>(s.inCount - inAvail);
    const auto made = static_cast<std::uint32_t>(out - s.outPtr);
    s.inPtr += used;
    s.inCount -= used;
    s.compressedLeft -= static_cast<std::int32_t>(used);
    s.outPtr = out;
    s.outCount += made;
    if (r == TDecodeResult::Ok) s.io->FlushOutput();
    if (r) return *r;
    if (s.outCount == kChunkSize) {
      s.io->FlushOutput();
    } else if (used == 0 && made == 0 && (inputEnded || s.inCount > 0)) {
      // Neither input taken nor output made with room for both: the stream
      // was cut short.
      return TDecodeResult::BadData;
    }
  }
}

}  // namespace unzip
