#include "platform/Profile.h"

#include <windows.h>

#include "platform/Text.h"

namespace platform {

// The system's reader works in the ANSI code page; convert at the edge.
std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  char buffer[kProfileValueMax + 1];
  GetPrivateProfileStringA(FromUtf8(section, CP_ACP).c_str(), FromUtf8(key, CP_ACP).c_str(),
                           FromUtf8(defaultValue, CP_ACP).c_str(), buffer, sizeof buffer,
                           FromUtf8(path_, CP_ACP).c_str());
  return ToUtf8(buffer, CP_ACP);
}

}  // namespace platform
