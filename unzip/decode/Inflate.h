// The streaming deflate decoder (RFC 1951), which also reads Deflate64, and
// the lookup-table builder both deflate decoders share.
#pragma once
#include <cstdint>
#include <memory>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"

namespace unzip {

// One lookup-table entry: what the code means, how many bits it takes at this
// level, and a value (literal, base, or the offset of a deeper level).
struct TDecodeEntry {
  std::uint8_t kind;
  std::uint8_t bits;
  std::uint16_t value;
};

// Entry kinds. A base carries its extra-bit count (up to Deflate64's 16) in the
// low five bits, a link the index width of the level it leads to.
inline constexpr std::uint8_t kKindLiteral = 0x00;
inline constexpr std::uint8_t kKindBase = 0x20;
inline constexpr std::uint8_t kKindLink = 0x40;
inline constexpr std::uint8_t kKindEndOfBlock = 0x80;
inline constexpr std::uint8_t kKindInvalid = 0x81;
inline constexpr std::uint8_t kKindLowBits = 0x1F;

// Longest code the builder accepts.
inline constexpr unsigned kMaxCodeBits = 16;

// Builds a multi-level table for the canonical code given by `lengths` (0 = the
// symbol is unused). `symbols[i]` gives symbol i's kind and value. The first
// level has `lookupBits` index bits, lowered to the longest code and raised to
// the shortest; `rootBits` returns the width used. A set whose longest code is
// one bit may be incomplete; unused slots decode as invalid. An incomplete
// code is bad data, an over-subscribed one a bad block.
TDecodeResult BuildDecodeTable(const std::uint8_t* lengths, unsigned count, const TDecodeEntry* symbols,
                     unsigned lookupBits, TDecodeEntry* table, unsigned capacity, unsigned& rootBits);

// Deflate64 (method 9) is deflate with a 64 KiB window, length code 285 taking
// 16 extra bits and distance codes 30 and 31; one decoder serves both.
enum class TInflateVariant { Deflate, Deflate64 };

// The deflate alphabets as BuildDecodeTable takes them: each symbol's kind and
// value (literal, length or distance base with its extra bits, end of block).
struct TDeflateAlphabets {
  const TDecodeEntry* literals;
  const TDecodeEntry* distances;
  const TDecodeEntry* lengths;  // the code-length code's symbols, as themselves
};
TDeflateAlphabets DeflateAlphabets();

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
