// The connection string built from main.ini, on both backends.
#include <gtest/gtest.h>

#include "MainIni.h"
#include "TempDir.h"

namespace {

struct IniCase {
  const char* name;
  const char* file;  // nullptr: no main.ini at all
  std::string expected;
};

const std::string kEmpty = "Provider=Password=Persist Security Info=User ID=Initial Catalog=Data Source=";

const IniCase kCases[] = {
    {"values carry their own separators",
     "[database]\r\nProvider=SQLOLEDB.1;\r\nPassword=secret;\r\nPersist Security Info=False;\r\n"
     "User ID=sa;\r\nInitial Catalog=tarnwick;\r\nData Source=SERVER01\r\n",
     "Provider=SQLOLEDB.1;Password=secret;Persist Security Info=False;User ID=sa;Initial Catalog=tarnwick;"
     "Data Source=SERVER01"},
    {"no separators: one run-on string",
     "[database]\nProvider=SQLOLEDB.1\nPassword=pw\nPersist Security Info=False\nUser ID=sa\n"
     "Initial Catalog=db\nData Source=srv\n",
     "Provider=SQLOLEDB.1Password=pwPersist Security Info=FalseUser ID=saInitial Catalog=dbData Source=srv"},
    {"keys in any case, any order",
     "[DATABASE]\ndata source=srv\nprovider=SQLite;\n", "Provider=SQLite;Password=Persist Security Info=User ID="
     "Initial Catalog=Data Source=srv"},
    {"quoted values lose one pair of quotes",
     "[database]\nProvider=\"SQLite;\"\nData Source='C:\\db\\packages.db'\n",
     "Provider=SQLite;Password=Persist Security Info=User ID=Initial Catalog=Data Source=C:\\db\\packages.db"},
    {"missing section", "[other]\nProvider=SQLite;\n", kEmpty},
    {"empty file", "", kEmpty},
    {"no file", nullptr, kEmpty},
};

TEST(ConnectionString, IsBuiltFromTheDatabaseSection) {
  for (const IniCase& c : kCases) {
    testing_support::TempDir dir;
    const std::string path = c.file ? dir.Write("main.ini", c.file) : dir.File("main.ini");
    EXPECT_EQ(launcher::BuildConnectionString(platform::ProfileFile(path)), c.expected) << c.name;
  }
}

TEST(ConnectionString, ALongValueIsCutAtTheReadersLimit) {
  testing_support::TempDir dir;
  const std::string server(3000, 's');
  const std::string path = dir.Write("main.ini", "[database]\nProvider=SQLite;\nData Source=" + server + "\n");
  const std::string built = launcher::BuildConnectionString(platform::ProfileFile(path));
  EXPECT_EQ(built, "Provider=SQLite;Password=Persist Security Info=User ID=Initial Catalog=Data Source=" +
                       std::string(platform::kProfileValueMax, 's'));
}

}  // namespace
