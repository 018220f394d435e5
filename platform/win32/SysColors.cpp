#include "platform/SysColors.h"

#include "Backend.h"

namespace platform {

// COLORREF and Colour share the 0x00BBGGRR layout.
Colour SysColor(SysColour which) { return Colour(GetSysColor(int(which)) & 0xFFFFFF); }

}  // namespace platform
