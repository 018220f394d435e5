#include "TempDir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

namespace {
std::string ToUtf8(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}
}  // namespace

fs::path PathFromUtf8(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

TempDir::TempDir(std::string_view name) {
  std::random_device random;
  const std::string prefix = name.empty() ? "tw-test-" : "tw-test-" + std::string(name) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = fs::temp_directory_path() / PathFromUtf8(prefix + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const { return ToUtf8(path_ / PathFromUtf8(name)); }

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = File(name);
  std::ofstream out(PathFromUtf8(path), std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return path;
}

std::vector<std::string> TempDir::List() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.push_back(ToUtf8(entry.path().filename()));
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

}  // namespace testing_support
