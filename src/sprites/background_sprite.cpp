#include "sprites/background_sprite.h"

#include <algorithm>
#include <cmath>

namespace pondaro {

namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

int NonNegativeMod(int v, int m) {
  v %= m;
  return v < 0 ? v + m : v;
}

}  // namespace

TBackgroundSprite::TBackgroundSprite(TSprite* parent) : TSprite(parent) { Collides = false; }

TBackgroundSprite::~TBackgroundSprite() { SetMapDimensions(0, 0); }

void TBackgroundSprite::SetMapDimensions(int width, int height) {
  if (width == MapColumns && height == MapRows) return;
  if (width <= 0 || height <= 0) {
    MapColumns = MapRows = 0;
    Map.clear();
    SolidMap.clear();
    return;
  }
  MapColumns = width;
  MapRows = height;
  const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
  Map.assign(cells, 0);
  SolidMap.assign(cells, true);
}

int TBackgroundSprite::CellFrame(int col, int row) const {
  if (col < 0 || col >= MapColumns || row < 0 || row >= MapRows) return -1;
  return Map[static_cast<size_t>(col) + static_cast<size_t>(row) * MapColumns];
}

bool TBackgroundSprite::SolidAt(int col, int row) const {
  if (col < 0 || col >= MapColumns || row < 0 || row >= MapRows) return false;
  return SolidMap[static_cast<size_t>(col) + static_cast<size_t>(row) * MapColumns];
}

// Every cell call is made, including the rows and columns just outside the surface:
// the display clips them, and the backdrop scrolls by whole frames without gaps.
void TBackgroundSprite::Paint() {
  if (!Image || MapEmpty() || !Engine || !Engine->Surface) return;
  Display& d = *Engine->Surface;
  const TRect f0 = Image->FrameRectOf(0);
  const int w = f0.Width(), h = f0.Height();
  if (w <= 0 || h <= 0) return;
  const TRect& vr = Engine->VisibleRect;
  const int cx = (vr.Right + w) / w + 1;
  const int cy = (vr.Bottom + h) / h + 1;
  const int x = Trunc(AbsX()), y = Trunc(AbsY());
  const int ox = x % w, oy = y % h;
  int sx = x / w, dx = 0, sy = y / h, dy = 0;
  if (sx < 0) {
    dx = -sx;
    sx = 0;
  }
  if (sy < 0) {
    dy = -sy;
    sy = 0;
  }

  if (Tile) {
    for (int r = -1; r <= cy; ++r) {
      const int row = NonNegativeMod(r - sy + dy, MapRows);
      for (int c = -1; c <= cx; ++c) {
        const int frame = CellFrame(NonNegativeMod(c - sx + dx, MapColumns), row);
        if (frame >= 0) Image->Draw(d, c * w + ox, r * h + oy, frame);
      }
    }
    return;
  }
  const int ex = std::min(sx + MapColumns - dx, cx);
  const int ey = std::min(sy + MapRows - dy, cy);
  for (int r = sy; r < ey; ++r)
    for (int c = sx; c < ex; ++c) {
      const int frame = CellFrame(c - sx + dx, r - sy + dy);
      if (frame >= 0) Image->Draw(d, c * w + ox, r * h + oy, frame);
    }
}

TRect TBackgroundSprite::BoxRect() const {
  if (Tile) return Engine ? Engine->VisibleRect : TRect{};
  if (!Image) return {};
  return Bounds(Trunc(AbsX()), Trunc(AbsY()), Image->FrameWidth() * MapColumns,
                Image->FrameHeight() * MapRows);
}

bool TBackgroundSprite::HitTest(TSprite* other) {
  if (!Image || MapEmpty()) return true;
  const int w = Image->FrameWidth(), h = Image->FrameHeight();
  if (w <= 0 || h <= 0) return true;
  const TRect ob = other->BoxRect(), mb = BoxRect();
  const int x = Trunc(AbsX()), y = Trunc(AbsY());
  // Both in the map's own coordinates.
  const TRect theirs{ob.Left - x, ob.Top - y, ob.Right - x, ob.Bottom - y};
  const TRect both{std::max(ob.Left, mb.Left) - x, std::max(ob.Top, mb.Top) - y,
                   std::min(ob.Right, mb.Right) - x, std::min(ob.Bottom, mb.Bottom) - y};
  for (int row = (both.Top - h + 1) / h; row <= both.Bottom / h; ++row)
    for (int col = (both.Left - w + 1) / w; col <= both.Right / w; ++col)
      if (SolidAt(NonNegativeMod(col, MapColumns), NonNegativeMod(row, MapRows)) &&
          OverlapRect(Bounds(col * w, row * h, w, h), theirs))
        return true;
  return false;
}

}  // namespace pondaro
