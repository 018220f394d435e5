#include "platform/Window.h"

#include <vector>

#include "Backend.h"
#include "RegionGdi.h"
#include "WinText.h"
#include "platform/Application.h"
#include "platform/Hints.h"
#include "platform/Bitmap.h"

namespace platform {

struct Window::Impl {
  HWND hwnd = nullptr;
  std::string caption;
  BorderStyle border = BorderStyle::Sizeable;
  bool closed = false;
  std::optional<std::uint8_t> alpha;
  std::optional<Region> region;
  bool mouseInside = false;  // a child control tracking the mouse's leaving
  bool ownFrame = false;     // the caption and borders are drawn by a component
};

namespace {
// Copies `image` to `dc` at (0, 0) in one operation, within the DC's clipping.
void CopyToDC(HDC dc, const Bitmap& image) {
  std::vector<std::uint32_t> dib(std::size_t(image.Width()) * std::size_t(image.Height()));
  for (int y = 0; y < image.Height(); ++y) {
    const Colour* row = image.Row(y);
    std::uint32_t* out = dib.data() + std::size_t(y) * std::size_t(image.Width());
    for (int x = 0; x < image.Width(); ++x) out[x] = win32::SwapDibPixel(std::uint32_t(row[x]));
  }
  const BITMAPINFO bi = win32::Dib32Info(image.Width(), image.Height());
  SetDIBitsToDevice(dc, 0, 0, DWORD(image.Width()), DWORD(image.Height()), 0, 0, 0, UINT(image.Height()), dib.data(),
                    &bi, DIB_RGB_COLORS);
}

// A form whose frame a component draws keeps a window shape even when the
// component gives it none: its whole rectangle. The desktop decorates no
// shaped window (Wine's X11 driver would otherwise take a sizable window's
// outermost pixels for a window manager's border, left black without one).
void KeepWholeShape(Window::Impl& impl, bool redraw) {
  if (!impl.hwnd || impl.region || !impl.ownFrame) return;
  RECT r{};
  GetWindowRect(impl.hwnd, &r);
  SetWindowRgn(impl.hwnd, CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top), redraw ? TRUE : FALSE);
}

// Every window paints into a portable bitmap that goes to the screen in one
// copy; a form's background is painted into it first, so nothing is erased on
// the screen before the picture arrives.
void PaintWindow(Window& window, HWND hwnd, void (*dispatch)(Window&, Message&)) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  if (client.right > 0 && client.bottom > 0) {
    Bitmap canvas(client.right, client.bottom);
    const auto param = reinterpret_cast<std::intptr_t>(&canvas);
    if (window.Kind() == WindowKind::Form) {
      Message erase{msg::kEraseBackground, 0, param, 0};
      dispatch(window, erase);
      if (erase.result == 0) canvas.FillRect(canvas.BoundsRect(), Colour(GetSysColor(COLOR_BTNFACE)));
    }
    Message m{msg::kPaint, 0, param, 0};
    dispatch(window, m);
    CopyToDC(dc, canvas);
  }
  EndPaint(hwnd, &ps);
}
}  // namespace

// Entry from the system into a window's hooks and procedure.
struct WindowDispatch {
  // A child control hears of the mouse coming over it before the first move,
  // and of its leaving through the system's leave tracking.
  static void TrackMouse(Window& window, HWND hwnd, UINT msg) {
    auto& impl = *window.impl_;
    if (msg == WM_MOUSEMOVE && !impl.mouseInside) {
      impl.mouseInside = true;
      TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
      TrackMouseEvent(&tme);
      Message enter{msg::kMouseEnter, 0, 0, 0};
      window.Dispatch(enter);
    } else if (msg == WM_MOUSELEAVE && impl.mouseInside) {
      impl.mouseInside = false;
      Message leave{msg::kMouseLeave, 0, 0, 0};
      window.Dispatch(leave);
    }
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      static_cast<Window*>(create->lpCreateParams)->impl_->hwnd = hwnd;
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, msg, wParam, lParam);
    Message m{msg, wParam, lParam, 0};
    // Errors must not unwind through the system's frames.
    try {
      // The system's paint requests carry no bitmap; a kPaint or kEraseBackground
      // with one (a picture of the window being made) goes to the window as it is.
      if (msg == WM_PAINT && lParam == 0) {
        PaintWindow(*window, hwnd, [](Window& w, Message& pm) { w.Dispatch(pm); });
        return 0;
      }
      if (msg == WM_ERASEBKGND && lParam == 0) return 1;  // the paint covers every pixel
      if (msg == WM_SIZE) KeepWholeShape(*window->impl_, false);
      if (window->Kind() == WindowKind::Child) {
        TrackMouse(*window, hwnd, msg);
        if (msg == WM_MOUSELEAVE) return 0;
      }
      window->Dispatch(m);
    } catch (const std::exception& e) {
      win32::ReportEscapedError(e);
    }
    return m.result;
  }
};

namespace {
constexpr wchar_t kFormClass[] = L"TwForm";
constexpr wchar_t kPopupClass[] = L"TwPopup";
constexpr wchar_t kControlClass[] = L"TwControl";

DWORD StyleFor(BorderStyle style) {
  switch (style) {
    case BorderStyle::None: return WS_POPUP | WS_CLIPCHILDREN;
    case BorderStyle::Single: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    case BorderStyle::Sizeable: return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  }
  return WS_OVERLAPPEDWINDOW;
}

// An MDI child is a child window of its frame's client area (no MDICLIENT). A
// frame drawn by a component has no system caption: the system would draw it
// (and its buttons) over the component's on activation and text changes. The
// sizing border stays, so that the system's sizing works on it.
DWORD FormStyleFor(BorderStyle style, bool mdiChild, bool ownFrame) {
  DWORD base = StyleFor(style);
  if (ownFrame) base &= ~DWORD(WS_CAPTION);
  return mdiChild ? (base & ~DWORD(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS : base;
}

void RegisterFormClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowDispatch::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassW(&wc);
  // Popups save the bits beneath them, so closing one repaints nothing below.
  wc.style = CS_SAVEBITS;
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kPopupClass;
  RegisterClassW(&wc);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = kControlClass;
  RegisterClassW(&wc);
  done = true;
}
}  // namespace

Window::Window() : Window(WindowKind::Form) {}

Window::Window(WindowKind kind) : kind_(kind), impl_(std::make_unique<Impl>()) {
  RegisterFormClass();
  if (kind == WindowKind::Popup) {
    impl_->border = BorderStyle::None;
    CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupClass, L"", WS_POPUP, 0, 0, 0, 0,
                    win32::ApplicationWindow(), nullptr, GetModuleHandleW(nullptr), this);
    return;
  }
  CreateWindowExW(0, kFormClass, L"", StyleFor(impl_->border), CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                  win32::ApplicationWindow(), nullptr, GetModuleHandleW(nullptr), this);
  if (Application::Exists()) Application::Instance().AddForm(this);
}

Window::Window(const FormPlacement& placement) : kind_(WindowKind::Form), impl_(std::make_unique<Impl>()) {
  RegisterFormClass();
  impl_->border = placement.border;
  impl_->caption = placement.caption;
  const DWORD style = StyleFor(placement.border);
  RECT r{0, 0, placement.clientWidth, placement.clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const Point desk = DesktopSize();
  CreateWindowExW(0, kFormClass, Widen(placement.caption).c_str(), style, (desk.x - width) / 2,
                  (desk.y - height) / 2, width, height, win32::ApplicationWindow(), nullptr,
                  GetModuleHandleW(nullptr), this);
  if (Application::Exists()) Application::Instance().AddForm(this);
}

Window::Window(Window& parent) : kind_(WindowKind::Child), impl_(std::make_unique<Impl>()) {
  RegisterFormClass();
  impl_->border = BorderStyle::None;
  AttachToParent(parent);
  CreateWindowExW(0, kControlClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  parent.impl_->hwnd, nullptr, GetModuleHandleW(nullptr), this);
  // The system puts a new child below its older siblings; a later control lies
  // over the earlier ones, as the framework stacks them (and the headless
  // backend and the pictures of the windows do).
  if (impl_->hwnd)
    SetWindowPos(impl_->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Window::Window(FormStyle style, Window* mdiFrame) : kind_(WindowKind::Form), impl_(std::make_unique<Impl>()) {
  RegisterFormClass();
  style_ = style;
  const bool child = style == FormStyle::MDIChild && mdiFrame && mdiFrame->impl_->hwnd;
  if (child) AttachToMDIFrame(*mdiFrame);
  CreateWindowExW(0, kFormClass, L"", FormStyleFor(impl_->border, child, false), child ? 0 : CW_USEDEFAULT,
                  child ? 0 : CW_USEDEFAULT, 320, 240, child ? mdiFrame->impl_->hwnd : win32::ApplicationWindow(),
                  nullptr, GetModuleHandleW(nullptr), this);
  if (Application::Exists()) Application::Instance().AddForm(this);
}

Window::~Window() {
  ApplicationHints::WindowDestroyed(*this);
  // The system destroys the children's native windows with this one.
  auto forget = [](Window* child) {
    if (child->impl_->hwnd) SetWindowLongPtrW(child->impl_->hwnd, GWLP_USERDATA, 0);
    child->impl_->hwnd = nullptr;
    child->impl_->closed = true;
  };
  for (Window* child : OrphanChildren()) forget(child);
  for (Window* child : MDIChildren()) forget(child);
  OrphanMDIChildren();
  DetachFromMDIFrame();
  DetachFromParent();
  if (kind_ == WindowKind::Form && Application::Exists()) Application::Instance().RemoveForm(this);
  if (::GetCapture() && ::GetCapture() == impl_->hwnd) ::ReleaseCapture();
  if (impl_->hwnd) {
    // Stop messages reaching a half-destroyed object.
    SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(impl_->hwnd);
  }
}

const std::string& Window::Caption() const { return impl_->caption; }

void Window::SetCaption(const std::string& caption) {
  impl_->caption = caption;
  SetWindowTextW(impl_->hwnd, Widen(caption).c_str());
}

BorderStyle Window::GetBorderStyle() const { return impl_->border; }

void Window::SetBorderStyle(BorderStyle style) {
  const Point client = ClientSize();
  impl_->border = style;
  SetWindowLongPtrW(impl_->hwnd, GWL_STYLE,
                    FormStyleFor(style, mdiFrame_ != nullptr, impl_->ownFrame) | (Visible() ? WS_VISIBLE : 0));
  SetClientSize(client.x, client.y);
}

void Window::SetOwnFrame(bool own) {
  impl_->ownFrame = own;
  if (!impl_->hwnd || kind_ != WindowKind::Form) return;
  SetWindowLongPtrW(impl_->hwnd, GWL_STYLE,
                    FormStyleFor(impl_->border, mdiFrame_ != nullptr, own) | (Visible() ? WS_VISIBLE : 0));
  // The client area is asked for again; the window keeps its outer bounds.
  SetWindowPos(impl_->hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (own)
    KeepWholeShape(*impl_, true);
  else if (!impl_->region)
    SetWindowRgn(impl_->hwnd, nullptr, TRUE);
}

bool Window::OwnFrame() const { return impl_->ownFrame; }

void Window::PresentFrame(const Bitmap& frame, const Rect& client) {
  if (!impl_->hwnd || frame.Empty()) return;
  // The window DC is clipped to the window's region and to the windows above it.
  HDC dc = GetWindowDC(impl_->hwnd);
  if (!client.Empty()) ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  CopyToDC(dc, frame);
  ReleaseDC(impl_->hwnd, dc);
}

Rect Window::BoundsRect() const {
  RECT r{};
  GetWindowRect(impl_->hwnd, &r);
  if ((kind_ == WindowKind::Child || mdiFrame_) && impl_->hwnd)
    MapWindowPoints(nullptr, GetParent(impl_->hwnd), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

Point Window::ClientSize() const {
  RECT r{};
  GetClientRect(impl_->hwnd, &r);
  return {r.right, r.bottom};
}

void Window::SetClientSize(int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(impl_->hwnd, GWL_STYLE)), FALSE,
                     DWORD(GetWindowLongPtrW(impl_->hwnd, GWL_EXSTYLE)));
  SetWindowPos(impl_->hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Window::SetPosition(int left, int top) {
  SetWindowPos(impl_->hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::CenterOnDesktop() {
  const Rect b = BoundsRect();
  const Point desk = DesktopSize();
  SetPosition((desk.x - b.Width()) / 2, (desk.y - b.Height()) / 2);
}

void Window::SetBounds(const Rect& bounds) {
  SetWindowPos(impl_->hwnd, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

Point Window::ClientToScreen(Point p) const {
  POINT pt{p.x, p.y};
  ::ClientToScreen(impl_->hwnd, &pt);
  return {pt.x, pt.y};
}

Point Window::ScreenToClient(Point p) const {
  POINT pt{p.x, p.y};
  ::ScreenToClient(impl_->hwnd, &pt);
  return {pt.x, pt.y};
}

void Window::ShowNoActivate() {
  if (!impl_->hwnd) return;
  if (kind_ == WindowKind::Child) {
    ShowWindow(impl_->hwnd, SW_SHOWNA);
    return;
  }
  SetWindowPos(impl_->hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void Window::Hide() {
  if (!impl_->hwnd) return;
  // A form or child window is told (WM_SHOWWINDOW); a popup just disappears, staying topmost.
  if (kind_ != WindowKind::Popup) {
    ShowWindow(impl_->hwnd, SW_HIDE);
    return;
  }
  SetWindowPos(impl_->hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW | SWP_NOACTIVATE);
}

void Window::TakeFocus() {
  if (impl_->hwnd) ::SetFocus(impl_->hwnd);
}

void Window::SetRegion(std::optional<Region> region, bool redraw) {
  impl_->region = std::move(region);
  if (!impl_->hwnd) return;
  // The window takes over the GDI region.
  SetWindowRgn(impl_->hwnd, impl_->region ? win32::ToHrgn(*impl_->region) : nullptr, redraw ? TRUE : FALSE);
  KeepWholeShape(*impl_, redraw);
}

const std::optional<Region>& Window::WindowRegion() const { return impl_->region; }

void Window::Invalidate() {
  if (impl_->hwnd) InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

void Window::Show() {
  if (impl_->closed) return;
  if (Visible()) {
    if (mdiFrame_) BringWindowToTop(impl_->hwnd);
    MDIActivate();
    return;
  }
  // The show handler runs before the window appears; its errors are reported here.
  if (OnShow) {
    try {
      OnShow();
    } catch (const std::exception& e) {
      win32::ReportEscapedError(e);
    }
  }
  if (impl_->closed) return;
  ShowWindow(impl_->hwnd, kind_ == WindowKind::Child ? SW_SHOWNA : SW_SHOW);
  UpdateWindow(impl_->hwnd);
  MDIActivate();
}

// A child counts as visible by its own style, whether or not its parent shows.
bool Window::Visible() const {
  if (!impl_->hwnd) return false;
  if (kind_ == WindowKind::Child || mdiFrame_) return (GetWindowLongPtrW(impl_->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  return IsWindowVisible(impl_->hwnd);
}

void Window::Close() {
  if (impl_->closed) return;
  // An MDI child's hooks hear of its end while it is still one of the frame's children.
  if (mdiFrame_) {
    Perform(msg::kDestroy, 0, 0);
    impl_->closed = true;
    DetachFromMDIFrame();
  }
  impl_->closed = true;
  const bool isMain = Application::Exists() && Application::Instance().MainForm() == this;
  HWND hwnd = impl_->hwnd;
  impl_->hwnd = nullptr;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  if (isMain) Application::Instance().Terminate();
}

bool Window::Closed() const { return impl_->closed; }

std::intptr_t Window::Perform(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (!impl_->hwnd) {
    Message m{msg, wParam, lParam, 0};
    Dispatch(m);
    return m.result;
  }
  return SendMessageW(impl_->hwnd, msg, wParam, lParam);
}

void Window::WndProc(Message& m) {
  if (m.msg == WM_CLOSE) {
    Close();
    return;
  }
  if (kind_ == WindowKind::Popup && m.msg == WM_MOUSEACTIVATE) {
    m.result = msg::kNoActivate;
    return;
  }
  if (m.msg == WM_PAINT || m.msg == WM_ERASEBKGND) return;  // into a bitmap: nothing more to do
  if (impl_->hwnd) m.result = DefWindowProcW(impl_->hwnd, m.msg, m.wParam, m.lParam);
}

namespace {
using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
SetLayeredAttributes LayeredApi() {
  // Looked up at run time: older systems lack it.
  static auto fn = reinterpret_cast<SetLayeredAttributes>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  return fn;
}
}  // namespace

void Window::SetAlpha(std::optional<std::uint8_t> alpha) {
  impl_->alpha = alpha;
  if (!LayeredWindowsAvailable() || !impl_->hwnd) return;
  LONG_PTR ex = GetWindowLongPtrW(impl_->hwnd, GWL_EXSTYLE);
  if (alpha) {
    SetWindowLongPtrW(impl_->hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    LayeredApi()(impl_->hwnd, 0, *alpha, LWA_ALPHA);
  } else {
    SetWindowLongPtrW(impl_->hwnd, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
  }
}

std::optional<std::uint8_t> Window::Alpha() const { return impl_->alpha; }
void* Window::NativeHandle() const { return impl_->hwnd; }

bool LayeredWindowsAvailable() { return LayeredApi() != nullptr; }

Point DesktopSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace platform
