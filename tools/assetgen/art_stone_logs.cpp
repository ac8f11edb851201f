// The goal stone and the two floating logs.
//
// The stone stands at the pond's left edge (x = 0) with its bottom on its row's
// line. The frog in the first column must touch it, so the slab is solid over
// x 150..250 down to its bottom row; a frog springing past must not, so nothing
// of it reaches into rows 0..67.
#include <cmath>
#include <tuple>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kStoneW = 270, kStoneH = 140;
const Rgba kRock = Hex(0x9C9486), kMoss = Hex(0x7DAE3A);

// A big flat stepping stone seen from above and a little from the front: the
// lit top face, then the shaded front face down to the waterline.
void SlabPath(cairo_t* cr) {
  cairo_move_to(cr, -20, 76);
  cairo_curve_to(cr, 40, 68, 120, 72, 170, 74);
  cairo_curve_to(cr, 220, 72, 258, 80, 264, 102);
  cairo_curve_to(cr, 268, 118, 262, 132, 250, 139);
  cairo_line_to(cr, -20, 139);
  cairo_close_path(cr);
}

void TopFacePath(cairo_t* cr) {
  cairo_move_to(cr, -20, 77);
  cairo_curve_to(cr, 40, 69, 120, 73, 170, 75);
  cairo_curve_to(cr, 218, 73, 254, 82, 258, 100);
  cairo_curve_to(cr, 260, 112, 240, 120, 200, 121);
  cairo_curve_to(cr, 140, 124, 60, 120, -20, 122);
  cairo_close_path(cr);
}

std::vector<uint8_t> Stone() {
  Canvas c(kStoneW, kStoneH);
  cairo_t* cr = c.Cr();
  ShadedFill(cr, SlabPath, Darken(kRock, 0.25), 2, 0);
  ShadedFill(cr, TopFacePath, kRock, 1.5, 0.4);
  // Moss on the shaded side and a few pebbles at the foot.
  cairo_save(cr);
  TopFacePath(cr);
  cairo_clip(cr);
  for (auto [x, y, r] : {std::tuple{30.0, 108.0, 16.0}, {92.0, 115.0, 12.0}, {228.0, 108.0, 10.0}}) {
    EllipsePath(cr, x, y, r * 1.6, r);
    Gradient::Radial(x - 3, y - 3, 0, x, y, r * 1.6, {{0, WithAlpha(kMoss, 0.95)}, {1, WithAlpha(kMoss, 0)}}).Use(cr);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  return c.Png();
}

const Rgba kBark = Hex(0x8A5A32), kWood = Hex(0xE2B77A);

// A log lying across the water, its cut end towards the right.
std::vector<uint8_t> Log(int w, int h, double tilt, bool branch) {
  Canvas c(w, h);
  cairo_t* cr = c.Cr();
  const double len = w - 26, thick = h * 0.42;
  cairo_translate(cr, w / 2.0, h / 2.0);
  cairo_rotate(cr, tilt);
  auto body = [&](cairo_t* k) { RoundedRectPath(k, -len / 2, -thick / 2, len, thick, thick / 2); };
  SoftShape(cr, body, Hex(0x06343F, 0.4), 3, 4, 4);
  if (branch) {
    cairo_move_to(cr, -len * 0.1, -thick * 0.3);
    cairo_line_to(cr, -len * 0.1 - 16, -thick * 0.5 - 14);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColor(cr, Darken(kBark, 0.5));
    cairo_set_line_width(cr, 11);
    cairo_stroke_preserve(cr);
    SetColor(cr, kBark);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
  }
  ShadedFill(cr, body, kBark, 2, 0.3);
  // Bark grain along the log.
  cairo_save(cr);
  body(cr);
  cairo_clip(cr);
  for (int k = 0; k < 5; ++k) {
    const double y = -thick / 2 + thick * (k + 0.7) / 5.4;
    cairo_move_to(cr, -len / 2 + 6 + 5 * k, y);
    cairo_curve_to(cr, -len / 6, y + 2, len / 6, y - 2, len / 2 - 14, y + 1);
  }
  SetColor(cr, Hex(0x4A2C14, 0.45));
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  cairo_restore(cr);
  // The cut end with its rings.
  const double ex = len / 2 - thick * 0.28;
  auto end = [&](cairo_t* k) { EllipsePath(k, ex, 0, thick * 0.28, thick / 2 - 1); };
  ShadedFill(cr, end, kWood, 1.5, 0.3);
  for (double f : {0.65, 0.35}) {
    EllipsePath(cr, ex, 0, thick * 0.28 * f, (thick / 2 - 1) * f);
    SetColor(cr, Hex(0xA8743E, 0.7));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  return c.Png();
}

}  // namespace

void AddStoneAndLogs(Assets& assets) {
  assets.Picture("stone", Stone());
  assets.Picture("brevno1", Log(170, 60, 0.05, false));
  assets.Picture("brevno2", Log(150, 76, -0.22, true));
}

ASSETGEN_MODULE(AddStoneAndLogs);

}  // namespace pondaro::assetgen
