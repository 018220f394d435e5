#include "platform/Animate.h"

#include <cmath>
#include <numbers>

#include "AnimateFrames.h"
#include "ShellClip.h"
#include "platform/AviClip.h"
#include "platform/SysColors.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace platform {

// A child window filling its parent that draws every frame itself: the
// shell's clip when its frames decode and move, otherwise a clip of our own.
// Drawing from the clip's data rather than through the system's animation
// control means a clip that opens but shows nothing can be told apart.
struct Animate::Impl {
  explicit Impl(Window& parent) : control(parent) {}

  Window control;
  AnimateFrames frames;
  Timer timer;
  std::vector<Bitmap> clip;
  bool ownClip = false;
  bool active = false;
  bool centered = true, transparent = true;
  int clipNumber = 0;

  void LoadClip();
  void Paint(Bitmap& canvas) const;
};

namespace {

// The own clip: the copy-files clip's size, a sheet flying from one folder to another.
constexpr int kOwnClipWidth = 272, kOwnClipHeight = 60;
constexpr Colour kOwnClipBackground = 0x00FF00FF;  // the colour left out when drawn transparent
constexpr Colour kFolderColour = 0x0046BEE6;
constexpr Colour kSheetColour = 0x00FFFFFF;
constexpr Colour kSheetEdgeColour = 0x00808080;
constexpr int kFolderWidth = 48, kFolderTop = 20, kFolderBottom = 56;
constexpr int kSheetWidth = 20, kSheetHeight = 26, kSheetStartX = 36, kSheetBaseY = 24, kSheetArc = 22;

std::vector<Bitmap> DrawOwnClip(int frameCount) {
  std::vector<Bitmap> clip;
  for (int i = 0; i < frameCount; ++i) {
    Bitmap f(kOwnClipWidth, kOwnClipHeight, kOwnClipBackground);
    f.FillRect({0, kFolderTop, kFolderWidth, kFolderBottom}, kFolderColour);
    f.FillRect({kOwnClipWidth - kFolderWidth, kFolderTop, kOwnClipWidth, kFolderBottom}, kFolderColour);
    const double t = frameCount > 1 ? double(i) / (frameCount - 1) : 0.0;
    const int x = kSheetStartX + int(t * (kOwnClipWidth - 2 * kFolderWidth));
    const int y = kSheetBaseY - int(std::sin(t * std::numbers::pi) * kSheetArc);
    f.FillRect({x, y, x + kSheetWidth, y + kSheetHeight}, kSheetColour);
    f.FrameRect({x, y, x + kSheetWidth, y + kSheetHeight}, kSheetEdgeColour);
    clip.push_back(std::move(f));
  }
  return clip;
}

// A clip worth showing has every frame of the range, and they do not all look alike.
bool PlaysVisibly(const std::vector<Bitmap>& clip, const AnimateFrames& range) {
  if (range.start < 1 || range.stop < range.start || std::size_t(range.stop) > clip.size()) return false;
  for (int i = range.start; i < range.stop; ++i)
    if (!(clip[std::size_t(i)] == clip[std::size_t(range.start - 1)])) return true;
  return false;
}

}  // namespace

void Animate::Impl::LoadClip() {
  try {
    clip = DecodeAviFrames(ShellClipData(clipNumber));
  } catch (const EInvalidClip&) {
    clip.clear();
  }
  ownClip = !PlaysVisibly(clip, frames);
  if (ownClip) clip = DrawOwnClip(std::max(frames.stop, 1));
}

void Animate::Impl::Paint(Bitmap& canvas) const {
  canvas.FillRect(canvas.BoundsRect(), SysColor(SysColour::BtnFace));
  if (!active || frames.current < 0 || std::size_t(frames.current) >= clip.size()) return;
  const Bitmap& frame = clip[std::size_t(frames.current)];
  const int x = centered ? (canvas.Width() - frame.Width()) / 2 : 0;
  const int y = centered ? (canvas.Height() - frame.Height()) / 2 : 0;
  // Transparent: the colour of the frame's top-left pixel is left out.
  if (transparent)
    canvas.DrawTransparent(x, y, frame, frame.Pixel(0, 0));
  else
    canvas.CopyRect(x, y, frame, frame.BoundsRect());
}

Animate::Animate(Window& parent) : impl_(std::make_unique<Impl>(parent)) {
  const Point size = parent.ClientSize();
  impl_->control.SetBounds({0, 0, size.x, size.y});
  impl_->control.AddMessageHook([this](Window&, Message& m) {
    if (m.msg != msg::kPaint) return false;
    impl_->Paint(*reinterpret_cast<Bitmap*>(m.lParam));
    return true;
  });
  impl_->timer.SetEnabled(false);
  impl_->timer.SetInterval(kAnimateFrameMs);
  impl_->timer.SetOnTimer([this] {
    if (!impl_->frames.Step()) SetActive(false);
    impl_->control.Invalidate();
  });
}

Animate::~Animate() = default;

void Animate::SetCommonClip(CommonClip clip) { impl_->clipNumber = int(clip); }
void Animate::SetFrames(int startFrame, int stopFrame) {
  impl_->frames.start = startFrame;
  impl_->frames.stop = stopFrame;
}
void Animate::SetRepetitions(int repetitions) { impl_->frames.repetitions = repetitions; }
void Animate::SetCentered(bool centered) { impl_->centered = centered; }
void Animate::SetTransparent(bool transparent) { impl_->transparent = transparent; }

void Animate::SetActive(bool active) {
  if (active == impl_->active) return;
  impl_->active = active;
  if (active) {
    impl_->LoadClip();
    impl_->frames.Restart();
  }
  impl_->timer.SetEnabled(active);
  impl_->control.Invalidate();
}

bool Animate::Active() const { return impl_->active; }
int Animate::CurrentFrame() const { return impl_->frames.current; }
long Animate::FramesShown() const { return impl_->frames.shown; }
bool Animate::PlaysOwnClip() const { return impl_->ownClip; }

}  // namespace platform
