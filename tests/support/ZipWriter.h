// Writes small zip archives of stored entries, for tests that need a package
// with exact names, contents and attributes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
  std::string name;  // UTF-8; flagged as such when not ASCII
  std::string data;
  std::uint32_t unixMode = 0100644;
};

std::string MakeStoredZip(const std::vector<ZipEntry>& entries);

}  // namespace testing_support
