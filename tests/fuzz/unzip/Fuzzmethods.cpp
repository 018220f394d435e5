// Feeds arbitrary bytes to the Deflate64, bzip2, LZMA, XZ, Zstandard and PPMd
// decoders as one entry's compressed data; the first byte picks the decoder.
#include <cstddef>
#include <cstdint>

#include "FuzzIO.h"
#include "decode/InflateFast.h"
#include "decode/LibraryDecoders.h"
#include "unzip/ZipErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static unzip::TDecodeState state;
  static unzip::TFastInflater deflate64(unzip::TInflateVariant::Deflate64);
  fuzzing::FuzzIO io(state, data + 1, size - 1);
  state.io = &io;
  state.StartEntry(static_cast<std::int64_t>(size - 1), static_cast<std::int64_t>(fuzzing::kOutputLimit));
  try {
    switch (data[0] % 6) {
      case 0: (void)deflate64.Inflate(state); break;
      case 1: (void)unzip::UnBzip2(state); break;
      case 2: (void)unzip::UnLzma(state); break;
      case 3: (void)unzip::UnXz(state); break;
      case 4: (void)unzip::UnZstd(state); break;
      default: (void)unzip::UnPpmd(state); break;
    }
  } catch (const unzip::EBiggerThanUncompressed&) {
    // The output limit: the driver ends such an entry the same way.
  }
  return 0;
}
