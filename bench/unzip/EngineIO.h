// Feeds compressed bytes to one of the engine's decoders in the driver's
// 32 KiB chunks and takes its output, as the inflate benchmarks need it:
// passed through the CRC-32 as an extraction's is, or only counted.
#pragma once
#include <algorithm>
#include <cstring>
#include <string>

#include "core/Crc32.h"
#include "core/DecodeState.h"

namespace bench {

template <bool kCrc>
class EngineIO : public unzip::TDecodeIO {
 public:
  EngineIO(unzip::TDecodeState& s, const std::string& in) : s_(s), in_(in) {}
  bool FillInput() override {
    s_.inCount = FillInputAt(s_, s_.inBuf.get());
    return s_.inCount > 0;
  }
  // One copy per chunk, as reading a file is.
  std::uint32_t FillInputAt(unzip::TDecodeState&, std::uint8_t* to) override {
    const std::size_t n = std::min<std::size_t>(unzip::kChunkSize, in_.size() - pos_);
    std::memcpy(to, in_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::uint32_t>(n);
  }
  void FlushOutput() override { Deliver(s_, s_.outBuf.get(), s_.outCount); }
  void Deliver(unzip::TDecodeState& s, const std::uint8_t* data, std::uint32_t n) override {
    if constexpr (kCrc) crc = unzip::UpdateCrc32(crc, data, n);
    written += n;
    s.outCount = 0;
    s.outPtr = s.outBuf.get();
  }
  std::uint32_t crc = unzip::kCrcPreset;
  std::size_t written = 0;

 private:
  unzip::TDecodeState& s_;
  const std::string& in_;
  std::size_t pos_ = 0;
};

}  // namespace bench
