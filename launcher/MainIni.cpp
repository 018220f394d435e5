#include "MainIni.h"

#include "platform/Application.h"
#include "platform/Text.h"

namespace launcher {

namespace {
struct Setting {
  const char* key;
  const char* keyword;
};
// In the order they are read and joined.
constexpr Setting kSettings[] = {
    {"Provider", "Provider="},
    {"Password", "Password="},
    {"Persist Security Info", "Persist Security Info="},
    {"User ID", "User ID="},
    {"Initial Catalog", "Initial Catalog="},
    {"Data Source", "Data Source="},
};
}  // namespace

std::string LauncherFolder() { return platform::ExtractFilePath(platform::Application::ExeName()); }

std::string BuildConnectionString(const platform::ProfileFile& settings) {
  std::string result;
  for (const Setting& s : kSettings) {
    result += s.keyword;
    result += settings.ReadString(kSettingsSection, s.key, "");
  }
  return result;
}

}  // namespace launcher
