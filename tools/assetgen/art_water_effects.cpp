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
        const double alpha = strength * (1 - 0.8 * t) * (1 - 0.25 * ring);
        Ring(cr, cx, cy, r, 3.2 - 0.6 * ring - 1.2 * t, alpha);
      }
    });
  assets.Frames(name, sheet.Png(), w, kRippleH);
}

constexpr int kSplashW = 140, kSplashH = 120, kSplashFrames = 7;
const Rgba kSpray = Hex(0xDDF7FF), kSprayLine = Hex(0x3E9DB8);

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

void DrawSplash(cairo_t* cr, int k) {
  const double cx = kSplashW / 2.0, cy = 66;
  const double t = k / (kSplashFrames - 1.0);
  // Foam ring on the water, widening.
  const double foamR = 14 + 40 * std::sqrt(t);
  const double foamA = k < 2 ? 0.9 : 0.9 * (1 - t);
  EllipsePath(cr, cx, cy, foamR, 0.8 * foamR);
  SetColor(cr, Hex(0xFFFFFF, foamA * 0.5));
  cairo_set_line_width(cr, 6 * (1 - 0.6 * t));
  cairo_stroke(cr);
  // The burst in the middle, then the crown of drops flying out and falling back.
  if (k <= 3) {
    const double br = 18 + 8 * k - (k == 3 ? 14 : 0);
    ShadedFill(cr, [&](cairo_t* c) { EllipsePath(c, cx, cy, br, 0.85 * br); }, Hex(0xBFEFFF, 0.9), 1.5, 0.6);
  }
  Rng rng(77);
  const int drops = 14;
  for (int d = 0; d < drops; ++d) {
    const double a = 2 * M_PI * d / drops + 0.2 * rng.Bipolar();
    const double speed = 0.7 + 0.3 * rng.Uniform();
    const double dist = (12 + 46 * speed) * std::sin(std::min(1.0, t * 1.25) * M_PI * 0.6);
    const double r = (3.2 + 1.6 * rng.Uniform()) * (1 - 0.5 * t);
    if (k == kSplashFrames - 1 && d % 2) continue;
    Drop(cr, cx + dist * std::cos(a), cy + 0.8 * dist * std::sin(a), r, a);
  }
  if (k >= 4) {
    for (int b = 0; b < 6; ++b) {
      const double a = b * 1.1 + 0.4;
      EllipsePath(cr, cx + 20 * std::cos(a), cy + 16 * std::sin(a), 2.5, 2.5);
    }
    SetColor(cr, Hex(0xFFFFFF, 0.7));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
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
