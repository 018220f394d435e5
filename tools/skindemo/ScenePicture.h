// A skinned form and the popups over it as the portable core paints them: the
// frame painted afresh for the form's current state, the client background,
// every visible control, each inside its window's shape. What the screen must
// show; the screen-pixel tests and the demo's --render pictures draw with it.
#pragma once
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Window.h"
#include "skSkinForm.h"

namespace skindemo {

// The desktop rectangle the form and the popups cover.
platform::Rect SceneBounds(const skin::TskSkinForm& form, const std::vector<platform::Window*>& popups);

// Draws the scene onto `out`, whose top-left pixel is the desktop point
// `origin`; pixels outside the windows' shapes are left as they are.
void DrawScene(platform::Bitmap& out, platform::Point origin, skin::TskSkinForm& form,
               const std::vector<platform::Window*>& popups);

}  // namespace skindemo
