#include "TempDir.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace dbtest {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

static std::string ToUtf8(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

TempDir::TempDir(const std::string& name) {
  std::mt19937_64 random(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     PathFromUtf8("tw-db-" + name + "-" + std::to_string(random() % 1000000000));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return ToUtf8(path_ / PathFromUtf8(name)); }

std::vector<std::string> TempDir::List() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(ToUtf8(entry.path().filename()));
  return names;
}

std::vector<std::uint8_t> ReadFile(const std::string& utf8Path) {
  std::ifstream in(PathFromUtf8(utf8Path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + utf8Path);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> PseudoRandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

}  // namespace dbtest
