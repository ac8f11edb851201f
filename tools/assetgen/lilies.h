// What the lily modules share: the frame every lily is drawn in, with the leaf
// standing on its bottom edge (the game puts that edge on the cell's point),
// and the soft shadow a leaf casts on the water.
#pragma once
#include "canvas.h"

namespace pondaro::assetgen::lily {

constexpr int kW = 140, kH = 120;
constexpr double kCx = 70, kCy = 61;  // the leaf's centre
inline const Rgba kWater = Hex(0x16707E);

void Shadow(cairo_t* cr, double x, double y, double r, double alpha);

}  // namespace pondaro::assetgen::lily
