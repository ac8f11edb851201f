// The three lilies that act on the frog, drawn in the lily frame of lilies.h:
//  - the hunter, a red trap with teeth round its rim, whose two halves fold up
//    along the middle and snap shut (it ends shut: the frog is inside);
//  - the springy lily, a leaf stretched like a trampoline on a ring of coil
//    springs, which is pressed down, throws, bounces and comes to rest;
//  - the sticky lily under a glossy puddle of goo that wells up as it holds the
//    frog and settles back.
// The springy and sticky lilies play once and end exactly on their first frame.
#include <cmath>
#include <functional>

#include "canvas.h"
#include "lilies.h"
#include "pond.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

using lily::kCx;
using lily::kCy;
using lily::kH;
using lily::kW;

// ---------------------------------------------------------------- hunter

constexpr double kTrapR = 54, kNotch = 0.3;
const Rgba kTrapIn = Hex(0xE2474F), kTrapDeep = Hex(0x8C1530), kTrapRim = Hex(0xF7A283);
const Rgba kTrapBack = Hex(0xA23A36), kTooth = Hex(0xFFF3DC), kTrapLine = Hex(0x5A0E1C);

// Half of the trap, right of the midline in its own coordinates (the midline
// is x = 0, the notch at its top end).
void LobePath(cairo_t* cr, double r) {
  cairo_move_to(cr, 0, -0.3 * r);
  cairo_line_to(cr, r * std::sin(kNotch), -r * std::cos(kNotch));
  cairo_arc(cr, 0, 0, r, -M_PI / 2 + kNotch, M_PI / 2);
  cairo_close_path(cr);
}

// One half, left (side -1) or right (+1), folded up by `fold` (0 flat on the
// water, 1 upright): from above it narrows to cos(fold) of its width.
void TrapLobe(cairo_t* cr, double side, double fold) {
  const double r = kTrapR, k = std::max(0.1, std::cos(fold * M_PI / 2));
  cairo_save(cr);
  cairo_translate(cr, kCx, kCy);
  cairo_scale(cr, side * k, 1);
  // The throat is dark at the fold and turns pink towards the light rim.
  LobePath(cr, r);
  Gradient::Radial(0.1 * r, 0, 0, 0.1 * r, 0, r,
                   {{0, kTrapDeep}, {0.5, kTrapIn}, {0.86, Lighten(kTrapIn, 0.12)}, {1, kTrapRim}})
      .Use(cr);
  cairo_fill(cr);
  for (int v = -2; v <= 2; ++v) {
    const double a = v * 0.55;
    cairo_move_to(cr, 2, 0.25 * r * v);
    cairo_curve_to(cr, 0.3 * r, 0.3 * r * std::sin(a) + 0.25 * r * v * 0.5, 0.6 * r * std::cos(a),
                   0.7 * r * std::sin(a), 0.78 * r * std::cos(a), 0.8 * r * std::sin(a));
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  SetColor(cr, Hex(0x7A0E22, 0.45));
  cairo_set_line_width(cr, 1.1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
  // Teeth round the rim, pointing in over the leaf.
  const int teeth = 6;
  for (int t = 0; t < teeth; ++t) {
    const double a = -M_PI / 2 + kNotch + 0.25 + (M_PI - kNotch - 0.45) * t / (teeth - 1);
    const double ca = std::cos(a), sa = std::sin(a), base = r - 3, tip = r - 16;
    cairo_move_to(cr, base * ca - 5 * sa, base * sa + 5 * ca);
    cairo_curve_to(cr, (base - 6) * ca - 3 * sa, (base - 6) * sa + 3 * ca, tip * ca, tip * sa, tip * ca, tip * sa);
    cairo_curve_to(cr, tip * ca, tip * sa, (base - 6) * ca + 3 * sa, (base - 6) * sa - 3 * ca, base * ca + 5 * sa,
                   base * sa - 5 * ca);
    cairo_close_path(cr);
  }
  cairo_restore(cr);
  Gradient::Linear(kCx - r, kCy - r, kCx + r, kCy + r, {{0, Hex(0xFFFFFF)}, {1, kTooth}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x7A2A20));
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);

  cairo_save(cr);
  cairo_translate(cr, kCx, kCy);
  cairo_scale(cr, side * k, 1);
  LobePath(cr, r);
  cairo_restore(cr);
  // A half that rises towards the light catches more of it.
  if (fold > 0) {
    SetColor(cr, Hex(0xFFE0D0, 0.16 * fold));
    cairo_fill_preserve(cr);
  }
  SetColor(cr, kTrapLine);
  cairo_set_line_width(cr, 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void DrawHunter(cairo_t* cr, double fold) {
  const double r = kTrapR, k = std::max(0.1, std::cos(fold * M_PI / 2));
  if (fold >= 1) {
    // Shut over its catch: the two halves stand pressed together, their backs
    // bulging, the teeth locked along the seam.
    lily::Shadow(cr, kCx + 6, kCy + 7, 30, 0.45);
    auto pod = [&](cairo_t* c) {
      cairo_move_to(c, kCx, kCy - r + 2);
      cairo_curve_to(c, kCx + 40, kCy - r + 10, kCx + 40, kCy + r - 10, kCx, kCy + r);
      cairo_curve_to(c, kCx - 40, kCy + r - 10, kCx - 40, kCy - r + 10, kCx, kCy - r + 2);
      cairo_close_path(c);
    };
    ShadedFill(cr, pod, kTrapBack, 2, 0.4);
    cairo_save(cr);
    pod(cr);
    cairo_clip(cr);
    for (double side : {-1.0, 1.0})
      for (int v = 0; v < 4; ++v) {
        const double y = kCy - 36 + v * 22;
        cairo_move_to(cr, kCx + side * 6, y);
        cairo_curve_to(cr, kCx + side * 18, y + 4, kCx + side * 26, y + 10, kCx + side * 30, y + 18);
      }
    SetColor(cr, Hex(0x6A1A1E, 0.4));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
    // The lips, pressed together, and the teeth locked across them.
    for (double side : {-1.0, 1.0}) {
      cairo_move_to(cr, kCx + side * 3, kCy - r + 5);
      cairo_curve_to(cr, kCx + side * 5, kCy - 10, kCx + side * 5, kCy + 10, kCx + side * 3, kCy + r - 3);
    }
    SetColor(cr, kTrapRim);
    cairo_set_line_width(cr, 3.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_move_to(cr, kCx, kCy - r + 4);
    cairo_line_to(cr, kCx, kCy + r - 2);
    SetColor(cr, kTrapLine);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (int t = 0; t < 7; ++t) {
      const double y = kCy - r + 16 + t * (2 * r - 30) / 6.0, side = (t % 2) ? 1 : -1;
      cairo_move_to(cr, kCx - side * 2, y - 5.5);
      cairo_curve_to(cr, kCx + side * 4, y - 3, kCx + side * 12, y, kCx + side * 12, y);
      cairo_curve_to(cr, kCx + side * 4, y + 2.5, kCx - side * 2, y + 5.5, kCx - side * 2, y + 5.5);
      cairo_close_path(cr);
    }
    SetColor(cr, kTooth);
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x7A2A20));
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    return;
  }
  lily::Shadow(cr, kCx + 3 + 5 * fold, kCy + 4 + 6 * fold, r * std::max(0.45, k) + 2, 0.4 + 0.1 * fold);
  TrapLobe(cr, -1, fold);
  TrapLobe(cr, 1, fold);
  // One soft highlight on the lit upper left of the trap.
  const double hx = kCx - 0.42 * r * k, hy = kCy - 0.45 * r;
  cairo_save(cr);
  cairo_translate(cr, hx, hy);
  cairo_rotate(cr, -0.7);
  cairo_scale(cr, 0.32 * r * std::max(k, 0.5), 0.16 * r);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  Gradient::Radial(hx, hy, 0, hx, hy, 0.32 * r, {{0, Hex(0xFFFFFF, 0.35)}, {1, Hex(0xFFFFFF, 0)}}).Use(cr);
  cairo_fill(cr);
}

// ---------------------------------------------------------------- springy

const Rgba kSpringLeaf = Hex(0x4FB889), kMat = Hex(0x2F8F6A), kCoil = Hex(0xC3CED6);
constexpr double kSpringR = 53, kSpringNotch = 2.5;

// A coil spring lying from `a` to `b`: loops along the line, as it looks from
// the side; steel, outlined in its own darker tone, lit towards the light.
void CoilSpring(cairo_t* cr, double ax, double ay, double bx, double by, double radius) {
  const double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  const double ux = dx / len, uy = dy / len, vx = -uy, vy = ux;
  const int turns = 4;
  const double back = 0.3 * len / turns + 1.6;  // how far each loop swings back
  auto path = [&](cairo_t* c) {
    for (int i = 0; i <= 96; ++i) {
      const double t = i / 96.0, ph = 2 * M_PI * turns * t;
      const double along = len * t - back * std::sin(ph) * (t > 0.02 && t < 0.98 ? 1 : 0);
      const double across = radius * std::sin(ph);
      const double px = ax + ux * along + vx * across, py = ay + uy * along + vy * across;
      if (i == 0)
        cairo_move_to(c, px, py);
      else
        cairo_line_to(c, px, py);
    }
  };
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  path(cr);
  SetColor(cr, Darken(kCoil, 0.6));
  cairo_set_line_width(cr, 3.8);
  cairo_stroke(cr);
  path(cr);
  Gradient::Linear(ax - 8, ay - 8, bx + 8, by + 8, {{0, Hex(0xFFFFFF)}, {1, kCoil}}).Use(cr);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (auto [x, y] : {std::pair{ax, ay}, {bx, by}}) {
    EllipsePath(cr, x, y, 2.4, 2.4);
    SetColor(cr, Lighten(kCoil, 0.3));
    cairo_fill_preserve(cr);
    SetColor(cr, Darken(kCoil, 0.6));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// `scale` grows the leaf as it rises, `mat` the stretched middle (small when
// pressed down, large when it throws), `lift` parts the leaf from its shadow.
void DrawSpringy(cairo_t* cr, double scale, double mat, double lift) {
  const double r = kSpringR * scale, m = 0.5 * r * mat;
  lily::Shadow(cr, kCx + 3 + lift, kCy + 4 + lift, r, 0.4 - 0.015 * lift);
  DrawLilyPad(cr, {kCx, kCy, r, kSpringNotch, 1, kSpringLeaf});
  // The mat: a darker disc, lighter where it bulges towards the light.
  auto disc = [&](cairo_t* c) { EllipsePath(c, kCx, kCy, m, m); };
  ShadedFill(cr, disc, Mix(kMat, Lighten(kMat, 0.3), std::clamp(mat - 0.8, 0.0, 0.4) * 2), 1.5, 0.25 + 0.3 * (mat - 0.8));
  for (double f : {0.7, 0.4}) {
    EllipsePath(cr, kCx - 0.06 * m, kCy - 0.06 * m, f * m, f * m);
    SetColor(cr, Hex(0xD8FFE8, 0.2));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  const int springs = 8;
  for (int s = 0; s < springs; ++s) {
    const double a = kSpringNotch + 0.55 + (2 * M_PI - 1.1) * s / (springs - 1);
    const double ca = std::cos(a), sa = std::sin(a), r2 = 0.87 * r;
    CoilSpring(cr, kCx + (m + 1) * ca, kCy + (m + 1) * sa, kCx + r2 * ca, kCy + r2 * sa, 3.6);
  }
}

// ---------------------------------------------------------------- sticky

const Rgba kStickyLeaf = Hex(0xA8C832), kGoo = Hex(0xE2F04E);

void DrawSticky(cairo_t* cr, double swell) {
  const double r = 55;
  lily::Shadow(cr, kCx + 3, kCy + 4, r, 0.4);
  DrawLilyPad(cr, {kCx, kCy, r, -2.2, 1, kStickyLeaf});
  // One glossy puddle of goo, spilling over the rim in two drips, domed up in
  // the middle as it swells.
  const double dome = 28 + 8 * swell;
  const double blobs[][3] = {{0, 0, dome}, {-20, -14, 20}, {18, 12, 22}, {-14, 20, 17}, {20, -18, 15},
                             {-46, 14, 6.5}, {-51, 17, 4.5}, {36, 35, 7}, {40, 40, 4.5}};
  auto puddle = [&](cairo_t* c) {
    for (const auto& b : blobs) EllipsePath(c, kCx + b[0], kCy + b[1], b[2], 0.92 * b[2]);
  };
  // Drawn whole on its own layer, then laid on translucent, so the lumps merge
  // into one puddle and the leaf shows faintly through it.
  Canvas layer(kW, kH);
  ShadedFill(layer.Cr(), puddle, kGoo, 1.2, 0);
  cairo_set_source_surface(cr, layer.Surface(), 0, 0);
  cairo_paint_with_alpha(cr, 0.84);
  // The gloss: bright glints on the lit side of the big lumps.
  for (int i = 0; i < 4; ++i) {
    const auto& b = blobs[i];
    const double gx = kCx + b[0] - 0.4 * b[2], gy = kCy + b[1] - 0.42 * b[2];
    cairo_save(cr);
    cairo_translate(cr, gx, gy);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 0.38 * b[2], 0.2 * b[2]);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    Gradient::Radial(gx, gy, 0, gx, gy, 0.38 * b[2], {{0, Hex(0xFFFFFF, 0.95)}, {0.6, Hex(0xFFFFF0, 0.7)}, {1, Hex(0xFFFFF0, 0)}})
        .Use(cr);
    cairo_fill(cr);
  }
  // Bubbles rise in the goo while it works.
  const double bubbles[][3] = {{-8, 8, 3.2}, {10, -10, 2.4}, {-26, -6, 2}, {16, 22, 2.6}, {2, 30, 1.8}};
  for (int b = 0; b < 5; ++b) {
    const double br = bubbles[b][2] * (0.5 + swell);
    if (swell < 0.25 && b > 1) continue;
    EllipsePath(cr, kCx + bubbles[b][0], kCy + bubbles[b][1] - 4 * swell, br, br);
    SetColor(cr, Hex(0x8A9A18, 0.55));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    EllipsePath(cr, kCx + bubbles[b][0] - 0.4 * br, kCy + bubbles[b][1] - 4 * swell - 0.4 * br, 0.35 * br, 0.35 * br);
    SetColor(cr, Hex(0xFFFFFF, 0.9));
    cairo_fill(cr);
  }
}

// A lily that plays once; `endsAtRest` makes its last frame its first, pixel for pixel.
void AddOneShot(Assets& assets, const std::string& name, int n, const std::function<void(cairo_t*, int)>& draw,
                bool endsAtRest) {
  FrameSheet sheet(n, kW, kH);
  Canvas rest(kW, kH);
  draw(rest.Cr(), 0);
  for (int k = 0; k < n; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      if (k == 0 || (endsAtRest && k == n - 1)) {
        cairo_set_source_surface(cr, rest.Surface(), 0, 0);
        cairo_paint(cr);
      } else {
        draw(cr, k);
      }
    });
  assets.Frames(name, sheet.Png(), kW, kH);
}

}  // namespace

void AddTrapLilyArt(Assets& assets) {
  // Open, folding, almost shut, shut.
  const double fold[] = {0, 0.4, 0.72, 1};
  AddOneShot(assets, "kuvshinka_hunter", 4, [&](cairo_t* cr, int k) { DrawHunter(cr, fold[k]); }, false);

  // Rest, pressed down, thrown up, overshoot, settling, rest.
  const double scale[] = {1, 0.95, 1.07, 1.03, 0.98, 1}, mat[] = {1, 0.78, 1.18, 1.06, 0.94, 1};
  const double lift[] = {2, 0, 9, 6, 3, 2};
  AddOneShot(
      assets, "kuvshinka_pruginka", 6, [&](cairo_t* cr, int k) { DrawSpringy(cr, scale[k], mat[k], lift[k]); }, true);

  // Rest, the goo wells up and pulls, lets go, rest.
  const double swell[] = {0, 0.5, 1, 0.8, 0.4, 0};
  AddOneShot(assets, "kuvshinka_liapuchka", 6, [&](cairo_t* cr, int k) { DrawSticky(cr, swell[k]); }, true);
}

ASSETGEN_MODULE(AddTrapLilyArt);

}  // namespace pondaro::assetgen
