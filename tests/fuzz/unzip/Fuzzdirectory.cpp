// Reads arbitrary bytes as an archive: the directory, its comments, and every
// entry decoded in test mode (no files written). The same bytes also stand as
// the archive's first two volumes, for inputs that claim to be multi-volume.
// Last, the archive is extracted on two threads into a scratch folder, which
// must hold no temporary file afterwards.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "unzip/UnZipper.h"

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
  static const std::string out = stem + "-out";
  std::set<std::string> names;  // an entry may itself be called "x.tw~"
  {
    unzip::TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetIncompleteZipMode(unzip::TIncompleteZipMode::izAssumeBad);
    z.SetThreads(2);
    z.SetDestDir(out);
    z.SetRecreateDirs(true);
    z.SetOverwriteMode(unzip::TUZOverwriteMode::Always);
    z.SetDoAll(true);
    try {
      z.SetZipName(path);
      z.UnZip();
    } catch (const platform::Exception&) {
    }
    for (int i = 0; i < z.EntryCount(); ++i) names.insert(z.Filename(i));
  }
  std::error_code ignored;
  for (auto it = std::filesystem::recursive_directory_iterator(out, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
    if (it->path().extension() == ".tw~" && !names.count(it->path().filename().string())) __builtin_trap();
  std::filesystem::remove_all(out, ignored);
  return 0;
}
