// The open-file dialog and the folder chooser. Both return nullopt when the user
// cancels; the headless backend always cancels.
#pragma once
#include <optional>
#include <string>

namespace platform {

// `filter` is "Description|pattern|Description|pattern...".
std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                          const std::string& initialDir);
// A folder chooser that lets the user create the folder.
std::optional<std::string> BrowseForFolder(const std::string& initialDir);

}  // namespace platform
