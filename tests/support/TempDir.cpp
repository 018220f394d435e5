#include "TempDir.h"

#include <fstream>
#include <random>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device random;
  for (;;) {
    path_ = fs::temp_directory_path() / ("tw-test-" + std::to_string(random()));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const {
  const std::u8string utf8 = (path_ / fs::path(std::u8string(name.begin(), name.end()))).u8string();
  return std::string(utf8.begin(), utf8.end());
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = File(name);
  std::ofstream out(fs::path(std::u8string(path.begin(), path.end())), std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return path;
}

}  // namespace testing_support
