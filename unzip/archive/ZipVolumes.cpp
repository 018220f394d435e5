#include "archive/ZipVolumes.h"

#include <algorithm>
#include <cstdio>

#include "platform/Files.h"
#include "platform/Text.h"
#include "unzip/ZipErrors.h"

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

std::unique_ptr<TLFNFileStream> OpenForReading(const std::string& path, unsigned share) {
  return std::make_unique<TLFNFileStream>(path, kStreamBufferSize, false, platform::kFmOpenRead | share);
}

}  // namespace

void TZipVolumes::SetName(const std::string& name) {
  name_ = name;
  stream_.reset();
  date_.reset();
  lastDisk_ = 0;
  rebuilt_ = false;
}

void TZipVolumes::Clear() {
  stream_.reset();
  name_.clear();
  date_.reset();
  lastDisk_ = 0;
  rebuilt_ = false;
  spanKind_ = 0;
  currentDisk_ = 0;
  endVolumeName_.clear();
  sideFile_ = false;
  aside_.reset();
}

void TZipVolumes::Open() {
  if (!stream_) stream_ = OpenForReading(name_, platform::kFmShareDenyWrite);
}

void TZipVolumes::NoteDate() { date_ = platform::FileAgeDos(name_); }

bool TZipVolumes::Unchanged() const { return platform::FileAgeDos(name_) == date_; }

void TZipVolumes::SetLastDisk(std::uint32_t lastDisk) {
  lastDisk_ = lastDisk;
  // The side file's directory is read with the first volume open.
  currentDisk_ = sideFile_ ? 0 : static_cast<int>(lastDisk);
  endVolumeName_ = sideFile_ ? std::string() : name_;
  spanKind_ = 0;
  if (lastDisk != 0) {
    const bool drive = name_.size() >= 2 && name_[1] == ':';
    spanKind_ = drive && platform::IsRemovableDrive(name_.substr(0, 2) + "\\") ? 1 : 2;
  }
}

void TZipVolumes::SetRebuilt() {
  rebuilt_ = true;
  lastDisk_ = 0;
  currentDisk_ = 0;
}

bool TZipVolumes::NameBlockedVolume(int nextDisk, std::string& name) const {
  if (spanKind_ == 1) return false;
  // Blocked files are numbered, except the last one: the file that held the
  // end record, which the archive was opened as.
  if (!endVolumeName_.empty() && nextDisk - 1 == static_cast<std::int64_t>(lastDisk_)) {
    name = endVolumeName_;
  } else {
    std::string ext(1, '.');
    ext += VolumeNumber(nextDisk);
    name = ChangeFileExt(name, ext);
  }
  return true;
}

bool TZipVolumes::VolumeLabelMatches(int nextDisk) const {
  if (spanKind_ != 1) return true;
  std::string root = name_.substr(0, 3);
  for (char& c : root)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::string label = platform::VolumeLabel(root).substr(0, kMaxLabelLength);
  const std::string want = VolumeNumber(nextDisk);
  return label.size() >= want.size() && label.compare(label.size() - want.size(), want.size(), want) == 0;
}

void TZipVolumes::OpenVolume(int nextDisk) {
  stream_.reset();
  if (!host_.CanAskForVolume()) throw EFatalUnzipError(FormatMessage(kMsgNoDiskHandler, nextDisk));
  std::string candidate = name_;
  // A handler that returns the same unusable name again without asking anyone
  // (the default one does so for a missing blocked file) would make the request
  // repeat forever: the second time it counts as cancelled, naming the file.
  std::string refused;
  for (;;) {
    askedUser_ = false;
    host_.AskForVolume(nextDisk, candidate);
    if (candidate.empty()) throw EUserCanceled(kMsgCanceledNewDisk);
    if ((!host_.CheckVolumeLabels() || VolumeLabelMatches(nextDisk)) && platform::FileExists(candidate)) break;
    if (!askedUser_ && candidate == refused) throw EUserCanceled(FormatMessage(kMsgMissingDisk, nextDisk) + candidate);
    refused = askedUser_ ? std::string() : candidate;
  }
  stream_ = OpenForReading(candidate, 0);
  currentDisk_ = nextDisk - 1;
  date_ = platform::FileAgeDos(candidate);
  name_ = candidate;
}

void TZipVolumes::EnsureVolume(int volume) {
  if (lastDisk_ != 0 && volume != currentDisk_) OpenVolume(volume + 1);
}

bool TZipVolumes::CanSpan() const {
  return lastDisk_ != 0 && !rebuilt_ && !sideFile_ && currentDisk_ < static_cast<std::int64_t>(lastDisk_);
}

std::int64_t TZipVolumes::Read(void* into, std::int64_t count) {
  auto* out = static_cast<std::uint8_t*>(into);
  std::int64_t got = stream_->Read(out, count);
  while (got < count && CanSpan()) {
    OpenVolume(currentDisk_ + 2);
    got += stream_->Read(out + got, count - got);
  }
  return got;
}

void TZipVolumes::ReadData(void* into, std::int64_t count) {
  // Data running past the end of a volume goes on in the next one; without a
  // handler to find it, or past the last volume, the archive just ends early.
  const std::int64_t got = host_.CanAskForVolume() ? Read(into, count) : stream_->Read(into, count);
  if (got < count) throw EFatalUnzipError(kMsgPrematureEnd);
}

void TZipVolumes::Skip(std::int64_t count) {
  while (CanSpan()) {
    const std::int64_t left = stream_->File().Size() - stream_->Position();
    if (count <= left) break;
    count -= left;
    OpenVolume(currentDisk_ + 2);
  }
  stream_->Seek(count, 1);
}

void TZipVolumes::Seek(int volume, std::int64_t offset) {
  EnsureVolume(volume);
  for (std::int64_t size; CanSpan() && offset > (size = stream_->File().Size());) {
    offset -= size;
    OpenVolume(currentDisk_ + 2);
  }
  stream_->Seek(offset, 0);
}

std::string TZipVolumes::ReadAt(std::int64_t position, std::uint16_t length, bool keepOpen) {
  const bool wasOpen = stream_ != nullptr;
  if (!wasOpen) Open();
  const std::int64_t here = stream_->Position();
  stream_->Seek(position, 0);
  std::string text(length, '\0');
  text.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, stream_->Read(text.data(), length))));
  stream_->Seek(here, 0);
  if (!wasOpen && spanKind_ == 0 && !keepOpen) stream_.reset();
  return text;
}

bool TZipVolumes::EnterSideFile() {
  const std::string path = ChangeFileExt(name_, ".zfc");
  if (!platform::FileExists(path)) return false;
  auto side = OpenForReading(path, 0);
  aside_ = std::move(stream_);
  stream_ = std::move(side);
  sideFile_ = true;
  return true;
}

void TZipVolumes::LeaveSideFile() {
  if (!sideFile_) return;
  stream_ = std::move(aside_);
  sideFile_ = false;
}

}  // namespace unzip
