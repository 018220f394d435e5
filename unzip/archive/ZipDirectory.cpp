#include "archive/ZipDirectory.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "archive/ZipExtra.h"
#include "archive/ZipHeaders.h"
#include "archive/ZipNames.h"
#include "archive/ZipVolumes.h"
#include "core/Crc32.h"
#include "core/DosDateTime.h"
#include "core/ZipBytes.h"
#include "platform/Text.h"
#include "unzip/ZipErrors.h"

namespace unzip {
namespace {

// The end record is searched in the archive's last 64 KiB of comment plus the record.
constexpr std::int64_t kMaxEndSearch = 65535 + kEndRecordSize;
// Directory sanity limit: beyond this the end record is taken as missing.
constexpr std::uint32_t kMaxDiskNumber = 999;
// The rebuild scan lets messages run after this many bytes.
constexpr int kScanMessageInterval = 10240;
// A data descriptor holds the CRC and both sizes, 4 or (Zip64) 8 bytes each,
// after an optional signature; the chunks its search reads, and the bytes
// beyond a chunk it needs to check a candidate and the signature behind it.
constexpr int kCrcSize = 4;
constexpr int kSignatureSize = 4;
constexpr std::int64_t kDescriptorSearchChunk = 1 << 16;
constexpr std::int64_t kDescriptorLookAhead = kSignatureSize + kCrcSize + 16 + kSignatureSize;
// Hosts of "version made by" that keep the MS-DOS attributes in the low byte
// of the external attributes, besides MS-DOS itself; and the folder attribute.
constexpr std::uint8_t kHostHpfs = 6, kHostNtfs = 10, kHostVfat = 14;
constexpr std::uint32_t kDosDirectory = 0x10;
// A "version needed" high byte of this or more marks a false local signature.
constexpr std::uint16_t kMaxVersionHighByte = 10;

// Reads a record's fixed part, name and extra field through `read`; false
// when it is cut short or is no record of its kind.
template <typename Header, typename Read>
bool ReadRecord(Read&& read, Header& header, std::string& name, std::vector<std::uint8_t>& extra) {
  std::uint8_t fixed[Header::kSize];
  if (read(fixed, Header::kSize) < Header::kSize) return false;
  header = Header::Parse(fixed);
  if (header.signature != Header::kSignature) return false;
  name.assign(header.nameLength, '\0');
  extra.resize(header.extraLength);
  return read(name.data(), header.nameLength) == header.nameLength &&
         read(extra.data(), header.extraLength) == header.extraLength;
}

// The disks, counts, size and offset of the directory from the end record or
// the Zip64 end record.
template <typename Record>
void TakeDirectoryFields(const Record& r, TEndCentral& end) {
  end.ThisDisk = r.thisDisk;
  end.CentralStartDisk = r.centralStartDisk;
  end.EntriesOnDisk = r.entriesOnDisk;
  end.TotalEntries = r.totalEntries;
  end.CentralSize = r.centralSize;
  end.CentralOffset = r.centralOffset;
}

// Local headers are read through a window of this size, so that many small
// entries cost one read per window rather than one each.
constexpr std::size_t kLocalWindow = 8192;

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

std::string Overlap(const TZipHeaderInfo& a, const TZipHeaderInfo& b) {
  return "its entries \"" + a.StoredPath() + "\" and \"" + b.StoredPath() + "\" overlap: possibly a zip bomb";
}

void TakeEntryFields(const TEntryFields& h, TZipHeaderInfo& rec) {
  rec.VersionNeeded = h.versionNeeded;
  rec.Flags = h.flags;
  rec.Method = h.method;
  rec.DosDateTime = RepairDosDateTime(h.dosDateTime);
  rec.CRC32 = h.crc32;
  rec.CompressedSize = h.compressedSize;
  rec.UncompressedSize = h.uncompressedSize;
}

}  // namespace

void TZipDirectory::Clear() {
  sorted_.reset();
  view_ = nullptr;
  master_.reset();
  end_.Clear();
  directoryEnd_ = 0;
  offsetShift_ = 0;
  rebuildTried_ = false;
  sharedHeader_.clear();
}

TZipHeaderInfo& TZipDirectory::Entry(int index) const {
  if (!view_ || index < 0 || index >= view_->Count())
    throw EListError(FormatMessage(ZipMessage(ZipMsg::IndexOutOfRange), index));
  return *view_->Item(index);
}

void TZipDirectory::Sort(TZipSortMode mode) {
  sorted_.reset();
  view_ = master_.get();
  if (master_ && mode != TZipSortMode::ByNone) {
    sorted_ = std::make_unique<TSortedZip>(mode);
    sorted_->Duplicates = TDuplicates::Accept;
    sorted_->OwnsObjects = false;
    for (int i = 0; i < master_->Count(); ++i) sorted_->Add(master_->Item(i));
    view_ = sorted_.get();
  }
}

void TZipDirectory::NewList() {
  sorted_.reset();
  master_ = std::make_unique<TSortedZip>(TZipSortMode::ByNone);
  master_->Duplicates = TDuplicates::Error;
  view_ = master_.get();
}

std::unique_ptr<TZipHeaderInfo> TZipDirectory::NewRecord() const {
  auto rec = std::make_unique<TZipHeaderInfo>();
  rec->OEMNames = host_.OemConvert();
  return rec;
}

void TZipDirectory::Fail(const std::string& why) {
  volumes_.Clear();
  Clear();
  throw EBadZipFile(std::string(ZipMessage(ZipMsg::NotAZip)) + " (" + why + ")");
}

void TZipDirectory::NotAZip() {
  volumes_.Clear();
  Clear();
  throw EBadZipFile(ZipMessage(ZipMsg::NotAZip));
}

bool TZipDirectory::LocateEndRecord() {
  TLFNFileStream& in = volumes_.Stream();
  const std::int64_t size = in.Size();
  if (size < kEndRecordSize) return size == 0;
  const std::int64_t w = std::min(kMaxEndSearch, size);
  std::vector<std::uint8_t> tail(static_cast<std::size_t>(w));
  in.Seek(size - w, 0);
  if (in.Read(tail.data(), w) < w) return false;
  for (std::int64_t i = w - kEndRecordSize; i >= 0; --i) {
    const std::uint8_t* p = tail.data() + i;
    if (p[0] != 'P' || Get32(p) != kEndSignature) continue;
    const TEndRecord r = TEndRecord::Parse(p);
    end_.Signature = kEndSignature;
    TakeDirectoryFields(r, end_);
    end_.CommentLength = r.commentLength;
    end_.Comment.reset();
    end_.CommentPosition = static_cast<std::uint64_t>(size - w + i + kEndRecordSize);
    directoryEnd_ = size - w + i;
    ReadZip64EndRecord(directoryEnd_);
    return true;
  }
  return false;
}

void TZipDirectory::ReadZip64EndRecord(std::int64_t endPosition) {
  if (endPosition < kZip64LocatorSize) return;
  TLFNFileStream& in = volumes_.Stream();
  std::uint8_t loc[kZip64LocatorSize];
  in.Seek(endPosition - kZip64LocatorSize, 0);
  if (in.Read(loc, kZip64LocatorSize) < kZip64LocatorSize) return;
  const TZip64Locator locator = TZip64Locator::Parse(loc);
  if (locator.signature != kZip64LocatorSignature) return;
  // The record is where the locator says or, when data was put in front of the
  // archive without adjusting its offsets, right before the locator.
  constexpr std::uint64_t kMaxPosition = std::uint64_t(1) << 62;
  const std::int64_t stated = static_cast<std::int64_t>(std::min(locator.endRecordOffset, kMaxPosition));
  const std::int64_t adjacent = endPosition - kZip64LocatorSize - kZip64EndSize;
  std::uint8_t rec[kZip64EndSize];
  std::int64_t at = -1;
  for (const std::int64_t candidate : {stated, adjacent}) {
    if (candidate < 0 || candidate > adjacent) continue;
    in.Seek(candidate, 0);
    if (in.Read(rec, kZip64EndSize) == kZip64EndSize && Get32(rec) == kZip64EndSignature) {
      at = candidate;
      break;
    }
  }
  if (at < 0) Fail("its Zip64 end record is missing");
  const TZip64EndRecord r = TZip64EndRecord::Parse(rec);
  // A classic field marks its value as kept in the Zip64 record, or holds the
  // same value (some writers cut it to the field's width).
  auto agrees = [](std::uint64_t classic, std::uint64_t wide, std::uint64_t marker) {
    return classic == marker || classic == (wide & marker);
  };
  if (!agrees(end_.ThisDisk, r.thisDisk, kZip64Marker16) ||
      !agrees(end_.CentralStartDisk, r.centralStartDisk, kZip64Marker16) ||
      !agrees(end_.EntriesOnDisk, r.entriesOnDisk, kZip64Marker16) ||
      !agrees(end_.TotalEntries, r.totalEntries, kZip64Marker16) ||
      !agrees(end_.CentralSize, r.centralSize, kZip64Marker32) ||
      !agrees(end_.CentralOffset, r.centralOffset, kZip64Marker32) || r.entriesOnDisk > r.totalEntries)
    Fail("its Zip64 end record contradicts its end record");
  TakeDirectoryFields(r, end_);
  directoryEnd_ = at;
}

bool TZipDirectory::LocatePlausibleEndRecord() {
  // A directory said to start beyond its own end is no directory.
  return LocateEndRecord() && end_.ThisDisk <= kMaxDiskNumber && end_.CentralStartDisk <= kMaxDiskNumber &&
         end_.ThisDisk >= end_.CentralStartDisk &&
         (volumes_.InSideFile() || end_.CentralStartDisk != end_.ThisDisk ||
          end_.CentralOffset <= static_cast<std::uint64_t>(directoryEnd_));
}

bool TZipDirectory::EnterSideFile() {
  if (!volumes_.EnterSideFile()) return false;
  if (LocatePlausibleEndRecord()) return true;
  volumes_.LeaveSideFile();
  return false;
}

bool TZipDirectory::CentralSignatureAt(std::int64_t position) {
  TLFNFileStream& in = volumes_.Stream();
  std::uint8_t sig[kSignatureSize];
  in.Seek(position, 0);
  return in.Read(sig, kSignatureSize) == kSignatureSize && Get32(sig) == kCentralSignature;
}

void TZipDirectory::FindPrependedData() {
  // Data put in front of an archive (a self-extractor's stub) without adjusting
  // its offsets moves every one of them by the same amount: the distance
  // between where the directory is said to start and where it really starts,
  // right before its end.
  offsetShift_ = 0;
  if (end_.CentralSize > static_cast<std::uint64_t>(directoryEnd_)) return;
  const std::int64_t real = directoryEnd_ - static_cast<std::int64_t>(end_.CentralSize);
  if (static_cast<std::uint64_t>(real) <= end_.CentralOffset) return;
  if (CentralSignatureAt(static_cast<std::int64_t>(end_.CentralOffset)) || !CentralSignatureAt(real)) return;
  offsetShift_ = static_cast<std::uint64_t>(real) - end_.CentralOffset;
}

void TZipDirectory::Read(TZipSortMode mode) {
  try {
    ReadRecords(mode);
  } catch (...) {
    volumes_.LeaveSideFile();
    throw;
  }
}

void TZipDirectory::ReadRecords(TZipSortMode mode) {
  volumes_.NoteDate();
  sharedHeader_.clear();
  if (master_) {
    sorted_.reset();
    view_ = nullptr;
    master_.reset();
  }
  const bool found = LocatePlausibleEndRecord() || EnterSideFile();
  if (found) {
    volumes_.SetLastDisk(end_.ThisDisk);
    if (end_.TotalEntries != 0) {
      if (volumes_.InSideFile()) {
        volumes_.Stream().Seek(0, 0);
      } else {
        volumes_.EnsureVolume(static_cast<int>(end_.CentralStartDisk));
        if (end_.ThisDisk == 0) FindPrependedData();
        volumes_.Stream().Seek(static_cast<std::int64_t>(end_.CentralOffset + offsetShift_), 0);
      }
    }
  } else {
    host_.NoEndRecord();
    if (!RebuildFromLocalHeaders()) NotAZip();
  }
  if (!master_) NewList();
  // What the end record promises; a rebuild replaces the count with its own.
  const std::uint64_t promised = found ? end_.TotalEntries : 0;
  ReadCentralDirectory();
  if (static_cast<std::uint64_t>(Count()) < promised)
    Fail(!sharedHeader_.empty() ? sharedHeader_
                                : "only " + std::to_string(Count()) + " of its " + std::to_string(promised) +
                                      " entries were found");
  CheckLocalHeaders();
  if (end_.CommentLength != 0 && (volumes_.SpanKind() != 0 || volumes_.InSideFile())) {
    // Read now: the end record's volume (or the side file) may not be at hand later.
    if (!volumes_.InSideFile()) volumes_.EnsureVolume(static_cast<int>(end_.ThisDisk));
    end_.Comment.reset();
    ArchiveComment(true);
  }
  volumes_.LeaveSideFile();
  Sort(mode);
}

std::string TZipDirectory::DecodeComment(const std::string& raw, bool utf8) const {
  return utf8 ? raw : platform::ToUtf8(raw, host_.NamesCodePage());
}

std::int64_t TZipDirectory::TakeComment(TZipHeaderInfo& rec, const TExtraFields& extra) {
  // Read now when the volume holding the record (or the side file) may be gone
  // later, or when a Unicode comment must be checked against the stored one.
  const bool now =
      (!volumes_.Rebuilt() && (volumes_.SpanKind() != 0 || volumes_.InSideFile())) || extra.unicodeComment;
  if (rec.CommentLength == 0 || !now) return rec.CommentLength;
  std::string raw(rec.CommentLength, '\0');
  raw.resize(static_cast<std::size_t>(volumes_.Read(raw.data(), rec.CommentLength)));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(raw.data());
  const bool unicode =
      extra.unicodeComment && ~UpdateCrc32(kCrcPreset, bytes, raw.size()) == extra.unicodeCommentCrc;
  rec.Comment = unicode ? *extra.unicodeComment : DecodeComment(raw, (rec.Flags & kFlagUtf8Name) != 0);
  return 0;
}

void TZipDirectory::ReadCentralDirectory() {
  TZipHeaderInfo* previous = nullptr;
  for (std::uint64_t r = 0; r < end_.TotalEntries;) {
    auto rec = NewRecord();
    TExtraFields extra;
    bool ok = ReadCentral(*rec, extra);
    if (!ok && previous && previous->CentralExtraLength != 0) {
      // Some writers count an extra field they never wrote: try without it.
      const int length = previous->CentralExtraLength;
      previous->CentralExtraLength = 0;
      volumes_.Stream().Seek(-length, 1);
      ok = ReadCentral(*rec, extra);
    }
    if (!ok) {
      if (volumes_.Rebuilt()) break;
      if (volumes_.SpanKind() != 0 || !RebuildFromLocalHeaders()) NotAZip();
      previous = nullptr;
      r = 0;
      continue;
    }
    const std::int64_t skip = TakeComment(*rec, extra);
    if (volumes_.Rebuilt()) {
      const int at = master_->IndexOf(rec.get());
      // A central record that names another file than the local header it
      // points at is not trusted; the local header stands.
      if (at >= 0 && platform::EqualsNoCase(master_->Item(at)->StoredPath(), rec->StoredPath())) {
        TZipHeaderInfo* local = master_->Item(at);
        const std::uint64_t offset = local->LocalHeaderOffset;
        local->Assign(*rec);
        local->LocalHeaderOffset = offset;
      }
      volumes_.Skip(skip);
      ++r;
      continue;
    }
    try {
      master_->Add(rec.get());
    } catch (const EListError&) {
      // Two records claim one local header: the directory cannot be trusted.
      if (sharedHeader_.empty()) sharedHeader_ = Overlap(*master_->Item(master_->IndexOf(rec.get())), *rec);
      if (RebuildFromLocalHeaders()) {
        previous = nullptr;
        r = 0;
        continue;
      }
      NotAZip();
    }
    previous = rec.release();
    volumes_.Skip(skip);
    ++r;
  }
  // Writers that count more than 65,535 entries without Zip64 keep only the
  // count's low 16 bits: the records go on as far as the directory does.
  while (!volumes_.Rebuilt() && volumes_.SpanKind() == 0 && !volumes_.InSideFile() &&
         volumes_.Stream().Position() < directoryEnd_) {
    auto rec = NewRecord();
    TExtraFields extra;
    if (!ReadCentral(*rec, extra)) break;
    const std::int64_t skip = TakeComment(*rec, extra);
    try {
      master_->Add(rec.get());
    } catch (const EListError&) {
      Fail(Overlap(*master_->Item(master_->IndexOf(rec.get())), *rec));
    }
    rec.release();
    volumes_.Skip(skip);
  }
}

void TZipDirectory::CheckLocalHeaders() {
  // Each entry's local header and data take a range of their volume that no
  // other entry and not the directory may share: overlapping entries make a
  // small archive extract to far more than it holds. The entries are in
  // archive order, by volume and offset. Local headers are read only in a
  // single file (the volumes may not be at hand): elsewhere a range counts
  // from the fixed part of its header. A Unicode path that only the local
  // header holds names its entry too.
  const bool single = volumes_.SpanKind() == 0 && !volumes_.InSideFile();
  const bool directoryHere = !volumes_.Rebuilt() && !volumes_.InSideFile();
  const std::uint64_t directoryStart = end_.CentralOffset + offsetShift_;
  const std::uint64_t directoryEnd = single ? static_cast<std::uint64_t>(directoryEnd_) : UINT64_MAX;
  TLFNFileStream& in = volumes_.Stream();
  std::vector<std::uint8_t> window;
  std::uint64_t windowStart = 0;
  // The `n` bytes at `position`, when the file has them.
  auto bytesAt = [&](std::uint64_t position, std::size_t n) -> const std::uint8_t* {
    if (position < windowStart || position + n > windowStart + window.size()) {
      window.resize(std::max<std::size_t>(n, kLocalWindow));
      in.Seek(static_cast<std::int64_t>(position), 0);
      window.resize(static_cast<std::size_t>(
          std::max<std::int64_t>(0, in.Read(window.data(), static_cast<std::int64_t>(window.size())))));
      windowStart = position;
      if (n > window.size()) return nullptr;
    }
    return window.data() + (position - windowStart);
  };
  const TZipHeaderInfo* reach = nullptr;  // the entry reaching furthest on its volume so far
  std::uint64_t reachEnd = 0;
  for (int i = 0; i < master_->Count(); ++i) {
    TZipHeaderInfo& e = *master_->Item(i);
    std::uint64_t headerSize = kLocalHeaderSize;
    const std::uint8_t* h = single ? bytesAt(e.LocalHeaderOffset, kLocalHeaderSize) : nullptr;
    if (h && Get32(h) == kLocalSignature) {
      const TLocalHeader local = TLocalHeader::Parse(h);
      headerSize += local.nameLength + local.extraLength;
      const std::uint8_t* name = bytesAt(e.LocalHeaderOffset + kLocalHeaderSize, local.nameLength + local.extraLength);
      if (name && local.extraLength != 0) NameFromLocalHeader(e, name, local.nameLength, local.extraLength);
    }
    if (reach && reach->DiskNumberStart != e.DiskNumberStart) reach = nullptr;
    const std::uint64_t start = e.LocalHeaderOffset;
    const std::uint64_t end = SaturatingAdd(start, SaturatingAdd(headerSize, e.CompressedSize));
    if (reach && start < reachEnd) Fail(Overlap(*reach, e));
    if (directoryHere && e.DiskNumberStart == end_.CentralStartDisk && start < directoryEnd && end > directoryStart)
      Fail("its entry \"" + e.StoredPath() + "\" overlaps its directory");
    if (!reach || end > reachEnd) {
      reach = &e;
      reachEnd = end;
    }
  }
}

void TZipDirectory::NameFromLocalHeader(TZipHeaderInfo& rec, const std::uint8_t* name, std::uint16_t nameLength,
                                        std::uint16_t extraLength) const {
  const std::string raw(reinterpret_cast<const char*>(name), nameLength);
  TExtraFields extra;
  extra.unicodePath = FindUnicodePath(name + nameLength, extraLength, raw);
  if (!extra.unicodePath) return;
  // Only where the directory's record gave the stored name, not a Unicode path of its own.
  const bool fatHost = (rec.VersionMadeBy >> 8) == kHostFat;
  TZipHeaderInfo stored;
  stored.Assign(rec);
  SetName(stored, raw, TExtraFields(), fatHost);
  if (stored.StoredPath() == rec.StoredPath()) SetName(rec, raw, extra, fatHost);
}

void TZipDirectory::SetName(TZipHeaderInfo& rec, const std::string& raw, const TExtraFields& extra, bool fatHost) const {
  if (extra.unicodePath) {
    rec.SetName(ConvertEntryName(*extra.unicodePath, true, false, platform::kCodePageUtf8));
  } else {
    const unsigned codePage = fatHost && !host_.OemConvert() ? platform::kCodePageGbk : host_.NamesCodePage();
    rec.SetName(ConvertEntryName(raw, (rec.Flags & kFlagUtf8Name) != 0, fatHost, codePage));
  }
  // Systems that keep MS-DOS attributes may mark an empty folder by its
  // attribute alone, without a separator at the end of its name.
  const std::uint8_t host = static_cast<std::uint8_t>(rec.VersionMadeBy >> 8);
  const bool dosAttributes = host == kHostFat || host == kHostHpfs || host == kHostNtfs || host == kHostVfat;
  if (dosAttributes && (rec.ExternalAttributes & kDosDirectory) && rec.UncompressedSize == 0 && !rec.FileName.empty())
    rec.SetName(rec.StoredPath() + '\\');
}

bool TZipDirectory::ReadCentral(TZipHeaderInfo& rec, TExtraFields& extra) {
  // A record cut by the end of a volume goes on at the start of the next one.
  const std::int64_t p = volumes_.Stream().Position();
  auto fail = [&] {
    volumes_.Stream().Seek(p, 0);
    return false;
  };
  TCentralHeader c;
  std::string raw;
  std::vector<std::uint8_t> field;
  if (!ReadRecord([this](void* into, std::int64_t n) { return volumes_.Read(into, n); }, c, raw, field)) return fail();
  TakeEntryFields(c, rec);
  rec.VersionMadeBy = c.versionMadeBy;
  rec.CentralExtraLength = c.extraLength;
  rec.CommentLength = c.commentLength;
  rec.DiskNumberStart = c.diskNumberStart;
  rec.InternalAttributes = c.internalAttributes;
  rec.ExternalAttributes = c.externalAttributes;
  rec.LocalHeaderOffset = c.localHeaderOffset;
  rec.CentralRecordOffset = static_cast<std::uint64_t>(p);
  extra = ReadExtraField(rec, field.data(), field.size(), false, raw);
  SetName(rec, raw, extra, (rec.VersionMadeBy >> 8) == kHostFat);
  if (extra.zip64Missing) Fail(rec.StoredPath() + ": its Zip64 sizes are missing");
  rec.UtcModTime = extra.modTime;
  rec.LocalHeaderOffset += offsetShift_;
  return true;
}

bool TZipDirectory::ReadLocal(TZipHeaderInfo& rec) {
  TLFNFileStream& in = volumes_.Stream();
  const std::int64_t p = in.Position();
  auto fail = [&] {
    in.Seek(p, 0);
    return false;
  };
  TLocalHeader l;
  std::string raw;
  std::vector<std::uint8_t> field;
  if (!ReadRecord([&in](void* into, std::int64_t n) { return in.Read(into, n); }, l, raw, field)) return fail();
  TakeEntryFields(l, rec);
  rec.VersionMadeBy = 0;
  rec.LocalExtraLength = l.extraLength;
  rec.CommentLength = 0;
  rec.DiskNumberStart = 0;
  rec.InternalAttributes = 0;
  rec.ExternalAttributes = 0;
  rec.CentralRecordOffset = 0;
  rec.LocalHeaderOffset = static_cast<std::uint64_t>(p);
  const TExtraFields extra = ReadExtraField(rec, field.data(), field.size(), true, raw);
  if (extra.zip64Missing) return fail();
  // A local header does not say which system wrote it: a name that is valid
  // UTF-8 is taken as such, as from a non-FAT host.
  SetName(rec, raw, extra, false);
  rec.UtcModTime = extra.modTime;
  return true;
}

bool TZipDirectory::FindDataDescriptor(TZipHeaderInfo& rec) {
  // The data ends where a descriptor follows whose compressed size is the
  // distance from the data's start (and, for plain stored data, whose CRC is
  // that of the data), and which is followed by another record or the end of
  // the file. Descriptors come with or without their signature, with 4- or
  // (Zip64) 8-byte sizes.
  struct Layout {
    bool signature;
    int sizeWidth;
  };
  static constexpr Layout kLayouts[] = {{true, 4}, {true, 8}, {false, 4}, {false, 8}};
  TLFNFileStream& in = volumes_.Stream();
  const std::int64_t start = in.Position();
  const std::int64_t fileSize = in.Size();
  const bool plainStored = rec.Method == 0 && !(rec.Flags & kFlagEncrypted);
  std::uint32_t crc = kCrcPreset;  // of the plain stored data before the candidate
  std::vector<std::uint8_t> buf;
  for (std::int64_t base = start; base < fileSize; base += kDescriptorSearchChunk) {
    host_.ProcessMessages();
    buf.resize(static_cast<std::size_t>(std::min(fileSize - base, kDescriptorSearchChunk + kDescriptorLookAhead)));
    in.Seek(base, 0);
    const std::int64_t got = in.Read(buf.data(), static_cast<std::int64_t>(buf.size()));
    buf.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, got)));
    const std::size_t scan = std::min<std::size_t>(buf.size(), kDescriptorSearchChunk);
    for (std::size_t i = 0; i < scan; crc = plainStored ? Crc32Byte(crc, buf[i]) : crc, ++i) {
      const std::uint64_t dataSize = static_cast<std::uint64_t>(base - start) + i;
      for (const Layout& l : kLayouts) {
        const std::size_t fields = l.signature ? kSignatureSize : 0;
        const std::size_t length = fields + kCrcSize + 2 * static_cast<std::size_t>(l.sizeWidth);
        if (i + length > buf.size()) continue;
        const std::uint8_t* d = buf.data() + i;
        if (l.signature && Get32(d) != kDataDescriptorSignature) continue;
        auto size = [&](int k) {
          const std::uint8_t* f = d + fields + kCrcSize + k * l.sizeWidth;
          return l.sizeWidth == 8 ? Get64(f) : Get32(f);
        };
        const std::uint64_t compressed = size(0), uncompressed = size(1);
        if (compressed != dataSize) continue;
        if (plainStored && (uncompressed != compressed || Get32(d + fields) != ~crc)) continue;
        const std::int64_t after = base + static_cast<std::int64_t>(i + length);
        if (after != fileSize) {
          if (i + length + kSignatureSize > buf.size()) continue;
          const std::uint32_t next = Get32(d + length);
          if (next != kLocalSignature && next != kCentralSignature && next != kZip64EndSignature &&
              next != kEndSignature)
            continue;
        }
        rec.CRC32 = Get32(d + fields);
        rec.CompressedSize = compressed;
        rec.UncompressedSize = uncompressed;
        in.Seek(after, 0);
        return true;
      }
    }
  }
  return false;
}

bool TZipDirectory::RebuildFromLocalHeaders() {
  if (rebuildTried_) return false;
  rebuildTried_ = true;
  volumes_.SetRebuilt();
  // Local headers are in the archive, never in the side file.
  volumes_.LeaveSideFile();
  sorted_.reset();
  view_ = nullptr;
  master_.reset();
  TLFNFileStream& in = volumes_.Stream();
  // A self-extractor's stub is scanned too: its size is not known.
  in.Seek(0, 0);
  static constexpr std::uint8_t kSig[4] = {'P', 'K', 3, 4};
  int matched = 0;
  int sinceMessages = 0;
  for (;;) {
    std::uint8_t b;
    if (in.Read(&b, 1) < 1) return false;
    if (++sinceMessages == kScanMessageInterval) {
      sinceMessages = 0;
      host_.ProcessMessages();
    }
    if (b != kSig[matched]) {
      matched = b == kSig[0] ? 1 : 0;
      continue;
    }
    if (++matched < 4) continue;
    matched = 0;
    std::uint8_t version[2];
    if (in.Read(version, 2) < 2) return false;
    if (version[1] >= kMaxVersionHighByte) continue;
    in.Seek(-6, 1);
    break;
  }
  NewList();
  for (;;) {
    auto rec = NewRecord();
    if (!ReadLocal(*rec)) break;
    // Sizes that follow the data are found by looking for them; an entry whose
    // data end cannot be found makes the archive unreadable beyond it.
    if (rec->Flags & kFlagDataDescriptor) {
      if (!FindDataDescriptor(*rec)) Fail(rec->StoredPath() + ": the end of its data cannot be found");
    } else {
      in.Seek(static_cast<std::int64_t>(rec->CompressedSize), 1);
    }
    try {
      master_->Add(rec.get());
    } catch (const EListError&) {
      break;
    }
    rec.release();
  }
  // A local header that is there but cut short is damage, not the end.
  std::uint8_t sig[kSignatureSize];
  const std::int64_t stop = in.Position();
  if (in.Read(sig, kSignatureSize) == kSignatureSize && Get32(sig) == kLocalSignature)
    Fail("the local header at offset " + std::to_string(stop) + " is damaged");
  in.Seek(stop, 0);
  end_.ThisDisk = 0;
  end_.CentralOffset = static_cast<std::uint64_t>(in.Position());
  end_.TotalEntries = static_cast<std::uint64_t>(master_->Count());
  return true;
}

std::string TZipDirectory::EntryComment(int index, bool keepOpen) {
  TZipHeaderInfo& e = Entry(index);
  if (e.CommentLength == 0) return std::string();
  if (!e.Comment) {
    // Re-read the central record for the lengths of the name and extra field before the comment.
    const std::string header = volumes_.ReadAt(static_cast<std::int64_t>(e.CentralRecordOffset), kCentralHeaderSize,
                                               keepOpen);
    if (header.size() < static_cast<std::size_t>(kCentralHeaderSize)) return std::string();
    const TCentralHeader c = TCentralHeader::Parse(reinterpret_cast<const std::uint8_t*>(header.data()));
    const std::int64_t at =
        static_cast<std::int64_t>(e.CentralRecordOffset) + kCentralHeaderSize + c.nameLength + c.extraLength;
    e.Comment = DecodeComment(volumes_.ReadAt(at, e.CommentLength, keepOpen), (e.Flags & kFlagUtf8Name) != 0);
  }
  return *e.Comment;
}

std::string TZipDirectory::ArchiveComment(bool keepOpen) {
  if (end_.CommentLength == 0) return std::string();
  if (!end_.Comment) {
    // The end record has no UTF-8 flag: a comment that is valid UTF-8 in an
    // archive whose entries are flagged UTF-8 is taken as UTF-8 too.
    const std::string raw = volumes_.ReadAt(static_cast<std::int64_t>(end_.CommentPosition), end_.CommentLength,
                                            keepOpen);
    bool utf8Entries = false;
    for (int i = 0; master_ && i < master_->Count() && !utf8Entries; ++i)
      utf8Entries = (master_->Item(i)->Flags & kFlagUtf8Name) != 0;
    end_.Comment = DecodeComment(raw, utf8Entries && IsValidUtf8(raw));
  }
  return *end_.Comment;
}

}  // namespace unzip
