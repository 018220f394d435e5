#include "unzip/UnZipper.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>

#include "core/Crc32.h"
#include "decode/LibraryDecoders.h"
#include "decode/StreamPump.h"
#include "extract/ZipMatch.h"
#include "unzip/ZipMethods.h"
#ifdef TW_UNZIP_LEGACY
#include "legacy/Explode.h"
#include "legacy/UnReduce.h"
#include "legacy/UnShrink.h"
#endif
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"

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
// Text of an entry skipped for its encryption.
constexpr char kMsgUnsupportedEncryption[] = "encrypted with a method this build does not support";
// A "version needed" high byte of this or more marks a false local signature.
constexpr std::uint16_t kMaxVersionHighByte = 10;
// Entries handed to worker threads and not yet taken, per worker: enough to
// keep every worker busy while the calling thread moves files into place,
// and few enough that finished but untaken entries stay a handful.
constexpr std::size_t kJobsPerWorker = 2;

bool IsSeparator(char c) { return c == '\\' || c == platform::PathSeparator(); }

std::string StripTrailingSeparator(std::string s) {
  if (!s.empty() && IsSeparator(s.back())) s.pop_back();
  return s;
}

// The folder part of a path, without its trailing separator.
std::string ParentFolder(const std::string& path) {
  std::size_t at = path.size();
  while (at > 0 && !IsSeparator(path[at - 1])) --at;
  return at > 1 ? path.substr(0, at - 1) : path.substr(0, at);
}

}  // namespace

TUnZipper::TUnZipper() : oemCodePage_(platform::kCodePageGbk) {
  OnGetNextDisk = [this](TUnZipper&, int nextDisk, std::string& name) { DefaultGetNextDisk(nextDisk, name); };
}

TUnZipper::~TUnZipper() { FreeLists(); }

// ---------------------------------------------------------------------------
// Properties

void TUnZipper::SetZipName(const std::string& name) {
  if (platform::EqualsNoCase(name, zipName_)) return;
  std::string chosen = name;
  if (!name.empty() && name.back() == '?') {
    const std::string folder = platform::ExtractFilePath(name.substr(0, name.size() - 1));
    const std::string start = !folder.empty() && platform::DirectoryExists(folder) ? folder : "C:\\";
    auto picked = platform::OpenFileDialog(ZipMessage(ZipMsg::OpenZipTitle), ZipMessage(ZipMsg::OpenZipFilter), start);
    if (!picked) throw EUserCanceled(ZipMessage(ZipMsg::CanceledZipName));
    chosen = *picked;
  }
  zipName_ = chosen;
  FreeLists();
  zipDate_.reset();
  ecrec_.Clear();
  zipStream_.reset();
  rebuilding_ = rebuildTried_ = false;
}

void TUnZipper::SetDestDir(const std::string& dir) {
  std::string value = dir;
  if (dir == "?") {
    const std::string start = platform::DirectoryExists(destDir_) ? destDir_ : platform::CurrentDirectory();
    auto picked = platform::BrowseForFolder(start);
    if (!picked) throw EUserCanceled(ZipMessage(ZipMsg::CanceledDestDir));
    value = *picked;
  }
  destDir_ = StripTrailingSeparator(value);
}

void TUnZipper::SetRootDir(const std::string& dir) {
  rootDir_ = dir;
  if (!rootDir_.empty() && rootDir_.back() != '\\') rootDir_ += '\\';
}

// ---------------------------------------------------------------------------
// Directory

void TUnZipper::ProcessMessages() const {
  if (doProcessMessages_) platform::Application::ProcessMessages();
}

TZipHeaderInfo& TUnZipper::Entry(int index) const {
  if (!view_ || index < 0 || index >= view_->Count())
    throw EListError(FormatMessage(ZipMessage(ZipMsg::IndexOutOfRange), index));
  return *view_->Item(index);
}

void TUnZipper::FreeLists() {
  if (view_ != master_.get()) delete view_;
  view_ = nullptr;
  master_.reset();
}

void TUnZipper::ResetArchiveState() {
  FreeLists();
  ecrec_.Clear();
  zipDate_.reset();
  directoryEnd_ = 0;
  offsetShift_ = 0;
  rebuilding_ = rebuildTried_ = false;
  spanKind_ = 0;
  currentDisk_ = 0;
  endVolumeName_.clear();
  sideFile_ = false;
  asideStream_.reset();
}

void TUnZipper::ClearArchive() {
  zipStream_.reset();
  ResetArchiveState();
  zipName_.clear();
}

void TUnZipper::SortEntries(TZipSortMode mode) {
  if (view_ != master_.get()) delete view_;
  view_ = master_.get();
  if (master_ && mode != TZipSortMode::ByNone) {
    auto view = std::make_unique<TSortedZip>(mode);
    view->Duplicates = TDuplicates::Accept;
    view->OwnsObjects = false;
    for (int i = 0; i < master_->Count(); ++i) view->Add(master_->Item(i));
    view_ = view.release();
  }
  sortMode_ = mode;
}

void TUnZipper::OpenArchive() {
  if (!zipStream_)
    zipStream_ = std::make_unique<TLFNFileStream>(zipName_, kStreamBufferSize, false,
                                                  platform::kFmOpenRead | platform::kFmShareDenyWrite);
  if (master_ && platform::FileAgeDos(zipName_) == zipDate_) return;
  ReadDirectory();
}

void TUnZipper::CloseArchive(bool force) {
  if (force || !keepZipOpen_) zipStream_.reset();
}

void TUnZipper::ReadZip() {
  for (;;) {
    try {
      OpenArchive();
    } catch (const EIncompleteZip&) {
      CloseArchive(true);
      if (OnInCompleteZip) continue;
      return;
    } catch (...) {
      ClearArchive();
      throw;
    }
    CloseArchive();
    return;
  }
}

bool TUnZipper::LocateEndRecord() {
  const std::int64_t size = zipStream_->Size();
  if (size < kEndRecordSize) return size == 0;
  const std::int64_t w = std::min(kMaxEndSearch, size);
  std::vector<std::uint8_t> tail(static_cast<std::size_t>(w));
  zipStream_->Seek(size - w, 0);
  if (zipStream_->Read(tail.data(), w) < w) return false;
  for (std::int64_t i = w - kEndRecordSize; i >= 0; --i) {
    const std::uint8_t* p = tail.data() + i;
    if (p[0] != 'P' || Get32(p) != kEndSignature) continue;
    ecrec_.Signature = kEndSignature;
    ecrec_.ThisDisk = Get16(p + 4);
    ecrec_.CentralStartDisk = Get16(p + 6);
    ecrec_.EntriesOnDisk = Get16(p + 8);
    ecrec_.TotalEntries = Get16(p + 10);
    ecrec_.CentralSize = Get32(p + 12);
    ecrec_.CentralOffset = Get32(p + 16);
    ecrec_.CommentLength = Get16(p + 20);
    ecrec_.Comment.reset();
    ecrec_.CommentPosition = static_cast<std::uint64_t>(size - w + i + kEndRecordSize);
    directoryEnd_ = size - w + i;
    ReadZip64EndRecord(directoryEnd_);
    return true;
  }
  return false;
}

void TUnZipper::FailArchive(const std::string& why) {
  ClearArchive();
  throw EBadZipFile(std::string(ZipMessage(ZipMsg::NotAZip)) + " (" + why + ")");
}

void TUnZipper::ReadZip64EndRecord(std::int64_t endPosition) {
  if (endPosition < kZip64LocatorSize) return;
  std::uint8_t loc[kZip64LocatorSize];
  zipStream_->Seek(endPosition - kZip64LocatorSize, 0);
  if (zipStream_->Read(loc, kZip64LocatorSize) < kZip64LocatorSize || Get32(loc) != kZip64LocatorSignature) return;
  // The record is where the locator says or, when data was put in front of the
  // archive without adjusting its offsets, right before the locator.
  constexpr std::uint64_t kMaxPosition = std::uint64_t(1) << 62;
  const std::int64_t stated = static_cast<std::int64_t>(std::min(Get64(loc + 8), kMaxPosition));
  const std::int64_t adjacent = endPosition - kZip64LocatorSize - kZip64EndSize;
  std::uint8_t rec[kZip64EndSize];
  std::int64_t at = -1;
  for (const std::int64_t candidate : {stated, adjacent}) {
    if (candidate < 0 || candidate > adjacent) continue;
    zipStream_->Seek(candidate, 0);
    if (zipStream_->Read(rec, kZip64EndSize) == kZip64EndSize && Get32(rec) == kZip64EndSignature) {
      at = candidate;
      break;
    }
  }
  if (at < 0) FailArchive("its Zip64 end record is missing");
  const std::uint32_t thisDisk = Get32(rec + 16), startDisk = Get32(rec + 20);
  const std::uint64_t onDisk = Get64(rec + 24), total = Get64(rec + 32);
  const std::uint64_t size = Get64(rec + 40), offset = Get64(rec + 48);
  // A classic field marks its value as kept in the Zip64 record, or holds the
  // same value (some writers cut it to the field's width).
  auto agrees = [](std::uint64_t classic, std::uint64_t wide, std::uint64_t marker) {
    return classic == marker || classic == (wide & marker);
  };
  if (!agrees(ecrec_.ThisDisk, thisDisk, kZip64Marker16) ||
      !agrees(ecrec_.CentralStartDisk, startDisk, kZip64Marker16) ||
      !agrees(ecrec_.EntriesOnDisk, onDisk, kZip64Marker16) || !agrees(ecrec_.TotalEntries, total, kZip64Marker16) ||
      !agrees(ecrec_.CentralSize, size, kZip64Marker32) || !agrees(ecrec_.CentralOffset, offset, kZip64Marker32) ||
      onDisk > total)
    FailArchive("its Zip64 end record contradicts its end record");
  ecrec_.ThisDisk = thisDisk;
  ecrec_.CentralStartDisk = startDisk;
  ecrec_.EntriesOnDisk = onDisk;
  ecrec_.TotalEntries = total;
  ecrec_.CentralSize = size;
  ecrec_.CentralOffset = offset;
  directoryEnd_ = at;
}

bool TUnZipper::LocatePlausibleEndRecord() {
  // A directory said to start beyond its own end is no directory.
  return LocateEndRecord() && ecrec_.ThisDisk <= kMaxDiskNumber && ecrec_.CentralStartDisk <= kMaxDiskNumber &&
         ecrec_.ThisDisk >= ecrec_.CentralStartDisk &&
         (sideFile_ || ecrec_.CentralStartDisk != ecrec_.ThisDisk ||
          ecrec_.CentralOffset <= static_cast<std::uint64_t>(directoryEnd_));
}

bool TUnZipper::CentralSignatureAt(std::int64_t position) {
  std::uint8_t sig[kSignatureSize];
  zipStream_->Seek(position, 0);
  return zipStream_->Read(sig, kSignatureSize) == kSignatureSize && Get32(sig) == kCentralSignature;
}

void TUnZipper::FindPrependedData() {
  // Data put in front of an archive (a self-extractor's stub) without adjusting
  // its offsets moves every one of them by the same amount: the distance
  // between where the directory is said to start and where it really starts,
  // right before its end.
  offsetShift_ = 0;
  if (ecrec_.CentralSize > static_cast<std::uint64_t>(directoryEnd_)) return;
  const std::int64_t real = directoryEnd_ - static_cast<std::int64_t>(ecrec_.CentralSize);
  if (static_cast<std::uint64_t>(real) <= ecrec_.CentralOffset) return;
  if (CentralSignatureAt(static_cast<std::int64_t>(ecrec_.CentralOffset)) || !CentralSignatureAt(real)) return;
  offsetShift_ = static_cast<std::uint64_t>(real) - ecrec_.CentralOffset;
}

void TUnZipper::ReadDirectory() {
  try {
    ReadDirectoryRecords();
  } catch (...) {
    LeaveSideFile();
    throw;
  }
}

void TUnZipper::ReadDirectoryRecords() {
  zipDate_ = platform::FileAgeDos(zipName_);
  if (master_) FreeLists();
  const bool found = LocatePlausibleEndRecord() || OpenSideFile();
  if (found) {
    // The side file's directory is read with the first volume open.
    currentDisk_ = sideFile_ ? 0 : ecrec_.ThisDisk;
    endVolumeName_ = sideFile_ ? std::string() : zipName_;
    spanKind_ = 0;
    if (ecrec_.ThisDisk != 0) {
      const bool drive = zipName_.size() >= 2 && zipName_[1] == ':';
      spanKind_ = drive && platform::IsRemovableDrive(zipName_.substr(0, 2) + "\\") ? 1 : 2;
    }
    if (ecrec_.TotalEntries != 0) {
      if (sideFile_) {
        zipStream_->Seek(0, 0);
      } else {
        EnsureVolume(static_cast<int>(ecrec_.CentralStartDisk));
        if (ecrec_.ThisDisk == 0) FindPrependedData();
        zipStream_->Seek(static_cast<std::int64_t>(ecrec_.CentralOffset + offsetShift_), 0);
      }
    }
  } else {
    TIncompleteZipMode mode = incompleteMode_;
    if (OnInCompleteZip) {
      OnInCompleteZip(*this, mode);
      incompleteMode_ = mode;
    }
    if (mode == TIncompleteZipMode::izAssumeNotAZip) throw ENotAZipFile(ZipMessage(ZipMsg::NotAZip));
    if (mode == TIncompleteZipMode::izAssumeMulti) throw EIncompleteZip(ZipMessage(ZipMsg::IncompleteZip));
    if (!RebuildFromLocalHeaders()) {
      ClearArchive();
      throw EBadZipFile(ZipMessage(ZipMsg::NotAZip));
    }
  }
  if (!master_) {
    master_ = std::make_unique<TSortedZip>(TZipSortMode::ByNone);
    master_->Duplicates = TDuplicates::Error;
    view_ = master_.get();
  }
  // What the end record promises; a rebuild replaces the count with its own.
  const std::uint64_t promised = found ? ecrec_.TotalEntries : 0;
  ReadCentralDirectory();
  if (static_cast<std::uint64_t>(EntryCount()) < promised)
    FailArchive("only " + std::to_string(EntryCount()) + " of its " + std::to_string(promised) +
                " entries were found");
  if (ecrec_.CommentLength != 0 && (spanKind_ != 0 || sideFile_)) {
    // Read now: the end record's volume (or the side file) may not be at hand later.
    if (!sideFile_) EnsureVolume(static_cast<int>(ecrec_.ThisDisk));
    ecrec_.Comment.reset();
    ArchiveComment();
  }
  LeaveSideFile();
  SortEntries(sortMode_);
}

std::string TUnZipper::DecodeComment(const std::string& raw, bool utf8) const {
  return utf8 ? raw : platform::ToUtf8(raw, oemCodePage_);
}

std::int64_t TUnZipper::TakeComment(TZipHeaderInfo& rec, const TExtraFields& extra) {
  // Read now when the volume holding the record (or the side file) may be gone
  // later, or when a Unicode comment must be checked against the stored one.
  const bool now = (!rebuilding_ && (spanKind_ != 0 || sideFile_)) || extra.unicodeComment;
  if (rec.CommentLength == 0 || !now) return rec.CommentLength;
  std::string raw(rec.CommentLength, '\0');
  raw.resize(static_cast<std::size_t>(ReadSpanning(raw.data(), rec.CommentLength)));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(raw.data());
  const bool unicode =
      extra.unicodeComment && ~UpdateCrc32(kCrcPreset, bytes, raw.size()) == extra.unicodeCommentCrc;
  rec.Comment = unicode ? *extra.unicodeComment : DecodeComment(raw, (rec.Flags & kFlagUtf8Name) != 0);
  return 0;
}

void TUnZipper::ReadCentralDirectory() {
  TZipHeaderInfo* previous = nullptr;
  for (std::uint64_t r = 0; r < ecrec_.TotalEntries;) {
    auto rec = std::make_unique<TZipHeaderInfo>();
    rec->OEMNames = oemConvert_;
    TExtraFields extra;
    bool ok = ReadCentral(*rec, extra);
    if (!ok && previous && previous->CentralExtraLength != 0) {
      // Some writers count an extra field they never wrote: try without it.
      const int length = previous->CentralExtraLength;
      previous->CentralExtraLength = 0;
      zipStream_->Seek(-length, 1);
      ok = ReadCentral(*rec, extra);
    }
    if (!ok) {
      if (rebuilding_) break;
      if (spanKind_ != 0 || !RebuildFromLocalHeaders()) {
        ClearArchive();
        throw EBadZipFile(ZipMessage(ZipMsg::NotAZip));
      }
      previous = nullptr;
      r = 0;
      continue;
    }
    const std::int64_t skip = TakeComment(*rec, extra);
    if (rebuilding_) {
      const int at = master_->IndexOf(rec.get());
      // A central record that names another file than the local header it
      // points at is not trusted; the local header stands.
      if (at >= 0 && platform::EqualsNoCase(master_->Item(at)->StoredPath(), rec->StoredPath())) {
        TZipHeaderInfo* rebuilt = master_->Item(at);
        const std::uint64_t offset = rebuilt->LocalHeaderOffset;
        rebuilt->Assign(*rec);
        rebuilt->LocalHeaderOffset = offset;
      }
      SkipSpanning(skip);
      ++r;
      continue;
    }
    try {
      master_->Add(rec.get());
    } catch (const EListError&) {
      // Two records claim one local header: the directory cannot be trusted.
      if (RebuildFromLocalHeaders()) {
        previous = nullptr;
        r = 0;
        continue;
      }
      ClearArchive();
      throw EBadZipFile(ZipMessage(ZipMsg::NotAZip));
    }
    previous = rec.release();
    SkipSpanning(skip);
    ++r;
  }
  // Writers that count more than 65,535 entries without Zip64 keep only the
  // count's low 16 bits: the records go on as far as the directory does.
  while (!rebuilding_ && spanKind_ == 0 && !sideFile_ && zipStream_->Position() < directoryEnd_) {
    auto rec = std::make_unique<TZipHeaderInfo>();
    rec->OEMNames = oemConvert_;
    TExtraFields extra;
    if (!ReadCentral(*rec, extra)) break;
    const std::int64_t skip = TakeComment(*rec, extra);
    try {
      master_->Add(rec.get());
    } catch (const EListError&) {
      FailArchive("two of its entries share one local header");
    }
    rec.release();
    SkipSpanning(skip);
  }
}

std::string TUnZipper::ConvertName(const std::string& raw, std::uint16_t flags, bool fatHost) const {
  const unsigned codePage = fatHost && oemConvert_ ? oemCodePage_ : platform::kCodePageGbk;
  return ConvertEntryName(raw, (flags & kFlagUtf8Name) != 0, fatHost, codePage);
}

bool TUnZipper::ReadCentral(TZipHeaderInfo& rec, TExtraFields& extra) {
  // A record cut by the end of a volume goes on at the start of the next one.
  const std::int64_t p = zipStream_->Position();
  std::uint8_t h[kCentralHeaderSize];
  if (ReadSpanning(h, kCentralHeaderSize) < kCentralHeaderSize || Get32(h) != kCentralSignature) {
    zipStream_->Seek(p, 0);
    return false;
  }
  std::string raw(Get16(h + 28), '\0');
  if (ReadSpanning(raw.data(), static_cast<std::int64_t>(raw.size())) < static_cast<std::int64_t>(raw.size())) {
    zipStream_->Seek(p, 0);
    return false;
  }
  rec.VersionMadeBy = Get16(h + 4);
  rec.VersionNeeded = Get16(h + 6);
  rec.Flags = Get16(h + 8);
  rec.Method = Get16(h + 10);
  rec.DosDateTime = RepairDosDateTime(Get32(h + 12));
  rec.CRC32 = Get32(h + 16);
  rec.CompressedSize = Get32(h + 20);
  rec.UncompressedSize = Get32(h + 24);
  rec.CentralExtraLength = Get16(h + 30);
  rec.CommentLength = Get16(h + 32);
  rec.DiskNumberStart = Get16(h + 34);
  rec.InternalAttributes = Get16(h + 36);
  rec.ExternalAttributes = Get32(h + 38);
  rec.LocalHeaderOffset = Get32(h + 42);
  rec.CentralRecordOffset = static_cast<std::uint64_t>(p);
  std::vector<std::uint8_t> field(rec.CentralExtraLength);
  if (ReadSpanning(field.data(), static_cast<std::int64_t>(field.size())) < static_cast<std::int64_t>(field.size())) {
    zipStream_->Seek(p, 0);
    return false;
  }
  extra = ReadExtraField(rec, field.data(), field.size(), false, raw);
  if (extra.unicodePath) {
    rec.SetName(ConvertEntryName(*extra.unicodePath, true, false, platform::kCodePageUtf8));
  } else {
    rec.SetName(ConvertName(raw, rec.Flags, (rec.VersionMadeBy >> 8) == kHostFat));
  }
  if (extra.zip64Missing) FailArchive(rec.StoredPath() + ": its Zip64 sizes are missing");
  rec.UtcModTime = extra.modTime;
  rec.LocalHeaderOffset += offsetShift_;
  return true;
}

bool TUnZipper::ReadLocal(TZipHeaderInfo& rec) {
  const std::int64_t p = zipStream_->Position();
  std::uint8_t h[kLocalHeaderSize];
  if (zipStream_->Read(h, kLocalHeaderSize) < kLocalHeaderSize || Get32(h) != kLocalSignature) {
    zipStream_->Seek(p, 0);
    return false;
  }
  std::string raw(Get16(h + 26), '\0');
  if (zipStream_->Read(raw.data(), static_cast<std::int64_t>(raw.size())) < static_cast<std::int64_t>(raw.size())) {
    zipStream_->Seek(p, 0);
    return false;
  }
  rec.VersionMadeBy = 0;
  rec.VersionNeeded = Get16(h + 4);
  rec.Flags = Get16(h + 6);
  rec.Method = Get16(h + 8);
  rec.DosDateTime = RepairDosDateTime(Get32(h + 10));
  rec.CRC32 = Get32(h + 14);
  rec.CompressedSize = Get32(h + 18);
  rec.UncompressedSize = Get32(h + 22);
  rec.LocalExtraLength = Get16(h + 28);
  rec.CommentLength = 0;
  rec.DiskNumberStart = 0;
  rec.InternalAttributes = 0;
  rec.ExternalAttributes = 0;
  rec.CentralRecordOffset = 0;
  rec.LocalHeaderOffset = static_cast<std::uint64_t>(p);
  std::vector<std::uint8_t> field(rec.LocalExtraLength);
  const auto fieldSize = static_cast<std::int64_t>(field.size());
  if (zipStream_->Read(field.data(), fieldSize) < fieldSize) {
    zipStream_->Seek(p, 0);
    return false;
  }
  const TExtraFields extra = ReadExtraField(rec, field.data(), field.size(), true, raw);
  if (extra.zip64Missing) {
    zipStream_->Seek(p, 0);
    return false;
  }
  if (extra.unicodePath) {
    rec.SetName(ConvertEntryName(*extra.unicodePath, true, false, platform::kCodePageUtf8));
  } else {
    // A local header does not say which system wrote it: a name that is valid
    // UTF-8 is taken as such, as from a non-FAT host.
    rec.SetName(ConvertName(raw, rec.Flags, false));
  }
  rec.UtcModTime = extra.modTime;
  return true;
}

bool TUnZipper::FindDataDescriptor(TZipHeaderInfo& rec) {
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
  const std::int64_t start = zipStream_->Position();
  const std::int64_t fileSize = zipStream_->Size();
  const bool plainStored = rec.Method == 0 && !(rec.Flags & kFlagEncrypted);
  std::uint32_t crc = kCrcPreset;  // of the plain stored data before the candidate
  std::vector<std::uint8_t> buf;
  for (std::int64_t base = start; base < fileSize; base += kDescriptorSearchChunk) {
    ProcessMessages();
    buf.resize(static_cast<std::size_t>(std::min(fileSize - base, kDescriptorSearchChunk + kDescriptorLookAhead)));
    zipStream_->Seek(base, 0);
    const std::int64_t got = zipStream_->Read(buf.data(), static_cast<std::int64_t>(buf.size()));
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
        zipStream_->Seek(after, 0);
        return true;
      }
    }
  }
  return false;
}

bool TUnZipper::RebuildFromLocalHeaders() {
  if (rebuildTried_) return false;
  rebuildTried_ = rebuilding_ = true;
  // Local headers are in the archive, never in the side file.
  LeaveSideFile();
  FreeLists();
  // A self-extractor's stub is scanned too: its size is not known.
  zipStream_->Seek(0, 0);
  static constexpr std::uint8_t kSig[4] = {'P', 'K', 3, 4};
  int matched = 0;
  int sinceMessages = 0;
  for (;;) {
    std::uint8_t b;
    if (zipStream_->Read(&b, 1) < 1) return false;
    if (++sinceMessages == kScanMessageInterval) {
      sinceMessages = 0;
      ProcessMessages();
    }
    if (b != kSig[matched]) {
      matched = b == kSig[0] ? 1 : 0;
      continue;
    }
    if (++matched < 4) continue;
    matched = 0;
    std::uint8_t version[2];
    if (zipStream_->Read(version, 2) < 2) return false;
    if (version[1] >= kMaxVersionHighByte) continue;
    zipStream_->Seek(-6, 1);
    break;
  }
  master_ = std::make_unique<TSortedZip>(TZipSortMode::ByNone);
  master_->Duplicates = TDuplicates::Error;
  view_ = master_.get();
  for (;;) {
    auto rec = std::make_unique<TZipHeaderInfo>();
    rec->OEMNames = oemConvert_;
    if (!ReadLocal(*rec)) break;
    // Sizes that follow the data are found by looking for them; an entry whose
    // data end cannot be found makes the archive unreadable beyond it.
    if (rec->Flags & kFlagDataDescriptor) {
      if (!FindDataDescriptor(*rec)) FailArchive(rec->StoredPath() + ": the end of its data cannot be found");
    } else {
      zipStream_->Seek(static_cast<std::int64_t>(rec->CompressedSize), 1);
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
  const std::int64_t stop = zipStream_->Position();
  if (zipStream_->Read(sig, kSignatureSize) == kSignatureSize && Get32(sig) == kLocalSignature)
    FailArchive("the local header at offset " + std::to_string(stop) + " is damaged");
  zipStream_->Seek(stop, 0);
  ecrec_.ThisDisk = 0;
  currentDisk_ = 0;
  ecrec_.CentralOffset = static_cast<std::uint64_t>(zipStream_->Position());
  ecrec_.TotalEntries = static_cast<std::uint64_t>(master_->Count());
  return true;
}

std::string TUnZipper::ReadCommentAt(std::int64_t position, std::uint16_t length) {
  const bool wasOpen = zipStream_ != nullptr;
  if (!wasOpen)
    zipStream_ = std::make_unique<TLFNFileStream>(zipName_, kStreamBufferSize, false,
                                                  platform::kFmOpenRead | platform::kFmShareDenyWrite);
  const std::int64_t here = zipStream_->Position();
  zipStream_->Seek(position, 0);
  std::string text(length, '\0');
  text.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, zipStream_->Read(text.data(), length))));
  zipStream_->Seek(here, 0);
  if (!wasOpen && spanKind_ == 0 && !keepZipOpen_) zipStream_.reset();
  return text;
}

std::string TUnZipper::EntryComment(int index) {
  TZipHeaderInfo& e = Entry(index);
  if (e.CommentLength == 0) return std::string();
  if (!e.Comment) {
    // Re-read the central record for the lengths of the name and extra field before the comment.
    std::string header = ReadCommentAt(e.CentralRecordOffset, kCentralHeaderSize);
    if (header.size() < static_cast<std::size_t>(kCentralHeaderSize)) return std::string();
    const auto* h = reinterpret_cast<const std::uint8_t*>(header.data());
    const std::int64_t at = static_cast<std::int64_t>(e.CentralRecordOffset) + kCentralHeaderSize + Get16(h + 28) +
                            Get16(h + 30);
    e.Comment = DecodeComment(ReadCommentAt(at, e.CommentLength), (e.Flags & kFlagUtf8Name) != 0);
  }
  return *e.Comment;
}

std::string TUnZipper::ArchiveComment() {
  if (ecrec_.CommentLength == 0) return std::string();
  if (!ecrec_.Comment) {
    // The end record has no UTF-8 flag: a comment that is valid UTF-8 in an
    // archive whose entries are flagged UTF-8 is taken as UTF-8 too.
    const std::string raw =
        ReadCommentAt(static_cast<std::int64_t>(ecrec_.CommentPosition), ecrec_.CommentLength);
    bool utf8Entries = false;
    for (int i = 0; master_ && i < master_->Count() && !utf8Entries; ++i)
      utf8Entries = (master_->Item(i)->Flags & kFlagUtf8Name) != 0;
    ecrec_.Comment = DecodeComment(raw, utf8Entries && IsValidUtf8(raw));
  }
  return *ecrec_.Comment;
}

// ---------------------------------------------------------------------------
// Extraction

int TUnZipper::UnZip() {
  if (destDir_ == "?") return 0;
  ReadZip();
  int result = 0;
  try {
    OpenArchive();
    result = ExtractionRun();
  } catch (...) {
    CloseArchive();
    throw;
  }
  CloseArchive();
  return result;
}

int TUnZipper::ExtractionRun() {
  const bool savedKeep = keepZipOpen_;
  keepZipOpen_ = true;
  const TZipSortMode savedSort = sortMode_;
  count_ = 0;
  auto finish = [&] {
    StopPool();
    ds_.reset();
    inflater_.reset();
    inflater64_.reset();
    out_.reset();
    filesList_.clear();
    excludeList_.clear();
    if (sortMode_ != savedSort) SortEntries(savedSort);
    if (OnUnZipComplete) OnUnZipComplete(*this, count_);
    keepZipOpen_ = savedKeep;
  };
  try {
    ds_ = std::make_unique<TDecodeState>();
    ds_->io = this;
    inflater_ = std::make_unique<TFastInflater>();
    if (!testOnly_ && !destDir_.empty() && !platform::DirectoryExists(destDir_)) platform::ForceDirectories(destDir_);
    // Volumes are visited in sequence, so a multi-volume run goes in archive order.
    if (spanKind_ != 0 && sortMode_ != TZipSortMode::ByNone) SortEntries(TZipSortMode::ByNone);
    totalToDo_ = totalDone_ = 0;
    reportedMethods_.clear();
    int numFiles = 0;
    std::uint64_t largest = 0;
    const int n = view_ ? view_->Count() : 0;
    for (int i = 0; i < n; ++i) {
      TZipHeaderInfo& e = *view_->Item(i);
      e.Selected = doAll_;
      if (e.FileName.empty() && !recreateDirs_) {
        e.Selected = false;
      } else {
        for (const std::string& pattern : filesList_)
          if (MatchesPattern(pattern, e.StoredPath())) {
            e.Selected = true;
            break;
          }
        for (const std::string& pattern : excludeList_)
          if (e.Selected && MatchesPattern(pattern, e.StoredPath())) e.Selected = false;
      }
      if (e.Selected) {
        totalToDo_ += static_cast<std::int64_t>(e.UncompressedSize);
        ++numFiles;
        largest = std::max<std::uint64_t>(largest, e.UncompressedSize);
      }
    }
    bool stop = false;
    if (OnStartUnZipInfo) OnStartUnZipInfo(*this, numFiles, totalToDo_, stop);
    if (numFiles > 0 && !stop) {
      const int threads = threads_ != 0 ? threads_ : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
      // Volumes are read in sequence, one stream at a time: no workers there.
      // Threads pay for two entries or more, or for one whose writing can
      // overlap its decoding.
      const bool worth = numFiles > 1 || (!testOnly_ && largest > TFastInflater::kSpan);
      if (threads > 1 && worth && spanKind_ == 0 && !sideFile_) StartPool(threads);
      for (int i = 0; i < n; ++i) {
        if (!doAll_ && !view_->Item(i)->Selected) continue;
        if (pool_) DispatchAhead(i);
        bool retry = false;
        do ProcessEntry(i, retry);
        while (retry);
        DiscardJob(i);
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return count_;
}

// ---------------------------------------------------------------------------
// Decoding ahead on worker threads

void TUnZipper::StartPool(int threads) {
  std::vector<TEntryPool::TWorker> work;
  for (int t = 0; t < threads; ++t) {
    auto w = std::make_unique<TUnZipper>();
    w->zipName_ = zipName_;
    try {
      w->zipStream_ = std::make_unique<TLFNFileStream>(zipName_, kStreamBufferSize, false,
                                                       platform::kFmOpenRead | platform::kFmShareDenyWrite);
    } catch (const platform::Exception&) {
      workers_.clear();
      return;  // the archive is open on this thread: decode there
    }
    w->OnGetNextDisk = nullptr;
    w->doProcessMessages_ = false;
    w->testOnly_ = testOnly_;
    w->flushFilesOnClose_ = flushFilesOnClose_;
    w->ds_ = std::make_unique<TDecodeState>();
    w->ds_->io = w.get();
    w->inflater_ = std::make_unique<TFastInflater>();
    TUnZipper* worker = w.get();
    work.emplace_back([worker](TEntryJob& job) { worker->DecodeJob(job); });
    workers_.push_back(std::move(w));
  }
  dispatchedUpTo_ = 0;
  if (!testOnly_) {
    // Decoded entries wait in a folder of their own in the destination, where
    // moving them into place is a rename. Its random name keeps every entry,
    // and every entry's own temporary file, out of it.
    std::random_device random;
    do {
      char name[32];
      std::snprintf(name, sizeof name, "~%08x%08x", random(), random());
      scratch_ = destDir_ + platform::PathSeparator() + name + platform::kPartialFileSuffix;
    } while (platform::DirectoryExists(scratch_));
    if (!platform::ForceDirectories(scratch_)) {
      scratch_.clear();
      workers_.clear();
      return;  // decode on this thread, which reports what cannot be written
    }
  }
  pool_ = std::make_unique<TEntryPool>(std::move(work));
}

void TUnZipper::StopPool() {
  for (auto& [index, job] : jobs_) job->cancelled = true;
  pool_.reset();  // joins the threads: no temporary file is open after this
  workers_.clear();
  for (auto& [index, job] : jobs_)
    if (!job->temp.empty()) platform::DeleteFile(job->temp);
  jobs_.clear();
  if (!scratch_.empty()) platform::RemoveDir(scratch_);
  scratch_.clear();
}

bool TUnZipper::Dispatchable(const TZipHeaderInfo& e) {
  // Whatever may need the user or a handler halfway (a password, a custom
  // decrypter, an unknown method's message) is decoded on the calling thread.
  if (e.FileName.empty() || (e.Flags & kFlagEncrypted) || e.StrongEncryption() || !MethodSupported(e.Method))
    return false;
  if (testOnly_) return true;
  const std::optional<std::string> folder = DestinationFolder(e);
  // An existing file may well be kept: not worth decoding ahead.
  return folder && (overwriteMode_ == TUZOverwriteMode::Always || !platform::FileExists(*folder + e.FileName));
}

void TUnZipper::DispatchAhead(int from) {
  dispatchedUpTo_ = std::max(dispatchedUpTo_, from);
  const int n = view_->Count();
  while (dispatchedUpTo_ < n && jobs_.size() < kJobsPerWorker * workers_.size()) {
    const int index = dispatchedUpTo_++;
    const TZipHeaderInfo& e = *view_->Item(index);
    if ((!doAll_ && !e.Selected) || !Dispatchable(e)) continue;
    auto job = std::make_unique<TEntryJob>();
    job->index = index;
    job->entry.Assign(e);
    if (!testOnly_) job->temp = scratch_ + platform::PathSeparator() + std::to_string(index);
    pool_->Submit(*job);
    jobs_[index] = std::move(job);
  }
}

void TUnZipper::DecodeJob(TEntryJob& job) {
  progress_ = &job.done;
  cancel_ = &job.cancelled;
  try {
    cur_.Assign(job.entry);
    entryError_.clear();
    zipStream_->Seek(static_cast<std::int64_t>(cur_.LocalHeaderOffset), 0);
    std::uint8_t h[kLocalHeaderSize];
    ReadChunk(h, kLocalHeaderSize);
    const std::uint64_t dataOffset = cur_.LocalHeaderOffset + kLocalHeaderSize + Get16(h + 26) + Get16(h + 28);
    if (!testOnly_) {
      try {
        out_ = std::make_unique<TLFNFileStream>(job.temp, kStreamBufferSize, flushFilesOnClose_, platform::kFmCreate);
      } catch (const platform::Exception&) {
        return;  // the calling thread tries again and reports it
      }
    }
    job.created = true;
    zipStream_->Seek(static_cast<std::int64_t>(dataOffset), 0);
    // Smaller entries are decoded in one piece: nothing to overlap. Without
    // writing, the check alone is too quick to be worth a hand-over.
    piping_ = !testOnly_ && cur_.Method == kMethodDeflated && cur_.UncompressedSize > TFastInflater::kSpan;
    if (piping_ && !pipe_) pipe_ = std::make_unique<TOutputPipe>([this](const std::uint8_t* data, std::uint32_t n) {
      Deliver(*ds_, data, n);
    });
    if (piping_) pipe_->Start();
    bool complete = true;
    Decode(complete);
    piping_ = false;
    if (out_ && !out_->WriteBack()) throw ECantWriteUCF(ZipMessage(ZipMsg::CantWriteUCF));
    out_.reset();
    job.complete = complete;
    job.crc = ~crc_;
    job.error = entryError_;
  } catch (...) {
    piping_ = false;
    out_.reset();
    job.failure = std::current_exception();
  }
}

bool TUnZipper::AdoptJob(TEntryJob& job, const std::string& temp, bool& complete) {
  // Progress events as a sequential run gives them: this entry's, in order.
  std::int64_t reported = 0;
  const auto size = static_cast<std::int64_t>(cur_.UncompressedSize);
  auto progress = [&] {
    ProcessMessages();
    const std::int64_t done = job.done.load(std::memory_order_relaxed);
    if (done == reported) return;
    if (OnFilePercentDone) OnFilePercentDone(*this, Percent(done, size));
    totalDone_ += done - reported;
    if (OnTotalPercentDone) OnTotalPercentDone(*this, Percent(totalDone_, totalToDo_));
    reported = done;
  };
  pool_->Wait(job, progress);
  job.taken = true;
  const std::string decoded = std::move(job.temp);
  job.temp.clear();
  if (job.failure) {
    if (!decoded.empty()) platform::DeleteFile(decoded);
    std::rethrow_exception(job.failure);
  }
  if (!job.created) return false;
  const bool good = job.complete && job.crc == cur_.CRC32;
  if (!decoded.empty() && (!good || !platform::RenameFile(decoded, temp))) {
    platform::DeleteFile(decoded);
    if (good) {
      // Not movable there (another volume mounted below the destination):
      // decode it again on this thread.
      totalDone_ -= reported;
      return false;
    }
  }
  complete = job.complete;
  crc_ = ~job.crc;
  entryError_ = job.error;
  return true;
}

void TUnZipper::DiscardJob(int index) {
  const auto it = jobs_.find(index);
  if (it == jobs_.end()) return;
  TEntryJob& job = *it->second;
  if (!job.taken) {
    // Skipped before its result was taken.
    job.cancelled = true;
    pool_->Wait(job, [this] { ProcessMessages(); });
    if (!job.temp.empty()) platform::DeleteFile(job.temp);
  }
  jobs_.erase(it);
}

void TUnZipper::Skip(int index, TSkipReason reason, const std::string& name) {
  totalToDo_ -= static_cast<std::int64_t>(cur_.UncompressedSize);
  bool retry = false;
  if (OnSkippingFile) OnSkippingFile(*this, reason, name, index, retry);
}

std::optional<std::string> TUnZipper::DestinationFolder(const TZipHeaderInfo& e) {
  const char sep = platform::PathSeparator();
  std::string folder = destDir_ + sep;
  if (e.FileName == "." || e.FileName == "..") return std::nullopt;
  if (!recreateDirs_ || e.Directory.empty()) return folder;
  std::string d = e.Directory;
  if (!rootDir_.empty() && d.size() >= rootDir_.size() && platform::EqualsNoCase(d.substr(0, rootDir_.size()), rootDir_))
    d.erase(0, rootDir_.size());
  // A stored folder always lands below DestDir: a drive and leading separators
  // are dropped, and a ".." component (or any other ":") refuses the entry.
  if (d.size() >= 2 && d[1] == ':') d.erase(0, 2);
  std::size_t start = 0;
  while (start <= d.size()) {
    std::size_t end = d.find('\\', start);
    if (end == std::string::npos) end = d.size();
    const std::string part = d.substr(start, end - start);
    if (part == ".." || part.find(':') != std::string::npos) return std::nullopt;
    if (!part.empty() && part != ".") folder += part + sep;
    start = end + 1;
  }
  return folder;
}

bool TUnZipper::AskNewPassword(int index) {
  if (!OnBadPassword) return false;
  std::string next = password_;
  OnBadPassword(*this, index, next);
  if (next == password_) return false;
  password_ = next;
  return true;
}

bool TUnZipper::CheckPassword(int index, std::int64_t dataOffset) {
  for (;;) {
    std::uint8_t header[kCryptHeaderSize];
    ReadChunk(header, kCryptHeaderSize);
    cur_.CompressedSize -= std::min<std::uint64_t>(cur_.CompressedSize, kCryptHeaderSize);
    keys_.Init(password_);
    keys_.Decrypt(header, kCryptHeaderSize);
    const std::uint8_t check = (cur_.Flags & kFlagDataDescriptor) ? static_cast<std::uint8_t>(cur_.DosDateTime >> 8)
                                                                  : static_cast<std::uint8_t>(cur_.CRC32 >> 24);
    if (header[kCryptHeaderSize - 1] == check) return true;
    if (!AskNewPassword(index)) return false;
    SeekSpanning(cur_.DiskNumberStart, dataOffset);
    cur_.CompressedSize += kCryptHeaderSize;
  }
}

bool TUnZipper::CheckAesPassword(int index, std::int64_t dataOffset) {
  const std::uint32_t header = aesInfo_->SaltSize() + kAesVerifierSize;
  cur_.CompressedSize -= header + kAesMacSize;
  if (!aes_) aes_ = std::make_unique<TAesDecrypter>();
  for (;;) {
    std::uint8_t salt[kAesMaxSaltSize + kAesVerifierSize];
    ReadChunk(salt, header);
    if (aes_->Start(password_, *aesInfo_, salt, salt + aesInfo_->SaltSize())) return true;
    if (!AskNewPassword(index)) return false;
    SeekSpanning(cur_.DiskNumberStart, dataOffset);
  }
}

bool TUnZipper::AuthenticateAesEntry() {
  // Bytes a decoder left unread still count into the authentication code.
  while (cur_.CompressedSize > 0) {
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, cur_.CompressedSize));
    cur_.CompressedSize -= n;
    ReadChunk(ds_->inBuf.get(), n);
    aes_->Authenticate(ds_->inBuf.get(), n);
  }
  std::uint8_t mac[kAesMacSize];
  ReadChunk(mac, kAesMacSize);
  return aes_->Verify(mac);
}

bool TUnZipper::OverwriteAllowed(int index, std::string& target) {
  if (overwriteMode_ == TUZOverwriteMode::Always || !platform::FileExists(target)) return true;
  switch (overwriteMode_) {
    case TUZOverwriteMode::Prompt: {
      if (OnPromptForOverwrite) {
        bool overwrite = false;
        OnPromptForOverwrite(*this, overwrite, index, target);
        return overwrite;
      }
      const std::string text = ZipMessage(ZipMsg::ReplaceExisting) + cur_.FileName + "?";
      return platform::MessageBox(text, ZipMessage(ZipMsg::FileExistsAlert), platform::MessageButtons::YesNo) ==
             platform::MessageResult::Yes;
    }
    case TUZOverwriteMode::Never: return false;
    case TUZOverwriteMode::ifNewer: return cur_.DosDateTime > platform::FileAgeDos(target).value_or(0);
    case TUZOverwriteMode::ifOlder: return cur_.DosDateTime < platform::FileAgeDos(target).value_or(0);
    case TUZOverwriteMode::Always: break;
  }
  return true;
}

void TUnZipper::ProcessEntry(int index, bool& retry) {
  retry = false;
  entryError_.clear();
  aesInfo_.reset();
  cur_.Assign(*view_->Item(index));
  const bool isFile = !cur_.FileName.empty();
  std::uint64_t dataOffset = 0;
  if (isFile) {
    SeekSpanning(cur_.DiskNumberStart, cur_.LocalHeaderOffset);
    std::uint8_t h[kLocalHeaderSize];
    if (ReadSpanning(h, kLocalHeaderSize) < kLocalHeaderSize) throw EFatalUnzipError(kMsgPrematureEnd);
    const std::uint16_t nameLength = Get16(h + 26);
    const std::uint16_t extraLength = Get16(h + 28);
    dataOffset = cur_.LocalHeaderOffset + kLocalHeaderSize + nameLength + extraLength;
    if (cur_.Method == kMethodAes) {
      // The real method and the key strength are in the local extra field.
      std::vector<std::uint8_t> extra(extraLength);
      SkipSpanning(nameLength);
      extra.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, ReadSpanning(extra.data(), extraLength))));
      aesInfo_ = FindAesExtra(extra.data(), extra.size());
      if (aesInfo_) {
        cur_.Method = aesInfo_->method;
        cur_.Flags |= kFlagEncrypted;
      }
    }
    SeekSpanning(cur_.DiskNumberStart, dataOffset);
  }
  const std::optional<std::string> folder = DestinationFolder(cur_);
  if (!folder) {
    lastError_ = "unsafe name (it would leave the destination folder), not extracted";
    Skip(index, TSkipReason::CantCreate, cur_.StoredPath());
    return;
  }
  if (!isFile) {
    if (recreateDirs_ && !testOnly_ && !platform::DirectoryExists(*folder)) platform::ForceDirectories(*folder);
    ++count_;
    return;
  }
  std::string target = *folder + cur_.FileName;
  bool skip = false;
  if (OnStartUnZip) OnStartUnZip(*this, index, target, skip);
  if (skip) return;
  if (!testOnly_) {
    const std::string parent = ParentFolder(target);
    if (!parent.empty() && !platform::DirectoryExists(parent)) platform::ForceDirectories(parent);
  }
  const bool encrypted = (cur_.Flags & kFlagEncrypted) != 0;
  // No password can open what this build cannot decrypt: say so instead.
  if ((encrypted || cur_.StrongEncryption()) && !EncryptionSupported(cur_)) {
    lastError_ = kMsgUnsupportedEncryption;
    Skip(index, TSkipReason::Unsupported, cur_.StoredPath());
    return;
  }
  const bool traditional = encrypted && !aesInfo_;
  if (aesInfo_ && cur_.CompressedSize < aesInfo_->SaltSize() + kAesVerifierSize + kAesMacSize) {
    // No password can be checked: the entry is damaged.
    entryError_ = "damaged AES entry: shorter than its salt, password verifier and authentication code";
    totalToDo_ -= static_cast<std::int64_t>(cur_.UncompressedSize);
    if (OnBadCRC) OnBadCRC(*this, ~kCrcPreset, cur_.CRC32, index);
    return;
  }
  if (encrypted && !(aesInfo_ ? CheckAesPassword(index, dataOffset) : CheckPassword(index, dataOffset))) {
    Skip(index, TSkipReason::BadPassword, cur_.StoredPath());
    return;
  }
  const std::uint32_t encryptionHeader =
      aesInfo_ ? aesInfo_->SaltSize() + kAesVerifierSize : traditional ? kCryptHeaderSize : 0;
  std::string temp;
  if (!testOnly_) {
    if (!OverwriteAllowed(index, target)) {
      Skip(index, TSkipReason::NoOverwrite, target);
      return;
    }
    const auto attr = platform::FileGetAttr(target);
    if (attr && (*attr & platform::kFaReadOnly) && !replaceReadOnly_) {
      Skip(index, TSkipReason::CantCreate, target);
      return;
    }
    // The entry is written beside its target and moved into place only once
    // its CRC matched, so a failed entry never damages an existing file.
    temp = target + platform::kPartialFileSuffix;
  }
  bool complete = true;
  bool authentic = true;
  const auto job = jobs_.find(index);
  if (job == jobs_.end() || !AdoptJob(*job->second, temp, complete)) {
    if (!testOnly_) {
      try {
        out_ = std::make_unique<TLFNFileStream>(temp, kStreamBufferSize, flushFilesOnClose_, platform::kFmCreate);
      } catch (const platform::Exception&) {
        Skip(index, TSkipReason::CantCreate, target);
        return;
      }
    }
    try {
      SeekSpanning(cur_.DiskNumberStart, dataOffset + encryptionHeader);
      Decode(complete);
      if (aesInfo_) authentic = AuthenticateAesEntry();
      if (out_ && !out_->WriteBack()) throw ECantWriteUCF(ZipMessage(ZipMsg::CantWriteUCF));
    } catch (...) {
      out_.reset();
      if (!temp.empty()) platform::DeleteFile(temp);
      throw;
    }
    out_.reset();
  }
  const std::uint32_t computed = ~crc_;
  // AE-2 stores no CRC: its authentication code stands for it.
  const bool crcStored = !aesInfo_ || aesInfo_->version == 1;
  const bool ok = complete && authentic && (!crcStored || computed == cur_.CRC32);
  if (!authentic) entryError_ = "authentication code mismatch: the entry is damaged or was altered";
  if (ok && !testOnly_) {
    try {
      platform::FileStream file(temp, platform::kFmOpenWrite);
      if (cur_.UtcModTime) {
        file.SetLastWriteUtcTime(*cur_.UtcModTime);
      } else {
        file.SetLastWriteDosTime(cur_.DosDateTime);
      }
    } catch (const platform::Exception&) {
      // The time is cosmetic; the data is sound.
    }
    if (replaceReadOnly_) {
      const auto attr = platform::FileGetAttr(target);
      if (attr && (*attr & platform::kFaReadOnly)) platform::FileSetAttr(target, *attr & ~platform::kFaReadOnly);
    }
    if (!platform::RenameFile(temp, target)) {
      platform::DeleteFile(temp);
      lastError_ = "Cannot replace " + target;
      Skip(index, TSkipReason::CantCreate, target);
      return;
    }
    if (retainAttributes_) platform::FileSetAttr(target, cur_.FileAttributes());
  }
  if (ok) {
    if (OnEndUnZip) OnEndUnZip(*this, index, target);
    ++count_;
    return;
  }
  // A traditionally encrypted entry that fails is taken for a wrong password;
  // an AES entry's password was proven by its verifier, so it is damaged.
  if (traditional) {
    retry = AskNewPassword(index);
    if (!retry) Skip(index, TSkipReason::BadPassword, cur_.StoredPath());
  } else if (OnBadCRC) {
    OnBadCRC(*this, computed, cur_.CRC32, index);
  }
  if (!temp.empty()) platform::DeleteFile(temp);
}

void TUnZipper::Decode(bool& complete) {
  crc_ = kCrcPreset;
  ds_->StartEntry(static_cast<std::int64_t>(cur_.CompressedSize), static_cast<std::int64_t>(cur_.UncompressedSize));
  // Inflate's results share the library decoders' numbering.
  int result = kStreamOk;
  try {
    switch (cur_.Method) {
      case kMethodStored: UnStore(); break;
#ifdef TW_UNZIP_LEGACY
      case kMethodShrunk: UnShrink(*ds_); break;
      case kMethodReduced1:
      case kMethodReduced1 + 1:
      case kMethodReduced1 + 2:
      case kMethodReduced4: UnReduce(*ds_, cur_.Method - 1); break;
      case kMethodImploded: Explode(*ds_, cur_.Flags); break;
#endif
      case kMethodDeflated: result = inflater_->Inflate(*ds_); break;
      case kMethodDeflate64:
        if (!inflater64_) inflater64_ = std::make_unique<TInflater>(TInflateVariant::Deflate64);
        result = inflater64_->Inflate(*ds_);
        break;
      case kMethodBzip2: result = UnBzip2(*ds_); break;
      case kMethodLzma: result = UnLzma(*ds_); break;
      case kMethodXz: result = UnXz(*ds_); break;
      case kMethodZstdOld:
      case kMethodZstd: result = UnZstd(*ds_); break;
      default:
        // Nothing was decoded: not even an entry whose stored CRC is 0 (an
        // empty file, or an AE-2 entry) may pass as extracted.
        complete = false;
        lastError_ = ZipMessage(ZipMsg::UnknownMethod);
        entryError_ = "unsupported compression method " + std::to_string(cur_.Method);
        // One box per method and run, not one per entry.
        if (reportedMethods_.insert(cur_.Method).second)
          platform::MessageBox(lastError_, ZipMessage(ZipMsg::ZipErrorCaption));
        break;
    }
  } catch (const EBiggerThanUncompressed& e) {
    complete = false;
    entryError_ = e.what();
  }
  if (result == kStreamNoMemory) {
    entryError_ = MethodName(cur_.Method) + " data needs more memory than the engine allows";
  } else if (result != kStreamOk) {
    entryError_ = "corrupt " + MethodName(cur_.Method) + " data";
  }
}

bool TUnZipper::MethodSupported(std::uint16_t method) {
  switch (method) {
    case kMethodStored:
    case kMethodDeflated:
    case kMethodDeflate64:
    case kMethodBzip2:
    case kMethodLzma:
    case kMethodZstdOld:
    case kMethodZstd:
    case kMethodXz: return true;
#ifdef TW_UNZIP_LEGACY
    case kMethodShrunk:
    case kMethodReduced1:
    case kMethodReduced1 + 1:
    case kMethodReduced1 + 2:
    case kMethodReduced4:
    case kMethodImploded: return true;
#endif
    default: return false;
  }
}

bool TUnZipper::EncryptionSupported(const TZipHeaderInfo& e) {
  // An AES entry whose field was read carries its inner method by then.
  return !e.StrongEncryption();
}

void TUnZipper::ReadChunk(std::uint8_t* into, std::uint32_t n) {
  // Data running past the end of a volume goes on in the next one; without a
  // handler to find it, or past the last volume, the archive just ends early.
  const std::int64_t got = OnGetNextDisk ? ReadSpanning(into, n) : zipStream_->Read(into, n);
  if (got < n) throw EFatalUnzipError(kMsgPrematureEnd);
}

bool TUnZipper::FillInput() {
  ProcessMessages();
  const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, cur_.CompressedSize));
  cur_.CompressedSize -= n;
  if (n == 0) return false;
  ReadChunk(ds_->inBuf.get(), n);
  ds_->inCount = n;
  if (aesInfo_) {
    aes_->Decrypt(ds_->inBuf.get(), n);
  } else if (cur_.Flags & kFlagEncrypted) {
    if (OnDecrypt) {
      OnDecrypt(*this, ds_->inBuf.get(), static_cast<int>(n), password_);
    } else {
      keys_.Decrypt(ds_->inBuf.get(), n);
    }
  }
  return true;
}

void TUnZipper::UnStore() {
  while (cur_.CompressedSize > 0) {
    ProcessMessages();
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, cur_.CompressedSize));
    cur_.CompressedSize -= n;
    ReadChunk(ds_->outBuf.get(), n);
    ds_->outCount = n;
    FlushOutput();
  }
}

int TUnZipper::Percent(std::int64_t done, std::int64_t total) const {
  if (total <= 0) return 0;
  const double p = std::nearbyint(static_cast<double>(done) * 100.0 / static_cast<double>(total));
  return p > 100 ? 100 : static_cast<int>(p);
}

void TUnZipper::FlushOutput() {
  TDecodeState& s = *ds_;
  const std::uint32_t c = s.outCount;
  if (c == 0) return;
  if (cur_.Method == kMethodStored && aesInfo_) {
    aes_->Decrypt(s.outBuf.get(), c);
  } else if (cur_.Method == kMethodStored && (cur_.Flags & kFlagEncrypted)) {
    keys_.Decrypt(s.outBuf.get(), c);
  }
  Deliver(s, s.outBuf.get(), c);
}

void TUnZipper::Hold(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) {
  if (piping_) {
    pipe_->Put(data, n);
  } else {
    Deliver(s, data, n);
  }
}

void TUnZipper::Release(std::uint64_t upTo) {
  if (piping_) pipe_->Release(upTo);
}

void TUnZipper::Deliver(TDecodeState& s, const std::uint8_t* data, std::uint32_t c) {
  if (static_cast<std::uint64_t>(s.bytesWritten) + c > cur_.UncompressedSize)
    throw EBiggerThanUncompressed(ZipMessage(ZipMsg::BiggerThanUncompressed));
  if (out_ && out_->Write(data, c) < c) throw ECantWriteUCF(ZipMessage(ZipMsg::CantWriteUCF));
  crc_ = UpdateCrc32(crc_, data, c);
  s.bytesWritten += c;
  if (progress_) {
    progress_->store(s.bytesWritten, std::memory_order_relaxed);
    if (cancel_->load(std::memory_order_relaxed)) throw EUserCanceled("decoding ahead was cancelled");
  }
  if (OnFilePercentDone)
    OnFilePercentDone(*this, Percent(s.bytesWritten, static_cast<std::int64_t>(cur_.UncompressedSize)));
  if (OnTotalPercentDone) {
    totalDone_ += c;
    OnTotalPercentDone(*this, Percent(totalDone_, totalToDo_));
  }
  s.outCount = 0;
  s.outPtr = s.outBuf.get();
}

}  // namespace unzip
