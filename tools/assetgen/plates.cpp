#include "plates.h"

#include <algorithm>

namespace pondaro::assetgen {

void DrawPill(cairo_t* cr, double l, double t, double w, double h, double radius, bool lit) {
  auto pill = [&](cairo_t* k) { RoundedRectPath(k, l, t, w, h, radius); };
  SoftShape(cr, pill, Hex(0x1C3A10, 0.45), 1.5, 2.5, 2);
  pill(cr);
  if (lit)
    Gradient::Linear(0, t, 0, t + h, {{0, Hex(0xD8FF8A)}, {0.5, Hex(0x8EDB4A)}, {1, Hex(0x4EA82E)}}).Use(cr);
  else
    Gradient::Linear(0, t, 0, t + h, {{0, Hex(0xA6E45E)}, {0.5, Hex(0x62BE3A)}, {1, Hex(0x3A8E26)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x1F4E12));
  cairo_set_line_width(cr, std::max(2.0, h * 0.05));
  cairo_stroke(cr);
  // Gloss on the upper part.
  RoundedRectPath(cr, l + radius * 0.5, t + 2.5, w - radius, h * 0.42, h * 0.2);
  Gradient::Linear(0, t + 2, 0, t + h * 0.45, {{0, Hex(0xFFFFFF, 0.5)}, {1, Hex(0xFFFFFF, 0.05)}}).Use(cr);
  cairo_fill(cr);
}

void DrawInset(cairo_t* cr, const Field& f, bool dark) {
  RoundedRectPath(cr, f.x - 2, f.y - 2, f.w + 4, f.h + 4, f.r + 2);
  SetColor(cr, Hex(0xFFFFFF, dark ? 0.3 : 0.55));  // a light lip below the edge
  cairo_fill(cr);
  RoundedRectPath(cr, f.x, f.y, f.w, f.h, f.r);
  if (dark)
    Gradient::Linear(0, f.y, 0, f.y + f.h, {{0, Hex(0x06323A)}, {1, Hex(0x0E4E58)}}).Use(cr);
  else
    Gradient::Linear(0, f.y, 0, f.y + f.h, {{0, Hex(0xF3F6E6)}, {1, Hex(0xFFFFF8)}}).Use(cr);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  // Inner shadow: a blurred ring drawn only inside the box.
  SoftShape(
      cr,
      [&](cairo_t* c) {
        cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_rectangle(c, f.x - 20, f.y - 20, f.w + 40, f.h + 40);
        RoundedRectPath(c, f.x, f.y, f.w, f.h, f.r);
      },
      dark ? Hex(0x000000, 0.55) : Hex(0x1D4A16, 0.45), 1.5, 2.5, 2.5);
  cairo_restore(cr);
  SetColor(cr, dark ? Hex(0x1E5A28) : Hex(0x3F7F2A));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void DrawPlate(cairo_t* cr, const PlateShape& p) {
  auto plate = [&](cairo_t* c) { RoundedRectPath(c, p.x, p.y, p.w, p.h, p.r); };
  SoftShape(cr, plate, Hex(0x03262B, 0.5), 6, 9, 7);

  // The leaf-green rim with light from the top left.
  plate(cr);
  Gradient::Linear(p.x, p.y, p.x + p.w * 0.4, p.y + p.h, {{0, Hex(0x9BE05A)}, {0.5, Hex(0x62BE3A)}, {1, Hex(0x3F962B)}})
      .Use(cr);
  cairo_fill(cr);

  // The header band keeps the rim's green; below it a warm cream card.
  const double m = 10;
  const double cardY = p.headerBottom, cardH = p.y + p.h - m - cardY;
  RoundedRectPath(cr, p.x + m, cardY, p.w - 2 * m, cardH, p.r - m);
  Gradient::Linear(0, cardY, 0, cardY + cardH, {{0, Hex(0xFFF8DC)}, {1, Hex(0xF6E7B8)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x3A7D25));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);

  // Leaf veins fanning across the header, faint.
  cairo_save(cr);
  RoundedRectPath(cr, p.x, p.y, p.w, p.headerBottom - p.y, p.r);
  cairo_clip(cr);
  SetColor(cr, Hex(0xDFFFB0, 0.22));
  cairo_set_line_width(cr, 2.5);
  const double cx = p.x + p.w / 2;
  for (int i = -5; i <= 5; ++i) {
    cairo_move_to(cr, cx, p.headerBottom + 40);
    cairo_line_to(cr, cx + i * 60, p.y - 10);
  }
  cairo_stroke(cr);
  // Gloss along the top.
  RoundedRectPath(cr, p.x + 8, p.y + 5, p.w - 16, 30, 18);
  Gradient::Linear(0, p.y + 5, 0, p.y + 35, {{0, Hex(0xFFFFFF, 0.35)}, {1, Hex(0xFFFFFF, 0)}}).Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);

  plate(cr);
  SetColor(cr, Hex(0x24551A));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

}  // namespace pondaro::assetgen
