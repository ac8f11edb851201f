// The three lilies that act on the frog, drawn in the lily frame of lilies.h:
//  - the hunter, a red trap with teeth round its rim, whose two halves fold up
//    along the middle and snap shut (it ends shut: the frog is inside);
//  - the springy lily, a leaf raised on a big coil spring, which is pressed
//    down, throws, bounces and comes to rest;
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

// A fresh green leaf raised off the water on one big steel coil spring: the
// spring shows through the leaf's wide notch, which points at the viewer, and
// the leaf's shadow lies apart from it on the water below.
const Rgba kSpringLeaf = Hex(0x5DC043), kSteel = Hex(0xC9D3DB);
constexpr double kSpringR = 52, kSpringFoot = 116;  // the leaf; where the spring stands in the water

// A coil spring standing from (x, top) down to (x, bottom), seen from the
// side and a little above: the back of each turn dark, the front bright.
void CoilSpring(cairo_t* cr, double x, double top, double bottom, double radius, int turns) {
  const double lean = 0.32 * radius;  // how open each turn looks from above
  auto turn = [&](double from, double to) {
    for (int i = 0; i <= 24; ++i) {
      const double t = from + (to - from) * i / 24, a = 2 * M_PI * t;
      const double px = x + radius * std::sin(a), py = top + (bottom - top) * t / turns - lean * std::cos(a);
      if (i == 0)
        cairo_move_to(cr, px, py);
      else
        cairo_line_to(cr, px, py);
    }
  };
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Back halves first, in shade; then the front halves over them, lit.
  for (int pass = 0; pass < 2; ++pass)
    for (int k = 0; k <= turns; ++k) {
      // The front of a turn is where it comes nearest (lowest on the picture).
      const double from = std::max(0.0, k + (pass == 0 ? -0.25 : 0.25)), to = std::min<double>(turns, k + (pass == 0 ? 0.25 : 0.75));
      if (to <= from) continue;
      turn(from, to);
      SetColor(cr, Darken(kSteel, 0.65));
      cairo_set_line_width(cr, 7.5);
      cairo_stroke(cr);
      turn(from, to);
      if (pass == 0)
        SetColor(cr, Darken(kSteel, 0.3));
      else
        Gradient::Linear(x - radius, 0, x + radius, 0, {{0, kSteel}, {0.35, Hex(0xFFFFFF)}, {1, Darken(kSteel, 0.15)}})
            .Use(cr);
      cairo_set_line_width(cr, 4.6);
      cairo_stroke(cr);
    }
  // The glint along the front of each turn.
  for (int k = 0; k < turns; ++k) {
    turn(k + 0.4, k + 0.55);
    SetColor(cr, Hex(0xFFFFFF, 0.9));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// `lift` raises the leaf above its place at rest (negative: pressed down);
// `scale` grows it a little as it flies up.
void DrawSpringy(cairo_t* cr, double lift, double scale) {
  const double r = kSpringR * scale, cy = kCy - 4 - lift, height = kSpringFoot - cy;
  // The leaf's shadow on the water, further off and fainter the higher it is.
  const double off = 4 + 0.45 * height;
  SoftShape(cr, [&](cairo_t* c) { EllipsePath(c, kCx + 0.35 * off, kCy - 4 + 0.5 * off, r * 0.95, r * 0.8); },
            Hex(0x06343F, 0.55 - 0.004 * height), 0, 0, 3 + 0.05 * height);
  // Rings where the spring stands in the water.
  for (int k = 0; k < 2; ++k) {
    EllipsePath(cr, kCx, kSpringFoot, 18 + 7 * k, 4 + 2 * k);
    SetColor(cr, Hex(0xE8FFFA, 0.5 - 0.2 * k));
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
  }
  const int turns = 4;
  CoilSpring(cr, kCx, cy + 6, kSpringFoot, 15, turns);
  // The leaf, tilted a little towards the viewer: its edge shows as a darker rim.
  const LilyPad pad{kCx, cy, r, M_PI / 2, 0.9, kSpringLeaf, 0.36};
  LilyPad rim = pad;
  rim.Y += 3.5;
  PadPath(cr, rim);
  SetColor(cr, Darken(kSpringLeaf, 0.45));
  cairo_fill(cr);
  DrawLilyPad(cr, pad);
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
  const double lift[] = {0, -12, 6, 3, -3, 0}, scale[] = {1, 0.97, 1.04, 1.02, 0.99, 1};
  AddOneShot(assets, "kuvshinka_pruginka", 6, [&](cairo_t* cr, int k) { DrawSpringy(cr, lift[k], scale[k]); }, true);

  // Rest, the goo wells up and pulls, lets go, rest.
  const double swell[] = {0, 0.5, 1, 0.8, 0.4, 0};
  AddOneShot(assets, "kuvshinka_liapuchka", 6, [&](cairo_t* cr, int k) { DrawSticky(cr, swell[k]); }, true);
}

ASSETGEN_MODULE(AddTrapLilyArt);

}  // namespace pondaro::assetgen
