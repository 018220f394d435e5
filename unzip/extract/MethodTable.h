// The compression methods the engine knows.
#pragma once
#include <cstdint>

namespace unzip {

// Whether this build decodes compression method `method`.
bool MethodSupported(std::uint16_t method);

}  // namespace unzip
