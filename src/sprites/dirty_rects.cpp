#include "sprites/dirty_rects.h"

#include <algorithm>

namespace pondaro {

TRect Intersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

TRect Union(const TRect& a, const TRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

namespace {

// Pixels the bounding box of two disjoint rectangles adds to them.
long Waste(const TRect& a, const TRect& b) { return Area(Union(a, b)) - Area(a) - Area(b); }

}  // namespace

void TDirtyRects::Add(const TRect& added) {
  TRect r = Intersection(added, screen_);
  if (Area(r) == 0) return;
  for (;;) {
    // What `r` overlaps, or lies close enough to, joins it; the grown rectangle
    // may then reach others.
    bool grew = false;
    for (size_t i = 0; i < rects_.size(); ++i) {
      const TRect& o = rects_[i];
      if (OverlapRect(o, r) || Waste(o, r) <= kMergeSlack) {
        r = Union(o, r);
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
        grew = true;
        break;
      }
    }
    if (grew) continue;
    if (static_cast<int>(rects_.size()) < kMaxRects) {
      rects_.push_back(r);
      return;
    }
    // Too many: `r` joins the one it costs least to join.
    size_t best = 0;
    for (size_t i = 1; i < rects_.size(); ++i)
      if (Waste(rects_[i], r) < Waste(rects_[best], r)) best = i;
    r = Union(rects_[best], r);
    rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(best));
  }
}

bool TDirtyRects::Touches(const TRect& r) const {
  return std::any_of(rects_.begin(), rects_.end(), [&](const TRect& o) { return OverlapRect(o, r); });
}

bool TDirtyRects::Holds(const TRect& r) const {
  const TRect on = Intersection(r, screen_);
  if (Area(on) == 0) return true;
  return std::any_of(rects_.begin(), rects_.end(), [&](const TRect& o) { return Intersection(o, on) == on; });
}

}  // namespace pondaro
