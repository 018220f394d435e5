#include "Query.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace db {
namespace {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A name beside the target that no other save of this process uses, so that two
// saves never share a temporary file.
fs::path TemporaryBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  fs::path temp = target;
  temp += ".tmp" + std::to_string(counter.fetch_add(1));
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
