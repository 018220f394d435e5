// Conversion of the portable region to a GDI region, for window shapes.
#pragma once
#include <windows.h>

#include "platform/Region.h"

namespace platform::win32 {

// A new GDI region covering the same pixels; the caller owns it (DeleteObject, or
// hand it to SetWindowRgn, which takes it over). An empty region gives an empty
// GDI region.
HRGN ToHrgn(const Region& region);

}  // namespace platform::win32
