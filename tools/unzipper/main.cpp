// unzipper: list, test or extract a zip archive with TUnZipper.
//   unzipper list ARCHIVE
//   unzipper test ARCHIVE [-P PASSWORD]
//   unzipper extract ARCHIVE -d DIR [-P PASSWORD] [-o] [-j] [PATTERN...]
// A blocked archive is given by its last file (the one with the end record);
// its other volumes, ARCHIVE's name with .001, .002 ..., are found beside it.
// Exit status: 0 success, 1 some entry failed, 2 the archive (or one of its
// volumes) cannot be read.
#include <cstdio>
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "UnZipper.h"
#include "platform/Files.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitEntryFailed = 1;
constexpr int kExitBadArchive = 2;
// Archives above this size show progress on a terminal.
constexpr std::uint32_t kProgressThreshold = 16u << 20;

struct Options {
  std::string command;
  std::string archive;
  std::string destDir = ".";
  std::string password;
  bool havePassword = false;
  bool overwrite = false;
  bool junkPaths = false;
  std::vector<std::string> patterns;
};

int Usage() {
  std::fprintf(stderr,
               "usage: unzipper list ARCHIVE\n"
               "       unzipper test ARCHIVE [-P PASSWORD]\n"
               "       unzipper extract ARCHIVE -d DIR [-P PASSWORD] [-o] [-j] [PATTERN...]\n");
  return kExitBadArchive;
}

bool Parse(int argc, char** argv, Options& o) {
  if (argc < 3) return false;
  o.command = argv[1];
  o.archive = argv[2];
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-d" && i + 1 < argc) {
      o.destDir = argv[++i];
    } else if (a == "-P" && i + 1 < argc) {
      o.password = argv[++i];
      o.havePassword = true;
    } else if (a == "-o") {
      o.overwrite = true;
    } else if (a == "-j") {
      o.junkPaths = true;
    } else if (o.command == "extract" && (a.empty() || a[0] != '-')) {
      o.patterns.push_back(a);
    } else {
      return false;
    }
  }
  return o.command == "list" || o.command == "test" || o.command == "extract";
}

// Stored paths use "\"; a user's pattern may use "/".
std::string ToStoredSeparators(std::string s) {
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

std::string ToSlashes(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

std::string DosDateTimeText(std::uint32_t dos) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", ((dos >> 25) & 0x7F) + 1980, (dos >> 21) & 0x0F,
                (dos >> 16) & 0x1F, (dos >> 11) & 0x1F, (dos >> 5) & 0x3F, (dos & 0x1F) * 2);
  return text;
}

class Runner {
 public:
  explicit Runner(const Options& o) : o_(o) {}

  int Run() {
    z_.SetDoProcessMessages(false);
    // A damaged archive without its end record is rebuilt from its local headers.
    z_.SetIncompleteZipMode(unzip::TIncompleteZipMode::izAssumeBad);
    try {
      z_.SetZipName(o_.archive);
      z_.ReadZip();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "unzipper: %s: cannot read archive: %s\n", o_.archive.c_str(), e.what());
      return kExitBadArchive;
    }
    if (o_.command == "list") return List();
    return Extract();
  }

 private:
  int List() {
    for (int i = 0; i < z_.EntryCount(); ++i) {
      const unzip::TZipHeaderInfo& e = z_.Entry(i);
      std::printf("%s\t%llu\t%llu\t%u\t%08x\t%s\n", ToSlashes(e.StoredPath()).c_str(),
                  static_cast<unsigned long long>(e.UncompressedSize), static_cast<unsigned long long>(e.CompressedSize),
                  e.Method, e.CRC32, DosDateTimeText(e.DosDateTime).c_str());
    }
    return kExitOk;
  }

  void Fail(int index, const std::string& why) {
    failed_ = true;
    std::fprintf(stderr, "unzipper: %s: %s: %s\n", o_.archive.c_str(), EntryName(index).c_str(), why.c_str());
  }

  std::string EntryName(int index) { return ToSlashes(z_.Entry(index).StoredPath()); }

  void Hook() {
    z_.OnBadCRC = [this](unzip::TUnZipper&, std::uint32_t calc, std::uint32_t stored, int index) {
      const std::uint16_t method = z_.Entry(index).Method;
      if (!unzip::TUnZipper::MethodSupported(method)) {
        // The method is named once; later entries just fail.
        if (unsupportedMethods_.insert(method).second) {
          Fail(index, "unsupported compression method " + std::to_string(method));
        } else {
          failed_ = true;
        }
        return;
      }
      char text[96];
      std::snprintf(text, sizeof text, "bad CRC %08x (should be %08x)", calc, stored);
      Fail(index, text);
    };
    z_.OnSkippingFile = [this](unzip::TUnZipper&, unzip::TSkipReason reason, const std::string& name, int index,
                               bool&) {
      switch (reason) {
        case unzip::TSkipReason::BadPassword: Fail(index, "incorrect password"); break;
        case unzip::TSkipReason::NoOverwrite:
          std::fprintf(stderr, "unzipper: %s: %s: exists, not overwritten (use -o)\n", o_.archive.c_str(),
                       name.c_str());
          break;
        case unzip::TSkipReason::Unsupported: Fail(index, z_.LastError()); break;
        case unzip::TSkipReason::CantCreate:
          Fail(index, z_.LastError().empty() ? "cannot create " + name : z_.LastError());
          break;
      }
    };
    z_.OnPromptForOverwrite = [this](unzip::TUnZipper&, bool& overwrite, int, std::string&) {
      overwrite = o_.overwrite;
    };
    z_.OnStartUnZip = [this](unzip::TUnZipper&, int index, std::string&, bool&) { current_ = index; };
    std::int64_t archiveSize = 0;
    for (int i = 0; i < z_.EntryCount(); ++i) archiveSize += static_cast<std::int64_t>(z_.Entry(i).CompressedSize);
    if (archiveSize > kProgressThreshold && platform::StderrIsTerminal()) {
      z_.OnTotalPercentDone = [this](unzip::TUnZipper&, int percent) {
        if (percent != lastPercent_) std::fprintf(stderr, "\r%3d%%", percent);
        lastPercent_ = percent;
      };
    }
  }

  int Extract() {
    Hook();
    if (o_.havePassword) z_.SetPassword(o_.password);
    z_.SetTestOnly(o_.command == "test");
    z_.SetOverwriteMode(o_.overwrite ? unzip::TUZOverwriteMode::Always : unzip::TUZOverwriteMode::Never);
    z_.SetRecreateDirs(!o_.junkPaths && o_.command == "extract");
    z_.SetDestDir(o_.destDir);
    z_.SetReplaceReadOnly(o_.overwrite);
    if (o_.patterns.empty()) {
      z_.SetDoAll(true);
    } else {
      for (const std::string& p : o_.patterns) z_.FilesList().push_back(ToStoredSeparators(p));
    }
    try {
      z_.UnZip();
    } catch (const unzip::EUserCanceled& e) {
      // A volume that cannot be found: the rest of the archive cannot be read.
      if (lastPercent_ >= 0) std::fputc('\n', stderr);
      std::fprintf(stderr, "unzipper: %s: %s\n", o_.archive.c_str(), e.what());
      return kExitBadArchive;
    } catch (const std::exception& e) {
      if (lastPercent_ >= 0) std::fputc('\n', stderr);
      if (current_ >= 0) {
        Fail(current_, e.what());
      } else {
        std::fprintf(stderr, "unzipper: %s: %s\n", o_.archive.c_str(), e.what());
      }
      return kExitEntryFailed;
    }
    if (lastPercent_ >= 0) std::fputc('\n', stderr);
    return failed_ ? kExitEntryFailed : kExitOk;
  }

  const Options& o_;
  unzip::TUnZipper z_;
  bool failed_ = false;
  // Compression methods already reported as unsupported.
  std::set<std::uint16_t> unsupportedMethods_;
  int lastPercent_ = -1;
  int current_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) return Usage();
  return Runner(options).Run();
}
