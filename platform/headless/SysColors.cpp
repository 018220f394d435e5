#include "platform/SysColors.h"

namespace platform {

// The classic Windows scheme, so that headless pictures look like a desktop's.
Colour SysColor(SysColour which) {
  switch (which) {
    case SysColour::WindowBackground: return Rgb(255, 255, 255);
    case SysColour::WindowText: return Rgb(0, 0, 0);
    case SysColour::Highlight: return Rgb(10, 36, 106);
    case SysColour::HighlightText: return Rgb(255, 255, 255);
    case SysColour::BtnFace: return Rgb(212, 208, 200);
    case SysColour::BtnShadow: return Rgb(128, 128, 128);
    case SysColour::BtnText: return Rgb(0, 0, 0);
    case SysColour::BtnHighlight: return Rgb(255, 255, 255);
    case SysColour::InfoText: return Rgb(0, 0, 0);
    case SysColour::InfoBk: return Rgb(255, 255, 225);
  }
  return 0;
}

}  // namespace platform
