// The names of the menu items a skinned form builds. The system menu's and the
// tray menu's items carry a caption-button glyph when a popup menu draws them;
// an MDI frame's window menu lists its children under the child marker.
#pragma once

namespace skin {

inline constexpr const char* SKF_MINITEM = "SKF_MINITEM";
inline constexpr const char* SKF_MAXITEM = "SKF_MAXITEM";
inline constexpr const char* SKF_RESTORE = "SKF_RESTORE";
inline constexpr const char* SKF_ROLLUP = "SKF_ROLLUP";
inline constexpr const char* SKF_MINTOTRAY = "SKF_MINTOTRAY";
inline constexpr const char* SKF_CLOSE = "SKF_CLOSE";
inline constexpr const char* TRAY_SKF_RESTORE = "TRAY_SKF_RESTORE";
inline constexpr const char* TRAY_SKF_CLOSE = "TRAY_SKF_CLOSE";
// A child's item is the child's name with the marker after it; a divider goes above them.
inline constexpr const char* SKF_CHILDITEM = "_SKFCHILDITEM";
inline constexpr const char* DIVIDER_SKFCHILDITEM = "DIVIDER_SKFCHILDITEM";

}  // namespace skin
