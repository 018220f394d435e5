// TUnZipper's multi-volume archives: asking for volumes, checking removable
// disks by their label, reading across volume ends, and the ".zfc" side file
// that holds the directory when the end record is not at hand.
#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// A removable disk's label has at most this many characters.
constexpr std::size_t kMaxLabelLength = 11;

// Volume numbers in names and labels: three digits, zero-padded.
std::string VolumeNumber(int nextDisk) {
  char text[16];
  std::snprintf(text, sizeof text, "%3.3d", nextDisk);
  return text;
}

// `path` with the extension of its file name replaced by `ext` (or given `ext`).
std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const std::size_t folder = platform::LastDelimiter("\\:/", path);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return path + ext;
  return path.substr(0, dot) + ext;
}

}  // namespace

void TUnZipper::DefaultGetNextDisk(int nextDisk, std::string& name) {
  if (spanKind_ != 1) {
    // Blocked files are numbered, except the last one: the file that held the
    // end record, which the archive was opened as.
    if (!endVolumeName_.empty() && nextDisk - 1 == static_cast<std::int64_t>(ecrec_.ThisDisk)) {
      name = endVolumeName_;
    } else {
      std::string ext(1, '.');
      ext += VolumeNumber(nextDisk);
      name = ChangeFileExt(name, ext);
    }
    return;
  }
  askedUser_ = true;
  const std::string text = ZipMessage(ZipMsg::InsertDisk) + std::to_string(nextDisk) + ZipMessage(ZipMsg::OfMultiDiskSet);
  if (platform::MessageBox(text, "", platform::MessageButtons::OkCancel) == platform::MessageResult::Cancel)
    name.clear();
}

bool TUnZipper::VolumeLabelMatches(int nextDisk) const {
  if (spanKind_ != 1) return true;
  std::string root = zipName_.substr(0, 3);
  for (char& c : root)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::string label = platform::VolumeLabel(root).substr(0, kMaxLabelLength);
  const std::string want = VolumeNumber(nextDisk);
  return label.size() >= want.size() && label.compare(label.size() - want.size(), want.size(), want) == 0;
}

void TUnZipper::OpenVolume(int nextDisk) {
  zipStream_.reset();
  if (!OnGetNextDisk) throw EFatalUnzipError(FormatMessage(kMsgNoDiskHandler, nextDisk));
  std::string candidate = zipName_;
  // A handler that returns the same unusable name again without asking anyone
  // (the default one does so for a missing blocked file) would make the request
  // repeat forever: the second time it counts as cancelled, naming the file.
  std::string refused;
  for (;;) {
    askedUser_ = false;
    OnGetNextDisk(*this, nextDisk, candidate);
    if (candidate.empty()) throw EUserCanceled(kMsgCanceledNewDisk);
    if ((!checkVolumeLabels_ || VolumeLabelMatches(nextDisk)) && platform::FileExists(candidate)) break;
    if (!askedUser_ && candidate == refused) throw EUserCanceled(FormatMessage(kMsgMissingDisk, nextDisk) + candidate);
    refused = askedUser_ ? std::string() : candidate;
  }
  zipStream_ = std::make_unique<TLFNFileStream>(candidate, kStreamBufferSize, false, platform::kFmOpenRead);
  currentDisk_ = nextDisk - 1;
  zipDate_ = platform::FileAgeDos(candidate);
  zipName_ = candidate;
}

void TUnZipper::EnsureVolume(int volume) {
  if (ecrec_.ThisDisk != 0 && volume != currentDisk_) OpenVolume(volume + 1);
}

bool TUnZipper::CanSpan() const {
  return ecrec_.ThisDisk != 0 && !rebuilding_ && !sideFile_ &&
         currentDisk_ < static_cast<std::int64_t>(ecrec_.ThisDisk);
}

std::int64_t TUnZipper::ReadSpanning(void* into, std::int64_t count) {
  auto* out = static_cast<std::uint8_t*>(into);
  std::int64_t got = zipStream_->Read(out, count);
  while (got < count && CanSpan()) {
    OpenVolume(currentDisk_ + 2);
    got += zipStream_->Read(out + got, count - got);
  }
  return got;
}

void TUnZipper::SkipSpanning(std::int64_t count) {
  while (CanSpan()) {
    const std::int64_t left = zipStream_->File().Size() - zipStream_->Position();
    if (count <= left) break;
    count -= left;
    OpenVolume(currentDisk_ + 2);
  }
  zipStream_->Seek(count, 1);
}

void TUnZipper::SeekSpanning(int volume, std::int64_t offset) {
  EnsureVolume(volume);
  // An offset past the end of its volume lies in the following ones.
  for (std::int64_t size; CanSpan() && offset > (size = zipStream_->File().Size());) {
    offset -= size;
    OpenVolume(currentDisk_ + 2);
  }
  zipStream_->Seek(offset, 0);
}

bool TUnZipper::OpenSideFile() {
  const std::string path = ChangeFileExt(zipName_, ".zfc");
  if (!platform::FileExists(path)) return false;
  auto side = std::make_unique<TLFNFileStream>(path, kStreamBufferSize, false, platform::kFmOpenRead);
  asideStream_ = std::move(zipStream_);
  zipStream_ = std::move(side);
  sideFile_ = true;
  if (LocatePlausibleEndRecord()) return true;
  LeaveSideFile();
  return false;
}

void TUnZipper::LeaveSideFile() {
  if (!sideFile_) return;
  zipStream_ = std::move(asideStream_);
  sideFile_ = false;
}

}  // namespace unzip
