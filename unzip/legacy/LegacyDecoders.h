// The decoders of the older methods: shrunk (1), reduced (2 to 5) and
// imploded (6). Each decodes the current entry from the run's state, flushes
// its output and returns Ok, or stops without flushing and returns its
// verdict on the data.
#pragma once
#include <cstdint>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"

namespace unzip {

// Method 1: dynamic LZW with partial clearing, until the input runs out. Bad
// data: codes wider than 13 bits, or a code chain that cannot end.
TDecodeResult UnShrink(TDecodeState& s);

// Methods 2 to 5: follower sets and DLE-escaped matches with compression
// factor `factor` (method - 1), up to the entry's size. Bad data: a factor
// outside 1 to 4, or input that runs out first.
TDecodeResult UnReduce(TDecodeState& s, int factor);

// General-purpose flag bits of an imploded entry.
inline constexpr std::uint16_t kImplode8kDictionary = 0x0002;
inline constexpr std::uint16_t kImplodeLiteralTree = 0x0004;

// Method 6: a sliding dictionary with Shannon-Fano coded literals, lengths
// and distances, up to the entry's size, with the entry's general-purpose
// `flags`. A bad tree description is a bad block; an invalid code, or codes
// that run past the end of the input, bad data; a tree's table that cannot be
// allocated, no memory. DataLeft: compressed bytes remain after the last byte
// (the output is flushed).
TDecodeResult Explode(TDecodeState& s, std::uint16_t flags);

}  // namespace unzip
