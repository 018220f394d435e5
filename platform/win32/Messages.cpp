// The portable message numbers, hit-test codes and blocks are the system's own:
// a mismatch stops the build here.
#include "platform/Messages.h"

#include <windows.h>

#include <cstddef>

namespace platform {

static_assert(msg::kDestroy == WM_DESTROY);
static_assert(msg::kMove == WM_MOVE);
static_assert(msg::kSize == WM_SIZE);
static_assert(msg::kActivate == WM_ACTIVATE);
static_assert(msg::kKillFocus == WM_KILLFOCUS);
static_assert(msg::kSetText == WM_SETTEXT);
static_assert(msg::kPaint == WM_PAINT);
static_assert(msg::kClose == WM_CLOSE);
static_assert(msg::kQueryEndSession == WM_QUERYENDSESSION);
static_assert(msg::kQuit == WM_QUIT);
static_assert(msg::kEraseBackground == WM_ERASEBKGND);
static_assert(msg::kShowWindow == WM_SHOWWINDOW);
static_assert(msg::kCancelMode == WM_CANCELMODE);
static_assert(msg::kMouseActivate == WM_MOUSEACTIVATE);
static_assert(msg::kGetMinMaxInfo == WM_GETMINMAXINFO);
static_assert(msg::kUserChanged == WM_USERCHANGED);
static_assert(msg::kNCDestroy == WM_NCDESTROY);
static_assert(msg::kNCCalcSize == WM_NCCALCSIZE);
static_assert(msg::kNCHitTest == WM_NCHITTEST);
static_assert(msg::kNCPaint == WM_NCPAINT);
static_assert(msg::kNCActivate == WM_NCACTIVATE);
static_assert(msg::kNCMouseMove == WM_NCMOUSEMOVE);
static_assert(msg::kNCLButtonDown == WM_NCLBUTTONDOWN);
static_assert(msg::kNCLButtonUp == WM_NCLBUTTONUP);
static_assert(msg::kNCLButtonDblClk == WM_NCLBUTTONDBLCLK);
static_assert(msg::kNCRButtonDown == WM_NCRBUTTONDOWN);
static_assert(msg::kNCRButtonUp == WM_NCRBUTTONUP);
static_assert(msg::kNCRButtonDblClk == WM_NCRBUTTONDBLCLK);
static_assert(msg::kNCMButtonDown == WM_NCMBUTTONDOWN);
static_assert(msg::kKeyDown == WM_KEYDOWN);
static_assert(msg::kKeyUp == WM_KEYUP);
static_assert(msg::kChar == WM_CHAR);
static_assert(msg::kSysKeyDown == WM_SYSKEYDOWN);
static_assert(msg::kSysChar == WM_SYSCHAR);
static_assert(msg::kSysCommand == WM_SYSCOMMAND);
static_assert(msg::kTimer == WM_TIMER);
static_assert(msg::kMouseMove == WM_MOUSEMOVE);
static_assert(msg::kLButtonDown == WM_LBUTTONDOWN);
static_assert(msg::kLButtonUp == WM_LBUTTONUP);
static_assert(msg::kLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(msg::kRButtonDown == WM_RBUTTONDOWN);
static_assert(msg::kRButtonUp == WM_RBUTTONUP);
static_assert(msg::kMButtonDown == WM_MBUTTONDOWN);
static_assert(msg::kMButtonUp == WM_MBUTTONUP);
static_assert(msg::kParentNotify == WM_PARENTNOTIFY);
static_assert(msg::kSizing == WM_SIZING);
static_assert(msg::kMoving == WM_MOVING);
static_assert(msg::kEnterSizeMove == WM_ENTERSIZEMOVE);
static_assert(msg::kExitSizeMove == WM_EXITSIZEMOVE);
static_assert(msg::kUser == WM_USER);
static_assert(msg::kNoActivate == MA_NOACTIVATE);
static_assert(msg::kInactive == WA_INACTIVE);
static_assert(msg::kScMinimize == SC_MINIMIZE);
static_assert(msg::kScMaximize == SC_MAXIMIZE);
static_assert(msg::kScKeyMenu == SC_KEYMENU);
static_assert(msg::kScRestore == SC_RESTORE);
static_assert(hit::kClient == HTCLIENT);
static_assert(hit::kCaption == HTCAPTION);
static_assert(hit::kLeft == HTLEFT);
static_assert(hit::kRight == HTRIGHT);
static_assert(hit::kTop == HTTOP);
static_assert(hit::kTopLeft == HTTOPLEFT);
static_assert(hit::kTopRight == HTTOPRIGHT);
static_assert(hit::kBottom == HTBOTTOM);
static_assert(hit::kBottomLeft == HTBOTTOMLEFT);
static_assert(hit::kBottomRight == HTBOTTOMRIGHT);
static_assert(hit::kObject == HTOBJECT);
static_assert(sizeof(MinMaxInfo) == sizeof(MINMAXINFO) && offsetof(MinMaxInfo, minTrackSize) == offsetof(MINMAXINFO, ptMinTrackSize) &&
              offsetof(MinMaxInfo, maxTrackSize) == offsetof(MINMAXINFO, ptMaxTrackSize));

}  // namespace platform
