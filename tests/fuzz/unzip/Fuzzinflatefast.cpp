// Deflate streams through the engine's decoder and the reference decoder.
#include "FuzzInflate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::CompareInflaters<unzip::TInflateVariant::Deflate>(data, size);
  return 0;
}
