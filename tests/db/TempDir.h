// A scratch folder for one test, removed with everything in it at the end.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dbtest {

class TempDir {
 public:
  // `name` becomes part of the folder name (UTF-8).
  explicit TempDir(const std::string& name);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // A path inside the folder, UTF-8.
  std::string File(const std::string& name) const;
  // The names of the files in the folder.
  std::vector<std::string> List() const;

 private:
  std::filesystem::path path_;
};

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::vector<std::uint8_t> ReadFile(const std::string& utf8Path);
// `size` bytes that no simple pattern reproduces, the same for the same seed.
std::vector<std::uint8_t> PseudoRandomBytes(std::size_t size, std::uint32_t seed);

}  // namespace dbtest
