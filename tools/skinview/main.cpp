// skinview SKIN OUTPUT [WIDTH HEIGHT]: renders a skin so that a person can look
// at it. SKIN is a skin definition (SKIN.INI) or the form data file of a stored
// or compressed stored skin; OUTPUT ends in .png or .bmp. The picture shows the
// frame stretched to WIDTH x HEIGHT (default 320 x 200) with its mask applied,
// the same frame with the skin's inactive effect, every caption-button glyph and
// the morph of the first caption button from its normal to its active image.
#include <cstdio>
#include <exception>
#include <string>

#include "PngFile.h"
#include "platform/BmpFile.h"
#include "platform/FormData.h"
#include "skEffects.h"
#include "skSkinData.h"
#include "skUtils.h"

namespace {

using platform::Bitmap;
using platform::Rect;

constexpr int kDefaultWidth = 320, kDefaultHeight = 200;
constexpr int kMargin = 10;
constexpr int kGlyphCell = 16;
constexpr int kMorphSteps = 5;
constexpr int kChecker = 8;  // squares of the background shown outside the window shape
constexpr platform::Colour kCheckerLight = platform::Rgb(204, 204, 204), kCheckerDark = platform::Rgb(153, 153, 153);
constexpr platform::Colour kPaper = platform::Rgb(255, 255, 255), kInk = platform::Rgb(0, 0, 0);

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void LoadSkin(const std::string& path, skin::TskSkinData& data) {
  const platform::Bytes bytes = platform::ReadFileBytes(path);
  if (bytes.size() >= 4 && bytes[0] == 'T' && bytes[1] == 'W' && bytes[2] == 'F' && bytes[3] == 'D') {
    const platform::FormData form = platform::FormData::Load(bytes);
    if (form.Binary(skin::TskCompressedStoredSkin::kCompressedDataProperty)) {
      skin::TskCompressedStoredSkin packed;
      packed.ReadProperties(form);
      data.SetCompressedStoredSkin(&packed);
    } else {
      skin::TskStoredSkin stored;
      stored.ReadProperties(form);
      data.SetStoredSkin(&stored);
    }
  } else {
    skin::TskStoredSkin stored;
    stored.LoadFromSkinFile(path);
    data.SetStoredSkin(&stored);
  }
  if (data.Empty) throw platform::Exception("\"" + path + "\" holds no usable skin");
}

skin::TskStretchGeometry FrameGeometry(const skin::TskSkinData& d) {
  return {d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint, d.clientrect};
}

// Right and bottom coordinates move with the size; left and top stay.
skin::TskStretchGeometry Moved(skin::TskStretchGeometry g, int dx, int dy) {
  g.righttop.x += dx;
  g.leftbottom.y += dy;
  g.rightbottom.x += dx;
  g.rightbottom.y += dy;
  g.client.right += dx;
  g.client.bottom += dy;
  return g;
}

// The frame at w x h, pixels outside its shape showing a checkerboard.
Bitmap RenderFrame(const skin::TskSkinData& d, const Bitmap& picture, int w, int h) {
  const auto g = FrameGeometry(d);
  const int dx = w - picture.Width(), dy = h - picture.Height();
  const auto t = Moved(g, dx, dy);
  Bitmap frame;
  skin::BuildStretchImage(g, picture.BoundsRect(), picture, w, h, t, true, frame);
  if (d.MaskPicture.Empty()) return frame;
  const Rect inner = d.maskrectarea;
  const Rect innerT{inner.left, inner.top, inner.right + dx, inner.bottom + dy};
  const auto shape = skin::BuildFrameRegion(g, inner, d.MaskPicture, w, h, t, innerT);
  if (!shape) return frame;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!shape->Contains(x, y))
        frame.SetPixel(x, y, ((x / kChecker + y / kChecker) % 2) ? kCheckerDark : kCheckerLight);
  return frame;
}

Bitmap Render(const skin::TskSkinData& d, int w, int h) {
  const Bitmap active = RenderFrame(d, d.Picture, w, h);
  skin::TskEffectBmp inactive(RenderFrame(d, d.InactivePicture.Empty() ? d.Picture : d.InactivePicture, w, h));
  inactive.ApplyInactiveEffect(d.inactiveeffect);

  const int stripTop = kMargin + h + kMargin;
  Bitmap canvas(3 * kMargin + 2 * w, stripTop + 2 * kGlyphCell + 2 * kMargin + 24, kPaper);
  canvas.CopyRect(kMargin, kMargin, active, active.BoundsRect());
  inactive.DrawToDC(canvas, 2 * kMargin + w, kMargin);

  using Glyph = void (*)(Bitmap&, int, int, platform::Colour);
  const Glyph glyphs[] = {skin::DrawCloseGlyph,   skin::DrawSysMenuGlyph,  skin::DrawMinimizeGlyph,
                          skin::DrawMaximizeGlyph, skin::DrawRestoreGlyph, skin::DrawRollDownGlyph,
                          skin::DrawRollUpGlyph,   skin::DrawMinToTrayGlyph};
  int x = kMargin;
  for (Glyph glyph : glyphs) {
    glyph(canvas, x + 3, stripTop + 3, kInk);
    x += kGlyphCell;
  }
  for (int direction = skin::kArrowLeft; direction <= skin::kArrowDown; ++direction) {
    skin::DrawArrow(canvas, {x, stripTop, x + kGlyphCell, stripTop + kGlyphCell}, kInk, direction);
    x += kGlyphCell;
  }

  // The morph of the first caption button that has a picture.
  for (const auto& object : d.SkinObjects) {
    const auto* button = dynamic_cast<const skin::TskDataSkinButton*>(object.get());
    const Bitmap* states = button ? d.GetActivePicture(button->activepictureindex) : nullptr;
    if (!states || button->skinrect.Empty() || button->activeskinrect.Empty()) continue;
    // The normal image lies on the frame picture unless the record says otherwise.
    const Rect normalRect = button->skinrect;
    const Bitmap& normalSource = button->skinrectinapicture ? *states : d.Picture;
    Bitmap normal(normalRect.Width(), normalRect.Height()), hot(normalRect.Width(), normalRect.Height());
    normal.CopyRect(0, 0, normalSource, normalRect);
    hot.CopyRect(0, 0, *states, button->activeskinrect);
    const skin::TskEffectBmp target(hot);
    for (int step = 0; step < kMorphSteps; ++step) {
      skin::TskEffectBmp frame(normal);
      frame.Morph(button->morphkind, target, double(step) / (kMorphSteps - 1));
      frame.DrawToDC(canvas, kMargin + step * (normal.Width() + 4), stripTop + kGlyphCell + kMargin);
    }
    break;
  }
  return canvas;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: skinview SKIN OUTPUT.png|OUTPUT.bmp [WIDTH HEIGHT]\n");
    return 2;
  }
  try {
    const std::string output = argv[2];
    const int w = argc == 5 ? std::stoi(argv[3]) : kDefaultWidth;
    const int h = argc == 5 ? std::stoi(argv[4]) : kDefaultHeight;
    if (w < 1 || h < 1 || w > platform::Bitmap::kMaxSide / 4 || h > platform::Bitmap::kMaxSide / 4)
      throw platform::Exception("the size " + std::to_string(w) + " x " + std::to_string(h) + " is out of range");
    skin::TskSkinData data;
    LoadSkin(argv[1], data);
    const Bitmap picture = Render(data, w, h);
    if (EndsWith(output, ".bmp") || EndsWith(output, ".BMP")) {
      platform::SaveBmpFile(picture, output);
    } else if (EndsWith(output, ".png") || EndsWith(output, ".PNG")) {
      platform::WriteFileBytes(output, skinview::EncodePng(picture));
    } else {
      throw platform::Exception("the output must end in .png or .bmp");
    }
    std::printf("%s: %d x %d\n", output.c_str(), picture.Width(), picture.Height());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinview: %s\n", e.what());
    return 1;
  }
  return 0;
}
