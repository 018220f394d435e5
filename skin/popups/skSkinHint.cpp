#include "skSkinHint.h"

#include <algorithm>
#include <vector>

#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/SysColors.h"
#include "skUtils.h"

namespace skin {

namespace {

// Every live component and hint window, in creation order: the components stand
// for "the main form's components", the windows are told when a component goes.
std::vector<TskSkinHint*>& Components() {
  static std::vector<TskSkinHint*> list;
  return list;
}
std::vector<TskSkinHintWindow*>& HintWindows() {
  static std::vector<TskSkinHintWindow*> list;
  return list;
}

platform::Window* MainForm() {
  return platform::Application::Exists() ? platform::Application::Instance().MainForm() : nullptr;
}

// The plain hint: text inset by 2 inside a 1-pixel frame.
constexpr int kPlainInset = 2;
// A hint that would leave the screen is moved back by its size and this gap.
constexpr int kEdgeGap = 2;

}  // namespace

// ---------------------------------------------------------------- TskSkinHintWindow

TskSkinHintWindow::TskSkinHintWindow() : platform::Window(platform::WindowKind::Popup) {
  HintWindows().push_back(this);
}

TskSkinHintWindow::~TskSkinHintWindow() { std::erase(HintWindows(), this); }

const platform::Bitmap* TskSkinHintWindow::SkinPicture() const {
  return ActiveSkin ? ActiveSkin->GetActivePicture(ActiveSkin->HintWindow.windowpictureindex) : nullptr;
}

void TskSkinHintWindow::ActivateHint(const Rect& rect, const std::string& hint) {
  TskSkinHint* serving = TskSkinHint::ServingComponent();
  if (!serving) return;
  ServingHint = serving;
  TskSkinData* skin = serving->SkinData();
  ActiveSkin = skin && !skin->Empty && skin->HintWindow.windowpictureindex != kNoPicture ? skin : nullptr;
  // A picture index outside the picture list cannot be drawn: the plain look.
  if (!SkinPicture()) ActiveSkin = nullptr;
  const platform::Font& def = serving->DefaultFont();
  if (ActiveSkin && serving->UseSkinFont) {
    const auto& r = ActiveSkin->HintWindow;
    font_ = platform::Font{r.fontname, r.fontheight, r.fontstyle, def.charset};
  } else {
    font_ = def;
  }
  text_ = hint;
  const platform::Point t = platform::TextExtent(font_, hint, platform::textflag::kCenter);
  int w = t.x + 2 * kPlainInset, h = t.y + 2 * kPlainInset;
  if (ActiveSkin) {
    const auto& r = ActiveSkin->HintWindow;
    const platform::Bitmap& pic = *SkinPicture();
    const int pw = pic.Width(), ph = pic.Height();
    const Rect& cr = r.clientrect;
    w = std::max(t.x + cr.left + pw - cr.right, pw);
    h = std::max(t.y + cr.top + ph - cr.bottom, ph);
    ClientRect = {cr.left, cr.top, w + cr.right - pw, h + cr.bottom - ph};
    LTPoint = r.lefttoppoint;
    RTPoint = {w + r.righttoppoint.x - pw, r.righttoppoint.y};
    LBPoint = {r.leftbottompoint.x, r.leftbottompoint.y + h - ph};
    RBPoint = {w + r.rightbottompoint.x - pw, r.rightbottompoint.y + h - ph};
  }
  Rect bounds{rect.left, rect.top, rect.left + w, rect.top + h};
  const platform::Point screen = platform::DesktopSize();
  if (bounds.right > screen.x) bounds = {bounds.left - w - kEdgeGap, bounds.top, bounds.right - w - kEdgeGap, bounds.bottom};
  if (bounds.bottom > screen.y) bounds = {bounds.left, bounds.top - h - kEdgeGap, bounds.right, bounds.bottom - h - kEdgeGap};
  if (LayeredWindowsAvailable()) {
    if (serving->AlphaBlend != layered_) {
      if (!serving->AlphaBlend) {
        SetAlpha(std::nullopt);
        appliedAlpha_.reset();
      }
      layered_ = serving->AlphaBlend;
    }
    if (serving->AlphaBlend && appliedAlpha_ != serving->AlphaBlendValue) {
      SetWindowAlpha(*this, serving->AlphaBlendValue);
      appliedAlpha_ = serving->AlphaBlendValue;
    }
  }
  SetBounds(bounds);
  const auto& r = ActiveSkin ? ActiveSkin->HintWindow : TskDataSkinHintWindow{};
  const platform::Bitmap* mask = ActiveSkin ? ActiveSkin->GetActivePicture(r.maskpictureindex) : nullptr;
  if (ActiveSkin && mask) {
    const TskStretchGeometry source{r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint,
                                    r.clientrect};
    const TskStretchGeometry target{LTPoint, RTPoint, LBPoint, RBPoint, ClientRect};
    SetRegion(BuildFrameRegion(source, r.clientrect, *mask, w, h, target, ClientRect), false);
  } else {
    SetRegion(std::nullopt, false);
  }
  ShowNoActivate();
  Invalidate();
}

void TskSkinHintWindow::Paint(platform::Bitmap& canvas) const {
  using platform::SysColor;
  using platform::SysColour;
  const int w = canvas.Width(), h = canvas.Height();
  const platform::Bitmap* pic = SkinPicture();
  if (ActiveSkin && pic) {
    const auto& r = ActiveSkin->HintWindow;
    const TskStretchGeometry source{r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint,
                                    r.clientrect};
    const TskStretchGeometry target{LTPoint, RTPoint, LBPoint, RBPoint, ClientRect};
    platform::Bitmap frame;
    BuildStretchImage(source, pic->BoundsRect(), *pic, w, h, target, true, frame);
    canvas.CopyRect(0, 0, frame, frame.BoundsRect());
    const platform::Point t = platform::TextExtent(font_, text_, platform::textflag::kCenter);
    const int left = ClientRect.left + ClientRect.Width() / 2 - t.x / 2;
    const int top = ClientRect.top + ClientRect.Height() / 2 - t.y / 2;
    platform::PaintText(canvas, font_, {left, top, left + t.x, top + t.y}, text_, r.fontcolor,
                        platform::textflag::kCenter);
    return;
  }
  canvas.FillRect({0, 0, w, h}, SysColor(SysColour::InfoBk));
  canvas.FrameRect({0, 0, w, h}, SysColor(SysColour::BtnShadow));
  platform::PaintText(canvas, font_, {kPlainInset, kPlainInset, w - kPlainInset, h - kPlainInset}, text_,
                      SysColor(SysColour::InfoText));
}

void TskSkinHintWindow::WndProc(platform::Message& m) {
  if (m.msg == platform::msg::kPaint) {
    Paint(*reinterpret_cast<platform::Bitmap*>(m.lParam));
    return;
  }
  if (m.msg == platform::msg::kMouseActivate) {
    m.result = platform::msg::kNoActivate;
    return;
  }
  platform::Window::WndProc(m);
}

// ---------------------------------------------------------------- TskSkinHint

namespace {
// The component the application's OnShowHint is forwarded to, if any.
TskSkinHint* ForwardTarget = nullptr;
}  // namespace

TskSkinHint::TskSkinHint(platform::Window* ownerForm)
    : owner_(ownerForm), OwnHintWindow_(std::make_unique<TskSkinHintWindow>()) {
  Components().push_back(this);
  TskHintTiming::HintShortPause = 100;
  ForwardApplicationEvents();
}

void TskSkinHint::ForwardApplicationEvents() {
  // The application's hints appear in the skinned hint window of whichever
  // component serves at that moment.
  platform::ApplicationHints::SetHintWindowClass(
      {[](const std::string& text, Point cursor) {
         if (TskSkinHint* c = ServingComponent()) c->ShowApplicationHint(text, cursor);
       },
       [] {
         if (TskSkinHint* c = ServingComponent()) c->HideHintText();
       }});
  ForwardTarget = this;
  platform::ApplicationHints::OnShowHint = [](std::string& hintStr, bool& canShow, platform::HintInfo& info) {
    if (ForwardTarget && ForwardTarget->OnShowHint) ForwardTarget->OnShowHint(hintStr, canShow, info);
  };
}

void TskSkinHint::ShowApplicationHint(const std::string& text, Point cursor) {
  DelayTimer.reset();
  const int y = cursor.y + platform::CursorDepthBelowHotSpot();
  OwnHintWindow_->ActivateHint({cursor.x, y, cursor.x, y}, text);
  showing_ = OwnHintWindow_->Visible();
}

TskSkinHint::~TskSkinHint() {
  // A forwarding left behind would call into a freed component.
  if (ForwardTarget == this) {
    ForwardTarget = nullptr;
    platform::ApplicationHints::CancelHint();
  }
  DelayTimer.reset();
  std::erase(Components(), this);
  for (TskSkinHintWindow* w : HintWindows())
    if (w->ServingHint == this) {
      w->ServingHint = nullptr;
      w->ActiveSkin = nullptr;
    }
}

TskSkinHint* TskSkinHint::ServingComponent() {
  platform::Window* main = MainForm();
  if (!main) return nullptr;
  for (TskSkinHint* c : Components())
    if (c->owner_ == main && c->Active_) return c;
  return nullptr;
}

void TskSkinHint::SetSkinData(TskSkinData* value) {
  SkinData_ = value;
  if (value) FreeNotification(value);
}

void TskSkinHint::Notification(TskComponent* removed) {
  if (removed != SkinData_) return;
  SkinData_ = nullptr;
  for (TskSkinHintWindow* w : HintWindows())
    if (w->ActiveSkin == removed) w->ActiveSkin = nullptr;
}

void TskSkinHint::SetActive(bool value) {
  if (value) {
    platform::Window* main = MainForm();
    for (TskSkinHint* c : Components())
      if (c != this && c->Active_ && main && c->owner_ == main) c->Active_ = false;
  }
  Active_ = value;
  if (value) ForwardApplicationEvents();
}

void TskSkinHint::ShowHintText(const std::string& text) {
  DelayTimer.reset();
  showing_ = false;
  PendingText_ = text;
  DelayTimer = std::make_unique<platform::Timer>();
  DelayTimer->SetInterval(TskHintTiming::HintPause);
  DelayTimer->SetOnTimer([this] { DelayElapsed(); });
}

void TskSkinHint::DelayElapsed() {
  if (showing_) {
    HideHintText();
    return;
  }
  const platform::Point cursor = platform::CursorPos();
  const int y = cursor.y + platform::CursorDepthBelowHotSpot();
  OwnHintWindow_->ActivateHint({cursor.x, y, cursor.x, y}, PendingText_);
  showing_ = true;
  DelayTimer->SetInterval(TskHintTiming::HintHidePause);
}

void TskSkinHint::HideHintText() {
  // The timer may be the caller: stop it now, free it once its tick is over.
  if (DelayTimer) DelayTimer->SetEnabled(false);
  showing_ = false;
  if (OwnHintWindow_->Visible()) OwnHintWindow_->Hide();
}

}  // namespace skin
