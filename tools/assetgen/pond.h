// The pond's common pieces, shared by the backdrops and the menu: seamless water
// with light caustics, lily pads, water-lily flowers, ripples and duckweed. All
// are lit from the top left and outlined in a darker tone of their own colour.
#pragma once
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace pondaro::assetgen {

struct WaterLook {
  Rgba Deep = Hex(0x0C5F73), Shallow = Hex(0x3CC4B6);
  Rgba Light = Hex(0xDFFFF6);   // the caustic network's colour
  double CausticStrength = 0.22;
  uint64_t Seed = 1;
};

// Fills a whole surface with water. The result tiles seamlessly: every pattern
// in it is periodic in the surface's width and height.
void PaintWater(cairo_surface_t* surface, const WaterLook& look);

struct LilyPad {
  double X = 0, Y = 0, R = 40;
  double Notch = 0;    // direction of the notch, radians (0: right, pi/2: down)
  double Squash = 1;   // vertical scale, < 1 for a slightly oval pad
  Rgba Color = Hex(0x5CBF3E);
  double NotchHalf = 0.2;  // half the notch's opening, radians
};

// Adds the pad's outline to the current path.
void PadPath(cairo_t* cr, const LilyPad& pad);
// Shadows of several pads at once, blurred together; wrap for tiled backdrops.
void DrawPadShadows(cairo_t* cr, const std::vector<LilyPad>& pads, bool wrap, double tileW, double tileH);
void DrawLilyPad(cairo_t* cr, const LilyPad& pad);
// A pink-white water lily centred on (x, y), petals reaching `size`.
void DrawWaterLily(cairo_t* cr, double x, double y, double size, double rotation);
// A closed bud, lying on the water, pointing along `angle`.
void DrawLilyBud(cairo_t* cr, double x, double y, double size, double angle);
// Two faint rings, brighter towards the light.
void DrawRipple(cairo_t* cr, double x, double y, double r, double alpha);
// A small cluster of floating duckweed leaves.
void DrawDuckweed(cairo_t* cr, double x, double y, double spread, uint64_t seed);

}  // namespace pondaro::assetgen
