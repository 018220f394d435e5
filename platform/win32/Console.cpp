#include "platform/Console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "WinText.h"

namespace platform {

std::optional<std::string> ReadSecret(const std::string& prompt) {
  // The console itself, not standard input, which may carry data.
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  DWORD mode = 0;
  if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE || !GetConsoleMode(in, &mode)) {
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    return std::nullopt;
  }
  const std::wstring wide = Widen(prompt);
  DWORD written = 0;
  WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  SetConsoleMode(in, (mode | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  std::wstring line;
  wchar_t c = 0;
  DWORD got = 0;
  while (ReadConsoleW(in, &c, 1, &got, nullptr) && got == 1 && c != L'\n') {
    if (c != L'\r') line += c;
  }
  SetConsoleMode(in, mode);
  WriteConsoleW(out, L"\r\n", 2, &written, nullptr);
  CloseHandle(in);
  CloseHandle(out);
  return Narrow(line);
}

void StdoutToBinary() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace platform
