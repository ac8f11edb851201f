// The crossing's water lilies, 140 x 120 each, the pad standing on the bottom
// edge of the frame, which the game puts on the cell's point:
//  - three simple lilies that sink and come back (frame 0 afloat, 1 still
//    afloat, 2.. sinking, the last two under water);
//  - the hunter: a red trap whose two lobes snap shut over the frog;
//  - the springy lily on its coil, and the sticky one under its glossy goo, which
//    both play once and end at rest;
//  - "kuvshinka_simple", a still simple lily for the help page.
#include <cmath>
#include <functional>

#include "canvas.h"
#include "pond.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kW = 140, kH = 120;
constexpr double kCx = 70, kCy = 61;
const Rgba kWater = Hex(0x16707E);

using DrawFn = std::function<void(cairo_t*)>;

void PadShadow(cairo_t* cr, double x, double y, double r, double alpha) {
  SoftShape(cr, [&](cairo_t* c) { EllipsePath(c, x, y, r, r); }, Hex(0x06343F, alpha), 0, 0, 4);
}

// ---------------------------------------------------------------- simple lilies

struct SimpleLook {
  Rgba Pad;
  double Notch, R;
  int Decor;  // 0: open flower, 1: bud and a young leaf, 2: small white flower and duckweed
};

const SimpleLook kSimple[] = {
    {Hex(0x5CBF3E), -1.2, 56, 0},
    {Hex(0x79C94A), 2.1, 54, 1},
    {Hex(0x3FA55A), 0.3, 55, 2},
};

void DrawSimpleRest(cairo_t* cr, const SimpleLook& look) {
  LilyPad pad{kCx, kCy, look.R, look.Notch, 1, look.Pad};
  DrawLilyPad(cr, pad);
  switch (look.Decor) {
    case 0:
      DrawWaterLily(cr, kCx + 30, kCy - 26, 19, 0.3);
      break;
    case 1:
      DrawLilyBud(cr, kCx - 32, kCy + 24, 17, 2.4);
      DrawLilyPad(cr, {kCx + 38, kCy + 34, 13, -2.4, 1, Hex(0x9AD65E)});
      break;
    default:
      DrawWaterLily(cr, kCx - 30, kCy - 28, 14, 1.1);
      DrawDuckweed(cr, kCx + 40, kCy + 30, 9, 31);
      break;
  }
}

// Draws `rest` as sunk to `depth` (0 afloat, 1 gone): water closes over the
// leaf from its rim inwards, and the shadow and the colour fade into the pond.
void DrawSunk(cairo_t* cr, const DrawFn& rest, double r, double depth) {
  if (depth < 0.9) PadShadow(cr, kCx + 3, kCy + 4, r, 0.4 * (1 - depth));
  Canvas layer(kW, kH);
  rest(layer.Cr());
  cairo_t* lc = layer.Cr();
  if (depth > 0) {
    // Water over the leaf: a tint through the leaf's own alpha.
    cairo_set_operator(lc, CAIRO_OPERATOR_ATOP);
    Gradient::Radial(kCx - 0.3 * r, kCy - 0.3 * r, 0, kCx, kCy, 1.3 * r,
                     {{0, WithAlpha(kWater, std::min(1.0, 0.9 * depth))},
                      {std::max(0.05, 1 - depth * 1.4), WithAlpha(kWater, std::min(1.0, 1.1 * depth))},
                      {1, WithAlpha(kWater, std::min(0.95, 0.35 + 0.8 * depth))}})
        .Use(lc);
    cairo_paint(lc);
  }
  cairo_set_source_surface(cr, layer.Surface(), 0, 0);
  cairo_paint_with_alpha(cr, 1 - 0.8 * depth);
  // The water's edge around a leaf that is going under, and a few rising bubbles.
  if (depth > 0 && depth < 0.95) {
    EllipsePath(cr, kCx, kCy, r * (1 - 0.25 * depth), r * (1 - 0.25 * depth));
    SetColor(cr, Hex(0xE8FFFA, 0.45 * (1 - depth) + 0.1));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
  }
  if (depth >= 0.4) {
    const double bubbles[][3] = {{-18, -10, 3.5}, {12, 8, 2.5}, {24, -22, 2}, {-6, 22, 2.8}};
    for (const auto& b : bubbles) {
      EllipsePath(cr, kCx + b[0], kCy + b[1], b[2], b[2]);
      SetColor(cr, Hex(0xE8FFFA, 0.6));
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    }
  }
}

void AddSimple(Assets& assets, const std::string& name, const SimpleLook& look) {
  // Rest, still afloat, going under, almost gone, under water (the long dwell),
  // and on the way back.
  const double depth[] = {0, 0.12, 0.42, 0.68, 0.92, 0.82};
  const int n = static_cast<int>(std::size(depth));
  FrameSheet sheet(n, kW, kH);
  for (int k = 0; k < n; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      DrawSunk(cr, [&](cairo_t* c) { DrawSimpleRest(c, look); }, look.R, depth[k]);
    });
  assets.Frames(name, sheet.Png(), kW, kH);
}

// ---------------------------------------------------------------- hunter

const Rgba kTrapInner = Hex(0xE8574A), kTrapOuter = Hex(0x9E2B2E), kTooth = Hex(0xFFF1D8);

// One lobe, left (side -1) or right (+1) of the midline, folded up by `fold`
// (0 open flat, 1 standing upright): seen from above it narrows to cos(fold).
void TrapLobe(cairo_t* cr, double side, double fold, double r) {
  const double s = std::max(0.08, std::cos(fold * M_PI / 2));
  cairo_save(cr);
  cairo_translate(cr, kCx, kCy);
  cairo_scale(cr, side * s, 1);
  auto lobe = [&](cairo_t* c) {
    cairo_move_to(c, 2, -r * 0.96);
    cairo_curve_to(c, r * 0.7, -r * 1.02, r * 1.05, -r * 0.5, r, 0);
    cairo_curve_to(c, r * 1.05, r * 0.5, r * 0.7, r * 1.02, 2, r * 0.96);
    cairo_close_path(c);
  };
  // Teeth along the rim, pointing outwards.
  const int teeth = 9;
  for (int k = 0; k < teeth; ++k) {
    const double a = -M_PI / 2 + M_PI * (k + 0.5) / teeth;
    const double ca = std::cos(a), sa = std::sin(a);
    cairo_move_to(cr, (r - 3) * ca - 4 * sa, (r - 3) * sa + 4 * ca);
    cairo_line_to(cr, (r + 9) * ca, (r + 9) * sa);
    cairo_line_to(cr, (r - 3) * ca + 4 * sa, (r - 3) * sa - 4 * ca);
    cairo_close_path(cr);
  }
  SetColor(cr, kTooth);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x8A3A2A));
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_restore(cr);

  cairo_save(cr);
  cairo_translate(cr, kCx, kCy);
  cairo_scale(cr, side * s, 1);
  ShadedFill(cr, lobe, Mix(kTrapInner, kTrapOuter, 0.6 * fold), 0, 0.3);
  // Veins and the three trigger hairs of the trap.
  cairo_set_line_width(cr, 1);
  for (int k = -2; k <= 2; ++k) {
    cairo_move_to(cr, 4, 0);
    cairo_line_to(cr, 0.8 * r * std::cos(k * 0.55), 0.8 * r * std::sin(k * 0.55));
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  SetColor(cr, Hex(0x8E1F28, 0.5));
  cairo_stroke(cr);
  cairo_restore(cr);
  for (double y : {-0.35, 0.0, 0.35}) EllipsePath(cr, 0.42 * r, y * r, 2, 2);
  SetColor(cr, Hex(0x5E0E16, 0.8));
  cairo_fill(cr);
  lobe(cr);
  cairo_restore(cr);
  SetColor(cr, Hex(0x5E1418));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void DrawHunter(cairo_t* cr, double fold) {
  const double r = 50;
  PadShadow(cr, kCx + 3, kCy + 4, r * std::max(0.4, std::cos(fold * M_PI / 2)) + 4, 0.4);
  if (fold >= 1) {
    // Shut: a plump pod with the teeth locked along its seam.
    auto pod = [&](cairo_t* c) { EllipsePath(c, kCx, kCy, 30, r + 2); };
    ShadedFill(cr, pod, kTrapOuter, 2, 0.3);
    for (int k = 0; k < 8; ++k) {
      const double y = kCy - r + 10 + k * (2 * r - 20) / 7.0, side = (k % 2) ? 1 : -1;
      cairo_move_to(cr, kCx, y - 4);
      cairo_line_to(cr, kCx + side * 9, y);
      cairo_line_to(cr, kCx, y + 4);
      cairo_close_path(cr);
    }
    SetColor(cr, kTooth);
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x8A3A2A));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_move_to(cr, kCx, kCy - r + 4);
    cairo_line_to(cr, kCx, kCy + r - 4);
    SetColor(cr, Hex(0x5E1418));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    return;
  }
  TrapLobe(cr, -1, fold, r);
  TrapLobe(cr, 1, fold, r);
}

// ---------------------------------------------------------------- springy

const Rgba kCoil = Hex(0xD89A3C);

void Coil(cairo_t* cr, double x, double y, double r, double turns, double rise) {
  // A helix seen from above: loops that drift towards the light as they rise.
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    cairo_new_path(cr);
    for (int i = 0; i <= 200; ++i) {
      const double t = i / 200.0, a = t * turns * 2 * M_PI;
      const double px = x - rise * t + r * std::cos(a), py = y - rise * t + r * std::sin(a);
      if (i == 0)
        cairo_move_to(cr, px, py);
      else
        cairo_line_to(cr, px, py);
    }
    if (pass == 0) {
      SetColor(cr, Darken(kCoil, 0.5));
      cairo_set_line_width(cr, 6);
    } else {
      Gradient::Linear(x - r, y - r, x + r, y + r, {{0, Lighten(kCoil, 0.5)}, {0.5, kCoil}, {1, Darken(kCoil, 0.2)}})
          .Use(cr);
      cairo_set_line_width(cr, 3);
    }
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void DrawSpringy(cairo_t* cr, double scale, double lift) {
  const double r = 50 * scale;
  PadShadow(cr, kCx + 3 + lift, kCy + 4 + lift, r, 0.4);
  // The coil under the leaf shows between the leaf and its shadow.
  Coil(cr, kCx + 6 + lift, kCy + 6 + lift, 0.62 * r, 3, 6 + lift);
  DrawLilyPad(cr, {kCx, kCy, r, 2.6, 1, Hex(0x4FB889)});
  // The spring's top spiral, riveted through the leaf.
  Coil(cr, kCx, kCy, 0.3 * r, 1.6, 2);
}

// ---------------------------------------------------------------- sticky

const Rgba kSticky = Hex(0xB5D23A), kGoo = Hex(0xE4F05A);

void DrawSticky(cairo_t* cr, double swell) {
  const double r = 55 - 2 * swell;
  PadShadow(cr, kCx + 3, kCy + 4, r, 0.4);
  DrawLilyPad(cr, {kCx, kCy, r, -2.2, 1, kSticky});
  // Glossy puddles of goo with their own highlight.
  const double blobs[][3] = {{-18, -14, 15}, {16, 10, 17}, {-10, 24, 10}, {22, -22, 9}};
  for (const auto& b : blobs) {
    const double br = b[2] * (1 + 0.35 * swell);
    ShadedFill(cr, [&](cairo_t* c) { EllipsePath(c, kCx + b[0], kCy + b[1], br, 0.8 * br); },
               WithAlpha(kGoo, 0.85), 1, 0.7);
  }
  if (swell > 0.3) {
    const double bubbles[][3] = {{-26, 6, 3}, {4, -30, 2.5}, {30, 20, 2}};
    for (const auto& b : bubbles) {
      EllipsePath(cr, kCx + b[0], kCy + b[1], b[2] * swell + 1, b[2] * swell + 1);
      SetColor(cr, Hex(0xFFFFE0, 0.8));
      cairo_fill(cr);
    }
  }
}

void AddOneShot(Assets& assets, const std::string& name, int n, const std::function<void(cairo_t*, int)>& draw) {
  FrameSheet sheet(n, kW, kH);
  for (int k = 0; k < n; ++k) sheet.Draw(k, [&](cairo_t* cr) { draw(cr, k); });
  assets.Frames(name, sheet.Png(), kW, kH);
}

}  // namespace

void AddLilyArt(Assets& assets) {
  AddSimple(assets, "kuvshinka_simple_1", kSimple[0]);
  AddSimple(assets, "kuvshinka_simple_2", kSimple[1]);
  AddSimple(assets, "kuvshinka_simple_3", kSimple[2]);

  Canvas still(kW, kH);
  DrawSunk(still.Cr(), [&](cairo_t* c) { DrawSimpleRest(c, kSimple[0]); }, kSimple[0].R, 0);
  assets.Picture("kuvshinka_simple", still.Png());

  const double fold[] = {0, 0.45, 0.8, 1};
  AddOneShot(assets, "kuvshinka_hunter", 4, [&](cairo_t* cr, int k) { DrawHunter(cr, fold[k]); });

  // Rest, pressed down, thrown up, overshoot, settling, rest.
  const double scale[] = {1, 0.93, 1.1, 1.04, 0.98, 1}, lift[] = {2, 0, 9, 6, 3, 2};
  AddOneShot(assets, "kuvshinka_pruginka", 6, [&](cairo_t* cr, int k) { DrawSpringy(cr, scale[k], lift[k]); });

  // Rest, the goo wells up and pulls, lets go, rest.
  const double swell[] = {0, 0.5, 1, 1, 0.5, 0};
  AddOneShot(assets, "kuvshinka_liapuchka", 6, [&](cairo_t* cr, int k) { DrawSticky(cr, swell[k]); });
}

ASSETGEN_MODULE(AddLilyArt);

}  // namespace pondaro::assetgen
