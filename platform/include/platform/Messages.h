// Window messages and their parameters, as both backends use them (the Win32
// values, so that the same numbers work on the desktop and on the headless
// backend; the Win32 backend checks them against <windows.h>).
#pragma once
#include <cstdint>

#include "platform/Types.h"

namespace platform {

struct Message {
  std::uint32_t msg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::intptr_t result = 0;
};

namespace msg {
constexpr std::uint32_t kDestroy = 0x0002;
constexpr std::uint32_t kMove = 0x0003;
constexpr std::uint32_t kSize = 0x0005;
constexpr std::uint32_t kActivate = 0x0006;
constexpr std::uint32_t kKillFocus = 0x0008;
constexpr std::uint32_t kSetText = 0x000C;
// A popup window paints into the platform::Bitmap that lParam points to (sized
// to the client area); the backend copies it to the screen in one operation.
constexpr std::uint32_t kPaint = 0x000F;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kQueryEndSession = 0x0011;
constexpr std::uint32_t kQuit = 0x0012;
// A form's client background, painted into the bitmap lParam points to before
// its kPaint; a result of 1 says it was painted (else the backend fills it with
// the button face colour).
constexpr std::uint32_t kEraseBackground = 0x0014;
constexpr std::uint32_t kShowWindow = 0x0018;
constexpr std::uint32_t kCancelMode = 0x001F;
constexpr std::uint32_t kMouseActivate = 0x0021;
constexpr std::uint32_t kGetMinMaxInfo = 0x0024;  // lParam points to a MinMaxInfo
constexpr std::uint32_t kUserChanged = 0x0054;
constexpr std::uint32_t kNCDestroy = 0x0082;
constexpr std::uint32_t kNCCalcSize = 0x0083;  // lParam points to the window Rect, which becomes the client's
constexpr std::uint32_t kNCHitTest = 0x0084;   // answered with a hit:: code
constexpr std::uint32_t kNCPaint = 0x0085;
constexpr std::uint32_t kNCActivate = 0x0086;
// Mouse messages over the frame carry the screen position in lParam and the hit
// test's answer in wParam.
constexpr std::uint32_t kNCMouseMove = 0x00A0;
constexpr std::uint32_t kNCLButtonDown = 0x00A1;
constexpr std::uint32_t kNCLButtonUp = 0x00A2;
constexpr std::uint32_t kNCLButtonDblClk = 0x00A3;
constexpr std::uint32_t kNCRButtonDown = 0x00A4;
constexpr std::uint32_t kNCRButtonUp = 0x00A5;
constexpr std::uint32_t kNCRButtonDblClk = 0x00A6;
constexpr std::uint32_t kNCMButtonDown = 0x00A7;
constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kChar = 0x0102;
constexpr std::uint32_t kSysKeyDown = 0x0104;
constexpr std::uint32_t kSysChar = 0x0106;
constexpr std::uint32_t kSysCommand = 0x0112;  // wParam one of the kSc... commands (low four bits the system's)
constexpr std::uint32_t kTimer = 0x0113;
// Mouse messages carry the client position in lParam (PointToParam).
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLButtonDown = 0x0201;
constexpr std::uint32_t kLButtonUp = 0x0202;
constexpr std::uint32_t kLButtonDblClk = 0x0203;
constexpr std::uint32_t kRButtonDown = 0x0204;
constexpr std::uint32_t kRButtonUp = 0x0205;
constexpr std::uint32_t kMButtonDown = 0x0207;
constexpr std::uint32_t kMButtonUp = 0x0208;
constexpr std::uint32_t kParentNotify = 0x0210;
constexpr std::uint32_t kSizing = 0x0214;
constexpr std::uint32_t kMoving = 0x0216;  // lParam points to the proposed window Rect, which may be changed
constexpr std::uint32_t kEnterSizeMove = 0x0231;
constexpr std::uint32_t kExitSizeMove = 0x0232;
constexpr std::uint32_t kUser = 0x0400;
// A key pressed in a child control, offered to its form first (wParam the key):
// a non-zero result means the form took it as a short cut (the framework's value
// for a control's notification of a key).
constexpr std::uint32_t kChildKeyDown = 0xBD00 + kKeyDown;
// The mouse came over a child control, or left it (the framework's own values).
constexpr std::uint32_t kMouseEnter = 0xB013;
constexpr std::uint32_t kMouseLeave = 0xB014;

// The answer to kMouseActivate that keeps a window from being activated.
constexpr std::intptr_t kNoActivate = 3;  // MA_NOACTIVATE
// kActivate's wParam low word for a window losing the activation.
constexpr std::uintptr_t kInactive = 0;  // WA_INACTIVE
// kSysCommand's window-state commands, and the one for Alt or F10 pressed alone.
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::uintptr_t kScMaximize = 0xF030;
constexpr std::uintptr_t kScKeyMenu = 0xF100;
constexpr std::uintptr_t kScRestore = 0xF120;
}  // namespace msg

// Answers to msg::kNCHitTest.
namespace hit {
constexpr std::intptr_t kClient = 1;
constexpr std::intptr_t kCaption = 2;
constexpr std::intptr_t kLeft = 10;
constexpr std::intptr_t kRight = 11;
constexpr std::intptr_t kTop = 12;
constexpr std::intptr_t kTopLeft = 13;
constexpr std::intptr_t kTopRight = 14;
constexpr std::intptr_t kBottom = 15;
constexpr std::intptr_t kBottomLeft = 16;
constexpr std::intptr_t kBottomRight = 17;
// HTOBJECT: the system's default handling does nothing there.
constexpr std::intptr_t kObject = 19;
}  // namespace hit

// msg::kGetMinMaxInfo's block (MINMAXINFO), in the same layout.
struct MinMaxInfo {
  Point reserved, maxSize, maxPosition, minTrackSize, maxTrackSize;
};

// The signed 16-bit x and y packed into a mouse message's lParam, and back.
constexpr std::intptr_t PointToParam(Point p) {
  return std::intptr_t(std::uint32_t(std::uint16_t(p.x)) | (std::uint32_t(std::uint16_t(p.y)) << 16));
}
constexpr Point ParamToPoint(std::intptr_t lParam) {
  return {std::int16_t(std::uint16_t(lParam & 0xFFFF)), std::int16_t(std::uint16_t((lParam >> 16) & 0xFFFF))};
}

}  // namespace platform
