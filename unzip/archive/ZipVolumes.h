// The files an archive is read from: one, or the volumes of an archive spanned
// over removable disks or blocked into numbered files, one open at a time,
// and the ".zfc" side file that holds the directory when the end record is
// not at hand. Reads that run past the end of a volume go on in the next one.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/ZipBufStream.h"

namespace unzip {

class TZipVolumes {
 public:
  // What the volumes ask of the component that reads them.
  class THost {
   public:
    virtual ~THost() = default;
    // Whether a handler gives the archive's other volumes (OnGetNextDisk).
    virtual bool CanAskForVolume() const = 0;
    // Gives the path of volume `nextDisk` - 1, arriving as the current path;
    // an emptied path cancels.
    virtual void AskForVolume(int nextDisk, std::string& path) = 0;
    // Whether a removable disk must carry the volume's number in its label.
    virtual bool CheckVolumeLabels() const = 0;
  };

  explicit TZipVolumes(THost& host) : host_(host) {}

  // The archive's path: after a change of volume, the current volume's.
  const std::string& Name() const { return name_; }
  // A new archive: no stream, no volume state.
  void SetName(const std::string& name);
  void Clear();

  // Opens the archive's own file when nothing is open (share mode: deny write).
  void Open();
  void Close() { stream_.reset(); }
  bool IsOpen() const { return stream_ != nullptr; }
  TLFNFileStream& Stream() { return *stream_; }
  // The current file's date when the directory was read, and whether it still has it.
  void NoteDate();
  bool Unchanged() const;

  // Once the end record is found: the volume it is on (`lastDisk`, 0 for a
  // single archive) is the one open, unless it came from the side file.
  void SetLastDisk(std::uint32_t lastDisk);
  // A directory rebuilt from local headers reads one file, never spanning.
  void SetRebuilt();
  bool Rebuilt() const { return rebuilt_; }
  // 0 a single archive, 1 spanned over removable disks, 2 blocked into files.
  int SpanKind() const { return spanKind_; }
  // The 0-based volume whose file is open.
  int CurrentVolume() const { return currentDisk_; }

  // Reads across volume ends as far as there are volumes; returns the bytes read.
  std::int64_t Read(void* into, std::int64_t count);
  // Reads entry data: across volume ends when a handler can give them, else
  // in this file only; throws EFatalUnzipError when the archive ends first.
  void ReadData(void* into, std::int64_t count);
  void Skip(std::int64_t count);
  // Positions at `offset` of `volume`; an offset past the end of its volume
  // lies in the following ones.
  void Seek(int volume, std::int64_t offset);
  // Opens `volume` when another one is open.
  void EnsureVolume(int volume);
  // `length` bytes at `position` of the archive's file, opening it for the
  // read when it is closed (and closing it again unless `keepOpen`, or the
  // archive spans volumes).
  std::string ReadAt(std::int64_t position, std::uint16_t length, bool keepOpen);

  // The default answer to a request for volume `nextDisk` - 1: a blocked
  // archive's files are named by their number (the last one as the archive
  // was opened), and `name` becomes that; false for a spanned archive, whose
  // disk the user must insert.
  bool NameBlockedVolume(int nextDisk, std::string& name) const;
  // The handler asked the user, who may answer with the same path again.
  void NoteUserAsked() { askedUser_ = true; }

  // Swaps in the ".zfc" side file beside the archive; false when there is none.
  bool EnterSideFile();
  void LeaveSideFile();
  bool InSideFile() const { return sideFile_; }

 private:
  bool VolumeLabelMatches(int nextDisk) const;
  void OpenVolume(int nextDisk);
  bool CanSpan() const;

  THost& host_;
  std::string name_;
  std::unique_ptr<TLFNFileStream> stream_;
  std::optional<std::uint32_t> date_;
  std::uint32_t lastDisk_ = 0;
  bool rebuilt_ = false;
  int spanKind_ = 0;
  int currentDisk_ = 0;
  // The file that held the end record: the last volume of a blocked archive.
  std::string endVolumeName_;
  bool askedUser_ = false;
  // While the directory is read from the side file, the archive's own stream waits here.
  bool sideFile_ = false;
  std::unique_ptr<TLFNFileStream> aside_;
};

}  // namespace unzip
