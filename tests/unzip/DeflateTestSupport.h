// Helpers of the deflate decoders' tests: an IO over a byte string, zlib's
// raw deflate as the reference encoder, sample data and hand-made bit strings.
#pragma once
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/DecodeState.h"
#include "unzip/ZipErrors.h"

namespace unzip::deflatetest {

// Feeds a byte string as an entry's compressed data and collects the output,
// refusing output beyond `limit` as the driver does.
class MemoryIO : public TDecodeIO {
 public:
  MemoryIO(TDecodeState& s, std::string input, std::size_t limit) : s_(s), in_(std::move(input)), limit_(limit) {}
  bool FillInput() override {
    const std::size_t n = std::min<std::size_t>(kChunkSize, in_.size() - pos_);
    std::memcpy(s_.inBuf.get(), in_.data() + pos_, n);
    pos_ += n;
    s_.inCount = static_cast<std::uint32_t>(n);
    return n > 0;
  }
  void FlushOutput() override {
    if (s_.outCount == 0) return;
    if (out.size() + s_.outCount > limit_) throw EBiggerThanUncompressed("too big");
    out.append(reinterpret_cast<const char*>(s_.outBuf.get()), s_.outCount);
    pieces.push_back(s_.outCount);
    s_.outCount = 0;
    s_.outPtr = s_.outBuf.get();
  }
  std::string out;
  std::vector<std::uint32_t> pieces;  // the sizes of the writes, in order

 private:
  TDecodeState& s_;
  std::string in_;
  std::size_t pos_ = 0;
  std::size_t limit_;
};

inline std::string RawDeflate(const std::string& data, int level, int strategy) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::string Sample(const std::string& kind, std::size_t size, unsigned seed = 42) {
  std::mt19937 rng(seed);
  std::string s;
  s.reserve(size);
  if (kind == "random") {
    while (s.size() < size) s.push_back(static_cast<char>(rng()));
  } else if (kind == "text") {
    const char* words[] = {"consignment ", "warehouse ", "route\n", "pallet ", "内容 ", "ab", "zz "};
    while (s.size() < size) s += words[rng() % 7];
  } else if (kind == "records") {  // short periods: distances 2 to 7
    while (s.size() < size) {
      const unsigned period = 2 + rng() % 6;
      std::string unit;
      for (unsigned i = 0; i < period; ++i) unit.push_back(static_cast<char>(rng() % 4));
      for (unsigned r = 0; r < 1 + rng() % 40; ++r) s += unit;
    }
  } else {  // runs: long repeats, distance 1 and short distances
    while (s.size() < size) s.append(1 + rng() % 300, static_cast<char>('a' + rng() % 3));
  }
  s.resize(size);
  return s;
}

// Bit strings written least significant bit first, as deflate packs them.
class Bits {
 public:
  Bits& Put(unsigned value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
      if (n_ % 8 == 0) bytes_.push_back('\0');
      if (value >> i & 1) bytes_.back() = static_cast<char>(bytes_.back() | (1 << (n_ % 8)));
      ++n_;
    }
    return *this;
  }
  std::string bytes() const { return bytes_; }

 private:
  std::string bytes_;
  unsigned n_ = 0;
};

}  // namespace unzip::deflatetest
