#include "core/DosDateTime.h"

#include <algorithm>

namespace unzip {

std::uint32_t RepairDosDateTime(std::uint32_t value) {
  // Field limits of the DOS format; seconds are stored in two-second units.
  constexpr std::uint32_t kMaxHour = 23, kMaxMinute = 59, kMaxSecondUnits = 29;
  constexpr std::uint32_t kMaxYearOffset = 2099 - 1980, kMaxMonth = 12, kMaxDay = 31;
  const std::uint32_t sec = value & 0x1F, min = (value >> 5) & 0x3F, hour = (value >> 11) & 0x1F;
  const std::uint32_t day = (value >> 16) & 0x1F, month = (value >> 21) & 0x0F, year = (value >> 25) & 0x7F;
  const std::uint32_t s2 = std::min(sec, kMaxSecondUnits), m2 = std::min(min, kMaxMinute);
  const std::uint32_t h2 = std::min(hour, kMaxHour), y2 = std::min(year, kMaxYearOffset);
  const std::uint32_t mo2 = std::clamp(month, 1u, kMaxMonth), d2 = std::clamp(day, 1u, kMaxDay);
  if (s2 == sec && m2 == min && h2 == hour && y2 == year && mo2 == month && d2 == day) return value;
  return (y2 << 25) | (mo2 << 21) | (d2 << 16) | (h2 << 11) | (m2 << 5) | s2;
}

}  // namespace unzip
