#include "skSkinTabs.h"

#include <algorithm>

#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;
namespace textflag = platform::textflag;

namespace {
constexpr int kPlainTabPadding = 6;
constexpr unsigned kCaptionFlags = textflag::kCenter | textflag::kVCenter | textflag::kSingleLine;

}  // namespace

TskCustomTabs::TskCustomTabs(platform::Window& parent) : TskControl(parent), DefaultFont_(DefaultControlFont()) {
  SkinDataName = "tab";
  SetBounds(0, 0, 289, 193);
}

void TskCustomTabs::SetTabIndex(int index) {
  const int i = index >= 0 && index < TabCount() ? index : -1;
  if (i == TabIndex_) return;
  TabIndex_ = i;
  TabIndexChanged();
  Invalidate();
  if (OnChange) OnChange(*this);
}

void TskCustomTabs::SetDefaultItemHeight(int height) {
  DefaultItemHeight_ = height;
  Invalidate();
}

void TskCustomTabs::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskCustomTabs::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskCustomTabs::ReadSkinRecord() {
  TskControl::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinTabControl>()) SetSkinIndex(-1);
}

int TskCustomTabs::TabHeight() const {
  const auto* r = SkinRecordAs<TskDataSkinTabControl>();
  return r && !IsNullRect(r->tabrect) ? RectHeight(r->tabrect) : DefaultItemHeight_;
}

TskFont TskCustomTabs::CaptionFont() const {
  return ChooseRecordFont(SkinRecordAs<TskDataSkinTabControl>(), UseSkinFont, DefaultFont_, Font());
}

Rect TskCustomTabs::TabRect(int index) const {
  const auto captions = TabCaptions();
  if (index < 0 || index >= int(captions.size())) return {};
  const auto* r = SkinRecordAs<TskDataSkinTabControl>();
  const int padding = r ? std::max(kPlainTabPadding, std::max(r->tableftoffset, r->tabrightoffset)) : kPlainTabPadding;
  const TskFont font = CaptionFont();
  int x = 0;
  for (int i = 0;; ++i) {
    const int w = platform::TextExtent(font.font, captions[std::size_t(i)], kCaptionFlags).x + 2 * padding;
    if (i == index) return {x, 0, x + w, TabHeight()};
    x += w;
  }
}

int TskCustomTabs::TabAt(int x, int y) const {
  for (int i = 0; i < TabCount(); ++i) {
    if (TabRect(i).Contains({x, y})) return i;
  }
  return -1;
}

Rect TskCustomTabs::PageRect() const { return {0, TabHeight(), Width(), Height()}; }

void TskCustomTabs::PaintPlain(Bitmap& image) {
  image.FillRect(image.BoundsRect(), SysColor(SysColour::BtnFace));
  DrawEdge3D(image, PageRect(), true);
  const auto captions = TabCaptions();
  const TskFont font = CaptionFont();
  for (int i = 0; i < int(captions.size()); ++i) {
    Rect t = TabRect(i);
    if (i != TabIndex_) t.top += 2;
    t.bottom += i == TabIndex_ ? 1 : 0;
    image.FillRect(t, SysColor(SysColour::BtnFace));
    image.FillRect({t.left, t.top, t.right, t.top + 1}, SysColor(SysColour::BtnHighlight));
    image.FillRect({t.left, t.top, t.left + 1, t.bottom}, SysColor(SysColour::BtnHighlight));
    image.FillRect({t.right - 1, t.top, t.right, t.bottom}, SysColor(SysColour::BtnShadow));
    DrawControlText(image, font, t, captions[std::size_t(i)], kCaptionFlags, Enabled());
  }
}

void TskCustomTabs::PaintSkinned(Bitmap& image, const TskDataSkinTabControl& r) {
  const Bitmap* picture = SkinData()->GetActivePicture(r.pictureindex);
  const int th = TabHeight();
  image.FillRect(image.BoundsRect(), SysColor(SysColour::BtnFace));
  DrawPiece(image, {0, 0, Width(), th}, picture, r.tabsbgrect);
  // The page: the record's frame around its stretch points, its background picture inside.
  const Rect page = PageRect();
  const Rect inner{r.lefttoppoint.x, r.lefttoppoint.y, r.rightbottompoint.x, r.rightbottompoint.y};
  Bitmap frame(page.Width(), page.Height(), SysColor(SysColour::BtnFace));
  DrawFramedPiece(frame, frame.BoundsRect(), picture, r.skinrect,
                  {r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint, inner});
  if (const Bitmap* bg = SkinData()->GetActivePicture(r.bgpictureindex); bg && !IsNullRect(inner))
    TilePicture(frame, MoveClient(inner, r.skinrect, frame.Width(), frame.Height()), *bg);
  image.CopyRect(page.left, page.top, frame, frame.BoundsRect());

  const auto captions = TabCaptions();
  TskFont font = CaptionFont();
  for (int i = 0; i < int(captions.size()); ++i) {
    const Rect t = TabRect(i);
    const bool active = i == TabIndex_, hot = i == hot_ && !active;
    const Rect src = active ? r.activetabrect : hot && !IsNullRect(r.mouseintabrect) ? r.mouseintabrect : r.tabrect;
    if (picture && !IsNullRect(src)) {
      Bitmap tab;
      BuildHorzImage(r.tableftoffset, r.tabrightoffset, t.Width(), src, *picture, tab);
      DrawPiece(image, t, &tab, tab.BoundsRect());
    }
    font.color = active ? r.activefontcolor : hot ? r.mouseinfontcolor : r.fontcolor;
    DrawControlText(image, font, t, captions[std::size_t(i)], kCaptionFlags, Enabled());
  }
}

void TskCustomTabs::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  Bitmap image(Width(), Height());
  if (const auto* r = SkinRecordAs<TskDataSkinTabControl>())
    PaintSkinned(image, *r);
  else
    PaintPlain(image);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskCustomTabs::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  const int i = TabAt(x, y);
  if (i >= 0) SetTabIndex(i);
}

void TskCustomTabs::MouseMove(int x, int y) {
  const int hot = TabAt(x, y);
  if (hot == hot_) return;
  hot_ = hot;
  Invalidate();
}

void TskCustomTabs::MouseLeave() {
  TskControl::MouseLeave();
  hot_ = -1;
  Invalidate();
}

// --- TskSkinTabControl ---

TskSkinTabControl::TskSkinTabControl(platform::Window& parent) : TskCustomTabs(parent) {}

void TskSkinTabControl::SetTabs(std::vector<std::string> tabs) {
  Tabs_ = std::move(tabs);
  if (TabIndex() >= int(Tabs_.size())) SetTabIndex(int(Tabs_.size()) - 1);
  if (TabIndex() < 0 && !Tabs_.empty()) SetTabIndex(0);
  Invalidate();
}

// --- TskSkinPageControl ---

bool TskCustomTabs::PaintBehind(Bitmap& canvas, const Rect& area) {
  ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinTabControl>();
  if (!r) return false;
  Bitmap image(Width(), Height());
  PaintSkinned(image, *r);
  canvas.CopyRect(0, 0, image, area);
  return true;
}

// A sheet on a skinned page is the page's own background (the skin's picture for
// it); only a plain page shows the sheet's colour.
void TskTabSheet::Paint(Bitmap& canvas) {
  auto* tabs = dynamic_cast<TskCustomTabs*>(Parent());
  if (!tabs || !tabs->PaintBehind(canvas, BoundsRect())) canvas.FillRect(ClientRect(), Color());
}

TskSkinPageControl::TskSkinPageControl(platform::Window& parent) : TskCustomTabs(parent) {}

TskSkinPageControl::~TskSkinPageControl() = default;

TskTabSheet& TskSkinPageControl::AddPage(const std::string& caption) {
  auto sheet = std::make_unique<TskTabSheet>(*this);
  sheet->SetCaption(caption);
  Pages_.push_back(std::move(sheet));
  PlacePages();
  if (TabIndex() < 0) SetTabIndex(0);
  TabIndexChanged();
  Invalidate();
  return *Pages_.back();
}

std::vector<std::string> TskSkinPageControl::TabCaptions() const {
  std::vector<std::string> captions;
  for (const auto& p : Pages_) captions.push_back(p->Caption());
  return captions;
}

void TskSkinPageControl::PlacePages() {
  // The sheet fills the page inside a 4-pixel margin, over the page's frame.
  constexpr int kMargin = 4;
  const Rect page = PageRect();
  for (const auto& p : Pages_)
    p->SetBounds(page.left + kMargin, page.top + kMargin, std::max(0, page.Width() - 2 * kMargin),
                 std::max(0, page.Height() - 2 * kMargin));
}

void TskSkinPageControl::SetBounds(int left, int top, int width, int height) {
  TskCustomTabs::SetBounds(left, top, width, height);
  PlacePages();
}

void TskSkinPageControl::SkinChanged() {
  TskCustomTabs::SkinChanged();
  PlacePages();
}

void TskSkinPageControl::TabIndexChanged() {
  for (int i = 0; i < PageCount(); ++i) Page(i).SetVisible(i == TabIndex());
}

}  // namespace skin
