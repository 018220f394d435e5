#include "skSkinEdit.h"

#include <algorithm>

#include "platform/Input.h"
#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
constexpr int kTextInset = 3;

TskCustomEdit* focusedEdit = nullptr;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t CharCount(const std::string& s) {
  return std::size_t(std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuation(c); }));
}
}  // namespace

TskCustomEdit::TskCustomEdit(platform::Window& parent) : TskControl(parent) {
  SetColor(SysColor(SysColour::WindowBackground));
  SetBounds(0, 0, 121, 21);
}

TskCustomEdit::~TskCustomEdit() {
  if (focusedEdit == this) focusedEdit = nullptr;
}

void TskCustomEdit::SetText(const std::string& text) {
  if (text == Text()) return;
  SetCaption(text);
  SelStart_ = std::min(SelStart_, int(text.size()));
  while (SelStart_ > 0 && IsContinuation(text[std::size_t(SelStart_)])) --SelStart_;
  if (OnChange) OnChange(*this);
}

void TskCustomEdit::SetSelStart(int pos) {
  const std::string& t = Text();
  pos = std::clamp(pos, 0, int(t.size()));
  while (pos > 0 && pos < int(t.size()) && IsContinuation(t[std::size_t(pos)])) --pos;
  SelStart_ = pos;
  Invalidate();
}

void TskCustomEdit::SetFocus() {
  if (focusedEdit == this) return;
  if (TskCustomEdit* old = focusedEdit) {
    old->Focused_ = false;
    old->Invalidate();
  }
  focusedEdit = this;
  Focused_ = true;
  TakeFocus();
  Invalidate();
}

std::string TskCustomEdit::DisplayText() const {
  if (!PasswordChar) return Text();
  return std::string(CharCount(Text()), PasswordChar);
}

void TskCustomEdit::DrawEditText(Bitmap& canvas, const Rect& r, const TskFont& font) {
  const std::string shown = DisplayText();
  constexpr unsigned flags = platform::textflag::kLeft | platform::textflag::kVCenter |
                             platform::textflag::kSingleLine | platform::textflag::kNoPrefix;
  DrawControlText(canvas, font, r, shown, flags, Enabled());
  if (!Focused_ || !Enabled()) return;
  const std::string before =
      PasswordChar ? std::string(CharCount(Text().substr(0, std::size_t(SelStart_))), PasswordChar)
                   : Text().substr(0, std::size_t(SelStart_));
  const int x = r.left + platform::TextExtent(font.font, before, flags).x;
  const int h = platform::TextExtent(font.font, "Xg", flags).y;
  const int top = r.top + (r.Height() - h) / 2;
  canvas.FillRect({x, std::max(r.top, top), x + 1, std::min(r.bottom, top + h)}, font.color);
}

void TskCustomEdit::Paint(Bitmap& canvas) {
  const Rect all = ClientRect();
  canvas.FillRect(all, Enabled() ? Color() : SysColor(SysColour::BtnFace));
  DrawEdge3D(canvas, all, false);
  DrawEdge3D(canvas, {1, 1, all.right - 1, all.bottom - 1}, false);
  DrawEditText(canvas, {kTextInset, kTextInset, all.right - kTextInset, all.bottom - kTextInset}, Font());
}

void TskCustomEdit::MouseDown(TMouseButton button, int, int) {
  if (button == TMouseButton::mbLeft) SetFocus();
}

void TskCustomEdit::KeyDown(std::uint32_t key) {
  const std::string& t = Text();
  int pos = SelStart_;
  switch (key) {
    case platform::vk::kLeft:
      if (pos > 0) do --pos; while (pos > 0 && IsContinuation(t[std::size_t(pos)]));
      break;
    case platform::vk::kRight:
      if (pos < int(t.size())) do ++pos; while (pos < int(t.size()) && IsContinuation(t[std::size_t(pos)]));
      break;
    case platform::vk::kHome: pos = 0; break;
    case platform::vk::kEnd: pos = int(t.size()); break;
    case platform::vk::kDelete: {
      if (ReadOnly || pos >= int(t.size())) return;
      int end = pos + 1;
      while (end < int(t.size()) && IsContinuation(t[std::size_t(end)])) ++end;
      std::string next = t;
      next.erase(std::size_t(pos), std::size_t(end - pos));
      SetText(next);
      break;
    }
    default: return;
  }
  SetSelStart(pos);
}

void TskCustomEdit::KeyPress(char32_t ch) {
  if (ReadOnly) return;
  std::string t = Text();
  if (ch == U'\b') {
    if (SelStart_ == 0) return;
    int from = SelStart_;
    do --from; while (from > 0 && IsContinuation(t[std::size_t(from)]));
    t.erase(std::size_t(from), std::size_t(SelStart_ - from));
    SelStart_ = from;
    SetText(t);
    Invalidate();
    return;
  }
  if (ch < 0x20 || (MaxLength > 0 && CharCount(t) >= std::size_t(MaxLength))) return;
  const std::string add = Utf8Char(ch);
  t.insert(std::size_t(SelStart_), add);
  SelStart_ += int(add.size());
  SetText(t);
  Invalidate();
}

// --- TskSkinCustomEdit ---

TskSkinCustomEdit::TskSkinCustomEdit(platform::Window& parent)
    : TskCustomEdit(parent), DefaultFont_(DefaultControlFont()) {
  SkinDataName = "edit";
}

void TskSkinCustomEdit::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinCustomEdit::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinCustomEdit::ReadSkinRecord() {
  TskCustomEdit::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinEditControl>()) SetSkinIndex(-1);
}

void TskSkinCustomEdit::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinEditControl>();
  if (!r) {
    TskCustomEdit::Paint(canvas);
    return;
  }
  const Bitmap* picture = SkinData()->GetActivePicture(r->pictureindex);
  const bool active = Enabled() && (Focused() || MouseInControl()) && !IsNullRect(r->activeskinrect);
  Bitmap image(Width(), Height(), SysColor(SysColour::WindowBackground));
  const Rect client = DrawSkinFrame(image, *r, picture, active ? r->activeskinrect : r->skinrect);
  TskFont font = ChooseRecordFont(r, UseSkinFont, DefaultFont_, Font());
  if (!Enabled()) font.color = r->disabledfontcolor;
  else if (active) font.color = r->activefontcolor;
  // A disabled edit shows its record's disabled colour instead of the engraved text.
  const bool enabled = Enabled();
  const Rect textRect = IsNullRect(client) ? ClientRect() : client;
  constexpr unsigned flags = platform::textflag::kLeft | platform::textflag::kVCenter |
                             platform::textflag::kSingleLine | platform::textflag::kNoPrefix;
  if (enabled)
    DrawEditText(image, textRect, font);
  else
    platform::PaintText(image, font.font, textRect, DisplayText(), font.color, flags);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskSkinCustomEdit::MouseEnter() {
  TskCustomEdit::MouseEnter();
  Invalidate();
}

void TskSkinCustomEdit::MouseLeave() {
  TskCustomEdit::MouseLeave();
  Invalidate();
}

}  // namespace skin
