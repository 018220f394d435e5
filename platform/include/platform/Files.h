// Files and folders as the archive engine needs them. Paths are UTF-8; both "\"
// and the platform separator are accepted where a path is split into folders.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Exception.h"

namespace platform {

// Raised when a file cannot be created (EFCreateError) or opened (EFOpenError).
class EFCreateError : public Exception {
 public:
  using Exception::Exception;
};
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

// Open modes: access in the two lowest bits, sharing in bits 4 to 6, and the
// create mode, which creates or truncates the file for writing.
constexpr unsigned kFmOpenRead = 0x0000;
constexpr unsigned kFmOpenWrite = 0x0001;
constexpr unsigned kFmOpenReadWrite = 0x0002;
constexpr unsigned kFmShareDenyWrite = 0x0020;
constexpr unsigned kFmCreate = 0xFFFF;

// DOS file attributes.
constexpr std::uint32_t kFaReadOnly = 0x01;
constexpr std::uint32_t kFaHidden = 0x02;
constexpr std::uint32_t kFaSystem = 0x04;
constexpr std::uint32_t kFaDirectory = 0x10;
constexpr std::uint32_t kFaArchive = 0x20;

// Suffix of a file while it is being written: it gets its real name only once
// complete, so a run cut short leaves nothing that looks finished.
constexpr char kPartialFileSuffix[] = ".tw~";

// An unbuffered file opened by handle.
class FileStream {
 public:
  // Throws EFCreateError (mode kFmCreate) or EFOpenError.
  FileStream(const std::string& path, unsigned mode);
  ~FileStream();
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  // Bytes transferred; fewer than asked at the end of the file or on an error.
  std::int64_t Read(void* buffer, std::int64_t count);
  std::int64_t Write(const void* buffer, std::int64_t count);
  // Origins 0 (start), 1 (current), 2 (end); returns the new position or -1.
  std::int64_t Seek(std::int64_t offset, int origin);
  std::int64_t Size();
  // Forces written data to the disk.
  bool Flush();
  // Sets only the last-write time, from a DOS date-time taken as local time.
  bool SetLastWriteDosTime(std::uint32_t dosDateTime);
  // Sets only the last-write time, given in seconds since 1970-01-01 UTC.
  bool SetLastWriteUtcTime(std::int64_t unixSeconds);

 private:
  std::intptr_t handle_;
};

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates a folder with all missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
bool DeleteFile(const std::string& path);
// Removes an empty folder.
bool RemoveDir(const std::string& path);
// Moves `from` to `to`, replacing an existing `to`.
bool RenameFile(const std::string& from, const std::string& to);
// DOS attributes of a file, or nullopt when it does not exist.
std::optional<std::uint32_t> FileGetAttr(const std::string& path);
// Applies a zip entry's 32-bit external attributes. The low byte holds the DOS
// attributes; a Unix host keeps its file mode in the high 16 bits, which the
// headless backend applies (permission bits only).
bool FileSetAttr(const std::string& path, std::uint32_t attributes);
// Last-write time as a DOS date-time (local time), or nullopt.
std::optional<std::uint32_t> FileAgeDos(const std::string& path);
// True for a drive letter that names a removable drive ("A:\").
bool IsRemovableDrive(const std::string& root);
// Volume label of a drive root, empty when it has none.
std::string VolumeLabel(const std::string& root);
std::string CurrentDirectory();
// True when standard error is an interactive terminal.
bool StderrIsTerminal();

}  // namespace platform
