// The animation's clip decoder on arbitrary bytes: refused or decoded, never a fault.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/AviClip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    platform::DecodeAviFrames(std::span<const std::uint8_t>(data, size));
  } catch (const platform::EInvalidClip&) {
  } catch (const platform::EInvalidBitmap&) {
  }
  return 0;
}
