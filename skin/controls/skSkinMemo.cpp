#include "skSkinMemo.h"

#include <algorithm>

#include "platform/SysColors.h"
#include "skCtrlDraw.h"
#include "skSkinScrollBar.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
constexpr int kTextInset = 3;
constexpr char32_t kBackspace = 0x08, kReturn = 0x0D;
constexpr unsigned kLineFlags =
    platform::textflag::kLeft | platform::textflag::kSingleLine | platform::textflag::kNoPrefix;

}  // namespace

// --- TskMemo ---

TskMemo::TskMemo(platform::Window& parent) : TskControl(parent) {
  SetColor(SysColor(SysColour::WindowBackground));
  SetBounds(0, 0, 185, 89);
}

void TskMemo::SetLines(std::vector<std::string> lines) {
  Lines_ = std::move(lines);
  TopLine_ = std::clamp(TopLine_, 0, std::max(0, int(Lines_.size()) - 1));
  LinesChanged();
  Invalidate();
  if (OnChange) OnChange(*this);
}

std::string TskMemo::Text() const {
  std::string t;
  for (std::size_t i = 0; i < Lines_.size(); ++i) t += (i ? "\r\n" : "") + Lines_[i];
  return t;
}

void TskMemo::SetText(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  // A final line break ends the last line; it does not start another.
  if (!line.empty()) lines.push_back(std::move(line));
  SetLines(std::move(lines));
}

void TskMemo::SetTopLine(int line) {
  const int top = std::clamp(line, 0, std::max(0, int(Lines_.size()) - 1));
  if (top == TopLine_) return;
  TopLine_ = top;
  Invalidate();
}

void TskMemo::SetLeftOffset(int pixels) {
  LeftOffset_ = std::max(0, pixels);
  Invalidate();
}

int TskMemo::LineHeight() const { return std::max(1, platform::TextExtent(TextFont().font, "Xg", kLineFlags).y); }

int TskMemo::VisibleLineCount() const { return std::max(1, TextArea().Height() / LineHeight()); }

Rect TskMemo::TextArea() const {
  return {kTextInset, kTextInset, Width() - kTextInset, Height() - kTextInset};
}

TskMemo::~TskMemo() {
  LinkScrollBar(VBar_, nullptr, true);
  LinkScrollBar(HBar_, nullptr, false);
}

void TskMemo::LinkScrollBar(TskSkinScrollBar*& link, TskSkinScrollBar* bar, bool vertical) {
  if (link) link->OnChange = nullptr;
  link = bar;
  if (!bar) return;
  FreeNotification(bar);
  bar->SetKind(vertical ? TScrollBarKind::sbVertical : TScrollBarKind::sbHorizontal);
  if (vertical)
    bar->OnChange = [this](TskSkinScrollBar& b) { SetTopLine(b.Position()); };
  else
    bar->OnChange = [this](TskSkinScrollBar& b) { SetLeftOffset(b.Position()); };
  LinesChanged();
}

void TskMemo::Notification(TskComponent* removed) {
  TskControl::Notification(removed);
  if (removed == VBar_) VBar_ = nullptr;
  if (removed == HBar_) HBar_ = nullptr;
}

void TskMemo::LinesChanged() {
  if (VBar_) {
    VBar_->SetRange(0, std::max(0, int(Lines_.size()) - VisibleLineCount()));
    VBar_->SetPosition(TopLine_);
  }
  if (HBar_) {
    int widest = 0;
    for (const std::string& line : Lines_)
      widest = std::max(widest, platform::TextExtent(TextFont().font, line, kLineFlags).x);
    HBar_->SetRange(0, std::max(0, widest - TextArea().Width()));
    HBar_->SetPosition(LeftOffset_);
  }
}

void TskMemo::DrawLines(Bitmap& canvas, const Rect& r, const TskFont& font) {
  const int h = LineHeight();
  int y = r.top;
  for (std::size_t i = std::size_t(TopLine_); i < Lines_.size() && y < r.bottom; ++i, y += h) {
    Bitmap line(std::max(1, r.Width()), h);
    line.CopyRect(0, 0, canvas, {r.left, y, r.right, y + h});
    platform::PaintText(line, font.font, {-LeftOffset_, 0, r.Width() + 4096, h}, Lines_[i], font.color, kLineFlags);
    canvas.CopyRect(r.left, y, line, {0, 0, r.Width(), std::min(h, r.bottom - y)});
  }
}

void TskMemo::Paint(Bitmap& canvas) {
  const Rect all = ClientRect();
  canvas.FillRect(all, Enabled() ? Color() : SysColor(SysColour::BtnFace));
  DrawEdge3D(canvas, all, false);
  DrawEdge3D(canvas, {1, 1, all.right - 1, all.bottom - 1}, false);
  TskFont font = Font();
  if (!Enabled()) font.color = SysColor(SysColour::BtnShadow);
  DrawLines(canvas, TextArea(), font);
}

void TskMemo::KeyPress(char32_t ch) {
  if (ReadOnly) return;
  std::vector<std::string> lines = Lines_;
  if (lines.empty()) lines.emplace_back();
  std::string& last = lines.back();
  if (ch == kReturn) {
    lines.emplace_back();
  } else if (ch == kBackspace) {
    if (!last.empty()) {
      std::size_t n = last.size() - 1;
      while (n > 0 && (static_cast<unsigned char>(last[n]) & 0xC0) == 0x80) --n;
      last.erase(n);
    } else if (lines.size() > 1) {
      lines.pop_back();
    }
  } else if (ch >= 0x20) {
    last += Utf8Char(ch);
  } else {
    return;
  }
  SetLines(std::move(lines));
}

// --- TskSkinMemoBase ---

TskSkinMemoBase::TskSkinMemoBase(platform::Window& parent) : TskMemo(parent), DefaultFont_(DefaultControlFont()) {
  SkinDataName = "memo";
}

void TskSkinMemoBase::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinMemoBase::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinMemoBase::ReadSkinRecord() {
  TskMemo::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinMemoControl>()) SetSkinIndex(-1);
}

Rect TskSkinMemoBase::TextArea() const {
  const auto* r = SkinRecordAs<TskDataSkinMemoControl>();
  if (!r || IsNullRect(r->clientrect)) return TskMemo::TextArea();
  const Rect c = MoveClient(r->clientrect, r->skinrect, Width(), Height());
  return {c.left + 1, c.top + 1, c.right - 1, c.bottom - 1};
}

TskFont TskSkinMemoBase::TextFont() const {
  TskFont f = ChooseRecordFont(SkinRecordAs<TskDataSkinMemoControl>(), UseSkinFont, DefaultFont_, Font());
  if (const auto* r = SkinRecordAs<TskDataSkinMemoControl>(); r && !Enabled()) f.color = r->disabledfontcolor;
  return f;
}

void TskSkinMemoBase::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinMemoControl>();
  if (!r) {
    TskMemo::Paint(canvas);
    return;
  }
  const Bitmap* picture = SkinData()->GetActivePicture(r->pictureindex);
  const bool active = Enabled() && MouseInControl();
  Bitmap image(Width(), Height(), r->bgcolor);
  const Rect client =
      DrawSkinFrame(image, *r, picture, active && !IsNullRect(r->activeskinrect) ? r->activeskinrect : r->skinrect);
  if (!PictureBackground() && !IsNullRect(client)) image.FillRect(client, active ? r->activebgcolor : r->bgcolor);
  DrawLines(image, TextArea(), TextFont());
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskSkinMemoBase::MouseEnter() {
  TskMemo::MouseEnter();
  Invalidate();
}

void TskSkinMemoBase::MouseLeave() {
  TskMemo::MouseLeave();
  Invalidate();
}

// --- TskSkinMemo, TskSkinMemo2 ---

TskSkinMemo::TskSkinMemo(platform::Window& parent) : TskSkinMemoBase(parent) {}

void TskSkinMemo::SetBitMapBG(bool on) {
  BitMapBG_ = on;
  Invalidate();
}

TskSkinMemo2::TskSkinMemo2(platform::Window& parent) : TskSkinMemoBase(parent) {}

}  // namespace skin
