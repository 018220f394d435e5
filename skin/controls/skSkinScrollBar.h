// TskSkinScrollBar: a scroll bar drawn from a scroll-bar record: the record's
// frame stretched to the bar, its button and thumb pieces by state; plain
// system-coloured buttons, track and thumb without one.
#pragma once
#include <functional>
#include <string>

#include "skSkinCtrls.h"

namespace skin {

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TskSkinScrollBar : public TskSkinCustomControl {
 public:
  explicit TskSkinScrollBar(platform::Window& parent);

  TScrollBarKind Kind() const { return Kind_; }
  void SetKind(TScrollBarKind kind);
  int Min() const { return Min_; }
  int Max() const { return Max_; }
  void SetRange(int min, int max);
  int Position() const { return Position_; }
  void SetPosition(int position);
  int SmallChange = 1;
  int LargeChange = 1;
  int PageSize() const { return PageSize_; }
  void SetPageSize(int pageSize);
  // The look of a bar that meets another in a corner: its own record and a
  // marker of BothMarkerWidth at the far end.
  bool Both() const { return Both_; }
  void SetBoth(bool both);
  int BothMarkerWidth = 19;
  std::string BothSkinDataName = "bothhscrollbar";
  bool CanFocused = false;

  std::function<void(TskSkinScrollBar&)> OnChange, OnLastChange, OnUpButtonClick, OnDownButtonClick;

  // The parts, in client coordinates.
  Rect UpButtonRect() const;
  Rect DownButtonRect() const;
  Rect TrackRect() const;
  Rect ThumbRect() const;

  void ReadSkinRecord() override;
  void DrawDefault(platform::Bitmap& bitmap) override;
  void DrawSkin(platform::Bitmap& bitmap) override;

 protected:
  std::string RecordName() const override { return Both_ ? BothSkinDataName : SkinDataName; }
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;

 private:
  enum class Part { None, Up, Down, PageUp, PageDown, Thumb };
  Part PartAt(int x, int y) const;
  bool Horizontal() const { return Kind_ == TScrollBarKind::sbHorizontal; }
  int Length() const { return Horizontal() ? Width() : Height(); }
  int Thickness() const { return Horizontal() ? Height() : Width(); }
  int ButtonLength() const;
  int ThumbLength() const;
  int MaxPosition() const;
  // An along-the-bar span as a client rectangle.
  Rect Span(int from, int to) const;
  void Step(int delta);

  TScrollBarKind Kind_ = TScrollBarKind::sbHorizontal;
  int Min_ = 0, Max_ = 100, Position_ = 0, PageSize_ = 0;
  bool Both_ = false;
  Part hot_ = Part::None, pressed_ = Part::None;
  int dragOffset_ = 0;
};

}  // namespace skin
