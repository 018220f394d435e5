// Files and folders on POSIX file systems.
#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "State.h"

namespace platform {
namespace {

// Permission bits of a Unix file mode; set-id and sticky bits are never applied.
constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kWriteBits = 0222;
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kNewFolderMode = 0777;
// The Unix file-type field of a mode kept in the high 16 bits of the attributes.
constexpr std::uint32_t kUnixTypeMask = 0170000;

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

std::uint32_t ToDos(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  const int year = tm.tm_year + 1900 < 1980 ? 0 : tm.tm_year + 1900 - 1980;
  const std::uint32_t date = (static_cast<std::uint32_t>(year) << 9) |
                             (static_cast<std::uint32_t>(tm.tm_mon + 1) << 5) |
                             static_cast<std::uint32_t>(tm.tm_mday);
  const std::uint32_t time = (static_cast<std::uint32_t>(tm.tm_hour) << 11) |
                             (static_cast<std::uint32_t>(tm.tm_min) << 5) |
                             static_cast<std::uint32_t>(tm.tm_sec / 2);
  return (date << 16) | time;
}

std::time_t FromDos(std::uint32_t dos) {
  std::tm tm{};
  tm.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 1980 - 1900;
  tm.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
  tm.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
  tm.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
  tm.tm_min = static_cast<int>((dos >> 5) & 0x3F);
  tm.tm_sec = static_cast<int>(dos & 0x1F) * 2;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

}  // namespace

FileStream::FileStream(const std::string& path, unsigned mode) {
  int flags = O_RDONLY;
  if (mode == kFmCreate) {
    flags = O_WRONLY | O_CREAT | O_TRUNC;
  } else if ((mode & 3) == kFmOpenWrite) {
    flags = O_WRONLY;
  } else if ((mode & 3) == kFmOpenReadWrite) {
    flags = O_RDWR;
  }
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC, kNewFileMode);
  if (fd < 0) {
    if (mode == kFmCreate) throw EFCreateError("Cannot create file \"" + path + "\"");
    throw EFOpenError("Cannot open file \"" + path + "\"");
  }
  handle_ = fd;
}

FileStream::~FileStream() { ::close(Fd(handle_)); }

std::int64_t FileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(Fd(handle_), static_cast<char*>(buffer) + done,
                             static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t FileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(Fd(handle_), static_cast<const char*>(buffer) + done,
                              static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t FileStream::Seek(std::int64_t offset, int origin) {
  const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
  return ::lseek(Fd(handle_), static_cast<off_t>(offset), whence);
}

std::int64_t FileStream::Size() {
  struct stat st {};
  return ::fstat(Fd(handle_), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool FileStream::Flush() { return ::fsync(Fd(handle_)) == 0; }

bool FileStream::SetLastWriteDosTime(std::uint32_t dosDateTime) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = FromDos(dosDateTime);
  times[1].tv_nsec = 0;
  return ::futimens(Fd(handle_), times) == 0;
}

bool FileStream::SetLastWriteUtcTime(std::int64_t unixSeconds) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(unixSeconds);
  times[1].tv_nsec = 0;
  return ::futimens(Fd(handle_), times) == 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  if (p.empty() || DirectoryExists(p)) return !p.empty();
  const std::size_t slash = p.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !ForceDirectories(p.substr(0, slash))) return false;
  return ::mkdir(p.c_str(), kNewFolderMode) == 0 || DirectoryExists(p);
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RemoveDir(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<std::uint32_t> FileGetAttr(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  std::uint32_t attr = 0;
  if (S_ISDIR(st.st_mode)) attr |= kFaDirectory;
  if ((st.st_mode & S_IWUSR) == 0) attr |= kFaReadOnly;
  if (attr == 0) attr = kFaArchive;
  return attr;
}

bool FileSetAttr(const std::string& path, std::uint32_t attributes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & kPermissionBits;
  const std::uint32_t unixMode = attributes >> 16;
  if ((unixMode & kUnixTypeMask) != 0) mode = static_cast<mode_t>(unixMode) & kPermissionBits;
  if (attributes & kFaReadOnly) {
    mode &= ~kWriteBits;
  } else if ((unixMode & kUnixTypeMask) == 0) {
    mode |= S_IWUSR;
  }
  return ::chmod(path.c_str(), mode) == 0;
}

std::optional<std::uint32_t> FileAgeDos(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return ToDos(st.st_mtime);
}

bool IsRemovableDrive(const std::string& root) {
  return headless::GetState().removableDrives.count(headless::DriveKey(root)) != 0;
}

std::string VolumeLabel(const std::string& root) {
  const auto& drives = headless::GetState().removableDrives;
  const auto at = drives.find(headless::DriveKey(root));
  return at == drives.end() ? std::string() : at->second;
}

std::string CurrentDirectory() {
  char buffer[4096];
  return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace platform
