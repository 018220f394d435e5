#include "skUtils.h"

namespace skin {

bool IsNullRect(const Rect& r) { return r.Width() < 1 || r.Height() < 1; }
bool IsNullPoint(const Point& p) { return p.x == 0 || p.y == 0; }
bool PointInsideRect(const Rect& r, const Point& p) {
  return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}
bool RectInsideRect(const Rect& r, const Rect& q) { return q.Contains({r.left, r.top}) && q.Contains({r.right, r.bottom}); }

}  // namespace skin
