#include "skSkinViews.h"

#include <algorithm>

#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;
namespace textflag = platform::textflag;

namespace {
constexpr unsigned kRowFlags = textflag::kLeft | textflag::kVCenter | textflag::kSingleLine | textflag::kNoPrefix;
constexpr int kBox = 9;
constexpr int kTextGap = 3;

int TextRowHeight(const TskFont& f) { return platform::TextExtent(f.font, "Xg", kRowFlags).y + 2; }

// A row's text, highlighted when selected.
void DrawRow(Bitmap& image, const Rect& r, const std::string& text, TskFont font, bool selected, bool enabled) {
  if (selected) {
    const Point size = platform::TextExtent(font.font, text, kRowFlags);
    image.FillRect({r.left, r.top, std::min(r.right, r.left + size.x + 2 * kTextGap), r.bottom},
                   SysColor(SysColour::Highlight));
    font.color = SysColor(SysColour::HighlightText);
  }
  DrawControlText(image, font, {r.left + kTextGap, r.top, r.right, r.bottom}, text, kRowFlags, enabled);
}
}  // namespace

// --- TskTreeView ---

TskTreeView::TskTreeView(platform::Window& parent) : TskControl(parent) {
  SetColor(SysColor(SysColour::WindowBackground));
  SetBounds(0, 0, 121, 97);
}

TskTreeNode& TskTreeView::AddChild(TskTreeNode* parent, const std::string& text) {
  auto node = std::make_unique<TskTreeNode>();
  node->Text = text;
  node->Parent = parent;
  auto& list = parent ? parent->Children : Items_;
  list.push_back(std::move(node));
  Invalidate();
  return *list.back();
}

void TskTreeView::SetExpanded(TskTreeNode& node, bool expanded) {
  node.Expanded = expanded;
  // A selection inside a closed branch moves up to the closed node.
  for (TskTreeNode* p = Selected_ ? Selected_->Parent : nullptr; p && !expanded; p = p->Parent)
    if (p == &node) Selected_ = &node;
  Invalidate();
}

std::vector<std::pair<TskTreeNode*, int>> TskTreeView::VisibleNodes() const {
  std::vector<std::pair<TskTreeNode*, int>> out;
  auto walk = [&](const auto& self, const std::vector<std::unique_ptr<TskTreeNode>>& list, int depth) -> void {
    for (const auto& n : list) {
      out.emplace_back(n.get(), depth);
      if (n->Expanded) self(self, n->Children, depth + 1);
    }
  };
  walk(walk, Items_, 0);
  return out;
}

int TskTreeView::RowHeight() const { return std::max(kBox + 4, TextRowHeight(ItemFont())); }

void TskTreeView::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  Bitmap image(Width(), Height(), Background());
  const TskFont font = ItemFont();
  const int h = RowHeight();
  int y = 2;
  for (const auto& [node, depth] : VisibleNodes()) {
    const int x = 2 + depth * kIndent;
    if (!node->Children.empty()) {
      const Rect box{x + 1, y + (h - kBox) / 2, x + 1 + kBox, y + (h - kBox) / 2 + kBox};
      image.FrameRect(box, SysColor(SysColour::BtnShadow));
      image.FillRect({box.left + 2, box.top + 4, box.right - 2, box.top + 5}, font.color);
      if (!node->Expanded) image.FillRect({box.left + 4, box.top + 2, box.left + 5, box.bottom - 2}, font.color);
    }
    DrawRow(image, {x + kIndent, y, Width(), y + h}, node->Text, font, node == Selected_, Enabled());
    y += h;
  }
  DrawEdge3D(image, ClientRect(), false);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskTreeView::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  const auto rows = VisibleNodes();
  const int row = (y - 2) / RowHeight();
  if (y < 2 || row >= int(rows.size())) return;
  auto [node, depth] = rows[std::size_t(row)];
  const int left = 2 + depth * kIndent;
  if (x >= left && x < left + kIndent && !node->Children.empty()) {
    SetExpanded(*node, !node->Expanded);
    return;
  }
  if (Selected_ == node) return;
  Selected_ = node;
  Invalidate();
  if (OnChange) OnChange(*this);
}

// --- TskSkinCustomTreeView ---

TskSkinCustomTreeView::TskSkinCustomTreeView(platform::Window& parent)
    : TskTreeView(parent), DefaultFont_(DefaultControlFont()) {
  SkinDataName = "treeview";
}

void TskSkinCustomTreeView::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinCustomTreeView::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinCustomTreeView::ReadSkinRecord() {
  TskTreeView::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinTreeView>()) SetSkinIndex(-1);
}

Colour TskSkinCustomTreeView::Background() const {
  const auto* r = SkinRecordAs<TskDataSkinTreeView>();
  return r ? r->bgcolor : TskTreeView::Background();
}

TskFont TskSkinCustomTreeView::ItemFont() const {
  return ChooseRecordFont(SkinRecordAs<TskDataSkinTreeView>(), UseSkinFont, DefaultFont_, Font());
}

// --- TskListView ---

TskListView::TskListView(platform::Window& parent) : TskControl(parent) {
  SetColor(SysColor(SysColour::WindowBackground));
  SetBounds(0, 0, 250, 150);
}

void TskListView::AddItem(std::vector<std::string> row) {
  Items_.push_back(std::move(row));
  Invalidate();
}

int TskListView::HeaderHeight() const {
  const int skinned = SkinHeaderHeight();
  return skinned > 0 ? skinned : TextRowHeight(Font()) + 4;
}

int TskListView::RowHeight() const { return TextRowHeight(ItemFont()); }

Rect TskListView::ColumnRect(int column) const {
  int x = 0;
  for (int i = 0; i < column; ++i) x += Columns[std::size_t(i)].Width;
  return {x, 0, x + Columns[std::size_t(column)].Width, HeaderHeight()};
}

void TskListView::DrawHeaderButton(Bitmap& image, int column, const Rect& r) {
  image.FillRect(r, SysColor(SysColour::BtnFace));
  DrawEdge3D(image, r, true);
  DrawControlText(image, Font(), {r.left + kTextGap, r.top, r.right, r.bottom}, Columns[std::size_t(column)].Caption,
                  kRowFlags, Enabled());
}

void TskListView::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  Bitmap image(Width(), Height(), Background());
  for (int c = 0; c < int(Columns.size()); ++c) DrawHeaderButton(image, c, ColumnRect(c));
  const TskFont font = ItemFont();
  const int h = RowHeight();
  int y = HeaderHeight();
  for (int i = 0; i < int(Items_.size()) && y < Height(); ++i, y += h) {
    const auto& row = Items_[std::size_t(i)];
    for (int c = 0; c < int(Columns.size()) && c < int(row.size()); ++c) {
      const Rect col = ColumnRect(c);
      DrawRow(image, {col.left, y, col.right, y + h}, row[std::size_t(c)], font, c == 0 && i == ItemIndex_, Enabled());
    }
  }
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskListView::MouseDown(TMouseButton button, int, int y) {
  if (button != TMouseButton::mbLeft || y < HeaderHeight()) return;
  const int i = (y - HeaderHeight()) / RowHeight();
  if (i >= int(Items_.size()) || i == ItemIndex_) return;
  ItemIndex_ = i;
  Invalidate();
  if (OnChange) OnChange(*this);
}

// --- TskSkinCustomListView ---

TskSkinCustomListView::TskSkinCustomListView(platform::Window& parent)
    : TskListView(parent), DefaultFont_(DefaultControlFont()) {
  SkinDataName = "listview";
}

void TskSkinCustomListView::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinCustomListView::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinCustomListView::ReadSkinRecord() {
  TskListView::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinListView>()) SetSkinIndex(-1);
}

const TskDataSkinButtonControl* TskSkinCustomListView::HeaderRecord() const {
  if (SkinIndex() == -1) return nullptr;
  const int i = SkinData()->GetControlIndex(HeaderSkinDataName);
  if (i < 0) return nullptr;
  return dynamic_cast<const TskDataSkinButtonControl*>(SkinData()->SkinControls[std::size_t(i)].get());
}

int TskSkinCustomListView::SkinHeaderHeight() const {
  const auto* h = HeaderRecord();
  return h ? RectHeight(h->skinrect) : 0;
}

Colour TskSkinCustomListView::Background() const {
  const auto* r = SkinRecordAs<TskDataSkinListView>();
  return r ? r->bgcolor : TskListView::Background();
}

TskFont TskSkinCustomListView::ItemFont() const {
  return ChooseRecordFont(SkinRecordAs<TskDataSkinListView>(), UseSkinFont, DefaultFont_, Font());
}

void TskSkinCustomListView::DrawHeaderButton(Bitmap& image, int column, const Rect& r) {
  const auto* h = HeaderRecord();
  if (!h) {
    TskListView::DrawHeaderButton(image, column, r);
    return;
  }
  DrawSkinButtonSection(image, r, *h, SkinData()->GetActivePicture(h->pictureindex),
                        ChooseRecordFont(h, UseSkinFont, DefaultFont_, Font()), Columns[std::size_t(column)].Caption,
                        Enabled(), false, false);
}

}  // namespace skin
