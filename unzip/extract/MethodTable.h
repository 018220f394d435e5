// The compression methods the engine knows, in one table: each one's number,
// its name, what damage messages call its data, and its decoder.
#pragma once
#include <cstdint>

#include "core/DecodeResult.h"

namespace unzip {

class TEntryDecoder;

struct TMethod {
  std::uint16_t id;
  const char* name;      // as a listing shows it: "deflate", "reduce2"
  const char* dataName;  // as a damage message calls its data: "corrupt imploded data"
  // Decodes the entry the decoder holds; none for a method that is only named.
  TDecodeResult (*decode)(TEntryDecoder& decoder);
};

// The method numbered `id`; none for one the engine does not know.
const TMethod* FindMethod(std::uint16_t id);

// Whether this build decodes compression method `id`.
bool MethodSupported(std::uint16_t id);

}  // namespace unzip
