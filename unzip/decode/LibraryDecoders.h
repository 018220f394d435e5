// Decoders for the methods that well-kept libraries read: bzip2 (12) through
// libbz2, LZMA (14) and XZ (95) through liblzma, Zstandard (93, and the older
// id 20) through libzstd. Each streams one entry through the run's buffers and
// returns a TStreamResult.
#pragma once
#include <cstdint>

#include "core/DecodeState.h"

namespace unzip {

int UnBzip2(TDecodeState& s);
int UnLzma(TDecodeState& s);
int UnXz(TDecodeState& s);
int UnZstd(TDecodeState& s);

}  // namespace unzip
