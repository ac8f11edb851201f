// The crossing's two bonuses, 44 x 44, standing on a lily with their bottom on
// the cell's point: a gold coin and a red heart, both filling the lower part of
// the square, where the frog's front foot reaches them.
#include <cmath>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kSize = 44;

std::vector<uint8_t> Coin() {
  Canvas c(kSize, kSize);
  cairo_t* cr = c.Cr();
  const double x = 22, y = 24, r = 18.5;
  SoftShape(cr, [&](cairo_t* k) { EllipsePath(k, x, y, r, r); }, Hex(0x1E3A10, 0.4), 1.5, 2, 1.5);
  ShadedFill(cr, [&](cairo_t* k) { EllipsePath(k, x, y, r, r); }, Hex(0xF2B824), 2, 0.5);
  EllipsePath(cr, x, y, r - 4.5, r - 4.5);
  SetColor(cr, Hex(0xB87A0C, 0.8));
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  // The sign struck into the coin: a darker gold, lit on its lower right edge.
  TextStyle s;
  s.Face = "DejaVu Sans";
  s.Bold = true;
  s.Size = 22;
  s.Top = Hex(0xD08A10);
  s.Bottom = Hex(0xB06A08);
  s.Outline = Hex(0x7A4A04);
  s.OutlineWidth = 1.2;
  s.Shadow = Hex(0xFFF0A0, 0.9);
  s.ShadowDx = 1;
  s.ShadowDy = 1;
  s.ShadowBlur = 0.5;
  s.Gloss = false;
  DrawTextCentered(cr, "$", x, y, s);
  // A bright glint on the rim towards the light.
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r - 1.8, M_PI * 1.05, M_PI * 1.45);
  SetColor(cr, Hex(0xFFFBD8, 0.9));
  cairo_set_line_width(cr, 1.8);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  return c.Png();
}

void HeartPath(cairo_t* cr, double x, double y, double s) {
  cairo_move_to(cr, x, y + 0.95 * s);
  cairo_curve_to(cr, x - 0.4 * s, y + 0.6 * s, x - s, y + 0.15 * s, x - s, y - 0.3 * s);
  cairo_curve_to(cr, x - s, y - 0.85 * s, x - 0.25 * s, y - 1.0 * s, x, y - 0.5 * s);
  cairo_curve_to(cr, x + 0.25 * s, y - 1.0 * s, x + s, y - 0.85 * s, x + s, y - 0.3 * s);
  cairo_curve_to(cr, x + s, y + 0.15 * s, x + 0.4 * s, y + 0.6 * s, x, y + 0.95 * s);
  cairo_close_path(cr);
}

std::vector<uint8_t> Heart() {
  Canvas c(kSize, kSize);
  cairo_t* cr = c.Cr();
  const double x = 22, y = 23, s = 19;
  SoftShape(cr, [&](cairo_t* k) { HeartPath(k, x, y, s); }, Hex(0x1E3A10, 0.4), 1.5, 2, 1.5);
  ShadedFill(cr, [&](cairo_t* k) { HeartPath(k, x, y, s); }, Hex(0xE8344A), 2, 0.55);
  EllipsePath(cr, x - 0.5 * s, y - 0.42 * s, 2.6, 1.8);
  SetColor(cr, Hex(0xFFFFFF, 0.85));
  cairo_fill(cr);
  return c.Png();
}

}  // namespace

void AddBonusArt(Assets& assets) {
  assets.Picture("dollar", Coin());
  assets.Picture("life", Heart());
}

ASSETGEN_MODULE(AddBonusArt);

}  // namespace pondaro::assetgen
