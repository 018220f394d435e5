#include "Query.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace db {
namespace {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A name beside the target (same folder, so the rename stays on one volume) that
// no other save uses: a number drawn once per process, then a counter.
fs::path TemporaryBeside(const fs::path& target) {
  static const unsigned processSalt = std::random_device{}();
  static std::atomic<unsigned> counter{0};
  fs::path temp = target;
  temp += ".";
  temp += std::to_string(processSalt);
  temp += "-";
  temp += std::to_string(counter.fetch_add(1));
  temp += ".tmp";
  return temp;
}

}  // namespace

void Query::Open() {
  active_ = false;
  blob_.reset();
  if (BeforeOpen) BeforeOpen(*this);
  auto connection = Connect(connectionString_);
  blob_ = connection->FirstRowBlob(sql_, column_);
  active_ = true;
}

void Query::SaveBlobToFile(const std::string& path) const {
  const fs::path target = PathFromUtf8(path);
  const fs::path temp = TemporaryBeside(target);
  const Blob* bytes = active_ && blob_ ? &*blob_ : nullptr;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out && bytes != nullptr && !bytes->empty()) {
      out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    }
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw platform::Exception("Cannot write the file \"" + path + "\"");
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw platform::Exception("Cannot write the file \"" + path + "\": " + ec.message());
  }
}

}  // namespace db
