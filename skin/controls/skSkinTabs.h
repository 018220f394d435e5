// Tabbed controls drawn from a tab record: the tab row's background, each tab
// by state (normal, active, under the mouse) cut around its left and right
// offsets, the captions in the record's colours, and the page area in the
// record's frame over its background picture. TskSkinTabControl holds captions
// only; TskSkinPageControl shows one of its pages (child sheets) at a time.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skControl.h"

namespace skin {

class TskCustomTabs : public TskControl {
 public:
  explicit TskCustomTabs(platform::Window& parent);

  int TabIndex() const { return TabIndex_; }
  void SetTabIndex(int index);
  int TabCount() const { return int(TabCaptions().size()); }
  // The tab height without a record.
  int DefaultItemHeight() const { return DefaultItemHeight_; }
  void SetDefaultItemHeight(int height);
  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;

  std::function<void(TskCustomTabs&)> OnChange;

  Rect TabRect(int index) const;
  int TabAt(int x, int y) const;
  // The area under the tab row.
  Rect PageRect() const;
  // When skinned, draws what the control shows under `area` (its own
  // coordinates) into `canvas` at (0, 0) and answers true: a sheet on a skinned
  // page shows the page's background through it.
  bool PaintBehind(platform::Bitmap& canvas, const Rect& area);

  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  virtual std::vector<std::string> TabCaptions() const { return {}; }
  virtual void TabIndexChanged() {}
  int TabHeight() const;
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;

 private:
  void PaintSkinned(platform::Bitmap& image, const TskDataSkinTabControl& r);
  void PaintPlain(platform::Bitmap& image);
  TskFont CaptionFont() const;
  int TabIndex_ = -1;
  int hot_ = -1;
  int DefaultItemHeight_ = 20;
  TskFont DefaultFont_;
};

class TskSkinTabControl : public TskCustomTabs {
 public:
  explicit TskSkinTabControl(platform::Window& parent);
  const std::vector<std::string>& Tabs() const { return Tabs_; }
  void SetTabs(std::vector<std::string> tabs);

 protected:
  std::vector<std::string> TabCaptions() const override { return Tabs_; }

 private:
  std::vector<std::string> Tabs_;
};

// One page of a page control: a child window shown while its tab is active.
class TskTabSheet : public TskControl {
 public:
  using TskControl::TskControl;

 protected:
  void Paint(platform::Bitmap& canvas) override;
};

class TskSkinPageControl : public TskCustomTabs {
 public:
  explicit TskSkinPageControl(platform::Window& parent);
  ~TskSkinPageControl() override;
  TskTabSheet& AddPage(const std::string& caption);
  int PageCount() const { return int(Pages_.size()); }
  TskTabSheet& Page(int index) const { return *Pages_[std::size_t(index)]; }
  int ActivePageIndex() const { return TabIndex(); }
  void SetActivePageIndex(int index) { SetTabIndex(index); }
  void SetBounds(int left, int top, int width, int height) override;
  using TskControl::SetBounds;
  // The tab row's height follows the skin, and the pages with it.
  void SkinChanged() override;

 protected:
  std::vector<std::string> TabCaptions() const override;
  void TabIndexChanged() override;

 private:
  void PlacePages();
  std::vector<std::unique_ptr<TskTabSheet>> Pages_;
};

}  // namespace skin
