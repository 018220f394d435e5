// Files and folders through the Win32 wide-character calls.
#include "platform/Files.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "WinText.h"

// Our functions share their names with Win32 macros.
#undef DeleteFile

namespace platform {
namespace {

// The attributes SetFileAttributesW accepts; everything else in a zip entry's
// external attributes (a Unix mode, for instance) is left out.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Bytes per ReadFile/WriteFile call, well below the DWORD limit.
constexpr std::int64_t kMaxTransfer = 1 << 30;

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD ShareFor(unsigned mode) {
  switch (mode & 0x70) {
    case 0x10: return 0;                  // deny all
    case 0x20: return FILE_SHARE_READ;    // deny write
    case 0x30: return FILE_SHARE_WRITE;   // deny read
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
}

}  // namespace

FileStream::FileStream(const std::string& path, unsigned mode) {
  const std::wstring wide = Widen(path);
  HANDLE h;
  if (mode == kFmCreate) {
    h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFCreateError("Cannot create file \"" + path + "\"");
  } else {
    DWORD access = GENERIC_READ;
    if ((mode & 3) == kFmOpenWrite) access = GENERIC_WRITE;
    if ((mode & 3) == kFmOpenReadWrite) access = GENERIC_READ | GENERIC_WRITE;
    h = CreateFileW(wide.c_str(), access, ShareFor(mode), nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFOpenError("Cannot open file \"" + path + "\"");
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
}

FileStream::~FileStream() { CloseHandle(H(handle_)); }

std::int64_t FileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const DWORD want = static_cast<DWORD>(count - done < kMaxTransfer ? count - done : kMaxTransfer);
    DWORD got = 0;
    if (!ReadFile(H(handle_), static_cast<char*>(buffer) + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

std::int64_t FileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const DWORD want = static_cast<DWORD>(count - done < kMaxTransfer ? count - done : kMaxTransfer);
    DWORD put = 0;
    if (!WriteFile(H(handle_), static_cast<const char*>(buffer) + done, want, &put, nullptr) || put == 0)
      break;
    done += put;
  }
  return done;
}

std::int64_t FileStream::Seek(std::int64_t offset, int origin) {
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result;
  const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(H(handle_), distance, &result, method)) return -1;
  return result.QuadPart;
}

std::int64_t FileStream::Size() {
  LARGE_INTEGER size;
  return GetFileSizeEx(H(handle_), &size) ? size.QuadPart : -1;
}

bool FileStream::Flush() { return FlushFileBuffers(H(handle_)) != 0; }

bool FileStream::SetLastWriteDosTime(std::uint32_t dosDateTime) {
  FILETIME local;
  FILETIME utc;
  if (!DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime),
                             &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return false;
  return SetFileTime(H(handle_), nullptr, nullptr, &utc) != 0;
}

bool FileStream::SetLastWriteUtcTime(std::int64_t unixSeconds) {
  // FILETIME counts 100 ns units from 1601-01-01.
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
  constexpr std::int64_t kUnitsPerSecond = 10000000;
  const auto units = static_cast<std::uint64_t>((unixSeconds + kSecondsFrom1601To1970) * kUnitsPerSecond);
  FILETIME utc;
  utc.dwLowDateTime = static_cast<DWORD>(units);
  utc.dwHighDateTime = static_cast<DWORD>(units >> 32);
  return SetFileTime(H(handle_), nullptr, nullptr, &utc) != 0;
}

bool FileExists(const std::string& path) {
  const DWORD attr = GetFileAttributesW(Widen(path).c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attr = GetFileAttributesW(Widen(path).c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ForceDirectories(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  if (p.empty()) return false;
  if (DirectoryExists(p) || (p.size() == 2 && p[1] == ':')) return true;
  const std::size_t slash = p.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0 && !ForceDirectories(p.substr(0, slash))) return false;
  return CreateDirectoryW(Widen(p).c_str(), nullptr) != 0 || DirectoryExists(p);
}

bool DeleteFile(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != 0; }

bool RemoveDir(const std::string& path) { return RemoveDirectoryW(Widen(path).c_str()) != 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<std::uint32_t> FileGetAttr(const std::string& path) {
  const DWORD attr = GetFileAttributesW(Widen(path).c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return static_cast<std::uint32_t>(attr);
}

bool FileSetAttr(const std::string& path, std::uint32_t attributes) {
  DWORD attr = attributes & kSettableAttributes;
  if (attr == 0) attr = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesW(Widen(path).c_str(), attr) != 0;
}

std::optional<std::uint32_t> FileAgeDos(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FILETIME local;
  WORD date = 0;
  WORD time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return std::nullopt;
  return (static_cast<std::uint32_t>(date) << 16) | time;
}

bool IsRemovableDrive(const std::string& root) {
  return GetDriveTypeW(Widen(root).c_str()) == DRIVE_REMOVABLE;
}

std::string VolumeLabel(const std::string& root) {
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(Widen(root).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
    return std::string();
  return Narrow(label);
}

std::string CurrentDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
  return n == 0 || n > MAX_PATH ? std::string(".") : Narrow(std::wstring_view(buffer, n));
}

bool StderrIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace platform
