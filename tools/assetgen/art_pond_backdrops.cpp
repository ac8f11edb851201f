// The two play backdrops, both 800 x 600 and tiled, so every pattern in them
// wraps round on all four edges:
//  - "bg1", the crossing's pond, which scrolls down 150 px per row: deep clear
//    water with calm light, pebbles and weed in the depths along the sides where
//    no lily ever stands, and a little duckweed;
//  - "bg2", the feeding stage: bright sunlit shallows over pale sand, so the
//    dark insects and the pink tongue stand out against it;
// and "sample", the scroll controller's empty picture.
#include <algorithm>
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

// Pebbles on the pond's floor, seen through the water: soft, low contrast.
void Pebbles(cairo_t* cr, Rng& rng, int count, double x0, double x1, const Rgba& color, double alpha) {
  for (int k = 0; k < count; ++k) {
    const double x = x0 + (x1 - x0) * rng.Uniform(), y = kH * rng.Uniform();
    const double rx = 4 + 7 * rng.Uniform(), ry = rx * (0.6 + 0.3 * rng.Uniform()), rot = rng.Uniform() * M_PI;
    const Rgba tone = Mix(color, Hex(0xFFFFFF), 0.25 * rng.Uniform());
    DrawWrapped(cr, kW, kH, [&](cairo_t* c) {
      cairo_save(c);
      cairo_translate(c, x, y);
      cairo_rotate(c, rot);
      EllipsePath(c, 1.5, 2, rx, ry);
      SetColor(c, Hex(0x03303A, 0.3 * alpha));
      cairo_fill(c);
      EllipsePath(c, 0, 0, rx, ry);
      Gradient::Radial(-0.4 * rx, -0.4 * ry, 0, 0, 0, rx,
                       {{0, WithAlpha(Lighten(tone, 0.3), alpha)}, {1, WithAlpha(Darken(tone, 0.15), alpha)}})
          .Use(c);
      cairo_fill(c);
      cairo_restore(c);
    });
  }
}

std::vector<uint8_t> CrossingWater() {
  Canvas canvas(kW, kH, true);
  cairo_t* cr = canvas.Cr();
  WaterLook water;
  water.Deep = Hex(0x0B5A70);
  water.Shallow = Hex(0x2FB3AE);
  water.CausticStrength = 0.14;
  water.Seed = 21;
  PaintWater(canvas.Surface(), water);

  // The floor shows only in the margins left and right of the lily columns:
  // pebbles and weed swaying far below.
  Rng rng(5);
  Pebbles(cr, rng, 14, 0, 80, Hex(0x3E8C86), 0.5);
  Pebbles(cr, rng, 14, 712, 800, Hex(0x3E8C86), 0.5);
  std::vector<std::array<double, 5>> weeds;
  for (int k = 0; k < 24; ++k) {
    const bool left = k % 2 == 0;
    const double x = left ? 8 + 64 * rng.Uniform() : 716 + 76 * rng.Uniform();
    weeds.push_back({x, rng.Uniform() * kH, 60 + 70 * rng.Uniform(), 34 * rng.Bipolar(), 3.5 + 3 * rng.Uniform()});
  }
  SoftShape(
      cr,
      [&](cairo_t* c) {
        DrawWrapped(c, kW, kH, [&](cairo_t* c2) {
          for (const auto& w : weeds) WeedPath(c2, w[0], w[1], w[2], w[3], w[4]);
        });
      },
      Hex(0x0E5A3A, 0.55), 0, 0, 2.5, true);

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

// Sunlit shallows over pale sand: broad ripple marks in the sand, a few
// pebbles, and bright, gentle caustics. Light everywhere, and cool: the dark
// insects and the pink tongue stand out on it.
std::vector<uint8_t> FeedingBackdrop() {
  Canvas canvas(kW, kH, true);
  WaterLook water;
  water.Deep = Hex(0x86D2C6);
  water.Shallow = Hex(0xCDEFD8);
  water.Light = Hex(0xFAFFF4);
  water.CausticStrength = 0.26;
  water.Seed = 33;
  PaintWater(canvas.Surface(), water);

  // Ripple marks: bands whose wave numbers are whole periods of the tile, bent
  // by a slow wave so they meander.
  cairo_surface_t* s = canvas.Surface();
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < kH; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < kW; ++x) {
      const double u = static_cast<double>(x) / kW, v = static_cast<double>(y) / kH;
      const double bend = 0.35 * std::sin(2 * M_PI * (2 * u + v)) + 0.2 * std::sin(2 * M_PI * (u - 3 * v) + 1.3);
      const double band = std::sin(2 * M_PI * (3 * u + 13 * v) + 2 * M_PI * bend);
      const double shade = 1 + 0.035 * band;
      uint32_t p = row[x];
      uint32_t out = 0xFF000000u;
      for (int ch = 0; ch < 3; ++ch) {
        const double val = ((p >> (8 * ch)) & 0xFF) * shade;
        out |= static_cast<uint32_t>(std::clamp(val, 0.0, 255.0)) << (8 * ch);
      }
      row[x] = out;
    }
  }
  cairo_surface_mark_dirty(s);
  Rng rng(8);
  Pebbles(canvas.Cr(), rng, 18, 0, kW, Hex(0xEEF8EC), 0.45);
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
