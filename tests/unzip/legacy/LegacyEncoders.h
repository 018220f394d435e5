// Test-only encoders for the legacy zip methods, written from the public zip
// application note: shrink (method 1), reduce (methods 2 to 5) and implode
// (method 6). They favour clarity over ratio and speed.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace legacytest {

using Bytes = std::vector<std::uint8_t>;

// Least-significant-bit-first bit packing.
class TBitWriter {
 public:
  void Put(std::uint32_t value, unsigned bits);
  // Pads the last byte with zeros.
  Bytes Finish();

 private:
  Bytes out_;
  std::uint32_t buf_ = 0;
  unsigned count_ = 0;
};

// A literal (distance 0) or a match of `length` bytes from `distance` back.
struct TToken {
  std::uint32_t value;  // the literal byte or the match length
  std::uint32_t distance;
};

struct TMatchRules {
  std::uint32_t maxDistance;
  std::uint32_t minLength;
  std::uint32_t maxLength;
  // Reduce cannot express 3-byte matches from at most 256 bytes back.
  bool reduceRule = false;
};

// Greedy LZ77 parse with hash chains.
std::vector<TToken> Tokenize(std::span<const std::uint8_t> data, const TMatchRules& rules);

// Shrinks `data`; with `partialClears` a nearly full code table is partially
// cleared, else it stays full (which the stock unzip refuses, while the
// engine's decoder reads it as the application note allows).
Bytes Shrink(std::span<const std::uint8_t> data, bool partialClears = true);

TMatchRules ReduceRules(int factor);
// Follower sets of up to `maxFollowers` entries are chosen from the symbol
// stream; 0 leaves every set empty.
Bytes ReduceTokens(const std::vector<TToken>& tokens, int factor, unsigned maxFollowers = 63);
Bytes Reduce(std::span<const std::uint8_t> data, int factor, unsigned maxFollowers = 63);

TMatchRules ImplodeRules(bool dictionary8k, bool literalTree);
// The three trees' code lengths; an empty literal list means raw literals.
struct TImplodeTrees {
  std::vector<std::uint8_t> literal, length, distance;
};
// The trees' description bytes, as they stand in front of the codes.
Bytes DescribeTree(const std::vector<std::uint8_t>& lengths);
// Shannon-Fano codes of a length list as written to the stream (bits in
// stream order), one per symbol.
std::vector<std::uint32_t> StreamCodes(const std::vector<std::uint8_t>& lengths);
Bytes ImplodeTokens(const std::vector<TToken>& tokens, bool dictionary8k, const TImplodeTrees& trees);
// Chooses code lengths from the token statistics.
TImplodeTrees ChooseTrees(const std::vector<TToken>& tokens, bool dictionary8k, bool literalTree);
Bytes Implode(std::span<const std::uint8_t> data, bool dictionary8k, bool literalTree);
// General-purpose flags for an imploded entry.
std::uint16_t ImplodeFlags(bool dictionary8k, bool literalTree);

}  // namespace legacytest
