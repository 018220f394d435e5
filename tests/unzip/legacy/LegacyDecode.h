// Drives a legacy decoder over in-memory data the way the extraction driver
// does: per-entry reset, 32 KiB input chunks, output checked against the
// declared size and run through the CRC-32.
#pragma once
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "core/Crc32.h"
#include "core/DecodeState.h"
#include "legacy/LegacyDecoders.h"
#include "platform/Exception.h"

namespace legacytest {

// What the driver raises when an entry outgrows its declared size.
class EOversize : public platform::Exception {
 public:
  EOversize() : platform::Exception("File is larger than uncompressed size!") {}
};

class TMemoryIO : public unzip::TDecodeIO {
 public:
  TMemoryIO(unzip::TDecodeState& s, std::span<const std::uint8_t> input, std::size_t chunk)
      : s_(s), input_(input), chunk_(chunk) {}

  bool FillInput() override {
    const std::size_t n = std::min(chunk_, input_.size() - read_);
    if (n == 0) return false;
    std::memcpy(s_.inBuf.get(), input_.data() + read_, n);
    read_ += n;
    s_.inCount = std::uint32_t(n);
    return true;
  }

  void FlushOutput() override {
    if (s_.outCount == 0) return;
    if (std::int64_t(output.size()) + s_.outCount > s_.uncompressedSize) throw EOversize();
    output.insert(output.end(), s_.outBuf.get(), s_.outBuf.get() + s_.outCount);
    crc = unzip::UpdateCrc32(crc, s_.outBuf.get(), s_.outCount);
    s_.bytesWritten += s_.outCount;
    ++flushes;
    s_.outCount = 0;
    s_.outPtr = s_.outBuf.get();
  }

  std::vector<std::uint8_t> output;
  std::uint32_t crc = unzip::kCrcPreset;
  int flushes = 0;

 private:
  unzip::TDecodeState& s_;
  std::span<const std::uint8_t> input_;
  std::size_t read_ = 0;
  std::size_t chunk_;
};

struct TDecoded {
  std::vector<std::uint8_t> output;
  std::uint32_t crc;  // complemented, as compared with the stored CRC
  unzip::TDecodeResult result;
  bool ok;  // the decoder finished without reporting bad data
  int flushes;
};

inline std::uint32_t Crc32Of(std::span<const std::uint8_t> data) {
  return ~unzip::UpdateCrc32(unzip::kCrcPreset, data.data(), data.size());
}

// `method` is the zip method (1 to 6); `flags` the general-purpose flags.
inline TDecoded Decode(unzip::TDecodeState& s, int method, std::uint16_t flags,
                       std::span<const std::uint8_t> compressed, std::int64_t uncompressedSize,
                       std::size_t chunk = unzip::kChunkSize, std::int64_t compressedSize = -1) {
  TMemoryIO io(s, compressed, chunk);
  s.io = &io;
  s.StartEntry(compressedSize < 0 ? std::int64_t(compressed.size()) : compressedSize, uncompressedSize);
  unzip::TDecodeResult result = unzip::TDecodeResult::BadData;
  if (method == 1) {
    result = unzip::UnShrink(s);
  } else if (method >= 2 && method <= 5) {
    result = unzip::UnReduce(s, method - 1);
  } else if (method == 6) {
    result = unzip::Explode(s, flags);
  }
  s.io = nullptr;
  return {std::move(io.output), ~io.crc, result, unzip::Sound(result), io.flushes};
}

}  // namespace legacytest
