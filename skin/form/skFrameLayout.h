// The frame of a skinned window at any size: where the skin's corner points,
// client area, caption, button row, mask area and sizing points land, how a
// rectangle of the skin picture moves with the size, and the fixed metrics of
// the plain frame drawn without a skin.
#pragma once
#include "skSkinData.h"
#include "skUtils.h"

namespace skin {

struct TskFrameLayout {
  int Width = 0, Height = 0;
  // Window size minus picture size.
  int dx = 0, dy = 0;
  Point NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  Rect NewClientRect, NewCaptionRect, NewButtonsRect, NewMaskRectArea;
  bool ButtonsInLeft = false;
  int ButtonsOffset = 0;
  Point NewHitLT, NewHitRT, NewHitLB, NewHitRB;
};

// The layout of `skin` for a window of w x h pixels (window coordinates).
TskFrameLayout CalcFrameLayout(const TskSkinData& skin, int w, int h);

// Moves or stretches rectangle `sr` of the skin picture for the layout's size.
Rect MapSkinRect(const TskSkinData& skin, const TskFrameLayout& layout, const Rect& sr);

// The stretch geometry of the skin picture, and the same moved to the layout.
TskStretchGeometry SkinFrameGeometry(const TskSkinData& skin);
TskStretchGeometry LayoutFrameGeometry(const TskFrameLayout& layout);

// The client rectangle inside window rectangle `window` (msg::kNCCalcSize): the
// skin's frame widths, or the plain frame's border and caption.
Rect SkinnedClientRect(const TskSkinData& skin, const Rect& window);
Rect DefaultClientRect(const Rect& window, int captionHeight);

// Whether the skin's frame picture holds its geometry: a picture with the
// corner points in order inside it and the client rectangle inside it. A skin
// whose pictures are missing or of the wrong size gets the plain frame instead:
// drawn, it would show black wherever the picture has no pixels.
bool FramePictureFits(const TskSkinData& skin);
// Whether an inactive or mask picture can stand beside the frame picture: it is
// there and of the same size (else the frame picture is used, or no mask).
bool SameSizeAsPicture(const TskSkinData& skin, const platform::Bitmap& picture);

// The plain frame: border on every side, caption height and button size.
constexpr int kDefaultBorder = 3;
constexpr int kDefaultCaptionHeight = 19;
constexpr int kDefaultButtonSize = 17;
// Smallest plain frame width when no minimum is set.
constexpr int kDefaultMinWidth = 120;

}  // namespace skin
