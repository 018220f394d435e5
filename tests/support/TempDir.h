// A folder of its own for one test, removed with everything in it at the end.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // UTF-8 path of a file inside the folder.
  std::string File(std::string_view name) const;
  // Writes `bytes` to the file `name` inside the folder; returns its UTF-8 path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
