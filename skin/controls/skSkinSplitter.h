// TskSplitter (a bar dragged to resize the control beside it) and
// TskSkinSplitter, drawn from a splitter record's picture fitted around its
// stretch points, or as a plain face of DefaultSize without one.
#pragma once
#include <functional>

#include "skControl.h"

namespace skin {

// Which side of the resized control the splitter sits on.
enum class TSplitterSide { alLeft, alRight, alTop, alBottom };

class TskSplitter : public TskControl {
 public:
  explicit TskSplitter(platform::Window& parent);
  TSplitterSide Align = TSplitterSide::alLeft;
  // The control the splitter resizes: it lies to the left of (above) the
  // splitter for alLeft (alTop), to the right (below) for alRight (alBottom).
  TskControl* Control = nullptr;
  int MinSize = 30;
  std::function<void(TskSplitter&)> OnMoved;
  bool Vertical() const { return Align == TSplitterSide::alLeft || Align == TSplitterSide::alRight; }

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;

 private:
  bool dragging_ = false;
  Point dragStart_;
};

class TskSkinSplitter : public TskSplitter {
 public:
  explicit TskSkinSplitter(platform::Window& parent);
  // The thickness without a record.
  int DefaultSize() const { return DefaultSize_; }
  void SetDefaultSize(int size);
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;
  void SkinChanged() override;

 protected:
  void Paint(platform::Bitmap& canvas) override;

 private:
  int DefaultSize_ = 3;
};

}  // namespace skin
