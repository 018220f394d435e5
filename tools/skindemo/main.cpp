// skindemo [picture.png [width height [skin folder]]]: opens a sizable form with
// the generated sample skin, lets the frame paint itself and the client
// background, and writes what the window shows (outside its region: white).
#include <cstdio>
#include <exception>
#include <string>

#include "PngFile.h"
#include "SkinGenerator.h"
#include "platform/BmpFile.h"
#include "platform/Window.h"
#include "skFrameMessages.h"
#include "skSkinData.h"
#include "skSkinForm.h"

namespace {
constexpr int kDefaultWidth = 400, kDefaultHeight = 300;
constexpr platform::Colour kOutside = platform::Rgb(255, 255, 255);
}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string out = argc > 1 ? argv[1] : "skindemo.png";
    const int w = argc > 3 ? std::stoi(argv[2]) : kDefaultWidth;
    const int h = argc > 3 ? std::stoi(argv[3]) : kDefaultHeight;
    const std::string folder = argc > 4 ? argv[4] : "skindemo-skin";

    skin::TskStoredSkin stored;
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(folder));
    platform::Window form;
    form.SetCaption("正在从本地进行升级 . . .");
    form.SetBorderStyle(platform::BorderStyle::Sizeable);
    form.SetBounds({0, 0, w, h});
    skin::TskSkinData data(&form);
    data.LoadFromStoredSkin(stored);
    skin::TskSkinForm skinForm(form);
    skinForm.SetSkinData(&data);
    form.Perform(skin::WM_ACTIVATE, 1, 0);

    platform::Bitmap image = skinForm.FrameImage();
    const platform::Rect client = skinForm.Layout().NewClientRect;
    platform::Bitmap background(client.Width(), client.Height());
    form.Perform(skin::WM_ERASEBKGND, 0, reinterpret_cast<std::intptr_t>(&background));
    image.CopyRect(client.left, client.top, background, background.BoundsRect());
    if (const auto& region = skinForm.WindowRegion())
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
          if (!region->Contains(x, y)) image.SetPixel(x, y, kOutside);
    const auto png = skinview::EncodePng(image);
    platform::WriteFileBytes(out, png);
    std::printf("%s: %d x %d\n", out.c_str(), image.Width(), image.Height());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skindemo: %s\n", e.what());
    return 1;
  }
}
