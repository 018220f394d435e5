#include "skSkinLabels.h"

#include <algorithm>

#include "platform/Shell.h"
#include "platform/SysColors.h"
#include "skCtrlDraw.h"
#include "skUtils.h"

namespace skin {

using platform::Bitmap;
namespace textflag = platform::textflag;

namespace {
constexpr Colour kBlue = 0xFF0000;  // 0x00BBGGRR
}  // namespace

// --- fonts ---

TskSkinLabelFont::TskSkinLabelFont() : DefaultFont_(DefaultControlFont()) {}

TskFont TskSkinLabelFont::LabelFontFor(const TskDataSkinStdLabelControl* record, const TskFont& own) const {
  return ChooseRecordFont(record, UseSkinFont, DefaultFont_, own);
}

// --- TskCustomLabel ---

TskCustomLabel::TskCustomLabel(platform::Window& parent) : TskControl(parent) { SetBounds(0, 0, 65, 17); }

void TskCustomLabel::SetAlignment(TAlignment alignment) {
  Alignment_ = alignment;
  Invalidate();
}

void TskCustomLabel::SetLayout(TTextLayout layout) {
  Layout_ = layout;
  Invalidate();
}

void TskCustomLabel::SetTransparent(bool transparent) {
  Transparent_ = transparent;
  Invalidate();
}

void TskCustomLabel::SetCaption(const std::string& caption) {
  TskControl::SetCaption(caption);
  AdjustBounds();
}

unsigned TskCustomLabel::TextFlags() const {
  unsigned flags = 0;
  if (Alignment_ == TAlignment::taCenter) flags |= textflag::kCenter;
  if (Alignment_ == TAlignment::taRightJustify) flags |= textflag::kRight;
  if (!ShowAccelChar) flags |= textflag::kNoPrefix;
  return flags;
}

void TskCustomLabel::AdjustBounds() {
  if (!AutoSize) return;
  const Point size = platform::TextExtent(LabelFont().font, Caption().empty() ? " " : Caption(), TextFlags());
  SetBounds(Left(), Top(), size.x, size.y);
}

void TskCustomLabel::Paint(Bitmap& canvas) {
  Bitmap image(Width(), Height(), Color());
  if (Transparent_) PaintParentBackground(*this, image);
  const TskFont font = LabelFont();
  const unsigned flags = TextFlags();
  const Point size = platform::TextExtent(font.font, Caption(), flags);
  Rect r = ClientRect();
  if (Layout_ == TTextLayout::tlCenter) r.top = (Height() - size.y) / 2;
  if (Layout_ == TTextLayout::tlBottom) r.top = Height() - size.y;
  DrawControlText(image, font, r, Caption(), flags, Enabled());
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

// --- TskSkinStdLabel ---

TskSkinStdLabel::TskSkinStdLabel(platform::Window& parent) : TskCustomLabel(parent) { SkinDataName = "stdlabel"; }

void TskSkinStdLabel::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  AdjustBounds();
  Invalidate();
}

void TskSkinStdLabel::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinStdLabel::ReadSkinRecord() {
  TskCustomLabel::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinStdLabelControl>()) SetSkinIndex(-1);
}

TskFont TskSkinStdLabel::LabelFont() const {
  return LabelFontFor(SkinRecordAs<TskDataSkinStdLabelControl>(), Font());
}

// --- TskSkinLinkLabel ---

TskSkinLinkLabel::TskSkinLinkLabel(platform::Window& parent)
    : TskCustomLabel(parent), DefaultActiveFontColor(kBlue) {
  SkinDataName = "stdlabel";
}

void TskSkinLinkLabel::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  AdjustBounds();
  Invalidate();
}

void TskSkinLinkLabel::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinLinkLabel::ReadSkinRecord() {
  TskCustomLabel::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinStdLabelControl>()) SetSkinIndex(-1);
}

TskFont TskSkinLinkLabel::LabelFont() const {
  const auto* r = SkinRecordAs<TskDataSkinStdLabelControl>();
  TskFont f = LabelFontFor(r, Font());
  if (MouseInControl() && Enabled()) {
    f.color = r ? r->activefontcolor : DefaultActiveFontColor;
    f.font.style |= fsUnderline;
  }
  return f;
}

void TskSkinLinkLabel::MouseEnter() {
  TskCustomLabel::MouseEnter();
  Invalidate();
}

void TskSkinLinkLabel::MouseLeave() {
  TskCustomLabel::MouseLeave();
  Invalidate();
}

void TskSkinLinkLabel::MouseUp(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft && x >= 0 && y >= 0 && x < Width() && y < Height() && !URL.empty())
    platform::ShellExecute(this, URL);
}

// --- TskSkinTextLabel ---

TskSkinTextLabel::TskSkinTextLabel(platform::Window& parent) : TskControl(parent) {
  SkinDataName = "stdlabel";
  SetBounds(0, 0, 100, 50);
}

void TskSkinTextLabel::SetLines(std::vector<std::string> lines) {
  Lines_ = std::move(lines);
  Invalidate();
}

void TskSkinTextLabel::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinTextLabel::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinTextLabel::ReadSkinRecord() {
  TskControl::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinStdLabelControl>()) SetSkinIndex(-1);
}

void TskSkinTextLabel::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  Bitmap image(Width(), Height());
  PaintParentBackground(*this, image);
  const TskFont font = LabelFontFor(SkinRecordAs<TskDataSkinStdLabelControl>(), Font());
  constexpr unsigned flags = textflag::kLeft | textflag::kSingleLine | textflag::kNoPrefix;
  const int h = platform::TextExtent(font.font, "Xg", flags).y;
  int y = 0;
  for (const std::string& line : Lines_) {
    DrawControlText(image, font, {0, y, Width(), y + h}, line, flags, Enabled());
    y += h;
  }
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

// --- TskSkinButtonLabel ---

TskSkinButtonLabel::TskSkinButtonLabel(platform::Window& parent)
    : TskControl(parent), DefaultActiveFontColor(kBlue) {
  SkinDataName = "stdlabel";
  SetBounds(0, 0, 100, 25);
}

void TskSkinButtonLabel::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinButtonLabel::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinButtonLabel::ReadSkinRecord() {
  TskControl::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinStdLabelControl>()) SetSkinIndex(-1);
}

void TskSkinButtonLabel::CalcLayout(Rect& glyph, Rect& text) const {
  const TskFont font = LabelFontFor(SkinRecordAs<TskDataSkinStdLabelControl>(), Font());
  const Point ts = platform::TextExtent(font.font, Caption(), textflag::kSingleLine);
  const int gw = Glyph.Empty() ? 0 : Glyph.Width() / std::max(1, NumGlyphs), gh = Glyph.Height();
  const bool across = Layout == TButtonLayout::blGlyphLeft || Layout == TButtonLayout::blGlyphRight;
  const int space = gw > 0 && !Caption().empty() ? Spacing : 0;
  const int total = across ? gw + space + ts.x : gh + space + ts.y;
  const int room = across ? Width() : Height();
  const int start = Margin >= 0 ? Margin : (room - total) / 2;
  if (across) {
    const bool glyphFirst = Layout == TButtonLayout::blGlyphLeft;
    const int gx = glyphFirst ? start : start + ts.x + space, tx = glyphFirst ? start + gw + space : start;
    glyph = {gx, (Height() - gh) / 2, gx + gw, (Height() - gh) / 2 + gh};
    text = {tx, (Height() - ts.y) / 2, tx + ts.x, (Height() - ts.y) / 2 + ts.y};
  } else {
    const bool glyphFirst = Layout == TButtonLayout::blGlyphTop;
    const int gy = glyphFirst ? start : start + ts.y + space, ty = glyphFirst ? start + gh + space : start;
    glyph = {(Width() - gw) / 2, gy, (Width() - gw) / 2 + gw, gy + gh};
    text = {(Width() - ts.x) / 2, ty, (Width() - ts.x) / 2 + ts.x, ty + ts.y};
  }
}

void TskSkinButtonLabel::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  Bitmap image(Width(), Height());
  PaintParentBackground(*this, image);
  const auto* r = SkinRecordAs<TskDataSkinStdLabelControl>();
  TskFont font = LabelFontFor(r, Font());
  if (MouseInControl() && Enabled()) font.color = r ? r->activefontcolor : DefaultActiveFontColor;
  Rect glyph, text;
  CalcLayout(glyph, text);
  if (!Glyph.Empty()) {
    const int n = !Enabled() && NumGlyphs > 1 ? 2 : 1;
    DrawGlyph(image, glyph.left, glyph.top, n, std::max(1, NumGlyphs), Glyph);
  }
  DrawControlText(image, font, text, Caption(), textflag::kSingleLine, Enabled());
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskSkinButtonLabel::MouseEnter() {
  TskControl::MouseEnter();
  Invalidate();
}

void TskSkinButtonLabel::MouseLeave() {
  TskControl::MouseLeave();
  Invalidate();
}

}  // namespace skin
