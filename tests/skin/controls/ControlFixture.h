// A shown headless form holding the generated sample skin, for the controls.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/SysColors.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"
#include "skSkinData.h"

namespace controltest {

using platform::Bitmap;
using platform::Colour;
using platform::Point;
using platform::Rect;

// Whether any pixel of `area` has colour `c`.
inline bool HasColour(const Bitmap& b, Colour c, Rect area = {0, 0, 1 << 20, 1 << 20}) {
  for (int y = std::max(0, area.top); y < std::min(b.Height(), area.bottom); ++y)
    for (int x = std::max(0, area.left); x < std::min(b.Width(), area.right); ++x)
      if (b.Pixel(x, y) == c) return true;
  return false;
}

inline Colour BtnFace() { return platform::SysColor(platform::SysColour::BtnFace); }

class ControlFixture : public ::testing::Test {
 protected:
  ControlFixture() {
    platform::headless::Reset();
    platform::headless::SetEcho(false);
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
    form = std::make_unique<platform::Window>();
    form->SetBounds({100, 100, 500, 400});
    form->Show();
    data = std::make_unique<skin::TskSkinData>(form.get());
    data->LoadFromStoredSkin(stored);
  }

  template <class R>
  R& Record(const std::string& name) {
    const int i = data->GetControlIndex(name);
    if (i < 0) throw std::runtime_error("the sample skin has no record " + name);
    auto* r = dynamic_cast<R*>(data->SkinControls[std::size_t(i)].get());
    if (!r) throw std::runtime_error("record " + name + " is of another class");
    return *r;
  }
  const Bitmap& Picture(int index) { return *data->GetActivePicture(index); }

  testing_support::TempDir dir;
  skin::TskStoredSkin stored;
  std::unique_ptr<platform::Window> form;
  std::unique_ptr<skin::TskSkinData> data;
};

}  // namespace controltest
