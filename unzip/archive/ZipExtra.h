// The extra fields of local and central records that the engine interprets:
// Zip64 sizes and offsets, the Unicode path and comment, the file times, and
// WinZip's AES field.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace unzip {

class TZipHeaderInfo;

// Header IDs of the extra fields read.
inline constexpr std::uint16_t kExtraZip64 = 0x0001;
inline constexpr std::uint16_t kExtraNtfs = 0x000A;
inline constexpr std::uint16_t kExtraTimestamp = 0x5455;
inline constexpr std::uint16_t kExtraUnicodeComment = 0x6375;
inline constexpr std::uint16_t kExtraUnicodePath = 0x7075;
inline constexpr std::uint16_t kExtraAes = 0x9901;

// A classic field holding this value has its real value in the Zip64 extra field.
inline constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFFu;
inline constexpr std::uint16_t kZip64Marker16 = 0xFFFF;

// What the extra field of one record says beyond the fixed fields.
struct TExtraFields {
  // Fixed fields marked as kept in a Zip64 block that is missing or too short.
  bool zip64Missing = false;
  // The extra field's last block runs past the field's end.
  bool truncated = false;
  // The Unicode path, when its CRC matches the stored name.
  std::optional<std::string> unicodePath;
  // The Unicode comment and the CRC of the stored comment it belongs to.
  std::optional<std::string> unicodeComment;
  std::uint32_t unicodeCommentCrc = 0;
  // Last modification time, seconds since 1970-01-01 UTC.
  std::optional<std::int64_t> modTime;
};

// Reads the `n` bytes of an extra field at `p` for `rec`, whose fixed fields
// are filled already: Zip64 values replace the marked fixed fields (a local
// header carries both sizes when either is marked). `rawName` is the name as
// stored, for the Unicode path's check.
TExtraFields ReadExtraField(TZipHeaderInfo& rec, const std::uint8_t* p, std::size_t n, bool local,
                            const std::string& rawName);

// The Unicode path among the `n` bytes of an extra field at `p`, when its CRC
// matches `rawName`, the name as stored.
std::optional<std::string> FindUnicodePath(const std::uint8_t* p, std::size_t n, const std::string& rawName);

// What a WinZip AES entry's 0x9901 field says.
struct TAesInfo {
  std::uint16_t version = 0;  // 1 (AE-1: the CRC is checked too) or 2 (AE-2: it is not stored)
  std::uint8_t strength = 0;  // 1, 2, 3: 128, 192, 256-bit keys
  std::uint16_t method = 0;   // the compression method of the data inside
};

// The 0x9901 field among the `n` bytes of an extra field at `p`; nothing when
// it is absent or malformed.
std::optional<TAesInfo> FindAesExtra(const std::uint8_t* p, std::size_t n);

}  // namespace unzip
