#include "platform/Region.h"

#include <algorithm>

namespace platform {

namespace {

// Merges sorted, possibly overlapping or touching spans given as (left, right) pairs.
std::vector<std::int32_t> MergeSpans(std::vector<std::pair<std::int32_t, std::int32_t>>& spans) {
  std::sort(spans.begin(), spans.end());
  std::vector<std::int32_t> xs;
  for (const auto& [l, r] : spans) {
    if (l >= r) continue;
    if (!xs.empty() && l <= xs.back()) {
      xs.back() = std::max(xs.back(), r);
    } else {
      xs.push_back(l);
      xs.push_back(r);
    }
  }
  return xs;
}

// Combines two span lists: a boundary sweep that tracks whether each side is inside.
std::vector<std::int32_t> CombineSpans(const std::vector<std::int32_t>& a,
                                       const std::vector<std::int32_t>& b, Region::Mode mode) {
  std::vector<std::int32_t> out;
  std::size_t i = 0, j = 0;
  bool inA = false, inB = false, inOut = false;
  while (i < a.size() || j < b.size()) {
    const std::int32_t x = std::min(i < a.size() ? a[i] : INT32_MAX, j < b.size() ? b[j] : INT32_MAX);
    while (i < a.size() && a[i] == x) {
      inA = !inA;
      ++i;
    }
    while (j < b.size() && b[j] == x) {
      inB = !inB;
      ++j;
    }
    bool inside = false;
    switch (mode) {
      case Region::Mode::And: inside = inA && inB; break;
      case Region::Mode::Or: inside = inA || inB; break;
      case Region::Mode::Xor: inside = inA != inB; break;
      case Region::Mode::Diff: inside = inA && !inB; break;
    }
    if (inside != inOut) {
      out.push_back(x);
      inOut = inside;
    }
  }
  return out;
}

}  // namespace

Region::Region(const Rect& rect) {
  if (!rect.Empty()) bands_.push_back({rect.top, rect.bottom, {rect.left, rect.right}});
}

void Region::AppendBand(std::int32_t top, std::int32_t bottom, std::vector<std::int32_t> xs) {
  if (top >= bottom || xs.empty()) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().xs == xs) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(xs)});
}

Region Region::FromRects(std::span<const Rect> rects) {
  std::vector<const Rect*> byTop;
  std::vector<std::int32_t> ys;
  for (const Rect& r : rects) {
    if (r.Empty()) continue;
    byTop.push_back(&r);
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  std::sort(byTop.begin(), byTop.end(), [](const Rect* a, const Rect* b) { return a->top < b->top; });
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  // Sweep the bands between consecutive breakpoints with the rectangles active in each.
  Region region;
  std::vector<const Rect*> active;
  std::size_t next = 0;
  std::vector<std::pair<std::int32_t, std::int32_t>> spans;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    const std::int32_t top = ys[k], bottom = ys[k + 1];
    std::erase_if(active, [top](const Rect* r) { return r->bottom <= top; });
    while (next < byTop.size() && byTop[next]->top <= top) active.push_back(byTop[next++]);
    spans.clear();
    for (const Rect* r : active) spans.emplace_back(r->left, r->right);
    region.AppendBand(top, bottom, MergeSpans(spans));
  }
  return region;
}

Rect Region::Bounds() const {
  if (bands_.empty()) return {};
  Rect r{INT32_MAX, bands_.front().top, INT32_MIN, bands_.back().bottom};
  for (const Band& b : bands_) {
    r.left = std::min(r.left, b.xs.front());
    r.right = std::max(r.right, b.xs.back());
  }
  return r;
}

bool Region::Contains(int x, int y) const {
  const auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                                     [](int value, const Band& b) { return value < b.bottom; });
  if (band == bands_.end() || y < band->top) return false;
  // Odd count of boundaries at or left of x means inside.
  const auto pos = std::upper_bound(band->xs.begin(), band->xs.end(), x);
  return (pos - band->xs.begin()) % 2 == 1;
}

std::vector<Rect> Region::Rects() const {
  std::vector<Rect> out;
  for (const Band& b : bands_) {
    for (std::size_t i = 0; i + 1 < b.xs.size(); i += 2) out.push_back({b.xs[i], b.top, b.xs[i + 1], b.bottom});
  }
  return out;
}

void Region::Offset(int dx, int dy) {
  for (Band& b : bands_) {
    b.top += dy;
    b.bottom += dy;
    for (std::int32_t& x : b.xs) x += dx;
  }
}

Region Region::Combine(const Region& a, const Region& b, Mode mode) {
  std::vector<std::int32_t> ys;
  for (const Region* r : {&a, &b}) {
    for (const Band& band : r->bands_) {
      ys.push_back(band.top);
      ys.push_back(band.bottom);
    }
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Region out;
  static const std::vector<std::int32_t> kNone;
  std::size_t i = 0, j = 0;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    const std::int32_t top = ys[k], bottom = ys[k + 1];
    while (i < a.bands_.size() && a.bands_[i].bottom <= top) ++i;
    while (j < b.bands_.size() && b.bands_[j].bottom <= top) ++j;
    const auto& xa = (i < a.bands_.size() && a.bands_[i].top <= top) ? a.bands_[i].xs : kNone;
    const auto& xb = (j < b.bands_.size() && b.bands_[j].top <= top) ? b.bands_[j].xs : kNone;
    out.AppendBand(top, bottom, CombineSpans(xa, xb, mode));
  }
  return out;
}

}  // namespace platform
