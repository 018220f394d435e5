// DOS date-times as the zip format stores them.
#pragma once
#include <cstdint>

namespace unzip {

// Clamps each part of a DOS date-time into range; an in-range value is
// returned bit for bit.
std::uint32_t RepairDosDateTime(std::uint32_t value);

}  // namespace unzip
