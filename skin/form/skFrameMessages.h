// Window-message numbers and hit-test codes the skinned frame handles (the Win32
// values, so the same numbers work on the desktop and on the headless backend).
#pragma once
#include <cstdint>

#include "platform/Types.h"

namespace skin {

constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_SETTEXT = 0x000C;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr std::uint32_t WM_NCCALCSIZE = 0x0083;
constexpr std::uint32_t WM_NCHITTEST = 0x0084;
constexpr std::uint32_t WM_NCPAINT = 0x0085;
constexpr std::uint32_t WM_NCACTIVATE = 0x0086;
constexpr std::uint32_t WM_NCMOUSEMOVE = 0x00A0;
constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
constexpr std::uint32_t WM_NCLBUTTONUP = 0x00A2;
constexpr std::uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr std::uint32_t WM_NCRBUTTONDOWN = 0x00A4;
constexpr std::uint32_t WM_NCRBUTTONUP = 0x00A5;
constexpr std::uint32_t WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_SIZING = 0x0214;
constexpr std::uint32_t WM_MOVING = 0x0216;
constexpr std::uint32_t WM_MOUSEACTIVATE = 0x0021;
constexpr std::uint32_t WM_ENTERSIZEMOVE = 0x0231;
constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;

// Between the form components of an MDI frame and its children: a maximized
// child fits the client area again; a child was maximized; a child is no
// longer maximized.
constexpr std::uint32_t SKM_MDICHILDREFIT = 1230;
constexpr std::uint32_t SKM_MDICHILDMAXIMIZED = 1231;
constexpr std::uint32_t SKM_MDICHILDRESTORED = 1232;

// WM_SYSCOMMAND's window-state commands.
constexpr std::uintptr_t SC_MINIMIZE = 0xF020;
constexpr std::uintptr_t SC_MAXIMIZE = 0xF030;
constexpr std::uintptr_t SC_RESTORE = 0xF120;

// WM_ACTIVATE's wParam low word for a window losing the activation.
constexpr std::uintptr_t WA_INACTIVE = 0;

// Answers to WM_NCHITTEST.
constexpr std::intptr_t HTCLIENT = 1;
constexpr std::intptr_t HTCAPTION = 2;
constexpr std::intptr_t HTLEFT = 10;
constexpr std::intptr_t HTRIGHT = 11;
constexpr std::intptr_t HTTOP = 12;
constexpr std::intptr_t HTTOPLEFT = 13;
constexpr std::intptr_t HTTOPRIGHT = 14;
constexpr std::intptr_t HTBOTTOM = 15;
constexpr std::intptr_t HTBOTTOMLEFT = 16;
constexpr std::intptr_t HTBOTTOMRIGHT = 17;
// Every other part of the frame, the objects included: the system's default
// handling does nothing there, so the objects get every click.
constexpr std::intptr_t HTOBJECT = 19;

// WM_GETMINMAXINFO's block (MINMAXINFO), in the same layout.
struct TskMinMaxInfo {
  platform::Point reserved, maxSize, maxPosition, minTrackSize, maxTrackSize;
};

}  // namespace skin
