// The crocodile: its eyes waiting in the water beside a crocodile lily
// ("kroco_yes", blinking in a loop), and the strike ("kroko") that surfaces
// under the frog and snaps it up.
//
// The eyes stand with their left edge on the lily's centre and their bottom
// 40 px above its foot, so they are drawn in the right half of their frame, in
// the water between two lilies. The strike's frame is centred on the frog's
// cell with its bottom on the lily's line; the jaws close round the frog's
// place, (150, H - 50), and are shut before the last frame.
#include <cmath>
#include <tuple>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

const Rgba kHide = Hex(0x6E8A2C), kBelly = Hex(0xC9C77A), kMouth = Hex(0xE0707A), kIris = Hex(0xF7D23A);
const Rgba kWater = Hex(0x16707E);

void Eye(cairo_t* cr, double x, double y, double r, double open, double look) {
  ShadedFill(cr, [&](cairo_t* c) { EllipsePath(c, x, y, r + 3, r + 2); }, kHide, 2, 0.35);
  if (open > 0.05) {
    cairo_save(cr);
    EllipsePath(cr, x, y, r, r * open);
    cairo_clip_preserve(cr);
    Gradient::Radial(x - 2, y - 2, 0, x, y, r, {{0, Lighten(kIris, 0.4)}, {1, Darken(kIris, 0.15)}}).Use(cr);
    cairo_fill(cr);
    EllipsePath(cr, x + look, y, 1.6, r);
    SetColor(cr, Hex(0x1A1A08));
    cairo_fill(cr);
    EllipsePath(cr, x - 2.5, y - 2.5 * open, 1.5, 1.5);
    SetColor(cr, Hex(0xFFFFFF, 0.9));
    cairo_fill(cr);
    cairo_restore(cr);
  }
  // The heavy lid.
  cairo_move_to(cr, x - r - 1, y);
  cairo_curve_to(cr, x - r, y - r * open * 1.3, x + r, y - r * open * 1.3, x + r + 1, y);
  SetColor(cr, Darken(kHide, 0.5));
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
}

std::vector<uint8_t> Eyes() {
  constexpr int w = 110, h = 80, n = 4;
  FrameSheet sheet(n, w, h);
  // Watching, glancing at the frog, the lids drooping, a blink.
  const double open[] = {1, 0.85, 0.4, 0.06}, look[] = {-2, -3.5, -3, 0};
  for (int k = 0; k < n; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      // The head below the surface: a dark, blurred snout from the eyes to
      // the nostrils, then the little ripples where the bumps break the water.
      SoftShape(
          cr,
          [](cairo_t* c) {
            cairo_move_to(c, 50, 22);
            cairo_curve_to(c, 62, 14, 84, 14, 96, 22);
            cairo_curve_to(c, 98, 40, 86, 70, 74, 74);
            cairo_curve_to(c, 62, 70, 48, 40, 50, 22);
            cairo_close_path(c);
          },
          WithAlpha(Darken(kHide, 0.55), 0.5), 0, 0, 3);
      for (auto [x, y, r] : {std::tuple{61.0, 34.0, 13.0}, {86.0, 34.0, 13.0}, {73.0, 66.0, 10.0}}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r + 3, M_PI * 0.85, M_PI * 1.75);
        SetColor(cr, Hex(0xE8FFFA, 0.55));
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r + 7, M_PI * 0.95, M_PI * 1.6);
        SetColor(cr, Hex(0xE8FFFA, 0.25));
        cairo_stroke(cr);
      }
      Eye(cr, 61, 34, 8, open[k], look[k]);
      Eye(cr, 86, 34, 8, open[k], look[k]);
      // Nostrils at the tip of the snout.
      ShadedFill(cr, [](cairo_t* c) { EllipsePath(c, 73, 66, 9, 6); }, kHide, 1.5, 0.3);
      SetColor(cr, Hex(0x2A3A10));
      EllipsePath(cr, 70, 66, 1.6, 1.2);
      EllipsePath(cr, 76, 66, 1.6, 1.2);
      cairo_fill(cr);
    });
  return sheet.Png();
}

// ---------------------------------------------------------------- the strike

constexpr int kStrikeW = 300, kStrikeH = 160, kStrikeFrames = 8;
constexpr double kAxis = 100, kHingeX = 112, kJaw = 182;  // the mouth's line, its hinge, the jaws' length

struct Pt {
  double x, y;
};

// Turns (x, y) about the hinge by `a` radians.
Pt Turn(Pt p, double a) {
  const double dx = p.x - kHingeX, dy = p.y - kAxis;
  return {kHingeX + dx * std::cos(a) - dy * std::sin(a), kAxis + dx * std::sin(a) + dy * std::cos(a)};
}

// The top of the head, with the eyes, above the mouth's line; the paler lower
// jaw below it. Both as drawn shut; the strike turns them about the hinge.
void UpperJaw(cairo_t* cr) {
  cairo_move_to(cr, kHingeX - 14, kAxis + 4);
  cairo_curve_to(cr, kHingeX - 16, kAxis - 26, kHingeX + 12, kAxis - 36, kHingeX + 40, kAxis - 28);
  cairo_curve_to(cr, kHingeX + 90, kAxis - 20, kHingeX + 140, kAxis - 20, kHingeX + kJaw - 12, kAxis - 20);
  cairo_curve_to(cr, kHingeX + kJaw + 2, kAxis - 20, kHingeX + kJaw + 4, kAxis + 2, kHingeX + kJaw - 6, kAxis + 2);
  cairo_line_to(cr, kHingeX, kAxis + 2);
  cairo_close_path(cr);
}

void LowerJaw(cairo_t* cr) {
  cairo_move_to(cr, kHingeX - 10, kAxis - 2);
  cairo_line_to(cr, kHingeX + kJaw - 12, kAxis - 2);
  cairo_curve_to(cr, kHingeX + kJaw - 2, kAxis - 1, kHingeX + kJaw - 2, kAxis + 12, kHingeX + kJaw - 16, kAxis + 13);
  cairo_curve_to(cr, kHingeX + 110, kAxis + 16, kHingeX + 40, kAxis + 26, kHingeX - 4, kAxis + 22);
  cairo_close_path(cr);
}

// Teeth along the mouth's line of a jaw, pointing across it (dir -1 up, +1 down).
void Teeth(cairo_t* cr, double y, double dir, int count, double from) {
  for (int k = 0; k < count; ++k) {
    const double x = kHingeX + from + k * (kJaw - from - 18) / (count - 1);
    const double len = 7 + (k % 2) * 2;
    cairo_move_to(cr, x - 3.5, y);
    cairo_curve_to(cr, x - 2, y + dir * 0.5 * len, x - 0.5, y + dir * len, x, y + dir * len);
    cairo_curve_to(cr, x + 0.5, y + dir * len, x + 2, y + dir * 0.5 * len, x + 3.5, y);
    cairo_close_path(cr);
  }
  SetColor(cr, Hex(0xFFFBEA));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x7A6A40));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

// A short sprawling leg from the body out to a foot with three clawed toes.
void Leg(cairo_t* cr, Pt from, Pt knee, Pt foot) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    cairo_move_to(cr, from.x, from.y);
    cairo_line_to(cr, knee.x, knee.y);
    cairo_line_to(cr, foot.x, foot.y);
    SetColor(cr, pass == 0 ? Darken(kHide, 0.5) : kHide);
    cairo_set_line_width(cr, pass == 0 ? 15 : 11);
    cairo_stroke(cr);
    const double a = std::atan2(foot.y - knee.y, foot.x - knee.x);
    for (double d : {-0.6, 0.0, 0.6}) {
      cairo_move_to(cr, foot.x, foot.y);
      cairo_line_to(cr, foot.x + 8 * std::cos(a + d), foot.y + 8 * std::sin(a + d));
    }
    cairo_set_line_width(cr, pass == 0 ? 6 : 3.2);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, from.x - 2, from.y - 2);
  cairo_line_to(cr, knee.x - 2, knee.y - 2);
  SetColor(cr, Hex(0xFFFFFF, 0.2));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Scutes(cairo_t* cr, double x0, double x1, double y, double size, int count) {
  for (int k = 0; k < count; ++k) {
    const double x = x0 + (x1 - x0) * k / std::max(1, count - 1);
    RoundedRectPath(cr, x - size, y - 0.7 * size, 2 * size, 1.4 * size, 0.6 * size);
  }
  SetColor(cr, WithAlpha(Darken(kHide, 0.35), 0.8));
  cairo_fill_preserve(cr);
  SetColor(cr, WithAlpha(Lighten(kHide, 0.3), 0.5));
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void DrawCrocodile(cairo_t* cr, double open) {
  const double up = -0.4 * open, down = 0.24 * open;  // each jaw's turn
  Leg(cr, {66, kAxis - 14}, {56, kAxis - 34}, {44, kAxis - 48});
  Leg(cr, {66, kAxis + 16}, {56, kAxis + 36}, {44, kAxis + 48});
  Leg(cr, {120, kAxis - 16}, {132, kAxis - 36}, {146, kAxis - 46});
  Leg(cr, {120, kAxis + 18}, {132, kAxis + 38}, {146, kAxis + 48});
  // Tail, swinging up to its tip at the left.
  auto tail = [](cairo_t* c) {
    cairo_move_to(c, 60, kAxis - 18);
    cairo_curve_to(c, 36, kAxis - 16, 22, kAxis - 28, 6, kAxis - 46);
    cairo_curve_to(c, 16, kAxis - 20, 32, kAxis + 8, 62, kAxis + 18);
    cairo_close_path(c);
  };
  ShadedFill(cr, tail, kHide, 2, 0.3);
  auto body = [](cairo_t* c) { EllipsePath(c, 92, kAxis + 1, 46, 25); };
  ShadedFill(cr, body, kHide, 2, 0.35);
  Scutes(cr, 64, 118, kAxis - 7, 3.6, 5);
  Scutes(cr, 64, 118, kAxis + 8, 3.6, 5);
  Scutes(cr, 24, 54, kAxis - 20, 2.6, 4);

  // The mouth between the parted jaws: pink, darker towards the throat.
  if (open > 0) {
    // Only the inner part of the mouth is skin; beyond it the jaws stand apart.
    const double reach = 0.62 * kJaw;
    const Pt u1 = Turn({kHingeX + reach, kAxis + 2}, up), l1 = Turn({kHingeX + reach, kAxis - 2}, down);
    const Pt mid = Turn({kHingeX + reach - 16, kAxis}, 0.5 * (up + down));
    cairo_move_to(cr, kHingeX - 4, kAxis);
    cairo_line_to(cr, u1.x, u1.y);
    cairo_curve_to(cr, mid.x, mid.y, mid.x, mid.y, l1.x, l1.y);
    cairo_close_path(cr);
    Gradient::Linear(kHingeX, 0, kHingeX + 0.62 * kJaw, 0,
                     {{0, Darken(kMouth, 0.55)}, {0.5, kMouth}, {1, Lighten(kMouth, 0.15)}})
        .Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, Darken(kMouth, 0.5));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    const Pt t = Turn({kHingeX + 52, kAxis + 3}, down * 0.5);
    EllipsePath(cr, t.x, t.y, 30, 5 + 10 * open);
    SetColor(cr, WithAlpha(Lighten(kMouth, 0.25), 0.8));
    cairo_fill(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, kHingeX, kAxis);
  cairo_rotate(cr, down);
  cairo_translate(cr, -kHingeX, -kAxis);
  Teeth(cr, kAxis - 1, -1, 8, 30);
  ShadedFill(cr, LowerJaw, kBelly, 2, 0.3);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, kHingeX, kAxis);
  cairo_rotate(cr, up);
  cairo_translate(cr, -kHingeX, -kAxis);
  Teeth(cr, kAxis + 1, 1, 9, 22);
  ShadedFill(cr, UpperJaw, kHide, 2, 0.35);
  Scutes(cr, kHingeX + 56, kHingeX + 150, kAxis - 12, 2.2, 6);
  // Eye on its bump near the hinge, nostrils at the tip.
  Eye(cr, kHingeX + 12, kAxis - 25, 9, 1, 2.5);
  SetColor(cr, Hex(0x2A3A10));
  EllipsePath(cr, kHingeX + kJaw - 8, kAxis - 12, 2, 1.5);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Foam where the body breaks the surface: short bright wavelets along its sides
// and round the snout.
void Foam(cairo_t* cr, double alpha) {
  for (auto [x, y, r, a0, a1] : {std::tuple{92.0, kAxis + 1, 54.0, 0.9, 1.6}, {92.0, kAxis + 1, 54.0, 4.1, 4.9},
                                 {150.0, kAxis + 2, 40.0, 1.0, 1.7}, {150.0, kAxis, 40.0, 4.5, 5.2},
                                 {206.0, kAxis, 98.0, 0.3, 0.7}, {206.0, kAxis, 98.0, 5.6, 6.0}}) {
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1, 0.62);
    cairo_arc(cr, 0, 0, r, a0, a1);
    cairo_restore(cr);
  }
  SetColor(cr, Hex(0xF2FFFF, alpha));
  cairo_set_line_width(cr, 2.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

std::vector<uint8_t> Strike() {
  FrameSheet sheet(kStrikeFrames, kStrikeW, kStrikeH);
  // Surfacing with the jaws shut, opening wide, the snap (shut on frame 5), the
  // splash of the bite, sinking back.
  const double open[] = {0, 0.35, 0.8, 1, 0.45, 0, 0, 0};
  const double under[] = {0.12, 0.05, 0, 0, 0, 0, 0, 0.22};
  for (int k = 0; k < kStrikeFrames; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      Canvas layer(kStrikeW, kStrikeH);
      DrawCrocodile(layer.Cr(), open[k]);
      if (under[k] > 0) {
        cairo_set_operator(layer.Cr(), CAIRO_OPERATOR_ATOP);
        SetColor(layer.Cr(), WithAlpha(kWater, 2 * under[k]));
        cairo_paint(layer.Cr());
      }
      PaintWithShadow(cr, layer.Surface(), Hex(0x06343F, 0.4 * (1 - under[k])), 4, 6, 5);
      Foam(cr, k == 0 || k == 7 ? 0.35 : 0.7);
      if (k == 5 || k == 6) {
        // Spray from the snap, thrown out round the jaws.
        for (int d = 0; d < 14; ++d) {
          const double ang = d * 0.449 + 0.2 * k, dist = 52 + 16 * (k - 5) + 7 * (d % 3);
          const double x = 196 + 1.5 * dist * std::cos(ang), y = kAxis + 0.75 * dist * std::sin(ang);
          const double r = (4.6 - 0.8 * (d % 2)) * (k == 5 ? 1 : 0.75);
          if (x < r + 2 || x > kStrikeW - r - 2 || y < r + 2 || y > kStrikeH - r - 2) continue;
          ShadedFill(cr, [&](cairo_t* cc) { EllipsePath(cc, x, y, r, r); }, Hex(0xD8F6FF), 0.8, 0.6);
        }
      }
    });
  return sheet.Png();
}

}  // namespace

void AddCrocodileArt(Assets& assets) {
  assets.Frames("kroco_yes", Eyes(), 110, 80);
  assets.Frames("kroko", Strike(), kStrikeW, kStrikeH);
}

ASSETGEN_MODULE(AddCrocodileArt);

}  // namespace pondaro::assetgen
