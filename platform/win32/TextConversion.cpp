// Code page conversions through the wide character set.
#include <windows.h>

#include "PathRules.h"
#include "WinText.h"
#include "platform/Text.h"

namespace platform {

std::wstring Widen(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ToUtf8(std::string_view bytes, unsigned codePage) {
  return codePage == kCodePageUtf8 ? std::string(bytes) : Narrow(Widen(bytes, codePage), CP_UTF8);
}

std::string FromUtf8(std::string_view utf8, unsigned codePage) {
  return codePage == kCodePageUtf8 ? std::string(utf8) : Narrow(Widen(utf8, CP_UTF8), codePage);
}

bool CodePageKnown(unsigned codePage) { return IsValidCodePage(codePage) != 0; }

char PathSeparator() { return kPathSeparator; }

}  // namespace platform
