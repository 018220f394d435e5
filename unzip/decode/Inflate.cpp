#include "decode/Inflate.h"

#include <algorithm>
#include <cstring>

#include "decode/InflateHeader.h"
#include "unzip/ZipErrors.h"

namespace unzip {
namespace {

// Lookup widths: dynamic blocks 9/6, fixed blocks 7/5.
constexpr unsigned kDynamicLitBits = 9, kDynamicDistBits = 6;
constexpr unsigned kFixedLitBits = 7, kFixedDistBits = 5;
// Bits the hot loop may take after one refill: literal/length code with its
// extra bits, then a distance code with its extra bits. Deflate64's longer
// extras need a second refill before the distance.
constexpr unsigned kBitsPerMatch = 15 + 5 + 15 + 13;
constexpr unsigned kBitsPerDistance = 15 + 14;
// Deflate64's window.
constexpr std::uint32_t kWindowSize64 = 65536;
// Bits a stream may read past the entry's end before it counts as bad data;
// a sound stream reads none, so this only stops garbage from spinning on.
constexpr unsigned kMaxOverrunBits = 256;

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Distance codes 30 and 31 exist in Deflate64 only.
constexpr std::uint16_t kDistBase[32] = {1,     2,     3,     4,     5,     7,     9,    13,   17,   25,   33,
                                         49,    65,    97,    129,   193,   257,   385,  513,  769,  1025, 1537,
                                         2049,  3073,  4097,  6145,  8193,  12289, 16385, 24577, 32769, 49153};
constexpr std::uint8_t kDistExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                                         7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
// Deflate64's length code 285: base 3 with 16 extra bits instead of 258.
constexpr unsigned kLastLengthSymbol = 285;
constexpr std::uint16_t kLastLengthBase64 = 3;
constexpr std::uint8_t kLastLengthExtra64 = 16;

struct Alphabets {
  TDecodeEntry lit[kLitSymbols];
  TDecodeEntry dist[kDistSymbols];
  TDecodeEntry lengths[kLengthSymbols];
};

constexpr Alphabets MakeAlphabets(TInflateVariant variant) {
  const bool d64 = variant == TInflateVariant::Deflate64;
  const unsigned distCodes = d64 ? kMaxDistCodes64 : kMaxDistCodes;
  Alphabets a{};
  for (unsigned i = 0; i < kLitSymbols; ++i) {
    if (i < kEndOfBlock) {
      a.lit[i] = {kKindLiteral, 0, static_cast<std::uint16_t>(i)};
    } else if (i == kEndOfBlock) {
      a.lit[i] = {kKindEndOfBlock, 0, 0};
    } else if (i == kLastLengthSymbol && d64) {
      a.lit[i] = {static_cast<std::uint8_t>(kKindBase | kLastLengthExtra64), 0, kLastLengthBase64};
    } else if (i < kMaxLitCodes) {
      a.lit[i] = {static_cast<std::uint8_t>(kKindBase | kLengthExtra[i - 257]), 0, kLengthBase[i - 257]};
    } else {
      a.lit[i] = {kKindInvalid, 0, 0};
    }
  }
  for (unsigned i = 0; i < kDistSymbols; ++i)
    a.dist[i] = i < distCodes ? TDecodeEntry{static_cast<std::uint8_t>(kKindBase | kDistExtra[i]), 0, kDistBase[i]}
                                  : TDecodeEntry{kKindInvalid, 0, 0};
  for (unsigned i = 0; i < kLengthSymbols; ++i) a.lengths[i] = {kKindLiteral, 0, static_cast<std::uint16_t>(i)};
  return a;
}

constexpr Alphabets kAlphabets = MakeAlphabets(TInflateVariant::Deflate);
constexpr Alphabets kAlphabets64 = MakeAlphabets(TInflateVariant::Deflate64);

const Alphabets& Symbols(TInflateVariant variant) {
  return variant == TInflateVariant::Deflate64 ? kAlphabets64 : kAlphabets;
}

}  // namespace

TDeflateAlphabets DeflateAlphabets() { return {kAlphabets.lit, kAlphabets.dist, kAlphabets.lengths}; }

namespace {

constexpr TDecodeEntry kInvalidEntry{kKindInvalid, 0, 0};
// Largest alphabet the builder takes (deflate's 320 lengths at most).
constexpr unsigned kMaxSymbols = 320;

unsigned Reverse(unsigned code, unsigned len) {
  unsigned r = 0;
  for (unsigned i = 0; i < len; ++i) {
    r = (r << 1) | (code & 1);
    code >>= 1;
  }
  return r;
}

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);  // little-endian on every target of this system
  return v;
}

}  // namespace

TDecodeResult BuildDecodeTable(const std::uint8_t* lengths, unsigned count, const TDecodeEntry* symbols,
                     unsigned lookupBits, TDecodeEntry* table, unsigned capacity, unsigned& rootBits) {
  unsigned counts[kMaxCodeBits + 1] = {};
  for (unsigned i = 0; i < count; ++i) ++counts[lengths[i]];
  counts[0] = 0;
  unsigned maxLen = kMaxCodeBits;
  while (maxLen > 0 && counts[maxLen] == 0) --maxLen;
  if (maxLen == 0) {  // no codes at all: every lookup is invalid
    rootBits = 1;
    if (capacity < 2) return TDecodeResult::NoMemory;
    table[0] = table[1] = kInvalidEntry;
    return TDecodeResult::Ok;
  }
  unsigned minLen = 1;
  while (counts[minLen] == 0) ++minLen;
  int left = 1;
  for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
    left = (left << 1) - static_cast<int>(counts[len]);
    if (left < 0) return TDecodeResult::BadBlock;
  }
  if (left > 0 && maxLen != 1) return TDecodeResult::BadData;

  const unsigned root = std::clamp(lookupBits, minLen, maxLen);
  const unsigned rootSize = 1u << root;
  if (rootSize > capacity) return TDecodeResult::NoMemory;

  // Symbols in canonical order: by length, then by symbol number.
  unsigned offsets[kMaxCodeBits + 2] = {};
  for (unsigned len = 1; len <= maxLen; ++len) offsets[len + 1] = offsets[len] + counts[len];
  std::uint16_t sorted[kMaxSymbols];
  if (count > kMaxSymbols) return TDecodeResult::NoMemory;
  for (unsigned i = 0; i < count; ++i)
    if (lengths[i] != 0) sorted[offsets[lengths[i]]++] = static_cast<std::uint16_t>(i);

  std::fill(table, table + rootSize, kInvalidEntry);
  unsigned next = rootSize;
  unsigned remaining[kMaxCodeBits + 1];
  std::copy(counts, counts + kMaxCodeBits + 1, remaining);
  unsigned code = 0;
  unsigned idx = 0;
  unsigned curPrefix = rootSize;  // none yet
  unsigned curBase = 0;
  unsigned curBits = 0;
  for (unsigned len = 1; len <= maxLen; ++len, code <<= 1) {
    for (unsigned k = 0; k < counts[len]; ++k, ++code, --remaining[len]) {
      TDecodeEntry entry = symbols[sorted[idx++]];
      const unsigned rev = Reverse(code, len);
      if (len <= root) {
        entry.bits = static_cast<std::uint8_t>(len);
        for (unsigned j = rev; j < rootSize; j += 1u << len) table[j] = entry;
        continue;
      }
      const unsigned prefix = rev & (rootSize - 1);
      if (prefix != curPrefix) {
        // Widen the deeper level while the codes still to come fill it.
        unsigned sub = len - root;
        int avail = 1 << sub;
        for (unsigned l = len; l < maxLen; ++l) {
          avail -= static_cast<int>(remaining[l]);
          if (avail <= 0) break;
          ++sub;
          avail <<= 1;
        }
        if (next + (1u << sub) > capacity || next > 0xFFFF) return TDecodeResult::NoMemory;
        std::fill(table + next, table + next + (1u << sub), kInvalidEntry);
        table[prefix] = {static_cast<std::uint8_t>(kKindLink | sub), static_cast<std::uint8_t>(root),
                         static_cast<std::uint16_t>(next)};
        curPrefix = prefix;
        curBase = next;
        curBits = sub;
        next += 1u << sub;
      }
      entry.bits = static_cast<std::uint8_t>(len - root);
      for (unsigned j = rev >> root; j < (1u << curBits); j += 1u << (len - root)) table[curBase + j] = entry;
    }
  }
  rootBits = root;
  return TDecodeResult::Ok;
}

TInflater::TInflater(TInflateVariant variant) : variant_(variant) {
  if (variant == TInflateVariant::Deflate64) {
    ownWindow_ = std::make_unique<std::uint8_t[]>(kWindowSize64);
    windowSize_ = kWindowSize64;
  }
}

void TInflater::WrapWindow() {
  s_->FlushWindow(window_, windowSize_);
  wp_ = 0;
  windowFull_ = true;
}

bool TInflater::PadByte() {
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

bool TInflater::Refill() {
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

TDecodeResult TInflater::Inflate(TDecodeState& s) {
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

TDecodeResult TInflater::Blocks() {
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

TDecodeResult TInflater::StoredBlock() {
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

TDecodeResult TInflater::FixedBlock() {
  std::uint8_t litLengths[kLitSymbols];
  std::uint8_t distLengths[kDistSymbols];
  FixedCodeLengths(litLengths, distLengths);
  unsigned litBits = 0;
  unsigned distBits = 0;
  if (BuildDecodeTable(litLengths, kLitSymbols, Symbols(variant_).lit, kFixedLitBits, lit_, kLitTableSize, litBits) !=
      TDecodeResult::Ok)
    return TDecodeResult::NoMemory;
  if (BuildDecodeTable(distLengths, kDistSymbols, Symbols(variant_).dist, kFixedDistBits, dist_, kDistTableSize,
                       distBits) != TDecodeResult::Ok)
    return TDecodeResult::NoMemory;
  return Codes(litBits, distBits);
}

TDecodeResult TInflater::DynamicBlock() {
  const Alphabets& symbols = Symbols(variant_);
  unsigned litBits = 0;
  unsigned distBits = 0;
  const TDecodeResult r = ReadDynamicHeader(
      TBitReader{bits_, nbits_, [this] { return Refill(); }},
      variant_ == TInflateVariant::Deflate64 ? kMaxDistCodes64 : kMaxDistCodes,
      [&](const std::uint8_t* litLengths, unsigned nlit, const std::uint8_t* distLengths, unsigned ndist) {
        const TDecodeResult lit =
            BuildDecodeTable(litLengths, nlit, symbols.lit, kDynamicLitBits, lit_, kLitTableSize, litBits);
        if (lit != TDecodeResult::Ok) return lit;
        return BuildDecodeTable(distLengths, ndist, symbols.dist, kDynamicDistBits, dist_, kDistTableSize, distBits);
      });
  return r == TDecodeResult::Ok ? Codes(litBits, distBits) : r;
}

TDecodeResult TInflater::Codes(unsigned litBits, unsigned distBits) {
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
