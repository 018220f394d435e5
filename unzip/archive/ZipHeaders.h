// The fixed parts of the zip format's records, each parsed in one place with
// its fields named as the application note lists them.
#pragma once
#include <cstdint>

#include "unzip/ZipRecords.h"

namespace unzip {

// The fields a local header and a central record share, in this order.
struct TEntryFields {
  std::uint16_t versionNeeded;
  std::uint16_t flags;
  std::uint16_t method;
  std::uint32_t dosDateTime;
  std::uint32_t crc32;
  std::uint32_t compressedSize;
  std::uint32_t uncompressedSize;
  std::uint16_t nameLength;
  std::uint16_t extraLength;
};

// A local header: kLocalHeaderSize bytes, then the name and the extra field.
struct TLocalHeader : TEntryFields {
  static constexpr int kSize = kLocalHeaderSize;
  static constexpr std::uint32_t kSignature = kLocalSignature;
  std::uint32_t signature;

  static TLocalHeader Parse(const std::uint8_t* h);
  // Where the data starts behind a header at `offset`.
  std::uint64_t DataOffset(std::uint64_t offset) const { return offset + kLocalHeaderSize + nameLength + extraLength; }
};

// A central directory record: kCentralHeaderSize bytes, then the name, the
// extra field and the comment.
struct TCentralHeader : TEntryFields {
  static constexpr int kSize = kCentralHeaderSize;
  static constexpr std::uint32_t kSignature = kCentralSignature;
  std::uint32_t signature;
  std::uint16_t versionMadeBy;
  std::uint16_t commentLength;
  std::uint16_t diskNumberStart;
  std::uint16_t internalAttributes;
  std::uint32_t externalAttributes;
  std::uint32_t localHeaderOffset;

  static TCentralHeader Parse(const std::uint8_t* h);
};

// The end of central directory record: kEndRecordSize bytes, then the comment.
struct TEndRecord {
  std::uint32_t signature;
  std::uint16_t thisDisk;
  std::uint16_t centralStartDisk;
  std::uint16_t entriesOnDisk;
  std::uint16_t totalEntries;
  std::uint32_t centralSize;
  std::uint32_t centralOffset;
  std::uint16_t commentLength;

  static TEndRecord Parse(const std::uint8_t* h);
};

// The Zip64 end of central directory locator, right before the end record.
struct TZip64Locator {
  std::uint32_t signature;
  std::uint32_t endRecordDisk;
  std::uint64_t endRecordOffset;
  std::uint32_t totalDisks;

  static TZip64Locator Parse(const std::uint8_t* h);
};

// The Zip64 end of central directory record without its extensible data.
struct TZip64EndRecord {
  std::uint32_t signature;
  std::uint64_t recordSize;
  std::uint16_t versionMadeBy;
  std::uint16_t versionNeeded;
  std::uint32_t thisDisk;
  std::uint32_t centralStartDisk;
  std::uint64_t entriesOnDisk;
  std::uint64_t totalEntries;
  std::uint64_t centralSize;
  std::uint64_t centralOffset;

  static TZip64EndRecord Parse(const std::uint8_t* h);
};

}  // namespace unzip
