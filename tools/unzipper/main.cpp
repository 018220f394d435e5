// unzipper: list, test or extract zip archives with TUnZipper. `unzipper
// --help` describes the commands; the README's tool section says the same.
#include <getopt.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/Console.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "unzip/UnZipper.h"
#include "unzip/ZipMethods.h"

namespace {

constexpr char kVersion[] = "unzipper 2.0";

constexpr int kExitOk = 0;
constexpr int kExitEntryFailed = 1;
constexpr int kExitBadArchive = 2;
constexpr int kExitUsage = 3;

// Progress shows once a run has lasted this long, and is redrawn this often.
constexpr auto kProgressDelay = std::chrono::milliseconds(1000);
constexpr auto kProgressInterval = std::chrono::milliseconds(250);
// Tries of a typed password per entry before it is given up.
constexpr int kPasswordTries = 3;
// The pattern that selects every entry.
constexpr char kEveryEntry[] = "*";
// How the engine's reason for an entry of an unknown method begins.
constexpr char kUnsupportedMethod[] = "unsupported compression method";
// A run of standard output is copied in pieces of this size.
constexpr std::size_t kCopyChunk = 1 << 16;

constexpr char kUsage[] =
    "usage: unzipper list [--tsv] [-O CODEPAGE] ARCHIVE\n"
    "       unzipper test [-q] [-P PASSWORD] [-T THREADS] [-x PATTERN]... [-O CODEPAGE] ARCHIVE [PATTERN...]\n"
    "       unzipper extract [-d DIR] [-o | -n] [-j] [-p] [-q] [-P PASSWORD] [-T THREADS] [-x PATTERN]...\n"
    "                        [-O CODEPAGE] ARCHIVE [PATTERN...]\n"
    "       unzipper --help | --version\n";

constexpr char kCommands[] =
    "\n"
    "Commands (l, t and x are short for them):\n"
    "  list      entries with size, compressed size, ratio, method, date and name, and a totals line\n"
    "  test      decode every entry and check its CRC (and AES authentication code); writes nothing\n"
    "  extract   write the entries below DIR (default: the current folder)\n"
    "\n"
    "Options (short ones may be bundled, as -qo; options may stand before or after the\n"
    "archive; -- ends them):\n";

constexpr char kMore[] =
    "\n"
    "PATTERN selects entries by their stored path, in any letter case: * any run of\n"
    "characters (also across folders), ? one character, <a-f0-9> a set, <!...> its complement.\n"
    "Methods read: stored, shrink, reduce, implode, deflate, deflate64, bzip2, lzma, xz, zstd, ppmd;\n"
    "traditional and WinZip AES encryption; blocked archives given by their last file.\n"
    "\n"
    "Exit status: 0 all well, 1 an entry failed, 2 the archive cannot be read, 3 bad usage.\n";

// Option identities beyond the short letters, for options without one.
enum : int { kOptTsv = 256, kOptVersion };

struct OptionInfo {
  int id;  // the short letter, or one of the identities above
  const char* name;
  const char* value;     // the value's name, or null for a switch
  const char* commands;  // initials of the commands that take it; null: every command
  const char* help;
};

constexpr OptionInfo kOptions[] = {
    {'d', "dest", "DIR", "e", "extract into DIR (created when missing)"},
    {'o', "overwrite", nullptr, "e", "overwrite existing files (read-only ones too)"},
    {'n', "never-overwrite", nullptr, "e", "never overwrite existing files, and say nothing about them"},
    {'j', "junk-paths", nullptr, "e", "junk the stored folders: every file lands directly in DIR"},
    {'p', "pipe", nullptr, "e", "write the entries' bytes to standard output instead of files"},
    {'q', "quiet", nullptr, "te", "quiet: no progress and no notices, only errors"},
    {'x', "exclude", "PATTERN", "te", "leave out entries matching PATTERN (may be repeated)"},
    {'T', "threads", "THREADS", "te", "decode on THREADS threads (default: one per processor; 1: one entry at a time)"},
    {'P', "password", "PASSWORD", "te",
     "password of encrypted entries; without it you are asked on the terminal\n"
     "(other users can see a -P password in the process list)"},
    {'O', "names-codepage", "CODEPAGE", nullptr,
     "code page of names stored without the UTF-8 flag: 936 (GBK, the\n"
     "system's) unless given; 932 Japanese, 866 Russian DOS, 437 US DOS ..."},
    {kOptTsv, "tsv", nullptr, "l",
     "list as tab-separated fields: name, size, compressed size, method number,\n"
     "CRC-32, date-time"},
    {'h', "help", nullptr, nullptr, "show this help"},
    {kOptVersion, "version", nullptr, nullptr, "show the version"},
};

const OptionInfo& FindOption(int id) {
  for (const OptionInfo& o : kOptions)
    if (o.id == id) return o;
  return kOptions[0];  // not reached: getopt_long returns only the table's identities
}

// "-d (--dest)", or "--tsv" for an option without a short letter.
std::string OptionName(const OptionInfo& o) {
  const std::string name = std::string("--") + o.name;
  return o.id < 256 ? std::string("-") + static_cast<char>(o.id) + " (" + name + ")" : name;
}

void PrintHelp() {
  std::printf("%s%s", kUsage, kCommands);
  for (const OptionInfo& o : kOptions) {
    std::string head = o.id < 256 ? std::string("  -") + static_cast<char>(o.id) + ", --" : "      --";
    head += o.name;
    if (o.value) head += std::string(" ") + o.value;
    std::string help = o.help;
    for (std::size_t at = 0; (at = help.find('\n', at)) != std::string::npos; at += 34) help.insert(at + 1, 33, ' ');
    std::printf("%-32s %s\n", head.c_str(), help.c_str());
  }
  std::printf("%s", kMore);
}

struct Options {
  std::string command;
  std::string archive;
  std::string destDir = ".";
  std::string password;
  bool havePassword = false;
  bool overwrite = false;
  bool never = false;
  bool junkPaths = false;
  bool toStdout = false;
  bool quiet = false;
  bool tsv = false;
  bool help = false;
  bool version = false;
  int threads = 0;  // one per processor
  unsigned namesCodePage = platform::kCodePageGbk;
  std::vector<std::string> patterns;
  std::vector<std::string> exclusions;
};

int Usage(const std::string& why) {
  std::fprintf(stderr, "unzipper: %s\n%sTry 'unzipper --help'.\n", why.c_str(), kUsage);
  return kExitUsage;
}

// A whole number from 1 to `most`, or 0.
unsigned Number(const std::string& text, unsigned most) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const unsigned n = static_cast<unsigned>(std::stoul(text));
  return n <= most ? n : 0;
}

bool TakeValue(int id, const std::string& value, Options& o, std::string& error) {
  switch (id) {
    case 'd': o.destDir = value; break;
    case 'o': o.overwrite = true; break;
    case 'n': o.never = true; break;
    case 'j': o.junkPaths = true; break;
    case 'p': o.toStdout = true; break;
    case 'q': o.quiet = true; break;
    case 'x': o.exclusions.push_back(value); break;
    case 'P':
      o.password = value;
      o.havePassword = true;
      break;
    case 'T':
      o.threads = static_cast<int>(Number(value, 999));
      if (o.threads == 0) error = "-T (--threads) takes a number of threads from 1 to 999";
      break;
    case 'O': {
      // "932" or "cp932".
      const bool prefixed = value.size() > 2 && platform::EqualsNoCase(value.substr(0, 2), "cp");
      o.namesCodePage = Number(prefixed ? value.substr(2) : value, 65535);
      if (o.namesCodePage == 0 || !platform::CodePageKnown(o.namesCodePage))
        error = "code page '" + value + "' is unknown (give its number, as 932 or 866)";
      break;
    }
    case kOptTsv: o.tsv = true; break;
    case 'h': o.help = true; break;
    case kOptVersion: o.version = true; break;
  }
  return error.empty();
}

// What getopt_long refused: an unknown short letter, a long name that is
// unknown or the start of several, or a value given to a switch.
std::string UnknownOption(int letter, const std::string& arg) {
  for (const OptionInfo& o : kOptions)
    if (letter != 0 && o.id == letter) return "option " + OptionName(o) + " takes no value";
  if (letter > 0 && letter < 256) return std::string("option '-") + static_cast<char>(letter) + "' is unknown";
  const std::string name = arg.substr(2, arg.find('=') - 2);
  int starts = 0;
  for (const OptionInfo& o : kOptions) starts += std::strncmp(o.name, name.c_str(), name.size()) == 0;
  return "option '--" + name + (starts > 1 ? "' is ambiguous" : "' is unknown");
}

// GNU-style: short options bundled or not, long names, options before or after
// the arguments, "--" ending them. The command comes first among the arguments.
bool Parse(int argc, char** argv, Options& o, std::string& error) {
  std::string shorts = ":";  // ':' reports a missing value apart from an unknown option
  std::vector<option> longs;
  for (const OptionInfo& info : kOptions) {
    if (info.id < 256) shorts += std::string(1, static_cast<char>(info.id)) + (info.value ? ":" : "");
    longs.push_back({info.name, info.value ? required_argument : no_argument, nullptr, info.id});
  }
  longs.push_back({nullptr, 0, nullptr, 0});
  opterr = 0;
  std::vector<int> given;
  for (int id; (id = getopt_long(argc, argv, shorts.c_str(), longs.data(), nullptr)) != -1;) {
    const std::string arg = argv[optind - 1];
    if (id == '?') {
      error = UnknownOption(optopt, arg);
      return false;
    }
    if (id == ':') {
      error = "option " + OptionName(FindOption(optopt)) + " needs a value";
      return false;
    }
    if (!TakeValue(id, optarg ? optarg : "", o, error)) return false;
    given.push_back(id);
  }
  if (o.help || o.version) return true;
  std::vector<std::string> args(argv + optind, argv + argc);
  if (args.empty()) {
    error = "no command";
    return false;
  }
  static const std::pair<const char*, const char*> kCommandNames[] = {{"l", "list"}, {"t", "test"}, {"x", "extract"}};
  o.command = args[0];
  for (const auto& [alias, name] : kCommandNames)
    if (o.command == alias) o.command = name;
  if (o.command != "list" && o.command != "test" && o.command != "extract") {
    error = "unknown command '" + o.command + "'";
    return false;
  }
  for (int id : given) {
    const OptionInfo& info = FindOption(id);
    if (info.commands && !std::strchr(info.commands, o.command[0])) {
      error = "option " + OptionName(info) + " does not apply to " + o.command;
      return false;
    }
  }
  if (args.size() < 2) {
    error = "no archive given";
    return false;
  }
  o.archive = args[1];
  o.patterns.assign(args.begin() + 2, args.end());
  if (o.command == "list" && !o.patterns.empty()) {
    error = "list takes no patterns";
    return false;
  }
  if (o.overwrite && o.never) {
    error = "-o and -n contradict each other";
    return false;
  }
  return true;
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

std::string DosDateTimeText(std::uint32_t dos, bool seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", ((dos >> 25) & 0x7F) + 1980, (dos >> 21) & 0x0F,
                (dos >> 16) & 0x1F, (dos >> 11) & 0x1F, (dos >> 5) & 0x3F);
  std::string s = text;
  if (seconds) {
    std::snprintf(text, sizeof text, ":%02u", (dos & 0x1F) * 2);
    s += text;
  }
  return s;
}

// Share of the size saved by compression, as unzip shows it.
std::string Ratio(std::uint64_t size, std::uint64_t compressed) {
  if (size == 0 || compressed >= size) return "0%";
  return std::to_string((size - compressed) * 100 / size) + "%";
}

std::string Bytes(double n) {
  const char* units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
  int u = 0;
  while (n >= 1024 && u < 4) {
    n /= 1024;
    ++u;
  }
  char text[32];
  std::snprintf(text, sizeof text, u == 0 ? "%.0f %s" : "%.1f %s", n, units[u]);
  return text;
}

class Runner {
 public:
  explicit Runner(const Options& o) : o_(o) {}

  int Run() {
    z_.SetDoProcessMessages(false);
    // A damaged archive without its end record is rebuilt from its local headers.
    z_.SetIncompleteZipMode(unzip::TIncompleteZipMode::izAssumeBad);
    z_.SetNamesCodePage(o_.namesCodePage);
    AnswerWithoutWindows();
    // The component asks for a name ending in "?" in a file chooser.
    if (!o_.archive.empty() && o_.archive.back() == '?') {
      std::fprintf(stderr, "unzipper: %s: cannot read archive: a name ending in '?' is not taken\n", o_.archive.c_str());
      return kExitBadArchive;
    }
    try {
      z_.SetZipName(o_.archive);
      z_.ReadZip();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "unzipper: %s: cannot read archive: %s\n", o_.archive.c_str(), Why(e).c_str());
      return kExitBadArchive;
    }
    if (o_.command == "list") return o_.tsv ? ListTsv() : List();
    return Extract();
  }

 private:
  int ListTsv() {
    for (int i = 0; i < z_.EntryCount(); ++i) {
      const unzip::TZipHeaderInfo& e = z_.Entry(i);
      std::printf("%s\t%llu\t%llu\t%u\t%08x\t%s\n", ToSlashes(e.StoredPath()).c_str(),
                  static_cast<unsigned long long>(e.UncompressedSize),
                  static_cast<unsigned long long>(e.CompressedSize), e.Method, e.CRC32,
                  DosDateTimeText(e.DosDateTime, true).c_str());
    }
    return kExitOk;
  }

  int List() {
    std::uint64_t size = 0, compressed = 0;
    int files = 0;
    std::printf("%12s %12s %5s  %-9s  %-16s  %s\n", "Size", "Compressed", "Ratio", "Method", "Date", "Name");
    std::printf("%12s %12s %5s  %-9s  %-16s  %s\n", "------------", "------------", "-----", "---------",
                "----------------", "----");
    for (int i = 0; i < z_.EntryCount(); ++i) {
      const unzip::TZipHeaderInfo& e = z_.Entry(i);
      // An encrypted entry is marked with a star after its method.
      const std::string method = unzip::MethodName(e.Method) + ((e.Flags & unzip::kFlagEncrypted) ? "*" : "");
      std::printf("%12llu %12llu %5s  %-9s  %-16s  %s\n", static_cast<unsigned long long>(e.UncompressedSize),
                  static_cast<unsigned long long>(e.CompressedSize), Ratio(e.UncompressedSize, e.CompressedSize).c_str(),
                  method.c_str(), DosDateTimeText(e.DosDateTime, false).c_str(), ToSlashes(e.StoredPath()).c_str());
      size += e.UncompressedSize;
      compressed += e.CompressedSize;
      if (!e.FileName.empty()) ++files;
    }
    std::printf("%12s %12s %5s  %-9s  %-16s  %s\n", "------------", "------------", "-----", "", "", "----");
    std::printf("%12llu %12llu %5s  %-9s  %-16s  %d file%s\n", static_cast<unsigned long long>(size),
                static_cast<unsigned long long>(compressed), Ratio(size, compressed).c_str(), "", "", files,
                files == 1 ? "" : "s");
    return kExitOk;
  }

  void Fail(int index, const std::string& why) {
    failed_ = true;
    EndProgressLine();
    std::fprintf(stderr, "unzipper: %s: %s: %s\n", o_.archive.c_str(), EntryName(index).c_str(), why.c_str());
  }

  void Notice(const std::string& text) {
    if (o_.quiet) return;
    EndProgressLine();
    std::fprintf(stderr, "unzipper: %s: %s\n", o_.archive.c_str(), text.c_str());
  }

  std::string EntryName(int index) { return ToSlashes(z_.Entry(index).StoredPath()); }

  // A command-line tool opens no window: each event whose default is a box is
  // answered here, and what it would show is said on standard error.
  void AnswerWithoutWindows() {
    // Each entry of the method fails, naming it (OnBadCRC).
    z_.OnUnknownMethod = nullptr;
    // Without -o or -n, an existing file is kept, with a notice (OnSkippingFile).
    z_.OnPromptForOverwrite = [](unzip::TUnZipper&, bool& overwrite, int, std::string&) { overwrite = false; };
    z_.OnGetNextDisk = [this](unzip::TUnZipper& z, int nextDisk, std::string& name) {
      if (z.NameBlockedVolume(nextDisk, name)) return;
      // A spanned archive's next disk: there is nobody to ask to insert it.
      missingDisk_ = nextDisk;
      name.clear();
    };
  }

  // The error's message, unless the error is the cancel of a disk nobody was asked for.
  std::string Why(const std::exception& e) const {
    if (missingDisk_ == 0) return e.what();
    return "disk " + std::to_string(missingDisk_) +
           " of the multi-disk set is needed, and unzipper cannot ask for a disk: copy every disk's file into "
           "one folder, named as the last one is with .001, .002 ...";
  }

  void Hook() {
    z_.OnBadCRC = [this](unzip::TUnZipper&, std::uint32_t calc, std::uint32_t stored, int index) {
      const std::string& why = z_.EntryError();
      // An unsupported method is named once; later entries of it just fail.
      if (why.rfind(kUnsupportedMethod, 0) == 0 && !unsupportedMethods_.insert(why).second) {
        failed_ = true;
        return;
      }
      if (!why.empty()) {
        Fail(index, why);
        return;
      }
      char text[96];
      std::snprintf(text, sizeof text, "bad CRC %08x (should be %08x)", calc, stored);
      Fail(index, text);
    };
    z_.OnSkippingFile = [this](unzip::TUnZipper&, unzip::TSkipReason reason, const std::string& name, int index,
                               bool&) {
      switch (reason) {
        case unzip::TSkipReason::BadPassword:
          Fail(index, o_.havePassword || prompted_ ? "incorrect password"
                                                   : "encrypted: give the password with -P or run on a terminal");
          break;
        case unzip::TSkipReason::NoOverwrite:
          if (!o_.never) Notice(ToSlashes(name) + ": exists, not overwritten (use -o to overwrite, -n to skip quietly)");
          break;
        case unzip::TSkipReason::Unsupported: Fail(index, z_.LastError()); break;
        case unzip::TSkipReason::CantCreate:
          Fail(index, z_.LastError().empty() ? "cannot create " + name : z_.LastError());
          break;
      }
    };
    z_.OnBadPassword = [this](unzip::TUnZipper&, int index, std::string& next) {
      // Only a password typed on the terminal is asked again; -P is final.
      if (o_.havePassword) return;
      if (index != askingIndex_) {
        askingIndex_ = index;
        tries_ = 0;
      }
      if (++tries_ > kPasswordTries) return;
      EndProgressLine();
      const auto typed = platform::ReadSecret(o_.archive + ": " + EntryName(index) + " password: ");
      if (!typed) return;
      prompted_ = true;
      next = *typed;
    };
    z_.OnStartUnZip = [this](unzip::TUnZipper&, int index, std::string&, bool&) {
      current_ = index;
      entryStart_ = doneBytes_;
    };
    z_.OnStartUnZipInfo = [this](unzip::TUnZipper&, int numFiles, std::int64_t totalBytes, bool&) {
      totalFiles_ = numFiles;
      totalBytes_ = totalBytes;
      started_ = std::chrono::steady_clock::now();
    };
    z_.OnEndUnZip = [this](unzip::TUnZipper&, int index, const std::string& written) {
      ++doneFiles_;
      doneBytes_ = entryStart_ + z_.Entry(index).UncompressedSize;
      if (o_.toStdout) CopyToStdout(written);
      ShowProgress();
    };
    if (!o_.quiet && platform::StderrIsTerminal()) {
      z_.OnFilePercentDone = [this](unzip::TUnZipper&, int percent) {
        if (current_ >= 0)
          doneBytes_ = entryStart_ + static_cast<std::int64_t>(z_.Entry(current_).UncompressedSize) * percent / 100;
        ShowProgress();
      };
    }
  }

  // Entries, bytes, rate and time left, on one line redrawn in place.
  void ShowProgress() {
    if (o_.quiet || !platform::StderrIsTerminal()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - started_ < kProgressDelay || now - lastShown_ < kProgressInterval) return;
    lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    const double rate = doneBytes_ / seconds;
    const double left = rate > 0 ? static_cast<double>(totalBytes_ - doneBytes_) / rate : 0;
    EndProgressLine();
    progressWidth_ = std::fprintf(stderr, "%d/%d entries, %s of %s, %s/s, %.0f s left", doneFiles_, totalFiles_,
                                  Bytes(static_cast<double>(doneBytes_)).c_str(),
                                  Bytes(static_cast<double>(totalBytes_)).c_str(), Bytes(rate).c_str(), left);
  }

  // Progress is transient: its line is blanked before anything else is said
  // and when the run ends.
  void EndProgressLine() {
    if (progressWidth_ <= 0) return;
    std::fprintf(stderr, "\r%*s\r", progressWidth_, "");
    progressWidth_ = 0;
  }

  void CopyToStdout(const std::string& path) {
    try {
      platform::FileStream in(path, platform::kFmOpenRead);
      std::vector<char> buffer(kCopyChunk);
      std::int64_t n;
      while ((n = in.Read(buffer.data(), static_cast<std::int64_t>(buffer.size()))) > 0)
        std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), stdout);
    } catch (const platform::Exception& e) {
      Fail(current_, e.what());
    }
    platform::DeleteFile(path);
  }

  // -p extracts each entry into a private folder and copies it out once its
  // check passed, so damaged data never reaches the output. Paths are UTF-8,
  // as the engine's are.
  static std::filesystem::path PrivateFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      const auto folder = base / ("unzipper-" + std::to_string(random()));
      if (std::filesystem::create_directory(folder)) return folder;
    }
  }

  static std::string Utf8(const std::filesystem::path& p) {
    const std::u8string text = p.u8string();
    return std::string(text.begin(), text.end());
  }

  int Extract() {
    Hook();
    if (o_.havePassword) z_.SetPassword(o_.password);
    z_.SetTestOnly(o_.command == "test");
    z_.SetThreads(o_.threads);
    std::filesystem::path scratch;
    if (o_.toStdout) {
      platform::StdoutToBinary();
      scratch = PrivateFolder();
      z_.SetDestDir(Utf8(scratch));
      z_.SetOverwriteMode(unzip::TUZOverwriteMode::Always);
      z_.SetRecreateDirs(false);
    } else {
      z_.SetOverwriteMode(o_.overwrite ? unzip::TUZOverwriteMode::Always
                          : o_.never   ? unzip::TUZOverwriteMode::Never
                                       : unzip::TUZOverwriteMode::Prompt);
      z_.SetRecreateDirs(!o_.junkPaths && o_.command == "extract");
      // "?" alone would open a folder chooser: it names a folder "?" here.
      z_.SetDestDir(o_.destDir == "?" ? std::string(".") + platform::PathSeparator() + "?" : o_.destDir);
      z_.SetReplaceReadOnly(o_.overwrite);
    }
    // Every entry unless patterns choose; exclusions leave out folders too.
    if (o_.patterns.empty()) z_.FilesList().push_back(kEveryEntry);
    for (const std::string& p : o_.patterns) z_.FilesList().push_back(ToStoredSeparators(p));
    for (const std::string& x : o_.exclusions) z_.ExcludeList().push_back(ToStoredSeparators(x));
    int status = kExitOk;
    try {
      z_.UnZip();
    } catch (const unzip::EUserCanceled& e) {
      // A volume that cannot be found: the rest of the archive cannot be read.
      EndProgressLine();
      std::fprintf(stderr, "unzipper: %s: %s\n", o_.archive.c_str(), Why(e).c_str());
      status = kExitBadArchive;
    } catch (const std::exception& e) {
      if (current_ >= 0) {
        Fail(current_, e.what());
      } else {
        EndProgressLine();
        std::fprintf(stderr, "unzipper: %s: %s\n", o_.archive.c_str(), e.what());
      }
      status = kExitEntryFailed;
    }
    EndProgressLine();
    if (!scratch.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(scratch, ignored);
    }
    if (status == kExitOk && failed_) status = kExitEntryFailed;
    return status;
  }

  const Options& o_;
  unzip::TUnZipper z_;
  bool failed_ = false;
  int current_ = -1;
  // The disk of a spanned archive that was asked for and not at hand.
  int missingDisk_ = 0;
  std::set<std::string> unsupportedMethods_;
  // The entry whose password is being asked for, and how often it was.
  int askingIndex_ = -1;
  int tries_ = 0;
  bool prompted_ = false;
  // Progress.
  int totalFiles_ = 0;
  int doneFiles_ = 0;
  std::int64_t totalBytes_ = 0;
  std::int64_t doneBytes_ = 0;
  std::int64_t entryStart_ = 0;
  std::chrono::steady_clock::time_point started_{};
  std::chrono::steady_clock::time_point lastShown_{};
  int progressWidth_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!Parse(argc, argv, options, error)) return Usage(error);
  if (options.help) {
    PrintHelp();
    return kExitOk;
  }
  if (options.version) {
    std::printf("%s\n", kVersion);
    return kExitOk;
  }
  return Runner(options).Run();
}
