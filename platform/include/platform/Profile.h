// Profile (INI) files, read the way the platform's profile-string reader reads
// them: section and key names match without regard to case, blanks around a
// value are dropped, one pair of quotes around a value is removed, and a value is
// cut to kProfileValueMax characters (the reader's 2,048-byte buffer).
#pragma once
#include <cstddef>
#include <string>

namespace platform {

constexpr std::size_t kProfileValueMax = 2047;

class ProfileFile {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}
  // A missing file, section or key gives `defaultValue`, never an error.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace platform
