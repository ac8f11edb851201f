#include "sprites/image_sprite.h"

#include <algorithm>
#include <cmath>

namespace pondaro {

namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// Wraps a coordinate so that a box of `size` leaving one edge of [0, extent) comes
// back in at the other.
int WrapAround(int v, int extent, int size) {
  const int period = extent + size;
  if (period <= 0) return v;
  v %= period;
  if (v < 0) v += period;
  if (v > extent) v -= period;
  return v;
}

}  // namespace

TImageSprite::TImageSprite(TSprite* parent) : TSprite(parent) { isImageSprite_ = true; }

int TImageSprite::CurrentFrame() const { return Trunc(FramePos) + FirstFrame; }

TRect TImageSprite::FrameRect() const {
  TRect r = TImageSprite::BoxRect();
  if (!Image) return r;
  const int dx = (Width - Image->FrameWidth()) / 2;
  const int dy = (Height - Image->FrameHeight()) / 2;
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

void TImageSprite::Advance(int moveCount) {
  FramePos += FrameSpeed * moveCount;
  if (FrameLooped) {
    if (FrameCount > 0) {
      double r = std::fmod(FramePos, static_cast<double>(FrameCount));
      if (r < 0) r += FrameCount;
      // A tiny negative remainder can round up to FrameCount itself.
      if (r >= FrameCount) r = 0;
      FramePos = r;
    } else {
      FramePos = 0;
    }
  } else {
    if (FramePos >= FrameCount) {
      FramePos = FrameCount - 1;
      FrameSpeed = 0;
    }
    if (FramePos < 0) {
      FramePos = 0;
      FrameSpeed = 0;
    }
  }
}

void TImageSprite::Paint() {
  if (!Image || !Engine || !Engine->Surface) return;
  Display& d = *Engine->Surface;
  const TRect r = Bounds(Trunc(AbsX()), Trunc(AbsY()), Width, Height);
  const int n = CurrentFrame();
  if (Angle == 0) {
    if (Alpha >= 255)
      Image->StretchDraw(d, r, n);
    else
      Image->DrawAlpha(d, r, n, Alpha);
    return;
  }
  const int cx = (r.Left + r.Right) / 2;
  const int cy = (r.Top + r.Bottom) / 2;
  if (Alpha >= 255)
    Image->DrawRotate(d, cx, cy, Width, Height, n, Angle);
  else
    Image->DrawRotateAlpha(d, cx, cy, Width, Height, n, Angle, Alpha);
}

TRect TImageSprite::BoxRect() const {
  int x = Trunc(AbsX()), y = Trunc(AbsY());
  if (Tile && Engine) {
    x = WrapAround(x, Engine->VisibleRect.Right, Width);
    y = WrapAround(y, Engine->VisibleRect.Bottom, Height);
  }
  return Bounds(x, y, Width, Height);
}

// Boxes already overlap when this runs. Both sprites are asked, so the pixel test
// decides as soon as one of them is PixelExact.
bool TImageSprite::HitTest(TSprite* other) {
  if (!PixelExact || !other->IsImageSprite()) return true;
  const auto* o = static_cast<const TImageSprite*>(other);
  if (!Image || !o->Image) return true;

  const TRect f1 = FrameRect(), f2 = o->FrameRect();
  const int x1 = f1.Left, y1 = f1.Top, x2 = f2.Left, y2 = f2.Top;
  const int w1 = Image->FrameWidth(), h1 = Image->FrameHeight();
  const int w2 = o->Image->FrameWidth(), h2 = o->Image->FrameHeight();
  if (!OverlapRect(Bounds(x1, y1, w1, h1), Bounds(x2, y2, w2, h2))) return false;

  const int n1 = CurrentFrame(), n2 = o->CurrentFrame();
  const TPictureCollectionItem& p1 = *Image;
  const TPictureCollectionItem& p2 = *o->Image;
  if (!p1.HasPixels() || !p2.HasPixels() || n1 < 0 || n1 >= Image->FrameCount() || n2 < 0 ||
      n2 >= o->Image->FrameCount())
    return true;

  // The overlap in each frame's own pixels.
  const int ox1 = std::max(x2 - x1, 0), oy1 = std::max(y2 - y1, 0);
  const int ox2 = std::max(x1 - x2, 0), oy2 = std::max(y1 - y2, 0);
  const int w = std::min(w1 - ox1, w2 - ox2), h = std::min(h1 - oy1, h2 - oy2);
  const TRect s1 = Image->FrameRectOf(n1), s2 = o->Image->FrameRectOf(n2);
  const int sx1 = s1.Left + ox1, sy1 = s1.Top + oy1;
  const int sx2 = s2.Left + ox2, sy2 = s2.Top + oy2;

  // Keep the scan inside both pictures, whatever the frame layout says.
  const int i0 = std::max({0, -sx1, -sx2});
  const int i1 = std::min({w, p1.Width() - sx1, p2.Width() - sx2});
  const int j0 = std::max({0, -sy1, -sy2});
  const int j1 = std::min({h, p1.Height() - sy1, p2.Height() - sy2});
  for (int j = j0; j < j1; ++j)
    for (int i = i0; i < i1; ++i)
      if (p1.SolidAt(sx1 + i, sy1 + j) && p2.SolidAt(sx2 + i, sy2 + j))
        return true;
  return false;
}

}  // namespace pondaro
