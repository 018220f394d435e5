#include "archive/ZipHeaders.h"

#include "core/ZipBytes.h"

namespace unzip {
namespace {

void ParseEntryFields(TFieldReader& f, TEntryFields& r) {
  r.versionNeeded = f.U16();
  r.flags = f.U16();
  r.method = f.U16();
  r.dosDateTime = f.U32();
  r.crc32 = f.U32();
  r.compressedSize = f.U32();
  r.uncompressedSize = f.U32();
  r.nameLength = f.U16();
  r.extraLength = f.U16();
}

}  // namespace

TLocalHeader TLocalHeader::Parse(const std::uint8_t* h) {
  TFieldReader f(h);
  TLocalHeader r;
  r.signature = f.U32();
  ParseEntryFields(f, r);
  return r;
}

TCentralHeader TCentralHeader::Parse(const std::uint8_t* h) {
  TFieldReader f(h);
  TCentralHeader r;
  r.signature = f.U32();
  r.versionMadeBy = f.U16();
  ParseEntryFields(f, r);
  r.commentLength = f.U16();
  r.diskNumberStart = f.U16();
  r.internalAttributes = f.U16();
  r.externalAttributes = f.U32();
  r.localHeaderOffset = f.U32();
  return r;
}

TEndRecord TEndRecord::Parse(const std::uint8_t* h) {
  TFieldReader f(h);
  TEndRecord r;
  r.signature = f.U32();
  r.thisDisk = f.U16();
  r.centralStartDisk = f.U16();
  r.entriesOnDisk = f.U16();
  r.totalEntries = f.U16();
  r.centralSize = f.U32();
  r.centralOffset = f.U32();
  r.commentLength = f.U16();
  return r;
}

TZip64Locator TZip64Locator::Parse(const std::uint8_t* h) {
  TFieldReader f(h);
  TZip64Locator r;
  r.signature = f.U32();
  r.endRecordDisk = f.U32();
  r.endRecordOffset = f.U64();
  r.totalDisks = f.U32();
  return r;
}

TZip64EndRecord TZip64EndRecord::Parse(const std::uint8_t* h) {
  TFieldReader f(h);
  TZip64EndRecord r;
  r.signature = f.U32();
  r.recordSize = f.U64();
  r.versionMadeBy = f.U16();
  r.versionNeeded = f.U16();
  r.thisDisk = f.U32();
  r.centralStartDisk = f.U32();
  r.entriesOnDisk = f.U64();
  r.totalEntries = f.U64();
  r.centralSize = f.U64();
  r.centralOffset = f.U64();
  return r;
}

}  // namespace unzip
