// Feeds a fuzz input to a decoder as one entry's compressed data, and accepts
// its output up to a limit, as the driver's stated-size check would.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/DecodeState.h"
#include "unzip/ZipErrors.h"

namespace fuzzing {

inline constexpr std::size_t kOutputLimit = 1 << 22;

class FuzzIO : public unzip::TDecodeIO {
 public:
  FuzzIO(unzip::TDecodeState& s, const std::uint8_t* data, std::size_t size) : s_(s), data_(data), size_(size) {}
  bool FillInput() override {
    const std::size_t n = std::min<std::size_t>(unzip::kChunkSize, size_ - pos_);
    std::memcpy(s_.inBuf.get(), data_ + pos_, n);
    pos_ += n;
    s_.inCount = static_cast<std::uint32_t>(n);
    return n > 0;
  }
  void FlushOutput() override {
    written_ += s_.outCount;
    if (written_ > kOutputLimit) throw unzip::EBiggerThanUncompressed("limit");
    s_.outCount = 0;
    s_.outPtr = s_.outBuf.get();
  }

 protected:
  unzip::TDecodeState& s_;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t written_ = 0;
};

}  // namespace fuzzing
