#include "skControl.h"

#include <algorithm>

#include "platform/SysColors.h"

namespace skin {

TskControl::TskControl(platform::Window& parent)
    : platform::Window(parent), Color_(platform::SysColor(platform::SysColour::BtnFace)) {
  Font_.color = platform::SysColor(platform::SysColour::WindowText);
}

TskControl::~TskControl() = default;

void TskControl::SetBounds(int left, int top, int width, int height) {
  platform::Window::SetBounds({left, top, left + std::max(0, width), top + std::max(0, height)});
}

void TskControl::SetEnabled(bool enabled) {
  if (enabled == Enabled_) return;
  Enabled_ = enabled;
  Invalidate();
}

void TskControl::SetVisible(bool visible) {
  if (visible)
    ShowNoActivate();
  else
    Hide();
}

void TskControl::SetCaption(const std::string& caption) {
  if (caption == Caption()) return;
  platform::Window::SetCaption(caption);
  Invalidate();
}

void TskControl::SetFont(const TskFont& font) {
  Font_ = font;
  Invalidate();
}

void TskControl::SetColor(Colour color) {
  Color_ = color;
  Invalidate();
}

void TskControl::StoreSkinData(TskSkinData* data) {
  SkinData_ = data;
  FreeNotification(data);
}

void TskControl::SetSkinData(TskSkinData* data) {
  const bool hadRecord = SkinRecord() != nullptr;
  StoreSkinData(data);
  if (Designing()) return;
  // A control unbound from its skin must not keep that skin's size and shape.
  if ((data && !data->Empty) || hadRecord) SkinChanged();
}

int TskControl::LookUpSkinIndex() const {
  if (!SkinData_ || SkinData_->Empty) return -1;
  return SkinData_->GetControlIndex(RecordName());
}

void TskControl::ReadSkinRecord() { SkinIndex_ = LookUpSkinIndex(); }

void TskControl::SkinChanged() {
  ReadSkinRecord();
  Invalidate();
}

const TskDataSkinControl* TskControl::SkinRecord() const {
  if (SkinIndex_ < 0 || !SkinData_ || SkinData_->Empty) return nullptr;
  if (std::size_t(SkinIndex_) >= SkinData_->SkinControls.size()) return nullptr;
  return SkinData_->SkinControls[std::size_t(SkinIndex_)].get();
}

void TskControl::Notification(TskComponent* removed) {
  if (removed != SkinData_) return;
  SkinData_ = nullptr;
  // Whatever was copied from the record points into the removed skin; the
  // control goes plain at once, without the skin's shape.
  SkinChanged();
}

void TskControl::Paint(platform::Bitmap& canvas) { canvas.FillRect(canvas.BoundsRect(), Color_); }
void TskControl::MouseDown(TMouseButton, int, int) {}
void TskControl::MouseUp(TMouseButton, int, int) {}
void TskControl::MouseMove(int, int) {}

void TskControl::MouseEnter() {
  MouseIn_ = true;
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TskControl::MouseLeave() {
  MouseIn_ = false;
  if (OnMouseLeave) OnMouseLeave(*this);
}

void TskControl::KeyDown(std::uint32_t) {}
void TskControl::KeyPress(char32_t) {}

void TskControl::WndProc(platform::Message& m) {
  namespace msg = platform::msg;
  const Point p = platform::ParamToPoint(m.lParam);
  switch (m.msg) {
    case msg::kPaint:
      if (auto* canvas = reinterpret_cast<platform::Bitmap*>(m.lParam)) Paint(*canvas);
      return;
    case msg::kMouseEnter: MouseEnter(); return;
    case msg::kMouseLeave: MouseLeave(); return;
    case msg::kMouseMove:
      if (Enabled_) MouseMove(p.x, p.y);
      return;
    case msg::kLButtonDown:
    case msg::kRButtonDown:
    case msg::kMButtonDown:
    case msg::kLButtonUp:
    case msg::kRButtonUp:
    case msg::kMButtonUp: {
      if (!Enabled_) return;
      const bool down = m.msg == msg::kLButtonDown || m.msg == msg::kRButtonDown || m.msg == msg::kMButtonDown;
      const TMouseButton b = (m.msg == msg::kLButtonDown || m.msg == msg::kLButtonUp)   ? TMouseButton::mbLeft
                             : (m.msg == msg::kRButtonDown || m.msg == msg::kRButtonUp) ? TMouseButton::mbRight
                                                                                       : TMouseButton::mbMiddle;
      if (down)
        MouseDown(b, p.x, p.y);
      else
        MouseUp(b, p.x, p.y);
      return;
    }
    case msg::kKeyDown:
    case msg::kSysKeyDown:
      // The form's short cuts come before the control's own keys, whichever
      // control has the focus; the key's character then goes nowhere.
      swallowChar_ = OfferToForm(std::uint32_t(m.wParam));
      if (swallowChar_) return;
      if (m.msg == msg::kKeyDown && Enabled_) KeyDown(std::uint32_t(m.wParam));
      if (m.msg == msg::kSysKeyDown) platform::Window::WndProc(m);
      return;
    case msg::kChar:
      if (swallowChar_) {
        swallowChar_ = false;
        return;
      }
      if (Enabled_) KeyPress(char32_t(m.wParam));
      return;
    default: platform::Window::WndProc(m);
  }
}

bool TskControl::OfferToForm(std::uint32_t key) {
  platform::Window* form = this;
  while (form->Parent()) form = form->Parent();
  return form != this && form->Perform(platform::msg::kChildKeyDown, key, 0) != 0;
}

platform::Font RecordFont(const std::string& name, TFontStyles style, int height, const platform::Font& charsetFrom) {
  platform::Font f;
  f.name = name;
  f.style = style;
  f.height = height;
  f.charset = charsetFrom.charset;
  return f;
}

}  // namespace skin
