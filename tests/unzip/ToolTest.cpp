// The unzipper tool as a user runs it: every option, the listing, the exit
// statuses, the password prompt on a terminal.
#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "ZipWriter.h"

namespace unzip {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ziptest::HaveTool("zip")) GTEST_SKIP() << "zip is not installed";
    ziptest::WriteFile(src() / "a.txt", "alpha\n");
    ziptest::WriteFile(src() / "docs" / "b.txt", std::string(5000, 'b'));
    ziptest::WriteFile(src() / "docs" / "c.log", "log\n");
    EXPECT_EQ(Shell("cd " + Q(src()) + " && zip -q -r " + Q(archive()) + " a.txt docs"), 0);
  }
  fs::path src() const { return dir_.Path() / "src"; }
  fs::path archive() const { return dir_.Path() / "t.zip"; }
  fs::path out() const { return dir_.Path() / "out"; }
  Result Run(const std::string& args, const std::string& shellPrefix = "") {
    const fs::path o = dir_.Path() / "stdout", e = dir_.Path() / "stderr";
    const int status = std::system((shellPrefix + ziptest::Unzipper() + " " + args + " >" + Q(o) + " 2>" + Q(e)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ziptest::ReadFile(o), ziptest::ReadFile(e)};
  }
  TempDir dir_;
};

TEST_F(Tool, HelpVersionAndBadUsage) {
  const Result help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Exit status: 0 all well, 1 an entry failed, 2 the archive cannot be read, 3 bad usage"),
            std::string::npos);
  const Result version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("unzipper ", 0), 0u);
  // Every option has a long name, and the help shows it.
  for (const char* name : {"--dest", "--overwrite", "--never-overwrite", "--junk-paths", "--pipe", "--quiet",
                           "--exclude", "--password", "--threads", "--names-codepage", "--tsv", "--help"})
    EXPECT_NE(help.out.find(name), std::string::npos) << name;
  struct Bad {
    std::string args;
    std::string why;
  };
  const Bad bad[] = {
      {"", "no command"},
      {"bogus t.zip", "unknown command 'bogus'"},
      {"extract", "no archive given"},
      {"extract -d", "option -d (--dest) needs a value"},
      {"extract t.zip --dest", "option -d (--dest) needs a value"},
      {"list -o t.zip", "option -o (--overwrite) does not apply to list"},
      {"extract -o -n t.zip", "-o and -n contradict each other"},
      {"extract --overwrite --never-overwrite t.zip", "-o and -n contradict each other"},
      {"test -j t.zip", "option -j (--junk-paths) does not apply to test"},
      {"test -T 0 t.zip", "-T (--threads) takes a number of threads from 1 to 999"},
      {"extract --threads=many t.zip", "-T (--threads) takes a number of threads from 1 to 999"},
      {"list -T 2 t.zip", "option -T (--threads) does not apply to list"},
      {"extract -qz t.zip", "option '-z' is unknown"},
      {"extract --bogus t.zip", "option '--bogus' is unknown"},
      {"extract --n t.zip", "option '--n' is ambiguous"},
      {"extract --quiet=yes t.zip", "option -q (--quiet) takes no value"},
      {"list -O 0 t.zip", "code page '0' is unknown"},
      {"list --names-codepage=klingon t.zip", "code page 'klingon' is unknown"},
      {"list t.zip '*.txt'", "list takes no patterns"},
  };
  for (const Bad& b : bad) {
    const Result r = Run(b.args);
    EXPECT_EQ(r.status, 3) << b.args;
    EXPECT_EQ(r.err.rfind("unzipper: " + b.why, 0), 0u) << b.args << ": " << r.err;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << b.args;
  }
  EXPECT_EQ(Run("list " + Q(dir_.Path() / "missing.zip")).status, 2);
}

TEST_F(Tool, ListIsReadableWithTotalsAndTsvOnRequest) {
  const Result r = Run("list " + Q(archive()));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Size"), std::string::npos);
  EXPECT_NE(r.out.find("Ratio"), std::string::npos);
  // b.txt compresses well; the method is named, the date shown, the totals summed.
  EXPECT_NE(r.out.find("deflate"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("docs/b.txt"), std::string::npos);
  EXPECT_NE(r.out.find("5010"), std::string::npos) << r.out;  // 6 + 5000 + 4 bytes
  EXPECT_NE(r.out.find("3 files"), std::string::npos) << r.out;
  const Result tsv = Run("list --tsv " + Q(archive()));
  EXPECT_EQ(tsv.status, 0);
  EXPECT_NE(tsv.out.find("a.txt\t6\t"), std::string::npos) << tsv.out;
  EXPECT_EQ(tsv.out.find("Ratio"), std::string::npos);
}

TEST_F(Tool, ExtractOptions) {
  struct Case {
    std::string args;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"", {"a.txt", "docs/b.txt", "docs/c.log"}},
      {"'*.txt'", {"a.txt", "docs/b.txt"}},
      {"-x '*.log'", {"a.txt", "docs/b.txt"}},
      {"-x 'docs/*' -x a.txt", {}},
      {"-j 'docs/*'", {"b.txt", "c.log"}},
      {"-T 1", {"a.txt", "docs/b.txt", "docs/c.log"}},
      {"-T 3 -x a.txt", {"docs/b.txt", "docs/c.log"}},
  };
  for (const Case& c : cases) {
    fs::remove_all(out());
    const Result r = Run("extract " + Q(archive()) + " -d " + Q(out()) + " " + c.args);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    std::vector<std::string> got;
    for (const auto& [name, bytes] : ziptest::Tree(out())) got.push_back(name);
    EXPECT_EQ(got, c.files) << c.args;
  }
  // An excluded folder is not even created.
  fs::remove_all(out());
  EXPECT_EQ(Run("extract " + Q(archive()) + " -d " + Q(out()) + " -x 'docs/*'").status, 0);
  EXPECT_TRUE(fs::exists(out() / "a.txt"));
  EXPECT_FALSE(fs::exists(out() / "docs"));
  // Standard output gets the entries' bytes in archive order, and no file is written.
  const Result p = Run("extract -p " + Q(archive()) + " a.txt 'docs/c*'");
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.out, "alpha\nlog\n");
  // Decoded on several threads, they still come in archive order.
  const Result all = Run("extract -p -T 4 " + Q(archive()));
  EXPECT_EQ(all.status, 0);
  EXPECT_TRUE(all.out == "alpha\n" + std::string(5000, 'b') + "log\n");
  EXPECT_EQ(Run("test -q " + Q(archive())).status, 0);
}

TEST_F(Tool, CommandLineAsPeopleTypeIt) {
  // One extraction spelled the ways people type it: bundled short options,
  // long names (with the value apart or after "="), short command names,
  // options before or after the archive and before the command.
  const std::string a = Q(archive()), o = Q(out());
  struct Case {
    std::string args;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"x -qj " + a + " -d " + o + " 'docs/*'", {"b.txt", "c.log"}},
      {"extract --quiet --junk-paths --dest " + o + " " + a + " 'docs/*'", {"b.txt", "c.log"}},
      {"x -jd " + o + " " + a, {"a.txt", "b.txt", "c.log"}},
      {"extract --dest=" + o + " " + a + " --exclude='*.log'", {"a.txt", "docs/b.txt"}},
      {"-q extract " + a + " -d " + o + " --threads 2 -x a.txt", {"docs/b.txt", "docs/c.log"}},
      {"x " + a + " -T1 -d" + o + " --exc 'docs/*'", {"a.txt"}},
  };
  for (const Case& c : cases) {
    fs::remove_all(out());
    const Result r = Run(c.args);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    std::vector<std::string> got;
    for (const auto& [name, bytes] : ziptest::Tree(out())) got.push_back(name);
    EXPECT_EQ(got, c.files) << c.args;
  }
  // The short commands are the long ones.
  EXPECT_EQ(Run("l " + a).out, Run("list " + a).out);
  EXPECT_EQ(Run("l --tsv " + a).out, Run("list --tsv " + a).out);
  EXPECT_EQ(Run("t -q " + a).status, 0);
  EXPECT_EQ(Run("x --pipe " + a + " a.txt").out, "alpha\n");
  // -qo replaces silently; --never-overwrite keeps silently.
  ziptest::WriteFile(out() / "a.txt", "mine");
  Result r = Run("x --never-overwrite " + a + " -d " + o + " a.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "mine");
  r = Run("x -qo " + a + " -d " + o + " a.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "alpha\n");
  // "--" ends the options: what follows are the archive and patterns, even
  // when they begin with "-".
  const fs::path dash = dir_.Path() / "-dash.zip";
  ziptest::WriteFile(dash, testing_support::MakeZip({{"-n.txt", "dash\n"}, {"other.txt", "other\n"}}));
  fs::remove_all(out());
  r = Run("x -d " + o + " -- " + Q(dash) + " -n.txt");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ziptest::Tree(out()), (std::map<std::string, std::string>{{"-n.txt", "dash\n"}}));
}

TEST_F(Tool, NamesInOtherCodePages) {
  // Names without the UTF-8 flag in the code page -O names; each entry holds
  // its own name. Without -O they are read as GBK, and come out otherwise.
  struct Case {
    const char* kind;
    const char* codePage;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"cp932_names", "932", {"日本語/ファイル名.txt", "表示.txt", "ソース/説明.txt"}},
      {"cp866_names", "cp866", {"Документы/Отчёт.txt", "Ёлка.txt", "Привет/мир.txt"}},
  };
  for (const Case& c : cases) {
    const fs::path zip = dir_.Path() / (std::string(c.kind) + ".zip");
    ziptest::MakeFixture(c.kind, zip);
    std::map<std::string, std::string> want;
    std::string listed;
    for (const std::string& name : c.names) {
      want[name] = name;
      listed += name + "\t" + std::to_string(name.size()) + "\t";
    }
    fs::remove_all(out());
    const Result r = Run("extract -O " + std::string(c.codePage) + " " + Q(zip) + " -d " + Q(out()));
    EXPECT_EQ(r.status, 0) << c.kind << r.err;
    EXPECT_EQ(ziptest::Tree(out()), want) << c.kind;
    const Result tsv = Run("list --tsv --names-codepage=" + std::string(c.codePage) + " " + Q(zip));
    std::string got;
    for (std::size_t at = 0, end; (end = tsv.out.find('\n', at)) != std::string::npos; at = end + 1) {
      const std::string line = tsv.out.substr(at, end - at);
      const std::size_t second = line.find('\t', line.find('\t') + 1);
      got += line.substr(0, second + 1);
    }
    EXPECT_EQ(got, listed) << c.kind;
    const Result gbk = Run("list --tsv " + Q(zip));
    EXPECT_EQ(gbk.out.find(c.names[0]), std::string::npos) << c.kind << gbk.out;
  }
}

TEST_F(Tool, NoWindowEver) {
  // Whatever the component would ask or tell in a box, the tool says on
  // standard error and goes on (a box would show here as "[caption] text").
  const auto noBox = [](const Result& r) { return r.err.find("\n[") == std::string::npos && r.err.rfind("[", 0) != 0; };
  // Entries of a method nobody reads, a symbolic link among them: each fails, naming it.
  const fs::path unknown = dir_.Path() / "m77.zip";
  ziptest::WriteFile(unknown, testing_support::MakeZip({{"m77.bin", "data", 0100644, 77, 0, "", "pack"},
                                                        {"link", "a.txt", 0120777, 77, 0, "", "a.txt"},
                                                        {"fine.txt", "fine\n"}}));
  for (const std::string command : {"test", "extract"}) {
    const Result r = Run(command + " " + Q(unknown) + (command == "extract" ? " -d " + Q(out()) : ""));
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find("m77.bin: unsupported compression method 77"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Unknown Compression Method"), std::string::npos) << r.err;
    EXPECT_TRUE(noBox(r)) << r.err;
  }
  EXPECT_EQ(ziptest::Tree(out()), (std::map<std::string, std::string>{{"fine.txt", "fine\n"}}));
  // An existing file: kept, with a notice.
  const Result kept = Run("extract " + Q(unknown) + " -d " + Q(out()) + " fine.txt");
  EXPECT_EQ(kept.status, 0);
  EXPECT_NE(kept.err.find("fine.txt: exists, not overwritten"), std::string::npos) << kept.err;
  EXPECT_TRUE(noBox(kept)) << kept.err;
  // A blocked archive (numbered .001, .002 ... but for its last file) with a volume missing.
  std::string noise(200000, '\0');
  unsigned x = 7;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  ziptest::WriteFile(src() / "noise.bin", noise);
  const fs::path split = dir_.Path() / "split.zip";
  ASSERT_EQ(Shell("cd " + Q(src()) + " && zip -q -0 -s 64k " + Q(split) + " noise.bin"), 0);
  fs::rename(dir_.Path() / "split.z01", dir_.Path() / "split.001");
  fs::rename(dir_.Path() / "split.z03", dir_.Path() / "split.003");
  fs::remove(dir_.Path() / "split.z02");
  const Result missing = Run("test " + Q(split));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("Cannot find disk 2 of the multi-disk set"), std::string::npos) << missing.err;
  EXPECT_TRUE(noBox(missing)) << missing.err;
  // "?" would open a chooser in the component: here it is a folder's name,
  // and an archive name ending in it is refused.
  const Result question = Run("extract " + Q(archive()) + " -d '?' a.txt", "cd " + Q(dir_.Path()) + " && ");
  EXPECT_EQ(question.status, 0) << question.err;
  EXPECT_EQ(ziptest::ReadFile(dir_.Path() / "?" / "a.txt"), "alpha\n");
  const Result chooser = Run("list " + Q(dir_.Path() / "t.zip?"));
  EXPECT_EQ(chooser.status, 2);
  EXPECT_NE(chooser.err.find("cannot read archive: a name ending in '?' is not taken"), std::string::npos)
      << chooser.err;
}

TEST_F(Tool, OverwriteNeverAndQuiet) {
  ziptest::WriteFile(out() / "a.txt", "mine");
  // Default: kept, with a notice; -n: kept silently; -q: no notices; -o: replaced.
  Result r = Run("extract " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("a.txt: exists, not overwritten"), std::string::npos) << r.err;
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "mine");
  r = Run("extract -n " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = Run("extract -q " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "mine");
  r = Run("extract -o " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "alpha\n");
  // Not a terminal: no progress on standard error.
  EXPECT_EQ(r.err, "");
}

TEST_F(Tool, PasswordIsAskedOnTheTerminalWithoutEcho) {
  TW_REQUIRE_TOOL("script");
  const fs::path enc = dir_.Path() / "e.zip";
  ASSERT_EQ(Shell("cd " + Q(src()) + " && zip -q -P Hidden77 " + Q(enc) + " a.txt"), 0);
  // Without a terminal there is nobody to ask.
  Result r = Run("extract " + Q(enc) + " -d " + Q(out()) + " </dev/null");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("give the password with -P"), std::string::npos) << r.err;
  // On a terminal (a pseudo-terminal from script) the typed password is used and not shown.
  const std::string command = ziptest::Unzipper() + " extract " + Q(enc) + " -d " + Q(out());
  const fs::path log = dir_.Path() / "typescript";
  const int status = std::system(("(sleep 1; printf 'Hidden77\\n') | script -qec \"" + command + "\" " + Q(log) +
                                  " >/dev/null 2>&1")
                                     .c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  const std::string screen = ziptest::ReadFile(log);
  EXPECT_NE(screen.find("a.txt password: "), std::string::npos) << screen;
  EXPECT_EQ(screen.find("Hidden77"), std::string::npos) << screen;
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "alpha\n");
}

TEST_F(Tool, ProgressOnATerminalOnly) {
  TW_REQUIRE_TOOL("script");
  // Three incompressible megabytes, printed into a pipe that is read only
  // after two seconds: the run lasts long enough for progress to show.
  std::string noise(1 << 20, '\0');
  unsigned x = 1;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  for (const char* name : {"p1.bin", "p2.bin", "p3.bin"}) ziptest::WriteFile(src() / name, noise);
  const fs::path big = dir_.Path() / "big.zip";
  ASSERT_EQ(Shell("cd " + Q(src()) + " && zip -q -0 " + Q(big) + " p1.bin p2.bin p3.bin"), 0);
  const std::string command =
      ziptest::Unzipper() + " extract -p " + Q(big) + " | (sleep 2; cat >/dev/null)";
  const fs::path log = dir_.Path() / "typescript";
  ASSERT_EQ(Shell("script -qec \"" + command + "\" " + Q(log) + " </dev/null"), 0);
  const std::string screen = ziptest::ReadFile(log);
  EXPECT_NE(screen.find("/3 entries, "), std::string::npos) << screen;
  EXPECT_NE(screen.find(" s left"), std::string::npos) << screen;
  // The same run with standard error in a file shows nothing.
  const fs::path err = dir_.Path() / "err";
  ASSERT_EQ(Shell(ziptest::Unzipper() + " extract -p " + Q(big) + " 2>" + Q(err) + " | (sleep 2; cat >/dev/null)"), 0);
  EXPECT_EQ(ziptest::ReadFile(err), "");
}

}  // namespace
}  // namespace unzip
