#include "ReferenceInflater.h"

#include <algorithm>
#include <cstring>

#include "unzip/ZipErrors.h"

namespace unzip {
namespace {

// Lookup widths: dynamic blocks 9/6, fixed blocks 7/5.
constexpr unsigned kDynamicLitBits = 9, kDynamicDistBits = 6;
constexpr unsigned kFixedLitBits = 7, kFixedDistBits = 5;
// The hot loop takes a match after one refill (kBitsPerMatch); Deflate64's
// longer extras need a second refill before the distance.
constexpr unsigned kBitsPerDistance = 15 + 14;
// Deflate64's window.
constexpr std::uint32_t kWindowSize64 = 65536;

}  // namespace

TReferenceInflater::TReferenceInflater(TInflateVariant variant)
    : variant_(variant), distCapacity_(variant == TInflateVariant::Deflate64 ? kDistTableSize64 : kDistTableSize) {
  if (variant == TInflateVariant::Deflate64) {
    ownWindow_ = std::make_unique<std::uint8_t[]>(kWindowSize64);
    windowSize_ = kWindowSize64;
  }
}

void TReferenceInflater::WrapWindow() {
  s_->FlushWindow(window_, windowSize_);
  wp_ = 0;
  windowFull_ = true;
}

bool TReferenceInflater::PadByte() {
  // Past the entry's end the last byte is repeated; a stream that keeps
  // reading it is garbage.
  const unsigned consumed = padBytes_ * 8 > nbits_ ? padBytes_ * 8 - nbits_ : 0;
  if (consumed > kMaxOverrunBits) return false;
  bits_ &= (std::uint64_t{1} << nbits_) - 1;
  bits_ |= static_cast<std::uint64_t>(s_->lastByte & 0xFF) << nbits_;
  nbits_ += 8;
  ++padBytes_;
  return true;
}

bool TReferenceInflater::Refill() {
  TDecodeState& s = *s_;
  if (s.inCount >= 8) {
    // Branch-free refill to 56..63 bits; bits above nbits_ are the unread
    // bytes themselves, so reloading them later changes nothing.
    bits_ |= Load64(s.inPtr) << nbits_;
    const unsigned take = (63 - nbits_) >> 3;
    s.inPtr += take;
    s.inCount -= take;
    s.compressedLeft -= static_cast<std::int64_t>(take);
    nbits_ |= 56;
    return true;
  }
  while (nbits_ <= 56) {
    if (s.inCount == 0) {
      if (padBytes_ > 0 || !s.io->FillInput() || s.inCount == 0) {
        if (!PadByte()) return false;
        continue;
      }
      s.inPtr = s.inBuf.get();
    }
    bits_ &= (std::uint64_t{1} << nbits_) - 1;
    bits_ |= static_cast<std::uint64_t>(*s.inPtr) << nbits_;
    s.lastByte = *s.inPtr++;
    --s.inCount;
    --s.compressedLeft;
    nbits_ += 8;
  }
  return true;
}

TDecodeResult TReferenceInflater::Inflate(TDecodeState& s) {
  s_ = &s;
  window_ = ownWindow_ ? ownWindow_.get() : s.workArea.get();
  wp_ = 0;
  windowFull_ = false;
  bits_ = 0;
  nbits_ = 0;
  padBytes_ = 0;
  try {
    const TDecodeResult r = Blocks();
    if (r != TDecodeResult::Ok) return r;
    // Checked again at the end, so that the verdict never depends on when
    // the bit buffer happened to be refilled.
    if (padBytes_ * 8 > nbits_ && padBytes_ * 8 - nbits_ > kMaxOverrunBits) return TDecodeResult::BadData;
    s.FlushWindow(window_, wp_);
    s.io->FlushOutput();
    return TDecodeResult::Ok;
  } catch (const EUserCanceled&) {
    throw;
  } catch (...) {
    return TDecodeResult::BadData;
  }
}

TDecodeResult TReferenceInflater::Blocks() {
  for (;;) {
    if (nbits_ < 3 && !Refill()) return TDecodeResult::BadData;
    const bool last = bits_ & 1;
    const unsigned type = (bits_ >> 1) & 3;
    Drop(3);
    TDecodeResult r;
    switch (type) {
      case 0: r = StoredBlock(); break;
      case 1: r = FixedBlock(); break;
      case 2: r = DynamicBlock(); break;
      default: return TDecodeResult::BadBlock;
    }
    if (r != TDecodeResult::Ok) return r;
    if (last) return TDecodeResult::Ok;
  }
}

TDecodeResult TReferenceInflater::StoredBlock() {
  Drop(nbits_ & 7);
  if (nbits_ < 32 && !Refill()) return TDecodeResult::BadData;
  unsigned len = bits_ & 0xFFFF;
  const unsigned nlen = (bits_ >> 16) & 0xFFFF;
  Drop(32);
  if (len != (~nlen & 0xFFFF)) return TDecodeResult::BadData;
  for (; len > 0 && nbits_ >= 8; --len) {
    // A byte made up past the entry's end is not stored data.
    if (padBytes_ * 8 >= nbits_) return TDecodeResult::BadData;
    PutByte(static_cast<std::uint8_t>(bits_));
    Drop(8);
  }
  if (len == 0) return TDecodeResult::Ok;
  bits_ = 0;  // the bytes that follow are taken straight from the input
  TDecodeState& s = *s_;
  while (len > 0) {
    if (s.inCount == 0) {
      if (padBytes_ > 0 || !s.io->FillInput() || s.inCount == 0) return TDecodeResult::BadData;
      s.inPtr = s.inBuf.get();
    }
    const unsigned n = std::min({len, s.inCount, windowSize_ - wp_});
    std::memcpy(window_ + wp_, s.inPtr, n);
    s.inPtr += n;
    s.inCount -= n;
    s.compressedLeft -= static_cast<std::int64_t>(n);
    s.lastByte = s.inPtr[-1];
    wp_ += n;
    len -= n;
    if (wp_ == windowSize_) WrapWindow();
  }
  return TDecodeResult::Ok;
}

TDecodeResult TReferenceInflater::FixedBlock() {
  std::uint8_t litLengths[kLitSymbols];
  std::uint8_t distLengths[kDistSymbols];
  FixedCodeLengths(litLengths, distLengths);
  const TDeflateAlphabets& symbols = DeflateAlphabets(variant_);
  unsigned litBits = 0;
  unsigned distBits = 0;
  if (BuildDecodeTable(litLengths, kLitSymbols, symbols.literals, kFixedLitBits, lit_, kLitTableSize, litBits) !=
          TDecodeResult::Ok ||
      BuildDecodeTable(distLengths, kDistSymbols, symbols.distances, kFixedDistBits, dist_, distCapacity_, distBits) !=
          TDecodeResult::Ok)
    return TDecodeResult::NoMemory;
  return Codes(litBits, distBits);
}

TDecodeResult TReferenceInflater::DynamicBlock() {
  const TDeflateAlphabets& symbols = DeflateAlphabets(variant_);
  unsigned litBits = 0;
  unsigned distBits = 0;
  const TDecodeResult r = ReadDynamicHeader(
      TBitReader{bits_, nbits_, [this] { return Refill(); }},
      variant_ == TInflateVariant::Deflate64 ? kMaxDistCodes64 : kMaxDistCodes,
      [&](const std::uint8_t* litLengths, unsigned nlit, const std::uint8_t* distLengths, unsigned ndist) {
        const TDecodeResult lit =
            BuildDecodeTable(litLengths, nlit, symbols.literals, kDynamicLitBits, lit_, kLitTableSize, litBits);
        if (lit != TDecodeResult::Ok) return lit;
        return BuildDecodeTable(distLengths, ndist, symbols.distances, kDynamicDistBits, dist_, distCapacity_,
                                distBits);
      });
  return r == TDecodeResult::Ok ? Codes(litBits, distBits) : r;
}

TDecodeResult TReferenceInflater::Codes(unsigned litBits, unsigned distBits) {
  TDecodeState& s = *s_;
  const std::uint64_t litMask = (1u << litBits) - 1;
  const std::uint64_t distMask = (1u << distBits) - 1;
  const TDecodeEntry* const lit = lit_;
  const TDecodeEntry* const dist = dist_;
  std::uint8_t* const window = window_;
  const std::uint32_t windowSize = windowSize_;
  // The hot state lives in locals: stores into the window may alias members,
  // which would otherwise be reloaded after every byte.
  std::uint64_t bits = bits_;
  unsigned nbits = nbits_;
  std::uint32_t wp = wp_;
  std::uint8_t* in = s.inPtr;
  std::uint32_t avail = s.inCount;
  const auto store = [&] {
    bits_ = bits;
    nbits_ = nbits;
    wp_ = wp;
    s.compressedLeft -= static_cast<std::int64_t>(in - s.inPtr);
    s.inPtr = in;
    s.inCount = avail;
  };
  const auto load = [&] {
    bits = bits_;
    nbits = nbits_;
    wp = wp_;
    in = s.inPtr;
    avail = s.inCount;
  };
  const auto wrap = [&] {
    store();
    WrapWindow();
    load();
  };
  for (;;) {
    if (nbits < kBitsPerMatch) {
      if (avail >= 8) {
        // Branch-free refill to 56..63 bits; bits above nbits are the unread
        // bytes themselves, so reloading them later changes nothing.
        bits |= Load64(in) << nbits;
        const unsigned take = (63 - nbits) >> 3;
        in += take;
        avail -= take;
        nbits |= 56;
      } else {
        store();
        const bool ok = Refill();
        load();
        if (!ok) return TDecodeResult::BadData;
      }
    }
    TDecodeEntry e = lit[bits & litMask];
    if (e.kind & kKindLink) {
      bits >>= e.bits;
      nbits -= e.bits;
      e = lit[e.value + (bits & ((1u << (e.kind & kKindLowBits)) - 1))];
    }
    bits >>= e.bits;
    nbits -= e.bits;
    if (e.kind == kKindLiteral) {
      window[wp++] = static_cast<std::uint8_t>(e.value);
      if (wp == windowSize) wrap();
      continue;
    }
    if ((e.kind & kKindBase) == 0) {
      store();
      return e.kind == kKindEndOfBlock ? TDecodeResult::Ok : TDecodeResult::BadData;
    }
    unsigned extra = e.kind & kKindLowBits;
    const unsigned len = e.value + static_cast<unsigned>(bits & ((1u << extra) - 1));
    bits >>= extra;
    nbits -= extra;
    if (nbits < kBitsPerDistance) {
      store();
      const bool ok = Refill();
      load();
      if (!ok) return TDecodeResult::BadData;
    }
    e = dist[bits & distMask];
    if (e.kind & kKindLink) {
      bits >>= e.bits;
      nbits -= e.bits;
      e = dist[e.value + (bits & ((1u << (e.kind & kKindLowBits)) - 1))];
    }
    bits >>= e.bits;
    nbits -= e.bits;
    extra = e.kind & kKindLowBits;
    const unsigned d = e.value + static_cast<unsigned>(bits & ((1u << extra) - 1));
    bits >>= extra;
    nbits -= extra;
    // A distance before the entry's first byte is bad data, not stale window contents.
    if ((e.kind & kKindBase) == 0 || (!windowFull_ && d > wp)) {
      store();
      return TDecodeResult::BadData;
    }
    if (wp >= d && wp + len < windowSize) {
      std::uint8_t* to = window + wp;
      const std::uint8_t* from = to - d;
      if (d >= 8 && len >= 8) {
        // Eight bytes at a time; each piece reads only bytes already written,
        // and the last piece ends exactly at the match end.
        unsigned n = 0;
        for (; n + 8 <= len; n += 8) std::memcpy(to + n, from + n, 8);
        if (n < len) std::memcpy(to + len - 8, from + len - 8, 8);
      } else if (d == 1) {
        std::memset(to, *from, len);
      } else if (d >= len) {  // short and apart: two overlapping four-byte moves
        if (len >= 4) {
          std::memcpy(to, from, 4);
          std::memcpy(to + len - 4, from + len - 4, 4);
        } else {
          to[0] = from[0];
          to[1] = from[1];
          to[2] = from[2];
        }
      } else {
        for (unsigned n = 0; n < len; ++n) to[n] = from[n];
      }
      wp += len;
    } else {
      for (unsigned n = 0; n < len; ++n) {
        window[wp] = window[(wp - d) & (windowSize - 1)];
        if (++wp == windowSize) wrap();
      }
    }
  }
}

}  // namespace unzip
