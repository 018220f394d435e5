// The profile reader's rules, run on both backends: the headless reader must
// answer exactly as the system's GetPrivateProfileStringA does under Wine.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/Profile.h"

namespace {

struct ProfileCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  std::string expected;
};

const std::string kLong(3000, 'x');

const ProfileCase kCases[] = {
    {"plain value", "[database]\r\nProvider=SQLOLEDB.1;\r\n", "database", "Provider", "SQLOLEDB.1;"},
    {"names ignore case", "[DataBase]\nprovider=x\n", "database", "PROVIDER", "x"},
    {"blanks around key and value", "[database]\n  User ID   =   sa;  \n", "database", "User ID", "sa;"},
    {"inner blanks kept", "[database]\nData Source=my server\n", "database", "Data Source", "my server"},
    {"double quotes removed", "[database]\nPassword=\"  p;w  \"\n", "database", "Password", "  p;w  "},
    {"single quotes removed", "[database]\nPassword='pw;'\n", "database", "Password", "pw;"},
    {"one pair only", "[database]\nPassword=\"\"pw\"\"\n", "database", "Password", "\"pw\""},
    {"unmatched quote kept", "[database]\nPassword=\"pw\n", "database", "Password", "\"pw"},
    {"equals sign inside value", "[database]\nData Source=a=b\n", "database", "Data Source", "a=b"},
    {"empty value", "[database]\nPassword=\n", "database", "Password", ""},
    {"missing key", "[database]\nProvider=x\n", "database", "Password", "<default>"},
    {"missing section", "[other]\nProvider=x\n", "database", "Provider", "<default>"},
    {"key of another section", "[other]\nProvider=x\n[database]\nUser ID=u\n", "database", "Provider", "<default>"},
    {"first of two equal keys", "[database]\nProvider=a\nProvider=b\n", "database", "Provider", "a"},
    {"long value cut", "[database]\nData Source=" + kLong + "\n", "database", "Data Source",
     std::string(platform::kProfileValueMax, 'x')},
    {"empty file", "", "database", "Provider", "<default>"},
};

TEST(ProfileFile, ReadsAsTheSystemReaderDoes) {
  testing_support::TempDir dir;
  for (const ProfileCase& c : kCases) {
    const platform::ProfileFile ini(dir.Write("main.ini", c.file));
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected) << c.name;
  }
}

TEST(ProfileFile, MissingFileGivesTheDefault) {
  testing_support::TempDir dir;
  const platform::ProfileFile ini(dir.File("absent.ini"));
  EXPECT_EQ(ini.ReadString("database", "Provider", "<default>"), "<default>");
}

}  // namespace
