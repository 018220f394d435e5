// The desktop's system colours that plain (unskinned) looks are drawn in.
#pragma once
#include "platform/Types.h"

namespace platform {

// The Win32 COLOR_ indexes.
enum class SysColour {
  WindowBackground = 5,  // clWindow
  WindowText = 8,        // clWindowText
  Highlight = 13,        // clHighlight: a selected item's background
  HighlightText = 14,    // clHighlightText
  BtnFace = 15,          // clBtnFace
  BtnShadow = 16,        // clBtnShadow
  BtnText = 18,          // clBtnText
  BtnHighlight = 20,     // clBtnHighlight
  InfoText = 23,         // clInfoText
  InfoBk = 24,           // clInfoBk
};

Colour SysColor(SysColour which);

}  // namespace platform
