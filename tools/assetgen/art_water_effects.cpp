// Rings on the water and the splash of a fall.
//
// A ripple is drawn beneath the lilies with its ring centred 60 px above the
// frame's bottom (the game puts that point just below the lily's foot), so its
// rings are flattened to fit the 58 px below the centre. Three sizes, for the
// lilies' three weights. The splash is centred on the frog's cell and drawn over
// the frog: a see-through crown of water that rises, throws drops up, falls back
// and leaves foam.
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
// Water thrown up is see-through and takes the pond's blue: light and glassy at
// its edges, bluer where it is thick.
const Rgba kSpray = Hex(0xD8F4FF), kSprayDeep = Hex(0x5FB8D8), kSprayLine = Hex(0x2F86A6);

// A drop in flight, pointing the way it goes (angle), translucent.
void Drop(cairo_t* cr, double x, double y, double r, double angle, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, -2.2 * r, 0);
  cairo_curve_to(cr, -0.8 * r, -0.9 * r, 0, -r, 0.4 * r, -r);
  cairo_arc(cr, 0.4 * r, 0, r, -M_PI / 2, M_PI / 2);
  cairo_curve_to(cr, 0, r, -0.8 * r, 0.9 * r, -2.2 * r, 0);
  cairo_close_path(cr);
  Gradient::Radial(0.4 * r, -0.3 * r, 0, 0, 0, 2.2 * r,
                   {{0, WithAlpha(kSpray, 0.75 * alpha)}, {1, WithAlpha(kSprayDeep, 0.45 * alpha)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, WithAlpha(kSprayLine, 0.7 * alpha));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  EllipsePath(cr, 0.55 * r, -0.4 * r, 0.32 * r, 0.28 * r);
  SetColor(cr, Hex(0xFFFFFF, 0.95 * alpha));
  cairo_fill(cr);
  cairo_restore(cr);
}

// A soft band of foam round (cx, cy): radius r, `width` wide, flattened like the rings.
void FoamRing(cairo_t* cr, double cx, double cy, double r, double width, double alpha) {
  SoftShape(
      cr,
      [&](cairo_t* c) {
        cairo_save(c);
        cairo_translate(c, cx, cy);
        cairo_scale(c, 1, kRingSquash);
        cairo_new_sub_path(c);
        cairo_arc(c, 0, 0, r + width / 2, 0, 2 * M_PI);
        cairo_new_sub_path(c);
        cairo_arc_negative(c, 0, 0, std::max(0.0, r - width / 2), 2 * M_PI, 0);
        cairo_restore(c);
      },
      WithAlpha(kSpray, alpha), 0, 0, 1.5);
}

void Bubble(cairo_t* cr, double x, double y, double r) {
  EllipsePath(cr, x, y, r, r);
  SetColor(cr, WithAlpha(kSpray, 0.2));
  cairo_fill_preserve(cr);
  SetColor(cr, WithAlpha(kSpray, 0.8));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  EllipsePath(cr, x - 0.35 * r, y - 0.35 * r, 0.3 * r, 0.3 * r);
  SetColor(cr, Hex(0xFFFFFF, 0.9));
  cairo_fill(cr);
}

// The crown: a ring-shaped wall of water round (cx, cy), `r` across at its
// foot and `h` high, its top torn into points. Seen from above and in front, so
// the far half shows inside the near one. `half` 0 draws the far half, 1 the near.
void CrownWall(cairo_t* cr, double cx, double cy, double r, double h, double alpha, int half) {
  const int n = 48;
  const double a0 = half == 0 ? M_PI : 0, a1 = a0 + M_PI;
  auto top = [&](double a) {
    const double jag = 0.5 + 0.5 * std::cos(9 * a);  // nine points round the rim
    return std::pair{cx + 1.25 * r * std::cos(a), cy + kRingSquash * 1.25 * r * std::sin(a) - h * (0.7 + 0.45 * jag)};
  };
  for (int i = 0; i <= n; ++i) {
    const auto [x, y] = top(a0 + (a1 - a0) * i / n);
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  for (int i = n; i >= 0; --i) {
    const double a = a0 + (a1 - a0) * i / n;
    cairo_line_to(cr, cx + r * std::cos(a), cy + kRingSquash * r * std::sin(a));
  }
  cairo_close_path(cr);
  const double shade = half == 0 ? 0.7 : 1.0;  // the far wall is seen through the near one
  Gradient::Linear(0, cy - 1.2 * h, 0, cy + kRingSquash * r,
                   {{0, WithAlpha(kSpray, 0.8 * alpha * shade)}, {0.55, WithAlpha(kSpray, 0.45 * alpha * shade)},
                    {1, WithAlpha(kSprayDeep, 0.35 * alpha * shade)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, WithAlpha(kSprayLine, 0.55 * alpha));
  cairo_set_line_width(cr, 1);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// The frog hits the water: a crown of water rises round the hole, throws drops
// up from its points and falls back; a little column bounces up from the middle,
// and a ring of foam, bubbles and ripples is left.
void DrawSplash(cairo_t* cr, int k) {
  const double cx = kSplashW / 2.0, cy = 72;
  const double crownR[] = {16, 24, 30, 35, 39, 0, 0}, crownH[] = {12, 30, 36, 24, 9, 0, 0};
  const double crownA[] = {0.9, 1, 1, 0.85, 0.6, 0, 0};
  const double foamR[] = {18, 26, 32, 37, 42, 47, 52}, foamA[] = {0.5, 0.45, 0.4, 0.35, 0.35, 0.28, 0.15};
  const double column[] = {0, 0, 0, 8, 26, 18, 0};  // the bounce from the middle
  FoamRing(cr, cx, cy, foamR[k], 8 - 0.7 * k, foamA[k]);
  if (k >= 4) Ring(cr, cx, cy, foamR[k] + 3, 2, 0.6 - 0.07 * k);
  if (crownA[k] > 0) {
    // The hole the frog made, darker inside the crown.
    EllipsePath(cr, cx, cy, crownR[k] * 0.95, kRingSquash * crownR[k] * 0.95);
    SetColor(cr, Hex(0x0A4C5E, 0.35 * crownA[k]));
    cairo_fill(cr);
    CrownWall(cr, cx, cy, crownR[k], crownH[k], crownA[k], 0);
  }
  if (column[k] > 0) {
    const double h = column[k];
    cairo_move_to(cr, cx - 5, cy);
    cairo_curve_to(cr, cx - 3, cy - 0.5 * h, cx - 2, cy - 0.8 * h, cx, cy - h);
    cairo_curve_to(cr, cx + 2, cy - 0.8 * h, cx + 3, cy - 0.5 * h, cx + 5, cy);
    cairo_close_path(cr);
    Gradient::Linear(0, cy - h, 0, cy, {{0, WithAlpha(kSpray, 0.8)}, {1, WithAlpha(kSprayDeep, 0.35)}}).Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, WithAlpha(kSprayLine, 0.5));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Drop(cr, cx, cy - h - 5 - (k == 5 ? 8 : 0), 3.6, -M_PI / 2, 1);
  }
  if (crownA[k] > 0) CrownWall(cr, cx, cy, crownR[k], crownH[k], crownA[k], 1);
  // Drops thrown up from the crown's points: rising, then falling back outside it.
  const double rise[] = {12, 34, 50, 54, 40, 18, 0}, spread[] = {1.1, 1.25, 1.4, 1.55, 1.7, 1.85, 2};
  Rng rng(77);
  for (int d = 0; d < 9; ++d) {
    const double a = 2 * M_PI * d / 9 + 0.15 * rng.Bipolar(), speed = 0.75 + 0.5 * rng.Uniform();
    const double r0 = std::max(crownR[k], 16.0) * spread[k] / 1.1;
    const double x = cx + 1.05 * r0 * std::cos(a), y = cy + kRingSquash * r0 * std::sin(a) - speed * rise[k];
    const double size = (2.2 + 1.6 * rng.Uniform()) * (k >= 5 ? 0.7 : 1);
    if (rise[k] <= 0 || y < size + 2) continue;
    Drop(cr, x, y, size, k <= 2 ? -M_PI / 2 + 0.5 * std::cos(a) : M_PI / 2, k >= 5 ? 0.7 : 1);
  }
  if (k >= 3) {
    Rng b(91 + k);
    for (int i = 0; i < 7; ++i) {
      const double a = b.Uniform() * 2 * M_PI, d = 8 + 24 * b.Uniform();
      Bubble(cr, cx + d * std::cos(a), cy + kRingSquash * d * std::sin(a), 1.5 + 2 * b.Uniform());
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
