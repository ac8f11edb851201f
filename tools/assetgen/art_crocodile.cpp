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
  const double open[] = {1, 0.8, 0.35, 0.08}, look[] = {-2.5, -3.5, -3, 0};
  for (int k = 0; k < n; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      // The dark shape of the head below the surface, and the ring it makes.
      SoftShape(cr, [](cairo_t* c) { EllipsePath(c, 72, 48, 24, 30); }, WithAlpha(Darken(kWater, 0.5), 0.45), 0, 0,
                5);
      EllipsePath(cr, 72, 44, 34, 24);
      SetColor(cr, Hex(0xE8FFFA, 0.35));
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
      Eye(cr, 60, 34, 8, open[k], look[k]);
      Eye(cr, 85, 34, 8, open[k], look[k]);
      // Nostrils at the tip of the snout.
      ShadedFill(cr, [](cairo_t* c) { EllipsePath(c, 72, 66, 9, 6); }, kHide, 1.5, 0.3);
      SetColor(cr, Hex(0x2A3A10));
      EllipsePath(cr, 69, 66, 1.6, 1.2);
      EllipsePath(cr, 75, 66, 1.6, 1.2);
      cairo_fill(cr);
    });
  return sheet.Png();
}

// ---------------------------------------------------------------- the strike

constexpr int kStrikeW = 300, kStrikeH = 160, kStrikeFrames = 8;
constexpr double kAxis = 110, kHingeX = 96;

void UpperJaw(cairo_t* cr) {
  cairo_move_to(cr, kHingeX - 6, kAxis);
  cairo_curve_to(cr, kHingeX - 4, kAxis - 22, kHingeX + 20, kAxis - 28, kHingeX + 60, kAxis - 22);
  cairo_curve_to(cr, kHingeX + 120, kAxis - 16, kHingeX + 170, kAxis - 18, kHingeX + 186, kAxis - 14);
  cairo_curve_to(cr, kHingeX + 198, kAxis - 10, kHingeX + 198, kAxis + 2, kHingeX + 186, kAxis + 3);
  cairo_line_to(cr, kHingeX, kAxis + 3);
  cairo_close_path(cr);
}

void LowerJaw(cairo_t* cr) {
  cairo_move_to(cr, kHingeX - 6, kAxis);
  cairo_line_to(cr, kHingeX + 180, kAxis - 1);
  cairo_curve_to(cr, kHingeX + 190, kAxis, kHingeX + 190, kAxis + 12, kHingeX + 178, kAxis + 14);
  cairo_curve_to(cr, kHingeX + 120, kAxis + 18, kHingeX + 40, kAxis + 24, kHingeX + 4, kAxis + 18);
  cairo_close_path(cr);
}

void Teeth(cairo_t* cr, double y, double dir) {
  for (int k = 0; k < 9; ++k) {
    const double x = kHingeX + 40 + k * 17;
    cairo_move_to(cr, x - 4, y);
    cairo_line_to(cr, x, y + dir * 8);
    cairo_line_to(cr, x + 4, y);
    cairo_close_path(cr);
  }
  SetColor(cr, Hex(0xFFFBEA));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x7A6A40));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void Leg(cairo_t* cr, double x, double y, double dx, double dy) {
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + dx, y + dy);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColor(cr, Darken(kHide, 0.5));
  cairo_set_line_width(cr, 14);
  cairo_stroke_preserve(cr);
  SetColor(cr, kHide);
  cairo_set_line_width(cr, 10);
  cairo_stroke(cr);
}

void DrawCrocodile(cairo_t* cr, double open) {
  // Tail curling up and back from the body, legs sprawled, then body and jaws.
  auto tail = [](cairo_t* c) {
    cairo_move_to(c, 40, kAxis - 14);
    cairo_curve_to(c, 10, kAxis - 20, 4, kAxis - 60, 26, kAxis - 84);
    cairo_curve_to(c, 14, kAxis - 58, 22, kAxis - 6, 44, kAxis + 14);
    cairo_close_path(c);
  };
  Leg(cr, 40, kAxis - 16, -12, -26);
  Leg(cr, 40, kAxis + 16, -12, 28);
  Leg(cr, 82, kAxis - 18, 10, -26);
  Leg(cr, 82, kAxis + 18, 10, 28);
  ShadedFill(cr, tail, kHide, 2, 0.3);
  ShadedFill(cr, [](cairo_t* c) { EllipsePath(c, 64, kAxis, 44, 26); }, kHide, 2, 0.35);
  // Ridges of scutes along the back.
  for (int k = 0; k < 5; ++k) {
    EllipsePath(cr, 36 + 12 * k, kAxis - 4, 3.5, 2.5);
    EllipsePath(cr, 36 + 12 * k, kAxis + 4, 3.5, 2.5);
  }
  SetColor(cr, Darken(kHide, 0.3));
  cairo_fill(cr);

  const double a = open * 0.5;  // radians each jaw turns from the shut line
  if (open > 0) {
    // The pink mouth between the parted jaws.
    cairo_move_to(cr, kHingeX, kAxis);
    cairo_line_to(cr, kHingeX + 186 * std::cos(a), kAxis - 186 * std::sin(a));
    cairo_line_to(cr, kHingeX + 180 * std::cos(0.8 * a), kAxis + 180 * std::sin(0.8 * a));
    cairo_close_path(cr);
    Gradient::Linear(kHingeX, 0, kHingeX + 180, 0, {{0, Darken(kMouth, 0.5)}, {0.4, kMouth}, {1, Lighten(kMouth, 0.2)}})
        .Use(cr);
    cairo_fill(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, kHingeX, kAxis);
  cairo_rotate(cr, 0.8 * a);
  cairo_translate(cr, -kHingeX, -kAxis);
  ShadedFill(cr, LowerJaw, kBelly, 2, 0.3);
  Teeth(cr, kAxis - 1, -1);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, kHingeX, kAxis);
  cairo_rotate(cr, -a);
  cairo_translate(cr, -kHingeX, -kAxis);
  Teeth(cr, kAxis + 2, 1);
  ShadedFill(cr, UpperJaw, kHide, 2, 0.35);
  Eye(cr, kHingeX + 26, kAxis - 22, 8, 1, 2);
  SetColor(cr, Hex(0x2A3A10));
  EllipsePath(cr, kHingeX + 184, kAxis - 8, 2, 1.5);
  cairo_fill(cr);
  cairo_restore(cr);
}

std::vector<uint8_t> Strike() {
  FrameSheet sheet(kStrikeFrames, kStrikeW, kStrikeH);
  // Surfacing with the jaws shut, opening wide, the snap (shut on frame 5), the
  // splash of the bite, sinking back.
  const double open[] = {0, 0.3, 0.75, 1, 0.45, 0, 0, 0};
  const double under[] = {0.25, 0.1, 0, 0, 0, 0, 0, 0.2};
  for (int k = 0; k < kStrikeFrames; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      SoftShape(cr, [](cairo_t* c) { EllipsePath(c, 150, kAxis + 4, 140, 44); }, Hex(0x06343F, 0.35), 0, 0, 8);
      Canvas layer(kStrikeW, kStrikeH);
      DrawCrocodile(layer.Cr(), open[k]);
      if (under[k] > 0) {
        cairo_set_operator(layer.Cr(), CAIRO_OPERATOR_ATOP);
        SetColor(layer.Cr(), WithAlpha(kWater, under[k] * 2));
        cairo_paint(layer.Cr());
      }
      cairo_set_source_surface(cr, layer.Surface(), 0, 0);
      cairo_paint(cr);
      if (k >= 5 && k <= 6) {
        for (int d = 0; d < 10; ++d) {
          const double ang = d * 0.63 + k, dist = 30 + 14 * (k - 5) + 6 * (d % 3);
          EllipsePath(cr, 200 + dist * std::cos(ang), kAxis + 0.6 * dist * std::sin(ang), 3, 3);
        }
        SetColor(cr, Hex(0xE8FFFF, 0.9));
        cairo_fill(cr);
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
