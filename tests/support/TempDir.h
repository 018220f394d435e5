// A folder of its own for one test, removed with everything in it at the end,
// and the small file helpers tests share.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class TempDir {
 public:
  // `name`, when given, becomes part of the folder's name (UTF-8).
  explicit TempDir(std::string_view name = "");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // UTF-8 path of a file inside the folder.
  std::string File(std::string_view name) const;
  // Writes `bytes` to the file `name` inside the folder; returns its UTF-8 path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // The names of the files in the folder.
  std::vector<std::string> List() const;

 private:
  std::filesystem::path path_;
};

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::vector<std::uint8_t> ReadFile(const std::string& utf8Path);
// `size` bytes that no simple pattern reproduces, the same for the same seed.
std::vector<std::uint8_t> PseudoRandomBytes(std::size_t size, std::uint32_t seed);

}  // namespace testing_support
