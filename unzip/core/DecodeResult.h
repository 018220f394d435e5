// What every decoder says of one entry's data, and the code-table builders of
// their code descriptions.
#pragma once
#include <cstdint>

namespace unzip {

enum class [[nodiscard]] TDecodeResult : std::uint8_t {
  Ok,        // decoded to the end of the data
  DataLeft,  // decoded to the entry's size with compressed bytes to spare: as good as Ok
  BadData,   // damaged: a code that means nothing, a bad length, data cut short
  BadBlock,  // a damaged code description: deflate's block type 3 or an over-subscribed code, a bad implode tree
  NoMemory,  // needs more memory than the engine allows, or more than could be had
};

// Whether the data decoded soundly.
constexpr bool Sound(TDecodeResult r) { return r == TDecodeResult::Ok || r == TDecodeResult::DataLeft; }

}  // namespace unzip
