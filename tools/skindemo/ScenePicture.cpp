#include "ScenePicture.h"

#include <algorithm>
#include <cstdint>

#include "platform/SysColors.h"

namespace skindemo {

using platform::Bitmap;
using platform::Point;
using platform::Rect;

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// `image` with its top-left corner at desktop point `at`, inside `clip`
// (desktop coordinates) and the window's region.
void Put(Bitmap& out, Point origin, const Bitmap& image, Point at, const Rect& clip,
         const std::optional<platform::Region>& region) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const Point p{at.x + x, at.y + y};
      if (p.x < clip.left || p.x >= clip.right || p.y < clip.top || p.y >= clip.bottom) continue;
      if (region && !region->Contains(x, y)) continue;
      out.SetPixel(p.x - origin.x, p.y - origin.y, image.Pixel(x, y));
    }
}

// What a popup or child window paints for its client area.
Bitmap Painted(platform::Window& window, const Point size) {
  Bitmap image(size.x, size.y);
  window.Perform(platform::msg::kPaint, 0, reinterpret_cast<std::intptr_t>(&image));
  return image;
}

// A window's visible children, and theirs, each inside its parent's client area.
void DrawChildren(Bitmap& out, Point origin, platform::Window& parent, Point clientAt, const Rect& clip) {
  for (platform::Window* child : parent.Children()) {
    if (!child->Visible()) continue;
    const Rect c = child->BoundsRect();
    const Point at{clientAt.x + c.left, clientAt.y + c.top};
    Put(out, origin, Painted(*child, {c.Width(), c.Height()}), at, clip, child->WindowRegion());
    DrawChildren(out, origin, *child, at, Intersect(clip, {at.x, at.y, at.x + c.Width(), at.y + c.Height()}));
  }
}

}  // namespace

Rect SceneBounds(const skin::TskSkinForm& form, const std::vector<platform::Window*>& popups) {
  Rect extent = form.OwnerForm().BoundsRect();
  for (platform::Window* p : popups) {
    const Rect r = p->BoundsRect();
    extent = {std::min(extent.left, r.left), std::min(extent.top, r.top), std::max(extent.right, r.right),
              std::max(extent.bottom, r.bottom)};
  }
  return extent;
}

void DrawScene(Bitmap& out, Point origin, skin::TskSkinForm& form, const std::vector<platform::Window*>& popups) {
  platform::Window& window = form.OwnerForm();
  const Rect bounds = window.BoundsRect();
  const Rect everywhere{origin.x, origin.y, origin.x + out.Width(), origin.y + out.Height()};
  const Point at{bounds.left, bounds.top};
  const auto& region = window.WindowRegion();
  Bitmap frame = form.PaintFrameImage();
  const Rect client = frame.Empty() ? Rect{0, 0, bounds.Width(), bounds.Height()} : form.FrameClientRect();
  if (!frame.Empty()) Put(out, origin, frame, at, everywhere, region);

  if (!client.Empty()) {
    Bitmap background(client.Width(), client.Height());
    const auto param = reinterpret_cast<std::intptr_t>(&background);
    if (window.Perform(platform::msg::kEraseBackground, 0, param) == 0)
      background.FillRect(background.BoundsRect(), platform::SysColor(platform::SysColour::BtnFace));
    window.Perform(platform::msg::kPaint, 0, param);
    const Point clientAt{at.x + client.left, at.y + client.top};
    const Rect clientArea{clientAt.x, clientAt.y, clientAt.x + client.Width(), clientAt.y + client.Height()};
    // The region is the window's: the client part is tested in window coordinates.
    for (int y = 0; y < background.Height(); ++y)
      for (int x = 0; x < background.Width(); ++x)
        if (!region || region->Contains(client.left + x, client.top + y))
          out.SetPixel(clientAt.x + x - origin.x, clientAt.y + y - origin.y, background.Pixel(x, y));
    DrawChildren(out, origin, window, clientAt, clientArea);
  }
  for (platform::Window* p : popups) {
    const Rect r = p->BoundsRect();
    Put(out, origin, Painted(*p, {r.Width(), r.Height()}), {r.left, r.top}, everywhere, p->WindowRegion());
  }
}

}  // namespace skindemo
