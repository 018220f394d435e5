// Feeds arbitrary bytes to the deflate decoder as one entry's compressed data.
#include <cstddef>
#include <cstdint>

#include "FuzzIO.h"
#include "decode/Inflate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static unzip::TDecodeState state;
  static unzip::TInflater inflater;
  fuzzing::FuzzIO io(state, data, size);
  state.io = &io;
  state.StartEntry(static_cast<std::int64_t>(size), static_cast<std::int64_t>(fuzzing::kOutputLimit));
  (void)inflater.Inflate(state);
  return 0;
}
