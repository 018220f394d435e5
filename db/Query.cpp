#include "Query.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/Files.h"

namespace db {
namespace {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A name beside the target (same folder, so the rename stays on one volume).
// Every save of the target uses the same one, so a save cut short (the program
// killed) leaves at most one stray file, which the next save overwrites.
fs::path TemporaryBeside(const fs::path& target) {
  fs::path temp = target;
  temp += platform::kPartialFileSuffix;
  return temp;
}

}  // namespace

void Query::Open() {
  active_ = false;
  row_ = {};
  if (BeforeOpen) BeforeOpen(*this);
  auto connection = Connect(connectionString_);
  row_ = connection->FirstRowBlob(sql_, column_);
  active_ = true;
}

void Query::SaveBlobToFile(const std::string& path) const {
  const fs::path target = PathFromUtf8(path);
  const fs::path temp = TemporaryBeside(target);
  const Blob* bytes = active_ && row_.value ? &*row_.value : nullptr;
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
