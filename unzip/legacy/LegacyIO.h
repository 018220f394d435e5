// Helpers shared by the legacy decoders: bit input over the shared bit buffer,
// byte output, and the circular window of reduce and implode.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/DecodeState.h"

namespace unzip {

// The fill loop tops the shared bit buffer up while it holds fewer bits than
// this, so one more byte still fits into its 32 bits.
inline constexpr unsigned kBitFillLimit = 25;

// Takes `k` bits (k <= 16), least significant first, from the shared bit
// buffer. A fill that obtains no byte at all leaves the end-of-input flag set;
// the request then takes its bits whatever the fill achieved.
inline unsigned ReadBits(TDecodeState& s, unsigned k) {
  if (s.bitCount < k) {
    s.endOfInput = true;
    std::uint8_t b;
    while (s.bitCount < kBitFillLimit && s.ReadByte(b)) {
      s.bitBuf |= std::uint32_t(b) << s.bitCount;
      s.bitCount = std::uint16_t(s.bitCount + 8);
      s.endOfInput = false;
    }
  }
  const unsigned v = s.bitBuf & ((1u << k) - 1);
  s.bitBuf >>= k;
  s.bitCount = std::uint16_t(s.bitCount > k ? s.bitCount - k : 0);
  return v;
}

// Passes what the output buffer holds to the destination.
inline void FinishOutput(TDecodeState& s) {
  if (s.outCount > 0) s.io->FlushOutput();
}

// Appends `n` bytes to the output buffer, flushing each time it fills.
inline void OutputBytes(TDecodeState& s, const std::uint8_t* p, std::uint32_t n) {
  while (n > 0) {
    const std::uint32_t piece = std::min(n, kChunkSize - s.outCount);
    std::memcpy(s.outPtr, p, piece);
    s.outPtr += piece;
    s.outCount += piece;
    p += piece;
    n -= piece;
    if (s.outCount == kChunkSize) s.io->FlushOutput();
  }
}

// The circular window at the start of the work area; `size` is a power of two.
// Whenever it fills, its bytes go to the output buffer and it starts over.
class TLegacyWindow {
 public:
  TLegacyWindow(TDecodeState& s, std::uint32_t size)
      : s_(s), win_(s.workArea.get()), size_(size) {}

  void Put(std::uint8_t b) {
    win_[pos_] = b;
    if (++pos_ == size_) Wrap();
  }

  // Copies `len` bytes from `dist` bytes back, in pieces bounded by the window
  // end. Until the window has wrapped, a source at or after the destination
  // lies before the entry's first byte and reads as zeros.
  void Copy(std::uint32_t dist, std::uint32_t len) {
    const std::uint32_t mask = size_ - 1;
    std::uint32_t src = (pos_ - dist) & mask;
    while (len > 0) {
      const std::uint32_t piece = std::min(len, size_ - std::max(src, pos_));
      std::uint8_t* to = win_ + pos_;
      const std::uint8_t* from = win_ + src;
      if (!wrapped_ && src >= pos_) {
        std::memset(to, 0, piece);
      } else if ((pos_ > src ? pos_ - src : src - pos_) < piece) {
        for (std::uint32_t i = 0; i < piece; ++i) to[i] = from[i];
      } else {
        std::memcpy(to, from, piece);
      }
      src = (src + piece) & mask;
      len -= piece;
      pos_ += piece;
      if (pos_ == size_) Wrap();
    }
  }

  // Flushes the window's pending bytes and the output buffer.
  void Finish() {
    s_.FlushWindow(pos_);
    FinishOutput(s_);
  }

 private:
  void Wrap() {
    s_.FlushWindow(size_);
    pos_ = 0;
    wrapped_ = true;
  }

  TDecodeState& s_;
  std::uint8_t* win_;
  std::uint32_t size_;
  std::uint32_t pos_ = 0;
  bool wrapped_ = false;
};

}  // namespace unzip
