// TskSkinUpDown: a pair of step buttons drawn from an up-down record (its
// picture 1:1, the button pieces by state over it), plain raised buttons with
// arrows without one.
#pragma once
#include <functional>

#include "skSkinCtrls.h"

namespace skin {

enum class TUDOrientation { udHorizontal, udVertical };

class TskSkinUpDown : public TskSkinCustomControl {
 public:
  explicit TskSkinUpDown(platform::Window& parent);

  TUDOrientation Orientation() const { return Orientation_; }
  void SetOrientation(TUDOrientation orientation);
  int Increment = 1;
  int Position() const { return Position_; }
  void SetPosition(int position);
  int Min() const { return Min_; }
  int Max() const { return Max_; }
  void SetRange(int min, int max);

  std::function<void(TskSkinUpDown&)> OnChange, OnUpButtonClick, OnDownButtonClick;

  // The up button is the right (horizontal) or top (vertical) half.
  Rect UpButtonRect() const;
  Rect DownButtonRect() const;

  void ReadSkinRecord() override;
  void DrawDefault(platform::Bitmap& bitmap) override;
  void DrawSkin(platform::Bitmap& bitmap) override;

 protected:
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;

 private:
  enum class Part { None, Up, Down };
  Part PartAt(int x, int y) const;
  TUDOrientation Orientation_ = TUDOrientation::udHorizontal;
  int Position_ = 0, Min_ = 0, Max_ = 100;
  Part hot_ = Part::None, pressed_ = Part::None;
};

}  // namespace skin
