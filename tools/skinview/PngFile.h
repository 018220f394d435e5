// A small PNG writer: 8-bit RGB, no interlace, one zlib-compressed IDAT chunk.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

namespace skinview {

std::vector<std::uint8_t> EncodePng(const platform::Bitmap& bitmap);

}  // namespace skinview
