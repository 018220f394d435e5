// A headless form with the generated sample skin and its TskSkinForm.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"
#include "skSkinData.h"
#include "skSkinForm.h"

namespace formtest {

using platform::Point;
using platform::Rect;

// The form's top-left corner on the desktop.
constexpr Point kOrigin{100, 100};

class FrameFixture : public ::testing::Test {
 protected:
  FrameFixture() {
    platform::headless::Reset();
    platform::headless::SetEcho(false);
    platform::headless::UseVirtualClock(true);
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
  }
  ~FrameFixture() override { platform::headless::UseVirtualClock(false); }

  // A form of w x h (window size) with the skin applied, or plain when `skinned` is false.
  skin::TskSkinForm& MakeForm(int w, int h, bool skinned = true,
                              platform::BorderStyle border = platform::BorderStyle::Sizeable) {
    skinForm.reset();
    data.reset();
    form = std::make_unique<platform::Window>();
    form->SetBorderStyle(border);
    form->SetBounds({kOrigin.x, kOrigin.y, kOrigin.x + w, kOrigin.y + h});
    form->Show();
    data = std::make_unique<skin::TskSkinData>(form.get());
    if (skinned) data->LoadFromStoredSkin(stored);
    skinForm = std::make_unique<skin::TskSkinForm>(*form);
    if (skinned) skinForm->SetSkinData(data.get());
    return *skinForm;
  }
  skin::TskActiveSkinObject& Object(const std::string& name) {
    for (auto& o : skinForm->ObjectList)
      if (o->IDName == name) return *o;
    throw std::runtime_error("no object " + name);
  }
  static Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  static Point ToScreen(Point p) { return {p.x + kOrigin.x, p.y + kOrigin.y}; }
  std::intptr_t Send(std::uint32_t msg, std::uintptr_t wParam, Point windowPoint) {
    return form->Perform(msg, wParam, platform::PointToParam(ToScreen(windowPoint)));
  }
  void Activate(bool on = true) { form->Perform(skin::msg::kActivate, on ? 1 : 0, 0); }

  testing_support::TempDir dir;
  skin::TskStoredSkin stored;
  std::unique_ptr<platform::Window> form;
  std::unique_ptr<skin::TskSkinData> data;
  std::unique_ptr<skin::TskSkinForm> skinForm;
};

}  // namespace formtest
