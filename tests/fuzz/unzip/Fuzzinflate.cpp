// Feeds arbitrary bytes to the deflate decoder as one entry's compressed data.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Inflate.h"
#include "ZipErrors.h"

namespace {

// Output accepted per input, as the driver's stated-size check would.
constexpr std::size_t kOutputLimit = 1 << 22;

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

 private:
  unzip::TDecodeState& s_;
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t written_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static unzip::TDecodeState state;
  static unzip::TInflater inflater;
  FuzzIO io(state, data, size);
  state.io = &io;
  state.StartEntry(static_cast<std::int64_t>(size), static_cast<std::int64_t>(kOutputLimit));
  inflater.Inflate(state);
  return 0;
}
