// Arbitrary bytes into the shrink, reduce and implode decoders: none may crash,
// hang or touch memory outside its buffers; oversized output must raise.
#include "FuzzLegacy.h"

#include <span>

#include "LegacyDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < legacyfuzz::kHeaderSize) return 0;
  static unzip::TDecodeState state;  // reused like a run's buffers
  const std::span<const std::uint8_t> packed(data + legacyfuzz::kHeaderSize, size - legacyfuzz::kHeaderSize);
  try {
    legacytest::Decode(state, legacyfuzz::MethodOf(data[0]), legacyfuzz::ImplodeFlagsOf(data[0]), packed,
                       legacyfuzz::DeclaredSize(data), 4096);
  } catch (const legacytest::EOversize&) {
  }
  return 0;
}
