#include "archive/ZipExtra.h"

#include <utility>

#include "core/Crc32.h"
#include "core/ZipBytes.h"
#include "unzip/ZipRecords.h"

namespace unzip {
namespace {

// Each block of an extra field: a 2-byte header ID and a 2-byte data size.
constexpr std::size_t kBlockHeaderSize = 4;
// The AES field: version, vendor "AE", strength, method.
constexpr std::size_t kAesFieldSize = 7;
constexpr std::uint8_t kMaxAesStrength = 3;
// The only version of the Unicode path and comment blocks.
constexpr std::uint8_t kUnicodeVersion = 1;
// Their fixed part: the version byte and the CRC-32 of the stored text.
constexpr std::size_t kUnicodeFixedSize = 5;
// Extended timestamp: a flags byte, then the modification time when bit 0 is set.
constexpr std::uint8_t kTimestampHasModTime = 0x01;
constexpr std::size_t kTimestampSize = 5;
// NTFS times: 4 reserved bytes, then tagged attributes; tag 1 holds the
// modification, access and creation times as 100 ns units since 1601.
constexpr std::size_t kNtfsReserved = 4;
constexpr std::uint16_t kNtfsTimesTag = 1;
constexpr std::size_t kNtfsTimesSize = 24;
constexpr std::uint64_t kFileTimeUnitsPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

// Calls `block(id, data, size)` for each block until it returns false; false
// when the last block runs past the field's end.
template <typename Block>
bool ForEachBlock(const std::uint8_t* p, std::size_t n, Block&& block) {
  for (std::size_t at = 0; at + kBlockHeaderSize <= n;) {
    const std::uint16_t id = Get16(p + at), size = Get16(p + at + 2);
    at += kBlockHeaderSize;
    if (at + size > n) return false;
    if (!block(id, p + at, size)) break;
    at += size;
  }
  return true;
}

std::uint32_t Crc32Of(const std::string& s) {
  return ~UpdateCrc32(kCrcPreset, reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

// Takes the Zip64 values in their fixed order, each only when its fixed field
// is marked; false when the block is too short for them.
bool ReadZip64(TZipHeaderInfo& rec, const std::uint8_t* p, std::size_t n, bool local) {
  std::size_t at = 0;
  auto take = [&](std::uint64_t& field) {
    if (at + 8 > n) return false;
    field = Get64(p + at);
    at += 8;
    return true;
  };
  const bool bigUncompressed = rec.UncompressedSize == kZip64Marker32;
  const bool bigCompressed = rec.CompressedSize == kZip64Marker32;
  if (local) {
    if (!bigUncompressed && !bigCompressed) return true;
    return take(rec.UncompressedSize) && take(rec.CompressedSize);
  }
  if (bigUncompressed && !take(rec.UncompressedSize)) return false;
  if (bigCompressed && !take(rec.CompressedSize)) return false;
  if (rec.LocalHeaderOffset == kZip64Marker32 && !take(rec.LocalHeaderOffset)) return false;
  if (rec.DiskNumberStart == kZip64Marker16) {
    if (at + 4 > n) return false;
    rec.DiskNumberStart = Get32(p + at);
  }
  return true;
}

std::optional<std::string> UnicodePath(const std::uint8_t* d, std::uint16_t size, const std::string& rawName) {
  if (size < kUnicodeFixedSize || d[0] != kUnicodeVersion || Get32(d + 1) != Crc32Of(rawName)) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(d + kUnicodeFixedSize), size - kUnicodeFixedSize);
}

std::optional<std::int64_t> NtfsModTime(const std::uint8_t* p, std::size_t n) {
  std::optional<std::int64_t> time;
  if (n < kNtfsReserved) return time;
  const auto block = [&](std::uint16_t tag, const std::uint8_t* d, std::uint16_t size) {
    if (tag != kNtfsTimesTag || size < kNtfsTimesSize) return true;
    time = static_cast<std::int64_t>(Get64(d) / kFileTimeUnitsPerSecond) - kSecondsFrom1601To1970;
    return false;
  };
  ForEachBlock(p + kNtfsReserved, n - kNtfsReserved, block);
  return time;
}

}  // namespace

TExtraFields ReadExtraField(TZipHeaderInfo& rec, const std::uint8_t* p, std::size_t n, bool local,
                            const std::string& rawName) {
  TExtraFields x;
  std::optional<std::int64_t> ntfsTime;
  x.truncated = !ForEachBlock(p, n, [&](std::uint16_t id, const std::uint8_t* d, std::uint16_t size) {
    switch (id) {
      case kExtraZip64:
        if (!ReadZip64(rec, d, size, local)) x.zip64Missing = true;
        break;
      case kExtraUnicodePath:
        if (auto path = UnicodePath(d, size, rawName)) x.unicodePath = std::move(path);
        break;
      case kExtraUnicodeComment:
        if (size >= kUnicodeFixedSize && d[0] == kUnicodeVersion) {
          x.unicodeCommentCrc = Get32(d + 1);
          x.unicodeComment.emplace(reinterpret_cast<const char*>(d + kUnicodeFixedSize), size - kUnicodeFixedSize);
        }
        break;
      case kExtraTimestamp:
        if (size >= kTimestampSize && (d[0] & kTimestampHasModTime)) x.modTime = Get32(d + 1);
        break;
      case kExtraNtfs: ntfsTime = NtfsModTime(d, size); break;
      default: break;
    }
    return true;
  });
  if (!x.modTime) x.modTime = ntfsTime;
  // A marked field no Zip64 block resolved (none there, or cut short). A local
  // header's sizes do not matter when a data descriptor follows the data.
  const bool sizesMarked = rec.UncompressedSize == kZip64Marker32 || rec.CompressedSize == kZip64Marker32;
  if (local ? sizesMarked && !(rec.Flags & kFlagDataDescriptor) : sizesMarked || rec.LocalHeaderOffset == kZip64Marker32)
    x.zip64Missing = true;
  return x;
}

std::optional<std::string> FindUnicodePath(const std::uint8_t* p, std::size_t n, const std::string& rawName) {
  std::optional<std::string> path;
  ForEachBlock(p, n, [&](std::uint16_t id, const std::uint8_t* d, std::uint16_t size) {
    if (id == kExtraUnicodePath) path = UnicodePath(d, size, rawName);
    return !path;
  });
  return path;
}

std::optional<TAesInfo> FindAesExtra(const std::uint8_t* p, std::size_t n) {
  std::optional<TAesInfo> found;
  ForEachBlock(p, n, [&](std::uint16_t id, const std::uint8_t* d, std::uint16_t size) {
    // Vendor "AE", a version of 1 or 2 and a strength of 1 to 3; the first
    // field with the vendor decides.
    if (id != kExtraAes || size < kAesFieldSize || d[2] != 'A' || d[3] != 'E') return true;
    TFieldReader f(d);
    TAesInfo info;
    info.version = f.U16();
    f.U16();
    info.strength = f.U8();
    info.method = f.U16();
    const bool known = info.version == 1 || info.version == 2;
    if (known && info.strength >= 1 && info.strength <= kMaxAesStrength) found = info;
    return false;
  });
  return found;
}

}  // namespace unzip
