// Tree and list views in a record's font and background colour. TskTreeView
// holds nodes that open and close with their box and are selected with a
// click; TskListView holds report rows under a header whose buttons come from
// a button record ("resizebutton"). Without a record both draw in window colours.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skControl.h"
#include "skSkinHeader.h"

namespace skin {

struct TskTreeNode {
  std::string Text;
  bool Expanded = false;
  std::vector<std::unique_ptr<TskTreeNode>> Children;
  TskTreeNode* Parent = nullptr;
};

class TskTreeView : public TskControl {
 public:
  explicit TskTreeView(platform::Window& parent);
  // Adds a node under `parent` (a root node for nullptr).
  TskTreeNode& AddChild(TskTreeNode* parent, const std::string& text);
  const std::vector<std::unique_ptr<TskTreeNode>>& Items() const { return Items_; }
  TskTreeNode* Selected() const { return Selected_; }
  void SetExpanded(TskTreeNode& node, bool expanded);
  // The nodes shown, top to bottom, with their depth.
  std::vector<std::pair<TskTreeNode*, int>> VisibleNodes() const;
  int RowHeight() const;
  static constexpr int kIndent = 16;

  std::function<void(TskTreeView&)> OnChange;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  // The colours and font the rows are drawn in.
  virtual Colour Background() const { return Color(); }
  virtual TskFont ItemFont() const { return Font(); }

 private:
  std::vector<std::unique_ptr<TskTreeNode>> Items_;
  TskTreeNode* Selected_ = nullptr;
};

class TskSkinCustomTreeView : public TskTreeView {
 public:
  explicit TskSkinCustomTreeView(platform::Window& parent);
  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  Colour Background() const override;
  TskFont ItemFont() const override;

 private:
  TskFont DefaultFont_;
};

struct TskListColumn {
  std::string Caption;
  int Width = 80;
};

class TskListView : public TskControl {
 public:
  explicit TskListView(platform::Window& parent);
  std::vector<TskListColumn> Columns;
  // Each row: the caption and then one text per further column.
  void AddItem(std::vector<std::string> row);
  const std::vector<std::vector<std::string>>& Items() const { return Items_; }
  int ItemIndex() const { return ItemIndex_; }
  int HeaderHeight() const;
  int RowHeight() const;
  Rect ColumnRect(int column) const;

  std::function<void(TskListView&)> OnChange;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  virtual Colour Background() const { return Color(); }
  virtual TskFont ItemFont() const { return Font(); }
  virtual void DrawHeaderButton(platform::Bitmap& image, int column, const Rect& r);
  virtual int SkinHeaderHeight() const { return 0; }

 private:
  std::vector<std::vector<std::string>> Items_;
  int ItemIndex_ = -1;
};

class TskSkinCustomListView : public TskListView {
 public:
  explicit TskSkinCustomListView(platform::Window& parent);
  // The record the header buttons are drawn from.
  std::string HeaderSkinDataName = "resizebutton";
  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  Colour Background() const override;
  TskFont ItemFont() const override;
  void DrawHeaderButton(platform::Bitmap& image, int column, const Rect& r) override;
  int SkinHeaderHeight() const override;

 private:
  const TskDataSkinButtonControl* HeaderRecord() const;
  TskFont DefaultFont_;
};

}  // namespace skin
