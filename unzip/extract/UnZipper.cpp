#include "unzip/UnZipper.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "core/Crc32.h"
#include "core/ZipBufStream.h"
#include "decode/InflateFast.h"
#include "decode/ZipAes.h"
#include "extract/MethodTable.h"
#include "extract/UnZipperParts.h"
#include "extract/ZipMatch.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "unzip/ZipMethods.h"

namespace unzip {
namespace {

// Text of an entry skipped for its encryption.
constexpr char kMsgUnsupportedEncryption[] = "encrypted with a method this build does not support";

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

int Percent(std::int64_t done, std::int64_t total) {
  if (total <= 0) return 0;
  const double p = std::nearbyint(static_cast<double>(done) * 100.0 / static_cast<double>(total));
  return p > 100 ? 100 : static_cast<int>(p);
}

// Whether this build decrypts the entry's encryption: traditional, and WinZip
// AES once the entry's AES field was read (its method is then the inner one);
// not PKWARE's strong encryption.
bool EncryptionSupported(const TZipHeaderInfo& e) { return !e.StrongEncryption(); }

}  // namespace

TUnZipper::TUnZipper() : namesCodePage_(platform::kCodePageGbk), parts_(std::make_unique<TParts>(*this)) {
  OnPromptForOverwrite = [this](TUnZipper&, bool& overwrite, int index, std::string&) {
    DefaultPromptForOverwrite(overwrite, index);
  };
  OnGetNextDisk = [this](TUnZipper&, int nextDisk, std::string& name) { DefaultGetNextDisk(nextDisk, name); };
  OnUnknownMethod = [this](TUnZipper&, std::uint16_t) { DefaultUnknownMethod(); };
}

TUnZipper::~TUnZipper() = default;

// ---------------------------------------------------------------------------
// Properties

const std::string& TUnZipper::ZipName() const { return parts_->volumes.Name(); }

void TUnZipper::SetZipName(const std::string& name) {
  if (platform::EqualsNoCase(name, ZipName())) return;
  std::string chosen = name;
  if (!name.empty() && name.back() == '?') {
    const std::string folder = platform::ExtractFilePath(name.substr(0, name.size() - 1));
    const std::string start = !folder.empty() && platform::DirectoryExists(folder) ? folder : "C:\\";
    auto picked = platform::OpenFileDialog(ZipMessage(ZipMsg::OpenZipTitle), ZipMessage(ZipMsg::OpenZipFilter), start);
    if (!picked) throw EUserCanceled(ZipMessage(ZipMsg::CanceledZipName));
    chosen = *picked;
  }
  parts_->directory.Clear();
  parts_->volumes.SetName(chosen);
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

int TUnZipper::EntryCount() const { return parts_->directory.Count(); }
TZipHeaderInfo& TUnZipper::Entry(int index) const { return parts_->directory.Entry(index); }
const TEndCentral& TUnZipper::EndCentral() const { return parts_->directory.EndRecord(); }
int TUnZipper::SpanKind() const { return parts_->volumes.SpanKind(); }
int TUnZipper::CurrentVolume() const { return parts_->volumes.CurrentVolume(); }
bool TUnZipper::NameBlockedVolume(int nextDisk, std::string& name) const {
  return parts_->volumes.NameBlockedVolume(nextDisk, name);
}
std::string TUnZipper::EntryComment(int index) { return parts_->directory.EntryComment(index, keepZipOpen_); }
std::string TUnZipper::ArchiveComment() { return parts_->directory.ArchiveComment(keepZipOpen_); }

void TUnZipper::ClearArchive() {
  parts_->volumes.Clear();
  parts_->directory.Clear();
}

void TUnZipper::SortEntries(TZipSortMode mode) {
  parts_->directory.Sort(mode);
  sortMode_ = mode;
}

void TUnZipper::OpenArchive() {
  parts_->volumes.Open();
  if (!parts_->directory.Empty() && parts_->volumes.Unchanged()) return;
  parts_->directory.Read(sortMode_);
}

void TUnZipper::CloseArchive(bool force) {
  if (force || !keepZipOpen_) parts_->volumes.Close();
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

void TUnZipper::TParts::NoEndRecord() {
  TIncompleteZipMode mode = owner.incompleteMode_;
  if (owner.OnInCompleteZip) {
    owner.OnInCompleteZip(owner, mode);
    owner.incompleteMode_ = mode;
  }
  if (mode == TIncompleteZipMode::izAssumeNotAZip) throw ENotAZipFile(ZipMessage(ZipMsg::NotAZip));
  if (mode == TIncompleteZipMode::izAssumeMulti) throw EIncompleteZip(ZipMessage(ZipMsg::IncompleteZip));
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

void TUnZipper::SelectEntries(int& numFiles, std::uint64_t& largest) {
  TParts& p = *parts_;
  for (int i = 0; i < p.directory.Count(); ++i) {
    TZipHeaderInfo& e = p.directory.Entry(i);
    e.Selected = doAll_;
    // A folder entry; an entry without any name is not one, and fails.
    if (e.FileName.empty() && !e.Directory.empty() && !recreateDirs_) {
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
      p.totalToDo += static_cast<std::int64_t>(e.UncompressedSize);
      ++numFiles;
      largest = std::max<std::uint64_t>(largest, e.UncompressedSize);
    }
  }
}

int TUnZipper::ExtractionRun() {
  TParts& p = *parts_;
  const bool savedKeep = keepZipOpen_;
  keepZipOpen_ = true;
  const TZipSortMode savedSort = sortMode_;
  p.count = 0;
  auto finish = [&] {
    p.pool.reset();
    p.decoder.reset();
    filesList_.clear();
    excludeList_.clear();
    if (sortMode_ != savedSort) SortEntries(savedSort);
    if (OnUnZipComplete) OnUnZipComplete(*this, p.count);
    keepZipOpen_ = savedKeep;
  };
  try {
    p.decoder = std::make_unique<TEntryDecoder>(p.volumes, p);
    if (!testOnly_ && !destDir_.empty() && !platform::DirectoryExists(destDir_)) platform::ForceDirectories(destDir_);
    // Volumes are visited in sequence, so a multi-volume run goes in archive order.
    if (p.volumes.SpanKind() != 0 && sortMode_ != TZipSortMode::ByNone) SortEntries(TZipSortMode::ByNone);
    p.totalToDo = p.totalDone = 0;
    p.reportedMethods.clear();
    int numFiles = 0;
    std::uint64_t largest = 0;
    SelectEntries(numFiles, largest);
    bool stop = false;
    if (OnStartUnZipInfo) OnStartUnZipInfo(*this, numFiles, p.totalToDo, stop);
    if (numFiles > 0 && !stop) {
      const int threads = threads_ != 0 ? threads_ : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
      // Volumes are read in sequence, one stream at a time: no workers there.
      // Threads pay for two entries or more, or for one whose writing can
      // overlap its decoding.
      const bool worth = numFiles > 1 || (!testOnly_ && largest > TFastInflater::kSpan);
      if (threads > 1 && worth && p.volumes.SpanKind() == 0 && !p.volumes.InSideFile()) {
        try {
          p.pool = std::make_unique<TEntryPool>(threads, ZipName(), destDir_, testOnly_, flushFilesOnClose_);
        } catch (const platform::Exception&) {
          // The archive is open on this thread: decode there.
        }
        // Without a folder for the decoded entries, this thread decodes and
        // reports what cannot be written.
        if (p.pool && !p.pool->Ready()) p.pool.reset();
      }
      const int n = p.directory.Count();
      const auto ahead = [&](int index) -> const TZipHeaderInfo* {
        const TZipHeaderInfo& e = p.directory.Entry(index);
        return (doAll_ || e.Selected) && DecodableAhead(e) ? &e : nullptr;
      };
      for (int i = 0; i < n; ++i) {
        if (!doAll_ && !p.directory.Entry(i).Selected) continue;
        if (p.pool) p.pool->Ahead(i, n, ahead);
        bool retry = false;
        do ProcessEntry(i, retry);
        while (retry);
        if (p.pool) p.pool->Discard(i, [this] { ProcessMessages(); });
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return p.count;
}

bool TUnZipper::DecodableAhead(const TZipHeaderInfo& e) const {
  if (e.FileName.empty() || (e.Flags & kFlagEncrypted) || e.StrongEncryption() || !MethodSupported(e.Method))
    return false;
  if (testOnly_) return true;
  const std::optional<std::string> folder = DestinationFolder(e);
  // An existing file may well be kept: not worth decoding ahead.
  return folder && (overwriteMode_ == TUZOverwriteMode::Always || !platform::FileExists(*folder + e.FileName));
}

bool TUnZipper::TakeAhead(int index, const TZipHeaderInfo& e, const std::string& temp, bool& complete,
                          std::uint32_t& crc) {
  TParts& p = *parts_;
  TEntryJob* job = p.pool ? p.pool->Find(index) : nullptr;
  if (!job) return false;
  // Progress events as a sequential run gives them: this entry's, in order.
  std::int64_t reported = 0;
  const auto size = static_cast<std::int64_t>(e.UncompressedSize);
  p.pool->Wait(*job, [&] {
    ProcessMessages();
    const std::int64_t done = job->done.load(std::memory_order_relaxed);
    if (done == reported) return;
    Progress(done, size, done - reported);
    reported = done;
  });
  const std::string decoded = std::move(job->temp);
  job->temp.clear();
  if (job->failure) {
    if (!decoded.empty()) platform::DeleteFile(decoded);
    std::rethrow_exception(job->failure);
  }
  if (!job->created) return false;
  const bool good = job->complete && job->crc == e.CRC32;
  if (!decoded.empty() && (!good || !platform::RenameFile(decoded, temp))) {
    platform::DeleteFile(decoded);
    if (good) {
      // Not movable there (another volume mounted below the destination):
      // decode it again on this thread.
      Uncount(reported);
      return false;
    }
  }
  complete = job->complete;
  crc = job->crc;
  entryError_ = job->error;
  return true;
}

void TUnZipper::Refuse(int index, TSkipReason reason, const std::string& name, const TZipHeaderInfo& e) {
  parts_->totalToDo -= static_cast<std::int64_t>(e.UncompressedSize);
  Skip(index, reason, name);
}

void TUnZipper::Skip(int index, TSkipReason reason, const std::string& name) {
  bool retry = false;
  if (OnSkippingFile) OnSkippingFile(*this, reason, name, index, retry);
}

std::optional<std::string> TUnZipper::DestinationFolder(const TZipHeaderInfo& e) const {
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

bool TUnZipper::OverwriteAllowed(int index, const TZipHeaderInfo& e, std::string& target) {
  if (overwriteMode_ == TUZOverwriteMode::Always || !platform::FileExists(target)) return true;
  switch (overwriteMode_) {
    case TUZOverwriteMode::Prompt: {
      bool overwrite = false;
      if (OnPromptForOverwrite) {
        OnPromptForOverwrite(*this, overwrite, index, target);
      } else {
        DefaultPromptForOverwrite(overwrite, index);
      }
      return overwrite;
    }
    case TUZOverwriteMode::Never: return false;
    case TUZOverwriteMode::ifNewer: return e.DosDateTime > platform::FileAgeDos(target).value_or(0);
    case TUZOverwriteMode::ifOlder: return e.DosDateTime < platform::FileAgeDos(target).value_or(0);
    case TUZOverwriteMode::Always: break;
  }
  return true;
}

void TUnZipper::Progress(std::int64_t done, std::int64_t size, std::int64_t n) {
  if (OnFilePercentDone) OnFilePercentDone(*this, Percent(done, size));
  if (OnTotalPercentDone) {
    parts_->totalDone += n;
    OnTotalPercentDone(*this, Percent(parts_->totalDone, parts_->totalToDo));
  }
}

void TUnZipper::Uncount(std::int64_t n) {
  if (OnTotalPercentDone) parts_->totalDone -= n;
}

void TUnZipper::TParts::Delivered(std::int64_t done, std::uint32_t n) {
  owner.Progress(done, static_cast<std::int64_t>(decoder->Entry().UncompressedSize), n);
}

bool TUnZipper::TParts::Decrypt(std::uint8_t* data, std::uint32_t n) {
  if (!owner.OnDecrypt) return false;
  owner.OnDecrypt(owner, data, static_cast<int>(n), owner.password_);
  return true;
}

void TUnZipper::TParts::UnknownMethod(std::uint16_t method) {
  owner.lastError_ = ZipMessage(ZipMsg::UnknownMethod);
  // One message per method and run, not one per entry.
  if (reportedMethods.insert(method).second && owner.OnUnknownMethod) owner.OnUnknownMethod(owner, method);
}

void TUnZipper::ProcessEntry(int index, bool& retry) {
  TParts& p = *parts_;
  retry = false;
  entryError_.clear();
  const TZipHeaderInfo& stored = p.directory.Entry(index);
  if (stored.StoredPath().empty()) {
    lastError_ = "empty name, not extracted";
    Refuse(index, TSkipReason::CantCreate, stored.StoredPath(), stored);
    return;
  }
  const bool isFile = !stored.FileName.empty();
  if (isFile) p.decoder->Open(stored);
  const TZipHeaderInfo& e = isFile ? p.decoder->Entry() : stored;
  const std::optional<std::string> folder = DestinationFolder(e);
  if (!folder) {
    lastError_ = "unsafe name (it would leave the destination folder), not extracted";
    Refuse(index, TSkipReason::CantCreate, e.StoredPath(), e);
    return;
  }
  if (!isFile) {
    if (recreateDirs_ && !testOnly_ && !platform::DirectoryExists(*folder)) platform::ForceDirectories(*folder);
    ++p.count;
    return;
  }
  std::string target = *folder + e.FileName;
  bool skip = false;
  if (OnStartUnZip) OnStartUnZip(*this, index, target, skip);
  if (skip) return;
  if (!testOnly_) {
    const std::string parent = ParentFolder(target);
    if (!parent.empty() && !platform::DirectoryExists(parent)) platform::ForceDirectories(parent);
  }
  const bool encrypted = (e.Flags & kFlagEncrypted) != 0;
  // No password can open what this build cannot decrypt: say so instead.
  if ((encrypted || e.StrongEncryption()) && !EncryptionSupported(e)) {
    lastError_ = kMsgUnsupportedEncryption;
    Refuse(index, TSkipReason::Unsupported, e.StoredPath(), e);
    return;
  }
  const auto& aes = p.decoder->Aes();
  if (aes && e.CompressedSize < AesSaltSize(aes->strength) + kAesVerifierSize + kAesMacSize) {
    // No password can be checked: the entry is damaged.
    entryError_ = "damaged AES entry: shorter than its salt, password verifier and authentication code";
    p.totalToDo -= static_cast<std::int64_t>(e.UncompressedSize);
    if (OnBadCRC) OnBadCRC(*this, ~kCrcPreset, e.CRC32, index);
    return;
  }
  if (encrypted && !p.decoder->CheckPassword(password_, [&] { return AskNewPassword(index); })) {
    Refuse(index, TSkipReason::BadPassword, e.StoredPath(), e);
    return;
  }
  std::string temp;
  if (!testOnly_) {
    if (!OverwriteAllowed(index, e, target)) {
      Refuse(index, TSkipReason::NoOverwrite, target, e);
      return;
    }
    const auto attr = platform::FileGetAttr(target);
    if (attr && (*attr & platform::kFaReadOnly) && !replaceReadOnly_) {
      Refuse(index, TSkipReason::CantCreate, target, e);
      return;
    }
    // The entry is written beside its target and moved into place only once
    // its CRC matched, so a failed entry never damages an existing file.
    temp = target + platform::kPartialFileSuffix;
  }
  bool complete = true;
  bool authentic = true;
  std::uint32_t computed = 0;
  if (!TakeAhead(index, e, temp, complete, computed)) {
    std::unique_ptr<TLFNFileStream> out;
    if (!testOnly_) {
      try {
        out = std::make_unique<TLFNFileStream>(temp, kStreamBufferSize, flushFilesOnClose_, platform::kFmCreate);
      } catch (const platform::Exception&) {
        Refuse(index, TSkipReason::CantCreate, target, e);
        return;
      }
    }
    try {
      p.decoder->Decode(out.get());
    } catch (...) {
      out.reset();
      if (!temp.empty()) platform::DeleteFile(temp);
      throw;
    }
    out.reset();
    complete = p.decoder->Complete();
    authentic = p.decoder->Authentic();
    computed = p.decoder->Crc();
    entryError_ = p.decoder->Error();
  }
  const bool crcStored = p.decoder->CrcStored();
  const bool ok = complete && authentic && (!crcStored || computed == e.CRC32);
  if (!authentic) entryError_ = "authentication code mismatch: the entry is damaged or was altered";
  if (ok && !testOnly_) {
    try {
      platform::FileStream file(temp, platform::kFmOpenWrite);
      if (e.UtcModTime) {
        file.SetLastWriteUtcTime(*e.UtcModTime);
      } else {
        file.SetLastWriteDosTime(e.DosDateTime);
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
    if (retainAttributes_) platform::FileSetAttr(target, e.FileAttributes());
  }
  if (ok) {
    if (OnEndUnZip) OnEndUnZip(*this, index, target);
    ++p.count;
    return;
  }
  // A traditionally encrypted entry that fails is taken for a wrong password;
  // an AES entry's password was proven by its verifier, so it is damaged.
  if (encrypted && !aes) {
    retry = AskNewPassword(index);
    if (retry) {
      Uncount(p.decoder->State().bytesWritten);  // its bytes come once more
    } else {
      Skip(index, TSkipReason::BadPassword, e.StoredPath());
    }
  } else if (OnBadCRC) {
    OnBadCRC(*this, computed, e.CRC32, index);
  }
  if (!temp.empty()) platform::DeleteFile(temp);
}

}  // namespace unzip
