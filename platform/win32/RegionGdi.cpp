#include "RegionGdi.h"

#include <cstring>
#include <vector>

#include "platform/Exception.h"

namespace platform::win32 {

HRGN ToHrgn(const Region& region) {
  const std::vector<Rect> rects = region.Rects();
  if (rects.empty()) return CreateRectRgn(0, 0, 0, 0);
  std::vector<std::uint8_t> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(block.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = DWORD(rects.size());
  data->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
  const Rect bounds = region.Bounds();
  data->rdh.rcBound = RECT{bounds.left, bounds.top, bounds.right, bounds.bottom};
  auto* out = reinterpret_cast<RECT*>(data->Buffer);
  for (std::size_t i = 0; i < rects.size(); ++i) out[i] = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
  HRGN rgn = ExtCreateRegion(nullptr, DWORD(block.size()), data);
  if (!rgn) throw Exception("Cannot create a window region of " + std::to_string(rects.size()) + " rectangles");
  return rgn;
}

}  // namespace platform::win32
