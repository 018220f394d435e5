// Top-level windows and their messages. A window's messages run through a chain
// of hooks (the newest first) and then the window's own procedure, so that a
// component can take over a window the way subclassing does on Win32.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Messages.h"
#include "platform/Region.h"
#include "platform/Types.h"

namespace platform {

class Bitmap;
class MenuItem;

// A form is an application window (the first one becomes the main form); a
// popup is a borderless, topmost tool window that never takes the focus and is
// not one of the application's forms: menus and hints. A child is a control
// window inside another window's client area.
enum class WindowKind { Form, Popup, Child };

enum class BorderStyle { None, Single, Sizeable };

// A form on its own, an MDI frame (a form whose client area holds other forms),
// or an MDI child living in its frame's client area.
enum class FormStyle { Normal, MDIForm, MDIChild };

// The side of its parent's client area a control keeps itself to. The window
// does not lay its children out; a control that aligns itself says so here, so
// that the room left between the aligned controls can be worked out.
enum class ControlAlign { None, Top, Bottom, Left, Right };

// Where and how a form is born: its caption, border and client size, centred on
// the desktop.
struct FormPlacement {
  std::string caption;
  BorderStyle border = BorderStyle::Sizeable;
  int clientWidth = 0, clientHeight = 0;
};

class Window {
 public:
  // A hidden top-level window; it joins the application's list of forms, and the
  // first one becomes the main form.
  Window();
  // A hidden form created with its final caption, border, size and place, so
  // that no one ever sees it at another size or place.
  explicit Window(const FormPlacement& placement);
  explicit Window(WindowKind kind);
  // A visible child window of `parent`, painted like a popup (kPaint into a
  // bitmap of its size), placed in the parent's client coordinates. A parent
  // destroyed first takes its children's native windows with it.
  explicit Window(Window& parent);
  // A hidden form of the given style; an MDI child needs its frame (an MDI
  // frame form), whose client area it lives in: its bounds are in the frame's
  // client coordinates.
  Window(FormStyle style, Window* mdiFrame);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const std::string& Caption() const;
  void SetCaption(const std::string& caption);
  // The application's hint for the window (platform/Hints.h), shown while the
  // mouse rests on it unless ShowHint is off.
  std::string Hint;
  bool ShowHint = true;
  BorderStyle GetBorderStyle() const;
  void SetBorderStyle(BorderStyle style);

  // Outer bounds on the desktop, and the client area's size.
  Rect BoundsRect() const;
  Point ClientSize() const;
  void SetClientSize(int width, int height);
  void SetPosition(int left, int top);
  void CenterOnDesktop();

  WindowKind Kind() const { return kind_; }
  // The window a child lives in (nullptr for top-level windows, and for a child
  // whose parent is gone), and the children in creation order.
  Window* Parent() const { return parent_; }
  const std::vector<Window*>& Children() const { return children_; }
  FormStyle Style() const { return style_; }
  // An MDI child's frame (nullptr once the child has closed or the frame is gone).
  Window* MDIFrame() const { return mdiFrame_; }
  // An MDI frame's children in creation order, the closed ones gone, and the one
  // that has the activation. Showing a child activates it; when the active one
  // closes, the last child still visible takes over. A change tells both
  // children (kNCActivate, wParam 0 for the one losing it, 1 for the new one).
  const std::vector<Window*>& MDIChildren() const { return mdiChildren_; }
  Window* ActiveMDIChild() const { return activeMDIChild_; }
  void MDIActivate();
  // The menu an MDI frame lists its children in (not owned).
  MenuItem* WindowMenu = nullptr;
  // The form's name in the program.
  std::string Name;
  ControlAlign Align = ControlAlign::None;

  // Outer bounds on the desktop (a popup has no frame: bounds and client agree);
  // a child's bounds are in its parent's client coordinates.
  void SetBounds(const Rect& bounds);
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;
  // Shows the window on top of all others without activating it (popups).
  void ShowNoActivate();
  void Hide();
  // Gives the window the keyboard (a child control that takes typing).
  void TakeFocus();
  // The window's shape; nullopt gives back the whole rectangle.
  void SetRegion(std::optional<Region> region, bool redraw);
  const std::optional<Region>& WindowRegion() const;
  // Asks for a kPaint of the whole client area (the headless backend paints at once).
  // A form's kPaint comes after kEraseBackground into the same bitmap.
  void Invalidate();

  // A component draws the form's frame itself: the system then draws no caption,
  // border or caption buttons of its own (a sizable form stays sizable).
  void SetOwnFrame(bool own);
  bool OwnFrame() const;
  // Puts a picture of the whole window on the screen in one copy, all of it but
  // `client` (window coordinates), inside the window's region.
  void PresentFrame(const Bitmap& frame, const Rect& client);

  // Show runs OnShow (the form's show handler) while the window becomes visible;
  // an error escaping OnShow goes to the application's default error report.
  void Show();
  bool Visible() const;
  std::function<void()> OnShow;

  // Closes and destroys the native window; closing the main form ends the application.
  void Close();
  bool Closed() const;

  // Sends a message through the hooks and the window's procedure; returns its result.
  std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  using MessageHook = std::function<bool(Window&, Message&)>;  // true: handled
  int AddMessageHook(MessageHook hook);
  void RemoveMessageHook(int id);

  // Layered-window alpha (0..255); nullopt makes the window opaque again.
  void SetAlpha(std::optional<std::uint8_t> alpha);
  std::optional<std::uint8_t> Alpha() const;

  // HWND on Win32; the window itself on the headless backend.
  void* NativeHandle() const;

  struct Impl;
  Impl& impl() const { return *impl_; }

 protected:
  // The window's own procedure: what is left after the hooks. The default does
  // the platform's default processing.
  virtual void WndProc(Message& message);

 private:
  friend struct WindowDispatch;
  // Runs a message through the hooks, newest first, then WndProc.
  void Dispatch(Message& message);
  // Parent bookkeeping shared by the backends.
  void AttachToParent(Window& parent);
  void DetachFromParent();
  // The children of a dying parent forget it; returns them.
  std::vector<Window*> OrphanChildren();
  // MDI bookkeeping shared by the backends: joining the frame, and leaving it
  // (on closing or destruction) with the activation passed on.
  void AttachToMDIFrame(Window& frame);
  void DetachFromMDIFrame();
  // A dying frame's children forget it.
  void OrphanMDIChildren();
  Window* parent_ = nullptr;
  FormStyle style_ = FormStyle::Normal;
  Window* mdiFrame_ = nullptr;
  std::vector<Window*> mdiChildren_;
  Window* activeMDIChild_ = nullptr;
  std::vector<Window*> children_;
  std::vector<std::pair<int, MessageHook>> hooks_;
  int nextHookId_ = 1;
  WindowKind kind_ = WindowKind::Form;
  std::unique_ptr<Impl> impl_;
};

// Whether the platform can make windows translucent.
bool LayeredWindowsAvailable();

// The desktop's size in pixels.
Point DesktopSize();

}  // namespace platform
