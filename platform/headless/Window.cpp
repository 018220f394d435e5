#include "platform/Window.h"

#include <algorithm>
#include <cstdio>

#include "State.h"
#include "platform/Application.h"
#include "platform/Hints.h"

namespace platform {

// A headless window keeps its properties; it has a nominal frame so that bounds
// and client size differ the way they do on a desktop.
struct Window::Impl {
  std::string caption;
  BorderStyle border = BorderStyle::Sizeable;
  Point position;
  Point client{320, 240};
  bool visible = false;
  bool closed = false;
  std::optional<std::uint8_t> alpha;
  std::vector<std::optional<std::uint8_t>> alphaChanges;
  std::optional<Region> region;
  Bitmap screen;  // the last paint
  bool ownFrame = false;
  Bitmap frame;  // the last presented frame picture
};

namespace {
constexpr int kFrameWidth = 4;     // sizing border, each side
constexpr int kCaptionHeight = 20; // caption bar

Rect FrameInsets(BorderStyle style) {
  if (style == BorderStyle::None) return {};
  return {kFrameWidth, kFrameWidth + kCaptionHeight, kFrameWidth, kFrameWidth};
}
}  // namespace

Window::Window() : Window(WindowKind::Form) {}

Window::Window(WindowKind kind) : kind_(kind), impl_(std::make_unique<Impl>()) {
  if (kind == WindowKind::Popup) impl_->border = BorderStyle::None;
  headless::GetState().windows.push_back(this);
  if (kind == WindowKind::Form && Application::Exists()) Application::Instance().AddForm(this);
}

Window::Window(const FormPlacement& placement) : Window(WindowKind::Form) {
  SetBorderStyle(placement.border);
  SetClientSize(placement.clientWidth, placement.clientHeight);
  CenterOnDesktop();
  SetCaption(placement.caption);
}

Window::Window(Window& parent) : kind_(WindowKind::Child), impl_(std::make_unique<Impl>()) {
  impl_->border = BorderStyle::None;
  impl_->client = {0, 0};
  impl_->visible = true;
  AttachToParent(parent);
}

Window::Window(FormStyle style, Window* mdiFrame) : Window(WindowKind::Form) {
  style_ = style;
  if (style == FormStyle::MDIChild && mdiFrame) AttachToMDIFrame(*mdiFrame);
}

Window::~Window() {
  auto& s = headless::GetState();
  ApplicationHints::WindowDestroyed(*this);
  OrphanChildren();
  DetachFromParent();
  OrphanMDIChildren();
  DetachFromMDIFrame();
  std::erase(s.windows, this);
  std::erase(s.minimizedForms, this);
  if (s.capture == this) s.capture = nullptr;
  if (s.hover == this) s.hover = nullptr;
  if (s.focus == this) s.focus = nullptr;
  if (s.foreground == this) s.foreground = nullptr;
  if (kind_ == WindowKind::Form && Application::Exists()) Application::Instance().RemoveForm(this);
}

void Window::SetBounds(const Rect& bounds) {
  const Rect in = FrameInsets(impl_->border);
  impl_->position = {bounds.left, bounds.top};
  impl_->client = {std::max(0, bounds.Width() - in.left - in.right), std::max(0, bounds.Height() - in.top - in.bottom)};
  Invalidate();
}

Point Window::ClientToScreen(Point p) const {
  const Rect in = FrameInsets(impl_->border);
  const Point local{p.x + impl_->position.x + in.left, p.y + impl_->position.y + in.top};
  const Window* outer = parent_ ? parent_ : mdiFrame_;
  return outer ? outer->ClientToScreen(local) : local;
}

Point Window::ScreenToClient(Point p) const {
  const Rect in = FrameInsets(impl_->border);
  const Window* container = parent_ ? parent_ : mdiFrame_;
  const Point outer = container ? container->ScreenToClient(p) : p;
  return {outer.x - impl_->position.x - in.left, outer.y - impl_->position.y - in.top};
}

void Window::ShowNoActivate() {
  if (impl_->closed) return;
  // A child stays among its siblings; a top-level window goes to the top.
  if (kind_ != WindowKind::Child) {
    auto& windows = headless::GetState().windows;
    std::erase(windows, this);
    windows.push_back(this);
  }
  impl_->visible = true;
  Invalidate();
}

void Window::Hide() {
  if (!impl_->visible) return;
  impl_->visible = false;
  if (kind_ != WindowKind::Popup) Perform(msg::kShowWindow, 0, 0);
}

// Tests send keys to a window directly (Driver.h's PressKey): there is no keyboard to route.
void Window::TakeFocus() { headless::GetState().focus = this; }

void Window::SetRegion(std::optional<Region> region, bool redraw) {
  impl_->region = std::move(region);
  if (redraw) Invalidate();
}

const std::optional<Region>& Window::WindowRegion() const { return impl_->region; }

void Window::Invalidate() {
  if (!impl_->visible) return;
  Bitmap canvas(impl_->client.x, impl_->client.y);
  const auto param = reinterpret_cast<std::intptr_t>(&canvas);
  if (kind_ == WindowKind::Form) Perform(msg::kEraseBackground, 0, param);
  Perform(msg::kPaint, 0, param);
  impl_->screen = std::move(canvas);
}

void Window::SetOwnFrame(bool own) { impl_->ownFrame = own; }
bool Window::OwnFrame() const { return impl_->ownFrame; }
void Window::PresentFrame(const Bitmap& frame, const Rect&) { impl_->frame = frame; }

namespace headless {
const Bitmap& WindowImage(const Window& window) { return window.impl().screen; }
const Bitmap& PresentedFrame(const Window& window) { return window.impl().frame; }
const std::vector<std::optional<std::uint8_t>>& AlphaChanges(const Window& window) {
  return window.impl().alphaChanges;
}

void DragWindow(Window& window, Point topLeft) {
  // The system's move loop: the proposed rectangle may be changed by the window.
  window.Perform(msg::kEnterSizeMove, 0, 0);
  const Rect b = window.BoundsRect();
  Rect proposed{topLeft.x, topLeft.y, topLeft.x + b.Width(), topLeft.y + b.Height()};
  window.Perform(msg::kMoving, 0, reinterpret_cast<std::intptr_t>(&proposed));
  window.SetPosition(proposed.left, proposed.top);
  window.Perform(msg::kExitSizeMove, 0, 0);
}
}  // namespace headless

const std::string& Window::Caption() const { return impl_->caption; }
void Window::SetCaption(const std::string& caption) {
  impl_->caption = caption;
  Perform(msg::kSetText, 0, reinterpret_cast<std::intptr_t>(impl_->caption.c_str()));
}
BorderStyle Window::GetBorderStyle() const { return impl_->border; }
void Window::SetBorderStyle(BorderStyle style) { impl_->border = style; }

Rect Window::BoundsRect() const {
  const Rect in = FrameInsets(impl_->border);
  return {impl_->position.x, impl_->position.y,
          impl_->position.x + in.left + impl_->client.x + in.right,
          impl_->position.y + in.top + impl_->client.y + in.bottom};
}

Point Window::ClientSize() const { return impl_->client; }
void Window::SetClientSize(int width, int height) { impl_->client = {width, height}; }
void Window::SetPosition(int left, int top) { impl_->position = {left, top}; }

void Window::CenterOnDesktop() {
  const Rect b = BoundsRect();
  const Point desk = DesktopSize();
  SetPosition((desk.x - b.Width()) / 2, (desk.y - b.Height()) / 2);
}

void Window::Show() {
  if (impl_->closed) return;
  if (impl_->visible) {
    MDIActivate();
    return;
  }
  impl_->visible = true;
  if (headless::GetState().echo && kind_ != WindowKind::Child)
    std::fprintf(stderr, "[window] \"%s\" %d x %d at %d, %d\n", impl_->caption.c_str(), impl_->client.x,
                 impl_->client.y, impl_->position.x, impl_->position.y);
  Perform(msg::kShowWindow, 1, 0);
  if (OnShow) {
    try {
      OnShow();
    } catch (const std::exception& e) {
      if (Application::Exists()) Application::Instance().ShowException(e);
    }
  }
  if (impl_->visible) MDIActivate();
}

bool Window::Visible() const { return impl_->visible; }

void Window::Close() {
  if (impl_->closed) return;
  impl_->closed = true;
  impl_->visible = false;
  // An MDI child's hooks hear of its end while it is still one of the frame's children.
  if (mdiFrame_) {
    Perform(msg::kDestroy, 0, 0);
    DetachFromMDIFrame();
  }
  if (Application::Exists() && Application::Instance().MainForm() == this) Application::Instance().Terminate();
}

bool Window::Closed() const { return impl_->closed; }

std::intptr_t Window::Perform(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Message m{msg, wParam, lParam, 0};
  Dispatch(m);
  return m.result;
}

void Window::WndProc(Message& message) {
  if (message.msg == msg::kClose) Close();
}

void Window::SetAlpha(std::optional<std::uint8_t> alpha) {
  if (!LayeredWindowsAvailable()) return;
  impl_->alpha = alpha;
  impl_->alphaChanges.push_back(alpha);
}
std::optional<std::uint8_t> Window::Alpha() const { return impl_->alpha; }
void* Window::NativeHandle() const { return const_cast<Window*>(this); }

bool LayeredWindowsAvailable() { return headless::GetState().layeredWindows; }
Point DesktopSize() { return headless::GetState().desktop; }

}  // namespace platform
