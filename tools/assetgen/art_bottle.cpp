// The status pictures at the top of the crossing and the feeding stage: the
// energy bottle in the top right corner, which fills one step with every few
// jumps (frame 0 empty: the frog is fed; the last frame full: it is starving),
// and the plate behind the status texts, which the game squeezes to about 60 %
// and 90 % of its width, so its ends are plain round caps that stay round.
#include <cmath>
#include <tuple>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kBottleW = 60, kBottleH = 96, kBottleFrames = 10;

void BottlePath(cairo_t* cr) {
  // Cork end at the top, a round belly below.
  cairo_move_to(cr, 23, 14);
  cairo_line_to(cr, 37, 14);
  cairo_curve_to(cr, 37, 26, 38, 32, 46, 40);
  cairo_curve_to(cr, 56, 50, 57, 62, 56, 74);
  cairo_curve_to(cr, 55, 88, 46, 93, 30, 93);
  cairo_curve_to(cr, 14, 93, 5, 88, 4, 74);
  cairo_curve_to(cr, 3, 62, 4, 50, 14, 40);
  cairo_curve_to(cr, 22, 32, 23, 26, 23, 14);
  cairo_close_path(cr);
}

void DrawBottle(cairo_t* cr, double fill) {
  // Liquid first, seen through the glass: green while there is room, turning
  // orange and red as the bottle fills.
  if (fill > 0) {
    const double top = 92 - fill * 72;
    const Rgba liquid = fill < 0.5 ? Mix(Hex(0x7CCB2A), Hex(0xF2B51E), fill * 2) : Mix(Hex(0xF2B51E), Hex(0xE0352A), fill * 2 - 1);
    cairo_save(cr);
    BottlePath(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, top, kBottleW, kBottleH);
    Gradient::Linear(0, 0, kBottleW, 0, {{0, Lighten(liquid, 0.2)}, {0.6, liquid}, {1, Darken(liquid, 0.3)}}).Use(cr);
    cairo_fill(cr);
    EllipsePath(cr, 30, top, 26, 3);
    SetColor(cr, Lighten(liquid, 0.45));
    cairo_fill(cr);
    // A few bubbles rising in it.
    for (auto [x, y, r] : {std::tuple{22.0, 86.0, 2.2}, {36.0, 78.0, 1.6}, {28.0, 70.0, 1.8}, {40.0, 60.0, 1.4}}) {
      if (y - r < top + 3) continue;
      EllipsePath(cr, x, y, r, r);
      SetColor(cr, WithAlpha(Lighten(liquid, 0.6), 0.8));
      cairo_set_line_width(cr, 0.9);
      cairo_stroke(cr);
    }
    cairo_restore(cr);
  }
  // Glass: clear in the middle, catching light at its edges, a bright streak
  // on the lit side, a dark teal outline.
  BottlePath(cr);
  Gradient::Radial(26, 60, 6, 30, 62, 34, {{0, Hex(0xE8FAFF, 0.06)}, {0.75, Hex(0xE8FAFF, 0.16)}, {1, Hex(0xE8FAFF, 0.42)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x1D4C5A));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // The cork.
  ShadedFill(cr, [](cairo_t* c) { RoundedRectPath(c, 20, 3, 20, 14, 3); }, Hex(0xC08A52), 1.5, 0.4);
}

std::vector<uint8_t> Plate() {
  Canvas c(230, 30);
  cairo_t* cr = c.Cr();
  auto plate = [](cairo_t* k) { RoundedRectPath(k, 1.5, 1.5, 227, 27, 13.5); };
  ShadedFill(cr, plate, Hex(0x5B3A1E), 1.5, 0.35);
  // A bevel: light along the top edge, dark along the bottom.
  RoundedRectPath(cr, 4, 3.5, 222, 23, 11.5);
  Gradient::Linear(0, 3.5, 0, 26.5, {{0, Hex(0xFFE2B0, 0.45)}, {0.25, Hex(0xFFE2B0, 0)}, {0.75, Hex(0x000000, 0)}, {1, Hex(0x000000, 0.3)}})
      .Use(cr);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Grain along the plank, kept clear of the round ends.
  cairo_save(cr);
  plate(cr);
  cairo_clip(cr);
  for (double y : {9.0, 15.0, 21.0}) {
    cairo_move_to(cr, 20, y);
    cairo_curve_to(cr, 80, y - 1.5, 150, y + 1.5, 210, y);
  }
  SetColor(cr, Hex(0x3A2210, 0.4));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_restore(cr);
  return c.Png();
}

}  // namespace

void AddBottleArt(Assets& assets) {
  FrameSheet sheet(kBottleFrames, kBottleW, kBottleH);
  for (int k = 0; k < kBottleFrames; ++k)
    sheet.Draw(k, [&](cairo_t* cr) { DrawBottle(cr, k / (kBottleFrames - 1.0)); });
  assets.Frames("energi", sheet.Png(), kBottleW, kBottleH);
  assets.Picture("panel", Plate());
}

ASSETGEN_MODULE(AddBottleArt);

}  // namespace pondaro::assetgen
