#include "skSkinRichEdit.h"

#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;

TskSkinRichEdit::TskSkinRichEdit(platform::Window& parent)
    : TskMemo(parent),
      DefaultColor_(platform::SysColor(platform::SysColour::WindowBackground)),
      DefaultFont_(DefaultControlFont()) {
  SkinDataName = "richedit";
}

void TskSkinRichEdit::SetSkinSupport(bool on) {
  SkinSupport_ = on;
  SkinChanged();
}

void TskSkinRichEdit::SetDefaultColor(Colour color) {
  DefaultColor_ = color;
  Invalidate();
}

void TskSkinRichEdit::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinRichEdit::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinRichEdit::ReadSkinRecord() {
  TskMemo::ReadSkinRecord();
  if (!SkinSupport_ || !SkinRecordAs<TskDataSkinRichEdit>()) SetSkinIndex(-1);
}

TskFont TskSkinRichEdit::TextFont() const {
  return ChooseRecordFont(SkinRecordAs<TskDataSkinRichEdit>(), UseSkinFont, DefaultFont_, Font());
}

void TskSkinRichEdit::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinRichEdit>();
  Bitmap image(Width(), Height(), r ? r->bgcolor : DefaultColor_);
  DrawEdge3D(image, ClientRect(), false);
  DrawEdge3D(image, {1, 1, Width() - 1, Height() - 1}, false);
  TskFont font = TextFont();
  if (!Enabled()) font.color = platform::SysColor(platform::SysColour::BtnShadow);
  DrawLines(image, TextArea(), font);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

}  // namespace skin
