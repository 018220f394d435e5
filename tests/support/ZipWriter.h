// Writes small zip archives for tests that need exact names, contents,
// attributes and, for the zip engine's tests, methods, flags and raw data.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
  std::string name;  // UTF-8; flagged as such when not ASCII
  std::string data;  // what the entry extracts to
  std::uint32_t unixMode = 0100644;
  // An entry that is not simply stored: its method and general-purpose flags,
  // its extra field (in both headers), its bytes as the archive holds them,
  // and the CRC and size it declares when they are not data's.
  std::uint16_t method = 0;
  std::uint16_t flags = 0;
  std::string extra{};
  std::optional<std::string> packed{};
  std::optional<std::uint32_t> crc{};
  std::optional<std::uint32_t> size{};
};

// The DOS time and date of every entry: 2025-01-01 12:00:00.
inline constexpr std::uint16_t kZipDosTime = 0x6000;
inline constexpr std::uint16_t kZipDosDate = 0x5A21;

// The local headers with the data, the central directory and the end record.
std::string MakeZip(const std::vector<ZipEntry>& entries);
// The same, named for the stored entries that the launcher's tests package.
inline std::string MakeStoredZip(const std::vector<ZipEntry>& entries) { return MakeZip(entries); }

}  // namespace testing_support
