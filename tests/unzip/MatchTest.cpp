#include <gtest/gtest.h>

#include "extract/ZipMatch.h"

namespace unzip {
namespace {

TEST(MatchesPattern, Table) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  };
  const Case cases[] = {
      {"*", "anything\\at\\all", true},
      {"*.exe", "Setup.EXE", true},
      {"*.exe", "bin\\tool.exe", true},
      {"*.exe", "readme.txt", false},
      {"*.exe", "bin\\", false},
      {"a*", "a", true},
      {"a**", "a", false},
      {"a*?", "ab", false},
      {"a*?", "abc", true},
      {"?b", "ab", true},
      {"?b", "b", false},
      {"<a-c>x", "Bx", true},
      {"<a-c>x", "dx", false},
      {"<!a-c>x", "dx", true},
      {"<^abc>x", "ax", false},
      {"<>x", "x", false},
      {"<a-", "a", false},
      {"<a->", "a", false},
      {"<ab", "a", false},
      {"*<0-9>", "123", true},
      {"*<0-9>", "12a", false},
      {"*<0-9>.txt", "2024.txt", true},
      {"*<>", "x", false},
      {"data\\*.dat", "DATA\\a.dat", true},
      {"data\\*.dat", "other\\a.dat", false},
      {"*mid*", "a-mid-b", true},
      {"exact.txt", "exact.txt", true},
      {"exact.txt", "exact.txt2", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesPattern(c.pattern, c.text), c.match) << c.pattern << " vs " << c.text;
}

}  // namespace
}  // namespace unzip
