// Rings on the water and the splash of a fall.
//
// A ripple is drawn beneath the lilies with its ring centred 60 px above the
// frame's bottom (the game puts that point just below the lily's foot), so its
// rings are flattened to fit the 58 px below the centre. Three sizes, for the
// lilies' three weights. The splash is centred on the frog's cell and drawn over
// the frog: a crown of drops that rises, falls back and leaves foam.
#include <cmath>

#include "canvas.h"
#include "registry.h"
#include "synth.h"  // Rng

namespace pondaro::assetgen {

namespace {

constexpr int kRippleH = 124, kRippleFrames = 6;
constexpr double kRingSquash = 0.6;

void Ring(cairo_t* cr, double x, double y, double r, double width, double alpha) {
  EllipsePath(cr, x, y, r, r * kRingSquash);
  // Bright towards the light, fading away from it; a thin dark trough inside.
  Gradient::Linear(x - r, y - r, x + r, y + r, {{0, Hex(0xFFFFFF, alpha)}, {1, Hex(0xDFFFF6, 0.25 * alpha)}})
      .Use(cr);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  EllipsePath(cr, x, y, r - width, (r - width) * kRingSquash);
  SetColor(cr, Hex(0x05404C, 0.3 * alpha));
  cairo_set_line_width(cr, 0.7 * width);
  cairo_stroke(cr);
}

void AddRipple(Assets& assets, const std::string& name, int w, double strength) {
  FrameSheet sheet(kRippleFrames, w, kRippleH);
  const double cx = w / 2.0, cy = kRippleH - 60, rMax = w / 2.0 - 4;
  for (int k = 0; k < kRippleFrames; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      const double t = (k + 1.0) / kRippleFrames;
      for (int ring = 0; ring < 3; ++ring) {
        const double rt = t - 0.16 * ring;
        if (rt <= 0) continue;
        const double r = 0.3 * rMax + 0.7 * rMax * rt;
        const double alpha = std::min(1.0, 1.2 * strength * (1 - 0.75 * t) * (1 - 0.25 * ring));
        Ring(cr, cx, cy, r, 3.6 - 0.6 * ring - 1.4 * t, alpha);
      }
    });
  assets.Frames(name, sheet.Png(), w, kRippleH);
}

constexpr int kSplashW = 140, kSplashH = 120, kSplashFrames = 7;
const Rgba kSpray = Hex(0xDDF7FF);

void Drop(cairo_t* cr, double x, double y, double r, double angle) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  auto path = [&](cairo_t* c) {
    cairo_move_to(c, -2.2 * r, 0);
    cairo_curve_to(c, -0.8 * r, -0.9 * r, 0, -r, 0.4 * r, -r);
    cairo_arc(c, 0.4 * r, 0, r, -M_PI / 2, M_PI / 2);
    cairo_curve_to(c, 0, r, -0.8 * r, 0.9 * r, -2.2 * r, 0);
    cairo_close_path(c);
  };
  ShadedFill(cr, path, kSpray, 1, 0.6);
  cairo_restore(cr);
}

// A soft band of foam round (cx, cy): radius r, `width` wide, flattened like the rings.
void FoamRing(cairo_t* cr, double cx, double cy, double r, double width, double alpha) {
  SoftShape(
      cr,
      [&](cairo_t* c) {
        cairo_save(c);
        cairo_translate(c, cx, cy);
        cairo_scale(c, 1, 0.85);
        cairo_new_sub_path(c);
        cairo_arc(c, 0, 0, r + width / 2, 0, 2 * M_PI);
        cairo_new_sub_path(c);
        cairo_arc_negative(c, 0, 0, std::max(0.0, r - width / 2), 2 * M_PI, 0);
        cairo_restore(c);
      },
      Hex(0xFFFFFF, alpha), 0, 0, 1.5);
}

void Bubble(cairo_t* cr, double x, double y, double r) {
  EllipsePath(cr, x, y, r, r);
  SetColor(cr, Hex(0xFFFFFF, 0.2));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0xF0FFFF, 0.85));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  EllipsePath(cr, x - 0.35 * r, y - 0.35 * r, 0.3 * r, 0.3 * r);
  SetColor(cr, Hex(0xFFFFFF, 0.9));
  cairo_fill(cr);
}

// The frog hits the water: a white burst and a crown of drops, which fly out,
// fall back and leave a ring of foam, bubbles and ripples.
void DrawSplash(cairo_t* cr, int k) {
  const double cx = kSplashW / 2.0, cy = 66;
  // Where the crown's drops are, how big the column of water in the middle is,
  // the foam ring's radius and strength, per frame.
  const double dropR[] = {24, 36, 46, 52, 54, 0, 0};
  const double dropSize[] = {5, 5, 4.4, 3.6, 3, 0, 0};
  const double column[] = {26, 20, 13, 6, 0, 0, 0};
  const double foamR[] = {26, 32, 38, 42, 46, 50, 53};
  const double foamA[] = {0.9, 0.85, 0.75, 0.6, 0.45, 0.3, 0.16};
  FoamRing(cr, cx, cy, foamR[k], 7 - 0.6 * k, foamA[k]);
  if (k >= 4) Ring(cr, cx, cy, foamR[k] + 2, 2, 0.6 - 0.08 * k);
  if (column[k] > 0) {
    ShadedFill(cr, [&](cairo_t* c) { EllipsePath(c, cx, cy, column[k], 0.9 * column[k]); }, Hex(0xCFF3FF), 1.5, 0.8);
    SoftShape(cr, [&](cairo_t* c) { EllipsePath(c, cx - 0.2 * column[k], cy - 0.25 * column[k], 0.5 * column[k], 0.4 * column[k]); },
              Hex(0xFFFFFF, 0.9), 0, 0, 1.5);
  }
  Rng rng(77);
  const int drops = 16;
  for (int d = 0; d < drops; ++d) {
    const double a = 2 * M_PI * d / drops + 0.18 * rng.Bipolar();
    const double dist = dropR[k] * (0.85 + 0.3 * rng.Uniform());
    const double r = dropSize[k] * (0.75 + 0.5 * rng.Uniform());
    if (r <= 0 || (k >= 3 && d % 3 == 0)) continue;
    Drop(cr, cx + dist * std::cos(a), cy + 0.85 * dist * std::sin(a), r, a);
  }
  if (k >= 3) {
    Rng b(91 + k);
    for (int i = 0; i < 7; ++i) {
      const double a = b.Uniform() * 2 * M_PI, d = 10 + 26 * b.Uniform();
      Bubble(cr, cx + d * std::cos(a), cy + 0.85 * d * std::sin(a), 1.5 + 2 * b.Uniform());
    }
  }
}

}  // namespace

void AddWaterEffects(Assets& assets) {
  AddRipple(assets, "razvod1", 160, 0.75);
  AddRipple(assets, "razvod2", 180, 0.85);
  AddRipple(assets, "razvod3", 200, 0.95);
  FrameSheet splash(kSplashFrames, kSplashW, kSplashH);
  for (int k = 0; k < kSplashFrames; ++k) splash.Draw(k, [&](cairo_t* cr) { DrawSplash(cr, k); });
  assets.Frames("brizgi", splash.Png(), kSplashW, kSplashH);
}

ASSETGEN_MODULE(AddWaterEffects);

}  // namespace pondaro::assetgen
