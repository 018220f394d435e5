// The streaming deflate decoder (RFC 1951), which also reads Deflate64.
#pragma once
#include <cstdint>
#include <memory>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"
#include "decode/DecodeTable.h"
#include "decode/DeflateCodes.h"

namespace unzip {

class TInflater {
 public:
  explicit TInflater(TInflateVariant variant = TInflateVariant::Deflate);

  // Decodes one entry from the state's input into its work-area window and
  // output buffer; ends with the output flushed unless the data is bad. Every
  // exception but EUserCanceled raised while decoding counts as bad data.
  TDecodeResult Inflate(TDecodeState& s);

 private:
  // Table space: the proven worst cases of a deflate code with 9 and 6 lookup
  // bits are 852 and 592 entries.
  static constexpr unsigned kLitTableSize = 852;
  static constexpr unsigned kDistTableSize = 592;

  TDecodeResult Blocks();
  TDecodeResult StoredBlock();
  TDecodeResult FixedBlock();
  TDecodeResult DynamicBlock();
  TDecodeResult Codes(unsigned litBits, unsigned distBits);
  bool Refill();
  bool PadByte();
  void Drop(unsigned n) {
    bits_ >>= n;
    nbits_ -= n;
  }
  void PutByte(std::uint8_t b) {
    window_[wp_++] = b;
    if (wp_ == windowSize_) WrapWindow();
  }
  void WrapWindow();

  const TInflateVariant variant_;
  // Deflate64's window; deflate uses the run's work area.
  std::unique_ptr<std::uint8_t[]> ownWindow_;
  std::uint32_t windowSize_ = kWindowSize;
  TDecodeState* s_ = nullptr;
  std::uint8_t* window_ = nullptr;
  std::uint32_t wp_ = 0;
  bool windowFull_ = false;
  std::uint64_t bits_ = 0;
  unsigned nbits_ = 0;
  unsigned padBytes_ = 0;
  TDecodeEntry lit_[kLitTableSize];
  TDecodeEntry dist_[kDistTableSize];
};

}  // namespace unzip
