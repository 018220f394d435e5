#include "decode/InflateFast.h"

#include <algorithm>
#include <cstring>

#include "decode/DeflateCodes.h"
#include "unzip/ZipErrors.h"

namespace unzip {
namespace {

constexpr unsigned kMaxMatch = 258;
// Bits a Deflate64 distance takes at most: its code and 14 extra bits.
constexpr unsigned kBitsPerDistance64 = 15 + 14;
// The fast loop runs while this much input is staged: its start and its
// first turn refill the bit buffer four times at most (deflate three), each
// loading eight bytes and taking seven.
constexpr std::ptrdiff_t kInMargin = 32;
// ...and while this much room is left: three literal pairs, then a longest
// match whose last word-sized move may reach 15 bytes beyond its end.
constexpr std::ptrdiff_t kOutMargin = 6 + kMaxMatch + 16;
// The history a match may reach back into: deflate's 32 KiB, Deflate64's 64.
constexpr std::uint32_t kWindowSize64 = 65536;

// Packed table entries. Bits 0-4: the bits the entry takes (its code with a
// length's or distance's extra bits; both codes of a literal pair; a link's
// first-level width). Bits 8-11: where a length's or distance's extra bits
// start (its code length), the first code length of a literal entry, the
// index width of the level a link leads to. Bits 12-13: how many literals a
// literal entry holds (1 or 2). Bits 14-15 flags, and with kFlagExceptional
// bits 12-13 tell a link from an end of block (neither: a bad code). Bits
// 16-31: the literals (16-23, then 24-31), a base, or the offset of a link's
// level in the same array.
constexpr std::uint32_t kTakeMask = 0x1F;
constexpr unsigned kStartShift = 8;
constexpr unsigned kCountShift = 12;
constexpr std::uint32_t kFlagLink = 0x1000;
constexpr std::uint32_t kFlagEnd = 0x2000;
constexpr std::uint32_t kFlagExceptional = 0x4000;
constexpr std::uint32_t kFlagLiteral = 0x8000;
// Adding a code length of `n` to a symbol's entry: as bits taken, and as where the extra bits start.
constexpr std::uint32_t kPerCodeBit = 1u << kStartShift | 1u;

inline void Copy8(std::uint8_t* to, const std::uint8_t* from) {
  std::uint64_t v;
  std::memcpy(&v, from, 8);
  std::memcpy(to, &v, 8);
}
inline void Copy16(std::uint8_t* to, const std::uint8_t* from) {
  std::uint8_t v[16];
  std::memcpy(v, from, 16);
  std::memcpy(to, v, 16);
}
inline std::uint32_t LowBits(std::uint64_t v, unsigned n) { return static_cast<std::uint32_t>(v) & ((1u << n) - 1); }
inline unsigned Taken(std::uint32_t e) { return e & kTakeMask; }
inline unsigned Start(std::uint32_t e) { return e >> kStartShift & 15; }
// A length's or distance's value: its base and the extra bits that follow its
// code in `bits` (the buffer before the entry was taken). Shift counts are
// masked as the processor masks them (bits 5-7 and 12-15 of such an entry
// are 0), so that no masking instruction is needed.
inline unsigned Value(std::uint32_t e, std::uint64_t bits) {
  return (e >> 16) + static_cast<unsigned>((bits & ((std::uint64_t{1} << (e & 63)) - 1)) >> (e >> kStartShift & 63));
}

std::uint32_t SymbolEntry(const TDecodeEntry& e) {
  if (e.kind == kKindInvalid) return kFlagExceptional;
  switch (e.kind & ~kKindLowBits) {
    case kKindLiteral: return kFlagLiteral | 1u << kCountShift | std::uint32_t{e.value} << 16;
    case kKindEndOfBlock: return kFlagExceptional | kFlagEnd;
    case kKindBase: return (e.kind & kKindLowBits) | std::uint32_t{e.value} << 16;
    default: return kFlagExceptional;
  }
}

// Builds the packed table of a code with the given root width, and returns
// the verdict on its lengths; `shape` is theirs.
TDecodeResult BuildPacked(const std::uint8_t* lengths, unsigned count, const std::uint32_t* symbols, unsigned root,
                          std::uint32_t* table, unsigned capacity, TCodeShape& shape) {
  shape = ShapeOfCode(lengths, count);
  if (shape.verdict != TDecodeResult::Ok) return shape.verdict;
  std::uint16_t sorted[kMaxSymbols];
  CanonicalOrder(lengths, count, shape, sorted);
  return FillCodeTable(
      shape, sorted, root, table, capacity, kFlagExceptional,
      [symbols](unsigned symbol, unsigned bits) { return symbols[symbol] + bits * kPerCodeBit; },
      [root](unsigned width, unsigned offset) {
        return root | width << kStartShift | kFlagExceptional | kFlagLink | offset << 16;
      });
}

}  // namespace

// The buffer: a span of output, plus the history and an undelivered partial
// piece that both survive a slide.
TFastInflater::TFastInflater(TInflateVariant variant)
    : variant_(variant),
      history_(variant == TInflateVariant::Deflate64 ? kWindowSize64 : kWindowSize),
      bufferSize_(kSpan + 2 * history_),
      buf_(new std::uint8_t[bufferSize_]),
      stage_(new std::uint8_t[kChunkSize + kInMargin]),
      dynamic_(new Tables),
      fixed_(new Tables) {
  const TDeflateAlphabets& alphabets = DeflateAlphabets(variant);
  for (unsigned i = 0; i < kLitSymbols; ++i) litSymbols_[i] = SymbolEntry(alphabets.literals[i]);
  for (unsigned i = 0; i < kDistSymbols; ++i) distSymbols_[i] = SymbolEntry(alphabets.distances[i]);
}

void TFastInflater::SetLimit() {
  const std::uint64_t room = declared_ - base_;
  limit_ = buf_.get() + std::min<std::uint64_t>(bufferSize_, room);
}

void TFastInflater::DeliverUpTo(std::uint64_t upTo) {
  while (delivered_ < upTo) {
    const auto piece = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, upTo - delivered_));
    s_->io->Hold(*s_, buf_.get() + (delivered_ - base_), piece);
    delivered_ += piece;
  }
}

void TFastInflater::Slide() {
  const std::uint64_t produced = base_ + static_cast<std::uint64_t>(out_ - buf_.get());
  DeliverUpTo(produced / kChunkSize * kChunkSize);
  const std::uint64_t keepFrom = std::min(produced - history_, delivered_);
  if (!spare_) spare_.reset(new std::uint8_t[bufferSize_]);
  s_->io->Release(spareHeld_);
  const auto kept = static_cast<std::size_t>(produced - keepFrom);
  std::memcpy(spare_.get(), buf_.get() + (keepFrom - base_), kept);
  buf_.swap(spare_);
  spareHeld_ = delivered_;
  out_ = buf_.get() + kept;
  base_ = keepFrom;
  SetLimit();
}

void TFastInflater::Drain() {
  try {
    s_->io->Release(delivered_);
  } catch (...) {
    // Reported by the Release that threw first.
  }
}

bool TFastInflater::Room(std::uint32_t n) {
  if (limit_ - out_ >= static_cast<std::ptrdiff_t>(n)) return true;
  if (declared_ - base_ <= bufferSize_) return false;  // the entry's declared end
  Slide();
  return limit_ - out_ >= static_cast<std::ptrdiff_t>(n);
}

bool TFastInflater::FillStage() {
  if (inputDone_) return false;
  TDecodeState& s = *s_;
  const auto left = static_cast<std::size_t>(inEnd_ - in_);
  std::memmove(stage_.get(), in_, left);
  in_ = stage_.get();
  inEnd_ = in_ + left;
  const std::uint32_t n = s.io->FillInputAt(s, stage_.get() + left);
  if (n == 0) {
    inputDone_ = true;
    return false;
  }
  inEnd_ += n;
  return true;
}

bool TFastInflater::NeedBits() {
  // Bytes one at a time, and past the entry's end its last byte again, as
  // the streaming decoder reads them.
  while (nbits_ <= 56) {
    if (in_ == inEnd_) FillStage();
    bits_ &= (std::uint64_t{1} << nbits_) - 1;
    if (in_ < inEnd_) {
      lastByte_ = *in_++;
      bits_ |= std::uint64_t{lastByte_} << nbits_;
    } else {
      if (Overrun() > kMaxOverrunBits) return false;
      bits_ |= std::uint64_t{lastByte_} << nbits_;
      ++padBytes_;
    }
    nbits_ += 8;
  }
  return true;
}

TDecodeResult TFastInflater::Inflate(TDecodeState& s) {
  s_ = &s;
  out_ = buf_.get();
  base_ = 0;
  delivered_ = 0;
  spareHeld_ = 0;
  declared_ = s.uncompressedSize > 0 ? static_cast<std::uint64_t>(s.uncompressedSize) : 0;
  SetLimit();
  in_ = inEnd_ = stage_.get();
  inputDone_ = false;
  bits_ = 0;
  nbits_ = 0;
  padBytes_ = 0;
  lastByte_ = static_cast<std::uint8_t>(s.lastByte);
  try {
    TDecodeResult r = Blocks();
    if (r == TDecodeResult::Ok && Overrun() > kMaxOverrunBits) r = TDecodeResult::BadData;
    const std::uint64_t produced = base_ + static_cast<std::uint64_t>(out_ - buf_.get());
    s.lastByte = lastByte_;
    // A bad stream passes on what the streaming decoder would have: its
    // whole pieces; a sound one everything.
    DeliverUpTo(r == TDecodeResult::Ok ? produced : produced / kChunkSize * kChunkSize);
    s.io->Release(delivered_);
    return r;
  } catch (const EUserCanceled&) {
    Drain();
    throw;
  } catch (...) {
    Drain();
    return TDecodeResult::BadData;
  }
}

TDecodeResult TFastInflater::Blocks() {
  for (;;) {
    if (nbits_ < 3 && !NeedBits()) return TDecodeResult::BadData;
    const bool last = bits_ & 1;
    const unsigned type = (bits_ >> 1) & 3;
    Drop(3);
    TDecodeResult r;
    switch (type) {
      case 0: r = StoredBlock(); break;
      case 1:
        if (!fixedBuilt_) {
          std::uint8_t litLengths[kLitSymbols];
          std::uint8_t distLengths[kDistSymbols];
          FixedCodeLengths(litLengths, distLengths);
          if (BuildTables(litLengths, kLitSymbols, distLengths, kDistSymbols, *fixed_) != TDecodeResult::Ok)
            return TDecodeResult::NoMemory;
          fixedBuilt_ = true;
        }
        r = variant_ == TInflateVariant::Deflate64 ? Codes<true>(*fixed_) : Codes<false>(*fixed_);
        break;
      case 2: r = DynamicBlock(); break;
      default: return TDecodeResult::BadBlock;
    }
    if (r != TDecodeResult::Ok) return r;
    if (last) return TDecodeResult::Ok;
  }
}

TDecodeResult TFastInflater::StoredBlock() {
  Drop(nbits_ & 7);
  if (nbits_ < 32 && !NeedBits()) return TDecodeResult::BadData;
  unsigned len = bits_ & 0xFFFF;
  const unsigned nlen = (bits_ >> 16) & 0xFFFF;
  Drop(32);
  if (len != (~nlen & 0xFFFF)) return TDecodeResult::BadData;
  for (; len > 0 && nbits_ >= 8; --len) {
    // A byte made up past the entry's end is not stored data.
    if (padBytes_ * 8 >= nbits_ || !Room(1)) return TDecodeResult::BadData;
    *out_++ = static_cast<std::uint8_t>(bits_);
    Drop(8);
  }
  if (len == 0) return TDecodeResult::Ok;
  bits_ = 0;
  while (len > 0) {
    if (in_ == inEnd_ && !FillStage()) return TDecodeResult::BadData;
    if (!Room(1)) return TDecodeResult::BadData;
    const auto n = static_cast<unsigned>(
        std::min<std::ptrdiff_t>({static_cast<std::ptrdiff_t>(len), inEnd_ - in_, limit_ - out_}));
    std::memcpy(out_, in_, n);
    out_ += n;
    in_ += n;
    lastByte_ = in_[-1];
    len -= n;
  }
  return TDecodeResult::Ok;
}

TDecodeResult TFastInflater::DynamicBlock() {
  const TDecodeResult r = ReadDynamicHeader(
      TBitReader{bits_, nbits_, [this] { return NeedBits(); }},
      variant_ == TInflateVariant::Deflate64 ? kMaxDistCodes64 : kMaxDistCodes,
      [this](const std::uint8_t* litLengths, unsigned nlit, const std::uint8_t* distLengths, unsigned ndist) {
        return BuildTables(litLengths, nlit, distLengths, ndist, *dynamic_);
      });
  if (r != TDecodeResult::Ok) return r;
  return variant_ == TInflateVariant::Deflate64 ? Codes<true>(*dynamic_) : Codes<false>(*dynamic_);
}

TDecodeResult TFastInflater::BuildTables(const std::uint8_t* litLengths, unsigned nlit,
                                         const std::uint8_t* distLengths, unsigned ndist, Tables& t) {
  // The code sets are judged by the rules the reference decoder has too.
  TCodeShape shape;
  TDecodeResult r = BuildPacked(litLengths, nlit, litSymbols_, kLitRootBits, t.lit, kLitEnough, shape);
  if (r != TDecodeResult::Ok) return r;
  PairLiterals(litLengths, shape, t);
  return BuildPacked(distLengths, ndist, distSymbols_, kDistRootBits, t.dist,
                     variant_ == TInflateVariant::Deflate64 ? kDistEnough64 : kDistEnough, shape);
}

// A root entry of a literal whose code leaves room for a whole second
// literal code within the root bits takes both. The slots of literal s with
// a code of `len` bits are its reversed code plus k << len, and the bits
// after its code there are k: the second literal is root entry k's.
void TFastInflater::PairLiterals(const std::uint8_t* litLengths, const TCodeShape& shape, Tables& t) {
  unsigned shortest = kMaxCodeBits;
  for (unsigned s = 0; s < kEndOfBlock; ++s)
    shortest = std::min(shortest, litLengths[s] != 0 ? unsigned{litLengths[s]} : kMaxCodeBits);
  if (2 * shortest > kLitRootBits) return;  // no two literals fit
  const unsigned longest = kLitRootBits - shortest;
  // The entries second literals are taken from, before any becomes a pair.
  std::uint32_t seconds[1u << (kLitRootBits - 1)];
  std::copy(t.lit, t.lit + (1u << longest), seconds);
  // Each length's first code, as RFC 1951 (3.2.2) counts them.
  unsigned next[kMaxCodeBits + 1] = {};
  for (unsigned len = 1, code = 0; len <= kMaxCodeBits; ++len) next[len] = code = (code + shape.counts[len - 1]) << 1;
  for (unsigned s = 0; s < kEndOfBlock; ++s) {
    const unsigned len = litLengths[s];
    if (len == 0) continue;
    const unsigned code = next[len]++;
    if (len > longest) continue;
    const unsigned rev = ReverseBits(code, len);
    const std::uint32_t first = t.lit[rev];
    for (unsigned k = 0; k < (1u << (kLitRootBits - len)); ++k) {
      const std::uint32_t second = seconds[k];
      const bool fits = (second & kFlagLiteral) && len + Taken(second) <= kLitRootBits;
      t.lit[rev | k << len] = fits ? (len + Taken(second)) | len << kStartShift | 2u << kCountShift | kFlagLiteral |
                                         (first & 0x00FF0000u) | (second & 0x00FF0000u) << 8
                                   : first;
    }
  }
}

template <bool k64>
TDecodeResult TFastInflater::Codes(const Tables& t) {
  for (;;) {
    if (inEnd_ - in_ < kInMargin) FillStage();
    if (limit_ - out_ < kOutMargin && declared_ - base_ > bufferSize_) Slide();
    const std::optional<TDecodeResult> r =
        inEnd_ - in_ >= kInMargin && limit_ - out_ >= kOutMargin ? FastLoop<k64>(t) : SlowSymbol<k64>(t);
    if (r) return *r;
  }
}

// Copies a match with every bound checked; nothing while the block goes on.
std::optional<TDecodeResult> TFastInflater::CopyMatch(unsigned len, unsigned dist) {
  unsigned n = len;
  const bool fits = Room(len);
  if (!fits) n = static_cast<unsigned>(limit_ - out_);  // up to the declared end, then stop
  for (unsigned i = 0; i < n; ++i) out_[i] = out_[static_cast<std::ptrdiff_t>(i) - dist];
  out_ += n;
  if (!fits) return TDecodeResult::BadData;
  return std::nullopt;
}

// Decodes one symbol with every bound checked.
template <bool k64>
std::optional<TDecodeResult> TFastInflater::SlowSymbol(const Tables& t) {
  if (nbits_ < kBitsPerMatch && !NeedBits()) return TDecodeResult::BadData;
  std::uint32_t e = t.lit[LowBits(bits_, kLitRootBits)];
  if ((e & kFlagExceptional) && (e & kFlagLink)) {
    Drop(Taken(e));
    e = t.lit[(e >> 16) + LowBits(bits_, Start(e))];
  }
  if (e & kFlagLiteral) {  // of a pair, the first only
    Drop(Start(e));
    if (!Room(1)) return TDecodeResult::BadData;
    *out_++ = static_cast<std::uint8_t>(e >> 16);
    return std::nullopt;
  }
  if (e & kFlagExceptional) {
    Drop(Taken(e));
    return (e & kFlagEnd) ? TDecodeResult::Ok : TDecodeResult::BadData;
  }
  const unsigned len = Value(e, bits_);
  Drop(Taken(e));
  // Deflate64's 16 extra length bits leave too few for a distance.
  if constexpr (k64)
    if (nbits_ < kBitsPerDistance64 && !NeedBits()) return TDecodeResult::BadData;
  std::uint32_t d = t.dist[LowBits(bits_, kDistRootBits)];
  if ((d & kFlagExceptional) && (d & kFlagLink)) {
    Drop(Taken(d));
    d = t.dist[(d >> 16) + LowBits(bits_, Start(d))];
  }
  if (d & kFlagExceptional) return TDecodeResult::BadData;
  const unsigned dist = Value(d, bits_);
  Drop(Taken(d));
  // A distance before the entry's first byte is bad data.
  if (dist > static_cast<std::uint64_t>(out_ - buf_.get())) return TDecodeResult::BadData;
  return CopyMatch(len, dist);
}

// Decodes symbols while input and room are plentiful; nothing at either bound.
template <bool k64>
std::optional<TDecodeResult> TFastInflater::FastLoop(const Tables& t) {
  const std::uint32_t* const lit = t.lit;
  const std::uint32_t* const dists = t.dist;
  const std::uint8_t* const window = buf_.get();
  const std::uint8_t* const inFast = inEnd_ - kInMargin;
  std::uint8_t* const outFast = limit_ - kOutMargin;
  // The hot state lives in locals so stores into the output cannot alias it.
  // Only the low byte of `nbits` counts: taking an entry subtracts all of it.
  std::uint64_t bits = bits_;
  std::uint32_t nbits = nbits_;
  const std::uint8_t* in = in_;
  std::uint8_t* out = out_;
  std::optional<TDecodeResult> result;
  // Branch-free refill to 56..63 bits; bits above nbits are the unread bytes
  // themselves, so reloading them later changes nothing.
#define TW_REFILL()                              \
  do {                                           \
    bits |= Load64(in) << (nbits & 63);          \
    in += 7 - (nbits >> 3 & 7);                  \
    nbits |= 56;                                 \
  } while (0)
#define TW_TAKE(e)          \
  do {                      \
    bits >>= (e) & 63;      \
    nbits -= (e);           \
  } while (0)
  // One or two literals of a root entry, stored as two bytes either way.
#define TW_LITERALS(e)                                             \
  do {                                                             \
    std::memcpy(out, reinterpret_cast<const char*>(&(e)) + 2, 2);  \
    out += (e) >> kCountShift & 3;                                 \
    TW_TAKE(e);                                                    \
  } while (0)
  TW_REFILL();
  // The entry of the next symbol is looked up as early as its bits are known.
  std::uint32_t e = lit[LowBits(bits, kLitRootBits)];
  do {
    // Up to three root entries of literals per refill (33 bits).
    if (e & kFlagLiteral) {
      TW_LITERALS(e);
      e = lit[LowBits(bits, kLitRootBits)];
      if (e & kFlagLiteral) {
        TW_LITERALS(e);
        e = lit[LowBits(bits, kLitRootBits)];
        if (e & kFlagLiteral) {
          TW_LITERALS(e);
          TW_REFILL();
          e = lit[LowBits(bits, kLitRootBits)];
          continue;
        }
      }
      // A match takes up to 48 bits.
      TW_REFILL();
    }
    if (e & kFlagExceptional) {
      if (!(e & kFlagLink)) {
        TW_TAKE(e);
        result = (e & kFlagEnd) ? TDecodeResult::Ok : TDecodeResult::BadData;
        break;
      }
      TW_TAKE(e);
      e = lit[(e >> 16) + LowBits(bits, Start(e))];
      if (e & kFlagLiteral) {
        *out++ = static_cast<std::uint8_t>(e >> 16);
        TW_TAKE(e);
        TW_REFILL();
        e = lit[LowBits(bits, kLitRootBits)];
        continue;
      }
      if (e & kFlagExceptional) {
        TW_TAKE(e);
        result = (e & kFlagEnd) ? TDecodeResult::Ok : TDecodeResult::BadData;
        break;
      }
    }
    const unsigned len = Value(e, bits);
    TW_TAKE(e);
    // Deflate64's 16 extra length bits leave too few for a distance.
    if constexpr (k64) TW_REFILL();
    std::uint32_t d = dists[LowBits(bits, kDistRootBits)];
    if (d & kFlagExceptional) {
      if (!(d & kFlagLink)) {
        result = TDecodeResult::BadData;
        break;
      }
      TW_TAKE(d);
      d = dists[(d >> 16) + LowBits(bits, Start(d))];
      if (d & kFlagExceptional) {
        result = TDecodeResult::BadData;
        break;
      }
    }
    const std::size_t dist = Value(d, bits);
    TW_TAKE(d);
    if (dist > static_cast<std::size_t>(out - window)) {
      result = TDecodeResult::BadData;
      break;
    }
    if constexpr (k64) {
      // Longer than deflate's longest: past what the room margin covers.
      if (len > kMaxMatch) {
        bits_ = bits;
        nbits_ = nbits & 0xFF;
        in_ = in;
        out_ = out;
        return CopyMatch(len, static_cast<unsigned>(dist));
      }
    }
    TW_REFILL();
    e = lit[LowBits(bits, kLitRootBits)];
    std::uint8_t* to = out;
    const std::uint8_t* from = out - dist;
    out += len;
    // Whole words, each reading only bytes already written; the last may run
    // past the match's end into room the margin keeps free.
    if (dist >= 16) {
      Copy16(to, from);
      Copy16(to + 16, from + 16);
      to += 32;
      from += 32;
      while (to < out) {
        Copy16(to, from);
        to += 16;
        from += 16;
      }
    } else if (dist >= 8) {
      do {
        Copy8(to, from);
        to += 8;
        from += 8;
      } while (to < out);
    } else if (dist == 1) {
      const std::uint64_t v = 0x0101010101010101ull * *from;
      do {
        std::memcpy(to, &v, 8);
        to += 8;
      } while (to < out);
    } else {
      // A short period: each word's first `dist` bytes are right, and the
      // next word starts where they end.
      do {
        Copy8(to, to - dist);
        to += dist;
      } while (to < out);
    }
  } while (in <= inFast && out <= outFast);
#undef TW_REFILL
#undef TW_TAKE
#undef TW_LITERALS
  bits_ = bits;
  nbits_ = nbits & 0xFF;
  in_ = in;
  out_ = out;
  return result;
}

}  // namespace unzip
