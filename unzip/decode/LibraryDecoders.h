// Decoders for the methods that well-kept libraries read: bzip2 (12) through
// libbz2, LZMA (14) and XZ (95) through liblzma, Zstandard (93, and the older
// id 20) through libzstd, PPMd (98) through the LZMA SDK's PPMd decoder. Each
// streams one entry through the run's buffers.
#pragma once
#include <cstdint>

#include "core/DecodeResult.h"
#include "core/DecodeState.h"

namespace unzip {

TDecodeResult UnBzip2(TDecodeState& s);
TDecodeResult UnLzma(TDecodeState& s);
TDecodeResult UnXz(TDecodeState& s);
TDecodeResult UnZstd(TDecodeState& s);
TDecodeResult UnPpmd(TDecodeState& s);

}  // namespace unzip
