// Value types of skin definitions: the enumerations with their stored numbers,
// the font style set, and the skin engine's messages.
#pragma once
#include <cstdint>

#include "platform/Messages.h"
#include "platform/Types.h"

namespace skin {

using platform::Colour;
using platform::Point;
using platform::Rect;

enum class TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

enum class TMorphKind : std::uint8_t {
  mkDefault = 0, mkGradient = 1, mkLeftGradient = 2, mkRightGradient = 3,
  mkLeftSlide = 4, mkRightSlide = 5, mkPush = 6
};

enum class TInactiveEffect : std::uint8_t {
  ieBrightness = 0, ieDarkness = 1, ieGrayscale = 2, ieNoise = 3, ieSplitBlur = 4, ieInvert = 5
};

enum class TskStdCommand : std::uint8_t {
  cmClose = 0, cmMaximize = 1, cmMinimize = 2, cmSysMenu = 3, cmDefault = 4, cmRollUp = 5
};

// A set of font style flags.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// The platform's window messages and hit-test codes, which the skinned windows handle.
namespace msg = platform::msg;
namespace hit = platform::hit;

// The skin engine's own messages, all sent synchronously. The skin-change
// notifications carry the skin data as wParam and kSkinMessageTag as lParam.
constexpr std::uint32_t SKM_BEFORECHANGE = 1225;
constexpr std::uint32_t SKM_CHANGE = 1226;
constexpr std::uint32_t SKM_AFTERCHANGE = 1227;
constexpr std::intptr_t kSkinMessageTag = 1000;
// A skinned menu has closed (wParam 0, lParam 0).
constexpr std::uint32_t SKM_SKINMENUCLOSED = 1228;
// Between the form components of an MDI frame and its children: a maximized
// child fits the client area again; a child was maximized; a child is no
// longer maximized.
constexpr std::uint32_t SKM_MDICHILDREFIT = 1230;
constexpr std::uint32_t SKM_MDICHILDMAXIMIZED = 1231;
constexpr std::uint32_t SKM_MDICHILDRESTORED = 1232;

}  // namespace skin
