// Method 1 (shrunk): dynamic LZW with partial clearing.
#pragma once
#include "core/DecodeState.h"

namespace unzip {

// Decodes the current entry until its input runs out and flushes the output.
// Returns false, without flushing, on bad data (codes wider than 13 bits or a
// code chain that cannot end).
bool UnShrink(TDecodeState& s);

}  // namespace unzip
