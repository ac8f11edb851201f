// What the crocodile's eyes in the water and its strike share: the hide's
// colours and the yellow eye under its heavy lid.
#pragma once
#include "canvas.h"

namespace pondaro::assetgen::crocodile {

inline const Rgba kHide = Hex(0x6E8A2C), kBelly = Hex(0xC9C77A), kMouth = Hex(0xE0707A), kIris = Hex(0xF7D23A);
inline const Rgba kWater = Hex(0x16707E);

// An eye of radius r on its bump, the lid `open` (0 shut .. 1), the pupil moved `look` px sideways.
void Eye(cairo_t* cr, double x, double y, double r, double open, double look);

}  // namespace pondaro::assetgen::crocodile
