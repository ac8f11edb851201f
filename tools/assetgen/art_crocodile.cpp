// The crocodile's eyes waiting in the water beside a crocodile lily
// ("kroco_yes", blinking in a loop); the strike is in art_crocodile_strike.cpp.
//
// The eyes stand with their left edge on the lily's centre and their bottom
// 40 px above its foot, so they are drawn in the right half of their frame, in
// the water between two lilies.
#include <cmath>
#include <tuple>

#include "crocodile.h"
#include "registry.h"

namespace pondaro::assetgen {

void crocodile::Eye(cairo_t* cr, double x, double y, double r, double open, double look) {
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

namespace {

using crocodile::kHide;

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
      crocodile::Eye(cr, 61, 34, 8, open[k], look[k]);
      crocodile::Eye(cr, 86, 34, 8, open[k], look[k]);
      // Nostrils at the tip of the snout.
      ShadedFill(cr, [](cairo_t* c) { EllipsePath(c, 73, 66, 9, 6); }, kHide, 1.5, 0.3);
      SetColor(cr, Hex(0x2A3A10));
      EllipsePath(cr, 70, 66, 1.6, 1.2);
      EllipsePath(cr, 76, 66, 1.6, 1.2);
      cairo_fill(cr);
    });
  return sheet.Png();
}

}  // namespace

void AddCrocodileArt(Assets& assets) {
  assets.Frames("kroco_yes", Eyes(), 110, 80);
}

ASSETGEN_MODULE(AddCrocodileArt);

}  // namespace pondaro::assetgen
