#include "platform/Resources.h"

#include <windows.h>

#include <string>

namespace platform {

std::span<const std::uint8_t> ProgramResource(std::string_view name) {
  const std::string key(name);
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceA(module, key.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  // A module's resources stay mapped for the life of the process.
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, info)};
}

}  // namespace platform
