// Draws the project's sample skin from code: frame pictures with stretch areas, a
// mask with rounded corners, caption buttons, popup and hint frames, menu items
// and one record for each skinned control kind. It is the test and demo skin.
#pragma once
#include <string>

namespace skingen {

// File name of the definition inside a generated skin folder.
constexpr const char* kDefinitionFile = "SKIN.INI";
// The skin's name, in [VERSION].
constexpr const char* kSkinName = "winxpgreen";
// Frame picture size.
constexpr int kFrameWidth = 152;
constexpr int kFrameHeight = 125;

// Writes SKIN.INI and its BMP pictures into `folder` (created when missing);
// returns the definition's path.
std::string GenerateSkinFolder(const std::string& folder);
// Packs a generated folder into a compressed stored skin and writes that
// component's form data to `file`.
void WriteCompressedSkinFile(const std::string& definitionPath, const std::string& file);

}  // namespace skingen
