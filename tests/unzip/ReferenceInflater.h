// A second deflate and Deflate64 decoder, for the tests: it streams through a
// window as the classic decoders do, with the engine's rules (DeflateCodes.h),
// so that the engine's decoder must give the same verdict and the same bytes
// on every stream, also where zlib, which reads no Deflate64, cannot judge.
#pragma once
#include <cstdint>
#include <memory>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"
#include "decode/DecodeTable.h"
#include "decode/DeflateCodes.h"

namespace unzip {

class TReferenceInflater {
 public:
  explicit TReferenceInflater(TInflateVariant variant = TInflateVariant::Deflate);

  // Decodes one entry from the state's input into its work-area window and
  // output buffer; ends with the output flushed unless the data is bad. Every
  // exception but EUserCanceled raised while decoding counts as bad data.
  TDecodeResult Inflate(TDecodeState& s);

 private:
  // Table space: the proven worst cases of a deflate code with 9 and 6 lookup
  // bits are 852 and 592 entries.
  static constexpr unsigned kLitTableSize = 852;
  static constexpr unsigned kDistTableSize = 592;
  // Deflate64's 32 distance codes: the root and at most one deeper level of
  // 2^9 entries for each code longer than the root, as the engine allows.
  static constexpr unsigned kDistTableSize64 = 64 + 32 * 512;

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
  TDecodeEntry dist_[kDistTableSize64];
  const unsigned distCapacity_;
};

}  // namespace unzip
