// The areas of the screen a frame has to draw again: a few rectangles that never
// overlap, so that no pixel is drawn twice (a blend drawn twice over itself would
// show darker than the frame drawn whole).
#pragma once
#include <vector>

#include "platform/geometry.h"

namespace pondaro {

class TDirtyRects {
 public:
  // At most this many rectangles: past it the two that waste least become one.
  static constexpr int kMaxRects = 8;
  // Two rectangles whose bounding box covers at most this many pixels more than
  // they do become one: a rectangle costs a clip, a call per picture it crosses
  // and a copy to the window, worth more than redrawing a small gap.
  static constexpr long kMergeSlack = 4096;

  explicit TDirtyRects(const TRect& screen) : screen_(screen) {}

  void Clear() { rects_.clear(); }
  // Adds `r`, clipped to the screen.
  void Add(const TRect& r);
  void AddAll() { Add(screen_); }

  bool Empty() const { return rects_.empty(); }
  bool Whole() const { return rects_.size() == 1 && rects_[0] == screen_; }
  // Some rectangle overlaps `r`.
  bool Touches(const TRect& r) const;
  // One rectangle holds all of `r` that lies on the screen.
  bool Holds(const TRect& r) const;
  const std::vector<TRect>& Rects() const { return rects_; }

 private:
  TRect screen_;
  std::vector<TRect> rects_;  // pairwise disjoint
};

TRect Intersection(const TRect& a, const TRect& b);
TRect Union(const TRect& a, const TRect& b);
inline long Area(const TRect& r) { return r.Width() > 0 && r.Height() > 0 ? long{r.Width()} * r.Height() : 0; }

}  // namespace pondaro
