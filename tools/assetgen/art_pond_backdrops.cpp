// The two play backdrops, both 800 x 600 and tiled, so every pattern in them
// wraps round on all four edges:
//  - "bg1", the crossing's pond, which scrolls down 150 px per row: deep clear
//    water with drifting light, weed in the depths along the sides where no
//    lily ever stands, and a little duckweed;
//  - "bg2", the feeding stage: bright sunlit shallows over pale sand, so the
//    dark insects and the pink tongue stand out against it;
// and "sample", the scroll controller's empty picture.
#include <array>
#include <cmath>

#include "canvas.h"
#include "pond.h"
#include "registry.h"
#include "synth.h"  // Rng

namespace pondaro::assetgen {

namespace {

constexpr int kW = 800, kH = 600;

// A strand of weed far below the surface: a soft, blurred, wavy ribbon.
void WeedPath(cairo_t* cr, double x, double y, double len, double lean, double width) {
  cairo_move_to(cr, x - width, y);
  cairo_curve_to(cr, x - width + lean * 0.3, y - len * 0.35, x + lean * 0.8 - width * 0.3, y - len * 0.7, x + lean,
                 y - len);
  cairo_curve_to(cr, x + lean * 0.8 + width * 0.3, y - len * 0.7, x + width + lean * 0.3, y - len * 0.35, x + width,
                 y);
  cairo_close_path(cr);
}

std::vector<uint8_t> CrossingWater() {
  Canvas canvas(kW, kH, true);
  cairo_t* cr = canvas.Cr();
  WaterLook water;
  water.Deep = Hex(0x0B5A70);
  water.Shallow = Hex(0x2FB3AE);
  water.CausticStrength = 0.2;
  water.Seed = 21;
  PaintWater(canvas.Surface(), water);

  // Weed in the depths, in the margins left and right of the lily columns.
  Rng rng(5);
  std::vector<std::array<double, 5>> weeds;
  for (int k = 0; k < 22; ++k) {
    const bool left = k % 2 == 0;
    const double x = left ? 10 + 60 * rng.Uniform() : 720 + 70 * rng.Uniform();
    weeds.push_back({x, rng.Uniform() * kH, 50 + 60 * rng.Uniform(), 30 * rng.Bipolar(), 3 + 3 * rng.Uniform()});
  }
  SoftShape(
      cr,
      [&](cairo_t* c) {
        DrawWrapped(c, kW, kH, [&](cairo_t* c2) {
          for (const auto& w : weeds) WeedPath(c2, w[0], w[1], w[2], w[3], w[4]);
        });
      },
      Hex(0x0A4F3A, 0.45), 0, 0, 3, true);

  DrawWrapped(cr, kW, kH, [&](cairo_t* c) {
    DrawDuckweed(c, 40, 120, 14, 41);
    DrawDuckweed(c, 770, 300, 12, 42);
    DrawDuckweed(c, 55, 470, 12, 43);
    DrawDuckweed(c, 745, 560, 14, 44);
    DrawRipple(c, 60, 300, 22, 0.12);
    DrawRipple(c, 750, 120, 26, 0.12);
  });
  return canvas.Png();
}

std::vector<uint8_t> FeedingBackdrop() {
  Canvas canvas(kW, kH, true);
  WaterLook water;
  water.Deep = Hex(0x7FCFC4);
  water.Shallow = Hex(0xD3F1DC);
  water.Light = Hex(0xFFFFF2);
  water.CausticStrength = 0.35;
  water.Seed = 33;
  PaintWater(canvas.Surface(), water);
  return canvas.Png();
}

}  // namespace

void AddPondBackdrops(Assets& assets) {
  assets.Picture("bg1", CrossingWater(), false);
  assets.Picture("bg2", FeedingBackdrop(), false);
  Canvas empty(4, 4);
  assets.Picture("sample", empty.Png());
}

ASSETGEN_MODULE(AddPondBackdrops);

}  // namespace pondaro::assetgen
