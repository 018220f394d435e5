#include "db/ConnectionString.h"
#include "db/Database.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Items = std::vector<std::pair<std::string, std::string>>;

struct ParseCase {
  const char* name;
  std::string text;
  Items expected;
  friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
};

class ConnectionStringParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ConnectionStringParse, GivesTheItems) {
  const auto& c = GetParam();
  EXPECT_EQ(db::ConnectionString(c.text).Items(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConnectionStringParse,
    testing::Values(
        ParseCase{"Launcher", "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;"
                              "Initial Catalog=wl;Data Source=srv\\SQL2008",
                  {{"Provider", "SQLOLEDB.1"}, {"Password", "pw"}, {"Persist Security Info", "False"},
                   {"User ID", "sa"}, {"Initial Catalog", "wl"}, {"Data Source", "srv\\SQL2008"}}},
        ParseCase{"Empty", "", {}},
        ParseCase{"OnlySeparators", " ; ;; ", {}},
        ParseCase{"BlanksTrimmed", "  Data Source  =  my server  ;\tUser ID\t=\tsa\t", {{"Data Source", "my server"}, {"User ID", "sa"}}},
        ParseCase{"EmptyValue", "Password=;User ID=sa", {{"Password", ""}, {"User ID", "sa"}}},
        ParseCase{"DoubleQuoted", "Password=\"a;b='c'\"", {{"Password", "a;b='c'"}}},
        ParseCase{"SingleQuoted", "Password='a;b=\"c\"'", {{"Password", "a;b=\"c\""}}},
        ParseCase{"DoubledQuoteInside", "Password=\"say \"\"hi\"\"\";x='it''s'", {{"Password", "say \"hi\""}, {"x", "it's"}}},
        ParseCase{"QuotesKeepBlanks", "Password=\"  padded  \"  ; x=1", {{"Password", "  padded  "}, {"x", "1"}}},
        ParseCase{"QuoteInsideUnquotedValue", "Password=a\"b'c", {{"Password", "a\"b'c"}}},
        ParseCase{"EqualsInValue", "Extended Properties=a=b", {{"Extended Properties", "a=b"}}},
        ParseCase{"DoubledEqualsInKey", "a==b=c;x===y", {{"a=b", "c"}, {"x=", "y"}}},
        ParseCase{"LastOccurrenceWins", "User ID=a;user id=b;Password=p;USER ID=c", {{"Password", "p"}, {"USER ID", "c"}}},
        ParseCase{"Utf8", "Data Source=数据库.db;说明=系统", {{"Data Source", "数据库.db"}, {"说明", "系统"}}},
        // Values written without their ";" run into the next keyword: one item.
        ParseCase{"RunOn", "Provider=SQLOLEDB.1Password=pwPersist Security Info=False",
                  {{"Provider", "SQLOLEDB.1Password=pwPersist Security Info=False"}}},
        // main.ini missing: the six leading texts alone.
        ParseCase{"AllEmpty", "Provider=Password=Persist Security Info=User ID=Initial Catalog=Data Source=",
                  {{"Provider", "Password=Persist Security Info=User ID=Initial Catalog=Data Source="}}}),
    [](const testing::TestParamInfo<ParseCase>& p) { return std::string(p.param.name); });

TEST(ConnectionString, KeysMatchWithoutRegardToCase) {
  const db::ConnectionString s("provider=SQLite;DATA SOURCE=x.db");
  EXPECT_EQ(s.Find("Provider"), "SQLite");
  EXPECT_EQ(s.Value("data source"), "x.db");
  EXPECT_FALSE(s.Has("Data  Source"));
  EXPECT_EQ(s.Value("User ID"), "");
}

struct BadCase {
  const char* name;
  std::string text;
  std::string messagePart;
  friend void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }
};

class ConnectionStringMalformed : public testing::TestWithParam<BadCase> {};

TEST_P(ConnectionStringMalformed, ThrowsWithAClearMessage) {
  const auto& c = GetParam();
  try {
    db::ConnectionString s(c.text);
    FAIL() << "parsed " << s.Items().size() << " items";
  } catch (const db::Error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(c.messagePart), std::string::npos) << message;
    // A password must never be echoed into an error message.
    EXPECT_EQ(message.find("secret"), std::string::npos) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConnectionStringMalformed,
    testing::Values(BadCase{"UnterminatedDouble", "User ID=sa;Password=\"secret;x=1", "no closing quote"},
                    BadCase{"UnterminatedSingle", "Password='secret", "no closing quote"},
                    BadCase{"JunkAfterQuote", "Password=\"secret\"x;User ID=sa", "after the closing quote"},
                    BadCase{"NoEquals", "Provider=SQLite;secret", "has no \"=\""},
                    BadCase{"NoKey", "Provider=SQLite; =secret", "no key"}),
    [](const testing::TestParamInfo<BadCase>& p) { return std::string(p.param.name); });

}  // namespace
