#include "unzip/ZipRecords.h"

#include <algorithm>

#include "platform/Text.h"
#include "unzip/ZipErrors.h"

namespace unzip {

void TPersistent::AssignTo(TPersistent& target) const {
  throw platform::Exception(std::string("Cannot assign a ") + ClassName() + " to a " + target.ClassName());
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TZipHeaderInfo::AssignTo(TPersistent& target) const {
  if (auto* t = dynamic_cast<TZipHeaderInfo*>(&target)) {
    const bool oem = t->OEMNames;
    *t = *this;  // the comment text is copied, so the target owns its own
    t->OEMNames = oem;
    return;
  }
  TPersistent::AssignTo(target);
}

void TZipHeaderInfo::Assign(const TPersistent& source) {
  if (dynamic_cast<const TZipHeaderInfo*>(&source)) {
    source.AssignTo(*this);
    return;
  }
  TPersistent::Assign(source);
}

void TZipHeaderInfo::SetName(const std::string& name) {
  const std::size_t at = platform::LastDelimiter("\\:", name);
  if (at == std::string::npos) {
    Directory.clear();
    FileName = name;
  } else {
    Directory = name.substr(0, at + 1);
    FileName = name.substr(at + 1);
  }
  if (!Directory.empty() && Directory.back() != '\\') Directory += '\\';
  NameLength = static_cast<std::uint16_t>(Directory.size() + FileName.size());
}

std::uint32_t TZipHeaderInfo::FileAttributes() const {
  if ((VersionMadeBy >> 8) != kHostUnix) return ExternalAttributes;
  constexpr std::uint32_t kTypeMask = 0170000, kSymLink = 0120000, kRegular = 0100000;
  constexpr std::uint32_t kSpecialBits = 07000, kOrdinaryMode = 0644;
  std::uint32_t mode = ExternalAttributes >> 16;
  if ((mode & kTypeMask) == kSymLink) mode = kRegular | kOrdinaryMode;
  mode &= ~kSpecialBits;
  return (mode << 16) | (ExternalAttributes & 0xFFFF);
}

void TEndCentral::AssignTo(TPersistent& target) const {
  if (auto* t = dynamic_cast<TEndCentral*>(&target)) {
    *t = *this;
    return;
  }
  TPersistent::AssignTo(target);
}

void TEndCentral::Assign(const TPersistent& source) {
  if (dynamic_cast<const TEndCentral*>(&source)) {
    source.AssignTo(*this);
    return;
  }
  TPersistent::Assign(source);
}

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

bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int trail = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (trail < 0 || (trail == 1 && c < 0xC2) || (trail > 0 && i + trail >= s.size())) return false;
    for (int k = 1; k <= trail; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += trail + 1;
  }
  return true;
}

std::string ConvertEntryName(const std::string& raw, bool utf8Flag, bool fatHost, unsigned codePage) {
  std::string name;
  if (utf8Flag || (!fatHost && IsValidUtf8(raw))) {
    name = raw;
  } else {
    name = platform::ToUtf8(raw, codePage);
  }
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t Get64(const std::uint8_t* p) { return Get32(p) | (static_cast<std::uint64_t>(Get32(p + 4)) << 32); }

}  // namespace unzip
