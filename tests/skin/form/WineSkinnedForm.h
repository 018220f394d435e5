// A real shown form of the given bounds with the generated sample skin applied
// through its TskSkinForm, for the tests under Wine.
#pragma once
#include <memory>

#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/Window.h"
#include "skSkinData.h"
#include "skSkinForm.h"

namespace formtest {

// The component takes over a window that is already on the screen.
struct WineSkinnedForm {
  explicit WineSkinnedForm(const platform::Rect& bounds) {
    form.SetBounds(bounds);
    form.Show();
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
    data = std::make_unique<skin::TskSkinData>(&form);
    data->LoadFromStoredSkin(stored);
    skinForm = std::make_unique<skin::TskSkinForm>(form);
    skinForm->SetSkinData(data.get());
  }

  testing_support::TempDir dir;
  skin::TskStoredSkin stored;
  platform::Window form;
  std::unique_ptr<skin::TskSkinData> data;
  std::unique_ptr<skin::TskSkinForm> skinForm;
};

}  // namespace formtest
