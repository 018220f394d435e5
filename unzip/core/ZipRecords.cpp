#include "unzip/ZipRecords.h"

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

}  // namespace unzip
