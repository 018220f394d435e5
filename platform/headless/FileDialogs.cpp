// No user to ask on the headless backend: every dialog is cancelled.
#include "platform/FileDialogs.h"

namespace platform {

std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) {
  return std::nullopt;
}

std::optional<std::string> BrowseForFolder(const std::string&) { return std::nullopt; }

}  // namespace platform
