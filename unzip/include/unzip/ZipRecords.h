// The archive's directory records as the engine keeps them in memory.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace unzip {

// Base of the copyable directory objects.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual const char* ClassName() const { return "TPersistent"; }
  // Copies this object into `target`; unrelated classes are refused.
  virtual void AssignTo(TPersistent& target) const;
  // Copies `source` into this object.
  virtual void Assign(const TPersistent& source);
};

// Record signatures and sizes of the zip format.
inline constexpr std::uint32_t kLocalSignature = 0x04034B50u;
inline constexpr std::uint32_t kCentralSignature = 0x02014B50u;
inline constexpr std::uint32_t kEndSignature = 0x06054B50u;
inline constexpr std::uint32_t kZip64EndSignature = 0x06064B50u;
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50u;
inline constexpr std::uint32_t kDataDescriptorSignature = 0x08074B50u;
inline constexpr int kLocalHeaderSize = 30;
inline constexpr int kCentralHeaderSize = 46;
inline constexpr int kEndRecordSize = 22;
// The Zip64 end record without its extensible data, and its locator, which
// sits right before the end record.
inline constexpr int kZip64EndSize = 56;
inline constexpr int kZip64LocatorSize = 20;

// General purpose flag bits.
inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;

// Host bytes of "version made by": MS-DOS/FAT, and Unix, whose file mode
// stands in the high 16 bits of the external attributes.
inline constexpr std::uint8_t kHostFat = 0;
inline constexpr std::uint8_t kHostUnix = 3;

// Compression method 99 marks WinZip's AES encryption.
inline constexpr std::uint16_t kMethodAes = 99;

class TZipHeaderInfo : public TPersistent {
 public:
  const char* ClassName() const override { return "TZipHeaderInfo"; }
  void AssignTo(TPersistent& target) const override;

  std::string StoredPath() const { return Directory + FileName; }
  // Splits a converted name ("\"-separated) into Directory and FileName.
  void SetName(const std::string& name);
  // The attributes to give the extracted file: a Unix mode loses its setuid,
  // setgid and sticky bits, and a symbolic link becomes an ordinary file
  // (holding the link's target) readable by all and writable by its owner.
  std::uint32_t FileAttributes() const;
  // Encrypted with something stronger than the traditional zip encryption.
  bool StrongEncryption() const { return Method == kMethodAes || (Flags & kFlagStrongEncryption) != 0; }

  std::uint16_t VersionMadeBy = 20;
  std::uint16_t VersionNeeded = 20;
  std::uint16_t Flags = 0;
  std::uint16_t Method = 8;
  std::uint32_t DosDateTime = 0;
  std::uint32_t CRC32 = 0xFFFFFFFFu;
  // Sizes, offsets and disk numbers are as wide as Zip64 makes them.
  std::uint64_t CompressedSize = 0;
  std::uint64_t UncompressedSize = 0;
  std::uint16_t NameLength = 0;
  std::uint16_t CentralExtraLength = 0;
  std::uint16_t LocalExtraLength = 0;
  std::uint16_t CommentLength = 0;
  std::uint32_t DiskNumberStart = 0;
  std::uint16_t InternalAttributes = 1;
  std::uint32_t ExternalAttributes = 32;  // the archive attribute
  std::uint64_t LocalHeaderOffset = 0;
  std::uint64_t CentralRecordOffset = 0;
  std::string FileName;
  std::string Directory;
  std::optional<std::string> Comment;
  bool Selected = false;
  bool OEMNames = false;
  // Last modification time in seconds since 1970 UTC, from an extended
  // timestamp or NTFS extra field; it takes precedence over DosDateTime.
  std::optional<std::int64_t> UtcModTime;
};

class TEndCentral : public TPersistent {
 public:
  const char* ClassName() const override { return "TEndCentral"; }
  void AssignTo(TPersistent& target) const override;
  void Clear() { *this = TEndCentral(); }

  std::uint32_t Signature = kEndSignature;
  // Counts, sizes and disk numbers are as wide as the Zip64 end record has them.
  std::uint32_t ThisDisk = 0;
  std::uint32_t CentralStartDisk = 0;
  std::uint64_t EntriesOnDisk = 0;
  std::uint64_t TotalEntries = 0;
  std::uint64_t CentralSize = 0;
  std::uint64_t CentralOffset = 0;
  std::uint16_t CommentLength = 0;
  std::optional<std::string> Comment;
  std::uint64_t CommentPosition = 0;
  bool CommentChanged = false;
};

}  // namespace unzip
