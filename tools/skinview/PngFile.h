// A picture as a PNG file (8-bit RGB), written by libpng.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

namespace skinview {

std::vector<std::uint8_t> EncodePng(const platform::Bitmap& bitmap);

}  // namespace skinview
