// Methods 2 to 5 (reduced with compression factor 1 to 4): follower sets and
// DLE-escaped matches.
#pragma once
#include "core/DecodeState.h"

namespace unzip {

// Decodes the current entry's uncompressed size with compression factor
// `factor` (method - 1) and flushes the output. Returns false, without
// flushing, on a factor outside 1 to 4 or when the input runs out first.
bool UnReduce(TDecodeState& s, int factor);

}  // namespace unzip
