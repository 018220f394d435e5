#include "platform/Window.h"

#include <cstdio>

#include "State.h"
#include "platform/Application.h"

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
};

namespace {
constexpr int kFrameWidth = 4;     // sizing border, each side
constexpr int kCaptionHeight = 20; // caption bar

Rect FrameInsets(BorderStyle style) {
  if (style == BorderStyle::None) return {};
  return {kFrameWidth, kFrameWidth + kCaptionHeight, kFrameWidth, kFrameWidth};
}
}  // namespace

Window::Window() : impl_(std::make_unique<Impl>()) {
  if (Application::Exists()) Application::Instance().AddForm(this);
}

Window::~Window() {
  if (Application::Exists()) Application::Instance().RemoveForm(this);
}

const std::string& Window::Caption() const { return impl_->caption; }
void Window::SetCaption(const std::string& caption) { impl_->caption = caption; }
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
  if (impl_->visible || impl_->closed) return;
  impl_->visible = true;
  if (headless::GetState().echo)
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
}

bool Window::Visible() const { return impl_->visible; }

void Window::Close() {
  if (impl_->closed) return;
  impl_->closed = true;
  impl_->visible = false;
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

void Window::SetAlpha(std::optional<std::uint8_t> alpha) { impl_->alpha = alpha; }
std::optional<std::uint8_t> Window::Alpha() const { return impl_->alpha; }
void* Window::NativeHandle() const { return const_cast<Window*>(this); }

bool LayeredWindowsAvailable() { return true; }
Point DesktopSize() { return headless::GetState().desktop; }

}  // namespace platform
