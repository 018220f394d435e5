#include "../core/ShellClip.h"

#include <windows.h>

namespace platform {

std::vector<std::uint8_t> ShellClipData(int resourceNumber) {
  HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!shell) return {};
  std::vector<std::uint8_t> bytes;
  if (HRSRC info = FindResourceW(shell, MAKEINTRESOURCEW(resourceNumber), L"AVI")) {
    HGLOBAL loaded = LoadResource(shell, info);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (data) bytes.assign(data, data + SizeofResource(shell, info));
  }
  FreeLibrary(shell);
  return bytes;
}

}  // namespace platform
