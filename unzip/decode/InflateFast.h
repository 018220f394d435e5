// The deflate decoder (RFC 1951), for deflate and Deflate64 (method 9: a 64
// KiB window, length code 285 with 16 extra bits, distance codes 30 and 31).
// It decodes an entry straight into a large output buffer (the whole entry
// when its declared size fits, else a sliding buffer that keeps the window's
// worth of history), with a 64-bit bit buffer, two-literal table entries and
// word-sized match copies. A stream is good or bad by the rules of
// DeflateCodes.h, and no byte past the entry's declared size is produced.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"
#include "decode/DecodeTable.h"
#include "decode/DeflateCodes.h"

namespace unzip {

class TFastInflater {
 public:
  explicit TFastInflater(TInflateVariant variant = TInflateVariant::Deflate);
  TFastInflater(const TFastInflater&) = delete;
  TFastInflater& operator=(const TFastInflater&) = delete;

  // Decodes one entry: reads through the state's FillInput, passes the output
  // on through Hold in 32 KiB pieces counted from the entry's start, all of
  // them released on return, and turns every exception but EUserCanceled into
  // bad data.
  TDecodeResult Inflate(TDecodeState& s);

  // Bytes of output decoded between two slides of the buffer; an entry up
  // to this size (and the buffer's 64 KiB of slack) is decoded in one piece.
  static constexpr std::uint32_t kSpan = 1u << 20;

 private:
  // Lookup widths: 11 bits resolve most literal/length codes, and two short
  // literals together, in one access; 8 bits for distances.
  static constexpr unsigned kLitRootBits = 11;
  static constexpr unsigned kDistRootBits = 8;
  // Worst-case table sizes of a deflate code with these root widths (all
  // length sets of 286 and 30 symbols up to 15 bits).
  static constexpr unsigned kLitEnough = 2342;
  static constexpr unsigned kDistEnough = 402;
  // Deflate64's 32 distance codes: the root and at most one deeper level of
  // 2^7 entries for each code longer than the root.
  static constexpr unsigned kDistEnough64 = (1u << kDistRootBits) + 32 * (1u << (15 - kDistRootBits));

  struct Tables {
    std::uint32_t lit[kLitEnough];
    std::uint32_t dist[kDistEnough64];
  };

  TDecodeResult Blocks();
  TDecodeResult StoredBlock();
  TDecodeResult DynamicBlock();
  TDecodeResult BuildTables(const std::uint8_t* litLengths, unsigned nlit, const std::uint8_t* distLengths,
                            unsigned ndist, Tables& t);
  static void PairLiterals(const std::uint8_t* litLengths, const TCodeShape& shape, Tables& t);
  template <bool k64>
  TDecodeResult Codes(const Tables& t);
  // Nothing while the block goes on.
  template <bool k64>
  std::optional<TDecodeResult> FastLoop(const Tables& t);
  template <bool k64>
  std::optional<TDecodeResult> SlowSymbol(const Tables& t);
  std::optional<TDecodeResult> CopyMatch(unsigned len, unsigned dist);
  bool NeedBits();
  bool FillStage();
  void Drop(unsigned n) {
    bits_ >>= n;
    nbits_ -= n;
  }
  std::uint32_t Overrun() const { return padBytes_ * 8 > nbits_ ? padBytes_ * 8 - nbits_ : 0; }
  // Makes room for `n` more bytes at out_: slides the buffer when the entry
  // goes on past it; false when the entry's declared size is reached.
  bool Room(std::uint32_t n);
  void Slide();
  void SetLimit();
  void DeliverUpTo(std::uint64_t upTo);
  // Waits for everything held, without throwing: the buffers are ours again.
  void Drain();

  const TInflateVariant variant_;
  const std::uint32_t history_;
  const std::uint32_t bufferSize_;
  TDecodeState* s_ = nullptr;
  // Output: buf_ holds history and decoded bytes; `base_` bytes of the entry
  // lie before buf_[0]. A slide goes on in spare_ (made at the first one),
  // so that what was passed on from buf_ may still be in use meanwhile; the
  // spare's own pieces, all before `spareHeld_`, are released first.
  std::unique_ptr<std::uint8_t[]> buf_;
  std::unique_ptr<std::uint8_t[]> spare_;
  std::uint64_t spareHeld_ = 0;
  std::uint8_t* out_ = nullptr;
  std::uint8_t* limit_ = nullptr;  // end of what may be written now
  std::uint64_t base_ = 0;
  std::uint64_t declared_ = 0;
  std::uint64_t delivered_ = 0;
  // Input: a staging copy of the unread compressed bytes.
  std::unique_ptr<std::uint8_t[]> stage_;
  const std::uint8_t* in_ = nullptr;
  const std::uint8_t* inEnd_ = nullptr;
  bool inputDone_ = false;
  std::uint64_t bits_ = 0;
  unsigned nbits_ = 0;
  std::uint32_t padBytes_ = 0;
  std::uint8_t lastByte_ = 0;

  // Each symbol's table entry but for its code length (InflateFast.cpp).
  std::uint32_t litSymbols_[kLitSymbols];
  std::uint32_t distSymbols_[kDistSymbols];
  std::unique_ptr<Tables> dynamic_;
  std::unique_ptr<Tables> fixed_;
  bool fixedBuilt_ = false;
};

}  // namespace unzip
