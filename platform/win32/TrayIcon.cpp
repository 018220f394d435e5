#include "platform/TrayIcon.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "Backend.h"
#include "WinText.h"

namespace platform {

namespace {
constexpr wchar_t kTrayClass[] = L"TwTrayIconWindow";
constexpr UINT kIconId = 1;  // the one icon of each window
constexpr int kIconSide = 16;
constexpr int kAppIconResource = 1;  // the first icon resource the linker puts into the program

// A 32-bit top-down device-independent section of w x h pixels.
HBITMAP CreateSection(HDC dc, int w, int h, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

// An opaque icon of the picture; the caller destroys it.
HICON IconFromBitmap(const Bitmap& picture) {
  if (picture.Empty()) return nullptr;
  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP colour = CreateSection(screen, picture.Width(), picture.Height(), &bits);
  ReleaseDC(nullptr, screen);
  if (!colour) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t c = std::uint32_t(picture.Pixel(x, y));
      // 0x00BBGGRR to the section's 0xAARRGGBB, fully opaque.
      out[y * picture.Width() + x] = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  HBITMAP mask = CreateBitmap(picture.Width(), picture.Height(), 1, 1, nullptr);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}
}  // namespace

struct TrayIcon::Impl {
  std::function<bool(Message&)> handler;
  HWND hwnd = nullptr;
  HICON icon = nullptr;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->handler) {
      Message m{msg, wParam, lParam, 0};
      try {
        if (self->handler(m)) return m.result;
      } catch (const std::exception& e) {
        win32::ReportEscapedError(e);
        return 0;
      }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  bool Notify(DWORD op, const Bitmap* picture, const std::string& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = hwnd;
    data.uID = kIconId;
    if (op != NIM_DELETE) {
      data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
      data.uCallbackMessage = kCallbackMessage;
      HICON next = IconFromBitmap(*picture);
      data.hIcon = next;
      const std::wstring wide = Widen(tip);
      const std::size_t n = std::min(wide.size(), std::size(data.szTip) - 1);
      std::copy_n(wide.data(), n, data.szTip);
      const bool ok = Shell_NotifyIconW(op, &data) != FALSE;
      // The shell keeps its own copy: the previous handle can go.
      if (icon) DestroyIcon(icon);
      icon = next;
      return ok;
    }
    return Shell_NotifyIconW(op, &data) != FALSE;
  }
};

TrayIcon::TrayIcon(std::function<bool(Message&)> handler) : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Impl::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  // A hidden top-level window (not a message-only one): only those receive the
  // shell's "TaskbarCreated" broadcast.
  impl_->hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), impl_.get());
}

TrayIcon::~TrayIcon() {
  if (impl_->hwnd) {
    SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(impl_->hwnd);
  }
  if (impl_->icon) DestroyIcon(impl_->icon);
}

bool TrayIcon::Add(const Bitmap& icon, const std::string& tip) { return impl_->Notify(NIM_ADD, &icon, tip); }
bool TrayIcon::Modify(const Bitmap& icon, const std::string& tip) { return impl_->Notify(NIM_MODIFY, &icon, tip); }
bool TrayIcon::Delete() { return impl_->Notify(NIM_DELETE, nullptr, {}); }

void TrayIcon::SetForeground() { SetForegroundWindow(impl_->hwnd); }
void TrayIcon::AfterMenu() { PostMessageW(impl_->hwnd, WM_NULL, 0, 0); }

std::uint32_t TrayIcon::TaskbarCreatedMessage() { return RegisterWindowMessageW(L"TaskbarCreated"); }

std::uint32_t DoubleClickTime() { return GetDoubleClickTime(); }

std::uint8_t KeyboardShiftState() {
  std::uint8_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= shiftstate::kShift;
  if (GetKeyState(VK_MENU) < 0) s |= shiftstate::kAlt;
  if (GetKeyState(VK_CONTROL) < 0) s |= shiftstate::kCtrl;
  return s;
}

Bitmap ApplicationIcon() {
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconResource),
                                             IMAGE_ICON, kIconSide, kIconSide, 0));
  const bool own = icon != nullptr;
  if (!icon) icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  Bitmap out(kIconSide, kIconSide);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP section = CreateSection(screen, kIconSide, kIconSide, &bits);
  ReleaseDC(nullptr, screen);
  if (section) {
    HGDIOBJ old = SelectObject(dc, section);
    DrawIconEx(dc, 0, 0, icon, kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < kIconSide; ++y)
      for (int x = 0; x < kIconSide; ++x) {
        const std::uint32_t c = px[y * kIconSide + x];
        out.SetPixel(x, y, Rgb(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)));
      }
    SelectObject(dc, old);
    DeleteObject(section);
  }
  DeleteDC(dc);
  if (own) DestroyIcon(icon);
  return out;
}

}  // namespace platform
