// Reads arbitrary bytes as an archive: the directory, its comments, and every
// entry decoded in test mode (no files written). The same bytes also stand as
// the archive's first two volumes, for inputs that claim to be multi-volume.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "UnZipper.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string stem = "/tmp/tw-fuzz-zip-" + std::to_string(getpid());
  static const std::string path = stem + ".zip";
  for (const std::string& file : {path, stem + ".001", stem + ".002"}) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  for (auto mode : {unzip::TIncompleteZipMode::izAssumeBad, unzip::TIncompleteZipMode::izAssumeMulti}) {
    unzip::TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetIncompleteZipMode(mode);
    z.SetTestOnly(true);
    z.SetDoAll(true);
    z.SetPassword("pw");
    try {
      z.SetZipName(path);
      z.ReadZip();
      z.ArchiveComment();
      for (int i = 0; i < z.EntryCount(); ++i) z.EntryComment(i);
      z.SortEntries(unzip::TZipSortMode::ByRate);
      z.UnZip();
    } catch (const platform::Exception&) {
      // Documented errors are the expected outcome for most inputs.
    }
  }
  return 0;
}
