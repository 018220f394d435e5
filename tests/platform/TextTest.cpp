#include <gtest/gtest.h>

#include "platform/Text.h"

using platform::kCodePageGbk;
using platform::kCodePageUtf8;

namespace {

struct DelimiterCase {
  const char* name;
  std::string text;
  unsigned codePage;
  std::size_t expected;
};

// 0x95 0x5C is one GBK character whose second byte is the code of "\".
const DelimiterCase kDelimiterCases[] = {
    {"plain", "C:\\dir\\file.exe", kCodePageGbk, 6},
    {"trail byte is not a separator", "C:\\dir\\ab\x95\x5C", kCodePageGbk, 6},
    {"separator after a double-byte char", "C:\\a\x95\x5C\\b", kCodePageGbk, 6},
    {"same bytes read as single-byte text", "C:\\dir\\ab\x95\x5C", platform::kCodePageIbm437, 10},
    {"drive only", "C:file", kCodePageGbk, 1},
    {"no separator", "file.exe", kCodePageGbk, std::string::npos},
    {"lead byte at the very end", "C:\\x\x95", kCodePageGbk, 2},
    {"UTF-8 Chinese folder", "C:\\物流\\系统.exe", kCodePageUtf8, 9},
};

TEST(LastDelimiter, FindsTheLastRealSeparator) {
  for (const DelimiterCase& c : kDelimiterCases)
    EXPECT_EQ(platform::LastDelimiter("\\:", c.text, c.codePage), c.expected) << c.name;
}

TEST(ExtractFilePath, KeepsTheSeparatorAndSplitsTheName) {
  EXPECT_EQ(platform::ExtractFilePath("C:\\Program Files\\update.exe"), "C:\\Program Files\\");
  EXPECT_EQ(platform::ExtractFileName("C:\\Program Files\\update.exe"), "update.exe");
  EXPECT_EQ(platform::ExtractFilePath("C:update.exe"), "C:");
  EXPECT_EQ(platform::ExtractFilePath("update.exe"), "");
  EXPECT_EQ(platform::ExtractFilePath("C:\\a\x95\x5C.exe", kCodePageGbk), "C:\\");
}

TEST(CodePages, GbkConvertsBothWays) {
  const std::string gbk = "\xCF\xB5\xCD\xB3";  // 系统
  EXPECT_EQ(platform::ToUtf8(gbk, kCodePageGbk), "系统");
  EXPECT_EQ(platform::FromUtf8("系统", kCodePageGbk), gbk);
  EXPECT_EQ(platform::ToUtf8("plain", kCodePageGbk), "plain");
  EXPECT_EQ(platform::ToUtf8("", kCodePageGbk), "");
}

}  // namespace
