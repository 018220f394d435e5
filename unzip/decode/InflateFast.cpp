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
// The fast loop runs while this much input is staged: one turn refills the
// bit buffer twice at most (Deflate64 three times), each loading eight bytes
// and taking seven.
constexpr std::ptrdiff_t kInMargin = 32;
// ...and while this much room is left: three literal pairs, then a longest
// match whose last word-sized move may reach 15 bytes beyond its end.
constexpr std::ptrdiff_t kOutMargin = 6 + kMaxMatch + 16;
// The history a match may reach back into: deflate's 32 KiB, Deflate64's 64.
constexpr std::uint32_t kWindowSize64 = 65536;

// Packed table entries. Bits 0-4: code bits to drop (the whole code, also for
// an entry of a deeper level, and both codes of a literal pair). Bits 8-13:
// the kind. A literal entry holds its literals in bits 16-23 and 24-31; a
// length its base in 16-24 and its extra-bit count in 25-28; a distance its
// extra-bit count in 5-8 and its base in 16-31; a link to a deeper level that
// level's index width in 5-8 and its offset in the same array in 16-28.
constexpr std::uint32_t kCodeBitsMask = 0x1F;
constexpr std::uint32_t kFlagLiteral = 0x100;
constexpr std::uint32_t kFlagPair = 0x200;
constexpr std::uint32_t kFlagLength = 0x400;
constexpr std::uint32_t kFlagEnd = 0x800;
constexpr std::uint32_t kFlagLink = 0x1000;
constexpr std::uint32_t kFlagBad = 0x2000;
constexpr unsigned kDistExtraShift = 5;

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

std::uint32_t LitEntry(const TDecodeEntry& e, unsigned codeBits) {
  switch (e.kind & ~kKindLowBits) {
    case kKindLiteral: return codeBits | kFlagLiteral | (std::uint32_t{e.value} << 16);
    case kKindEndOfBlock: return codeBits | kFlagEnd;
    case kKindBase:
      return codeBits | kFlagLength | (std::uint32_t{e.value} << 16) | (static_cast<std::uint32_t>(e.kind & kKindLowBits) << 25);
    default: return codeBits | kFlagBad;
  }
}

std::uint32_t DistEntry(const TDecodeEntry& e, unsigned codeBits) {
  if ((e.kind & ~kKindLowBits) != kKindBase) return codeBits | kFlagBad;
  return codeBits | (static_cast<std::uint32_t>(e.kind & kKindLowBits) << kDistExtraShift) | (std::uint32_t{e.value} << 16);
}

// Converts the shared builder's table (root of `root` bits, then deeper
// levels) to packed entries in `array`: the root at `rootAt`, widened to
// `width` bits by repetition, the deeper levels from `levels` on.
template <typename MakeEntry>
void Pack(const TDecodeEntry* from, unsigned used, unsigned root, unsigned width, std::uint32_t* array,
          std::uint32_t rootAt, std::uint32_t levels, MakeEntry make) {
  const unsigned rootSize = 1u << root;
  const auto convert = [&](const TDecodeEntry& e, unsigned extraBits) -> std::uint32_t {
    if (e.kind & kKindLink)
      return kFlagLink | root | ((e.kind & kKindLowBits) << kDistExtraShift) |
             ((levels + e.value - rootSize) << 16);
    if (e.kind == kKindInvalid) return kFlagBad | (e.bits + extraBits);
    return make(e, e.bits + extraBits);
  };
  for (unsigned i = 0; i < (1u << width); ++i) array[rootAt + i] = convert(from[i & (rootSize - 1)], 0);
  for (unsigned i = rootSize; i < used; ++i) array[levels + i - rootSize] = convert(from[i], root);
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
      fixed_(new Tables) {}

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
  if (!s.io->FillInput() || s.inCount == 0) {
    inputDone_ = true;
    return false;
  }
  std::memcpy(stage_.get() + left, s.inBuf.get(), s.inCount);
  inEnd_ += s.inCount;
  s.inCount = 0;
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
  // The shared builder, with the streaming decoder's alphabets, decides a
  // code set's soundness exactly as for it; its tables are then packed.
  TDecodeEntry scratch[kLitEnough];
  unsigned root = 0;
  TDecodeResult r =
      BuildDecodeTable(litLengths, nlit, DeflateAlphabets(variant_).literals, kLitRootBits, scratch, kLitEnough, root);
  if (r != TDecodeResult::Ok) return r;
  // Entries in use: the root, and deeper levels up to the last link's end.
  unsigned used = 1u << root;
  for (unsigned i = 0; i < (1u << root); ++i)
    if (scratch[i].kind & kKindLink)
      used = std::max(used, scratch[i].value + (1u << (scratch[i].kind & kKindLowBits)));
  std::uint32_t* single = t.lit + kLitRootSize;
  Pack(scratch, used, root, kLitRootBits, t.lit, kLitRootSize, 2 * kLitRootSize, LitEntry);
  // The pair root: a literal whose code leaves room for a whole second
  // literal code within the root bits takes both.
  for (unsigned i = 0; i < kLitRootSize; ++i) {
    std::uint32_t e = single[i];
    if (e & kFlagLiteral) {
      const unsigned first = e & kCodeBitsMask;
      const std::uint32_t next = single[i >> first];
      const unsigned second = next & kCodeBitsMask;
      if ((next & kFlagLiteral) && first + second <= kLitRootBits)
        e = (first + second) | kFlagLiteral | kFlagPair | (e & 0x00FF0000u) | ((next & 0x00FF0000u) << 8);
    }
    t.lit[i] = e;
  }
  const unsigned distEnough = variant_ == TInflateVariant::Deflate64 ? kDistEnough64 : kDistEnough;
  r = BuildDecodeTable(distLengths, ndist, DeflateAlphabets(variant_).distances, kDistRootBits, scratch, distEnough,
                       root);
  if (r != TDecodeResult::Ok) return r;
  used = 1u << root;
  for (unsigned i = 0; i < (1u << root); ++i)
    if (scratch[i].kind & kKindLink)
      used = std::max(used, scratch[i].value + (1u << (scratch[i].kind & kKindLowBits)));
  Pack(scratch, used, root, kDistRootBits, t.dist, 0, 1u << kDistRootBits, DistEntry);
  return TDecodeResult::Ok;
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
  std::uint32_t e = t.lit[kLitRootSize + (bits_ & (kLitRootSize - 1))];
  if (e & kFlagLink)
    e = t.lit[(e >> 16 & 0x1FFF) + LowBits(bits_ >> kLitRootBits, e >> kDistExtraShift & 15)];
  const unsigned codeBits = e & kCodeBitsMask;
  if (e & kFlagLiteral) {
    Drop(codeBits);
    if (!Room(1)) return TDecodeResult::BadData;
    *out_++ = static_cast<std::uint8_t>(e >> 16);
    return std::nullopt;
  }
  if (!(e & kFlagLength)) {
    Drop(codeBits);
    return (e & kFlagEnd) ? TDecodeResult::Ok : TDecodeResult::BadData;
  }
  const unsigned len = (e >> 16 & 0x1FF) + LowBits(bits_ >> codeBits, e >> 25 & 31);
  Drop(codeBits + (e >> 25 & 31));
  // Deflate64's 16 extra length bits leave too few for a distance.
  if constexpr (k64)
    if (nbits_ < kBitsPerDistance64 && !NeedBits()) return TDecodeResult::BadData;
  std::uint32_t d = t.dist[bits_ & ((1u << kDistRootBits) - 1)];
  if (d & kFlagLink) d = t.dist[(d >> 16) + LowBits(bits_ >> kDistRootBits, d >> kDistExtraShift & 15)];
  if (d & kFlagBad) return TDecodeResult::BadData;
  const unsigned dBits = d & kCodeBitsMask;
  const unsigned dExtra = d >> kDistExtraShift & 15;
  const unsigned dist = (d >> 16) + LowBits(bits_ >> dBits, dExtra);
  Drop(dBits + dExtra);
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
  std::uint64_t bits = bits_;
  unsigned nbits = nbits_;
  const std::uint8_t* in = in_;
  std::uint8_t* out = out_;
  std::optional<TDecodeResult> result;
  // Branch-free refill to 56..63 bits; bits above nbits are the unread bytes
  // themselves, so reloading them later changes nothing.
#define TW_REFILL()                              \
  do {                                           \
    bits |= Load64(in) << nbits;                 \
    in += (63 - nbits) >> 3;                     \
    nbits |= 56;                                 \
  } while (0)
#define TW_DROP(n)   \
  do {               \
    bits >>= (n);    \
    nbits -= (n);    \
  } while (0)
  while (in <= inFast && out <= outFast) {
    TW_REFILL();
    std::uint32_t e = lit[bits & (kLitRootSize - 1)];
    // Up to three root entries of one or two literals per refill (33 bits).
    if (e & kFlagLiteral) {
      std::memcpy(out, reinterpret_cast<const char*>(&e) + 2, 2);
      out += 1 + ((e >> 9) & 1);
      TW_DROP(e & kCodeBitsMask);
      e = lit[bits & (kLitRootSize - 1)];
      if (e & kFlagLiteral) {
        std::memcpy(out, reinterpret_cast<const char*>(&e) + 2, 2);
        out += 1 + ((e >> 9) & 1);
        TW_DROP(e & kCodeBitsMask);
        e = lit[bits & (kLitRootSize - 1)];
        if (e & kFlagLiteral) {
          std::memcpy(out, reinterpret_cast<const char*>(&e) + 2, 2);
          out += 1 + ((e >> 9) & 1);
          TW_DROP(e & kCodeBitsMask);
          continue;
        }
      }
    }
    if (e & kFlagLink) {
      e = lit[(e >> 16 & 0x1FFF) + LowBits(bits >> kLitRootBits, e >> kDistExtraShift & 15)];
      if (e & kFlagLiteral) {
        *out++ = static_cast<std::uint8_t>(e >> 16);
        TW_DROP(e & kCodeBitsMask);
        continue;
      }
    }
    const unsigned codeBits = e & kCodeBitsMask;
    if (!(e & kFlagLength)) {
      TW_DROP(codeBits);
      result = (e & kFlagEnd) ? TDecodeResult::Ok : TDecodeResult::BadData;
      break;
    }
    if (nbits < kBitsPerMatch) TW_REFILL();
    const unsigned extra = e >> 25 & 31;
    const unsigned len = (e >> 16 & 0x1FF) + LowBits(bits >> codeBits, extra);
    TW_DROP(codeBits + extra);
    if constexpr (k64)
      if (nbits < kBitsPerDistance64) TW_REFILL();
    std::uint32_t d = dists[bits & ((1u << kDistRootBits) - 1)];
    if (d & kFlagLink) d = dists[(d >> 16) + LowBits(bits >> kDistRootBits, d >> kDistExtraShift & 15)];
    if (d & kFlagBad) {
      result = TDecodeResult::BadData;
      break;
    }
    const unsigned dBits = d & kCodeBitsMask;
    const unsigned dExtra = d >> kDistExtraShift & 15;
    const std::size_t dist = (d >> 16) + LowBits(bits >> dBits, dExtra);
    TW_DROP(dBits + dExtra);
    if (dist > static_cast<std::size_t>(out - window)) {
      result = TDecodeResult::BadData;
      break;
    }
    if constexpr (k64) {
      // Longer than deflate's longest: past what the room margin covers.
      if (len > kMaxMatch) {
        bits_ = bits;
        nbits_ = nbits;
        in_ = in;
        out_ = out;
        return CopyMatch(len, static_cast<unsigned>(dist));
      }
    }
    std::uint8_t* to = out;
    const std::uint8_t* from = out - dist;
    std::uint8_t* const end = out + len;
    // Whole words, each reading only bytes already written; the last may run
    // past the match's end into room the margin keeps free.
    if (dist >= 16) {
      do {
        Copy16(to, from);
        to += 16;
        from += 16;
      } while (to < end);
    } else if (dist >= 8) {
      do {
        Copy8(to, from);
        to += 8;
        from += 8;
      } while (to < end);
    } else if (dist == 1) {
      const std::uint64_t v = 0x0101010101010101ull * *from;
      do {
        std::memcpy(to, &v, 8);
        to += 8;
      } while (to < end);
    } else {
      // A short period: each word's first `dist` bytes are right, and the
      // next word starts where they end.
      do {
        Copy8(to, to - dist);
        to += dist;
      } while (to < end);
    }
    out = end;
  }
#undef TW_REFILL
#undef TW_DROP
  bits_ = bits;
  nbits_ = nbits;
  in_ = in;
  out_ = out;
  return result;
}

}  // namespace unzip
