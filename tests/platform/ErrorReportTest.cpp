#include <gtest/gtest.h>

#include "platform/Application.h"

namespace {

// The default error report appends "." when the text's last character sorts above ".".
TEST(ErrorReport, AppendsAFullStopAfterCharactersAboveIt) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"Cannot open", "Cannot open."}, {"Done.", "Done."},     {"Failed!", "Failed!"},
      {"path/", "path/."},             {"(x)", "(x)"},         {"", ""},
      {"无法连接", "无法连接."},       {"x 1", "x 1."},        {"a,", "a,"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::Application::ErrorReportText(c.in), c.out) << c.in;
}

}  // namespace
