// The fast deflate decoder: decodes an entry straight into a large output
// buffer (the whole entry when its declared size fits, else a sliding buffer
// that keeps the last 32 KiB as history), with a 64-bit bit buffer, two-literal
// table entries and word-sized match copies. Its verdicts equal TInflater's on
// every stream: the same data is good or bad on both, and no byte past the
// entry's declared size is ever produced.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"
#include "decode/DecodeTable.h"

namespace unzip {

class TFastInflater {
 public:
  TFastInflater();
  TFastInflater(const TFastInflater&) = delete;
  TFastInflater& operator=(const TFastInflater&) = delete;

  // Same contract as TInflater::Inflate: reads through the state's FillInput,
  // passes the output on through Hold in 32 KiB pieces counted from the
  // entry's start, all of them released on return, and turns every exception
  // but EUserCanceled into bad data.
  TDecodeResult Inflate(TDecodeState& s);

  // Bytes of output decoded between two slides of the buffer; an entry up
  // to this size (and the buffer's 64 KiB of slack) is decoded in one piece.
  static constexpr std::uint32_t kSpan = 1u << 20;

 private:
  // Lookup widths: 11 bits resolve most literal/length codes, and two short
  // literals together, in one access; 8 bits for distances.
  static constexpr unsigned kLitRootBits = 11;
  static constexpr unsigned kDistRootBits = 8;
  static constexpr unsigned kLitRootSize = 1u << kLitRootBits;
  // Worst-case table sizes of a deflate code with these root widths (all
  // length sets of 286 and 30 symbols up to 15 bits).
  static constexpr unsigned kLitEnough = 2342;
  static constexpr unsigned kDistEnough = 402;
  // The literal/length array: the two-literal root, the one-symbol root,
  // then the deeper levels both share.
  static constexpr unsigned kLitArraySize = kLitRootSize + kLitEnough;

  struct Tables {
    std::uint32_t lit[kLitArraySize];
    std::uint32_t dist[kDistEnough];
  };

  TDecodeResult Blocks();
  TDecodeResult StoredBlock();
  TDecodeResult DynamicBlock();
  TDecodeResult BuildTables(const std::uint8_t* litLengths, unsigned nlit, const std::uint8_t* distLengths,
                            unsigned ndist, Tables& t);
  TDecodeResult Codes(const Tables& t);
  // Nothing while the block goes on.
  std::optional<TDecodeResult> FastLoop(const Tables& t);
  std::optional<TDecodeResult> SlowSymbol(const Tables& t);
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

  std::unique_ptr<Tables> dynamic_;
  std::unique_ptr<Tables> fixed_;
  bool fixedBuilt_ = false;
};

}  // namespace unzip
