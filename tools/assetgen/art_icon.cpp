// The window icon: the frog's friendly face, 64 x 64.
#include <cmath>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

const Rgba kSkin = Hex(0x7DD13A), kSkinLight = Hex(0xC4F26E), kSkinDark = Hex(0x4C9A22);
const Rgba kLine = Hex(0x2C5E12);

// Head and both eye bulges as one shape.
void HeadPath(cairo_t* cr) {
  EllipsePath(cr, 32, 40, 28, 20.5);
  EllipsePath(cr, 19, 21, 12.5, 12);
  EllipsePath(cr, 45, 21, 12.5, 12);
}

void Eye(cairo_t* cr, double x, double y, double look) {
  EllipsePath(cr, x, y, 8.6, 8.8);
  Gradient::Radial(x - 3, y - 3, 0, x, y, 9, {{0, Hex(0xFFFFFF)}, {0.7, Hex(0xF7F9F0)}, {1, Hex(0xD9E2CC)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Big pupils looking slightly in and down read as friendly.
  EllipsePath(cr, x + look, y + 1.2, 5.4, 5.9);
  SetColor(cr, Hex(0x1A2410));
  cairo_fill(cr);
  EllipsePath(cr, x + look - 1.9, y - 1.3, 2.1, 2.1);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  EllipsePath(cr, x + look + 1.8, y + 2.8, 0.9, 0.9);
  cairo_fill(cr);
}

std::vector<uint8_t> FrogFace() {
  Canvas c(64, 64);
  cairo_t* cr = c.Cr();
  // Outline first, twice the width, then the fill on top: a clean outer edge
  // with no seams where the bulges join the head.
  HeadPath(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 3.2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  Gradient::Radial(22, 24, 2, 32, 36, 34, {{0, kSkinLight}, {0.45, kSkin}, {1, kSkinDark}}).Use(cr);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip(cr);
  // Pale yellow chin.
  EllipsePath(cr, 32, 61, 21, 11);
  Gradient::Linear(0, 50, 0, 62, {{0, Hex(0xF6F3A6)}, {1, Hex(0xE3DB78)}}).Use(cr);
  cairo_fill(cr);
  // Soft highlight on the brow, top left.
  EllipsePath(cr, 24, 31, 12, 5);
  Gradient::Radial(24, 31, 0, 24, 31, 12, {{0, Hex(0xFFFFFF, 0.4)}, {1, Hex(0xFFFFFF, 0)}}).Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);

  Eye(cr, 19, 20, 0.8);
  Eye(cr, 45, 20, -0.8);
  // Nostrils.
  SetColor(cr, Hex(0x2C5E12, 0.8));
  EllipsePath(cr, 28.5, 36, 1.3, 1);
  EllipsePath(cr, 35.5, 36, 1.3, 1);
  cairo_fill(cr);
  // Rosy cheeks.
  for (double x : {13.0, 51.0}) {
    EllipsePath(cr, x, 44, 5, 3.2);
    Gradient::Radial(x, 44, 0, x, 44, 5, {{0, Hex(0xFF8A9A, 0.6)}, {1, Hex(0xFF8A9A, 0)}}).Use(cr);
    cairo_fill(cr);
  }
  // A wide smile.
  cairo_move_to(cr, 17, 43.5);
  cairo_curve_to(cr, 24, 52, 40, 52, 47, 43.5);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 2.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  return c.Png();
}

}  // namespace

void AddIcon(Assets& assets) { assets.File("Data/icon.png", FrogFace()); }

ASSETGEN_MODULE(AddIcon);

}  // namespace pondaro::assetgen
